// The software present's scaler (see scaler.h): the tables, the axes of a sharp-bilinear scale,
// the scale itself with its fast path for whole factors, and the overlays drawn over its output.

#include "platform/scaler.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

uint32_t* outRow(uint32_t* out, int outPitchBytes, int y) {
    return reinterpret_cast<uint32_t*>(reinterpret_cast<uint8_t*>(out) +
                                       static_cast<std::ptrdiff_t>(y) * outPitchBytes);
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
    widenRow(widen, from, wide, W);
    wide[W] = wide[W - 1]; // a copy of the last column reads its neighbour with weight 0
    uint32_t* to = work.rows[slot].data();
    const uint16_t* at = xs.from.data();
    const std::size_t count = xs.from.size();
#if defined(__SSE2__)
    // Each output pixel's two neighbours are one 8-byte load, blended by their weights in 16-bit
    // lanes, two output pixels to a register.
    const uint16_t* weight = xs.byteWeight.data();
    const __m128i half = _mm_set1_epi16(128);
    const __m128i zero = _mm_setzero_si128();
    auto two = [&](std::size_t x) {
        const __m128i p = _mm_unpacklo_epi8(
            _mm_loadl_epi64(reinterpret_cast<const __m128i*>(wide + at[x])), zero);
        const __m128i q = _mm_unpacklo_epi8(
            _mm_loadl_epi64(reinterpret_cast<const __m128i*>(wide + at[x + 1])), zero);
        const __m128i pw =
            _mm_mullo_epi16(p, _mm_loadu_si128(reinterpret_cast<const __m128i*>(weight + 8 * x)));
        const __m128i qw = _mm_mullo_epi16(
            q, _mm_loadu_si128(reinterpret_cast<const __m128i*>(weight + 8 * x + 8)));
        return _mm_srli_epi16(
            _mm_add_epi16(_mm_add_epi16(_mm_unpacklo_epi64(pw, qw), _mm_unpackhi_epi64(pw, qw)),
                          half),
            8);
    };
    std::size_t x = 0;
    for (; x + 4 <= count; x += 4) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + x), _mm_packus_epi16(two(x), two(x + 2)));
    }
    for (; x < count; ++x) {
        to[x] = mix(wide[at[x]], wide[at[x] + 1], xs.weight[x]);
    }
#else
    const uint16_t* weight = xs.weight.data();
    for (std::size_t x = 0; x < count; ++x) {
        to[x] = weight[x] == 0 ? wide[at[x]] : mix(wide[at[x]], wide[at[x] + 1], weight[x]);
    }
#endif
    return to;
}

// The output goes to memory that the display server reads after every present: stores that
// bypass the cache spare each line the trip to the processor that wrote it (and back), which
// measured twice as costly as the writing itself. Rows are written four pixels at a time from
// the first 16-byte boundary, the few pixels before it and after the last group plainly.
#if defined(__SSE2__)
template <typename Four> void streamRow(uint32_t* out, std::size_t pixels, Four four, auto one) {
    std::size_t x = 0;
    for (; x < pixels && (reinterpret_cast<uintptr_t>(out + x) & 15u) != 0; ++x) {
        out[x] = one(x);
    }
    for (; x + 4 <= pixels; x += 4) {
        _mm_stream_si128(reinterpret_cast<__m128i*>(out + x), four(x));
    }
    for (; x < pixels; ++x) {
        out[x] = one(x);
    }
}
#endif

void copyRow(const uint32_t* from, uint32_t* out, std::size_t pixels) {
#if defined(__SSE2__)
    streamRow(
        out, pixels,
        [from](std::size_t x) {
            return _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + x));
        },
        [from](std::size_t x) { return from[x]; });
#else
    std::memcpy(out, from, pixels * 4);
#endif
}

// Two rows blended, b weighing w out of 256, rounded, as mix does; by bytes in 16-bit lanes,
// where every sum fits (255 * 256 + 128).
void blendRows(const uint32_t* a, const uint32_t* b, uint32_t* out, std::size_t pixels,
               uint32_t w) {
#if defined(__SSE2__)
    const __m128i bw = _mm_set1_epi16(static_cast<short>(w));
    const __m128i aw = _mm_set1_epi16(static_cast<short>(256 - w));
    const __m128i half = _mm_set1_epi16(128);
    const __m128i zero = _mm_setzero_si128();
    streamRow(
        out, pixels,
        [&](std::size_t x) {
            const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + x));
            const __m128i q = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + x));
            const __m128i low = _mm_srli_epi16(
                _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(p, zero), aw),
                                            _mm_mullo_epi16(_mm_unpacklo_epi8(q, zero), bw)),
                              half),
                8);
            const __m128i high = _mm_srli_epi16(
                _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(p, zero), aw),
                                            _mm_mullo_epi16(_mm_unpackhi_epi8(q, zero), bw)),
                              half),
                8);
            return _mm_packus_epi16(low, high);
        },
        [&](std::size_t x) { return mix(a[x], b[x], w); });
#else
    for (std::size_t x = 0; x < pixels; ++x) {
        out[x] = mix(a[x], b[x], w);
    }
#endif
}

