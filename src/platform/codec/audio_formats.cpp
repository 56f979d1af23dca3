#include "platform/codec/audio_formats.h"

#include <algorithm>
#include <limits>
#include <map>

namespace dalvo::platform {
namespace {

// Bounds-checked big- and little-endian reads over outside bytes.
class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::size_t pos() const { return pos_; }
    std::size_t left() const { return bytes_.size() - pos_; }
    bool skip(std::size_t n) {
        if (n > left()) return false;
        pos_ += n;
        return true;
    }
    bool u8(std::uint32_t& out) {
        if (left() < 1) return false;
        out = bytes_[pos_++];
        return true;
    }
    bool be(std::size_t n, std::uint32_t& out) {
        if (n > left()) return false;
        out = 0;
        for (std::size_t i = 0; i < n; ++i) out = (out << 8) | bytes_[pos_++];
        return true;
    }
    bool le(std::size_t n, std::uint32_t& out) {
        if (n > left()) return false;
        out = 0;
        for (std::size_t i = 0; i < n; ++i) out |= std::uint32_t{bytes_[pos_++]} << (8 * i);
        return true;
    }
    bool tag(const char (&t)[5]) {
        if (left() < 4) return false;
        const bool same = std::equal(t, t + 4, bytes_.begin() + static_cast<std::ptrdiff_t>(pos_));
        if (same) pos_ += 4;
        return same;
    }
    // A variable-length quantity of at most four bytes.
    bool vlq(std::uint32_t& out) {
        out = 0;
        for (int i = 0; i < 4; ++i) {
            std::uint32_t b;
            if (!u8(b)) return false;
            out = (out << 7) | (b & 0x7F);
            if ((b & 0x80) == 0) return true;
        }
        return false;
    }
    Reader sub(std::size_t n) const { return Reader(bytes_.subspan(pos_, std::min(n, left()))); }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
};

// Walks one track's events; collects its tempo changes and returns the tick of its
// last event. A track cut short ends where its bytes end.
std::uint64_t track_end_tick(Reader track, std::multimap<std::uint64_t, std::uint32_t>& tempos) {
    std::uint64_t tick = 0;
    std::uint32_t running = 0;
    // Every pass consumes at least one byte, so the walk always ends.
    while (track.left() > 0) {
        std::uint32_t delta;
        if (!track.vlq(delta)) break;
        std::uint32_t status;
        if (!track.u8(status)) break;
        const std::uint64_t at = tick + delta;
        if (status == 0xFF) {
            std::uint32_t type, len;
            if (!track.u8(type) || !track.vlq(len)) break;
            if (type == 0x51 && len == 3) {
                std::uint32_t us;
                if (!track.be(3, us)) break;
                tempos.emplace(at, us);
            } else if (!track.skip(len)) {
                break;
            }
            tick = at;
            if (type == 0x2F) break;  // end of track
            continue;
        }
        if (status == 0xF0 || status == 0xF7) {
            std::uint32_t len;
            if (!track.vlq(len) || !track.skip(len)) break;
            tick = at;
            continue;
        }
        if (status < 0x80) {
            // Running status: the byte just read was the message's first data byte.
            if (running == 0) break;
            status = running;
        } else {
            if (status >= 0xF0) break;  // system common messages do not belong in a file
            running = status;
            if (!track.skip(1)) break;
        }
        const std::uint32_t kind = status & 0xF0;
        if (kind != 0xC0 && kind != 0xD0 && !track.skip(1)) break;
        tick = at;
    }
    return tick;
}

}  // namespace

std::span<const std::uint8_t> midi_sequence(std::span<const std::uint8_t> bytes) {
    Reader r(bytes);
    std::uint32_t riff_len = 0;
    if (!r.tag("RIFF")) return bytes;
    if (!r.le(4, riff_len) || !r.tag("RMID")) return {};
    while (r.left() >= 8) {
        const bool is_data = r.tag("data");
        if (!is_data) r.skip(4);
        std::uint32_t len = 0;
        r.le(4, len);
        // A chunk longer than the file keeps what is there, as a cut-short track does.
        if (is_data) return bytes.subspan(r.pos(), std::min<std::size_t>(len, r.left()));
        if (!r.skip(std::size_t{len} + (len & 1))) break;  // chunks are padded to even sizes
    }
    return {};
}

