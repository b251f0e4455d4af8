#pragma once
// The page's side of the browser platform: functions of web/bridge.js that the platform calls,
// and the one of the platform's that the page calls. Nothing outside platform/web/ sees these.

#include <cstdint>

extern "C" {

// Shows one 640 x 480 picture of RGB565 pixels, scaled by the page to its stage in the look
// (settings::Look as a number: sharp 0, whole 1, stretch 2); `tick` is the platform's tick count
// as the present began, which the page keeps for the measurement of the presents' spacing.
void zanbury_page_show(const uint16_t* rgb565, int width, int height, uint32_t tick, int look);

// Where the picture goes on a stage of width x height device pixels in the look: x, y, width and
// height, in a static array that the next call overwrites. The page calls it.
const int* zanbury_picture_box(int look, int width, int height);

// The game has ended: the page writes what the game left to the browser's storage and offers
// to play again.
void zanbury_page_closed();

// Shows why the game cannot start on the page, where a player reads it.
void zanbury_page_error(const char* title, const char* message);
}
