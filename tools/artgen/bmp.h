#pragma once
// The Windows bitmap form the game loads: a 14-byte file header, a 40-byte info header,
// 24 bits per pixel, no compression, no colour table, rows bottom-up and padded to 4 bytes.

#include "tools/artgen/bytes.h"
#include "tools/artgen/image.h"

namespace artgen {

Bytes encodeBmp(const Image& img);

} // namespace artgen
