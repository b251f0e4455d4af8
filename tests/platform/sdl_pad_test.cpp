// A gamepad reaches the key check through SDL's game controller events: one plugged in while the
// game runs is opened, its buttons and stick act as the keys, and pulling it out lets go of them,
// but not of what a second pad holds. SDL's virtual joystick stands in for the device.

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

    // Plugs in a virtual pad and returns its joystick, through which the test moves its
    // buttons and axes; nullptr (with a test failure) when SDL has none to give.
    static SDL_Joystick* plugIn() {
        int index =
            SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                      SDL_CONTROLLER_BUTTON_MAX, 0);
        EXPECT_GE(index, 0) << SDL_GetError();
        EXPECT_TRUE(index >= 0 && SDL_IsGameController(index));
        SDL_Joystick* device = index < 0 ? nullptr : SDL_JoystickOpen(index);
        EXPECT_NE(device, nullptr) << SDL_GetError();
        return device;
    }

    static void pullOut(SDL_Joystick* device) {
        SDL_JoystickID id = SDL_JoystickInstanceID(device);
        SDL_JoystickClose(device);
        for (int i = 0; i < SDL_NumJoysticks(); ++i) {
            if (SDL_JoystickGetDeviceInstanceID(i) == id) {
                ASSERT_EQ(SDL_JoystickDetachVirtual(i), 0) << SDL_GetError();
                return;
            }
        }
        ADD_FAILURE() << "no virtual pad " << id;
    }
};

TEST_F(SdlPadTest, APluggedInPadActsAsTheKeysUntilItIsPulledOut) {
    SDL_Joystick* device = plugIn();
    ASSERT_NE(device, nullptr);
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
    pullOut(device);
    platform::pumpEvents();
    EXPECT_FALSE(platform::keyCheck(Key::Left));
    EXPECT_FALSE(platform::keyCheck(Key::Up));
}

TEST_F(SdlPadTest, WhatOnePadLetsGoOfStaysHeldWhileTheOtherHoldsIt) {
    SDL_Joystick* first = plugIn();
    SDL_Joystick* second = plugIn();
    ASSERT_TRUE(first != nullptr && second != nullptr);
    platform::pumpEvents();

    SDL_JoystickSetVirtualButton(first, SDL_CONTROLLER_BUTTON_A, SDL_PRESSED);
    SDL_JoystickSetVirtualButton(second, SDL_CONTROLLER_BUTTON_A, SDL_PRESSED);
    SDL_JoystickSetVirtualAxis(first, SDL_CONTROLLER_AXIS_LEFTX, 30000);
    SDL_JoystickSetVirtualAxis(second, SDL_CONTROLLER_AXIS_LEFTX, 30000);
    SDL_JoystickSetVirtualButton(first, SDL_CONTROLLER_BUTTON_DPAD_DOWN, SDL_PRESSED);
    SDL_JoystickSetVirtualButton(second, SDL_CONTROLLER_BUTTON_B, SDL_PRESSED);
    platform::pumpEvents();
    EXPECT_TRUE(platform::keyCheck(Key::Enter));
    EXPECT_TRUE(platform::keyCheck(Key::Right));
    EXPECT_TRUE(platform::keyCheck(Key::Down));
    EXPECT_TRUE(platform::keyCheck(Key::Escape)); // not asked for again until the end

    // The first pad lets go of A and its stick: the second still holds them.
    SDL_JoystickSetVirtualButton(first, SDL_CONTROLLER_BUTTON_A, SDL_RELEASED);
    SDL_JoystickSetVirtualAxis(first, SDL_CONTROLLER_AXIS_LEFTX, 0);
    platform::pumpEvents();
    EXPECT_TRUE(platform::keyCheck(Key::Enter));
    EXPECT_TRUE(platform::keyCheck(Key::Right));

    // Pulled out holding Down: Down goes up, the second pad's A and stick stay held.
    pullOut(first);
    platform::pumpEvents();
    EXPECT_FALSE(platform::keyCheck(Key::Down));
    EXPECT_TRUE(platform::keyCheck(Key::Enter));
    EXPECT_TRUE(platform::keyCheck(Key::Right));

    // Escape, held on the second pad through all of that, went down only once: let go, it is up.
    SDL_JoystickSetVirtualButton(second, SDL_CONTROLLER_BUTTON_B, SDL_RELEASED);
    platform::pumpEvents();
    EXPECT_FALSE(platform::keyCheck(Key::Escape));
    pullOut(second);
    platform::pumpEvents();
}

TEST_F(SdlPadTest, StartPausesInPlayAndIsEnterElsewhere) {
    SDL_Joystick* device = plugIn();
    ASSERT_NE(device, nullptr);
    platform::pumpEvents();
    auto pressStart = [device] {
        SDL_JoystickSetVirtualButton(device, SDL_CONTROLLER_BUTTON_START, SDL_PRESSED);
        platform::pumpEvents();
        SDL_JoystickSetVirtualButton(device, SDL_CONTROLLER_BUTTON_START, SDL_RELEASED);
        platform::pumpEvents();
    };
    platform::allowPause(true); // in play
    pressStart();
    EXPECT_EQ(platform::takePauseRequest(), platform::PauseRequest::Toggle);
    EXPECT_FALSE(platform::keyCheck(Key::Enter));
    platform::allowPause(false); // after a park, on the menu
    pressStart();
    EXPECT_EQ(platform::takePauseRequest(), platform::PauseRequest::None);
    EXPECT_TRUE(platform::keyCheck(Key::Enter));
    pullOut(device);
    platform::pumpEvents();
}

} // namespace