// Every picture pixel an xScale x yScale rectangle: each row converted and widened once, then
// copied down.
void scaleWhole(const uint16_t* pixels, int pitchBytes, const Widen& widen, int xScale, int yScale,
                Work& work, uint32_t* out, int outPitchBytes, const uint8_t* changed) {
    const std::size_t width = static_cast<std::size_t>(W) * xScale;
    work.rows[0].resize(width);
    uint32_t* row = work.rows[0].data();
    for (int y = 0; y < H; ++y) {
        if (changed != nullptr && changed[y] == 0) {
            continue;
        }
        const uint16_t* from = pictureRow(pixels, pitchBytes, y);
        if (xScale == 1) {
            widenRow(widen, from, row, W);
        } else if (xScale == 2) {
            // The usual whole case on today's screens: each pixel twice, as one 64-bit store.
            for (int x = 0; x < W; ++x) {
                const uint64_t colour = scaler::widen(widen, from[x]);
                const uint64_t pair = colour | colour << 32;
                std::memcpy(row + 2 * x, &pair, sizeof pair);
            }
        } else {
            uint32_t* to = row;
            for (int x = 0; x < W; ++x) {
                const uint32_t colour = scaler::widen(widen, from[x]);
                for (int k = 0; k < xScale; ++k) {
                    *to++ = colour;
                }
            }
        }
        for (int k = 0; k < yScale; ++k) {
            copyRow(row, outRow(out, outPitchBytes, y * yScale + k), width);
        }
    }
    work.rowOf[0] = work.rowOf[1] = -1; // the row kept is no picture row's
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
    a.byteWeight.resize(count * 8);
    for (std::size_t x = 0; x < count; ++x) {
        const auto at = a.byteWeight.begin() + static_cast<std::ptrdiff_t>(8 * x);
        std::fill_n(at, 4, static_cast<uint16_t>(256 - a.weight[x]));
        std::fill_n(at + 4, 4, a.weight[x]);
    }
    a.whole = outputSize % pictureSize == 0 ? outputSize / pictureSize : 0;
    return a;
}

void scale(const uint16_t* pixels, int pitchBytes, const Widen& widen, const Axis& xs,
           const Axis& ys, Work& work, uint32_t* out, int outPitchBytes, const uint8_t* changed) {
    if (xs.whole > 0 && ys.whole > 0 && xs.from.size() == static_cast<std::size_t>(W) * xs.whole &&
        ys.from.size() == static_cast<std::size_t>(H) * ys.whole) {
        scaleWhole(pixels, pitchBytes, widen, xs.whole, ys.whole, work, out, outPitchBytes,
                   changed);
#if defined(__SSE2__)
        _mm_sfence();
#endif
        return;
    }
    const std::size_t width = xs.from.size();
    work.wide.resize(W + 1);
    for (auto& row : work.rows) {
        row.resize(width);
    }
    work.rowOf[0] = work.rowOf[1] = -1; // a new picture
    for (std::size_t y = 0; y < ys.from.size(); ++y) {
        if (changed != nullptr && !madeFromChanged(ys, changed, y)) {
            continue;
        }
        const int from = ys.from[y];
        const uint32_t weight = ys.weight[y];
        uint32_t* to = outRow(out, outPitchBytes, static_cast<int>(y));
        const uint32_t* a = scaledRow(pixels, pitchBytes, widen, xs, work, from);
        if (weight == 0) {
            copyRow(a, to, width);
            continue;
        }
        blendRows(a, scaledRow(pixels, pitchBytes, widen, xs, work, from + 1), to, width, weight);
    }
#if defined(__SSE2__)
    _mm_sfence(); // the streamed stores are all done before the display server is told
#endif
}

int markChangedRows(const uint16_t* pixels, int pitchBytes, std::vector<uint16_t>& kept,
                    std::vector<uint8_t>& changed) {
    const bool first = kept.empty();
    kept.resize(static_cast<std::size_t>(W) * H);
    changed.resize(H);
    int count = 0;
    for (int y = 0; y < H; ++y) {
        const uint16_t* row = pictureRow(pixels, pitchBytes, y);
        uint16_t* copy = kept.data() + static_cast<std::size_t>(y) * W;
        const bool differs = first || std::memcmp(row, copy, W * sizeof *row) != 0;
        if (differs) {
            std::memcpy(copy, row, W * sizeof *row);
        }
        changed[y] = differs ? 1 : 0;
        count += differs ? 1 : 0;
    }
    return count;
}

namespace {

// The picture's pixels but its key, each a factor x factor square at (x, y) of `out`, in the
// colour that colourOf gives it, clipped to width x height.
template <typename Pixel, typename ColourOf>
void fillOver(const platform::Picture& picture, int factor, int x, int y, Pixel* out,
              int outPitchBytes, int width, int height, ColourOf colourOf) {
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
            const Pixel colour = colourOf(from[px]);
            const int left = std::max(0, x + px * factor);
            const int right = std::min(width, x + (px + 1) * factor);
            for (int row = top; row < bottom; ++row) {
                Pixel* to =
                    reinterpret_cast<Pixel*>(reinterpret_cast<uint8_t*>(out) +
                                             static_cast<std::ptrdiff_t>(row) * outPitchBytes);
                std::fill(to + left, to + std::max(left, right), colour);
            }
        }
    }
}

} // namespace

void drawOver(const platform::Picture& picture, const Widen& widen, int factor, int x, int y,
              uint32_t* out, int outPitchBytes, int width, int height) {
    fillOver(picture, factor, x, y, out, outPitchBytes, width, height,
             [&widen](uint16_t pixel) { return scaler::widen(widen, pixel); });
}

void drawOver(const platform::Picture& picture, int factor, int x, int y, uint16_t* out,
              int outPitchBytes, int width, int height) {
    fillOver(picture, factor, x, y, out, outPitchBytes, width, height,
             [](uint16_t pixel) { return pixel; });
}

} // namespace scaler
