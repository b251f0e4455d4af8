#pragma once
// What the display's files share: its surfaces. Nothing outside display/ sees this.

#include "display/keyed.h"

#include <SDL.h>

#include <string>
#include <vector>

namespace display::detail {

struct DisplayState {
    SDL_Surface* backBuffer = nullptr; // 640 x 480 RGB565, never cleared
    SDL_Surface* sheet = nullptr;      // the sprite sheet in the back buffer's format
    SDL_Surface* backdrop = nullptr;   // the backdrop in the back buffer's format
    Uint32 key = 0;                    // pure green in the back buffer's format
    KeyedPicture keyedSheet;           // the sheet's pixels that are not the key, as runs
    std::vector<uint16_t> sign;        // the "Paused" sign, signWidth pixels a row
    int32_t signWidth = 0;
    struct MadeCard {
        std::vector<std::string> lines;
        std::vector<uint16_t> pixels;
        int32_t width = 0;
    };
    MadeCard cards[3]; // one for each display::Card
};

DisplayState& state();

// Loads a picture by name: the executable's resource of that name, else a BMP file of exactly
// that name in the working directory. The result is converted to the back buffer's format;
// nullptr when neither can be had.
SDL_Surface* loadBitmapSurface(const char* name, bool useResource);

bool openText(std::string& problem);
void closeText();
// Text into a picture of the display's own (width x height, rows packed), cut at its edges; the
// width of a text and the height of the tallest glyph, in pixels.
void drawTextOn(const char* s, int32_t x, int32_t y, uint16_t* pixels, int32_t width,
                int32_t height);
int32_t textWidth(const char* s);
int32_t textHeight();
// The "Paused" sign, into `sign` (overlays.cpp); the text must be open.
void makeSign();
void openSounds();

} // namespace display::detail
