#pragma once
// The 640 x 480 backdrop: sky with clouds, the black ground line on row 432 and the pavement
// below it. It joins itself across its left and right edges, since the game scrolls it round.

#include "tools/artgen/image.h"

namespace artgen {

inline constexpr Rgb Sky{0, 128, 255};
inline constexpr Rgb Pavement{192, 192, 192};
inline constexpr Rgb SpeckDark{184, 184, 184};
inline constexpr Rgb SpeckLight{188, 188, 188};
inline constexpr int GroundRow = 432;

Image buildBackdrop();

} // namespace artgen
