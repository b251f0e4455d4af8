// Every input device keeps the key check's meaning: a pad button pressed and released between
// two frames counts once, at the next query of its key; keyboard and pad work together.

#include "platform/input.h"

#include <gtest/gtest.h>

#include <random>

using platform::Key;

namespace {

TEST(Input, EveryPlaceOfAKeyActsAsTheKey) {
    for (Key key : {Key::Up, Key::Down, Key::Left, Key::Right, Key::Enter, Key::Escape}) {
        for (input::Source source :
             {input::keyboardPlace(key, 0), input::keyboardPlace(key, 1), input::padPlace(key, 0),
              input::padPlace(key, 1), input::touchPlace(key)}) {
            input::InputState state;
            input::setDown(state, source, true);
            input::setDown(state, source, false);
            for (Key other : {Key::Up, Key::Down, Key::Left, Key::Right, Key::Enter, Key::Escape}) {
                if (other != key) {
                    EXPECT_FALSE(input::check(state, other));
                }
            }
            EXPECT_TRUE(input::check(state, key)); // pressed and released: counts once
            EXPECT_FALSE(input::check(state, key));
        }
    }
}

TEST(Input, TheStickCountsPastHalfWayAndLetsGoBelowAThird) {
    EXPECT_FALSE(input::axisHeld(false, 12000)); // not yet
    EXPECT_TRUE(input::axisHeld(false, 20000));
    EXPECT_TRUE(input::axisHeld(true, 12000)); // still held: above the release point
    EXPECT_FALSE(input::axisHeld(true, 5000));
    EXPECT_TRUE(input::axisHeld(false, 32767));
    EXPECT_FALSE(input::axisHeld(true, -32768));
}

TEST(Input, KeyboardAndPadTogetherAndFocusLoss) {
    input::InputState state;
    input::setDown(state, input::keyboardPlace(Key::Enter, 0), true);
    input::setDown(state, input::padPlace(Key::Enter, 0), true);
    input::setDown(state, input::keyboardPlace(Key::Enter, 0), false);
    EXPECT_TRUE(input::check(state, Key::Enter)); // the pad still holds it
    EXPECT_TRUE(input::check(state, Key::Enter));
    input::setDown(state, input::padPlace(Key::Enter, 0), false);
    EXPECT_FALSE(input::check(state, Key::Enter));

    // Held keys go up when the window loses the focus; a press not yet asked for still counts.
    input::setDown(state, input::keyboardPlace(Key::Left, 0), true);
    input::setDown(state, input::keyboardPlace(Key::Up, 0), true);
    EXPECT_TRUE(input::check(state, Key::Left));
    input::releaseAll(state);
    EXPECT_FALSE(input::check(state, Key::Left));
    EXPECT_TRUE(input::check(state, Key::Up));
    EXPECT_FALSE(input::check(state, Key::Up));

    // A key held down by the keyboard's repeat is one press.
    input::setDown(state, input::keyboardPlace(Key::Down, 0), true);
    EXPECT_TRUE(input::check(state, Key::Down));
    input::setDown(state, input::keyboardPlace(Key::Down, 0), true);
    input::setDown(state, input::keyboardPlace(Key::Down, 0), false);
    EXPECT_FALSE(input::check(state, Key::Down));
}

// A recording keeps, at the start of each pass, the moves that take each key's view from where
// the replay's keys stand to where the player's stand. Played on keyboard keys alone, they give
// the replay the same view, and so the same answer to every query, whatever the player did:
// keys pressed and let go within a pass, held across passes, pad and keyboard together, the
// window's focus lost.
TEST(Input, ARecordingsMovesGiveAReplayEveryViewOfTheKeys) {
    using platform::KeyView;
    for (int from = 0; from < 4; ++from) {
        for (int to = 0; to < 4; ++to) {
            const KeyView a{(from & 1) != 0, (from & 2) != 0};
            const KeyView b{(to & 1) != 0, (to & 2) != 0};
            input::InputState state;
            platform::KeyMove moves[2];
            for (const auto& [was, now] : {std::pair{KeyView{}, a}, std::pair{a, b}}) {
                const int n = input::movesBetween(was, now, moves);
                ASSERT_LE(n, 2);
                for (int i = 0; i < n; ++i) {
                    input::move(state, Key::Left, moves[i]);
                }
                ASSERT_EQ(input::view(state, Key::Left), now) << from << " to " << to;
            }
        }
    }

    const Key keys[] = {Key::Up, Key::Down, Key::Left, Key::Right, Key::Enter, Key::Escape};
    std::mt19937 random(16);
    input::InputState player;
    input::InputState replay;
    for (int pass = 0; pass < 3000; ++pass) {
        // Between two passes: a few events from any device.
        for (int n = static_cast<int>(random() % 4); n > 0; --n) {
            const int what = static_cast<int>(random() % (input::SourceCount + 1));
            const bool down = random() % 2 == 0;
            if (what < input::SourceCount) {
                input::setDown(player, static_cast<input::Source>(what), down);
            } else {
                input::releaseAll(player);
            }
        }
        for (Key k : keys) {
            platform::KeyMove moves[2];
            const int n =
                input::movesBetween(input::view(replay, k), input::view(player, k), moves);
            for (int i = 0; i < n; ++i) {
                input::move(replay, k, moves[i]);
            }
        }
        // The pass's handler asks for some keys, sometimes twice.
        for (Key k : keys) {
            for (int asks = static_cast<int>(random() % 3); asks > 0; --asks) {
                ASSERT_EQ(input::check(replay, k), input::check(player, k)) << "pass " << pass;
            }
        }
    }
}

} // namespace
