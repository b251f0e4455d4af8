// What each kind of obstacle does to the skater, and falls with their costs.

#include "tests/skater/skater_fixture.h"

using platform::Key;
using namespace testing_support;
using skater_tests::SkaterTest;
using testing_support::readFile;
using testing_support::writeFile;

namespace {

class CollisionsTest : public SkaterTest {
  protected:
    // A park of one obstacle, due from the start.
    void startWith(const Rect& src, int32_t y, ObstacleKind kind) {
        startPark(parkText(10000, {record(src, 0, y, kind)}));
    }
    bool fell() const { return run.lives < 3; }
};

TEST_F(CollisionsTest, ABlockSlidingIntoAStandingSkaterIsAFallOnlyWhenItReachesAbove431) {
    struct Case {
        int32_t y;
        bool fall;
    };
    for (Case c :
         {Case{400, true}, Case{430, true}, Case{431, false}, Case{434, false}, Case{435, false}}) {
        startWith(GreyBlock, c.y, ObstacleKind::Block);
        slideTo(0, 114);
        step();
        EXPECT_EQ(fell(), c.fall) << "y " << c.y;
        EXPECT_EQ(run.parkFrame, c.fall ? 0 : 1) << "y " << c.y;
    }
}

TEST_F(CollisionsTest, ABlockUnderAFallingSkaterSupportsOrMissesByTheSameRule) {
    // 40 rows up, the box is (50, 311, 118, 395).
    struct Case {
        int32_t y;
        const char* outcome;
    };
    for (Case c :
         {Case{390, "fall"}, Case{391, "support"}, Case{394, "support"}, Case{395, "miss"}}) {
        startWith(GreyBlock, c.y, ObstacleKind::Block);
        step();
        putInTheAir(40);
        ASSERT_EQ(skaterBox(), (Rect{50, 311, 118, 395}));
        slideTo(0, 60);
        std::string sounds = step();
        std::string outcome = fell() ? "fall" : skater.bodyY == 303 ? "support" : "miss";
        EXPECT_EQ(outcome, c.outcome) << "y " << c.y;
        if (outcome == "support") {
            EXPECT_EQ(sounds, "HIT") << "landing on a block sounds";
            EXPECT_EQ(skater.landed, 1);
            EXPECT_EQ(run.score, 0);
        }
        if (outcome == "miss") {
            EXPECT_EQ(skater.bodyY, 307);
            EXPECT_EQ(run.score, 1);
        }
    }
}

TEST_F(CollisionsTest, BoxesThatOnlyTouchDoNothing) {
    // The block's left edge on the box's right edge: nothing, until it moves in.
    startWith(GreyBlock, 400, ObstacleKind::Block);
    slideTo(0, 118);
    step();
    EXPECT_FALSE(fell());
    step();
    EXPECT_TRUE(fell()) << "at x 114 it overlaps";

    // Under a skater in the air, a block whose top is the box's bottom does not hold it up.
    startWith(GreyBlock, 395, ObstacleKind::Block);
    step();
    putInTheAir(40);
    slideTo(0, 60);
    EXPECT_EQ(step(), "-");
    EXPECT_EQ(skater.bodyY, 307);

    // A kind outside 1..4 does nothing at all.
    startPark(parkText(10000, {record(GreyBlock, 0, 400, 9)}));
    slideTo(0, 60);
    step();
    step();
    EXPECT_FALSE(fell());
    EXPECT_EQ(skater.bodyY, 343);
}

TEST_F(CollisionsTest, SideHitsOnBlocksAndRailsSupportWhileAnyTrickStateIsSet) {
    const Trick tricks[] = {Trick::Jump,          Trick::BoardFlip,   Trick::SideSlide,
                            Trick::Spin,          Trick::NoseUpGrind, Trick::Hop,
                            Trick::NoseDownGrind, Trick::TrickDone,   Trick::NoTrick};
    for (ObstacleKind kind : {ObstacleKind::Block, ObstacleKind::Rail}) {
        for (Trick trick : tricks) {
            startWith(GreyBlock, 380, kind); // reaches well into a box whose bottom is 395
            step();
            putInTheAir(40);
            skater.trick = trick;
            skater.trickTimer = 4;
            slideTo(0, 60);
            step();
            std::string label = "kind " + std::to_string(kindNumber(kind)) + " trick " +
                                std::to_string(static_cast<int>(trick));
            if (trick == Trick::NoTrick) {
                EXPECT_TRUE(fell()) << label;
            } else {
                EXPECT_FALSE(fell()) << label;
                EXPECT_EQ(skater.bodyY, 303) << label << ": held up, no falling step";
            }
        }
    }
}

TEST_F(CollisionsTest, RampsLiftFourEachAndTwoOverlappingLiftEight) {
    startPark(parkText(10000, {record(Ramp, 0, 420, ObstacleKind::Ramp),
                               record(Ramp, 0, 420, ObstacleKind::Ramp)}));
    slideTo(0, 100);
    slideTo(1, 90);
    step();
    EXPECT_EQ(skater.bodyY, 335);
    EXPECT_EQ(skater.boardY, 416);
    EXPECT_EQ(run.score, 0) << "lifted and supported: no falling step";

    // The box is taken once, before the pass: the first lift does not take the skater off the
    // second ramp, though after it the box no longer reaches the ramps' top.
    startPark(parkText(10000, {record(Ramp, 0, 432, ObstacleKind::Ramp),
                               record(Ramp, 0, 432, ObstacleKind::Ramp)}));
    slideTo(0, 100);
    slideTo(1, 90);
    step();
    EXPECT_EQ(skater.bodyY, 335);

    // One ramp: lifted while its box bottom is below the ramp's top, then alternating.
    startWith(Ramp, 420, ObstacleKind::Ramp);
    slideTo(0, 100);
    std::vector<int32_t> heights;
    for (int i = 0; i < 8; ++i) {
        step();
        heights.push_back(skater.bodyY);
    }
    EXPECT_EQ(heights, (std::vector<int32_t>{339, 335, 331, 327, 331, 327, 331, 327}));
    EXPECT_EQ(skater.onRail, 0);
}

TEST_F(CollisionsTest, AHazardIsHarmlessOnlyInAStepThatBeginsRising) {
    struct Case {
        int32_t riseFrames;
        Trick trick;
        bool fall;
    };
    const Case cases[] = {
        {5, Trick::Jump, false},       {1, Trick::Jump, false}, {1, Trick::Hop, false},
        {0, Trick::NoTrick, true},     {0, Trick::Jump, true},  {0, Trick::BoardFlip, true},
        {0, Trick::Spin, true},        {0, Trick::Hop, true},   {0, Trick::TrickDone, true},
        {0, Trick::NoseUpGrind, true},
    };
    for (const Case& c : cases) {
        startWith(TallBlock, 330, ObstacleKind::Hazard); // rows 330..441, across every pose's box
        step();
        skater.riseFrames = c.riseFrames;
        skater.trick = c.trick;
        skater.trickTimer = 4;
        slideTo(0, 80);
        step();
        EXPECT_EQ(fell(), c.fall) << "riseFrames " << c.riseFrames << " trick "
                                  << static_cast<int>(c.trick);
    }

    // A real jump clears a hydrant that passes under it while it rises.
    startWith(Hydrant, 396, ObstacleKind::Hazard);
    headless::tap(Key::Up);
    step();
    slideTo(0, 116);
    for (int i = 0; i < 30; ++i) {
        step();
    }
    EXPECT_FALSE(fell());
    EXPECT_LT(park::obstacleTable.records[0].x, 25) << "the hydrant has passed";
}

TEST_F(CollisionsTest, AHazardBelowTheScreenIsNotDrawnButStillAFall) {
    startWith(Rect{371, 1, 395, 61}, 430, ObstacleKind::Hazard); // rows 430..489
    slideTo(0, 100);
    step();
    EXPECT_TRUE(fell());
}

TEST_F(CollisionsTest, LandingOnARailIsSilentAndLeavesLandedClear) {
    startWith(RailBar, 392, ObstacleKind::Rail);
    step();
    putInTheAir(40);
    slideTo(0, 60);
    EXPECT_EQ(step(), "-");
    EXPECT_EQ(skater.bodyY, 303);
    EXPECT_EQ(skater.landed, 0);
    EXPECT_EQ(skater.onRail, 1);
    EXPECT_EQ(step(), "-");
    EXPECT_EQ(skater.bodyY, 303);
    EXPECT_EQ(skater.landed, 0);

    // Once the rail has passed the skater falls, and the ground landing sounds.
    EXPECT_GT(stepsToLanding(), 40);
    EXPECT_EQ(skater.bodyY, 343);
}

TEST_F(CollisionsTest, AFallCostsAQuarterOfTheScoreAndALifeAndRestartsThePark) {
    struct Case {
        int32_t score;
        int32_t after;
    };
    for (Case c : {Case{7, 6}, Case{0, 0}, Case{10, 8}, Case{4, 3}, Case{3, 3}}) {
        startPark(parkText(10000, {record(Hydrant, 0, 400, ObstacleKind::Hazard),
                                   record(GreyBlock, 0, 100, ObstacleKind::Block)}));
        for (int i = 0; i < 5; ++i) {
            step();
        }
        run.score = c.score;
        skater.trick = Trick::TrickDone;
        slideTo(0, 100);
        step();
        EXPECT_EQ(run.score, c.after) << "score " << c.score;
        EXPECT_EQ(run.lives, 2);
        EXPECT_EQ(run.parkFrame, 0);
        EXPECT_STREQ(run.message, "You fell, try again.");
        EXPECT_EQ(run.messageSeconds, 5);
        EXPECT_EQ(gameState, GameState::Playing);
        EXPECT_EQ(skater.trick, Trick::NoTrick);
        EXPECT_EQ(skater.trickTimer, 0);
        EXPECT_EQ(skater.bodyY, 343);
        EXPECT_EQ(park::obstacleTable.records[0].x, 640) << "the park is loaded again";
        EXPECT_EQ(park::obstacleTable.records[1].x, 640);
        EXPECT_EQ(run.firstActive, 0);
        EXPECT_EQ(run.lastActive, 1);
        step();
        EXPECT_EQ(run.parkFrame, 1) << "the restarted park runs from its beginning";
        EXPECT_EQ(park::obstacleTable.records[0].x, 636);
    }
}

TEST_F(CollisionsTest, AFallWhileFallingSoundsInTheFirstStepAfterTheRestart) {
    for (bool falling : {true, false}) {
        startWith(TallBlock, 330, ObstacleKind::Hazard);
        step();
        if (falling) {
            putInTheAir(8);
        }
        slideTo(0, 80);
        EXPECT_EQ(step(), "-");
        ASSERT_TRUE(fell());
        EXPECT_EQ(skater.landed, falling ? 0 : 1);
        EXPECT_EQ(step(), falling ? "HIT" : "-") << (falling ? "falling" : "standing");
        EXPECT_EQ(step(), "-");
    }
}

TEST_F(CollisionsTest, TheLastLifeEndsTheRunAndTheNextRunShowsTheMessageOnce) {
    writeFile("highscore.txt", "5");
    startWith(Hydrant, 400, ObstacleKind::Hazard);
    run.lives = 1;
    run.score = 12;
    slideTo(0, 100);
    headless::tap(Key::Up); // read in the step that ends the run, as any poll
    step();
    EXPECT_EQ(gameState, GameState::GameOver);
    EXPECT_EQ(run.lives, 0);
    EXPECT_EQ(run.score, 9);
    EXPECT_EQ(run.messageSeconds, 0);
    EXPECT_EQ(run.parkFrame, 0);
    EXPECT_EQ(skater.trick, Trick::Jump);
    EXPECT_EQ(readFile("highscore.txt"), "9");
    EXPECT_EQ(backBuffer(), expectedEndScreen(true, 9)) << "the same end screen as a park end";

    frame();
    EXPECT_EQ(gameState, GameState::GameOver);
    headless::tap(Key::Enter);
    frame(); // GameOver -> Title
    frame(); // Title -> Menu
    headless::tap(Key::Enter);
    frame(); // Menu -> LoadPark
    frame(); // LoadPark -> Playing
    ASSERT_EQ(gameState, GameState::Playing);
    EXPECT_EQ(skater.trick, Trick::NoTrick);
    EXPECT_EQ(run.lives, 3);
    const Rect messageArea{60, 22, 240, 50}; // right of the score, left of the obstacle
    step();
    EXPECT_GT(blackPixels(messageArea), 0) << "the fall message, in the first frame";
    EXPECT_EQ(run.messageSeconds, 0);
    headless::setClock(run.messageTick + 1000);
    step();
    EXPECT_EQ(run.messageSeconds, -1);
    step();
    EXPECT_EQ(blackPixels(messageArea), 0) << "gone once the timer passed 0";
}

} // namespace
