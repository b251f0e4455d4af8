// The display's results: keyed pixels left alone, areas that do not fit refused as a whole,
// the back buffer retained, text black on a transparent background.

#include "display/atlas.h"
#include "display/display.h"
#include "display/display_state.h"
#include "tests/support/back_buffer.h"
#include "tests/support/game_fixture.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <utility>
#include <vector>

using testing_support::countPixels;
using testing_support::fillBackBuffer;
using testing_support::GameTest;

namespace {

class DisplayTest : public GameTest {
  protected:
    // Pixels anywhere on the screen that do not hold the value.
    static int countNot(uint16_t value) {
        return 640 * 480 - countPixels(Rect{0, 0, 640, 480}, value);
    }
};

TEST_F(DisplayTest, TheKeyIsPureGreenInTheDisplayFormat) {
    EXPECT_EQ(display::keyColour(), 0x07E0);
    EXPECT_EQ(display::mapColour(0, 255, 0), 0x07E0);
}

TEST_F(DisplayTest, KeyedBlitLeavesGreenPixelsAndCopiesTheRest) {
    const uint16_t under = 0x1234;
    fillBackBuffer(under);
    const Rect src = atlas::MarkerSelected;
    display::blitSprite(src, 100, 50);
    SDL_Surface* sheet = display::detail::loadBitmapSurface("SPRITES", true);
    int copied = 0;
    int kept = 0;
    for (int y = 0; y < src.height(); ++y) {
        for (int x = 0; x < src.width(); ++x) {
            const auto* row =
                static_cast<const uint8_t*>(sheet->pixels) + (src.top + y) * sheet->pitch;
            uint16_t source = reinterpret_cast<const uint16_t*>(row)[src.left + x];
            uint16_t shown = display::backBufferPixel(100 + x, 50 + y);
            if (source == 0x07E0) {
                EXPECT_EQ(shown, under);
                ++kept;
            } else {
                EXPECT_EQ(shown, source);
                ++copied;
            }
        }
    }
    SDL_FreeSurface(sheet);
    EXPECT_GT(kept + copied, 0);
    // Nothing outside the destination area changed.
    EXPECT_EQ(countNot(under), copied);
}

TEST_F(DisplayTest, BackdropBlitCopiesEveryPixel) {
    fillBackBuffer(0x1234);
    display::blitBackdrop(Rect{0, 0, 640, 480}, 0, 0);
    EXPECT_EQ(countNot(0x1234), 640 * 480 - 0);          // the backdrop holds no such colour
    EXPECT_EQ(display::backBufferPixel(0, 432), 0x0000); // the ground line is black
}

TEST_F(DisplayTest, AreasThatDoNotFitDrawNothingAtAll) {
    fillBackBuffer(0x1234);
    const Rect src = atlas::TitleLogo;                     // 176 x 123
    display::blitBackdrop(Rect{640, 0, 640, 480}, 0, 0);   // empty source
    display::blitBackdrop(Rect{0, 0, 641, 480}, 0, 0);     // outside the picture
    display::blitSprite(Rect{400, 300, 507, 310}, 0, 0);   // outside the sheet
    display::blitSprite(Rect{-1, 0, 10, 10}, 0, 0);        // outside the sheet
    display::blitSprite(src, 640 - src.width() + 1, 0);    // one column past the right edge
    display::blitSprite(src, -1, 100);                     // one column past the left edge
    display::blitSprite(src, 100, -1);                     // above the top
    display::blitSprite(src, 100, 480 - src.height() + 1); // below the bottom
    display::blitBackdrop(Rect{0, 0, 10, 10}, 635, 0);
    EXPECT_EQ(countNot(0x1234), 0);

    // Exactly at the edges it draws.
    display::blitBackdrop(Rect{0, 0, 10, 10}, 630, 470);
    EXPECT_EQ(countNot(0x1234), 100);
}

TEST_F(DisplayTest, TheBackBufferIsRetainedAcrossPresents) {
    fillBackBuffer(0x1111);
    display::blitBackdrop(Rect{0, 0, 4, 4}, 10, 10);
    display::present();
    uint32_t first = headless::frameHash();
    display::present();
    EXPECT_EQ(headless::frameHash(), first);
    EXPECT_EQ(display::backBufferPixel(0, 0), 0x1111);
    display::blitBackdrop(Rect{0, 0, 4, 4}, 100, 100);
    display::present();
    EXPECT_NE(headless::frameHash(), first);
    EXPECT_EQ(countNot(0x1111), 32);
}

TEST_F(DisplayTest, TextIsBlackOnATransparentBackgroundAndClipped) {
    // Not the glyph surfaces' own magenta, so that a lost colour key would show.
    const uint16_t under = 0x1234;
    fillBackBuffer(under);
    display::drawText("Low score", 130, 140);
    int black = 0;
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            uint16_t p = display::backBufferPixel(x, y);
            if (p != under) {
                EXPECT_EQ(p, 0x0000) << "at " << x << "," << y;
                EXPECT_GE(x, 130);
                EXPECT_GE(y, 140);
                EXPECT_LT(y, 140 + 20);
                ++black;
            }
        }
    }
    EXPECT_GT(black, 40);

    // Text past the right and bottom edges is cut off, not refused.
    fillBackBuffer(under);
    display::drawText("Press enter to continue...", 600, 470);
    EXPECT_GT(countNot(under), 0);

    // A blit after a text covers it.
    fillBackBuffer(under);
    display::drawText("W", 10, 10);
    display::blitBackdrop(Rect{0, 0, 30, 30}, 5, 5);
    for (int y = 5; y < 35; ++y) {
        for (int x = 5; x < 35; ++x) {
            EXPECT_NE(display::backBufferPixel(x, y), under);
        }
    }
}

