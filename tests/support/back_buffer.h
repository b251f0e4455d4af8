#pragma once
// Looks at and fills the whole 640 x 480 back buffer, for the tests that check what was drawn:
// pixels, pictures of the sprite sheet, and the end screen as it should look.

#include "core/rect.h"
#include "display/atlas.h"
#include "display/display.h"

#include <cstdint>
#include <string>
#include <utility>
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

// True when the back buffer shows the sprite-sheet picture `src` at (x, y): every pixel that a
// blit of it would set holds that value, and there is at least one. The back buffer is left as
// it was. The key colour marks the pixels the blit leaves out, since no drawn pixel has it.
inline bool pictureAt(const Rect& src, int32_t x, int32_t y) {
    const int32_t w = src.width();
    const int32_t h = src.height();
    std::vector<uint16_t> saved;
    for (int32_t r = 0; r < h; ++r) {
        for (int32_t c = 0; c < w; ++c) {
            saved.push_back(display::backBufferPixel(x + c, y + r));
            display::setBackBufferPixel(x + c, y + r, display::keyColour());
        }
    }
    display::blitSprite(src, x, y);
    int drawn = 0;
    bool same = true;
    for (int32_t r = 0; r < h; ++r) {
        for (int32_t c = 0; c < w; ++c) {
            uint16_t expected = display::backBufferPixel(x + c, y + r);
            uint16_t had = saved[static_cast<std::size_t>(r * w + c)];
            if (expected != display::keyColour()) {
                ++drawn;
                same = same && expected == had;
            }
            display::setBackBufferPixel(x + c, y + r, had);
        }
    }
    return drawn > 0 && same;
}

// The first and last rows in which two pictures of the whole back buffer differ; (-1, -1) when
// they are the same.
inline std::pair<int, int> differingRows(const std::vector<uint16_t>& screen,
                                         const std::vector<uint16_t>& normal) {
    int first = -1;
    int last = -1;
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            std::size_t i = static_cast<std::size_t>(y * 640 + x);
            if (screen[i] != normal[i]) {
                first = first < 0 ? y : first;
                last = y;
            }
        }
    }
    return {first, last};
}

// The end screen as it should look: the whole backdrop, the banner, then the verdict, with the
// score on a new high score only, and the line under the verdict when one is given. Drawn into
// the back buffer, which is then returned.
inline std::vector<uint16_t> expectedEndScreen(bool newHighScore, int32_t score,
                                               const std::string& lineUnder = "") {
    display::blitBackdrop(Rect{0, 0, 640, 480}, 0, 0);
    display::blitSprite(atlas::HighScoresBanner, 130, 10);
    display::drawText("Press enter to continue...", 10, 460);
    if (newHighScore) {
        display::drawText("New high score!", 130, 140);
        display::drawText(std::to_string(score).c_str(), 250, 140);
    } else {
        display::drawText("Low score", 130, 140);
    }
    if (!lineUnder.empty()) {
        display::drawText(lineUnder.c_str(), 130, 170);
    }
    return backBuffer();
}

} // namespace testing_support
