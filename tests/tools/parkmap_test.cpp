// The park map: each obstacle stands where the game shows it, shifted by 4 pixels a frame, and
// the map ends with the park, its ruler under it to the end; the sheet's map of the obstacle
// pictures.

#include "display/atlas.h"
#include "display/display.h"
#include "tests/support/game_fixture.h"
#include "tools/parkmap/parkmap.h"
#include "tools/sim/sim.h"

#include <algorithm>

using testing_support::writeFile;

namespace {

// A red fire hydrant and a grey block: the hydrant is the only red there is but the skater's cap.
const char* const HydrantPark = "2 700\n"
                                "152 364 188 389 100 396 4\n"
                                "123 267 159 331 400 396 1\n";

bool red(uint32_t rgb) {
    return (rgb >> 16) > 150 && ((rgb >> 8) & 0xffu) < 90 && (rgb & 0xffu) < 90;
}

struct Box {
    int32_t left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    void add(int32_t x, int32_t y) {
        left = std::min(left, x);
        top = std::min(top, y);
        right = std::max(right, x + 1);
        bottom = std::max(bottom, y + 1);
    }
};

class ParkMapTest : public testing_support::GameTest {};

TEST_F(ParkMapTest, TheHydrantStandsWhereTheGameShowsIt) {
    writeFile("park.txt", HydrantPark);
    writeFile("parks.txt", "1\npark.txt\n");
    static park::ParkFile file;
    std::string text = HydrantPark;
    park::Problem problem;
    ASSERT_TRUE(park::parseParkFile(text, "park.txt", file, problem));

    parkmap::ParkMap map;
    map.file = &file;
    std::string error;
    ASSERT_TRUE(parkmap::obstacleEntries("park.txt", file, map.entries, error)) << error;
    EXPECT_EQ(map.entries, (std::vector<int32_t>{101, 401}));
    // From the skater's column at frame 0 to the end line at frame 700, in two rows.
    ASSERT_EQ(parkmap::mapWidth(file), 50 + 4 * 700 + 2);
    parkmap::Canvas canvas = parkmap::blankCanvas(map);
    ASSERT_EQ(canvas.width, parkmap::RowWidth);
    ASSERT_EQ(canvas.height, parkmap::HeaderHeight + 2 * parkmap::BandHeight);
    parkmap::composeScene(map, canvas);
    shutDown();
    parkmap::drawOverlay(map, canvas);

    // The second row ends with the park: the end line on columns 850 and 851, sky before it,
    // the ruler under it with the tick of frame 690 at column 810, and nothing after it.
    auto pixel = [&canvas](int32_t x, int32_t y) {
        return canvas.pixels[static_cast<std::size_t>(y * canvas.width + x)];
    };
    const int32_t sky = parkmap::HeaderHeight + parkmap::BandHeight + 100;
    const int32_t ruler = parkmap::HeaderHeight + parkmap::BandHeight + parkmap::SceneHeight;
    EXPECT_EQ(pixel(849, sky) & 0xff0000u, 0u);
    EXPECT_GT(pixel(849, sky) & 0xffu, 200u);
    EXPECT_EQ(pixel(850, sky), 0u);
    EXPECT_EQ(pixel(851, sky), 0u);
    EXPECT_EQ(pixel(852, sky), 0xffffffu);
    EXPECT_EQ(pixel(810, ruler), 0u);
    EXPECT_EQ(pixel(812, ruler + 15), 0xe8e8e8u);
    EXPECT_EQ(pixel(852, ruler + 15), 0xffffffu);

    Box onMap;
    for (int32_t y = 0; y < canvas.height; ++y) {
        for (int32_t x = 0; x < canvas.width; ++x) {
            if (red(canvas.pixels[static_cast<std::size_t>(y * canvas.width + x)])) {
                onMap.add(x, y - parkmap::HeaderHeight + parkmap::SceneTop);
            }
        }
    }
    // The hydrant on the map: 636 + 4 x 101 = 1040, 25 wide, rows 396 to 431.
    EXPECT_GE(onMap.left, 1040);
    EXPECT_LE(onMap.right, 1065);
    EXPECT_GE(onMap.top, 396);
    EXPECT_LE(onMap.bottom, 432);
    ASSERT_GT(onMap.right - onMap.left, 15) << "no hydrant on the map";

    // The game in park frame 200 (pass 203) shows it 4 x 200 pixels further left, right of
    // the skater and his red cap.
    std::vector<sim::ScriptEvent> events{{2, platform::Key::Enter, sim::Action::Tap}};
    ASSERT_TRUE(tools::startHeadlessGame(0));
    for (int64_t pass = 1; pass <= 203; ++pass) {
        if (pass == 2) {
            headless::tap(platform::Key::Enter);
        }
        sim::playPass();
    }
    Box onScreen;
    for (int32_t y = 0; y < 480; ++y) {
        for (int32_t x = 130; x < 640; ++x) {
            const uint16_t v = headless::frame()[y * 640 + x];
            const uint32_t rgb = ((v >> 11) * 255u / 31u) << 16 |
                                 (((v >> 5) & 63u) * 255u / 63u) << 8 | (v & 31u) * 255u / 31u;
            if (red(rgb)) {
                onScreen.add(x, y);
            }
        }
    }
    EXPECT_EQ(onScreen.left + 4 * 200, onMap.left);
    EXPECT_EQ(onScreen.right + 4 * 200, onMap.right);
    EXPECT_EQ(onScreen.top, onMap.top);
    EXPECT_EQ(onScreen.bottom, onMap.bottom);
}

// The sheet's map outlines every obstacle picture of the atlas where it lies, twice its size,
// and fades the rest: the title's picture shows no colour darker than two thirds white.
TEST(SheetMap, OutlinesEachObstaclePictureWhereItLies) {
    parkmap::Canvas canvas;
    std::string error;
    ASSERT_TRUE(parkmap::drawSheetMap(canvas, error)) << error;
    auto pixel = [&canvas](int32_t x, int32_t y) {
        return canvas.pixels[static_cast<std::size_t>(y * canvas.width + x)];
    };
    const int32_t left = 10;
    const int32_t top = parkmap::HeaderHeight;
    for (const atlas::ObstaclePicture& p : atlas::ObstaclePictures) {
        const Rect& c = p.cell;
        // Just outside each corner, and the middle of the bottom edge.
        EXPECT_EQ(pixel(left + 2 * c.left - 1, top + 2 * c.top - 1), 0xff00ffu) << p.name;
        EXPECT_EQ(pixel(left + 2 * c.right, top + 2 * c.bottom), 0xff00ffu) << p.name;
        EXPECT_EQ(pixel(left + c.left + c.right, top + 2 * c.bottom), 0xff00ffu) << p.name;
        EXPECT_NE(pixel(left + c.left + c.right, top + 2 * c.bottom - 1), 0xff00ffu) << p.name;
    }
    for (int32_t y = atlas::TitleLogo.top; y < atlas::TitleLogo.bottom; ++y) {
        for (int32_t x = atlas::TitleLogo.left; x < atlas::TitleLogo.right; ++x) {
            const uint32_t rgb = pixel(left + 2 * x, top + 2 * y);
            ASSERT_GE(std::min({rgb >> 16, (rgb >> 8) & 0xffu, rgb & 0xffu}), 170u)
                << x << "," << y;
        }
    }
}

} // namespace
