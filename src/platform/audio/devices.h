#pragma once
// Sound services: the music sequencer device, wave playback, the master output level.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace dalvo::platform {

// The sequencer device behind the original media control strings:
//   open "PATH" type sequencer alias midifile | play midifile from 0 |
//   stop midifile  | close midifile | status midifile mode
// Returns 0 or an error code; `result` receives the answer text ("playing", "stopped").
class MusicDevice {
public:
    virtual ~MusicDevice() = default;
    virtual int send(std::string_view command, std::string& result) = 0;

    // What the device holds, without sending a command (state dumps):
    // mode "closed", "playing" or "stopped", and the open file.
    struct Peek {
        std::string mode = "closed";
        std::string file;
    };
    virtual Peek peek() const { return {}; }

    // The game has loaded and waits for the player: a device slow to open may get
    // ready now, in the background, instead of holding up the start or the first piece.
    virtual void prepare() {}
};

// Plays a RIFF WAVE image to its end before returning (synchronous playback).
class WavePlayer {
public:
    virtual ~WavePlayer() = default;
    virtual bool play_sync(std::span<const std::uint8_t> wave) = 0;
};

// The program's master output level, 0..65535.
class MasterLevel {
public:
    virtual ~MasterLevel() = default;
    virtual bool open() = 0;
    virtual void close() = 0;
    virtual bool get(std::uint32_t& level) = 0;
    virtual bool set(std::uint32_t level) = 0;
};

// A master level that keeps the value it was set to; a backend says how the device is
// reached and how a level is applied. Reading needs no open handle, so the state dump
// can show the level at any time.
class StoredMasterLevel : public MasterLevel {
public:
    explicit StoredMasterLevel(std::uint32_t level) : level_(level) {}
    bool open() override {
        if (!reach()) return false;
        open_ = true;
        return true;
    }
    void close() override { open_ = false; }
    bool get(std::uint32_t& level) override {
        level = level_;
        return true;
    }
    bool set(std::uint32_t level) override {
        if (!open_ || !reach()) return false;
        level_ = level > 65535 ? 65535 : level;
        apply(level_);
        return true;
    }

protected:
    virtual bool reach() { return true; }
    virtual void apply(std::uint32_t) {}

private:
    std::uint32_t level_;
    bool open_ = false;
};

}  // namespace dalvo::platform
