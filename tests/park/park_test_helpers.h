#pragma once
// Helpers for the park and skater tests: park file text built from obstacle records, and looks
// at the back buffer.

#include "core/rect.h"
#include "display/atlas.h"
#include "display/display.h"
#include "park/park.h"
#include "tests/support/back_buffer.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace park_tests {

// Obstacle pictures from the sprite sheet's cells, and parts of cells for the widths the
// rules talk about.
inline constexpr Rect GreyBlock = atlas::ObstaclePictures[2].cell;  // 64 x 36
inline constexpr Rect Ramp = atlas::ObstaclePictures[1].cell;       // 60 x 36
inline constexpr Rect Hydrant = atlas::ObstaclePictures[5].cell;    // 25 x 36
inline constexpr Rect RailBar = atlas::ObstaclePictures[10].cell;   // 200 x 48
inline constexpr Rect LongBlock = atlas::ObstaclePictures[14].cell; // 169 x 48
inline constexpr Rect TallBlock = atlas::ObstaclePictures[0].cell;  // 64 x 112
inline constexpr Rect Block40{371, 1, 411, 37};                     // 40 x 36, in TallBlock
inline constexpr Rect Block50{309, 355, 359, 403};                  // 50 x 48, in LongBlock

inline constexpr int32_t Block = 1;
inline constexpr int32_t RampKind = 2;
inline constexpr int32_t Rail = 3;
inline constexpr int32_t Hazard = 4;

// One record as a park file writes it: top left bottom right startFrame y kind.
inline std::string record(const Rect& src, int32_t startFrame, int32_t y, int32_t kind) {
    return std::to_string(src.top) + " " + std::to_string(src.left) + " " +
           std::to_string(src.bottom) + " " + std::to_string(src.right) + " " +
           std::to_string(startFrame) + " " + std::to_string(y) + " " + std::to_string(kind) + "\n";
}

inline std::string parkText(int32_t length, const std::vector<std::string>& records) {
    std::string text = std::to_string(records.size()) + " " + std::to_string(length) + "\n";
    for (const std::string& r : records) {
        text += r;
    }
    return text;
}

// The back-buffer looks shared with the display tests.
using testing_support::backBuffer;
using testing_support::blackPixels;
using testing_support::countPixels;
using testing_support::fillBackBuffer;

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

// The end screen as it should look: the whole backdrop, the banner, then the verdict, with the
// score on a new high score only. Drawn into the back buffer, which is then returned.
inline std::vector<uint16_t> expectedEndScreen(bool newHighScore, int32_t score) {
    display::blitBackdrop(Rect{0, 0, 640, 480}, 0, 0);
    display::blitSprite(atlas::HighScoresBanner, 130, 10);
    display::drawText("Press enter to continue...", 10, 460);
    if (newHighScore) {
        display::drawText("New high score!", 130, 140);
        display::drawText(std::to_string(score).c_str(), 250, 140);
    } else {
        display::drawText("Low score", 130, 140);
    }
    return backBuffer();
}

} // namespace park_tests