std::int64_t midi_length_ms(std::span<const std::uint8_t> bytes) {
    Reader r(bytes);
    std::uint32_t header_len, format, tracks, division;
    if (!r.tag("MThd") || !r.be(4, header_len) || header_len < 6) return -1;
    Reader header = r.sub(header_len);
    if (!header.be(2, format) || !header.be(2, tracks) || !header.be(2, division)) return -1;
    if (format > 2 || division == 0) return -1;
    r.skip(header_len);

    std::multimap<std::uint64_t, std::uint32_t> tempos;
    std::uint64_t end_tick = 0;
    bool any_track = false;
    while (r.left() >= 8) {
        const bool is_track = r.tag("MTrk");
        if (!is_track) r.skip(4);
        std::uint32_t len = 0;
        r.be(4, len);
        if (is_track) {
            any_track = true;
            end_tick = std::max(end_tick, track_end_tick(r.sub(len), tempos));
        }
        if (!r.skip(len)) break;
    }
    if (!any_track) return -1;

    double us = 0;
    if (division & 0x8000) {
        // Time code: frames per second times ticks per frame; tempo plays no part.
        const int fps = -static_cast<std::int8_t>(division >> 8);
        const int per_frame = static_cast<int>(division & 0xFF);
        if (fps <= 0 || per_frame == 0) return -1;
        const double rate = (fps == 29 ? 29.97 : fps) * per_frame;
        us = static_cast<double>(end_tick) * 1e6 / rate;
    } else {
        std::uint64_t at = 0;
        std::uint32_t tempo = 500000;  // 120 beats a minute until told otherwise
        for (const auto& [tick, next] : tempos) {
            if (tick >= end_tick) break;
            us += static_cast<double>(tick - at) * tempo / division;
            at = tick;
            tempo = next;
        }
        us += static_cast<double>(end_tick - at) * tempo / division;
    }
    const double ms = us / 1000.0;
    if (!(ms < static_cast<double>(std::numeric_limits<std::int64_t>::max() / 2))) {
        return std::numeric_limits<std::int64_t>::max() / 2;
    }
    return static_cast<std::int64_t>(ms + 0.5);
}

std::int64_t wave_duration_ms(std::span<const std::uint8_t> bytes) {
    Reader r(bytes);
    std::uint32_t riff_len;
    if (!r.tag("RIFF") || !r.le(4, riff_len) || !r.tag("WAVE")) return -1;
    std::uint32_t format = 0, channels = 0, rate = 0, bits = 0;
    bool have_fmt = false;
    while (r.left() >= 8) {
        const bool is_fmt = r.tag("fmt ");
        const bool is_data = !is_fmt && r.tag("data");
        if (!is_fmt && !is_data) r.skip(4);
        std::uint32_t len = 0;
        r.le(4, len);
        if (is_fmt) {
            Reader f = r.sub(len);
            std::uint32_t byte_rate, align;
            if (!f.le(2, format) || !f.le(2, channels) || !f.le(4, rate) || !f.le(4, byte_rate) ||
                !f.le(2, align) || !f.le(2, bits))
                return -1;
            have_fmt = true;
        } else if (is_data) {
            if (!have_fmt || format != 1 || channels == 0 || rate == 0 || (bits != 8 && bits != 16))
                return -1;
            const std::uint64_t data = std::min<std::uint64_t>(len, r.left());
            const std::uint64_t frame = std::uint64_t{channels} * (bits / 8);
            return static_cast<std::int64_t>((data / frame) * 1000 / rate);
        }
        // Chunks are padded to an even length.
        if (!r.skip(std::size_t{len} + (len & 1))) break;
    }
    return -1;
}

}  // namespace dalvo::platform
