#pragma once
// The colours of the pictures. None of them is near the key green.

#include "tools/artgen/raster.h"

namespace artgen::palette {

inline constexpr Rgb Outline{22, 18, 26};

inline constexpr Shade Skin{{252, 212, 172}, {234, 176, 130}, {188, 126, 86}};
inline constexpr Shade CapRed{{255, 96, 84}, {218, 32, 32}, {146, 14, 22}};
inline constexpr Rgb CapPeakShadow{110, 8, 16}; // under the cap's peak, darker than CapRed.dark
inline constexpr Shade Shirt{{202, 204, 210}, {156, 158, 166}, {106, 108, 118}};
inline constexpr Shade Jeans{{96, 138, 222}, {52, 88, 184}, {30, 50, 122}};
inline constexpr Shade Shoe{{96, 96, 108}, {62, 62, 72}, {40, 40, 48}};
inline constexpr Shade Hair{{132, 86, 48}, {100, 62, 32}, {70, 42, 22}};
inline constexpr Rgb Sole{236, 236, 232};
inline constexpr Rgb Eye{30, 24, 40};
inline constexpr Rgb Mouth{160, 70, 60};
inline constexpr Rgb Belt{70, 44, 28};
inline constexpr Rgb Buckle{214, 190, 90};

inline constexpr Shade BoardRed{{250, 86, 70}, {206, 28, 30}, {138, 12, 20}};
inline constexpr Shade GripTape{{112, 112, 120}, {84, 84, 92}, {58, 58, 66}};
inline constexpr Shade Wheel{{255, 255, 255}, {240, 238, 230}, {196, 192, 184}};
inline constexpr Shade Truck{{226, 228, 234}, {188, 190, 198}, {132, 134, 144}};
inline constexpr Rgb Deck{16, 14, 18};

inline constexpr Shade LetterRed{{255, 108, 88}, {224, 34, 30}, {150, 12, 16}};
inline constexpr Rgb LetterOutline{0, 0, 0};
inline constexpr Shade DotBlue{{120, 176, 255}, {36, 92, 226}, {18, 44, 140}};

inline constexpr Shade Concrete{{198, 198, 192}, {160, 160, 156}, {112, 112, 110}};
inline constexpr Shade Metal{{236, 240, 246}, {170, 176, 188}, {98, 104, 118}};
inline constexpr Shade Hydrant{{255, 104, 84}, {214, 34, 28}, {134, 14, 16}};
inline constexpr Shade Grass{{70, 150, 52}, {38, 110, 34}, {20, 70, 24}};

} // namespace artgen::palette
