#pragma once
// The display: the only place where pixels are made. One 640 x 480 RGB565 back buffer that keeps
// its contents from frame to frame (nothing clears it), the sprite sheet and the backdrop
// converted once to that format, and the drawing operations, which take effect in call order.

#include "core/rect.h"
#include "platform/platform.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace display {

// Brings up the back buffer, loads the pictures SPRITES and BACKGROUND (from the executable,
// or from a BMP file of exactly that name in the working directory when a resource is absent),
// sets the sheet's pure-green colour key and prepares the text glyphs and the sounds.
// The platform window must be open. Returns false, with the reason in `problem`, when a picture
// or the text glyphs cannot be had.
bool openDisplay(std::string& problem);
void closeDisplay();

// While the display is closed (before openDisplay, after closeDisplay or a failed open) every
// operation below is safe and has no effect on any picture: blits and text draw nothing, present
// presents nothing, backBufferPixel reads 0, setBackBufferPixel writes nothing and keyColour
// reads 0. The game's rules never read a pixel, so the autoplayer plays millions of frames with
// the display closed, and only the sounds are still asked for.

// The whole back buffer, and the whole backdrop.
inline constexpr Rect WholeScreen{0, 0, 640, 480};

// Copies the area of the sprite sheet to (x, y), leaving out pixels of the key colour.
// An empty area, one outside the sheet, or one whose destination does not lie wholly inside
// the back buffer draws nothing at all. Blits never clip.
void blitSprite(const Rect& src, int32_t x, int32_t y);
// The same for the backdrop, every pixel copied.
void blitBackdrop(const Rect& src, int32_t x, int32_t y);
// One line of black text on a transparent background, the top-left of its cell at (x, y);
// clipped by the back buffer.
void drawText(const char* text, int32_t x, int32_t y);
// Hands the whole back buffer to the screen with what is to be drawn over it there; the back
// buffer stays as it was.
void present(const platform::Overlays& overlays = {});

// Pictures for the present to draw over the frame, never into the back buffer: the "Paused"
// sign (black text in a black frame on white), and an area of the sprite sheet with its key.
// Both stay valid until the display closes; empty while it is closed or for an area that is
// not wholly inside the sheet.
platform::Picture pausedSign();
platform::Picture spritePicture(const Rect& area);
// A card of lines of text for the present, made as the "Paused" sign is: the keys card, where the
// player stands, a note of a choice. Each kind keeps its own picture, remade only when its lines
// change; it stays valid until the next call for that kind. Empty before the display opens.
enum class Card { Keys, Standing, Note };
platform::Picture card(Card kind, const std::vector<std::string>& lines);

// Plays the sound of that resource name ("HIT", "SMACK") in the background, cutting off any
// sound still playing; an unknown name or a missing audio device plays nothing.
void playSound(const char* name);
// The names of the sounds handed to the platform since the last call, in call order and
// comma-joined, into `out` (cut to `size` bytes); "-" when none. The trace line's sounds of a
// pass. Only the first 16 since the last call are kept, far more than a pass asks for.
void takeSoundsAsked(char* out, std::size_t size);

// The back buffer, for tests, the simulator and the benchmarks. A point outside the 640 x 480
// buffer reads 0 and is not written.
uint16_t backBufferPixel(int32_t x, int32_t y);
void setBackBufferPixel(int32_t x, int32_t y, uint16_t value);
// The display's 16-bit value of an RGB colour (RGB565, open or not), and the key value of the
// sprite sheet.
uint16_t mapColour(uint8_t r, uint8_t g, uint8_t b);
uint16_t keyColour();
// FNV-1a 32 over the whole back buffer, rows top to bottom, each pixel low byte first: the
// trace line's hash of the picture just presented. A closed display hashes a black picture.
uint32_t backBufferHash();

} // namespace display
