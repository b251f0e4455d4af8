// The backdrop's rules on the committed file: sky and clouds, the ground line on row 432, the
// speckled pavement, and edges that join so the wrapping scroll shows no seam.

#include "tests/assets/asset_files.h"

#include <gtest/gtest.h>

namespace {

using assettest::Colour;
using assettest::Picture;

constexpr Colour Sky{0, 128, 255};
constexpr Colour Pavement{192, 192, 192};
constexpr Colour SpeckDark{184, 184, 184};
constexpr Colour SpeckLight{188, 188, 188};

const Picture& backdrop() {
    static const Picture pic =
        assettest::decodeBmp(assettest::readBytes(assettest::assetPath("backdrop.bmp")));
    return pic;
}

bool speck(Colour c) {
    return c == SpeckDark || c == SpeckLight;
}

TEST(BackdropFile, IsA640By480BottomUpBitmap) {
    const std::vector<uint8_t> b = assettest::readBytes(assettest::assetPath("backdrop.bmp"));
    ASSERT_EQ(b.size(), 14u + 921640u);
    EXPECT_EQ(assettest::u32At(b, 2), b.size());
    EXPECT_EQ(assettest::u32At(b, 14), 40u);
    EXPECT_EQ(assettest::u32At(b, 18), 640u);
    EXPECT_EQ(assettest::u32At(b, 22), 480u);
    EXPECT_EQ(assettest::u16At(b, 28), 24u);
    EXPECT_EQ(assettest::u32At(b, 30), 0u);
    EXPECT_EQ(assettest::u32At(b, 46), 0u);
    ASSERT_EQ(backdrop().width, 640);
    ASSERT_EQ(backdrop().height, 480);
}

TEST(BackdropPixels, BandsHoldOnlyTheirColours) {
    const Picture& p = backdrop();
    ASSERT_EQ(p.height, 480);
    int cloud = 0;
    for (int y = 0; y < 432; ++y) {
        for (int x = 0; x < 640; ++x) {
            const Colour c = p.at(x, y);
            if (c == assettest::White) {
                ASSERT_TRUE(y >= 60 && y <= 164) << "cloud outside its rows at " << x << ", " << y;
                ++cloud;
            } else {
                ASSERT_EQ(c, Sky) << x << ", " << y;
            }
        }
    }
    EXPECT_GT(cloud, 5000) << "the sky has clouds";
    for (int x = 0; x < 640; ++x) {
        ASSERT_EQ(p.at(x, 432), assettest::Black) << "ground line, column " << x;
    }
    int specks[2] = {0, 0};
    for (int y = 433; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            const Colour c = p.at(x, y);
            ASSERT_TRUE(c == Pavement || speck(c)) << x << ", " << y;
            if (!speck(c)) {
                continue;
            }
            ++specks[c == SpeckLight];
            // Specks come singly.
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const int nx = x + dx;
                    const int ny = y + dy;
                    if ((dx != 0 || dy != 0) && nx >= 0 && nx < 640 && ny < 480 && ny > 432) {
                        EXPECT_FALSE(speck(p.at(nx, ny))) << "specks touch at " << x << ", " << y;
                    }
                }
            }
        }
    }
    EXPECT_GT(specks[0], 100);
    EXPECT_GT(specks[1], 100);
}

TEST(BackdropPixels, EdgesJoinAcrossTheScrollSeam) {
    const Picture& p = backdrop();
    ASSERT_EQ(p.height, 480);
    for (int y = 0; y <= 432; ++y) {
        ASSERT_EQ(p.at(0, y), p.at(639, y)) << "row " << y;
    }
    int differences = 0;
    for (int y = 433; y < 480; ++y) {
        differences += !(p.at(0, y) == p.at(639, y));
    }
    EXPECT_LE(differences, 6);
    // One cloud group runs across the edges, so both edge columns show cloud.
    int leftCloud = 0;
    for (int y = 60; y <= 164; ++y) {
        leftCloud += p.at(0, y) == assettest::White;
    }
    EXPECT_GT(leftCloud, 10);
    bool nearRightEdge = false;
    bool nearLeftEdge = false;
    for (int y = 60; y <= 164; ++y) {
        nearRightEdge = nearRightEdge || p.at(435, y) == assettest::White;
        nearLeftEdge = nearLeftEdge || p.at(105, y) == assettest::White;
    }
    EXPECT_TRUE(nearRightEdge && nearLeftEdge) << "the wrapped group spans about 431 to 109";
}

TEST(BackdropPixels, HoldsNoKeyGreen) {
    const Picture& p = backdrop();
    ASSERT_FALSE(p.pixels.empty());
    for (const Colour& c : p.pixels) {
        ASSERT_FALSE(assettest::nearGreen(c));
    }
}

} // namespace
