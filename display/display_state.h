#pragma once
// What the display's files share: its surfaces. Nothing outside display/ sees this.

#include "display/keyed.h"

#include <SDL.h>

#include <string>

namespace display::detail {

struct DisplayState {
    SDL_Surface* backBuffer = nullptr; // 640 x 480 RGB565, never cleared
    SDL_Surface* sheet = nullptr;      // the sprite sheet in the back buffer's format
    SDL_Surface* backdrop = nullptr;   // the backdrop in the back buffer's format
    Uint32 key = 0;                    // pure green in the back buffer's format
    KeyedPicture keyedSheet;           // the sheet's pixels that are not the key, as runs
};

DisplayState& state();

// Loads a picture by name: the executable's resource of that name, else a BMP file of exactly
// that name in the working directory. The result is converted to the back buffer's format;
// nullptr when neither can be had.
SDL_Surface* loadBitmapSurface(const char* name, bool useResource);

bool openText(std::string& problem);
void closeText();
void openSounds();

} // namespace display::detail
