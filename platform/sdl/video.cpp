// The SDL platform's window: bringing up the video system where there is something to show the
// game on, opening the window full screen on the desktop's own mode with the player's settings
// and the present chosen for the machine, switching between full screen and a window, and
// closing it with everything the platform opened.

#include "platform/platform.h"
#include "platform/sdl/sdl_state.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace platform::detail {

SdlState sdl;

namespace {

bool fullScreen = true;
// False on an X display with no window manager: nobody is there to grant full screen, so the
// borderless window of the desktop's size is the full screen (asking SDL for it would only wait
// 100 ms for an answer that never comes).
bool askForFullScreen = true;

// The window's size for windowed play: the largest whole multiple of 640 x 480 that fits the
// desktop's usable area with room for the window's frame.
void windowedSize(int& width, int& height) {
    SDL_Rect usable{0, 0, ScreenWidth, ScreenHeight};
    SDL_GetDisplayUsableBounds(SDL_GetWindowDisplayIndex(sdl.window), &usable);
    constexpr int FrameRoom = 64;
    int scale = std::max(
        1, std::min((usable.w - FrameRoom) / ScreenWidth, (usable.h - FrameRoom) / ScreenHeight));
    width = ScreenWidth * scale;
    height = ScreenHeight * scale;
}

// True when the display has an EWMH window manager, which grants full screen on request.
bool hasWindowManager(SDL_Window* window) {
#if defined(SDL_VIDEO_DRIVER_X11) && defined(ZANBURY_X11)
    SDL_SysWMinfo wm;
    SDL_VERSION(&wm.version);
    if (SDL_GetWindowWMInfo(window, &wm) == SDL_TRUE && wm.subsystem == SDL_SYSWM_X11) {
        Display* display = wm.info.x11.display;
        Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
        if (check == None) {
            return false;
        }
        Atom type = None;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char* value = nullptr;
        XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, XA_WINDOW,
                           &type, &format, &count, &after, &value);
        bool found = value != nullptr && type == XA_WINDOW && count == 1;
        if (value != nullptr) {
            XFree(value);
        }
        return found;
    }
#else
    (void)window;
#endif
    return true;
}

// The video drivers that draw into memory alone. SDL falls back to offscreen when no display
// server can be reached; dummy and evdev (the dummy with the console's keyboard) only come when
// asked for.
bool drawsIntoMemory(std::string_view driver) {
    return driver == "offscreen" || driver == "dummy" || driver == "evdev";
}

// Whether SDL_VIDEODRIVER, one name or a comma-separated list, names this driver; SDL compares
// the names without regard to case.
bool askedFor(std::string_view driver) {
    const char* hint = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    std::string_view asked = hint == nullptr ? "" : hint;
    while (!asked.empty()) {
        std::string_view name = asked.substr(0, asked.find(','));
        if (name.size() == driver.size() &&
            SDL_strncasecmp(name.data(), driver.data(), driver.size()) == 0) {
            return true;
        }
        asked.remove_prefix(std::min(asked.size(), name.size() + 1));
    }
    return false;
}

// Borderless at (0, 0) with the desktop's size, and full screen where that can be asked for.
void coverScreen() {
    SDL_DisplayMode desktop{};
    SDL_GetDesktopDisplayMode(SDL_GetWindowDisplayIndex(sdl.window), &desktop);
    SDL_SetWindowBordered(sdl.window, SDL_FALSE);
    SDL_SetWindowPosition(sdl.window, 0, 0);
    SDL_SetWindowSize(sdl.window, desktop.w, desktop.h);
    if (askForFullScreen) {
        SDL_SetWindowFullscreen(sdl.window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    }
}

} // namespace

void toggleFullScreen() {
    bool full = fullScreen;
    fullScreen = !full;
    sdl.repaintAll = true;
    if (full) {
        SDL_SetWindowFullscreen(sdl.window, 0);
        int width = 0;
        int height = 0;
        windowedSize(width, height);
        SDL_SetWindowBordered(sdl.window, SDL_TRUE);
        SDL_SetWindowResizable(sdl.window, SDL_TRUE);
        SDL_SetWindowSize(sdl.window, width, height);
        SDL_SetWindowPosition(sdl.window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    } else {
        coverScreen();
    }
    SDL_ShowCursor(SDL_DISABLE);
}

} // namespace platform::detail

