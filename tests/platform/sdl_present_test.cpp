// The SDL platform's present on SDL's dummy video driver: every 16-bit colour reaches the window
// widened channel by channel, the picture is scaled by the largest whole factor and centred on
// black, and a window smaller than the picture shows its middle.

#include "platform/platform.h"
#include "tests/platform/sdl_window_fixture.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>
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
};

TEST_F(SdlPresentTest, ThePictureIsWidenedScaledAndCentredOnBlack) {
    ASSERT_NE(window(), nullptr);
    const std::vector<uint16_t> picture = everyColour();

    // 1300 x 1000 holds the picture twice over, 10 columns and 20 rows to spare on each side.
    resize(1300, 1000);
    // Paint the whole window white first: the present must blacken the borders itself.
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
}

TEST_F(SdlPresentTest, AWindowSmallerThanThePictureShowsItsMiddle) {
    const std::vector<uint16_t> picture = everyColour();
    resize(600, 400);
    platform::presentFrame(picture.data(), 640 * 2);
    int wrong = 0;
    for (int y = 0; y < 400; ++y) {
        for (int x = 0; x < 600; ++x) {
            const uint16_t p = picture[(y + 40) * 640 + x + 20];
            const SDL_Color c = shown(x, y);
            wrong += c.r != widened(p, 11, 5) || c.g != widened(p, 5, 6) || c.b != widened(p, 0, 5);
        }
    }
    EXPECT_EQ(wrong, 0);
}

} // namespace
