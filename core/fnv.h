#pragma once
// FNV-1a, the hash of the project's checks: the frame hash of the trace line (32 bits over the
// picture's pixels, each low byte first) and the checksums of the park files a recording names
// (64 bits over the file's bytes). A check against mistakes, not against a forger.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace fnv {

inline constexpr uint32_t Start32 = 0x811c9dc5u;
inline constexpr uint64_t Start64 = 0xcbf29ce484222325u;

// The hash so far, continued over `count` 16-bit pixels.
inline uint32_t addPixels(uint32_t hash, const uint16_t* pixels, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        hash = (hash ^ (pixels[i] & 0xffu)) * 0x01000193u;
        hash = (hash ^ (pixels[i] >> 8)) * 0x01000193u;
    }
    return hash;
}

inline uint64_t hashBytes(std::string_view bytes) {
    uint64_t hash = Start64;
    for (char c : bytes) {
        hash = (hash ^ static_cast<uint8_t>(c)) * 0x100000001b3u;
    }
    return hash;
}

} // namespace fnv
