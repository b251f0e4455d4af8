#pragma once
// The page's side of the browser platform: functions of web/bridge.js that the platform calls.
// Nothing outside platform/web/ sees these.

#include <cstdint>

extern "C" {

// Shows one 640 x 480 picture of RGBA bytes (red first), scaled by the page to its stage in the
// look (settings::Look as a number: sharp 0, whole 1, stretch 2); `tick` is the platform's tick
// count as the present began, which the page keeps for the measurement of the presents' spacing.
void zanbury_page_show(const uint8_t* rgba, int width, int height, uint32_t tick, int look);

// The game has ended: the page writes what the game left to the browser's storage and offers
// to play again.
void zanbury_page_closed();

// Shows why the game cannot start on the page, where a player reads it.
void zanbury_page_error(const char* title, const char* message);
}
