// A gamepad reaches the key check through SDL's game controller events: one plugged in while the
// game runs is opened, its buttons and stick act as the keys, and pulling it out lets go of them.
// SDL's virtual joystick stands in for the device.

#include "platform/platform.h"
#include "tests/platform/sdl_window_fixture.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

using platform::Key;

namespace {

class SdlPadTest : public platform_tests::SdlWindowTest {
  protected:
    static void SetUpTestSuite() {
        // The dummy driver's window never has the focus, and SDL holds back a pad's input from
        // a window without it.
        setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1);
        SdlWindowTest::SetUpTestSuite();
    }
    static void TearDownTestSuite() {
        SdlWindowTest::TearDownTestSuite();
        unsetenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS");
    }
};

TEST_F(SdlPadTest, APluggedInPadActsAsTheKeysUntilItIsPulledOut) {
    int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                          SDL_CONTROLLER_BUTTON_MAX, 0);
    ASSERT_GE(index, 0) << SDL_GetError();
    ASSERT_TRUE(SDL_IsGameController(index));
    SDL_Joystick* device = SDL_JoystickOpen(index);
    ASSERT_NE(device, nullptr) << SDL_GetError();
    platform::pumpEvents(); // the pad is opened on its device-added event
    EXPECT_FALSE(platform::keyCheck(Key::Enter));

    SDL_JoystickSetVirtualButton(device, SDL_CONTROLLER_BUTTON_A, SDL_PRESSED);
    platform::pumpEvents();
    EXPECT_TRUE(platform::keyCheck(Key::Enter));
    SDL_JoystickSetVirtualButton(device, SDL_CONTROLLER_BUTTON_A, SDL_RELEASED);
    platform::pumpEvents();
    EXPECT_FALSE(platform::keyCheck(Key::Enter));

    SDL_JoystickSetVirtualButton(device, SDL_CONTROLLER_BUTTON_B, SDL_PRESSED);
    platform::pumpEvents();
    EXPECT_TRUE(platform::keyCheck(Key::Escape));
    SDL_JoystickSetVirtualButton(device, SDL_CONTROLLER_BUTTON_B, SDL_RELEASED);

    SDL_JoystickSetVirtualAxis(device, SDL_CONTROLLER_AXIS_LEFTX, -30000);
    SDL_JoystickSetVirtualButton(device, SDL_CONTROLLER_BUTTON_DPAD_UP, SDL_PRESSED);
    platform::pumpEvents();
    EXPECT_TRUE(platform::keyCheck(Key::Left));
    EXPECT_TRUE(platform::keyCheck(Key::Up));
    EXPECT_FALSE(platform::keyCheck(Key::Right));

    // Pulled out with the stick and the D-pad held: nothing stays down.
    SDL_JoystickClose(device);
    ASSERT_EQ(SDL_JoystickDetachVirtual(index), 0) << SDL_GetError();
    platform::pumpEvents();
    EXPECT_FALSE(platform::keyCheck(Key::Left));
    EXPECT_FALSE(platform::keyCheck(Key::Up));
}

} // namespace
