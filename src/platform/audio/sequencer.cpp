#include "platform/audio/sequencer.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/codec/audio_formats.h"
#include "platform/os/file_read.h"

namespace dalvo::platform {
namespace {

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Takes the next blank-separated word off the front of `s`.
std::string_view next_word(std::string_view& s) {
    std::size_t i = 0;
    while (i < s.size() && is_blank(s[i])) ++i;
    std::size_t j = i;
    while (j < s.size() && !is_blank(s[j])) ++j;
    std::string_view word = s.substr(i, j - i);
    s.remove_prefix(j);
    return word;
}

bool parse_ms(std::string_view word, std::int64_t& out) {
    if (word.empty()) return false;
    auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), out);
    return ec == std::errc() && end == word.data() + word.size() && out >= 0;
}

// No piece of music of the game comes near this size.
constexpr std::size_t kMaxMidiBytes = std::size_t{16} << 20;

}  // namespace

int Sequencer::send(std::string_view command, std::string& result) {
    result.clear();
    std::string_view rest = command;
    const std::string verb = lower(next_word(rest));
    if (verb.empty()) return mci_error::kMissingCommandString;
    if (verb == "open") return load(rest);
    if (verb != "play" && verb != "stop" && verb != "close" && verb != "status")
        return mci_error::kUnrecognizedCommand;
    if (!open_ || lower(next_word(rest)) != alias_) return mci_error::kInvalidDeviceName;
    if (verb == "play") return play(rest);
    if (verb == "status") return status(rest, result);
    if (!next_word(rest).empty()) return mci_error::kUnrecognizedKeyword;
    return verb == "stop" ? stop() : close();
}

int Sequencer::load(std::string_view args) {
    while (!args.empty() && is_blank(args.front())) args.remove_prefix(1);
    std::string path;
    if (!args.empty() && args.front() == '"') {
        const std::size_t end = args.find('"', 1);
        if (end == std::string_view::npos) return mci_error::kNoClosingQuote;
        path = std::string(args.substr(1, end - 1));
        args.remove_prefix(end + 1);
    } else {
        path = std::string(next_word(args));
    }
    if (path.empty()) return mci_error::kMissingCommandString;

    std::string alias = lower(path);
    for (std::string kw = lower(next_word(args)); !kw.empty(); kw = lower(next_word(args))) {
        const std::string value = lower(next_word(args));
        if (value.empty()) return mci_error::kUnrecognizedKeyword;
        if (kw == "alias") {
            alias = value;
        } else if (kw == "type") {
            if (value != "sequencer") return mci_error::kInvalidDeviceName;
        } else {
            return mci_error::kUnrecognizedKeyword;
        }
    }
    // One piece at a time: the game never holds two.
    if (open_) return mci_error::kDuplicateAlias;

    std::string text;
    const ReadFault fault = read_whole_file(std::filesystem::path(path), text, kMaxMidiBytes);
    if (fault == ReadFault::TooLarge) return mci_error::kInvalidFile;
    if (fault != ReadFault::None) return mci_error::kFileNotFound;
    const std::span<const std::uint8_t> sequence =
        midi_sequence({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
    // Every backend plays and measures the sequence alone, whatever file carried it.
    const std::vector<std::uint8_t> bytes(sequence.begin(), sequence.end());
    const std::int64_t length = midi_length_ms(bytes);
    if (length < 0) return mci_error::kInvalidFile;
    if (int err = on_open(bytes); err != 0) return err;

    open_ = true;
    alias_ = alias;
    file_ = path;
    length_ms_ = length;
    started_ = false;
    pos_ms_ = 0;
    return 0;
}

int Sequencer::play(std::string_view args) {
    std::int64_t from = -1;
    const std::string kw = lower(next_word(args));
    if (kw == "from") {
        if (!parse_ms(next_word(args), from)) return mci_error::kUnrecognizedKeyword;
    } else if (!kw.empty()) {
        return mci_error::kUnrecognizedKeyword;
    }
    if (!next_word(args).empty()) return mci_error::kUnrecognizedKeyword;

    // Without "from" the piece goes on where it was stopped.
    std::int64_t pos = from >= 0 ? std::min(from, length_ms_) : position_ms();
    if (int err = on_play(pos); err != 0) return err;
    started_ = true;
    start_tick_ = clock_.ticks() - static_cast<std::uint32_t>(pos);
    return 0;
}

int Sequencer::stop() {
    pos_ms_ = position_ms();
    started_ = false;
    on_stop();
    return 0;
}

int Sequencer::close() {
    on_close();
    open_ = false;
    started_ = false;
    alias_.clear();
    file_.clear();
    length_ms_ = 0;
    pos_ms_ = 0;
    return 0;
}

int Sequencer::status(std::string_view args, std::string& result) {
    const std::string item = lower(next_word(args));
    if (!next_word(args).empty()) return mci_error::kUnrecognizedKeyword;
    if (item == "mode") {
        result = playing() ? "playing" : "stopped";
    } else if (item == "length") {
        result = std::to_string(length_ms_);
    } else if (item == "position") {
        result = std::to_string(position_ms());
    } else {
        return mci_error::kUnrecognizedKeyword;
    }
    return 0;
}

std::int64_t Sequencer::position_ms() const {
    if (!started_) return pos_ms_;
    // Tick differences survive the counter's wrap.
    const std::int64_t elapsed = static_cast<std::uint32_t>(clock_.ticks() - start_tick_);
    return std::min(elapsed, length_ms_);
}

bool Sequencer::playing() const { return started_ && position_ms() < length_ms_; }

MusicDevice::Peek Sequencer::peek() const {
    Peek out;
    if (!open_) return out;
    out.mode = playing() ? "playing" : "stopped";
    out.file = file_;
    return out;
}

}  // namespace dalvo::platform
