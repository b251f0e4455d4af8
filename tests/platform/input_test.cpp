// Every input device keeps the key check's meaning: a pad button pressed and released between
// two frames counts once, at the next query of its key; keyboard and pad work together.

#include "platform/input.h"

#include <gtest/gtest.h>

using input::PadButton;
using platform::Key;

namespace {

TEST(Input, PadButtonsAndStickActAsTheKeys) {
    struct Case {
        PadButton button;
        Key key;
    };
    const Case cases[] = {
        {PadButton::DpadUp, Key::Up},     {PadButton::DpadDown, Key::Down},
        {PadButton::DpadLeft, Key::Left}, {PadButton::DpadRight, Key::Right},
        {PadButton::A, Key::Enter},       {PadButton::Start, Key::Enter},
        {PadButton::B, Key::Escape},      {PadButton::Back, Key::Escape},
    };
    for (const Case& c : cases) {
        input::InputState state;
        input::padButton(state, c.button, true);
        input::padButton(state, c.button, false);
        for (Key other : {Key::Up, Key::Down, Key::Left, Key::Right, Key::Enter, Key::Escape}) {
            if (other != c.key) {
                EXPECT_FALSE(input::check(state, other));
            }
        }
        EXPECT_TRUE(input::check(state, c.key)); // pressed and released: counts once
        EXPECT_FALSE(input::check(state, c.key));
    }
    input::InputState state;
    input::padButton(state, PadButton::Other, true);
    for (Key k : {Key::Up, Key::Down, Key::Left, Key::Right, Key::Enter, Key::Escape}) {
        EXPECT_FALSE(input::check(state, k));
    }
}

TEST(Input, TheStickCountsPastHalfWayAndLetsGoBelowAThird) {
    input::InputState state;
    input::padStick(state, 0, 12000); // not yet
    EXPECT_FALSE(input::check(state, Key::Right));
    input::padStick(state, 0, 20000);
    EXPECT_TRUE(input::check(state, Key::Right));
    input::padStick(state, 0, 12000); // still held: above the release point
    EXPECT_TRUE(input::check(state, Key::Right));
    input::padStick(state, 0, 5000);
    EXPECT_FALSE(input::check(state, Key::Right));
    input::padStick(state, 1, -32768);
    EXPECT_TRUE(input::check(state, Key::Up));
    EXPECT_FALSE(input::check(state, Key::Down));
    input::padStick(state, 1, 32767); // straight from up to down
    EXPECT_FALSE(input::check(state, Key::Up));
    EXPECT_TRUE(input::check(state, Key::Down));
    input::padStick(state, 0, -32768);
    EXPECT_TRUE(input::check(state, Key::Left));
}

TEST(Input, KeyboardAndPadTogetherAndFocusLoss) {
    input::InputState state;
    input::setDown(state, input::KeyboardReturn, true);
    input::padButton(state, PadButton::A, true);
    input::setDown(state, input::KeyboardReturn, false);
    EXPECT_TRUE(input::check(state, Key::Enter)); // the pad still holds it
    EXPECT_TRUE(input::check(state, Key::Enter));
    input::padButton(state, PadButton::A, false);
    EXPECT_FALSE(input::check(state, Key::Enter));

    // Held keys go up when the window loses the focus; a press not yet asked for still counts.
    input::setDown(state, input::KeyboardLeft, true);
    input::setDown(state, input::KeyboardUp, true);
    EXPECT_TRUE(input::check(state, Key::Left));
    input::releaseAll(state);
    EXPECT_FALSE(input::check(state, Key::Left));
    EXPECT_TRUE(input::check(state, Key::Up));
    EXPECT_FALSE(input::check(state, Key::Up));

    // A key held down by the keyboard's repeat is one press.
    input::setDown(state, input::KeyboardDown, true);
    EXPECT_TRUE(input::check(state, Key::Down));
    input::setDown(state, input::KeyboardDown, true);
    input::setDown(state, input::KeyboardDown, false);
    EXPECT_FALSE(input::check(state, Key::Down));
}

} // namespace
