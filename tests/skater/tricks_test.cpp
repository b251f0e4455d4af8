// The tricks: board flip and spin during a rising jump, and the three rail tricks.

#include "tests/skater/skater_fixture.h"

using platform::Key;
using namespace testing_support;
using skater_tests::SkaterTest;

namespace {

class TricksTest : public SkaterTest {
  protected:
    // Jumps from the ground and presses `key` so that the poll sees `riseSeen`; returns the
    // jump's points once the skater has landed again.
    int jumpWithAirTrick(Key key, int32_t riseSeen) {
        startPark(parkText(10000, {}));
        headless::tap(Key::Up);
        step();
        while (skater.riseFrames > riseSeen + 1) {
            step();
        }
        headless::tap(key);
        step();
        EXPECT_EQ(skater.riseFrames, riseSeen);
        EXPECT_EQ(skater.trick, key == Key::Down ? Trick::BoardFlip : Trick::Spin);
        EXPECT_EQ(skater.trickTimer, 6);
        return stepsToLanding() > 0 ? run.score : -1;
    }

    void standOnRail() {
        startPark(parkText(10000, {record(RailBar, 0, 431, ObstacleKind::Rail)}));
        slideTo(0, 100);
        step();
        ASSERT_EQ(skater.onRail, 1);
        ASSERT_EQ(skater.trick, Trick::NoTrick);
    }
};

TEST_F(TricksTest, AnAirTrickPaysOnlyWhenItCompletesBeforeTheTopOfTheJump) {
    struct Case {
        int32_t riseSeen;
        int points;
    };
    // Pressed with 9 or more to go the trick completes; later it scores nothing and the cut of
    // the rise (2, or what is left of it) still shortens the jump.
    const Case cases[] = {{19, 38}, {12, 38}, {9, 38}, {8, 18}, {3, 18}, {2, 19}, {1, 20}};
    for (Key key : {Key::Down, Key::Right}) {
        for (const Case& c : cases) {
            EXPECT_EQ(jumpWithAirTrick(key, c.riseSeen), c.points)
                << (key == Key::Down ? "flip" : "spin") << " seen at riseFrames " << c.riseSeen;
        }
    }
}

TEST_F(TricksTest, ABoardFlipChangesPicturesInItsFirstFourthAndSeventhSteps) {
    startPark(parkText(10000, {}));
    headless::tap(Key::Up);
    step();
    headless::tap(Key::Down);
    step();
    ASSERT_EQ(skater.trick, Trick::BoardFlip);
    ASSERT_EQ(skater.riseFrames, 19);

    step(); // timer 6
    EXPECT_EQ(skater.riseFrames, 16) << "the rise is cut by 2";
    EXPECT_EQ(skater.bodySrc, atlas::BodySpreadTrim);
    EXPECT_EQ(skater.boardSrc, atlas::BoardUnderside);
    EXPECT_EQ(skater.boardY, skater.bodyY + 84);
    EXPECT_EQ(skater.trickTimer, 5);
    step();
    step();
    EXPECT_EQ(skater.boardSrc, atlas::BoardUnderside);
    step(); // timer 3
    EXPECT_EQ(skater.boardSrc, atlas::BoardUpsideDown);
    EXPECT_EQ(skater.boardY, skater.bodyY + 84) << "the board rises with the body";
    step();
    step();
    EXPECT_EQ(run.score, 0);
    step(); // timer 0
    EXPECT_EQ(skater.boardSrc, atlas::BoardGripTop);
    EXPECT_EQ(skater.trick, Trick::NoTrick);
    EXPECT_EQ(skater.trickTimer, -1);
    EXPECT_EQ(run.score, 20);
    EXPECT_EQ(skater.riseFrames, 10);
    EXPECT_EQ(skater.boardX, 64);

    EXPECT_GT(stepsToLanding(), 0);
    EXPECT_EQ(run.score, 38);
}

TEST_F(TricksTest, ASpinTurnsTheBoardAndEndsTwelveColumnsToTheLeft) {
    startPark(parkText(10000, {}));
    headless::tap(Key::Up);
    step();
    headless::tap(Key::Right);
    step();
    ASSERT_EQ(skater.trick, Trick::Spin);

    step(); // timer 6
    EXPECT_EQ(skater.riseFrames, 16);
    EXPECT_EQ(skater.bodySrc, atlas::BodySpreadTrim);
    EXPECT_EQ(skater.boardSrc, atlas::BoardFlat);
    EXPECT_EQ(skater.boardY, skater.bodyY + 84);
    step();
    step();
    step(); // timer 3
    EXPECT_EQ(skater.boardSrc, atlas::BoardEndOn);
    EXPECT_EQ(skater.boardX, 64);
    step();
    step();
    step(); // timer 0
    EXPECT_EQ(skater.boardSrc, atlas::BoardFlat);
    EXPECT_EQ(skater.boardX, 52);
    EXPECT_EQ(skater.trick, Trick::NoTrick);
    EXPECT_EQ(skater.trickTimer, -1);
    EXPECT_EQ(run.score, 20);

    while (skater.riseFrames > 0) {
        step();
        EXPECT_EQ(skater.boardX, skater.riseFrames > 0 ? 52 : 64);
    }
    EXPECT_EQ(skater.bodySrc, atlas::BodyStand) << "the falling step's standing arrangement";
}

TEST_F(TricksTest, EachRailTrickScoresTwentyOnceAndHoldsItsPose) {
    struct Case {
        Key key;
        Trick trick;
        Rect body;
        Rect board;
        int32_t boardX;
        int32_t boardYBelowBody; // -1: boardY unchanged
    };
    const Case cases[] = {
        {Key::Down, Trick::NoseUpGrind, atlas::BodySpreadTrim, atlas::BoardNoseUp, 72, 61},
        {Key::Right, Trick::NoseDownGrind, atlas::BodySpreadAltTrim, atlas::BoardNoseDown, 56, 62},
        {Key::Left, Trick::SideSlide, atlas::BodySide, atlas::BoardEndOn, 74, -1},
    };
    for (const Case& c : cases) {
        standOnRail();
        headless::tap(c.key);
        EXPECT_EQ(step(), "-") << "no hop on a rail";
        EXPECT_EQ(skater.trick, c.trick);
        EXPECT_EQ(skater.trickTimer, 1);
        EXPECT_EQ(skater.riseFrames, 0);
        EXPECT_EQ(run.score, 0);

        step();
        EXPECT_EQ(skater.trick, Trick::TrickDone);
        EXPECT_EQ(run.score, 20);
        EXPECT_EQ(skater.bodySrc, c.body);
        EXPECT_EQ(skater.boardSrc, c.board);
        EXPECT_EQ(skater.boardX, c.boardX);
        EXPECT_EQ(skater.boardY, c.boardYBelowBody < 0 ? 424 : 343 + c.boardYBelowBody);
        EXPECT_EQ(skater.bodyY, 343);

        // While the trick is done, no key starts another one, nor a hop.
        for (Key again : {Key::Down, Key::Right, Key::Left}) {
            headless::tap(again);
            EXPECT_EQ(step(), "-");
            step();
        }
        EXPECT_EQ(skater.trick, Trick::TrickDone);
        EXPECT_EQ(run.score, 20);
        EXPECT_EQ(skater.bodySrc, c.body) << "the pose is held";
        EXPECT_EQ(skater.boardX, c.boardX);

        // Up still jumps out of it.
        headless::tap(Key::Up);
        EXPECT_EQ(step(), "SMACK");
        EXPECT_EQ(skater.trick, Trick::Jump);
    }
}

TEST_F(TricksTest, OnARailTheFirstTrickStartedInAPollWinsAndATrickStepEndsTheRail) {
    standOnRail();
    headless::tap(Key::Down);
    headless::tap(Key::Right);
    headless::tap(Key::Left);
    EXPECT_EQ(step(), "-");
    EXPECT_EQ(skater.trick, Trick::NoseUpGrind) << "a running trick blocks the later keys";
    step();
    EXPECT_EQ(run.score, 20);

    // A spin that ends in a step over a rail leaves no rail trick to start in that poll: the
    // trick step cleared onRail.
    standOnRail();
    skater.trick = Trick::Spin;
    skater.trickTimer = 0;
    skater.riseFrames = 5;
    headless::tap(Key::Left);
    step();
    EXPECT_EQ(run.score, 20);
    EXPECT_EQ(skater.trick, Trick::NoTrick);
    EXPECT_EQ(skater.onRail, 0);
    step();
    EXPECT_EQ(run.score, 20);
}

} // namespace
