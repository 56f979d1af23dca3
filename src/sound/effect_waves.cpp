// The three effects are synthesized while the program compiles: the images below are
// constants, so the program carries the finished bytes as the original carried its
// wave resources.

#include "sound/effect_waves.h"

#include <array>
#include <cstddef>

namespace dalvo {
namespace {

constexpr double kPi = 3.14159265358979323846;

constexpr double csin(double x) {
    // Into [-pi, pi), where the series converges quickly.
    const double turns = (x + kPi) / (2 * kPi);
    auto whole = static_cast<long long>(turns);
    if (turns < 0 && static_cast<double>(whole) != turns) --whole;
    x -= static_cast<double>(whole) * 2 * kPi;
    double term = x, sum = x;
    for (int i = 1; i < 14; ++i) {
        term *= -x * x / ((2 * i) * (2 * i + 1));
        sum += term;
    }
    return sum;
}

constexpr double cexp(double x) {
    // Only small exponents are needed (per-sample decay factors).
    double term = 1, sum = 1;
    for (int i = 1; i < 20; ++i) {
        term *= x / i;
        sum += term;
    }
    return sum;
}

// A sine oscillator by the two-term recurrence: one multiply per sample.
struct Osc {
    double k = 0, prev = 0, cur = 0;
    constexpr Osc(double hz, double rate) {
        const double w = 2 * kPi * hz / rate;
        k = 2 * csin(kPi / 2 - w);  // 2 cos w
        prev = csin(-w);
        cur = 0;
    }
    constexpr double next() {
        const double out = cur;
        const double n = k * cur - prev;
        prev = cur;
        cur = n;
        return out;
    }
};

// Decays by e every `tau` seconds.
struct Decay {
    double factor = 1, value = 1;
    constexpr Decay(double tau, double rate) : factor(cexp(-1.0 / (tau * rate))) {}
    constexpr double next() {
        const double out = value;
        value *= factor;
        return out;
    }
};

constexpr double clamp1(double x) { return x > 1 ? 1 : (x < -1 ? -1 : x); }
constexpr long rounded(double x) { return static_cast<long>(x >= 0 ? x + 0.5 : x - 0.5); }

template <std::size_t N>
struct Image {
    std::array<std::uint8_t, N> bytes{};
    std::size_t at = 0;
    constexpr void tag(const char* t) {
        for (int i = 0; i < 4; ++i) bytes[at++] = static_cast<std::uint8_t>(t[i]);
    }
    constexpr void le(std::uint32_t v, int n) {
        for (int i = 0; i < n; ++i) bytes[at++] = static_cast<std::uint8_t>(v >> (8 * i));
    }
    constexpr void sample8(double x) { le(static_cast<std::uint32_t>(128 + rounded(clamp1(x) * 127)), 1); }
    constexpr void sample16(double x) {
        le(static_cast<std::uint32_t>(static_cast<std::int16_t>(rounded(clamp1(x) * 32767))), 2);
    }
};

struct Format {
    std::uint32_t rate, bits, data_bytes;
    bool fact;  // the extended format record followed by a "fact" chunk
};

constexpr std::size_t image_size(const Format& f) {
    return 12 + (f.fact ? 8 + 18 + 8 + 4 : 8 + 16) + 8 + f.data_bytes;
}

// A mono PCM image; `sample` gives each sample in -1..1 from its index.
template <std::size_t N, class Gen>
constexpr std::array<std::uint8_t, N> make_wave(const Format& f, Gen gen) {
    Image<N> img;
    const std::uint32_t block = f.bits / 8;
    img.tag("RIFF");
    img.le(static_cast<std::uint32_t>(N - 8), 4);
    img.tag("WAVE");
    img.tag("fmt ");
    img.le(f.fact ? 18 : 16, 4);
    img.le(1, 2);  // PCM
    img.le(1, 2);  // mono
    img.le(f.rate, 4);
    img.le(f.rate * block, 4);
    img.le(block, 2);
    img.le(f.bits, 2);
    if (f.fact) {
        img.le(0, 2);
        img.tag("fact");
        img.le(4, 4);
        img.le(f.data_bytes / block, 4);
    }
    img.tag("data");
    img.le(f.data_bytes, 4);
    for (std::uint32_t i = 0; i < f.data_bytes / block; ++i) {
        const double x = gen(i);
        if (f.bits == 8) img.sample8(x); else img.sample16(x);
    }
    return img.bytes;
}

// Effect 0: a short dry click, a tick of tone over a burst of noise.
constexpr Format kClickFormat{11025, 8, 1102, false};
constexpr auto kClick = make_wave<image_size(kClickFormat)>(kClickFormat, [osc = Osc(1500, 11025),
                                                                           tone = Decay(0.012, 11025),
                                                                           burst = Decay(0.003, 11025),
                                                                           seed = std::uint32_t{12345}](
                                                                              std::uint32_t) mutable {
    seed = seed * 1664525u + 1013904223u;
    const double noise = static_cast<double>(seed >> 8) / double(1u << 24) * 2 - 1;
    return 0.45 * osc.next() * tone.next() + 0.35 * noise * burst.next();
});

// Effect 1: a bell-like chime of about a second, inharmonic partials dying away.
constexpr Format kChimeFormat{22050, 16, 44032, false};
constexpr auto kChime = make_wave<image_size(kChimeFormat)>(kChimeFormat, [p1 = Osc(1046.5, 22050),
                                                                           p2 = Osc(1046.5 * 2.76, 22050),
                                                                           p3 = Osc(1046.5 * 5.40, 22050),
                                                                           d1 = Decay(0.35, 22050),
                                                                           d2 = Decay(0.15, 22050),
                                                                           d3 = Decay(0.06, 22050)](
                                                                              std::uint32_t i) mutable {
    const double attack = i < 110 ? i / 110.0 : 1.0;  // 5 ms, no click at the start
    const double tail = i > 20000 ? (22016 - i) / 2016.0 : 1.0;  // ends in silence
    return attack * tail * (0.5 * p1.next() * d1.next() + 0.22 * p2.next() * d2.next() +
                            0.1 * p3.next() * d3.next());
});

// Effect 2: a soft blip, a sine swelling in and out over 60 ms.
constexpr Format kBlipFormat{22050, 16, 2648, true};
constexpr auto kBlip = make_wave<image_size(kBlipFormat)>(kBlipFormat, [osc = Osc(880, 22050)](
                                                                           std::uint32_t i) mutable {
    const double s = csin(kPi * i / 1324.0);
    return 0.35 * s * s * osc.next();
});

}  // namespace

std::span<const std::uint8_t> effect_wave(int n) {
    switch (n) {
    case 0: return kClick;
    case 1: return kChime;
    case 2: return kBlip;
    default: return {};
    }
}

}  // namespace dalvo
