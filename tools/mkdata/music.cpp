// The nine bundled pieces. Each is a melody over one chord a bar, an arpeggio, a bass
// and a drum part on the General MIDI drum channel, repeated with small changes until
// it lasts about a minute, and closed on its first chord so the loop comes round well.

#include "mkdata/music.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace dalvo::mkdata {
namespace {

constexpr int kEighth = kTicksPerBeat / 2;
constexpr int kSixteenth = kTicksPerBeat / 4;
constexpr int kDrumChannel = 9;  // channel 10 as players count
constexpr double kTargetSeconds = 60;

// How the drums and the bass move under a piece.
enum class Groove { Pop, Gentle, Sea, Ballad, Tension, Sparse };

struct Piece {
    const char* title;
    int bpm;
    int lead_program;
    int double_program;  // the instrument that doubles the melody on the second pass
    int pad_program;
    int bass_program;
    Groove groove;
    int intro_bars;      // chords alone before the melody comes in
    const char* chords;  // one chord a bar: C, Am, G7, FM7, Bb, G/B ...
    const char* melody;  // NOTE+octave:eighths, R for a rest; as many bars as chords
};

// Numbered as "30.dat" lists the music: title, school days, the sea, the station,
// evening, tension, a warm scene, a sad scene, the ending.
const Piece kPieces[kMusicCount] = {
    {"Morning Bell", 112, 0, 73, 0, 33, Groove::Pop, 2, "C G Am Em F C F G",
     "E5:2 G5:2 C6:3 B5:1 A5:2 G5:2 E5:2 D5:2 C5:2 E5:2 A5:4 G5:2 E5:2 B4:4 "
     "A4:2 C5:2 F5:3 E5:1 D5:2 C5:2 E5:2 G5:2 F5:2 E5:2 D5:2 C5:2 D5:4 G4:4"},
    {"After School", 96, 24, 11, 24, 32, Groove::Gentle, 2, "FM7 Em7 Dm7 CM7 FM7 Em7 Dm G",
     "A4:3 C5:1 E5:4 G4:3 B4:1 D5:4 F4:3 A4:1 C5:4 E4:4 R:4 "
     "A4:2 C5:2 E5:2 F5:2 G5:4 E5:4 D5:2 C5:2 A4:4 B4:8"},
    {"Sea Breeze", 84, 73, 46, 48, 32, Groove::Sea, 2, "D A Bm F#m G D G A",
     "F#5:4 E5:2 D5:2 E5:6 A4:2 B4:4 C#5:2 D5:2 C#5:8 "
     "B4:4 A4:2 G4:2 F#4:6 A4:2 B4:4 D5:2 E5:2 E5:8"},
    {"Platform", 100, 71, 68, 0, 32, Groove::Ballad, 2, "G Em C D G Em Am D7",
     "D5:2 B4:2 G4:2 B4:2 E5:4 D5:4 C5:2 E5:2 G5:2 E5:2 D5:8 "
     "D5:2 B4:2 G4:2 D5:2 E5:2 G5:2 B5:4 A5:2 G5:2 E5:2 C5:2 A4:4 D5:4"},
    {"Night Lights", 72, 10, 88, 88, 32, Groove::Sparse, 2, "Em C G D Em C Am B7",
     "B5:2 G5:2 E5:4 C6:2 B5:2 G5:4 D5:2 G5:2 B5:4 A5:8 "
     "B5:2 G5:2 E5:4 E6:2 D6:2 C6:4 A5:2 C6:2 E5:4 D#5:8"},
    {"Worries", 84, 48, 71, 48, 38, Groove::Tension, 2, "Am Dm E Am F Dm E7 Am",
     "E5:4 C5:2 A4:2 F5:4 D5:4 G#4:4 B4:2 D5:2 C5:8 "
     "C5:4 A4:2 F4:2 A4:4 D5:4 B4:4 G#4:2 B4:2 A4:8"},
    {"Warm Hands", 92, 4, 0, 89, 32, Groove::Gentle, 2, "C Am Dm G C Am Dm7 G7",
     "G4:1 A4:1 C5:2 C5:2 D5:2 E5:2 E5:2 D5:2 C5:2 A4:2 D5:2 F5:2 E5:2 D5:8 "
     "G4:1 A4:1 C5:2 C5:2 D5:2 E5:2 G5:2 A5:2 G5:2 F5:2 E5:2 D5:2 B4:2 C5:8"},
    {"Snow on the Rails", 63, 0, 40, 49, 32, Groove::Sparse, 2, "Dm Bb F C Gm Dm A7 Dm",
     "A5:4 F5:2 E5:2 D5:6 C5:2 A4:4 C5:2 F5:2 E5:8 "
     "D5:4 Bb4:2 D5:2 A5:6 G5:2 F5:2 E5:2 C#5:2 E5:2 D5:8"},
    {"Farewell Song", 80, 0, 48, 48, 32, Groove::Ballad, 4,
     "C G/B Am Em F C Dm G C G Am Em F G C C",
     "G5:4 E5:2 D5:2 C5:4 E5:4 A5:4 G5:2 E5:2 G5:8 F5:4 E5:2 D5:2 C5:4 A4:4 D5:6 E5:2 D5:8 "
     "G5:4 E5:2 D5:2 C5:4 G5:4 A5:4 B5:2 C6:2 G5:8 A5:4 G5:2 F5:2 D5:4 E5:2 D5:2 C5:16"},
};

// General MIDI drum keys.
enum Drum {
    kKick = 36, kRim = 37, kSnare = 38, kFloorTom = 41, kClosedHat = 42, kPedalHat = 44,
    kCrash = 49, kRide = 51, kTambourine = 54, kShaker = 70, kTriangle = 81,
};

int semitone(char letter) {
    switch (letter) {
    case 'C': return 0;
    case 'D': return 2;
    case 'E': return 4;
    case 'F': return 5;
    case 'G': return 7;
    case 'A': return 9;
    default: return 11;  // B
    }
}

// "C#5" -> MIDI key; the octave follows the letter and its accidental.
int key_of(const std::string& name) {
    std::size_t i = 0;
    int key = semitone(name[i++]);
    if (i < name.size() && name[i] == '#') ++key, ++i;
    else if (i < name.size() && name[i] == 'b') --key, ++i;
    const int octave = i < name.size() ? name[i] - '0' : 4;
    return 12 * (octave + 1) + key;
}

std::vector<Note> parse_melody(const char* text) {
    std::vector<Note> notes;
    std::istringstream in(text);
    int at = 0;
    for (std::string token; in >> token;) {
        const std::size_t colon = token.find(':');
        const int len = std::stoi(token.substr(colon + 1)) * kEighth;
        const std::string name = token.substr(0, colon);
        if (name != "R") notes.push_back({at, len - 20, key_of(name), 88});
        at += len;
    }
    return notes;
}

struct Chord {
    int root;      // key in octave 3
    int third;     // 3 minor, 4 major
    int bass_key;  // the bass note, octave 2
};

std::vector<Chord> parse_chords(const char* text) {
    std::vector<Chord> chords;
    std::istringstream in(text);
    for (std::string name; in >> name;) {
        const bool accidental = name.size() > 1 && (name[1] == '#' || name[1] == 'b');
        const std::string root_name = name.substr(0, accidental ? 2 : 1);
        const std::size_t slash = name.find('/');
        const std::string quality = name.substr(
            root_name.size(), slash == std::string::npos ? std::string::npos : slash - root_name.size());
        const int root = key_of(root_name + "3");
        const int third = quality.starts_with("m") && !quality.starts_with("M") ? 3 : 4;
        const int bass = slash == std::string::npos ? root - 12 : key_of(name.substr(slash + 1) + "2");
        chords.push_back({root, third, bass});
    }
    return chords;
}

void add_note(NoteTrack& t, int start, int length, int key, int velocity) {
    t.notes.push_back({start, length, key, velocity});
}

// One bar of arpeggio (root, fifth, octave, third ...) and bass under `chord`.
void add_bar_harmony(const Chord& chord, Groove groove, int start, NoteTrack& pad, NoteTrack& bass) {
    const int pattern[8] = {0, 7, 12, chord.third + 12, 19, chord.third + 12, 12, 7};
    for (int i = 0; i < 8; ++i)
        add_note(pad, start + i * kEighth, kEighth - 10, chord.root + pattern[i], i % 2 ? 56 : 66);
    switch (groove) {
    case Groove::Tension:  // a restless pulse
        for (int i = 0; i < 8; ++i) add_note(bass, start + i * kEighth, kEighth - 30, chord.bass_key, i % 2 ? 70 : 92);
        break;
    case Groove::Sparse:  // one long note
        add_note(bass, start, 8 * kEighth - 30, chord.bass_key, 80);
        break;
    case Groove::Pop:  // root and fifth
        add_note(bass, start, 3 * kEighth - 20, chord.bass_key, 92);
        add_note(bass, start + 3 * kEighth, kEighth - 20, chord.bass_key, 70);
        add_note(bass, start + 4 * kEighth, 4 * kEighth - 20, chord.bass_key + 7, 84);
        break;
    default:
        add_note(bass, start, 4 * kEighth - 20, chord.bass_key, 90);
        add_note(bass, start + 4 * kEighth, 4 * kEighth - 20, chord.bass_key, 76);
        break;
    }
}

// One bar of drums; `full` on the passes that carry the tune, lighter in the intro.
void add_bar_drums(Groove groove, int start, bool full, NoteTrack& drums) {
    auto hit = [&](int eighth, int key, int velocity) {
        add_note(drums, start + eighth * kEighth, kEighth / 2, key, full ? velocity : velocity * 2 / 3);
    };
    switch (groove) {
    case Groove::Pop:
        hit(0, kKick, 100), hit(4, kKick, 90), hit(5, kKick, 70);
        if (full) hit(2, kSnare, 90), hit(6, kSnare, 90);
        for (int i = 0; i < 8; ++i) hit(i, kClosedHat, i % 2 ? 46 : 62);
        break;
    case Groove::Gentle:
        hit(0, kKick, 80), hit(4, kRim, 60);
        if (full) hit(6, kRim, 44);
        for (int i = 0; i < 8; ++i) hit(i, kClosedHat, i % 2 ? 30 : 44);
        break;
    case Groove::Sea:
        hit(0, kKick, 70);
        for (int i = 0; i < 8; ++i) hit(i, kShaker, i % 2 ? 34 : 50);
        if (full) hit(6, kTambourine, 50);
        break;
    case Groove::Ballad:
        hit(0, kKick, 76), hit(5, kKick, 50);
        if (full) hit(4, kRim, 56);
        for (int i = 0; i < 8; i += 2) hit(i, kRide, 44);
        break;
    case Groove::Tension:
        hit(0, kFloorTom, 96), hit(1, kFloorTom, 70), hit(4, kFloorTom, 90);
        for (int i = 0; i < 16; ++i)
            add_note(drums, start + i * kSixteenth, kSixteenth / 2, kPedalHat, i % 4 == 0 ? 56 : 34);
        break;
    case Groove::Sparse:
        hit(0, kKick, 56);
        if (full) hit(4, kTriangle, 40);
        break;
    }
}

double seconds_of_bars(int bars, int bpm) { return bars * 4 * 60.0 / bpm; }

}  // namespace

