#pragma once
// A picture in memory: 8-bit RGB pixels, row-major with the top row first, and the colours
// that the sheet's rules name.

#include "core/rect.h"

#include <cstdint>
#include <vector>

namespace artgen {

struct Rgb {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    friend constexpr bool operator==(const Rgb&, const Rgb&) = default;
};

// The colour key of the sprite sheet, the cell frames and the unused areas.
inline constexpr Rgb KeyGreen{0, 255, 0};
inline constexpr Rgb FrameRed{255, 0, 0};
inline constexpr Rgb White{255, 255, 255};
inline constexpr Rgb Black{0, 0, 0};

// Near-green: what a 16-bit display would confuse with the key.
constexpr bool isNearGreen(Rgb c) {
    return c.r < 8 && c.b < 8 && c.g > 247;
}

struct Image {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;
};

Image makeImage(int width, int height, Rgb fill);

inline bool contains(const Image& img, int x, int y) {
    return x >= 0 && y >= 0 && x < img.width && y < img.height;
}
inline Rgb get(const Image& img, int x, int y) {
    return img.pixels[static_cast<std::size_t>(y) * img.width + x];
}
// Writes one pixel; pixels outside the picture are ignored so shapes may run off its edge.
inline void put(Image& img, int x, int y, Rgb c) {
    if (contains(img, x, y)) {
        img.pixels[static_cast<std::size_t>(y) * img.width + x] = c;
    }
}

void fillBox(Image& img, int left, int top, int right, int bottom, Rgb c);

// Copies src onto dst with its top-left corner at (x, y). With skipKey, key-green pixels of
// src leave dst as it was (how the game itself draws sprites).
void paste(Image& dst, const Image& src, int x, int y, bool skipKey = false);

// Mirror images, for poses and boards that are drawn once and turned round.
Image mirrorX(const Image& img);
Image rotate180(const Image& img);

// The part of img at (left, top) of the given size.
Image crop(const Image& img, int left, int top, int width, int height);

// The smallest box around the pixels that are not key green (empty when there are none).
Rect usedBox(const Image& img);

} // namespace artgen
