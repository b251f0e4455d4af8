// The picture's place in the window for each look and screen, and the software scaler: whole
// factors copy exactly, fractional ones make every output pixel a copy or a blend of two
// neighbours as sharp bilinear defines it, and the overlays keep out their key and the edges.

#include "platform/layout.h"
#include "platform/scaler.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

using settings::Look;

TEST(LayoutTest, EachLookFillsTodaysScreens) {
    for (auto [w, h] : {std::pair{1280, 800}, {1366, 768}, {1920, 1080}, {3840, 2160}}) {
        const layout::Box sharp = layout::pictureBox(Look::Sharp, w, h);
        EXPECT_EQ(sharp.h, h); // these screens are all wider than 4:3
        EXPECT_LE(std::abs(sharp.w * 3 - h * 4), 3) << w << "x" << h;
        EXPECT_LE(std::abs(sharp.x - (w - sharp.x - sharp.w)), 1);
        EXPECT_EQ(sharp.x, (w - sharp.w) / 2) << w << "x" << h; // centred, to the pixel
        EXPECT_EQ(sharp.y, 0);
        const layout::Box whole = layout::pictureBox(Look::Whole, w, h);
        const int k = std::min(w / 640, h / 480);
        EXPECT_EQ(whole.w, 640 * k);
        EXPECT_EQ(whole.h, 480 * k);
        EXPECT_EQ(whole.x, (w - 640 * k) / 2);
        EXPECT_EQ(whole.y, (h - 480 * k) / 2);
        const layout::Box stretch = layout::pictureBox(Look::Stretch, w, h);
        EXPECT_TRUE(stretch.x == 0 && stretch.y == 0 && stretch.w == w && stretch.h == h);
    }
    // A tall window: the width is filled. A window smaller than the picture: all of it, smaller.
    const layout::Box tall = layout::pictureBox(Look::Sharp, 800, 1280);
    EXPECT_TRUE(tall.w == 800 && tall.h == 600 && tall.y == 340);
    for (Look look : {Look::Sharp, Look::Whole}) {
        const layout::Box small = layout::pictureBox(look, 600, 400);
        EXPECT_TRUE(small.w == 533 && small.h == 400 && small.x == 33 && small.y == 0);
    }
}

TEST(LayoutTest, LivesGoInTheMarginOrElseTheCorner) {
    // 1920 x 1080, sharp: the picture 1440 wide at x 240, a margin of 240, overlays at scale 2.
    const layout::Box picture = layout::pictureBox(Look::Sharp, 1920, 1080);
    const layout::Box first = layout::lifeBox(picture, 1920, 53, 8, 0);
    const layout::Box second = layout::lifeBox(picture, 1920, 53, 8, 1);
    EXPECT_EQ(first.w, 106);
    EXPECT_GE(first.x, picture.x + picture.w);
    EXPECT_LE(first.x + first.w, 1920);
    EXPECT_GT(second.y, first.y + first.h);
    // Stretched there is no margin: a row from the picture's top-right corner, inside it.
    const layout::Box full = layout::pictureBox(Look::Stretch, 1920, 1080);
    const layout::Box a = layout::lifeBox(full, 1920, 53, 8, 0);
    const layout::Box b = layout::lifeBox(full, 1920, 53, 8, 1);
    EXPECT_LE(a.x + a.w, 1920);
    EXPECT_LT(b.x + b.w, a.x);
    EXPECT_EQ(a.y, b.y);
    EXPECT_GE(b.x, 1920 / 2);

    // To the pixel: centred in the margin 20 pixels down, 28 apart; in the corner 20 in and 12
    // apart; the sign at twice the overlays' scale in the middle.
    EXPECT_EQ(first, (layout::Box{1747, 20, 106, 16}));
    EXPECT_EQ(second, (layout::Box{1747, 48, 106, 16}));
    EXPECT_EQ(a, (layout::Box{1794, 20, 106, 16}));
    EXPECT_EQ(b, (layout::Box{1676, 20, 106, 16}));
    EXPECT_EQ(layout::signBox(picture, 100, 20), (layout::Box{760, 500, 400, 80}));
    EXPECT_EQ(layout::cardBox(picture, 200, 40), (layout::Box{560, 637, 800, 160}));
    EXPECT_EQ(layout::noteBox(picture, 100, 20), (layout::Box{860, 980, 200, 40}));
    EXPECT_EQ(layout::signBox(layout::pictureBox(Look::Whole, 1280, 800), 100, 20),
              (layout::Box{540, 380, 200, 40}));
}