Song compose_piece(int number) {
    const Piece& p = kPieces[(number - 1) % kMusicCount];
    const std::vector<Chord> chords = parse_chords(p.chords);
    const std::vector<Note> melody = parse_melody(p.melody);
    const int bars = static_cast<int>(chords.size());
    const int bar_ticks = 8 * kEighth;
    // Enough passes for about a minute, never fewer than one.
    const double pass_seconds = seconds_of_bars(bars, p.bpm);
    const int passes = std::max(1, static_cast<int>(std::lround(
        (kTargetSeconds - seconds_of_bars(p.intro_bars + 1, p.bpm)) / pass_seconds)));

    NoteTrack lead{"Melody", 0, p.lead_program, 110, {}};
    NoteTrack doubling{"Melody (second voice)", 3, p.double_program, 72, {}};
    NoteTrack pad{"Harmony", 1, p.pad_program, 80, {}};
    NoteTrack bass{"Bass", 2, p.bass_program, 96, {}};
    NoteTrack drums{"Drums", kDrumChannel, 0, 90, {}};

    int at = 0;
    for (int b = 0; b < p.intro_bars; ++b, at += bar_ticks) {
        add_bar_harmony(chords[static_cast<std::size_t>(b % bars)], p.groove, at, pad, bass);
        add_bar_drums(p.groove, at, false, drums);
    }
    for (int pass = 0; pass < passes; ++pass) {
        const int pass_start = at;
        for (const Note& n : melody) {
            add_note(lead, pass_start + n.start, n.length, n.key, pass % 2 ? 80 : n.velocity);
            // The second pass sings the tune an octave lower on a second instrument.
            if (pass % 2 == 1) add_note(doubling, pass_start + n.start, n.length, n.key - 12, 70);
        }
        if (p.groove != Groove::Sparse && p.groove != Groove::Tension) add_note(drums, pass_start, kEighth, kCrash, 80);
        for (int b = 0; b < bars; ++b, at += bar_ticks) {
            add_bar_harmony(chords[static_cast<std::size_t>(b)], p.groove, at, pad, bass);
            add_bar_drums(p.groove, at, true, drums);
        }
    }
    // The closing bar: the first chord held, so the loop starts again from home.
    const Chord& home = chords.front();
    for (int k : {0, 7, 12, home.third + 12}) add_note(pad, at, bar_ticks - 40, home.root + k, 64);
    add_note(bass, at, bar_ticks - 40, home.bass_key, 84);
    add_note(drums, at, kEighth, p.groove == Groove::Sparse ? kTriangle : kCrash, 70);
    add_note(drums, at, kEighth, kKick, 80);

    Song song;
    song.title = p.title;
    song.beats_per_minute = p.bpm;
    song.tracks = {std::move(lead), std::move(pad), std::move(bass), std::move(drums)};
    if (!doubling.notes.empty()) song.tracks.push_back(std::move(doubling));
    return song;
}

}  // namespace dalvo::mkdata
