#pragma once
// The event trace: one JSON object per line with the clock and the event kind.

#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "platform/os/clock.h"
#include "platform/codec/json.h"

namespace dalvo::platform {

class Trace {
public:
    // `t` of every event counts from the moment the trace is made.
    explicit Trace(Clock& clock) : clock_(clock), start_(clock.ticks()) {}
    // Starts writing to `file`; without it events are only kept for observers.
    bool write_to(const std::filesystem::path& file);

    // {"t": ms, "ev": ev, ...fields}
    void event(std::string_view ev, std::initializer_list<JsonField> fields = {});

    // Whether anyone reads the events: callers skip building costly fields otherwise.
    bool active() const { return file_.is_open() || !observers_.empty(); }

    // Tests watch events without a file: every line written is also handed here.
    void add_observer(std::function<void(const std::string& line)> observer);

private:
    Clock& clock_;
    std::uint32_t start_;
    std::ofstream file_;
    std::vector<std::function<void(const std::string&)>> observers_;
};

}  // namespace dalvo::platform
