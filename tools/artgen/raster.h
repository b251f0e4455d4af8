#pragma once
// Pixel-art drawing helpers: shapes are built up as masks from capsules, ellipses and
// polygons, then painted with a one-pixel outline and three-tone shading (light from the
// upper left). Coordinates are in pixels; the point (x, y) is the centre of pixel (x, y).

#include "tools/artgen/image.h"

#include <cstdint>
#include <vector>

namespace artgen {

struct Point {
    double x = 0;
    double y = 0;
};

struct Mask {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> bits;
};

Mask makeMask(int width, int height);
inline bool test(const Mask& m, int x, int y) {
    return x >= 0 && y >= 0 && x < m.width && y < m.height &&
           m.bits[static_cast<std::size_t>(y) * m.width + x] != 0;
}
inline void setBit(Mask& m, int x, int y, bool on = true) {
    if (x >= 0 && y >= 0 && x < m.width && y < m.height) {
        m.bits[static_cast<std::size_t>(y) * m.width + x] = on ? 1 : 0;
    }
}

// Every pixel whose centre lies within r of the segment from a to b.
void addCapsule(Mask& m, Point a, Point b, double r);
// Capsules along a chain of points.
void addLimb(Mask& m, const std::vector<Point>& chain, double r);
void addEllipse(Mask& m, Point centre, double rx, double ry);
// Pixel centres inside the polygon (even-odd rule).
void addPolygon(Mask& m, const std::vector<Point>& corners);
void addBox(Mask& m, int left, int top, int right, int bottom);
void removeMask(Mask& m, const Mask& other);
// The mask grown by one pixel: with diagonals false, only the four edge neighbours count.
Mask grow(const Mask& m, bool diagonals);

struct Shade {
    Rgb light;
    Rgb base;
    Rgb dark;
};

// Fills the shape with shading: pixels within `shadow` pixels of the lower-right edge take
// the dark tone, pixels on the upper-left edge the light tone.
void paintShaded(Image& img, const Mask& m, const Shade& shade, int shadow = 2);
// Paints the one-pixel ring around the shape, then the shaded shape: drawing parts from
// back to front this way gives each part its own outline where it covers another.
void paintPart(Image& img, const Mask& m, const Shade& shade, Rgb outline, int shadow = 2);
void paintFlat(Image& img, const Mask& m, Rgb c);
// Paints only the one-pixel ring just outside the shape (edge neighbours, no diagonals).
void paintRing(Image& img, const Mask& m, Rgb c);

// Mixes two colours: t = 0 gives a, t = 1 gives b.
Rgb mix(Rgb a, Rgb b, double t);

} // namespace artgen
