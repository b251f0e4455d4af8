#include "tools/artgen/raster.h"

#include "tools/artgen/detmath.h"

#include <algorithm>

namespace artgen {

Mask makeMask(int width, int height) {
    Mask m;
    m.width = width;
    m.height = height;
    m.bits.assign(static_cast<std::size_t>(width) * height, 0);
    return m;
}

void addCapsule(Mask& m, Point a, Point b, double r) {
    const int x0 = static_cast<int>(std::floor(std::min(a.x, b.x) - r));
    const int x1 = static_cast<int>(std::ceil(std::max(a.x, b.x) + r));
    const int y0 = static_cast<int>(std::floor(std::min(a.y, b.y) - r));
    const int y1 = static_cast<int>(std::ceil(std::max(a.y, b.y) + r));
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double len2 = dx * dx + dy * dy;
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            double t = len2 > 0 ? ((x - a.x) * dx + (y - a.y) * dy) / len2 : 0.0;
            t = clamp01(t);
            const double ex = a.x + t * dx - x;
            const double ey = a.y + t * dy - y;
            if (ex * ex + ey * ey <= r * r) {
                setBit(m, x, y);
            }
        }
    }
}

void addLimb(Mask& m, const std::vector<Point>& chain, double r) {
    for (std::size_t i = 0; i + 1 < chain.size(); ++i) {
        addCapsule(m, chain[i], chain[i + 1], r);
    }
    if (chain.size() == 1) {
        addCapsule(m, chain[0], chain[0], r);
    }
}

void addEllipse(Mask& m, Point c, double rx, double ry) {
    const int x0 = static_cast<int>(std::floor(c.x - rx));
    const int x1 = static_cast<int>(std::ceil(c.x + rx));
    const int y0 = static_cast<int>(std::floor(c.y - ry));
    const int y1 = static_cast<int>(std::ceil(c.y + ry));
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const double u = (x - c.x) / rx;
            const double v = (y - c.y) / ry;
            if (u * u + v * v <= 1.0) {
                setBit(m, x, y);
            }
        }
    }
}

void addPolygon(Mask& m, const std::vector<Point>& p) {
    if (p.size() < 3) {
        return;
    }
    double minY = p[0].y;
    double maxY = p[0].y;
    for (const Point& q : p) {
        minY = std::min(minY, q.y);
        maxY = std::max(maxY, q.y);
    }
    for (int y = static_cast<int>(std::floor(minY)); y <= static_cast<int>(std::ceil(maxY)); ++y) {
        for (int x = 0; x < m.width; ++x) {
            bool in = false;
            for (std::size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) {
                const bool crosses = (p[i].y > y) != (p[j].y > y);
                if (crosses && x < (p[j].x - p[i].x) * (y - p[i].y) / (p[j].y - p[i].y) + p[i].x) {
                    in = !in;
                }
            }
            if (in) {
                setBit(m, x, y);
            }
        }
    }
}

void addBox(Mask& m, int left, int top, int right, int bottom) {
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            setBit(m, x, y);
        }
    }
}

void removeMask(Mask& m, const Mask& other) {
    for (std::size_t i = 0; i < m.bits.size(); ++i) {
        if (other.bits[i] != 0) {
            m.bits[i] = 0;
        }
    }
}

Mask grow(const Mask& m, bool diagonals) {
    Mask out = m;
    for (int y = 0; y < m.height; ++y) {
        for (int x = 0; x < m.width; ++x) {
            if (test(m, x, y)) {
                continue;
            }
            bool near =
                test(m, x - 1, y) || test(m, x + 1, y) || test(m, x, y - 1) || test(m, x, y + 1);
            if (diagonals) {
                near = near || test(m, x - 1, y - 1) || test(m, x + 1, y - 1) ||
                       test(m, x - 1, y + 1) || test(m, x + 1, y + 1);
            }
            if (near) {
                setBit(out, x, y);
            }
        }
    }
    return out;
}

void paintShaded(Image& img, const Mask& m, const Shade& shade, int shadow) {
    for (int y = 0; y < m.height; ++y) {
        for (int x = 0; x < m.width; ++x) {
            if (!test(m, x, y)) {
                continue;
            }
            bool dark = false;
            for (int k = 1; k <= shadow && !dark; ++k) {
                dark = !test(m, x + k, y + k);
            }
            const bool light = !dark && (!test(m, x - 1, y - 1) || !test(m, x - 1, y));
            put(img, x, y, dark ? shade.dark : (light ? shade.light : shade.base));
        }
    }
}

void paintPart(Image& img, const Mask& shape, const Shade& shade, Rgb outline, int shadow) {
    // A pixel sticking out alone (one edge neighbour or none) reads as a burr, not a curve.
    Mask m = shape;
    for (int y = 0; y < m.height; ++y) {
        for (int x = 0; x < m.width; ++x) {
            const int neighbours = test(shape, x - 1, y) + test(shape, x + 1, y) +
                                   test(shape, x, y - 1) + test(shape, x, y + 1);
            if (test(shape, x, y) && neighbours <= 1) {
                setBit(m, x, y, false);
            }
        }
    }
    paintRing(img, m, outline);
    paintShaded(img, m, shade, shadow);
}

void paintFlat(Image& img, const Mask& m, Rgb c) {
    for (int y = 0; y < m.height; ++y) {
        for (int x = 0; x < m.width; ++x) {
            if (test(m, x, y)) {
                put(img, x, y, c);
            }
        }
    }
}

void paintRing(Image& img, const Mask& m, Rgb c) {
    Mask ring = grow(m, false);
    removeMask(ring, m);
    paintFlat(img, ring, c);
}

Rgb mix(Rgb a, Rgb b, double t) {
    auto channel = [t](uint8_t p, uint8_t q) {
        return static_cast<uint8_t>(roundToInt(p + (q - p) * t));
    };
    return Rgb{channel(a.r, b.r), channel(a.g, b.g), channel(a.b, b.b)};
}

} // namespace artgen
