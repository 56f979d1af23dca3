#include "platform/audio/soundfont.h"

#include <array>
#include <cstring>
#include <fstream>

namespace dalvo::platform {
namespace {

// A soundfont is a RIFF file of the form "sfbk".
bool is_soundfont(const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) return false;
    std::array<char, 12> head{};
    std::ifstream in(file, std::ios::binary);
    if (!in.read(head.data(), head.size())) return false;
    return std::memcmp(head.data(), "RIFF", 4) == 0 && std::memcmp(head.data() + 8, "sfbk", 4) == 0;
}

}  // namespace

SoundFontChoice choose_soundfont(const std::filesystem::path& chosen, std::span<const char* const> installed) {
    SoundFontChoice choice;
    if (!chosen.empty()) {
        if (is_soundfont(chosen)) {
            choice.file = chosen;
            return choice;
        }
        choice.warning = "the soundfont " + chosen.string() + " is missing or not a soundfont (.sf2)";
    }
    for (const char* file : installed) {
        if (!is_soundfont(file)) continue;
        choice.file = file;
        if (!choice.warning.empty()) choice.warning += "; playing with " + choice.file.string();
        return choice;
    }
    if (!choice.warning.empty()) choice.warning += "; ";
    choice.warning +=
        "no General MIDI soundfont was found (install the package timgm6mb-soundfont); music is off";
    return choice;
}

}  // namespace dalvo::platform
