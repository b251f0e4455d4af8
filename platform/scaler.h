#pragma once
// The software present's scaler: the 640 x 480 RGB565 picture into rows of 32-bit pixels of
// 8 bits a channel (the window's own format), widened through two tables while it is scaled.
// Plain memory, no SDL, so that the tests and the benchmarks use it as is.
//
// Sharp bilinear, as if in two steps: up by the largest whole factor that fits (each pixel a
// square), then linearly to the final size. Done in one: every output column (and row) is either
// a copy of one picture pixel or a blend of two neighbours, from a table made once per size; each
// picture row is widened once and scaled across once, and each output row is a copy of such a
// row or a blend of two.

#include "platform/platform.h"

#include <cstdint>
#include <vector>

namespace scaler {

// A picture pixel in the window's format is high[p >> 8] | low[p & 0xff].
struct Widen {
    uint32_t high[256] = {};
    uint32_t low[256] = {};
};
// The tables for a format whose channels are 8 bits at these shifts, alpha (if any) all ones;
// the 5- and 6-bit channels are widened by repeating their top bits (black 0, white 255).
Widen makeWiden(int redShift, int greenShift, int blueShift, uint32_t alphaMask);

inline uint32_t widen(const Widen& w, uint16_t pixel) {
    return w.high[pixel >> 8] | w.low[pixel & 0xffu];
}

// `count` pixels of a picture row widened into `to`.
inline void widenRow(const Widen& w, const uint16_t* from, uint32_t* to, int count) {
    for (int x = 0; x < count; ++x) {
        to[x] = widen(w, from[x]);
    }
}

// Row y of a picture whose rows are pitchBytes apart.
inline const uint16_t* pictureRow(const uint16_t* pixels, int pitchBytes, int y) {
    return reinterpret_cast<const uint16_t*>(reinterpret_cast<const uint8_t*>(pixels) +
                                             static_cast<std::ptrdiff_t>(y) * pitchBytes);
}

// One axis of the scale: for every output position, the picture position it copies, and the
// weight out of 256 of the next picture position blended in (0: a plain copy).
struct Axis {
    std::vector<uint16_t> from;
    std::vector<uint16_t> weight;
    // For each output position, the weights of its two pixels for each of their bytes: 256 less
    // the weight four times, then the weight four times.
    std::vector<uint16_t> byteWeight;
    int whole = 0; // the whole factor when every position is a plain copy at it, else 0
};
Axis sharpAxis(int pictureSize, int outputSize);

// The rows a scale keeps between presents: the widened picture row and two scaled rows.
struct Work {
    std::vector<uint32_t> wide;
    std::vector<uint32_t> rows[2];
    int rowOf[2] = {-1, -1}; // the picture row each scaled row holds
};

// Scales the picture (pitch in bytes) into `out` (the top-left of the output area, pitch in
// bytes), xs.from.size() x ys.from.size() pixels: every output row, or with `changed` (a flag
// per picture row) only the rows made from a changed picture row, the others left as they are.
void scale(const uint16_t* pixels, int pitchBytes, const Widen& widen, const Axis& xs,
           const Axis& ys, Work& work, uint32_t* out, int outPitchBytes,
           const uint8_t* changed = nullptr);

// Most of a frame's picture is the same as the last one's (the sky's plain rows, the floor), and
// at large sizes writing the output is the present's main cost. Sets changed[y] for each picture
// row that differs from `kept`, the copy of the last picture, and brings the copy up to date;
// every row counts as changed while the copy is empty. Returns the number of changed rows.
int markChangedRows(const uint16_t* pixels, int pitchBytes, std::vector<uint16_t>& kept,
                    std::vector<uint8_t>& changed);

// Whether output row y is made from a changed picture row.
inline bool madeFromChanged(const Axis& ys, const uint8_t* changed, std::size_t y) {
    const int from = ys.from[y];
    return changed[from] != 0 || (ys.weight[y] != 0 && changed[from + 1] != 0);
}

// Draws a picture over the output at (x, y), each pixel a factor x factor square, leaving out
// its key pixels and whatever falls outside width x height.
void drawOver(const platform::Picture& picture, const Widen& widen, int factor, int x, int y,
              uint32_t* out, int outPitchBytes, int width, int height);
// The same over an RGB565 picture, the pixels copied as they are.
void drawOver(const platform::Picture& picture, int factor, int x, int y, uint16_t* out,
              int outPitchBytes, int width, int height);

} // namespace scaler
