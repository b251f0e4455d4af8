#pragma once
// Small pictures drawn pixel by pixel as rows of letters, one letter per pixel.

#include "tools/artgen/image.h"

#include <initializer_list>
#include <utility>

namespace artgen {

struct Ink {
    char letter;
    Rgb colour;
};

// Rows of equal length; '.' is key green, every other letter must be in the legend.
// Aborts on a letter the legend lacks, since that is a typo in a picture.
Image fromPixelMap(std::initializer_list<const char*> rows, std::initializer_list<Ink> legend);

} // namespace artgen
