// The SDL platform's present on SDL's dummy video driver (the window surface's path): every
// 16-bit colour reaches the window widened channel by channel; F10 goes through the looks, sharp
// filling the window at 4:3, whole scaling by the largest whole factor, stretch filling it all,
// each centred on black; a window smaller than the picture shows all of it; the lives and the
// sign go over the picture, and a life lost leaves black margin behind, a sign taken away the
// picture.

#include "platform/platform.h"
#include "tests/platform/sdl_window_fixture.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <utility>
#include <vector>

namespace {

class SdlPresentTest : public platform_tests::SdlWindowTest {
  protected:
    // The platform's one window.
    static SDL_Window* window() {
        for (Uint32 id = 1; id < 1000; ++id) {
            if (SDL_Window* w = SDL_GetWindowFromID(id)) {
                return w;
            }
        }
        return nullptr;
    }

    // The window as a plain window of this size (a full-screen one keeps the desktop's size).
    static void resize(int width, int height) {
        SDL_SetWindowFullscreen(window(), 0);
        SDL_SetWindowSize(window(), width, height);
        platform::pumpEvents(); // the size change asks for the borders to be painted again
    }

    // The colour that the window shows at (x, y).
    static SDL_Color shown(int x, int y) {
        SDL_Surface* s = SDL_GetWindowSurface(window());
        Uint32 value = 0;
        std::memcpy(&value,
                    static_cast<const uint8_t*>(s->pixels) + y * s->pitch +
                        x * s->format->BytesPerPixel,
                    s->format->BytesPerPixel);
        SDL_Color c{};
        SDL_GetRGB(value, s->format, &c.r, &c.g, &c.b);
        return c;
    }

    // Every one of the 65536 colours somewhere in the picture, the rest a second time.
    static std::vector<uint16_t> everyColour() {
        std::vector<uint16_t> picture(640 * 480);
        for (std::size_t i = 0; i < picture.size(); ++i) {
            picture[i] = static_cast<uint16_t>(i * 40503u); // odd: a permutation of 0..65535
        }
        return picture;
    }

    // A 5- or 6-bit channel widened to 8 bits by repeating its top bits.
    static uint8_t widened(uint16_t pixel, int shift, int bits) {
        const unsigned v = (pixel >> shift) & ((1u << bits) - 1);
        return static_cast<uint8_t>(v << (8 - bits) | v >> (2 * bits - 8));
    }

    static void expectPicture(const std::vector<uint16_t>& picture, int left, int top, int scale) {
        int wrong = 0;
        for (int y = 0; y < 480 * scale; ++y) {
            for (int x = 0; x < 640 * scale; ++x) {
                const uint16_t p = picture[(y / scale) * 640 + x / scale];
                const SDL_Color c = shown(left + x, top + y);
                if (c.r != widened(p, 11, 5) || c.g != widened(p, 5, 6) ||
                    c.b != widened(p, 0, 5)) {
                    if (++wrong < 5) {
                        ADD_FAILURE() << "window pixel (" << left + x << ", " << top + y
                                      << ") shows " << int(c.r) << " " << int(c.g) << " "
                                      << int(c.b) << " for 0x" << std::hex << p;
                    }
                }
            }
        }
        EXPECT_EQ(wrong, 0);
    }

    static void expectBlack(int x, int y) {
        const SDL_Color c = shown(x, y);
        EXPECT_EQ(c.r + c.g + c.b, 0) << "at " << x << ", " << y;
    }

    static void pressF10() {
        SDL_Event e{};
        e.type = SDL_KEYDOWN;
        e.key.state = SDL_PRESSED;
        e.key.keysym.sym = SDLK_F10;
        SDL_PushEvent(&e);
        platform::pumpEvents();
    }

    // The first and last pixel that is not black along row y (across) or column x (down).
    static std::pair<int, int> lit(int at, bool across) {
        const SDL_Surface* s = SDL_GetWindowSurface(window());
        const int size = across ? s->w : s->h;
        auto black = [&](int i) {
            const SDL_Color c = across ? shown(i, at) : shown(at, i);
            return c.r + c.g + c.b == 0;
        };
        int first = 0;
        while (first < size && black(first)) {
            ++first;
        }
        int last = size - 1;
        while (last > first && black(last)) {
            --last;
        }
        return {first, last};
    }
    static std::pair<int, int> litAcross(int y) { return lit(y, true); }
    static std::pair<int, int> litDown(int x) { return lit(x, false); }
};

TEST_F(SdlPresentTest, EachLookPlacesThePictureAndWholeScalesCopyEveryColour) {
    ASSERT_NE(window(), nullptr);
    const std::vector<uint16_t> grey(640 * 480, 0x8410);
    // The default look, sharp: 1300 x 1000 is filled across, 975 rows, centred.
    resize(1300, 1000);
    platform::presentFrame(grey.data(), 640 * 2);
    EXPECT_EQ(litAcross(500), std::make_pair(0, 1299));
    EXPECT_EQ(litDown(650), std::make_pair(12, 986));

    // F10: whole. Paint the whole window white first: the present must blacken the borders itself.
    pressF10();
    const std::vector<uint16_t> picture = everyColour();
    SDL_Surface* s = SDL_GetWindowSurface(window());
    SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, 255, 255, 255));
    platform::presentFrame(picture.data(), 640 * 2);
    expectPicture(picture, 10, 20, 2);
    for (auto [x, y] :
         {std::pair{0, 0}, {9, 500}, {1290, 500}, {650, 19}, {650, 980}, {1299, 999}}) {
        expectBlack(x, y);
    }
    // Three times over, and the exact size once over.
    resize(1920, 1440);
    platform::presentFrame(picture.data(), 640 * 2);
    expectPicture(picture, 0, 0, 3);
    resize(640, 480);
    platform::presentFrame(picture.data(), 640 * 2);
    expectPicture(picture, 0, 0, 1);
    // A wider pitch: only each row's first 640 pixels are the picture.
    std::vector<uint16_t> padded(700 * 480, 0xFFFF);
    for (int y = 0; y < 480; ++y) {
        std::memcpy(&padded[y * 700], &picture[y * 640], 640 * 2);
    }
    platform::presentFrame(padded.data(), 700 * 2);
    expectPicture(picture, 0, 0, 1);

    // F10: stretch, the whole window. F10 again: sharp, at a whole size the same as whole.
    resize(1000, 500);
    pressF10();
    platform::presentFrame(grey.data(), 640 * 2);
    EXPECT_EQ(litAcross(250), std::make_pair(0, 999));
    EXPECT_EQ(litDown(500), std::make_pair(0, 499));
    pressF10();
    resize(1280, 960);
    platform::presentFrame(picture.data(), 640 * 2);
    expectPicture(picture, 0, 0, 2);
    EXPECT_TRUE(std::filesystem::exists(settingsFile())); // each F10 wrote the look there
}

