// The key check of the SDL platform: down now or went down since the previous query of that
// key; each query clears the went-down record; every pending event is handled each pass.

#include "platform/platform.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

using platform::Key;

namespace {

class SdlKeysTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        ASSERT_TRUE(platform::openWindow("Zanbury test"));
    }
    static void TearDownTestSuite() { platform::closeWindow(); }

    void SetUp() override {
        // Forget whatever an earlier test left: every key up, no went-down record.
        for (SDL_Keycode code :
             {SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT, SDLK_RETURN, SDLK_KP_ENTER, SDLK_ESCAPE}) {
            send(SDL_KEYUP, code);
        }
        platform::pumpEvents();
        for (Key k : {Key::Up, Key::Down, Key::Left, Key::Right, Key::Enter, Key::Escape}) {
            platform::keyCheck(k);
        }
    }

    static void send(Uint32 type, SDL_Keycode code, Uint8 repeat = 0) {
        SDL_Event e{};
        e.type = type;
        e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        e.key.repeat = repeat;
        e.key.keysym.sym = code;
        e.key.keysym.scancode = SDL_GetScancodeFromKey(code);
        SDL_PushEvent(&e);
    }
};

TEST_F(SdlKeysTest, APressAndReleaseBetweenFramesCountsOnceAtTheNextQuery) {
    send(SDL_KEYDOWN, SDLK_UP);
    send(SDL_KEYUP, SDLK_UP);
    EXPECT_TRUE(platform::pumpEvents());
    EXPECT_FALSE(platform::keyCheck(Key::Down)); // another key's query clears nothing of Up
    EXPECT_TRUE(platform::keyCheck(Key::Up));
    EXPECT_FALSE(platform::keyCheck(Key::Up));
    platform::pumpEvents();
    EXPECT_FALSE(platform::keyCheck(Key::Up));
}

TEST_F(SdlKeysTest, AHeldKeyCountsAtEveryQuery) {
    send(SDL_KEYDOWN, SDLK_LEFT);
    platform::pumpEvents();
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(platform::keyCheck(Key::Left));
        send(SDL_KEYDOWN, SDLK_LEFT, 1); // the desktop's key repeat changes nothing
        platform::pumpEvents();
    }
    send(SDL_KEYUP, SDLK_LEFT);
    platform::pumpEvents();
    EXPECT_FALSE(platform::keyCheck(Key::Left));
}

TEST_F(SdlKeysTest, EveryPendingEventIsHandledInOnePass) {
    send(SDL_KEYDOWN, SDLK_DOWN);
    send(SDL_KEYUP, SDLK_DOWN);
    send(SDL_KEYDOWN, SDLK_RIGHT);
    send(SDL_KEYDOWN, SDLK_ESCAPE);
    send(SDL_KEYUP, SDLK_ESCAPE);
    platform::pumpEvents();
    EXPECT_TRUE(platform::keyCheck(Key::Down));
    EXPECT_TRUE(platform::keyCheck(Key::Right));
    EXPECT_TRUE(platform::keyCheck(Key::Escape));
    EXPECT_FALSE(platform::keyCheck(Key::Escape));
    EXPECT_TRUE(platform::keyCheck(Key::Right)); // still held
}

TEST_F(SdlKeysTest, ReturnAndKeypadEnterAreBothEnter) {
    send(SDL_KEYDOWN, SDLK_KP_ENTER);
    send(SDL_KEYUP, SDLK_KP_ENTER);
    platform::pumpEvents();
    EXPECT_TRUE(platform::keyCheck(Key::Enter));
    EXPECT_FALSE(platform::keyCheck(Key::Enter));
    send(SDL_KEYDOWN, SDLK_RETURN);
    platform::pumpEvents();
    EXPECT_TRUE(platform::keyCheck(Key::Enter));
    EXPECT_TRUE(platform::keyCheck(Key::Enter));
}

TEST_F(SdlKeysTest, ACloseRequestEndsTheLoop) {
    SDL_Event e{};
    e.type = SDL_QUIT;
    SDL_PushEvent(&e);
    EXPECT_FALSE(platform::pumpEvents());
    EXPECT_TRUE(platform::pumpEvents());
}

TEST_F(SdlKeysTest, TheTickCountMovesForwardAndSoundsNeverFail) {
    uint32_t before = platform::tickCount();
    platform::sleepMs(5);
    EXPECT_GE(platform::tickCount() - before, 5u);
    // A broken sound file and an unknown handle are silent, not errors.
    const uint8_t junk[4] = {1, 2, 3, 4};
    int handle = platform::registerSound("JUNK", junk, sizeof junk);
    platform::playSound(handle);
    platform::playSound(99);
}

} // namespace