// Sharp bilinear the long way, in floating point: up by the whole factor k with nearest
// neighbour, then linear to the output size, pixel centres aligned.
double reference(const std::vector<double>& row, int out, int x) {
    const int n = static_cast<int>(row.size());
    const int k = std::max(1, out / n);
    const double u = std::max(0.0, (x + 0.5) * n * k / out - 0.5);
    const int i = static_cast<int>(u);
    const double f = u - i;
    const double a = row[std::min(i / k, n - 1)];
    const double b = row[std::min((i + 1) / k, n - 1)];
    return a + (b - a) * f;
}

TEST(ScalerTest, AxesCopyAtWholeFactorsAndBlendOnlyNeighbours) {
    const scaler::Axis two = scaler::sharpAxis(640, 1280);
    EXPECT_EQ(two.whole, 2);
    for (int x = 0; x < 1280; ++x) {
        ASSERT_EQ(two.from[x], x / 2);
        ASSERT_EQ(two.weight[x], 0);
    }
    for (int out : {1067, 1366, 1440, 2880, 533, 320}) {
        const scaler::Axis axis = scaler::sharpAxis(640, out);
        EXPECT_EQ(axis.whole, 0);
        EXPECT_EQ(axis.from.front(), 0);
        EXPECT_EQ(axis.from.back() + (axis.weight.back() > 0 ? 1 : 0), 639);
        std::vector<double> ramp(640);
        for (int i = 0; i < 640; ++i) {
            ramp[i] = i * 1.0;
        }
        int run = 0;
        int longest = 0;
        for (int x = 0; x < out; ++x) {
            ASSERT_LT(axis.weight[x], 256);
            ASSERT_TRUE(x == 0 || axis.from[x] >= axis.from[x - 1]);
            const double got = axis.from[x] + axis.weight[x] / 256.0;
            ASSERT_NEAR(got, reference(ramp, out, x), 1.0 / 256) << out << " at " << x;
            run = x > 0 && axis.weight[x] == 0 && axis.weight[x - 1] == 0 &&
                          axis.from[x] == axis.from[x - 1]
                      ? run + 1
                      : 1;
            longest = std::max(longest, run);
        }
        // No picture pixel is copied to more columns than the whole factor gives it: upscaled,
        // no column is twice as wide as its neighbour.
        EXPECT_LE(longest, std::max(1, out / 640)) << out;
    }
}

