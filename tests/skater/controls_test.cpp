// The in-play keys: crouch, keys that count together in one poll, held keys and Escape.

#include "tests/skater/skater_fixture.h"

#include <cstring>

using platform::Key;
using namespace testing_support;
using skater_tests::SkaterTest;

namespace {

class ControlsTest : public SkaterTest {};

TEST_F(ControlsTest, DownOnTheGroundCrouchesAndChangesNothingElse) {
    startPark(parkText(10000, {}));
    step();
    const Skater before = skater;
    headless::press(Key::Down);
    EXPECT_EQ(step(), "-");
    EXPECT_EQ(skater.bodySrc, atlas::BodyCrouch);
    Skater expected = before;
    expected.bodySrc = atlas::BodyCrouch;
    EXPECT_EQ(std::memcmp(&skater, &expected, sizeof(Skater)), 0);
    EXPECT_EQ(skaterBox(), (Rect{50, 351, 118, 435}));
    EXPECT_EQ(run.score, 0);

    headless::release(Key::Down);
    step();
    step();
    EXPECT_EQ(skater.bodySrc, atlas::BodyCrouch) << "the crouch stays after release";
    EXPECT_EQ(skater.bodyY, 343);
    EXPECT_EQ(run.score, 0);

    // The next trick step or falling step sets another picture.
    headless::tap(Key::Up);
    step();
    step();
    EXPECT_EQ(skater.bodySrc, atlas::BodySpread);
}

TEST_F(ControlsTest, UpAndRightTogetherStartAJumpTurnedAtOnceIntoASpin) {
    startPark(parkText(10000, {}));
    headless::tap(Key::Up);
    headless::tap(Key::Right);
    EXPECT_EQ(step(), "SMACK") << "one take-off sound, no hop";
    EXPECT_EQ(skater.trick, Trick::Spin);
    EXPECT_EQ(skater.trickTimer, 6);
    EXPECT_EQ(skater.riseFrames, 20);
    EXPECT_GT(stepsToLanding(), 0);
    EXPECT_EQ(run.score, 38) << "20 for the spin, 18 falling steps after the cut rise";
}

TEST_F(ControlsTest, KeysInTheAirOutsideARisingJumpDoNothing) {
    startPark(parkText(10000, {}));
    headless::tap(Key::Right);
    step(); // a hop
    headless::tap(Key::Down);
    headless::tap(Key::Right);
    headless::tap(Key::Left);
    headless::tap(Key::Up);
    EXPECT_EQ(step(), "-");
    EXPECT_EQ(skater.trick, Trick::Hop) << "Down and Right turn only a Jump";
    EXPECT_EQ(skater.bodySrc, atlas::BodySpreadAlt) << "no crouch in the air";
    EXPECT_GT(stepsToLanding(), 0);
    EXPECT_EQ(run.score, 90);

    startPark(parkText(10000, {}));
    headless::tap(Key::Up);
    step();
    while (skater.riseFrames > 0) {
        step();
    }
    step(); // falling, riseFrames 0
    headless::tap(Key::Down);
    headless::tap(Key::Right);
    EXPECT_EQ(step(), "-");
    EXPECT_EQ(skater.trick, Trick::NoTrick);
    EXPECT_EQ(skater.bodySrc, atlas::BodyStand);
    EXPECT_GT(stepsToLanding(), 0);
    EXPECT_EQ(run.score, 20);
}

TEST_F(ControlsTest, HoldingUpBouncesFromLandingToLanding) {
    startPark(parkText(10000, {}));
    headless::press(Key::Up);
    EXPECT_EQ(step(), "SMACK");
    for (int bounce = 1; bounce <= 3; ++bounce) {
        for (int i = 1; i < 40; ++i) {
            EXPECT_EQ(step(), "-") << "bounce " << bounce << " step " << i;
        }
        EXPECT_EQ(step(), "HIT,SMACK") << "landing and take-off in one step, bounce " << bounce;
        EXPECT_EQ(skater.trick, Trick::Jump);
        EXPECT_EQ(skater.riseFrames, 20);
        EXPECT_EQ(skater.bodyY, 343);
        EXPECT_EQ(run.score, 20 * bounce);
    }
}

TEST_F(ControlsTest, DownAndUpTogetherOnARailEndInAJump) {
    startPark(parkText(10000, {record(RailBar, 0, 431, ObstacleKind::Rail)}));
    slideTo(0, 100);
    headless::tap(Key::Down);
    headless::tap(Key::Up);
    EXPECT_EQ(step(), "SMACK");
    EXPECT_EQ(skater.trick, Trick::Jump);
    EXPECT_EQ(skater.riseFrames, 20);
    step();
    EXPECT_EQ(run.score, 0) << "the grind was overridden before it ran";
    EXPECT_EQ(skater.bodySrc, atlas::BodySpread);
}

TEST_F(ControlsTest, EscapeLeavesOnlyAfterTheFifthFrameWithTheSkaterReset) {
    startPark(parkText(10000, {}));
    run.score = 33;
    run.lives = 2;
    headless::tap(Key::Up);
    step();
    for (int i = 2; i <= 5; ++i) {
        headless::tap(Key::Escape);
        step();
        EXPECT_EQ(gameState, GameState::Playing) << "parkFrame " << run.parkFrame;
    }
    EXPECT_EQ(skater.bodyY, 343 - 16);
    headless::tap(Key::Escape);
    step();
    EXPECT_EQ(gameState, GameState::Title);
    EXPECT_EQ(run.parkFrame, 0);
    EXPECT_EQ(skater.bodyY, 343);
    EXPECT_EQ(skater.bodySrc, atlas::BodyStand);
    EXPECT_EQ(skater.trick, Trick::NoTrick);
    EXPECT_EQ(skater.riseFrames, 0);
    EXPECT_EQ(run.score, 33);
    EXPECT_EQ(run.lives, 2);
}

} // namespace
