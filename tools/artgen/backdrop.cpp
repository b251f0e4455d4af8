#include "tools/artgen/backdrop.h"

#include "display/atlas.h"
#include "tools/artgen/detmath.h"

#include <cmath>

namespace artgen {
namespace {

constexpr int Width = atlas::BackdropWidth;
constexpr int Height = atlas::BackdropHeight;
// The picture repeats every 639 columns, and column 639 repeats column 0: shown side by side
// by the scroll, the last column and the first look like one doubled column.
constexpr int Period = Width - 1;

struct Puff {
    double x;
    double y;
    double r;
};

// A group of round puffs above a flat base.
struct CloudGroup {
    double baseY;
    std::vector<Puff> puffs;
};

// The wrapped group runs from column 431 across the right edge to column 109.
const CloudGroup wrapped{142,
                         {{444.5, 136, 12},
                          {474, 124, 18},
                          {503, 112, 24},
                          {538, 100, 31},
                          {576, 92, 36},
                          {614, 98, 32},
                          {648, 86, 26},
                          {672, 104, 26},
                          {700, 116, 22},
                          {726, 128, 16},
                          {735.5, 134, 11},
                          {596, 124, 26},
                          {540, 128, 20},
                          {660, 128, 18}}};
const CloudGroup middle{150,
                        {{184, 140, 10},
                         {204, 130, 17},
                         {232, 118, 23},
                         {262, 124, 19},
                         {288, 134, 14},
                         {248, 138, 14}}};
const CloudGroup wisp{96, {{352, 90, 6}, {366, 84, 9}, {382, 88, 7}, {394, 92, 4}}};

// Signed distance-like cloud density: positive inside a puff, falling off outside.
double density(const CloudGroup& g, double x, double y) {
    double best = -1e9;
    for (const Puff& p : g.puffs) {
        // Columns wrap with the picture's period.
        double dx = std::fmod(x - p.x, static_cast<double>(Period));
        if (dx > Period / 2.0) {
            dx -= Period;
        } else if (dx < -Period / 2.0) {
            dx += Period;
        }
        const double dy = (y - p.y) * 1.15;
        best = std::max(best, p.r - std::sqrt(dx * dx + dy * dy));
    }
    return std::min(best, g.baseY - y); // the flat base
}

// A 4 x 4 ordered dither, for soft cloud edges made of only white and sky.
double bayer(int x, int y) {
    static const int m[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    return (m[y & 3][x & 3] + 0.5) / 16.0;
}

bool cloudAt(int x, int y) {
    for (const CloudGroup* g : {&wrapped, &middle, &wisp}) {
        const double d = density(*g, x, y);
        if (d >= 0) {
            // A few sky pixels dithered into the shaded underside.
            const double shade = (y - (g->baseY - 12.0)) / 12.0;
            return !(shade > 0.45 && bayer(x, y) < (shade - 0.45) * 0.5);
        }
        if (d > -3.0 && bayer(x, y) < (3.0 + d) / 3.0 * 0.55) {
            return true;
        }
    }
    return false;
}

bool isSpeck(Rgb c) {
    return c == SpeckDark || c == SpeckLight;
}

bool speckNear(const Image& img, int x, int y) {
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            if ((dx != 0 || dy != 0) && contains(img, x + dx, y + dy) &&
                isSpeck(get(img, x + dx, y + dy))) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

Image buildBackdrop() {
    Image img = makeImage(Width, Height, Sky);
    for (int y = 60; y <= 164; ++y) {
        for (int x = 0; x < Period; ++x) {
            if (cloudAt(x, y)) {
                put(img, x, y, White);
            }
        }
        put(img, Width - 1, y, get(img, 0, y));
    }
    for (int x = 0; x < Width; ++x) {
        put(img, x, GroundRow, Black);
    }
    // Pavement: single specks, never touching one another.
    Rng rng{20260};
    for (int y = GroundRow + 1; y < Height; ++y) {
        for (int x = 0; x < Width; ++x) {
            const double roll = uniform(rng);
            const bool light = uniform(rng) < 0.5;
            put(img, x, y, Pavement);
            if (roll < 0.045 && !speckNear(img, x, y)) {
                put(img, x, y, light ? SpeckLight : SpeckDark);
            }
        }
    }
    // The edge columns may differ in at most six specks; past that, both lose their speck.
    int differences = 0;
    for (int y = GroundRow + 1; y < Height; ++y) {
        if (get(img, 0, y) != get(img, Width - 1, y) && ++differences > 6) {
            put(img, 0, y, Pavement);
            put(img, Width - 1, y, Pavement);
        }
    }
    return img;
}

} // namespace artgen
