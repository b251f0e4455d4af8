#pragma once
// The obstacle pictures. Each fills its cell's inside down to the bottom row, where it stands
// on the ground, and blocks fill the whole inside, which the game treats as solid.

#include "core/rect.h"
#include "tools/artgen/image.h"

namespace artgen {

// The picture for an obstacle cell of the atlas, by the cell's name and the size of its
// inside (whose place also seeds the concrete, so that equal blocks differ); aborts on a name
// it does not know, so that a new cell is not left blank by mistake.
Image drawObstacle(const char* name, const Rect& cell);

} // namespace artgen
