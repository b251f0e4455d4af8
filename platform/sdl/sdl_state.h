#pragma once
// What the SDL platform's files share: the window, whether the next present repaints it whole,
// the key check's input state, and the calls from one file's job into another's. Each file keeps
// the rest of its state to itself. Nothing outside platform/sdl/ sees this.

#include "platform/input.h"

#include <SDL.h>

namespace platform::detail {

struct SdlState {
    SDL_Window* window = nullptr;
    bool repaintAll = true;  // the next present paints the borders and hands over all
    input::InputState input; // fed by the keyboard (events.cpp) and the pads (pads.cpp)
    // During a replay the key check reads the recording's keys here instead of the player's.
    bool scripted = false;
    input::InputState scriptedInput;
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

// present.cpp: a new window's first present repaints it whole; closing forgets the window's
// surface and format and frees what the present made.
void openPresent();
void closePresent();

// audio.cpp: the one audio device, or none (the game is then silent).
void openAudio();
void closeAudio();

// quiet.cpp: while true, the complaints of alsa-lib (the audio device is being opened) or of
// libwayland-client (the video system is looking for a display) are dropped.
void quietenAlsa(bool quiet);
void quietenWayland(bool quiet);

// pads.cpp: the game controller subsystem, the pads' events (plugging in and out, buttons, the
// left stick), letting go of everything the pads hold (the window lost the focus), and closing
// every pad.
void openPads();
void padEvent(const SDL_Event& event);
void letGoOfPads();
void closePads();

} // namespace platform::detail