namespace platform {

using detail::sdl;

bool openVideo() {
    if (SDL_WasInit(SDL_INIT_VIDEO) != 0) {
        return true; // brought up and found to show something already
    }
    detail::quietenWayland(true);
    int started = SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    detail::quietenWayland(false);
    detail::watchForHangUp(); // after SDL's own handlers of SIGTERM and SIGINT
    if (started != 0) {
        std::fprintf(stderr, "zanbury: cannot start the video system: %s\n", SDL_GetError());
        return false;
    }
    // Without this check the game would run its title into memory for ever, unseen, waiting for
    // keys that cannot come.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver != nullptr && detail::drawsIntoMemory(driver) && !detail::askedFor(driver)) {
        const char* display = std::getenv("DISPLAY");
        if (display != nullptr && display[0] != '\0') {
            std::fprintf(stderr,
                         "zanbury: no display to show the game on: the display \"%s\" named by "
                         "DISPLAY cannot be opened\n",
                         display);
        } else {
            std::fprintf(stderr, "zanbury: no display to show the game on: start it from a "
                                 "graphical session, or set DISPLAY\n");
        }
        SDL_Quit();
        return false;
    }
    return true;
}

bool openWindow(const char* caption) {
    if (!openVideo()) {
        return false;
    }
    detail::loadPlayerSettings();
    const bool gpu = detail::presentOnGpu();
    // Without the GPU, on X the window surface is to be plain memory shared with the display
    // server, not a texture of a renderer that SDL would make behind it. Other video drivers
    // (Wayland) have no such memory; there SDL's texture stands behind the window surface, one
    // upload a present.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver != nullptr && std::strcmp(driver, "x11") == 0) {
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    }
    // Full screen on the desktop's own mode. The window is made the desktop's size from the
    // start, so that it covers the screen even where no window manager honours full screen.
    SDL_DisplayMode desktop{};
    int width = ScreenWidth;
    int height = ScreenHeight;
    if (SDL_GetDesktopDisplayMode(0, &desktop) == 0 && desktop.w >= ScreenWidth &&
        desktop.h >= ScreenHeight) {
        width = desktop.w;
        height = desktop.h;
    }
    sdl.window =
        SDL_CreateWindow(caption, 0, 0, width, height, SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS);
    if (sdl.window == nullptr) {
        std::fprintf(stderr, "zanbury: cannot open the window: %s\n", SDL_GetError());
        return false;
    }
    if (gpu) {
        // The renderer may make the window anew (for OpenGL), so before the watch takes its id.
        detail::openGpu(); // without it the window surface serves
    }
    detail::watchForWindowLoss();
    detail::askForFullScreen = detail::hasWindowManager(sdl.window);
    if (detail::askForFullScreen) {
        SDL_SetWindowFullscreen(sdl.window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    }
    detail::fullScreen = true;
    SDL_ShowWindow(sdl.window);
    // A window that SDL cannot draw into (on a display of 8 bits a pixel, for one) would leave
    // the game running unseen.
    if (sdl.renderer == nullptr && SDL_GetWindowSurface(sdl.window) == nullptr) {
        std::fprintf(stderr, "zanbury: cannot open the window: %s\n", SDL_GetError());
        return false;
    }
    detail::openPresent();
    SDL_ShowCursor(SDL_DISABLE);
    detail::openAudio();
    detail::openPads();
    return true;
}

void closeWindow() {
    detail::closeAudio();
    detail::closePads();
    detail::closePresent();
    if (sdl.window != nullptr) {
        SDL_DestroyWindow(sdl.window);
        sdl.window = nullptr;
        detail::endWatchForWindowLoss();
    }
    SDL_Quit();
}

} // namespace platform
