// The SDL platform with the player's own keys (WASD and Space, in a settings file read when the
// window opens): the first park's replay, its keys sent as the bound keys, gives the key check
// the very answers that the replay's own keys give, pass by pass, so that the game, which reads
// keys only through the key check, plays it to the same trace; the arrows no longer act, and a
// bad binding is said on standard error with the default standing for it.

#include "app/script.h"
#include "platform/input.h"
#include "platform/platform.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

using platform::Key;

namespace {

namespace fs = std::filesystem;

fs::path configHome() {
    return fs::temp_directory_path() / ("zanbury-bindings-" + std::to_string(getpid()));
}

void send(Uint32 type, SDL_Scancode code) {
    SDL_Event e{};
    e.type = type;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.scancode = code;
    e.key.keysym.sym = SDL_GetKeyFromScancode(code);
    SDL_PushEvent(&e);
}

TEST(SdlBindings, ReboundKeysPlayTheFirstParksReplayAsItsOwnKeysDo) {
    fs::remove_all(configHome());
    fs::create_directories(configHome() / "zanbury");
    std::ofstream(configHome() / "zanbury/settings.conf")
        << "key.up = W\nkey.down = S\nkey.left = A\nkey.right = D\nkey.enter = Space\n"
           "key.escape = Nowhere\n";
    setenv("XDG_CONFIG_HOME", configHome().c_str(), 1);
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    testing::internal::CaptureStderr();
    ASSERT_TRUE(platform::openWindow("Zanbury test"));
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("settings.conf:6: key.escape names no key ('Nowhere'): Escape stands "
                        "for it, as by default"),
              std::string::npos)
        << said;
    EXPECT_EQ(platform::keyNames(Key::Up, false), "W");

    std::ifstream in(std::string(ZANBURY_SOURCE_DIR) + "/tests/replays/harbour-front.txt");
    std::stringstream text;
    text << in.rdbuf();
    std::vector<script::Event> events;
    std::string error;
    ASSERT_TRUE(script::parse(text.str(), "harbour-front.txt", events, error)) << error;
    ASSERT_GT(events.size(), 10u);

    const SDL_Scancode bound[] = {SDL_SCANCODE_W, SDL_SCANCODE_S,     SDL_SCANCODE_A,
                                  SDL_SCANCODE_D, SDL_SCANCODE_SPACE, SDL_SCANCODE_ESCAPE};
    const Key keys[] = {Key::Up, Key::Down, Key::Left, Key::Right, Key::Enter, Key::Escape};
    input::InputState own; // the replay's keys as they are
    std::size_t next = 0;
    const int64_t last = events.back().frame + 5;
    int answers = 0;
    for (int64_t pass = 1; pass <= last; ++pass) {
        for (; next < events.size() && events[next].frame == pass; ++next) {
            const script::Event& e = events[next];
            input::move(own, e.key, e.action);
            const SDL_Scancode code = bound[static_cast<int>(e.key)];
            switch (e.action) {
            case platform::KeyMove::Press:
                send(SDL_KEYDOWN, code);
                break;
            case platform::KeyMove::Release:
                send(SDL_KEYUP, code);
                break;
            case platform::KeyMove::Tap:
                send(SDL_KEYUP, code);
                send(SDL_KEYDOWN, code);
                send(SDL_KEYUP, code);
                break;
            case platform::KeyMove::Forget:
                platform::keyCheck(e.key); // a query forgets, as the script's move does
                break;
            }
        }
        ASSERT_TRUE(platform::pumpEvents());
        for (Key k : keys) {
            const bool mine = platform::keyCheck(k);
            ASSERT_EQ(mine, input::check(own, k)) << "pass " << pass;
            answers += mine ? 1 : 0;
        }
    }
    EXPECT_GT(answers, 10);

    // The arrows are no keys of the game's now; Escape, which kept its default, still is.
    send(SDL_KEYDOWN, SDL_SCANCODE_UP);
    send(SDL_KEYDOWN, SDL_SCANCODE_ESCAPE);
    ASSERT_TRUE(platform::pumpEvents());
    EXPECT_FALSE(platform::keyCheck(Key::Up));
    EXPECT_TRUE(platform::keyCheck(Key::Escape));
    platform::closeWindow();
    fs::remove_all(configHome());
}

} // namespace
