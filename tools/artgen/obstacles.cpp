#include "tools/artgen/obstacles.h"

#include "tools/artgen/detmath.h"
#include "tools/artgen/palette.h"
#include "tools/artgen/raster.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace artgen {
namespace {

namespace pal = palette;

constexpr Rgb BlockEdge{72, 72, 74};

Rgb shadeBy(Rgb c, double k) {
    auto ch = [k](uint8_t v) {
        const double s = v * k;
        return static_cast<uint8_t>(s > 255 ? 255 : (s < 0 ? 0 : roundToInt(s)));
    };
    return {ch(c.r), ch(c.g), ch(c.b)};
}

// Concrete: a soft mottling, fine grit, and now and then a small dark pit.
Rgb concreteAt(int x, int y, uint32_t seed) {
    const double mottle = valueNoise(x / 9.0, y / 7.0, seed) - 0.5;
    const double grit = latticeHash(x, y, seed + 3);
    double k = 1.0 + mottle * 0.12;
    if (grit < 0.10) {
        k -= 0.08;
    } else if (grit > 0.93) {
        k += 0.07;
    }
    if (grit > 0.995) {
        k -= 0.3;
    }
    return shadeBy(pal::Concrete.base, k);
}

// A hairline crack running down from (x, y), wandering a pixel at a time, its lower lip
// catching the light.
void crack(Image& img, int x, int y, int steps, Rng& rng) {
    for (int i = 0; i < steps; ++i) {
        if (x <= 2 || x >= img.width - 5 || y <= 4 || y >= img.height - 2) {
            break;
        }
        put(img, x, y, shadeBy(get(img, x, y), 0.7));
        put(img, x + 1, y, shadeBy(get(img, x + 1, y), 1.07));
        const int turn = uniformInt(rng, 0, 5);
        x += turn == 0 ? -1 : (turn == 5 ? 1 : 0);
        y += 1;
    }
}

// The lit top face, the shaded right side and the dark edge every block shares.
void blockFaces(Image& img, int topRows) {
    const int w = img.width;
    const int h = img.height;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            Rgb c = get(img, x, y);
            if (y < topRows) {
                c = shadeBy(c, 1.16);
            } else if (x >= w - 4) {
                c = shadeBy(c, 0.82);
            } else if (x <= 1) {
                c = shadeBy(c, 1.08);
            }
            if (y == topRows && x > 0 && x < w - 1) {
                c = shadeBy(c, 0.8); // the edge under the top face
            }
            put(img, x, y, c);
        }
    }
    for (int x = 0; x < w; ++x) {
        put(img, x, 0, BlockEdge);
        put(img, x, h - 1, BlockEdge);
    }
    for (int y = 0; y < h; ++y) {
        put(img, 0, y, BlockEdge);
        put(img, w - 1, y, BlockEdge);
    }
}

void fillConcrete(Image& img, uint32_t seed) {
    for (int y = 0; y < img.height; ++y) {
        for (int x = 0; x < img.width; ++x) {
            put(img, x, y, concreteAt(x, y, seed));
        }
    }
}

// Vertical joints between cast sections, about every `spacing` pixels.
void joints(Image& img, int spacing, int fromRow) {
    for (int x = spacing; x < img.width - spacing / 2; x += spacing) {
        for (int y = fromRow; y < img.height - 1; ++y) {
            put(img, x, y, shadeBy(get(img, x, y), 0.72));
            put(img, x + 1, y, shadeBy(get(img, x + 1, y), 1.1));
        }
    }
}

Image drawConcreteBlock(int width, int height, uint32_t seed) {
    Image img = makeImage(width, height, KeyGreen);
    fillConcrete(img, seed);
    blockFaces(img, height >= 36 ? 4 : 3);
    if (width > 90) {
        joints(img, width / 4, 4);
    }
    Rng rng{seed * 7919u + 17u};
    const int cracks = width * height / 2000 + 1;
    for (int i = 0; i < cracks; ++i) {
        crack(img, uniformInt(rng, 5, width - 7), uniformInt(rng, 5, height / 2),
              uniformInt(rng, height / 5, height / 2), rng);
    }
    return img;
}

