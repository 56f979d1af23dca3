#include "support/made_files.h"

namespace dalvo::test {

Bytes vlq(std::uint32_t v) {
    Bytes out{static_cast<std::uint8_t>(v & 0x7F)};
    while ((v >>= 7) != 0) out.insert(out.begin(), static_cast<std::uint8_t>(0x80 | (v & 0x7F)));
    return out;
}

Bytes cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

Bytes smf(std::uint16_t format, std::uint16_t division, const std::vector<Bytes>& tracks) {
    Bytes out{'M', 'T', 'h', 'd', 0, 0, 0, 6};
    auto u16 = [&out](std::uint32_t v) {
        out.push_back(static_cast<std::uint8_t>(v >> 8));
        out.push_back(static_cast<std::uint8_t>(v));
    };
    u16(format);
    u16(static_cast<std::uint32_t>(tracks.size()));
    u16(division);
    for (const Bytes& t : tracks) {
        out.insert(out.end(), {'M', 'T', 'r', 'k'});
        u16(static_cast<std::uint32_t>(t.size() >> 16));
        u16(static_cast<std::uint32_t>(t.size() & 0xFFFF));
        out.insert(out.end(), t.begin(), t.end());
    }
    return out;
}

Bytes rmid(const Bytes& sequence, bool with_data) {
    const auto le32 = [](std::size_t v) {
        return Bytes{static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v >> 16),
                     static_cast<std::uint8_t>(v >> 24)};
    };
    const Bytes info = cat({{'I', 'N', 'F', 'O'}, le32(3), {'a', 'b', 'c', 0}});  // padded to even
    const Bytes data = with_data ? cat({{'d', 'a', 't', 'a'}, le32(sequence.size()), sequence}) : Bytes{};
    const Bytes body = cat({{'R', 'M', 'I', 'D'}, info, data});
    return cat({{'R', 'I', 'F', 'F'}, le32(body.size()), body});
}

Bytes one_note(std::uint32_t ticks) {
    const Bytes end{0x80, 60, 0, 0x00, 0xFF, 0x2F, 0x00};
    return smf(0, 480, {cat({{0x00, 0xC0, 0x00, 0x00, 0x90, 60, 100}, vlq(ticks), end})});
}

void put(Bytes& b, std::initializer_list<std::pair<std::int64_t, int>> fields) {
    for (const auto& [v, size] : fields)
        for (int i = 0; i < size; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

Bytes rle8_bitmap(std::int64_t width, std::int64_t height) {
    Bytes b = {'B', 'M'};
    put(b, {{54 + 4 + 4, 4}, {0, 4}, {54 + 4, 4}});
    put(b, {{40, 4}, {width, 4}, {height, 4}, {1, 2}, {8, 2}, {1, 4}, {4, 4}, {0, 8}, {1, 4}, {0, 4}});
    put(b, {{0x00FF00, 4}});
    put(b, {{0x01, 1}, {0x00, 1}, {0x00, 1}, {0x01, 1}});
    return b;
}

}  // namespace dalvo::test
