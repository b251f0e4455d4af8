#pragma once
// The 506 x 427 sprite sheet: every picture in its framed cell, on key green, the rest white.

#include "tools/artgen/image.h"

namespace artgen {

// Draws every picture into its cell. Stops the program if the atlas puts two cells in each
// other's way or a picture comes out with a colour near the key.
Image buildSheet();

} // namespace artgen
