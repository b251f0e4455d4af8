// Pause in play, through the main loop's passes: while paused no handler runs, the clock that the
// game reads and the message line's timer stand still, and the still picture is presented again
// with its sign; nothing pressed during the pause acts afterwards; the window losing the focus
// pauses but never resumes; outside play a pause request does nothing.

#include "app/pause.h"
#include "tests/support/game_fixture.h"
#include "tests/support/park_text.h"

using platform::Key;
using platform::PauseRequest;
using testing_support::GameTest;

namespace {

class PauseTest : public GameTest {
  protected:
    // One pass of the main loop, as runGame makes it.
    static void pass() { ASSERT_TRUE(loopPass()); }
};

TEST_F(PauseTest, NothingOfTheGameRunsWhilePausedAndNoKeyOfThePauseActsAfter) {
    startPark(testing_support::parkText(100000, {}));
    run.messageSeconds = 5;
    run.messageTick = platform::tickCount();
    for (int i = 0; i < 10; ++i) {
        pass();
    }
    EXPECT_EQ(headless::lastOverlays().lives, 3); // the lives, during play
    EXPECT_EQ(headless::lastOverlays().sign.pixels, nullptr);
    const int32_t parkFrame = run.parkFrame;
    const uint32_t tick = platform::tickCount();
    const int presents = headless::presentCount();

    headless::requestPause(PauseRequest::Pause); // the window lost the focus
    for (int i = 0; i < 40; ++i) {
        if (i == 5) {
            headless::press(Key::Up); // pressed and held during the pause
        }
        if (i == 20) {
            headless::requestPause(PauseRequest::Pause); // focus lost again: still paused
        }
        pass();
    }
    EXPECT_TRUE(pauseState.paused);
    EXPECT_GE(headless::clock() - tick, 10000u); // ten seconds went by outside
    EXPECT_EQ(platform::tickCount(), tick);      // and none in the game
    EXPECT_EQ(run.parkFrame, parkFrame);
    EXPECT_EQ(run.messageSeconds, 5);
    EXPECT_EQ(headless::presentCount(), presents + 40); // the still picture, again and again
    EXPECT_NE(headless::lastOverlays().sign.pixels, nullptr);

    headless::requestPause(PauseRequest::Toggle); // P again
    for (int i = 0; i < 10; ++i) {
        pass();
    }
    EXPECT_FALSE(pauseState.paused);
    EXPECT_EQ(run.parkFrame, parkFrame + 10);
    EXPECT_EQ(run.messageSeconds, 5); // 340 ms of play since, not a second
    EXPECT_LE(platform::tickCount() - tick, 11u * 34);
    EXPECT_EQ(skater.riseFrames, 0); // the Up held through the pause did not jump
    EXPECT_NE(skater.trick, Trick::Jump);
    EXPECT_EQ(headless::lastOverlays().sign.pixels, nullptr);

    // A new press after the pause acts as ever.
    headless::release(Key::Up);
    headless::tap(Key::Up);
    pass();
    EXPECT_EQ(skater.trick, Trick::Jump);
}

TEST_F(PauseTest, OutsidePlayAPauseRequestDoesNothing) {
    gameState = GameState::Title;
    pass(); // the title; the menu next, where pausing is not allowed
    headless::requestPause(PauseRequest::Toggle);
    headless::tap(Key::Down);
    pass();
    EXPECT_FALSE(pauseState.paused);
    EXPECT_FALSE(newGameSelected()); // the menu ran its frame
    EXPECT_EQ(headless::lastOverlays().lives, 0);
}

} // namespace

namespace {

// The keys card pauses play while it shows and resumes it as it goes, unless the player had
// paused first; outside play it shows without pausing anything.
TEST_F(PauseTest, TheKeysCardPausesPlayWhileItShows) {
    startPark(testing_support::parkText(100000, {}));
    pass();
    const int32_t parkFrame = run.parkFrame;
    headless::showKeys(true);
    for (int i = 0; i < 5; ++i) {
        pass();
    }
    EXPECT_TRUE(pauseState.paused);
    EXPECT_EQ(run.parkFrame, parkFrame);
    const platform::Picture card = headless::lastOverlays().sign;
    ASSERT_NE(card.pixels, nullptr);
    EXPECT_GT(card.height, display::pausedSign().height * 4); // the keys, not the sign
    headless::showKeys(false);
    pass();
    pass();
    EXPECT_FALSE(pauseState.paused);
    EXPECT_GT(run.parkFrame, parkFrame);

    headless::requestPause(PauseRequest::Toggle); // the player's own pause
    pass();
    headless::showKeys(true);
    pass();
    headless::showKeys(false);
    pass();
    EXPECT_TRUE(pauseState.paused); // still the player's to end
    EXPECT_EQ(headless::lastOverlays().sign.height, display::pausedSign().height);
}

} // namespace
