#pragma once
// A quick 64-bit hash of bytes (FNV-1a), for names and fingerprints, not for security.

#include <cstdint>
#include <string_view>

namespace dalvo::platform {

constexpr std::uint64_t fnv1a(std::string_view bytes) {
    std::uint64_t h = 14695981039346656037ull;
    for (const char c : bytes) {
        h ^= static_cast<unsigned char>(c);
        h *= 1099511628211ull;
    }
    return h;
}

}  // namespace dalvo::platform
