// The message box on Windows, for the reasons the game cannot start: Windows always has its
// desktop to show it on, and the game, a GUI program, has no standard error that a player sees.

#include "platform/platform.h"

#include <SDL.h>

namespace platform {

void showErrorBox(const char* title, const char* message) {
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title, message, nullptr);
}

} // namespace platform
