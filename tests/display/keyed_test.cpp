// Keyed blits from the run encoding give exactly what a pixel-by-pixel comparison with the key
// gives, for every area of a picture, including the cut areas of obstacles at the screen edges.

#include "display/atlas.h"
#include "display/display.h"
#include "display/display_state.h"
#include "display/keyed.h"
#include "tests/support/game_fixture.h"

#include <random>
#include <vector>

using testing_support::GameTest;

namespace {

constexpr uint16_t Key = 0x07E0;

// What a keyed blit must do: every source pixel that is not the key replaces the destination's.
void referenceBlit(const uint16_t* picture, int32_t pitch, const Rect& src, uint16_t* dst,
                   int32_t dstPitch, int32_t x, int32_t y) {
    for (int32_t row = src.top; row < src.bottom; ++row) {
        for (int32_t col = src.left; col < src.right; ++col) {
            const uint16_t p = picture[row * pitch + col];
            if (p != Key) {
                dst[(y + row - src.top) * dstPitch + x + col - src.left] = p;
            }
        }
    }
}

TEST(KeyedPicture, EveryAreaOfASmallPictureBlitsAsThePixelByPixelRule) {
    // 37 x 6 with a padded pitch: a row all key, a row with no key, runs that touch either edge,
    // single pixels and key pixels alone between runs.
    constexpr int32_t width = 37;
    constexpr int32_t height = 6;
    constexpr int32_t pitch = 40;
    std::vector<uint16_t> picture(pitch * height, 0xDEAD); // the padding must never be drawn
    std::mt19937 random(7);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            // A third of the pixels are the key, the others any other value.
            const bool key = random() % 3 == 0;
            uint16_t p = key ? Key : static_cast<uint16_t>(random() % 0xFFFF);
            if (!key && p == Key) {
                p = Key + 1;
            }
            if (y == 0) {
                p = Key;
            } else if (y == 1) {
                p = static_cast<uint16_t>(0x1000 + x);
            }
            picture[y * pitch + x] = p;
        }
    }
    picture[2 * pitch + 0] = 0x1111;         // a run from the left edge
    picture[2 * pitch + width - 1] = 0x2222; // and one to the right edge
    picture[3 * pitch + 10] = Key;           // a key pixel alone
    picture[3 * pitch + 9] = 0x3333;
    picture[3 * pitch + 11] = 0x4444;

    const display::detail::KeyedPicture keyed =
        display::detail::encodeKeyed(picture.data(), width, height, pitch, Key);
    constexpr int32_t dstW = 50;
    constexpr int32_t dstH = 10;
    for (int32_t top = 0; top < height; ++top) {
        for (int32_t bottom = top + 1; bottom <= height; bottom += 2) {
            for (int32_t left = 0; left < width; ++left) {
                for (int32_t right = left + 1; right <= width; ++right) {
                    const Rect src{left, top, right, bottom};
                    std::vector<uint16_t> expected(dstW * dstH, 0x5A5A);
                    std::vector<uint16_t> shown = expected;
                    const int32_t x = (left * 3) % (dstW - src.width() + 1);
                    const int32_t y = top % (dstH - src.height() + 1);
                    referenceBlit(picture.data(), pitch, src, expected.data(), dstW, x, y);
                    display::detail::blitKeyed(keyed, src, shown.data(), dstW, x, y);
                    ASSERT_EQ(shown, expected) << "area (" << left << ", " << top << ", " << right
                                               << ", " << bottom << ") at " << x << ", " << y;
                }
            }
        }
    }
}

class KeyedSheetTest : public GameTest {};

TEST_F(KeyedSheetTest, SheetPicturesAndTheirCutsBlitAsThePixelByPixelRule) {
    const SDL_Surface* sheet = display::detail::state().sheet;
    ASSERT_NE(sheet, nullptr);
    const auto* pixels = static_cast<const uint16_t*>(sheet->pixels);
    const int32_t pitch = sheet->pitch / 2;

    std::vector<Rect> areas;
    for (const auto& n : atlas::ScreenPictures) {
        areas.push_back(n.rect);
    }
    for (const auto& n : atlas::BodyPoses) {
        areas.push_back(n.rect);
    }
    for (const auto& n : atlas::Boards) {
        areas.push_back(n.rect);
    }
    for (const auto& o : atlas::ObstaclePictures) {
        areas.push_back(o.cell);
        // Cut as an obstacle crossing the left edge, and the right edge, is drawn.
        for (int32_t cut : {1, 3, 4, 17, 30}) {
            if (cut < o.cell.width()) {
                areas.push_back(Rect{o.cell.left + cut, o.cell.top, o.cell.right, o.cell.bottom});
                areas.push_back(Rect{o.cell.left, o.cell.top, o.cell.right - cut, o.cell.bottom});
            }
        }
    }
    std::mt19937 random(11);
    for (int i = 0; i < 200; ++i) {
        const int32_t left = static_cast<int32_t>(random() % atlas::SheetWidth);
        const int32_t top = static_cast<int32_t>(random() % atlas::SheetHeight);
        const int32_t right =
            left + 1 + static_cast<int32_t>(random() % (atlas::SheetWidth - left));
        const int32_t bottom =
            top + 1 + static_cast<int32_t>(random() % std::min(100, atlas::SheetHeight - top));
        areas.push_back(Rect{left, top, right, bottom});
    }

    std::vector<uint16_t> expected(640 * 480);
    for (const Rect& src : areas) {
        for (std::size_t i = 0; i < expected.size(); ++i) {
            expected[i] = static_cast<uint16_t>(i * 2654435761u >> 16);
        }
        for (int32_t y = 0; y < 480; ++y) {
            for (int32_t x = 0; x < 640; ++x) {
                display::setBackBufferPixel(x, y, expected[y * 640 + x]);
            }
        }
        const int32_t x = 640 - src.width();
        const int32_t y = 480 - src.height();
        referenceBlit(pixels, pitch, src, expected.data(), 640, x, y);
        display::blitSprite(src, x, y);
        int wrong = 0;
        for (int32_t py = 0; py < 480; ++py) {
            for (int32_t px = 0; px < 640; ++px) {
                wrong += display::backBufferPixel(px, py) != expected[py * 640 + px] ? 1 : 0;
            }
        }
        ASSERT_EQ(wrong, 0) << "area (" << src.left << ", " << src.top << ", " << src.right << ", "
                            << src.bottom << ")";
    }
}

} // namespace
