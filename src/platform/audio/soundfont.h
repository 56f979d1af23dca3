#pragma once
// Which General MIDI soundfont the music plays through: the player's own choice, else
// the largest one of those the system installs that is there.

#include <filesystem>
#include <span>
#include <string>

namespace dalvo::platform {

// Debian's soundfonts, the preferred first: FluidR3_GM (fluid-soundfont-gm, 141 MB) sounds
// fuller than TimGM6mb (timgm6mb-soundfont, 6 MB), which the game depends on.
inline constexpr const char* kInstalledSoundFonts[] = {
    "/usr/share/sounds/sf2/FluidR3_GM.sf2",
    "/usr/share/sounds/sf2/TimGM6mb.sf2",
    "/usr/local/share/sounds/sf2/TimGM6mb.sf2",
};

struct SoundFontChoice {
    std::filesystem::path file;  // empty: none was found, music is off
    std::string warning;         // for standard error; empty when all went as asked
};

// `chosen` (--soundfont, DALVO_SOUNDFONT; may be empty) when it is a soundfont, else the
// first of `installed` that is one. A file counts when it starts as a soundfont does, so
// that a wrong file is named here rather than failing silently at the first piece.
SoundFontChoice choose_soundfont(const std::filesystem::path& chosen,
                                 std::span<const char* const> installed = kInstalledSoundFonts);

}  // namespace dalvo::platform