Image drawTallBlock(int width, int height) {
    Image img = makeImage(width, height, KeyGreen);
    fillConcrete(img, 901);
    blockFaces(img, 4);
    // Formwork lines and the tie holes the moulds leave.
    for (int y = 30; y < height - 8; y += 27) {
        for (int x = 1; x < width - 1; ++x) {
            put(img, x, y, shadeBy(get(img, x, y), 0.78));
            put(img, x, y + 1, shadeBy(get(img, x, y + 1), 1.08));
        }
    }
    for (int y = 17; y < height - 8; y += 27) {
        for (int x : {12, width / 2, width - 15}) {
            fillBox(img, x, y, x + 2, y + 2, shadeBy(pal::Concrete.dark, 0.8));
            put(img, x + 2, y + 2, shadeBy(pal::Concrete.light, 1.0));
        }
    }
    Rng rng{4242};
    for (int i = 0; i < 3; ++i) {
        crack(img, uniformInt(rng, 6, width - 8), uniformInt(rng, 6, height - 30), 18, rng);
    }
    return img;
}

Image drawUnevenTopBlock(int width, int height) {
    Image img = drawConcreteBlock(width, height, 333);
    // A darker, worn layer on top whose lower edge wanders.
    for (int x = 1; x < width - 1; ++x) {
        const int depth = 4 + roundToInt(valueNoise(x / 5.0, 0.5, 55) * 5.0);
        for (int y = 1; y < depth; ++y) {
            put(img, x, y, shadeBy(concreteAt(x, y, 56), 0.66 + 0.05 * (y == 1)));
        }
        put(img, x, depth, shadeBy(get(img, x, depth), 0.75));
        // The top edge itself is broken here and there.
        if (valueNoise(x / 3.0, 9.5, 57) > 0.72) {
            put(img, x, 1, BlockEdge);
        }
    }
    return img;
}

Image drawBandedBlock(int width, int height) {
    Image img = drawConcreteBlock(width, height, 444);
    // A metal edge along the top, then a black band.
    for (int x = 0; x < width; ++x) {
        put(img, x, 0, pal::Metal.dark);
        put(img, x, 1, pal::Metal.light);
        put(img, x, 2, pal::Metal.base);
        put(img, x, 3, pal::Metal.dark);
        for (int y = 4; y < 11; ++y) {
            const Rgb band = y == 4 ? Rgb{48, 48, 52} : Rgb{24, 24, 28};
            put(img, x, y, band);
        }
    }
    for (int x = 6; x < width - 4; x += 14) {
        put(img, x, 2, pal::Metal.light); // rivets
    }
    put(img, 0, 1, pal::Metal.dark);
    put(img, width - 1, 1, pal::Metal.dark);
    return img;
}

Image drawRamp(int width, int height) {
    Image img = makeImage(width, height, KeyGreen);
    // Green above the slope from the lower-left corner to the upper-right corner.
    auto slopeTop = [width, height](int x) {
        return (height - 1) - ((x + 0.5) * (height - 1)) / (width - 1);
    };
    for (int x = 0; x < width; ++x) {
        const double top = slopeTop(x);
        for (int y = 0; y < height; ++y) {
            if (y + 0.5 < top) {
                continue;
            }
            const double depth = y - top;
            // Lit just under the riding surface, darker towards the foot.
            Rgb c = shadeBy(concreteAt(x, y, 606), 1.04 - 0.16 * depth / height);
            if (depth < 2.0) {
                c = shadeBy(pal::Concrete.light, 1.02); // the riding surface
            } else if (depth < 3.0) {
                c = shadeBy(c, 0.86);
            } else if (static_cast<int>(depth) % 9 == 0) {
                c = shadeBy(c, 0.93); // the lines of the pour, parallel to the slope
            }
            if (x >= width - 3) {
                c = shadeBy(c, 0.78);
            }
            put(img, x, y, c);
        }
    }
    // The outline of the wedge: slope, back and foot.
    for (int x = 0; x < width; ++x) {
        put(img, x, roundToInt(std::floor(slopeTop(x))), BlockEdge);
        put(img, x, height - 1, BlockEdge);
    }
    for (int y = 0; y < height; ++y) {
        put(img, width - 1, y, BlockEdge);
    }
    return img;
}

