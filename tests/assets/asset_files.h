#pragma once
// Readers for the committed asset files, written apart from the generator so that the tests
// check the files against the formats rather than against the generator's own code.

#include "core/rect.h"

#include <cstdint>
#include <string>
#include <vector>

namespace assettest {

std::vector<uint8_t> readBytes(const std::string& path);

inline uint32_t u16At(const std::vector<uint8_t>& b, std::size_t at) {
    return static_cast<uint32_t>(b.at(at) | (b.at(at + 1) << 8));
}
inline uint32_t u32At(const std::vector<uint8_t>& b, std::size_t at) {
    return u16At(b, at) | (u16At(b, at + 2) << 16);
}
inline std::string tagAt(const std::vector<uint8_t>& b, std::size_t at) {
    return std::string(b.begin() + static_cast<std::ptrdiff_t>(at),
                       b.begin() + static_cast<std::ptrdiff_t>(at + 4));
}

struct Colour {
    int r = 0;
    int g = 0;
    int b = 0;
    friend bool operator==(const Colour&, const Colour&) = default;
};

inline constexpr Colour Green{0, 255, 0};
inline constexpr Colour Red{255, 0, 0};
inline constexpr Colour White{255, 255, 255};
inline constexpr Colour Black{0, 0, 0};

inline bool nearGreen(Colour c) {
    return c.r < 8 && c.b < 8 && c.g > 247;
}

// A 24-bit bottom-up bitmap's pixels, top row first. Empty when the file is not that form.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<Colour> pixels;
    Colour at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

Picture decodeBmp(const std::vector<uint8_t>& bytes);

// Every non-green pixel of the area, as a grid of flags, row by row.
std::vector<bool> inkOf(const Picture& pic, const Rect& area);

std::string assetPath(const char* name);

} // namespace assettest