TEST(ScalerTest, ScalesThePictureAsSharpBilinearAndDrawsOverlaysKeyed) {
    const scaler::Widen widen = scaler::makeWiden(16, 8, 0, 0xFF000000u);
    std::vector<uint16_t> picture(640 * 480);
    for (std::size_t i = 0; i < picture.size(); ++i) {
        picture[i] = static_cast<uint16_t>(i * 40503u);
    }
    auto channel = [&](uint16_t p, int shift) {
        return static_cast<double>(scaler::widen(widen, p) >> shift & 0xFF);
    };
    // Whole factors (equal, and different on the two axes), and fractional ones.
    for (auto [w, h] :
         {std::pair{1280, 960}, {1920, 960}, {1440, 1080}, {1067, 800}, {2880, 700}}) {
        const scaler::Axis xs = scaler::sharpAxis(640, w);
        const scaler::Axis ys = scaler::sharpAxis(480, h);
        scaler::Work work;
        std::vector<uint32_t> out(static_cast<std::size_t>(w) * h, 0);
        scaler::scale(picture.data(), 640 * 2, widen, xs, ys, work, out.data(), w * 4);
        // Picture row py of one channel scaled across, the long way.
        auto across = [&](int py, int shift) {
            std::vector<double> row(640);
            for (int i = 0; i < 640; ++i) {
                row[i] = channel(picture[py * 640 + i], shift);
            }
            std::vector<double> scaled(w);
            for (int x = 0; x < w; ++x) {
                scaled[x] = reference(row, w, x);
            }
            return scaled;
        };
        int wrong = 0;
        for (int y = 0; y < h; y += 7) {
            const int y0 = ys.from[y];
            const int y1 = std::min(y0 + 1, 479);
            for (int shift : {0, 8, 16}) {
                const std::vector<double> a = across(y0, shift);
                const std::vector<double> b = across(y1, shift);
                for (int x = 0; x < w; ++x) {
                    const double want = a[x] + (b[x] - a[x]) * (ys.weight[y] / 256.0);
                    const uint32_t pixel = out[static_cast<std::size_t>(y) * w + x];
                    const double error = std::abs((pixel >> shift & 0xFF) - want);
                    wrong += error > 1.5;
                    wrong += (pixel >> 24) != 0xFF;
                }
            }
        }
        EXPECT_EQ(wrong, 0) << w << "x" << h;
    }

    // An overlay at scale 3, cut at the right edge, its key pixels left out.
    const uint16_t sprite[4] = {0x07E0, 0xF800, 0x001F, 0x07E0};
    const platform::Picture over{sprite, 4, 2, 2, 0x07E0};
    std::vector<uint32_t> out(10 * 10, 7u);
    scaler::drawOver(over, widen, 3, 5, 2, out.data(), 40, 10, 10);
    EXPECT_EQ(out[2 * 10 + 5], 7u);                           // key: kept
    EXPECT_EQ(out[2 * 10 + 8], scaler::widen(widen, 0xF800)); // red, from x 8
    EXPECT_EQ(out[4 * 10 + 9], scaler::widen(widen, 0xF800)); // to the edge
    EXPECT_EQ(out[5 * 10 + 5], scaler::widen(widen, 0x001F)); // blue below
    EXPECT_EQ(out[8 * 10 + 5], 7u);                           // below the sprite
    EXPECT_EQ(out[5 * 10 + 8], 7u);                           // key again
}

TEST(ScalerTest, MakingOnlyTheChangedRowsGivesTheWholeScale) {
    const scaler::Widen widen = scaler::makeWiden(16, 8, 0, 0xFF000000u);
    std::vector<uint16_t> picture(640 * 480);
    for (std::size_t i = 0; i < picture.size(); ++i) {
        picture[i] = static_cast<uint16_t>(i * 40503u);
    }
    for (auto [w, h] : {std::pair{1280, 960}, {1440, 1080}, {1067, 800}, {2880, 2160}}) {
        const scaler::Axis xs = scaler::sharpAxis(640, w);
        const scaler::Axis ys = scaler::sharpAxis(480, h);
        scaler::Work work;
        std::vector<uint16_t> kept;
        std::vector<uint8_t> changed;
        std::vector<uint32_t> out(static_cast<std::size_t>(w) * h, 0);
        std::vector<uint16_t> now = picture;
        EXPECT_EQ(scaler::markChangedRows(now.data(), 640 * 2, kept, changed), 480);
        scaler::scale(now.data(), 640 * 2, widen, xs, ys, work, out.data(), w * 4, changed.data());
        // A few rows changed, among them the first and the last, and two neighbours.
        for (int y : {0, 17, 18, 241, 479}) {
            now[static_cast<std::size_t>(y) * 640 + 300] ^= 0x5555;
        }
        EXPECT_EQ(scaler::markChangedRows(now.data(), 640 * 2, kept, changed), 5);
        scaler::scale(now.data(), 640 * 2, widen, xs, ys, work, out.data(), w * 4, changed.data());
        std::vector<uint32_t> whole(out.size(), 0);
        scaler::scale(now.data(), 640 * 2, widen, xs, ys, work, whole.data(), w * 4);
        EXPECT_TRUE(out == whole) << w << "x" << h;
        EXPECT_EQ(scaler::markChangedRows(now.data(), 640 * 2, kept, changed), 0);
    }
}

} // namespace
