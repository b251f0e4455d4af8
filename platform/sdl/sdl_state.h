#pragma once
// What the SDL platform's files share: the window and its renderer, whether the next present
// repaints it whole, the key check's input state, the player's settings, the pause request and
// the game's clock, and the calls from one file's job into another's. Each file keeps the rest of
// its state to itself. Nothing outside platform/sdl/ sees this.

#include "platform/bindings.h"
#include "platform/held_clock.h"
#include "platform/input.h"
#include "platform/platform.h"
#include "platform/settings.h"

#include <SDL.h>

#include <string>

namespace platform::detail {

struct SdlState {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr; // the GPU present's; none for the window surface's
    bool repaintAll = true;           // the next present paints the borders and hands over all
    uint32_t lastTick = 0;       // tickCount's last answer: the page is told the pacer's own read
    input::InputState input;     // fed by the keyboard (events.cpp) and the pads (pads.cpp)
    settings::Settings settings; // the player's, from settingsPath (choices.cpp)
    std::string settingsPath;
    bool pauseAllowed = false;
    PauseRequest pauseRequest = PauseRequest::None;
    HeldClock clock; // the game's clock over SDL's tick count (timer.cpp)
    // During a replay the key check reads the recording's keys here instead of the player's.
    bool scripted = false;
    input::InputState scriptedInput;
    bindings::Bindings bindings; // the player's keys, from the settings (bindings.cpp)
    bool keysShown = false;      // F1, or a pad's Back held: the keys card is over the picture
    bool pausedForKeys = false;  // play was paused by showing it, and resumes when it goes
    const char* note = nullptr;  // "Sound off", "Look: sharp": shown for a second from noteTick
    uint32_t noteTick = 0;
};

extern SdlState sdl;

// video.cpp: F11 and Alt+Enter switch between full screen and a window.
void toggleFullScreen();

// window_loss.cpp: after the window is made, errors about it from the display server are taken
// as its loss rather than ending the process; windowLost says whether it has been lost. The
// watch ends once the window has been destroyed, before the video system closes.
void watchForWindowLoss();
bool windowLost();
void endWatchForWindowLoss();

// hang_up.cpp: from watchForHangUp on, a SIGHUP (the terminal closed) is noted rather than
// ending the process; hungUp says whether one came, and the event pump then ends the game.
void watchForHangUp();
bool hungUp();

// present.cpp: a new window's first present repaints it whole; closing forgets the window's
// surface and format and frees what the present made.
void openPresent();
void closePresent();

// present_path.cpp: whether to present through the GPU's renderer, from ZANBURY_PRESENT, the
// machine and the settings (probing the renderer once where they cannot tell); with
// ZANBURY_VERBOSE=1 the choice and its reason go to standard error.
bool presentOnGpu();
// gpu_device_posix.cpp / gpu_device_windows.cpp: whether this video driver on this machine may
// have a GPU for the renderer, judged without making one; when not, `why` says what was found.
bool gpuMayBeThere(const char* driver, std::string& why);

// present_gpu.cpp: the renderer's present. openGpu makes the renderer for the window; false,
// with the reason given, when it cannot (the window surface then serves).
bool openGpu();
void closeGpu();
void presentThroughGpu(const uint16_t* pixels, int pitchBytes, const Overlays& overlays);

// choices.cpp: the settings read when the window opens; F10 and M while the game runs, each
// change written to the settings file; the pause requests; whether ZANBURY_VERBOSE=1 asks for the
// platform's choices on standard error.
bool verbose();
void loadPlayerSettings();
void saveChoices();
void nextLook();
void toggleMute();
void requestPause(PauseRequest request);

// bindings.cpp: the player's keys resolved from the settings with SDL's names of keys and pad
// inputs, each bad binding said on standard error; a gamecontrollerdb.txt in the settings'
// directory adds the player's own pad mappings. Called when the settings are read.
void bindKeys();
void addPadMappings();
// The code of an axis's direction in the pad bindings (a button's code is its SDL number).
int padAxisCode(int axis, bool positive);
// keys.cpp: the keys card shown or taken away (F1, a pad's Back), pausing play while it shows;
// the note of a choice made (M, F10), shown for a second.
void showKeys(bool shown);
void noteChoice(const char* text);

// audio.cpp: the one audio device, or none (the game is then silent).
void openAudio();
void closeAudio();
// Cuts off the sound playing (muting).
void stopSounds();

// quiet_posix.cpp (quiet_windows.cpp has nothing to quieten): while true, the complaints of
// alsa-lib (the audio device is being opened) or of libwayland-client (the video system is looking
// for a display) are dropped.
void quietenAlsa(bool quiet);
void quietenWayland(bool quiet);

// pads.cpp: the game controller subsystem, the pads' events (plugging in and out, buttons, the
// left stick; Start asks to pause while pausing is allowed), letting go of everything the pads hold
// (the window lost the focus), and closing every pad.
// The page's touch buttons (platform/web/touch.cpp, the browser alone): what they did since the
// last pass, fed to the key check where the keyboard's events are, before the pass looks.
void takeTouches();

void openPads();
void padEvent(const SDL_Event& event);
void letGoOfPads();
void closePads();

} // namespace platform::detail