Image drawRail(int width, int height) {
    Image img = makeImage(width, height, KeyGreen);
    // Two posts with foot plates, then the pipe along the top row.
    for (int cx : {width / 7, width - width / 7}) {
        Mask post = makeMask(width, height);
        addBox(post, cx - 3, 6, cx + 3, height - 3);
        paintPart(img, post, pal::Metal, pal::Outline, 2);
        Mask plate = makeMask(width, height);
        addBox(plate, cx - 8, height - 3, cx + 8, height);
        paintPart(img, plate, pal::Metal, pal::Outline, 1);
        put(img, cx - 6, height - 2, pal::Outline);
        put(img, cx + 5, height - 2, pal::Outline);
    }
    Mask pipe = makeMask(width, height);
    addCapsule(pipe, {3.5, 3.5}, {width - 4.5, 3.5}, 3.5);
    paintRing(img, pipe, pal::Outline);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (!test(pipe, x, y)) {
                continue;
            }
            // A round pipe: a bright streak near the top, darkening underneath.
            static const Rgb rows[] = {pal::Metal.base,  pal::Metal.light, White,
                                       pal::Metal.light, pal::Metal.base,  pal::Metal.dark,
                                       {70, 74, 86},     {60, 64, 76}};
            put(img, x, y, rows[y < 8 ? y : 7]);
        }
    }
    return img;
}

Image drawHydrant(int width, int height) {
    Image img = makeImage(width, height, KeyGreen);
    const double cx = (width - 1) / 2.0;
    Mask base = makeMask(width, height);
    addBox(base, 1, height - 5, width - 1, height - 1);
    addBox(base, 3, height - 7, width - 3, height - 4);
    Mask body = makeMask(width, height);
    addBox(body, roundToInt(cx - 6), 11, roundToInt(cx + 7), height - 6);
    Mask bonnet = makeMask(width, height);
    addEllipse(bonnet, {cx, 11}, 7.5, 6.0);
    addBox(bonnet, roundToInt(cx - 8), 10, roundToInt(cx + 9), 13);
    Mask nut = makeMask(width, height);
    addBox(nut, roundToInt(cx - 2), 2, roundToInt(cx + 3), 6);
    Mask nozzles = makeMask(width, height);
    addBox(nozzles, 1, 16, roundToInt(cx - 5), 22);
    addBox(nozzles, roundToInt(cx + 6), 16, width - 1, 22);
    Mask cap = makeMask(width, height);
    addEllipse(cap, {cx, 19.5}, 3.2, 3.2);

    paintPart(img, nut, pal::Hydrant, pal::Outline, 1);
    paintPart(img, nozzles, pal::Hydrant, pal::Outline, 2);
    paintPart(img, body, pal::Hydrant, pal::Outline, 3);
    paintPart(img, bonnet, pal::Hydrant, pal::Outline, 2);
    paintPart(img, base, pal::Hydrant, pal::Outline, 2);
    paintPart(img, cap, pal::Metal, pal::Outline, 1);
    // Nozzle caps' ends and the base bolts.
    for (int y = 17; y < 21; ++y) {
        put(img, 1, y, pal::Metal.base);
        put(img, width - 2, y, pal::Metal.dark);
    }
    for (int x = 3; x < width - 3; x += 5) {
        put(img, x, height - 3, pal::Metal.light);
    }
    return img;
}

