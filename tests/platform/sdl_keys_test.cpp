// The key check of the SDL platform: down now or went down since the previous query of that
// key; each query clears the went-down record; every pending event is handled each pass.

#include "platform/platform.h"
#include "platform/sdl/diagnostics.h"
#include "tests/platform/sdl_window_fixture.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <vector>

using platform::Key;

namespace {

class SdlKeysTest : public platform_tests::SdlWindowTest {
  protected:
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

TEST_F(SdlKeysTest, DuringAReplayOnlyItsKeysCountAndThePlayersEscapeStopsIt) {
    send(SDL_KEYDOWN, SDLK_LEFT); // held by the player as the replay starts
    platform::pumpEvents();
    platform::useScriptedKeys(true);
    send(SDL_KEYDOWN, SDLK_UP);
    EXPECT_TRUE(platform::pumpEvents());
    EXPECT_FALSE(platform::keyCheck(Key::Up));
    EXPECT_FALSE(platform::keyCheck(Key::Left));
    platform::scriptKey(Key::Down, platform::KeyMove::Tap);
    EXPECT_EQ(platform::peekKey(Key::Down), (platform::KeyView{false, true}));
    EXPECT_TRUE(platform::keyCheck(Key::Down));
    EXPECT_EQ(platform::peekKey(Key::Down), (platform::KeyView{false, false}));
    send(SDL_KEYDOWN, SDLK_ESCAPE);
    send(SDL_KEYUP, SDLK_ESCAPE);
    EXPECT_FALSE(platform::pumpEvents());
    EXPECT_FALSE(platform::keyCheck(Key::Escape));
    platform::useScriptedKeys(false);
    EXPECT_TRUE(platform::keyCheck(Key::Up)); // the player's keys again
    send(SDL_KEYUP, SDLK_UP);
    send(SDL_KEYUP, SDLK_LEFT);
    platform::pumpEvents();
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

// A WAVE file of that many silent 4-byte frames, 44.1 kHz stereo 16-bit.
std::vector<uint8_t> silentWave(uint32_t frames) {
    std::vector<uint8_t> w;
    auto u32 = [&w](uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            w.push_back(static_cast<uint8_t>(v >> (8 * i)));
        }
    };
    auto u16 = [&w](uint32_t v) {
        w.push_back(static_cast<uint8_t>(v));
        w.push_back(static_cast<uint8_t>(v >> 8));
    };
    auto tag = [&w](const char* t) {
        for (int i = 0; i < 4; ++i) {
            w.push_back(static_cast<uint8_t>(t[i]));
        }
    };
    tag("RIFF");
    u32(36 + frames * 4);
    tag("WAVE");
    tag("fmt ");
    u32(16);
    u16(1);
    u16(2);
    u32(44100);
    u32(44100 * 4);
    u16(4);
    u16(16);
    tag("data");
    u32(frames * 4);
    w.resize(w.size() + frames * 4, 0);
    return w;
}

TEST_F(SdlKeysTest, ANewSoundCutsOffTheOnePlaying) {
    if (platform::queuedSoundBytes() == 0 && SDL_GetCurrentAudioDriver() == nullptr) {
        GTEST_SKIP() << "no audio driver at all";
    }
    std::vector<uint8_t> longer = silentWave(20000);
    std::vector<uint8_t> shorter = silentWave(5000);
    int first = platform::registerSound("LONG", longer.data(), longer.size());
    int second = platform::registerSound("SHORT", shorter.data(), shorter.size());
    platform::playSound(first);
    uint32_t afterFirst = platform::queuedSoundBytes();
    platform::playSound(second);
    uint32_t afterSecond = platform::queuedSoundBytes();
    // The device may already have taken a little of the first; the second replaces the rest.
    EXPECT_GT(afterFirst, 20000u * 4 - 16384);
    EXPECT_LE(afterSecond, 5000u * 4);
    EXPECT_GT(afterSecond, 5000u * 4 - 16384);
    platform::playSound(second); // the same sound again starts from its beginning
    EXPECT_GT(platform::queuedSoundBytes(), 5000u * 4 - 16384);
    EXPECT_LE(platform::queuedSoundBytes(), 5000u * 4);
}

TEST_F(SdlKeysTest, PauseAndMuteKeysActOnlyWhereAllowedAndAreNoGameKeys) {
    using platform::PauseRequest;
    auto tapKey = [](SDL_Keycode code) {
        send(SDL_KEYDOWN, code);
        send(SDL_KEYUP, code);
        platform::pumpEvents();
    };
    platform::allowPause(false); // not in play: P does nothing
    tapKey(SDLK_p);
    EXPECT_EQ(platform::takePauseRequest(), PauseRequest::None);
    platform::allowPause(true);
    tapKey(SDLK_p);
    EXPECT_EQ(platform::takePauseRequest(), PauseRequest::Toggle);
    EXPECT_EQ(platform::takePauseRequest(), PauseRequest::None);
    tapKey(SDLK_PAUSE);
    EXPECT_EQ(platform::takePauseRequest(), PauseRequest::Toggle);
    SDL_Event focus{};
    focus.type = SDL_WINDOWEVENT;
    focus.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    SDL_PushEvent(&focus);
    platform::pumpEvents();
    EXPECT_EQ(platform::takePauseRequest(), PauseRequest::Pause);
    for (Key k : {Key::Up, Key::Down, Key::Left, Key::Right, Key::Enter, Key::Escape}) {
        EXPECT_FALSE(platform::keyCheck(k)); // neither P nor Pause is a game key
    }

    // Forgotten keys: a press made before does not count, nor does a key still held.
    send(SDL_KEYDOWN, SDLK_UP);
    send(SDL_KEYDOWN, SDLK_RIGHT);
    send(SDL_KEYUP, SDLK_RIGHT);
    platform::pumpEvents();
    platform::forgetKeys();
    EXPECT_FALSE(platform::keyCheck(Key::Up));
    EXPECT_FALSE(platform::keyCheck(Key::Right));
    platform::allowPause(false);

    // M mutes and unmutes, each time written to the settings file.
    auto settingsText = [] {
        std::ifstream in(settingsFile());
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    };
    tapKey(SDLK_m);
    EXPECT_NE(settingsText().find("mute = yes"), std::string::npos);
    tapKey(SDLK_m);
    EXPECT_NE(settingsText().find("mute = no"), std::string::npos);
}

} // namespace
