#pragma once
// Looks at and fills the whole 640 x 480 back buffer, for the tests that check what was drawn.

#include "core/rect.h"
#include "display/display.h"

#include <cstdint>
#include <vector>

namespace testing_support {

// The whole back buffer, rows top to bottom.
inline std::vector<uint16_t> backBuffer() {
    std::vector<uint16_t> pixels;
    pixels.reserve(640 * 480);
    for (int32_t y = 0; y < 480; ++y) {
        for (int32_t x = 0; x < 640; ++x) {
            pixels.push_back(display::backBufferPixel(x, y));
        }
    }
    return pixels;
}

inline void fillBackBuffer(uint16_t value) {
    for (int32_t y = 0; y < 480; ++y) {
        for (int32_t x = 0; x < 640; ++x) {
            display::setBackBufferPixel(x, y, value);
        }
    }
}

// Pixels of the colour in the screen area (clipped to the screen).
inline int countPixels(const Rect& area, uint16_t colour) {
    int n = 0;
    for (int32_t y = area.top < 0 ? 0 : area.top; y < area.bottom && y < 480; ++y) {
        for (int32_t x = area.left < 0 ? 0 : area.left; x < area.right && x < 640; ++x) {
            n += display::backBufferPixel(x, y) == colour ? 1 : 0;
        }
    }
    return n;
}

inline int blackPixels(const Rect& area) {
    return countPixels(area, display::mapColour(0, 0, 0));
}

} // namespace testing_support
