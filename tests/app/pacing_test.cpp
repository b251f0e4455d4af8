// Frame pacing on the virtual clock: presents at least 34 ms apart, a late frame at once,
// the sum wrapping.

#include "tests/support/game_fixture.h"

using testing_support::GameTest;

namespace {

class PacingTest : public GameTest {};

TEST_F(PacingTest, PresentsAreAtLeast34MillisecondsApart) {
    headless::setClock(0);
    framePacer.lastPresentTick = 0;
    paceAndPresent();
    EXPECT_EQ(framePacer.lastPresentTick, 34u);
    EXPECT_EQ(headless::presentCount(), 1);
    headless::advanceClock(5);
    paceAndPresent();
    EXPECT_EQ(framePacer.lastPresentTick, 68u);
    EXPECT_EQ(headless::presentCount(), 2);
}

TEST_F(PacingTest, ALateFrameIsPresentedWithoutWaiting) {
    framePacer.lastPresentTick = 1000;
    headless::setClock(1050); // the frame's work took 50 ms
    paceAndPresent();
    EXPECT_EQ(framePacer.lastPresentTick, 1050u);
    headless::setClock(1034);
    framePacer.lastPresentTick = 1000;
    paceAndPresent();
    EXPECT_EQ(framePacer.lastPresentTick, 1034u);
}

TEST_F(PacingTest, TheWaitEndsAtOnceWhenTheSumWraps) {
    framePacer.lastPresentTick = 0xFFFFFFF0u; // + 33 wraps to 0x11
    headless::setClock(0xFFFFFFF1u);
    paceAndPresent();
    EXPECT_EQ(framePacer.lastPresentTick, 0xFFFFFFF1u);
    // Once the clock itself has wrapped, the wait is an ordinary one again.
    framePacer.lastPresentTick = 2;
    headless::setClock(3);
    paceAndPresent();
    EXPECT_EQ(framePacer.lastPresentTick, 36u);
}

TEST_F(PacingTest, AClockThatWrapsDuringTheWaitEndsItOnTime) {
    framePacer.lastPresentTick = 0xFFFFFFDEu; // + 33 is 0xFFFFFFFF, no wrap of the sum
    headless::setClock(0xFFFFFFF0u);
    paceAndPresent();
    EXPECT_EQ(framePacer.lastPresentTick, 0u); // 34 ms after the last present, not 49 days
    EXPECT_EQ(headless::presentCount(), 1);
}

TEST_F(PacingTest, PresentHandsOverTheRetainedBackBuffer) {
    display::setBackBufferPixel(10, 20, 0x1234);
    paceAndPresent();
    EXPECT_EQ(headless::frame()[20 * 640 + 10], 0x1234);
    uint32_t first = headless::frameHash();
    paceAndPresent();
    EXPECT_EQ(headless::frameHash(), first); // nothing drawn: the same picture
}

} // namespace
