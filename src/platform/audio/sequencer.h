#pragma once
// The sequencer device's command language, shared by every backend: one piece
// open at a time under an alias, played from a position, "playing" until the
// piece's own length has passed on the clock, then "stopped".

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/audio/devices.h"
#include "platform/os/clock.h"

namespace dalvo::platform {

// Error codes the original media control interface answered with.
namespace mci_error {
inline constexpr int kUnrecognizedKeyword = 259;
inline constexpr int kUnrecognizedCommand = 261;
inline constexpr int kHardware = 262;
inline constexpr int kInvalidDeviceName = 263;
inline constexpr int kCannotLoadDriver = 266;
inline constexpr int kMissingCommandString = 267;
inline constexpr int kFileNotFound = 275;
inline constexpr int kDuplicateAlias = 289;
inline constexpr int kNoClosingQuote = 294;
inline constexpr int kInvalidFile = 296;
}  // namespace mci_error

class Sequencer : public MusicDevice {
public:
    explicit Sequencer(Clock& clock) : clock_(clock) {}
    int send(std::string_view command, std::string& result) override;
    Peek peek() const override;

protected:
    // Backend hooks; the defaults make no sound (the headless device).
    // Takes the piece's bytes, already known to be a Standard MIDI File.
    virtual int on_open(std::span<const std::uint8_t> /*bytes*/) { return 0; }
    // Starts the piece at `pos_ms` (the game always starts at 0).
    virtual int on_play(std::int64_t /*pos_ms*/) { return 0; }
    virtual void on_stop() {}
    virtual void on_close() {}

private:
    int load(std::string_view args);  // the "open" command: reads the piece
    int play(std::string_view args);
    int stop();
    int close();
    int status(std::string_view args, std::string& result);
    bool playing() const;
    std::int64_t position_ms() const;

    Clock& clock_;
    bool open_ = false;
    std::string alias_;
    std::string file_;
    std::int64_t length_ms_ = 0;
    bool started_ = false;
    std::uint32_t start_tick_ = 0;  // clock when position 0 would have played
    std::int64_t pos_ms_ = 0;       // where a stopped piece stands
};

}  // namespace dalvo::platform
