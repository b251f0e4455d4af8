// The obstacle stream: entering, moving, clipping, retiring, and the obstacle window.

#include "tests/support/back_buffer.h"
#include "tests/support/game_fixture.h"
#include "tests/support/park_text.h"

using namespace testing_support;
using testing_support::GameTest;

namespace {

class ObstaclesTest : public GameTest {
  protected:
    park::Obstacle& obstacle(int i) { return park::obstacleTable.records[i]; }
    // Frames until parkFrame reaches `pf`.
    void playTo(int32_t pf) {
        while (run.parkFrame < pf) {
            frame();
        }
    }
};

TEST_F(ObstaclesTest, OneObstacleEntersCrossesAndRetiresOnTime) {
    // Away from the skater, so nothing else happens.
    startPark(parkText(1000, {record(Block40, 100, 200, ObstacleKind::Block)}));
    playTo(100);
    EXPECT_EQ(obstacle(0).x, 640) << "inactive at parkFrame 100";
    EXPECT_FALSE(park::isActive(obstacle(0), 100));

    frame();
    EXPECT_EQ(obstacle(0).x, 636);
    EXPECT_TRUE(pictureAt(Rect{371, 1, 375, 37}, 636, 200)) << "its 4 leftmost columns";

    playTo(110);
    EXPECT_EQ(obstacle(0).x, 600);
    EXPECT_TRUE(pictureAt(Block40, 600, 200));

    playTo(269);
    EXPECT_EQ(obstacle(0).x, -36);
    EXPECT_TRUE(pictureAt(Rect{407, 1, 411, 37}, 0, 200)) << "its 4 rightmost columns";
    EXPECT_EQ(run.firstActive, 0);

    frame();
    EXPECT_EQ(obstacle(0).x, -40);
    EXPECT_FALSE(pictureAt(Rect{407, 1, 411, 37}, 0, 200));
    EXPECT_EQ(run.firstActive, 0) << "not yet below -width";

    frame();
    EXPECT_EQ(run.parkFrame, 271);
    EXPECT_EQ(obstacle(0).x, -44);
    EXPECT_EQ(run.firstActive, 1);
    EXPECT_EQ(run.lastActive, 0);

    playTo(300);
    EXPECT_EQ(obstacle(0).x, -44) << "outside the window nothing moves it";
    // Its active span would have ended after parkFrame 299.
    EXPECT_TRUE(park::isActive(obstacle(0), 299));
    EXPECT_FALSE(park::isActive(obstacle(0), 300));
}

TEST_F(ObstaclesTest, AnObstacleDueAtFrameZeroMovesInTheFirstFrameAndAnEmptyParkDoesNothing) {
    startPark(parkText(1000, {record(GreyBlock, 0, 100, ObstacleKind::Block)}));
    frame();
    EXPECT_EQ(run.parkFrame, 1);
    EXPECT_EQ(obstacle(0).x, 636);

    startPark(parkText(1000, {}));
    EXPECT_EQ(run.lastActive, -1);
    obstacle(0) = park::Obstacle{GreyBlock, 100, 0, 300, kindNumber(ObstacleKind::Block)};
    run.parkFrame = 10;
    park::stepObstacles();
    EXPECT_EQ(obstacle(0).x, 300);
    EXPECT_EQ(run.firstActive, 0);
}

TEST_F(ObstaclesTest, DrawingClipsAtBothScreenEdges) {
    const uint16_t key = display::keyColour();
    auto drawnBy = [&](auto draw) {
        fillBackBuffer(key);
        draw();
        return backBuffer();
    };
    const std::vector<uint16_t> blank = drawnBy([] {});
    struct Case {
        int32_t x;
        Rect expected; // the part of Block50 that shows
        int32_t drawnAt;
    };
    const Case cases[] = {
        {-10, Rect{319, 355, 359, 403}, 0},   // from left + 10, 40 wide, at column 0
        {620, Rect{309, 355, 329, 403}, 620}, // 20 wide at column 620
        {-49, Rect{358, 355, 359, 403}, 0},
        {639, Rect{309, 355, 310, 403}, 639},
        {0, Block50, 0},
        {590, Block50, 590},
        {591, Rect{309, 355, 358, 403}, 591},
    };
    for (const Case& c : cases) {
        auto actual = drawnBy([&] { park::drawObstacle(c.x, 100, Block50); });
        auto expected = drawnBy([&] { display::blitSprite(c.expected, c.drawnAt, 100); });
        EXPECT_NE(expected, blank) << "x " << c.x;
        EXPECT_EQ(actual, expected) << "x " << c.x;
    }
    // Nothing at all: wholly past an edge, or reaching above row 0 or below row 479.
    for (int32_t x : {-50, -60, 640, 700}) {
        EXPECT_EQ(drawnBy([&] { park::drawObstacle(x, 100, Block50); }), blank) << "x " << x;
    }
    const Rect tall40{371, 1, 411, 41};
    EXPECT_EQ(drawnBy([&] { park::drawObstacle(300, 450, tall40); }), blank);
    EXPECT_EQ(drawnBy([&] { park::drawObstacle(-10, 450, tall40); }), blank);
    EXPECT_EQ(drawnBy([&] { park::drawObstacle(300, -1, tall40); }), blank);
    EXPECT_NE(drawnBy([&] { park::drawObstacle(300, 440, tall40); }), blank);
}

TEST_F(ObstaclesTest, APictureBelowTheScreenIsNeverDrawnYetMovesAndRetires) {
    const Rect tall40{371, 1, 411, 41};
    startPark(parkText(1000, {record(tall40, 0, 450, ObstacleKind::Block)}));
    frame();
    EXPECT_EQ(obstacle(0).x, 636);
    playTo(100);
    EXPECT_EQ(obstacle(0).x, 240);
    fillBackBuffer(display::keyColour());
    park::drawObstacle(obstacle(0).x, obstacle(0).y, obstacle(0).src);
    EXPECT_EQ(countPixels(Rect{0, 0, 640, 480}, display::keyColour()), 640 * 480);
    playTo(171);
    EXPECT_EQ(obstacle(0).x, -44);
    EXPECT_EQ(run.firstActive, 1);
}

TEST_F(ObstaclesTest, TheWindowHoldsTwentyOneAndMovesOnAtEachRetirement) {
    // Indices 0..20 are due one frame apart; index 21 is due at once but outside the window.
    std::vector<std::string> records;
    for (int i = 0; i < 21; ++i) {
        records.push_back(record(GreyBlock, i, 100, ObstacleKind::Block));
    }
    records.push_back(record(GreyBlock, 0, 200, ObstacleKind::Block));
    for (int i = 22; i < 30; ++i) {
        records.push_back(record(GreyBlock, 400 + i, 100, ObstacleKind::Block));
    }
    startPark(parkText(2000, records));
    EXPECT_EQ(run.lastActive, 20);
    // Index 0 retires in its active frame floor((640 + 64) / 4) + 1 = 177.
    playTo(176);
    EXPECT_EQ(obstacle(21).x, 640);
    EXPECT_TRUE(park::isActive(obstacle(21), 176)) << "due, but waiting for the window";
    EXPECT_EQ(obstacle(0).x, -64);
    EXPECT_EQ(obstacle(20).x, 640 - 4 * 156);
    EXPECT_EQ(run.firstActive, 0);

    frame();
    EXPECT_EQ(obstacle(0).x, -68);
    EXPECT_EQ(run.firstActive, 1);
    EXPECT_EQ(run.lastActive, 21);
    EXPECT_EQ(obstacle(21).x, 636) << "considered in the step that opened the window to it";
    EXPECT_EQ(obstacle(22).x, 640);

    frame();
    EXPECT_EQ(run.firstActive, 2);
    EXPECT_EQ(run.lastActive, 22);
    EXPECT_EQ(obstacle(21).x, 632);
    EXPECT_EQ(obstacle(0).x, -68) << "a retired obstacle no longer moves";
}

TEST_F(ObstaclesTest, TheWindowStopsAtTheLastObstacleAndThenWalksNothing) {
    std::vector<std::string> records;
    for (int i = 0; i < 10; ++i) {
        records.push_back(record(Hydrant, i * 30, 100, ObstacleKind::Block));
    }
    startPark(parkText(2000, records));
    EXPECT_EQ(run.lastActive, 9);
    int retirements = 0;
    int previousFirst = 0;
    while (run.parkFrame < 600) {
        frame();
        EXPECT_EQ(run.lastActive, 9) << "parkFrame " << run.parkFrame;
        retirements += run.firstActive - previousFirst;
        previousFirst = run.firstActive;
    }
    EXPECT_EQ(retirements, 10);
    EXPECT_EQ(run.firstActive, 10);

    // Obstacles that would be active are not walked once the window is past them, and the
    // record after the park's last one is never walked.
    for (int i = 0; i < 11; ++i) {
        obstacle(i) =
            park::Obstacle{GreyBlock, 100, run.parkFrame, 300, kindNumber(ObstacleKind::Block)};
    }
    frame();
    for (int i = 0; i < 11; ++i) {
        EXPECT_EQ(obstacle(i).x, 300) << i;
    }
    EXPECT_EQ(run.firstActive, 10);
}

TEST_F(ObstaclesTest, AnObstacleThatRetiresOutOfOrderPushesTheLowestOneOut) {
    // A is wide, B narrow; both enter together, so B leaves the screen first.
    startPark(parkText(1000, {record(LongBlock, 0, 100, ObstacleKind::Block),
                              record(Hydrant, 0, 300, ObstacleKind::Block)}));
    // B retires in its active frame floor((640 + 25) / 4) + 1 = 167, at x -28.
    playTo(166);
    EXPECT_EQ(run.firstActive, 0);
    EXPECT_EQ(obstacle(0).x, -24);
    EXPECT_TRUE(pictureAt(Rect{333, 355, 478, 403}, 0, 100)) << "A, clipped at the left edge";

    frame();
    EXPECT_EQ(obstacle(1).x, -28);
    EXPECT_EQ(obstacle(0).x, -28) << "A moved before B retired";
    EXPECT_TRUE(pictureAt(Rect{337, 355, 478, 403}, 0, 100)) << "A still drawn in this frame";
    EXPECT_EQ(run.firstActive, 1);
    EXPECT_EQ(run.lastActive, 1);

    frame();
    EXPECT_EQ(obstacle(0).x, -28) << "A dropped out of the window";
    EXPECT_FALSE(pictureAt(Rect{341, 355, 478, 403}, 0, 100));
    EXPECT_FALSE(pictureAt(Rect{337, 355, 478, 403}, 0, 100));
    EXPECT_EQ(obstacle(1).x, -32) << "B, still active, moved and retired again";
    EXPECT_EQ(run.firstActive, 2);
    EXPECT_EQ(run.lastActive, 1);

    frame();
    EXPECT_EQ(obstacle(1).x, -32);
}

TEST_F(ObstaclesTest, TheSkatersPassSkipsTheObstaclePushedOutInThatFrame) {
    // The same two obstacles; A becomes a hazard across the skater just before B retires.
    const std::string park = parkText(1000, {record(LongBlock, 0, 100, ObstacleKind::Block),
                                             record(Hydrant, 0, 300, ObstacleKind::Block)});
    for (int32_t hazardFrame : {166, 167}) {
        startPark(park);
        playTo(hazardFrame - 1);
        obstacle(0).kind = kindNumber(ObstacleKind::Hazard);
        obstacle(0).y = 400;
        frame();
        if (hazardFrame == 166) {
            EXPECT_EQ(run.lives, 2) << "in the window, A is a fall";
        } else {
            EXPECT_EQ(run.firstActive, 1);
            EXPECT_EQ(run.lives, 3) << "pushed out, A is skipped";
            EXPECT_EQ(run.parkFrame, 167);
        }
    }
}

} // namespace