TEST_F(SdlPresentTest, AWindowSmallerThanThePictureShowsAllOfIt) {
    // Quarters of four colours: each corner of the window's picture shows its own.
    std::vector<uint16_t> picture(640 * 480);
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            picture[y * 640 + x] =
                y < 240 ? (x < 320 ? 0xF800 : 0x07E0) : (x < 320 ? 0x001F : 0xFFFF);
        }
    }
    resize(600, 400); // 533 x 400 at x 33
    platform::presentFrame(picture.data(), 640 * 2);
    expectBlack(32, 200);
    expectBlack(566, 200);
    EXPECT_EQ(shown(33, 0).r, 255);
    EXPECT_EQ(shown(565, 0).g, 255);
    EXPECT_EQ(shown(33, 399).b, 255);
    const SDL_Color white = shown(565, 399);
    EXPECT_EQ(white.r + white.g + white.b, 3 * 255);
}

TEST_F(SdlPresentTest, LivesBesideThePictureAndTheSignOverIt) {
    const std::vector<uint16_t> grey(640 * 480, 0x8410);
    const uint16_t life[6] = {0xF800, 0xF800, 0x07E0, 0xF800, 0xF800, 0xF800}; // 3 x 2, one key
    const uint16_t sign[4] = {0x001F, 0x001F, 0x001F, 0x001F};
    platform::Overlays overlays;
    overlays.life = platform::Picture{life, 6, 3, 2, 0x07E0};
    overlays.lives = 3;
    // 1600 x 900, sharp: the picture is 1200 x 900 at x 200, so the lives go in the right margin.
    resize(1600, 900);
    platform::presentFrame(grey.data(), 640 * 2, overlays);
    auto redAt = [](int x, int y) { return shown(x, y).r == 255 && shown(x, y).g == 0; };
    auto lifeLit = [&](int index) {
        for (int y = 0; y < 900; ++y) {
            for (int x = 1400; x < 1600; ++x) {
                if (redAt(x, y) && index-- == 0) {
                    return y;
                }
            }
        }
        return -1;
    };
    const int firstRow = lifeLit(0);
    ASSERT_GE(firstRow, 0);
    int rows = 0;
    for (int y = 0; y < 900; ++y) {
        rows += redAt(1400 + (200 - 3) / 2, y);
    }
    EXPECT_EQ(rows, 6);                              // three lives of two rows each, at scale 1
    expectBlack(1400 + (200 - 3) / 2 + 2, firstRow); // the key pixel is left out

    // A life lost: the margin where the third was is black again.
    overlays.lives = 2;
    overlays.sign = platform::Picture{sign, 4, 2, 2, -1};
    platform::presentFrame(grey.data(), 640 * 2, overlays);
    rows = 0;
    for (int y = 0; y < 900; ++y) {
        rows += redAt(1400 + (200 - 3) / 2, y);
    }
    EXPECT_EQ(rows, 4);
    // The sign, centred on the picture at twice the overlays' scale.
    EXPECT_EQ(shown(799, 449).b, 255);
    EXPECT_EQ(shown(800, 450).b, 255);
    EXPECT_EQ(shown(797, 449).b, shown(700, 300).b); // just beside it, the picture

    // The sign gone and the picture the same: only changed rows are made again, and the rows
    // under the sign count as changed.
    overlays.sign = platform::Picture{};
    platform::presentFrame(grey.data(), 640 * 2, overlays);
    EXPECT_EQ(shown(799, 449).b, shown(700, 300).b);
    EXPECT_EQ(shown(800, 450).b, shown(700, 300).b);

    // 1280 x 960 has no margin: the lives go in the picture's corner, and a life lost there
    // leaves the picture behind.
    resize(1280, 960);
    auto redInCorner = [&] {
        int count = 0;
        for (int y = 0; y < 200; ++y) {
            for (int x = 1000; x < 1280; ++x) {
                count += redAt(x, y);
            }
        }
        return count;
    };
    overlays.lives = 3;
    platform::presentFrame(grey.data(), 640 * 2, overlays);
    const int three = redInCorner();
    EXPECT_GT(three, 0);
    overlays.lives = 2;
    platform::presentFrame(grey.data(), 640 * 2, overlays);
    EXPECT_EQ(redInCorner() * 3, three * 2);
}

} // namespace
