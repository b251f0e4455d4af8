#pragma once
// The skateboard pictures: side views, end-on, from below and from above.

#include "tools/artgen/image.h"
#include "tools/artgen/raster.h"

namespace artgen {

Image drawBoardFlat();       // 53 x 8: level, deck line with raised nose and tail, wheels below
Image drawBoardNoseUp();     // 43 x 28: the right end up, wheels below
Image drawBoardNoseDown();   // 43 x 28: the right end down, wheels below
Image drawBoardUpsideDown(); // 43 x 28: the right end up, wheels above the deck
Image drawBoardUnderside(); // 45 x 31: from below, red, two white trucks, lower left to upper right
Image drawBoardGripTop();   // 46 x 32: from above, grey grip tape, lower left to upper right
Image drawBoardEndOn();     // 14 x 7: the red deck's edge above a truck with two wheels

// The red underside of a board with its trucks, from tail to nose, into an existing picture
// (the title skater holds one upright).
void paintUnderside(Image& img, Point tail, Point nose, double halfWidth);

} // namespace artgen
