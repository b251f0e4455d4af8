#pragma once
// Keyed pictures: a 16-bit picture whose key-colour pixels are never drawn, encoded once as the
// runs of other pixels along each of its rows, so that a keyed blit of any area of the picture
// is a few row copies and never compares a pixel. Nothing outside display/ sees this.

#include "core/rect.h"

#include <cstdint>
#include <vector>

namespace display::detail {

struct KeyedPicture {
    struct Run {
        uint16_t begin; // first column of the run
        uint16_t end;   // the column after its last
    };
    const uint16_t* pixels = nullptr; // the picture itself, which must outlive this
    int32_t pitchPixels = 0;
    std::vector<Run> runs;          // row after row, each row's runs left to right
    std::vector<uint32_t> rowFirst; // row y's runs are runs[rowFirst[y]] .. runs[rowFirst[y + 1]]
};

// Encodes a width x height picture of 16-bit pixels, rows pitchPixels apart; pixels equal to
// key are left out. At most 65535 columns.
KeyedPicture encodeKeyed(const uint16_t* pixels, int32_t width, int32_t height, int32_t pitchPixels,
                         uint16_t key);

// Copies the picture's non-key pixels inside src to (x, y) of the destination, whose rows are
// dstPitchPixels apart. The caller has checked that src lies within the picture and the
// destination area within the destination.
void blitKeyed(const KeyedPicture& picture, const Rect& src, uint16_t* dst, int32_t dstPitchPixels,
               int32_t x, int32_t y);

} // namespace display::detail
