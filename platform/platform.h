#pragma once
// The seam to the outside world: window, events, keys, time, sound and frame output.
// Exactly one implementation is linked into each program: the SDL platform (sdl/) for the game,
// headless_platform.cpp for the simulator and the tests.

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

enum class Key { Up, Down, Left, Right, Enter, Escape };
inline constexpr int KeyCount = 6;

inline constexpr int ScreenWidth = 640;
inline constexpr int ScreenHeight = 480;

// Brings up the video system and tells whether it can show anything: false, with one line on
// standard error, when it cannot start or when the only display it found draws into memory
// alone (no display server, a text console) and the player did not ask for that one through
// SDL_VIDEODRIVER. Start-up calls it before reading any file; openWindow calls it too.
bool openVideo();

// Brings up the one full-screen window with this caption and hides the mouse cursor.
// Returns false when no window can be had (the reason has gone to standard error).
bool openWindow(const char* caption);
void closeWindow();

// Shows why the game cannot start in a message box, for a player who started it from a desktop
// menu and sees no standard error. Tried only where a window system is there; with none, and on
// the headless platform, nothing is shown. Returns once the player has closed the box.
void showErrorBox(const char* title, const char* message);

// Handles every pending event. Returns false once the window has been asked to close
// (or the process to stop); the main loop then ends.
bool pumpEvents();

// Nonzero when the key is down now or went down since the previous query of that same key.
// Each query clears that key's went-down record.
bool keyCheck(Key key);

// What the key check would see of a key now, without asking (nothing is cleared): whether any
// of its sources is down, and whether any went down since the previous query. Between two
// passes only this view matters to the game, so a recording keeps its changes.
struct KeyView {
    bool down = false;
    bool wentDown = false;
    bool operator==(const KeyView&) const = default;
};
KeyView peekKey(Key key);

// A key's moves as a script names them: press (down and held), release, tap (down and up
// between two passes) and forget (the went-down record cleared, as a query clears it).
enum class KeyMove { Press, Release, Tap, Forget };

// Replays. While useScriptedKeys is on, the key check reads only the keys that scriptKey moves
// (all up when it is turned on), and the player's keys do not reach the game; the player's
// Escape (the key or a pad's) then makes pumpEvents answer false, as closing the window does.
// The headless platform's keys are always the scripted ones.
void useScriptedKeys(bool on);
void scriptKey(Key key, KeyMove move);

// Milliseconds from an arbitrary origin, unsigned 32-bit, wrapping.
uint32_t tickCount();

// The pacer's wait: sleepMs gives the processor away for about that many milliseconds,
// spinPause for a moment shorter than a tick (0.1 ms on SDL; on the headless clock, 1 ms).
void sleepMs(uint32_t ms);
void spinPause();

// A picture that the present draws over the frame, never into the back buffer: RGB565 rows
// (pitch in bytes), its pixels equal to `key` left out (-1: every pixel drawn).
struct Picture {
    const uint16_t* pixels = nullptr;
    int pitchBytes = 0;
    int width = 0;
    int height = 0;
    int32_t key = -1;
};

// What the present draws over the picture, each at a whole scale: `sign` centred on it, and
// `lives` copies of `life` in the black margin to its right or, where there is none, in its
// top-right corner (unless the player's settings leave the lives out); `card` and `note` unless
// the settings leave the standing out.
struct Overlays {
    Picture sign;
    Picture life;
    int lives = 0;
    Picture card; // where the player stands (the park, the score, the best), under the middle
    Picture note; // a choice just made, low in the picture
};

// Hands one finished 640 x 480 RGB565 picture to the screen; pitch in bytes. The picture fills
// the window in the look that the player chose (F10); the overlays go over it.
void presentFrame(const uint16_t* pixels, int pitchBytes, const Overlays& overlays = {});

// Pause. While pausing is allowed (the game allows it in play alone), P, the Pause key and a
// pad's Start ask to pause or resume, and the window losing the focus asks to pause; while it
// is not, these keys do nothing and a pad's Start is Enter. takePauseRequest gives the last
// request made since it was last called.
enum class PauseRequest { None, Toggle, Pause };
void allowPause(bool allowed);
PauseRequest takePauseRequest();
// While held, tickCount stands still; let go, it goes on from where it stood, the time held left
// out, so that the game sees no time pass.
void holdClock(bool held);
// Every key let go and every went-down record cleared: nothing pressed before acts afterwards.
void forgetKeys();
// Gives the processor away until an event comes, or for at most `ms` milliseconds.
void waitForEvents(uint32_t ms);

// The keys card: whether the player asks to see the keys now (F1 toggles it; a pad's Back shows
// it while held). The game pauses play while it shows (app/pause.h).
bool keysShown();
// The note of a choice the player has just made ("Sound off", "Look: sharp"), for a second after
// it; nullptr otherwise.
const char* currentNote();
// The names of the keys the player has bound to a game key, as the settings file gives them:
// "Up, W" for the keyboard, "dpup, lefty-" for a pad.
std::string keyNames(Key key, bool pad);

// Sounds: register a RIFF WAVE file once (the bytes stay valid for the whole run), then play it
// by its handle: asynchronously, one at a time, a new sound cutting off the one playing.
// With no audio device, registering still succeeds and playing is silent.
int registerSound(const char* name, const uint8_t* wav, std::size_t size);
void playSound(int handle);

} // namespace platform