TEST_F(DisplayTest, TextOffAnyEdgeShowsExactlyItsPartOnTheScreen) {
    const uint16_t under = 0x1234;
    fillBackBuffer(under);
    const int x0 = 100;
    const int y0 = 100;
    display::drawText("Wg", x0, y0);
    std::vector<std::pair<int, int>> ink; // relative to the text's corner
    for (int y = y0; y < y0 + 30; ++y) {
        for (int x = x0; x < x0 + 40; ++x) {
            if (display::backBufferPixel(x, y) != under) {
                ink.emplace_back(x - x0, y - y0);
            }
        }
    }
    ASSERT_GT(ink.size(), 20u);
    const int corners[][2] = {{-5, -6}, {-14, 200}, {630, 470}, {300, 475}, {636, -3}};
    for (const auto& at : corners) {
        fillBackBuffer(under);
        display::drawText("Wg", at[0], at[1]);
        int expected = 0;
        for (const auto& [dx, dy] : ink) {
            const int x = at[0] + dx;
            const int y = at[1] + dy;
            if (x >= 0 && y >= 0 && x < 640 && y < 480) {
                ++expected;
                EXPECT_EQ(display::backBufferPixel(x, y), 0x0000) << at[0] << ", " << at[1];
            }
        }
        EXPECT_GT(expected, 0);
        EXPECT_EQ(countNot(under), expected) << at[0] << ", " << at[1];
    }
    // Far off the screen, nothing is drawn and nothing overflows.
    fillBackBuffer(under);
    for (const int32_t far : {INT32_MAX, INT32_MIN, 640, -40}) {
        display::drawText("Wg", far, 10);
    }
    for (const int32_t far : {INT32_MAX, INT32_MIN, 480, -20}) {
        display::drawText("Wg", 10, far);
    }
    EXPECT_EQ(countNot(under), 0);
}

TEST_F(DisplayTest, WhileClosedEveryOperationIsSafeAndDrawsNothing) {
    // The colour values come from RGB565 alone, as the open display's format gives them.
    for (const auto& [r, g, b] : {std::array<uint8_t, 3>{0, 255, 0},
                                  {255, 255, 255},
                                  {8, 4, 8},
                                  {7, 3, 7},
                                  {200, 100, 50}}) {
        EXPECT_EQ(display::mapColour(r, g, b),
                  SDL_MapRGB(display::detail::state().backBuffer->format, r, g, b));
    }
    EXPECT_EQ(display::backBufferPixel(-1, 0), 0);
    EXPECT_EQ(display::backBufferPixel(640, 479), 0);
    fillBackBuffer(0x1111);
    display::setBackBufferPixel(0, 480, 0x1234); // off the buffer: not written anywhere
    display::setBackBufferPixel(-1, 5, 0x1234);
    EXPECT_EQ(countNot(0x1111), 0);

    display::present();
    const int presents = headless::presentCount();
    const uint32_t shown = headless::frameHash();
    display::closeDisplay();
    display::blitSprite(atlas::TitleLogo, 10, 10);
    display::blitBackdrop(display::WholeScreen, 0, 0);
    display::drawText("Low score", 130, 140);
    display::setBackBufferPixel(3, 3, 0x1234);
    display::present();
    EXPECT_EQ(display::backBufferPixel(3, 3), 0);
    EXPECT_EQ(display::keyColour(), 0);
    EXPECT_EQ(display::mapColour(0, 255, 0), 0x07E0);
    EXPECT_EQ(headless::presentCount(), presents) << "nothing is presented";
    EXPECT_EQ(headless::frameHash(), shown);

    // Opened again, it draws as before.
    std::string why;
    ASSERT_TRUE(display::openDisplay(why)) << why;
    display::setBackBufferPixel(3, 3, 0x1234);
    EXPECT_EQ(display::backBufferPixel(3, 3), 0x1234);
}

TEST_F(DisplayTest, APictureFileStandsInForAMissingResource) {
    // A 24-bit BMP named exactly SPRITES in the working directory.
    SDL_Surface* picture = SDL_CreateRGBSurfaceWithFormat(0, 8, 4, 24, SDL_PIXELFORMAT_BGR24);
    SDL_FillRect(picture, nullptr, SDL_MapRGB(picture->format, 255, 0, 0));
    ASSERT_EQ(SDL_SaveBMP(picture, "SPRITES"), 0);
    SDL_FreeSurface(picture);
    SDL_Surface* loaded = display::detail::loadBitmapSurface("SPRITES", false);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->w, 8);
    EXPECT_EQ(loaded->h, 4);
    EXPECT_EQ(static_cast<const uint16_t*>(loaded->pixels)[0], 0xF800);
    SDL_FreeSurface(loaded);
    std::filesystem::remove("SPRITES");
    EXPECT_EQ(display::detail::loadBitmapSurface("SPRITES", false), nullptr);
}

} // namespace