Image drawBin(int width, int height) {
    Image img = makeImage(width, height, KeyGreen);
    const int lidBottom = 9;
    Mask body = makeMask(width, height);
    addPolygon(body, {{1.5, lidBottom - 0.5},
                      {width - 2.5, lidBottom - 0.5},
                      {width - 3.5, height - 1.0},
                      {2.5, height - 1.0}});
    addBox(body, 3, height - 2, width - 3, height);
    paintRing(img, body, pal::Outline);
    // Ribs: bright and dark stripes pressed into the metal.
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (!test(body, x, y)) {
                continue;
            }
            const int phase = (x - 2) % 5;
            Rgb c =
                phase == 0 ? pal::Metal.light : (phase == 3 ? pal::Metal.dark : pal::Metal.base);
            if (x > width * 2 / 3) {
                c = shadeBy(c, 0.85);
            }
            if (y >= height - 5 || y == lidBottom + 1) {
                c = shadeBy(pal::Metal.dark, 0.9);
            }
            put(img, x, y, c);
        }
    }
    Mask lid = makeMask(width, height);
    addEllipse(lid, {(width - 1) / 2.0, 7.0}, width / 2.0 - 1.0, 3.5);
    addBox(lid, 1, 6, width - 1, lidBottom);
    paintPart(img, lid, pal::Metal, pal::Outline, 2);
    Mask handle = makeMask(width, height);
    addBox(handle, width / 2 - 4, 1, width / 2 + 4, 4);
    paintPart(img, handle, pal::Metal, pal::Outline, 1);
    return img;
}

Image drawGrass(int width, int height) {
    Image img = makeImage(width, height, KeyGreen);
    Rng rng{777};
    // A dense mat at the roots, then tufts: a few blades each, fanning out and of mixed
    // heights, the tips catching the light.
    for (int x = 0; x < width; ++x) {
        for (int y = height - 2; y < height; ++y) {
            put(img, x, y, latticeHash(x, y, 778) < 0.4 ? pal::Grass.dark : Rgb{26, 80, 28});
        }
    }
    for (int tuft = 1; tuft < width; tuft += uniformInt(rng, 3, 5)) {
        for (int blade = -1; blade <= 1; ++blade) {
            const int tall = uniformInt(rng, height / 2, height);
            for (int k = 1; k < tall; ++k) {
                const int y = height - 1 - k;
                const int x = tuft + (k * 2 > tall ? blade : 0) + (k * 4 > tall * 3 ? blade : 0);
                const Rgb c = k >= tall - 1   ? pal::Grass.light
                              : k >= tall / 2 ? pal::Grass.base
                                              : pal::Grass.dark;
                put(img, x, y, c);
            }
        }
    }
    return img;
}

} // namespace

Image drawObstacle(const char* name, const Rect& cell) {
    const int width = cell.width();
    const int height = cell.height();
    if (std::strcmp(name, "tall concrete block") == 0) {
        return drawTallBlock(width, height);
    }
    if (std::strcmp(name, "ramp") == 0) {
        return drawRamp(width, height);
    }
    if (std::strcmp(name, "grey block") == 0 || std::strcmp(name, "small block") == 0 ||
        std::strcmp(name, "long block") == 0) {
        return drawConcreteBlock(width, height, static_cast<uint32_t>(cell.left * 509 + cell.top));
    }
    if (std::strcmp(name, "block with uneven top") == 0) {
        return drawUnevenTopBlock(width, height);
    }
    if (std::strcmp(name, "block with black band") == 0) {
        return drawBandedBlock(width, height);
    }
    if (std::strcmp(name, "rail") == 0) {
        return drawRail(width, height);
    }
    if (std::strcmp(name, "fire hydrant") == 0) {
        return drawHydrant(width, height);
    }
    if (std::strcmp(name, "rubbish bin") == 0) {
        return drawBin(width, height);
    }
    if (std::strcmp(name, "grass strip") == 0) {
        return drawGrass(width, height);
    }
    std::fprintf(stderr, "zanbury-artgen: no picture for the obstacle cell \"%s\"\n", name);
    std::exit(1);
}

} // namespace artgen
