// The builder's encoders and drawing kit: the bytes other programs must read.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "mkdata/bmp.h"
#include "mkdata/canvas.h"
#include "mkdata/smf.h"
#include "platform/gfx/picture.h"

namespace dalvo::mkdata {
namespace {

int filled(const Canvas& c) {
    int n = 0;
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x) n += c.get(x, y) != kTransparent;
    return n;
}

TEST(Drawing, BitmapsOfOddWidthDecodeRowForRowAlsoSealed) {
    // Width 3 needs row padding; the rows are stored bottom-up.
    Canvas c(3, 2);
    const Rgb colors[6] = {rgb(255, 0, 0), rgb(0, 255, 0), rgb(0, 0, 255),
                           rgb(1, 2, 3),   rgb(250, 251, 252), rgb(128, 64, 32)};
    for (int i = 0; i < 6; ++i) c.set(i % 3, i / 3, colors[i]);
    Bytes bmp = encode_bmp(c);
    EXPECT_EQ(bmp.size(), 14u + 40u + 2u * 12u);
    for (bool sealed : {false, true}) {
        if (sealed) seal_picture(bmp);
        platform::Surface s;
        std::string error;
        ASSERT_TRUE(platform::decode_picture(bmp, s, error)) << error;
        ASSERT_EQ(s.width(), 3);
        ASSERT_EQ(s.height(), 2);
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(s.get(i % 3, i / 3), platform::rgb(colors[i].r, colors[i].g, colors[i].b)) << i;
    }
}

TEST(Drawing, ShapesFillWhatTheyCoverAndClipAtTheEdges) {
    Canvas rect(10, 10);
    rect.fill_polygon({{0, 0}, {4, 0}, {4, 3}, {0, 3}}, rgb(9, 9, 9));
    EXPECT_EQ(filled(rect), 12);

    // Even-odd: the middle of a five-pointed star stays empty.
    Canvas star(41, 41);
    std::vector<Point> points;
    for (int i = 0; i < 5; ++i) {
        const double a = -std::numbers::pi / 2 + i * 4 * std::numbers::pi / 5;
        points.push_back({20.5 + 20 * std::cos(a), 20.5 + 20 * std::sin(a)});
    }
    star.fill_polygon(points, rgb(9, 9, 9));
    EXPECT_EQ(star.get(20, 21), kTransparent);
    EXPECT_NE(star.get(20, 3), kTransparent);

    Canvas circle(20, 20);
    circle.fill_circle(10, 10, 6, rgb(9, 9, 9));
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) ASSERT_EQ(circle.get(x, y), circle.get(19 - x, 19 - y)) << x << "," << y;

    Canvas edge(8, 8);
    edge.fill_circle(0, 0, 20, rgb(9, 9, 9));
    edge.fill_rect(-5, -5, 100, 100, rgb(9, 9, 9));
    EXPECT_EQ(filled(edge), 64);
    // Dark colours never turn into the transparent key.
    EXPECT_NE(shade(rgb(10, 10, 10), -1.0), kTransparent);
}

// The events of one track chunk: (tick, bytes of the event without its delta).
std::vector<std::pair<int, Bytes>> track_events(const Bytes& smf, int track) {
    std::size_t i = 14;
    for (int t = 0; t < track; ++t) i += 8 + (smf[i + 4] << 24 | smf[i + 5] << 16 | smf[i + 6] << 8 | smf[i + 7]);
    EXPECT_EQ(std::string(smf.begin() + static_cast<long>(i), smf.begin() + static_cast<long>(i + 4)), "MTrk");
    const std::size_t end = i + 8 + (smf[i + 4] << 24 | smf[i + 5] << 16 | smf[i + 6] << 8 | smf[i + 7]);
    i += 8;
    std::vector<std::pair<int, Bytes>> events;
    int tick = 0;
    while (i < end) {
        int delta = 0;
        do delta = delta << 7 | (smf[i] & 0x7F);
        while (smf[i++] & 0x80);
        tick += delta;
        std::size_t len = 0;
        if (smf[i] == 0xFF) len = 3 + smf[i + 2];  // short metas only
        else if ((smf[i] & 0xF0) == 0xC0) len = 2;
        else len = 3;
        events.push_back({tick, Bytes(smf.begin() + static_cast<long>(i), smf.begin() + static_cast<long>(i + len))});
        i += len;
    }
    return events;
}

TEST(Drawing, MidiReleasesARepeatedKeyBeforeStrikingItAndKeepsLongRests) {
    Song song;
    song.beats_per_minute = 100;
    song.tracks.push_back({"t", 3, 5, 100, {{0, 480, 60, 90}, {480, 480, 60, 90}, {20000, 100, 64, 90}}});
    const Bytes smf = encode_smf(song);
    // Format 1: a tempo track and one note track, each closed by its end-of-track event.
    ASSERT_EQ(Bytes(smf.begin(), smf.begin() + 12), (Bytes{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 2}));
    for (int t : {0, 1}) EXPECT_EQ(track_events(smf, t).back().second, (Bytes{0xFF, 0x2F, 0})) << t;

    int tempo = 0;
    for (const auto& [tick, e] : track_events(smf, 0))
        if (e[1] == 0x51) tempo = e[3] << 16 | e[4] << 8 | e[5];
    EXPECT_EQ(tempo, 600000);  // microseconds a beat

    std::vector<std::pair<int, int>> notes;  // (tick, status) of note events
    for (const auto& [tick, e] : track_events(smf, 1))
        if ((e[0] & 0xE0) == 0x80) notes.push_back({tick, e[0]});
    const std::vector<std::pair<int, int>> expected{{0, 0x93},     {480, 0x83},   {480, 0x93},
                                                    {960, 0x83},   {20000, 0x93}, {20100, 0x83}};
    EXPECT_EQ(notes, expected);
}

}  // namespace
}  // namespace dalvo::mkdata
