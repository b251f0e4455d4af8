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
