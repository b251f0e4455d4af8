// The SDL platform's watch for the window being destroyed by another program (a window manager's
// kill, `xdotool windowclose`): the display server then refuses every request about the window,
// and Xlib's default answer to such an error is to end the process with code 1. Those errors
// are taken as a close request instead, so the game ends through its orderly shutdown.

#include "platform/sdl/sdl_state.h"

#include <SDL.h>
#include <SDL_syswm.h>

namespace platform::detail {

#if defined(SDL_VIDEO_DRIVER_X11) && defined(ZANBURY_X11)

namespace {

XID watched = 0; // the X window of the game's window; 0 when none is watched
Display* display = nullptr;
bool gone = false;
int (*previousHandler)(Display*, XErrorEvent*) = nullptr;

// An error about the watched window means it is gone; any other goes to the handler before.
int onXError(Display* from, XErrorEvent* error) {
    if (watched != 0 && error->resourceid == watched &&
        (error->error_code == BadWindow || error->error_code == BadDrawable)) {
        gone = true;
        return 0;
    }
    return previousHandler != nullptr ? previousHandler(from, error) : 0;
}

} // namespace

void watchForWindowLoss() {
    gone = false;
    SDL_SysWMinfo wm;
    SDL_VERSION(&wm.version);
    if (SDL_GetWindowWMInfo(sdl.window, &wm) == SDL_TRUE && wm.subsystem == SDL_SYSWM_X11) {
        watched = wm.info.x11.window;
        display = wm.info.x11.display;
        if (previousHandler == nullptr) {
            previousHandler = XSetErrorHandler(onXError);
        }
    }
}

bool windowLost() {
    return gone;
}

void endWatchForWindowLoss() {
    if (display != nullptr && watched != 0) {
        // The errors of the window's own destruction, when it was already gone, arrive here
        // while the handler still takes them, not after SDL has put its own back.
        XSync(display, False);
    }
    watched = 0;
    display = nullptr;
}

#else

void watchForWindowLoss() {}

bool windowLost() {
    return false;
}

void endWatchForWindowLoss() {}

#endif

} // namespace platform::detail
