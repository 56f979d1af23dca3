#pragma once
// Standard MIDI Files, format 1: a tempo track and note tracks.

#include <string>
#include <vector>

#include "mkdata/mkdata.h"

namespace dalvo::mkdata {

inline constexpr int kTicksPerBeat = 480;

struct Note {
    int start = 0;     // ticks from the start of the piece
    int length = 0;    // ticks
    int key = 60;      // MIDI key, 60 = middle C
    int velocity = 80;
};

struct NoteTrack {
    std::string name;
    int channel = 0;
    int program = 0;  // General MIDI instrument, 0-based
    int volume = 100;
    std::vector<Note> notes;
};

struct Song {
    std::string title;
    int beats_per_minute = 120;
    int beats_per_bar = 4;
    std::vector<NoteTrack> tracks;
};

Bytes encode_smf(const Song& song);

}  // namespace dalvo::mkdata
