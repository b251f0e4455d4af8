// The skater's reset, its box, and its vertical motion: jumps, hops and landings.

#include "tests/skater/skater_fixture.h"

using platform::Key;
using namespace testing_support;
using skater_tests::SkaterTest;

namespace {

class MotionTest : public SkaterTest {};

TEST_F(MotionTest, ResetStandsTheSkaterOnTheGroundLineAndKeepsLandedAndScore) {
    for (int32_t landed : {0, 1}) {
        skater.bodySrc = atlas::BodySpreadAlt;
        skater.boardSrc = atlas::BoardGripTop;
        skater.bodyX = 7;
        skater.bodyY = 12;
        skater.boardX = 3;
        skater.boardY = 4;
        skater.groundY = 5;
        skater.supported = 0;
        skater.riseFrames = 9;
        skater.trick = Trick::BoardFlip;
        skater.trickTimer = 3;
        skater.onRail = 1;
        skater.landed = landed;
        run.parkFrame = 99;
        run.score = 42;
        run.lives = 2;
        resetSkater();
        EXPECT_EQ(skater.bodySrc, atlas::BodyStand);
        EXPECT_EQ(skater.boardSrc, atlas::BoardFlat);
        EXPECT_EQ(skater.bodyX, 50);
        EXPECT_EQ(skater.bodyY, 343);
        EXPECT_EQ(skater.boardX, 64);
        EXPECT_EQ(skater.boardY, 424);
        EXPECT_EQ(skater.groundY, 343);
        EXPECT_EQ(skater.supported, 1);
        EXPECT_EQ(skater.riseFrames, 0);
        EXPECT_EQ(skater.onRail, 0);
        EXPECT_EQ(skater.trick, Trick::NoTrick);
        EXPECT_EQ(skater.trickTimer, 0);
        EXPECT_EQ(run.parkFrame, 0);
        EXPECT_EQ(skater.landed, landed);
        EXPECT_EQ(run.score, 42);
        EXPECT_EQ(run.lives, 2);
        EXPECT_EQ(skaterBox(), (Rect{50, 351, 118, 435}));
    }
}

TEST_F(MotionTest, AJumpRisesTo267EarnsTwentyAndLandsWithOneHit) {
    startPark(parkText(10000, {}));
    headless::tap(Key::Up);
    EXPECT_EQ(step(), "SMACK") << "take-off, in the poll of the first step";
    EXPECT_EQ(skater.trick, Trick::Jump);
    EXPECT_EQ(skater.riseFrames, 20);
    EXPECT_EQ(skater.bodyY, 343);

    EXPECT_EQ(step(), "-");
    EXPECT_EQ(skater.bodyY, 339);
    EXPECT_EQ(skater.bodySrc, atlas::BodySpread);
    EXPECT_EQ(skater.boardSrc, atlas::BoardNoseUp);
    EXPECT_EQ(skater.boardY, skater.bodyY + 69);
    EXPECT_EQ(skaterBox(), (Rect{50, 339 + 28, 119, 339 + 113})) << "the jump pose's box";

    int32_t highest = skater.bodyY;
    std::string sounds;
    int steps = 2;
    while (skater.bodyY != 343) {
        sounds += step();
        ++steps;
        highest = std::min(highest, skater.bodyY);
        if (steps == 20) {
            EXPECT_EQ(skater.bodyY, 267);
            EXPECT_EQ(skater.riseFrames, 1);
            EXPECT_EQ(run.score, 0);
        }
        if (steps == 21) {
            EXPECT_EQ(skater.bodyY, 267) << "the last rise and the first fall cancel out";
            EXPECT_EQ(skater.trick, Trick::NoTrick);
            EXPECT_EQ(skater.bodySrc, atlas::BodyStand);
            EXPECT_EQ(skater.boardY, 267 + 81);
            EXPECT_EQ(skater.boardX, 64);
        }
        ASSERT_LT(steps, 60);
    }
    EXPECT_EQ(steps, 40);
    EXPECT_EQ(highest, 267);
    EXPECT_EQ(run.score, 20);
    EXPECT_EQ(sounds, std::string(38, '-'));
    EXPECT_EQ(skater.landed, 0);

    EXPECT_EQ(step(), "HIT") << "the step after bodyY is back at groundY";
    EXPECT_EQ(skater.landed, 1);
    EXPECT_EQ(run.score, 20);
    EXPECT_EQ(step(), "-");
    EXPECT_EQ(skater.bodyY, 343);
}

TEST_F(MotionTest, AHopEarnsFivePerRisingStepAndOnePerFallingStep) {
    startPark(parkText(10000, {}));
    headless::tap(Key::Right);
    EXPECT_EQ(step(), "SMACK");
    EXPECT_EQ(skater.trick, Trick::Hop);
    EXPECT_EQ(skater.riseFrames, 15);
    EXPECT_EQ(step(), "-");
    EXPECT_EQ(skater.bodySrc, atlas::BodySpreadAlt);
    EXPECT_EQ(skater.boardSrc, atlas::BoardNoseDown);
    EXPECT_EQ(skater.boardY, skater.bodyY + 68);
    EXPECT_EQ(run.score, 5);

    int32_t highest = skater.bodyY;
    int steps = 2;
    while (skater.bodyY != 343) {
        step();
        ++steps;
        highest = std::min(highest, skater.bodyY);
        ASSERT_LT(steps, 60);
    }
    EXPECT_EQ(steps, 30);
    EXPECT_EQ(highest, 287);
    EXPECT_EQ(run.score, 90);
    EXPECT_EQ(step(), "HIT");
}

TEST_F(MotionTest, TheFirstStepOfAParkPlaysNoLandingSoundAndAParkStartsStanding) {
    ASSERT_NO_FATAL_FAILURE(useParks("2 a.txt a.txt\n", {{"a.txt", "0 24\n"}}));
    startNewRun();
    frame();
    skater.landed = 0;
    headless::tap(Key::Up);
    EXPECT_EQ(step(), "SMACK") << "no HIT: supported is still 1 from the reset";
    EXPECT_EQ(skater.landed, 1);

    // The park ends while the skater falls back from the jump.
    while (run.parkFrame < 23) {
        step();
    }
    EXPECT_EQ(skater.bodyY, 275);
    EXPECT_EQ(skater.landed, 0);
    step();
    ASSERT_EQ(gameState, GameState::ParkComplete);
    EXPECT_EQ(skater.bodyY, 343);
    EXPECT_EQ(skater.supported, 1);
    headless::tap(Key::Enter);
    frame();
    frame();
    ASSERT_EQ(gameState, GameState::Playing);
    EXPECT_EQ(skater.bodySrc, atlas::BodyStand);
    EXPECT_EQ(skater.boardY, 424);
    EXPECT_EQ(skater.trick, Trick::NoTrick);
    EXPECT_EQ(skater.riseFrames, 0);
    EXPECT_EQ(skater.landed, 0);
    EXPECT_EQ(step(), "-") << "nor in the first step of the next park, though landed is 0";
    EXPECT_EQ(skater.landed, 1);
    EXPECT_EQ(run.score, 4) << "the four falling steps before the park ended";
}

} // namespace
