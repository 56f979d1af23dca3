// Shift-JIS through the C library's CP932 tables. CP932 rather than SHIFT_JIS:
// it keeps 0x5C a backslash and knows the vendor characters (①, 髙, ～) the data uses.

#include "platform/codec/text_codec.h"

#include <iconv.h>

#include <cerrno>
#include <cstddef>

namespace dalvo::platform {
namespace {

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (ok()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    void reset() { iconv(cd_, nullptr, nullptr, nullptr, nullptr); }

    // Converts as much as it can; returns the errno that stopped it (0 at the end).
    int convert(const char*& in, std::size_t& in_left, std::string& out) {
        char buf[1024];
        while (in_left > 0) {
            char* dst = buf;
            std::size_t dst_left = sizeof buf;
            const std::size_t r = iconv(cd_, const_cast<char**>(&in), &in_left, &dst, &dst_left);
            const int err = r == static_cast<std::size_t>(-1) ? errno : 0;
            out.append(buf, static_cast<std::size_t>(dst - buf));
            if (err != 0 && err != E2BIG) return err;
        }
        // Flush any shift state (none for CP932, but cheap and correct).
        char* dst = buf;
        std::size_t dst_left = sizeof buf;
        iconv(cd_, nullptr, nullptr, &dst, &dst_left);
        out.append(buf, static_cast<std::size_t>(dst - buf));
        return 0;
    }

private:
    iconv_t cd_;
};

// One converter each way per thread; opening one costs more than most conversions.
Converter& decoder() {
    thread_local Converter c("UTF-8", "CP932");
    return c;
}
Converter& encoder() {
    thread_local Converter c("CP932", "UTF-8");
    return c;
}

constexpr const char* kReplacement = "\xEF\xBF\xBD";  // U+FFFD

}  // namespace

std::string sjis_to_utf8(std::string_view sjis) {
    std::string out;
    out.reserve(sjis.size() * 3 / 2);
    Converter& c = decoder();
    if (!c.ok()) return out;
    c.reset();
    const char* in = sjis.data();
    std::size_t left = sjis.size();
    while (left > 0) {
        const int err = c.convert(in, left, out);
        if (err == 0) break;
        // An undecodable byte (or a lead byte cut off at the end) stands for one
        // replacement character; decoding goes on after it.
        out += kReplacement;
        ++in;
        --left;
        c.reset();
    }
    return out;
}

std::optional<std::string> utf8_to_sjis(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    Converter& c = encoder();
    if (!c.ok()) return std::nullopt;
    c.reset();
    const char* in = utf8.data();
    std::size_t left = utf8.size();
    if (c.convert(in, left, out) != 0) {
        c.reset();
        return std::nullopt;
    }
    return out;
}

}  // namespace dalvo::platform
