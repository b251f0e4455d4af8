// The SDL platform's message box, for the reasons the game cannot start, where an X or Wayland
// display is there to show it.

#include "platform/platform.h"

#include <SDL.h>

#include <cstdlib>

namespace platform {
namespace {

bool named(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr && value[0] != '\0';
}

// Whether a window system is there to show a box: the video system is running, or a display
// is named. Without one SDL would only try and fail, or complain.
bool windowSystemPresent() {
    return SDL_WasInit(SDL_INIT_VIDEO) != 0 || named("DISPLAY") || named("WAYLAND_DISPLAY");
}

} // namespace

void showErrorBox(const char* title, const char* message) {
    if (windowSystemPresent()) {
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title, message, nullptr);
    }
}

} // namespace platform
