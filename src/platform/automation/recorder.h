#pragma once
// The session recorder: every input the game receives, written down as an input
// script that replays the session.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "platform/host.h"

namespace dalvo::platform {

class Recorder final : public InputObserver {
public:
    // Watches `host` from now on until it ends.
    explicit Recorder(Host& host);
    ~Recorder() override;
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    // Starts `file` with `header` (comment lines). False with `error` when it cannot be written.
    bool start(const std::filesystem::path& file, std::string_view header, std::string& error);
    // Writes the closing `dump end`; nothing is written after it.
    void finish();

    void on_input(Host& host, const InputEvent& event) override;
    void on_answer(Host& host, MsgAnswer answer, std::uint32_t shown_ms) override;

private:
    // The script line for `event`; empty for input a replay does not need.
    std::string line_for(Host& host, const InputEvent& event) const;
    void write_input(Host& host, const std::string& line);

    Host& host_;
    std::ofstream out_;
    bool finished_ = false;
    // The last input's line stays rewritable: a message box it opened is answered
    // only later, and the answer must stand before it.
    std::string tail_;
    std::streamoff tail_at_ = -1;
    std::uint32_t last_ms_ = 0;  // game time of the previous input
    std::uint32_t paused_ms_ = 0;  // clock time spent in message boxes: the game stood still
};

}  // namespace dalvo::platform
