// The headless platform keeps the same key meaning as the real one, on a virtual clock.

#include "platform/headless.h"

#include <gtest/gtest.h>

using platform::Key;

namespace {

TEST(HeadlessPlatform, KeysFollowTheKeyCheckRule) {
    headless::reset(0);
    headless::tap(Key::Up);
    EXPECT_TRUE(platform::keyCheck(Key::Up));
    EXPECT_FALSE(platform::keyCheck(Key::Up));

    headless::press(Key::Down);
    headless::release(Key::Down); // pressed and released before the query
    EXPECT_TRUE(platform::keyCheck(Key::Down));
    EXPECT_FALSE(platform::keyCheck(Key::Down));

    headless::press(Key::Enter);
    EXPECT_TRUE(platform::keyCheck(Key::Enter));
    EXPECT_TRUE(platform::keyCheck(Key::Enter));
    headless::release(Key::Enter);
    EXPECT_FALSE(platform::keyCheck(Key::Enter));

    // A key already down cannot go down again: a second press leaves no went-down record
    // behind once the key is up. A tap of a held key lets it go and counts once.
    headless::press(Key::Left);
    EXPECT_TRUE(platform::keyCheck(Key::Left));
    headless::press(Key::Left);
    headless::release(Key::Left);
    EXPECT_FALSE(platform::keyCheck(Key::Left));
    headless::press(Key::Right);
    EXPECT_TRUE(platform::keyCheck(Key::Right));
    headless::tap(Key::Right);
    EXPECT_TRUE(platform::keyCheck(Key::Right));
    EXPECT_FALSE(platform::keyCheck(Key::Right));
}

TEST(HeadlessPlatform, SavedKeysAndClockComeBackExactly) {
    headless::reset(100);
    headless::press(Key::Up);
    headless::tap(Key::Escape);
    const headless::KeysAndClock saved = headless::saveKeysAndClock();
    EXPECT_TRUE(platform::keyCheck(Key::Escape));
    headless::release(Key::Up);
    headless::advanceClock(50);
    headless::restoreKeysAndClock(saved);
    EXPECT_EQ(platform::tickCount(), 100u);
    EXPECT_TRUE(platform::keyCheck(Key::Escape)); // the went-down record is back
    EXPECT_FALSE(platform::keyCheck(Key::Escape));
    EXPECT_TRUE(platform::keyCheck(Key::Up)); // and the held key
    headless::press(Key::Up);
    headless::release(Key::Up); // held at the save, so this press was no new one
    EXPECT_FALSE(platform::keyCheck(Key::Up));
}

TEST(HeadlessPlatform, ClockWrapsAndSoundsAreRecordedInOrder) {
    headless::reset(0xFFFFFFFFu);
    platform::sleepMs(2);
    EXPECT_EQ(platform::tickCount(), 1u);
    const uint8_t none[1] = {0};
    int hit = platform::registerSound("HIT", none, 1);
    int smack = platform::registerSound("SMACK", none, 1);
    EXPECT_EQ(platform::registerSound("HIT", none, 1), hit);
    EXPECT_EQ(headless::takeSounds(), "-");
    platform::playSound(hit);
    platform::playSound(smack);
    platform::playSound(hit);
    EXPECT_EQ(headless::takeSounds(), "HIT,SMACK,HIT");
    EXPECT_EQ(headless::takeSounds(), "-");
}

} // namespace
