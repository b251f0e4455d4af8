// The browser platform's window: the video system on the page, one 640 x 480 window whose
// keyboard, focus and gamepad events SDL takes from the page, and closing it with everything the
// platform opened. The page itself shows the picture (present.cpp) and owns full screen.

#include "platform/platform.h"
#include "platform/sdl/sdl_state.h"
#include "platform/web/page.h"

#include <SDL.h>

#include <cstdio>

#include <sys/stat.h>

namespace platform::detail {

SdlState sdl;

// F11 and Alt+Enter are taken by the page's own key listener: a browser grants full screen only
// inside the handler of the key's own event, which has returned by the time SDL hands it on.
void toggleFullScreen() {}

} // namespace platform::detail

namespace platform {

using detail::sdl;

bool openVideo() {
    if (SDL_WasInit(SDL_INIT_VIDEO) != 0) {
        return true;
    }
    // Emscripten starts the program with a umask of 0777, which would give every file the game
    // makes (the high score's replacement keeps the umask's permissions) no permission at all,
    // and the next visit could not read it. A page has no other users: a desktop's 022.
    umask(022);
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        std::fprintf(stderr, "zanbury: cannot start the video system: %s\n", SDL_GetError());
        return false;
    }
    return true;
}

bool openWindow(const char* caption) {
    if (!openVideo()) {
        return false;
    }
    // The window is the page's hidden canvas, which SDL sizes and listens on; the picture is
    // drawn by the page, so no window surface is made.
    sdl.window = SDL_CreateWindow(caption, 0, 0, ScreenWidth, ScreenHeight, 0);
    if (sdl.window == nullptr) {
        std::fprintf(stderr, "zanbury: cannot open the window: %s\n", SDL_GetError());
        return false;
    }
    detail::loadPlayerSettings();
    detail::openPresent(); // which opens the sound device once the first picture is out
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
    }
    SDL_Quit();
    zanbury_page_closed(); // the page says that the game has ended and keeps what it wrote
}

} // namespace platform
