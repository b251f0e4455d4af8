// The software present's scaler (see scaler.h): the tables, the axes of a sharp-bilinear scale,
// the scale itself with its fast path for whole factors, and the overlays drawn over its output.

#include "platform/scaler.h"

#include <algorithm>
#include <cstring>

namespace scaler {
namespace {

constexpr int W = platform::ScreenWidth;
constexpr int H = platform::ScreenHeight;

// a and b blended, b weighing w out of 256, rounded, all four bytes at once in two lanes of two:
// no lane can overflow into the next, since each byte's sum stays below 255 * 256 + 128.
inline uint32_t mix(uint32_t a, uint32_t b, uint32_t w) {
    const uint32_t v = 256 - w;
    const uint32_t even =
        ((a & 0x00FF00FFu) * v + (b & 0x00FF00FFu) * w + 0x00800080u) >> 8 & 0x00FF00FFu;
    const uint32_t odd =
        ((a >> 8 & 0x00FF00FFu) * v + (b >> 8 & 0x00FF00FFu) * w + 0x00800080u) & 0xFF00FF00u;
    return even | odd;
}

const uint16_t* pictureRow(const uint16_t* pixels, int pitchBytes, int y) {
    return reinterpret_cast<const uint16_t*>(reinterpret_cast<const uint8_t*>(pixels) +
                                             static_cast<std::ptrdiff_t>(y) * pitchBytes);
}

uint32_t* outRow(uint32_t* out, int outPitchBytes, int y) {
    return reinterpret_cast<uint32_t*>(reinterpret_cast<uint8_t*>(out) +
                                       static_cast<std::ptrdiff_t>(y) * outPitchBytes);
}

// Every picture pixel an xScale x yScale rectangle: each row converted and widened once, then
// copied down.
void scaleWhole(const uint16_t* pixels, int pitchBytes, const Widen& widen, int xScale, int yScale,
                uint32_t* out, int outPitchBytes) {
    const std::size_t rowBytes = static_cast<std::size_t>(W) * xScale * 4;
    for (int y = 0; y < H; ++y) {
        const uint16_t* from = pictureRow(pixels, pitchBytes, y);
        uint32_t* first = outRow(out, outPitchBytes, y * yScale);
        if (xScale == 1) {
            for (int x = 0; x < W; ++x) {
                first[x] = scaler::widen(widen, from[x]);
            }
        } else if (xScale == 2) {
            // The usual whole case on today's screens: each pixel twice, as one 64-bit store.
            for (int x = 0; x < W; ++x) {
                const uint64_t colour = scaler::widen(widen, from[x]);
                const uint64_t pair = colour | colour << 32;
                std::memcpy(first + 2 * x, &pair, sizeof pair);
            }
        } else {
            uint32_t* to = first;
            for (int x = 0; x < W; ++x) {
                const uint32_t colour = scaler::widen(widen, from[x]);
                for (int k = 0; k < xScale; ++k) {
                    *to++ = colour;
                }
            }
        }
        for (int k = 1; k < yScale; ++k) {
            std::memcpy(outRow(out, outPitchBytes, y * yScale + k), first, rowBytes);
        }
    }
}

// Picture row y scaled across, from the two rows kept: kept if it is one of them, else made in
// place of the older one (rows are asked for in order, so the older is never needed again).
const uint32_t* scaledRow(const uint16_t* pixels, int pitchBytes, const Widen& widen,
                          const Axis& xs, Work& work, int y) {
    for (int i = 0; i < 2; ++i) {
        if (work.rowOf[i] == y) {
            return work.rows[i].data();
        }
    }
    const int slot = work.rowOf[0] < work.rowOf[1] ? 0 : 1;
    work.rowOf[slot] = y;
    const uint16_t* from = pictureRow(pixels, pitchBytes, y);
    uint32_t* wide = work.wide.data();
    for (int x = 0; x < W; ++x) {
        wide[x] = scaler::widen(widen, from[x]);
    }
    wide[W] = wide[W - 1]; // a copy of the last column reads its neighbour with weight 0
    uint32_t* to = work.rows[slot].data();
    const uint16_t* at = xs.from.data();
    const uint16_t* weight = xs.weight.data();
    const std::size_t count = xs.from.size();
    // Copies and blends come in short runs that repeat with the scale, which the branch learns;
    // a copy is then a plain store.
    for (std::size_t x = 0; x < count; ++x) {
        to[x] = weight[x] == 0 ? wide[at[x]] : mix(wide[at[x]], wide[at[x] + 1], weight[x]);
    }
    return to;
}

// Two rows blended byte by byte, b weighing w out of 256, rounded. Every sum fits in 16 bits
// (255 * 256 + 128), so that the compiler blends eight or sixteen bytes at a time.
void blendRows(const uint32_t* a, const uint32_t* b, uint32_t* out, std::size_t pixels,
               uint32_t w) {
    const auto* x = reinterpret_cast<const uint8_t*>(a);
    const auto* y = reinterpret_cast<const uint8_t*>(b);
    auto* to = reinterpret_cast<uint8_t*>(out);
    const auto bw = static_cast<uint16_t>(w);
    const auto aw = static_cast<uint16_t>(256 - w);
    for (std::size_t i = 0; i < pixels * 4; ++i) {
        to[i] = static_cast<uint8_t>(static_cast<uint16_t>(x[i] * aw + y[i] * bw + 128) >> 8);
    }
}

} // namespace

Widen makeWiden(int redShift, int greenShift, int blueShift, uint32_t alphaMask) {
    Widen w;
    for (uint32_t byte = 0; byte < 256; ++byte) {
        const uint32_t red = byte >> 3;      // the high byte: RRRRRGGG
        const uint32_t greenTop = byte & 7u; // green's top three bits
        w.high[byte] = ((red << 3 | red >> 2) << redShift) |
                       ((greenTop << 5 | greenTop >> 1) << greenShift) | alphaMask;
        // Green's six bits straddle the two bytes, but its widened value is still the OR of a
        // part from each byte.
        const uint32_t greenLow = byte >> 5; // the low byte: GGGBBBBB
        const uint32_t blue = byte & 31u;
        w.low[byte] = ((greenLow << 2) << greenShift) | ((blue << 3 | blue >> 2) << blueShift);
    }
    return w;
}

Axis sharpAxis(int pictureSize, int outputSize) {
    Axis a;
    const auto count = static_cast<std::size_t>(std::max(0, outputSize));
    a.from.resize(count);
    a.weight.resize(count);
    const int k = std::max(1, outputSize / pictureSize);
    // Output position x samples the picture scaled up k times at u = (x + 1/2) * size * k /
    // outputSize - 1/2, here as the fraction num / den.
    const long long big = static_cast<long long>(pictureSize) * k;
    const long long den = 2LL * outputSize;
    for (std::size_t x = 0; x < count; ++x) {
        const long long num = (2 * static_cast<long long>(x) + 1) * big - outputSize;
        long long i = num / den;
        long long rest = num - i * den;
        if (num < 0) {
            i = 0;
            rest = 0;
        }
        int from = static_cast<int>(std::min<long long>(i / k, pictureSize - 1));
        int weight = 0;
        // A blend only where u falls between two scaled-up pixels of different picture pixels.
        if ((i + 1) / k != i / k && from + 1 < pictureSize) {
            weight = static_cast<int>((rest * 256 + den / 2) / den);
        }
        if (weight == 256) {
            from += 1;
            weight = 0;
        }
        a.from[x] = static_cast<uint16_t>(from);
        a.weight[x] = static_cast<uint16_t>(weight);
    }
    a.whole = outputSize % pictureSize == 0 ? outputSize / pictureSize : 0;
    return a;
}

void scale(const uint16_t* pixels, int pitchBytes, const Widen& widen, const Axis& xs,
           const Axis& ys, Work& work, uint32_t* out, int outPitchBytes) {
    if (xs.whole > 0 && ys.whole > 0 && xs.from.size() == static_cast<std::size_t>(W) * xs.whole &&
        ys.from.size() == static_cast<std::size_t>(H) * ys.whole) {
        scaleWhole(pixels, pitchBytes, widen, xs.whole, ys.whole, out, outPitchBytes);
        return;
    }
    const std::size_t width = xs.from.size();
    work.wide.resize(W + 1);
    for (auto& row : work.rows) {
        row.resize(width);
    }
    work.rowOf[0] = work.rowOf[1] = -1; // a new picture
    for (std::size_t y = 0; y < ys.from.size(); ++y) {
        const int from = ys.from[y];
        const uint32_t weight = ys.weight[y];
        uint32_t* to = outRow(out, outPitchBytes, static_cast<int>(y));
        const uint32_t* a = scaledRow(pixels, pitchBytes, widen, xs, work, from);
        if (weight == 0) {
            std::memcpy(to, a, width * 4);
            continue;
        }
        blendRows(a, scaledRow(pixels, pitchBytes, widen, xs, work, from + 1), to, width, weight);
    }
}

void drawOver(const platform::Picture& picture, const Widen& widen, int factor, int x, int y,
              uint32_t* out, int outPitchBytes, int width, int height) {
    if (picture.pixels == nullptr || factor < 1) {
        return;
    }
    for (int py = 0; py < picture.height; ++py) {
        const uint16_t* from = pictureRow(picture.pixels, picture.pitchBytes, py);
        const int top = std::max(0, y + py * factor);
        const int bottom = std::min(height, y + (py + 1) * factor);
        for (int px = 0; px < picture.width; ++px) {
            if (picture.key >= 0 && from[px] == picture.key) {
                continue;
            }
            const uint32_t colour = scaler::widen(widen, from[px]);
            const int left = std::max(0, x + px * factor);
            const int right = std::min(width, x + (px + 1) * factor);
            for (int row = top; row < bottom; ++row) {
                uint32_t* to = outRow(out, outPitchBytes, row);
                std::fill(to + left, to + std::max(left, right), colour);
            }
        }
    }
}

} // namespace scaler
