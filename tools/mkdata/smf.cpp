// The MIDI writer: events sorted by time, note-offs before note-ons at the same tick so
// that repeated keys sound again.

#include "mkdata/smf.h"

#include <algorithm>
#include <cstdint>

namespace dalvo::mkdata {
namespace {

struct Event {
    int tick;
    int order;  // at one tick: 0 note off, 1 anything else
    Bytes data;
};

void put_be32(Bytes& out, std::uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<std::uint8_t>((v >> s) & 0xFF));
}

void put_varlen(Bytes& out, std::uint32_t v) {
    std::uint8_t buf[5];
    int n = 0;
    buf[n++] = v & 0x7F;
    while ((v >>= 7) != 0) buf[n++] = static_cast<std::uint8_t>((v & 0x7F) | 0x80);
    while (n > 0) out.push_back(buf[--n]);
}

Bytes meta(std::uint8_t type, const Bytes& body) {
    Bytes out{0xFF, type};
    put_varlen(out, static_cast<std::uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

Bytes text_meta(std::uint8_t type, const std::string& s) { return meta(type, Bytes(s.begin(), s.end())); }

Bytes chunk(std::vector<Event> events, int end_tick) {
    std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
        return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    Bytes body;
    int now = 0;
    for (const Event& e : events) {
        put_varlen(body, static_cast<std::uint32_t>(e.tick - now));
        now = e.tick;
        body.insert(body.end(), e.data.begin(), e.data.end());
    }
    put_varlen(body, static_cast<std::uint32_t>(std::max(end_tick - now, 0)));
    const Bytes end = meta(0x2F, {});
    body.insert(body.end(), end.begin(), end.end());

    Bytes out{'M', 'T', 'r', 'k'};
    put_be32(out, static_cast<std::uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

}  // namespace

Bytes encode_smf(const Song& song) {
    int end_tick = 0;
    for (const NoteTrack& t : song.tracks)
        for (const Note& n : t.notes) end_tick = std::max(end_tick, n.start + n.length);
    // Round up to a whole bar so the piece loops on the beat.
    const int bar = kTicksPerBeat * song.beats_per_bar;
    end_tick = (end_tick + bar - 1) / bar * bar;

    Bytes out{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1};
    out.push_back(0);
    out.push_back(static_cast<std::uint8_t>(song.tracks.size() + 1));
    out.push_back(static_cast<std::uint8_t>(kTicksPerBeat >> 8));
    out.push_back(static_cast<std::uint8_t>(kTicksPerBeat & 0xFF));

    const std::uint32_t us_per_beat = 60000000u / static_cast<std::uint32_t>(song.beats_per_minute);
    std::vector<Event> tempo{
        {0, 1, text_meta(0x03, song.title)},
        {0, 1, meta(0x58, {static_cast<std::uint8_t>(song.beats_per_bar), 2, 24, 8})},
        {0, 1,
         meta(0x51, {static_cast<std::uint8_t>(us_per_beat >> 16),
                     static_cast<std::uint8_t>((us_per_beat >> 8) & 0xFF),
                     static_cast<std::uint8_t>(us_per_beat & 0xFF)})},
    };
    const Bytes first = chunk(std::move(tempo), end_tick);
    out.insert(out.end(), first.begin(), first.end());

    for (const NoteTrack& t : song.tracks) {
        const auto ch = static_cast<std::uint8_t>(t.channel & 0x0F);
        std::vector<Event> events{
            {0, 1, text_meta(0x03, t.name)},
            {0, 1, {static_cast<std::uint8_t>(0xC0 | ch), static_cast<std::uint8_t>(t.program & 0x7F)}},
            {0, 1, {static_cast<std::uint8_t>(0xB0 | ch), 7, static_cast<std::uint8_t>(t.volume & 0x7F)}},
        };
        for (const Note& n : t.notes) {
            const auto key = static_cast<std::uint8_t>(n.key & 0x7F);
            events.push_back({n.start, 1, {static_cast<std::uint8_t>(0x90 | ch), key,
                                           static_cast<std::uint8_t>(n.velocity & 0x7F)}});
            events.push_back({n.start + n.length, 0, {static_cast<std::uint8_t>(0x80 | ch), key, 0}});
        }
        const Bytes c = chunk(std::move(events), end_tick);
        out.insert(out.end(), c.begin(), c.end());
    }
    return out;
}

}  // namespace dalvo::mkdata
