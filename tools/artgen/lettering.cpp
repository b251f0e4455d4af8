#include "tools/artgen/lettering.h"

#include "tools/artgen/boards.h"
#include "tools/artgen/detmath.h"
#include "tools/artgen/palette.h"
#include "tools/artgen/skater.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace artgen {
namespace {

namespace pal = palette;

const char* const BoldFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
const char* const CondensedFont = "/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed-Bold.ttf";

struct HandLettering {
    std::string text;
    int maxWidth = 0;  // the word is made as large as fits in this box
    int maxHeight = 0; // (letter shapes only, before the outline)
    double stretchY = 1.0;
    double tilt = 0.05;  // largest turn of a letter, in radians
    double bounce = 1.5; // largest lift or drop of a letter, in pixels
    uint32_t seed = 1;
    bool condensed = false; // the narrower face, for long words in small boxes
};

// Letters are drawn this many times larger, then wobbled and brought down to size, which
// smooths the font's own edges into hand-drawn ones.
constexpr int Super = 3;

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "zanbury-artgen: %s: %s\n", what, TTF_GetError());
    std::exit(1);
}

TTF_Font* openFont(const char* path, int pixels) {
    TTF_Font* font = TTF_OpenFont(path, pixels);
    if (font == nullptr) {
        fail("cannot open a font");
    }
    TTF_SetFontHinting(font, TTF_HINTING_NORMAL);
    return font;
}

struct Coverage {
    int width = 0;
    int height = 0;
    std::vector<double> alpha;
    double at(int x, int y) const {
        if (x < 0 || y < 0 || x >= width || y >= height) {
            return 0.0;
        }
        return alpha[static_cast<std::size_t>(y) * width + x];
    }
};

// The alpha channel of one glyph as the font draws it.
Coverage glyphCoverage(TTF_Font* font, char ch) {
    const SDL_Color white{255, 255, 255, 255};
    SDL_Surface* drawn = TTF_RenderGlyph32_Blended(font, static_cast<Uint32>(ch), white);
    if (drawn == nullptr) {
        fail("cannot draw a glyph");
    }
    SDL_Surface* s = SDL_ConvertSurfaceFormat(drawn, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(drawn);
    if (s == nullptr) {
        fail("cannot convert a glyph");
    }
    Coverage c;
    c.width = s->w;
    c.height = s->h;
    c.alpha.resize(static_cast<std::size_t>(s->w) * s->h);
    SDL_LockSurface(s);
    for (int y = 0; y < s->h; ++y) {
        const auto* row = reinterpret_cast<const Uint32*>(
            static_cast<const Uint8*>(s->pixels) + static_cast<std::ptrdiff_t>(y) * s->pitch);
        for (int x = 0; x < s->w; ++x) {
            c.alpha[static_cast<std::size_t>(y) * s->w + x] = ((row[x] >> 24) & 0xFF) / 255.0;
        }
    }
    SDL_UnlockSurface(s);
    SDL_FreeSurface(s);
    return c;
}

double sampleBilinear(const Coverage& c, double x, double y) {
    const double fx = std::floor(x);
    const double fy = std::floor(y);
    const int ix = static_cast<int>(fx);
    const int iy = static_cast<int>(fy);
    const double tx = x - fx;
    const double ty = y - fy;
    const double top = c.at(ix, iy) + (c.at(ix + 1, iy) - c.at(ix, iy)) * tx;
    const double bottom = c.at(ix, iy + 1) + (c.at(ix + 1, iy + 1) - c.at(ix, iy + 1)) * tx;
    return top + (bottom - top) * ty;
}

// The word at Super times its size, each letter turned, lifted and stretched a little.
Coverage drawWord(const HandLettering& spec, int size) {
    TTF_Font* font = openFont(spec.condensed ? CondensedFont : BoldFont, size * Super);
    const int ascent = TTF_FontAscent(font);
    const int fontHeight = TTF_FontHeight(font);
    const int margin = fontHeight;
    int totalAdvance = 0;
    for (char ch : spec.text) {
        int minx = 0, maxx = 0, miny = 0, maxy = 0, advance = 0;
        TTF_GlyphMetrics32(font, static_cast<Uint32>(ch), &minx, &maxx, &miny, &maxy, &advance);
        totalAdvance += advance;
    }
    Coverage word;
    word.width = totalAdvance + 2 * margin;
    word.height = static_cast<int>(fontHeight * spec.stretchY) + 2 * margin;
    word.alpha.assign(static_cast<std::size_t>(word.width) * word.height, 0.0);

    Rng rng{spec.seed * 2654435761u + 12345u};
    // All letters turn about the middle of the capitals, so their baselines stay in line.
    const double pivotY = ascent * 0.62;
    const double wordPivotY = margin + pivotY * spec.stretchY;
    int pen = margin;
    for (char ch : spec.text) {
        int minx = 0, maxx = 0, miny = 0, maxy = 0, advance = 0;
        TTF_GlyphMetrics32(font, static_cast<Uint32>(ch), &minx, &maxx, &miny, &maxy, &advance);
        const double turn = spec.tilt * signedUniform(rng);
        const double lift = spec.bounce * Super * signedUniform(rng);
        const double grow = 1.0 + 0.04 * signedUniform(rng);
        if (ch != ' ') {
            const Coverage glyph = glyphCoverage(font, ch);
            const double pivotX = advance / 2.0;
            const double c = detCos(turn);
            const double s = detSin(turn);
            const double destX = pen + pivotX;
            const double destY = wordPivotY + lift;
            const int reach = static_cast<int>(std::max(glyph.width, glyph.height) * spec.stretchY);
            for (int y = static_cast<int>(destY) - reach; y <= static_cast<int>(destY) + reach;
                 ++y) {
                for (int x = static_cast<int>(destX) - reach; x <= static_cast<int>(destX) + reach;
                     ++x) {
                    if (x < 0 || y < 0 || x >= word.width || y >= word.height) {
                        continue;
                    }
                    // Undo the turn, then the stretch, to find the glyph pixel that lands here.
                    const double rx = x - destX;
                    const double ry = y - destY;
                    const double ux = (c * rx + s * ry) / grow;
                    const double uy = (-s * rx + c * ry) / (grow * spec.stretchY);
                    const double a = sampleBilinear(glyph, ux + pivotX, uy + pivotY);
                    double& cell = word.alpha[static_cast<std::size_t>(y) * word.width + x];
                    cell = std::max(cell, a);
                }
            }
        }
        pen += advance - Super; // hand lettering sits a little tighter than type
    }
    TTF_CloseFont(font);
    return word;
}

Mask cropToUsed(const Mask& m) {
    int left = m.width, top = m.height, right = 0, bottom = 0;
    for (int y = 0; y < m.height; ++y) {
        for (int x = 0; x < m.width; ++x) {
            if (test(m, x, y)) {
                left = std::min(left, x);
                top = std::min(top, y);
                right = std::max(right, x + 1);
                bottom = std::max(bottom, y + 1);
            }
        }
    }
    if (right <= left) {
        return makeMask(0, 0);
    }
    Mask out = makeMask(right - left, bottom - top);
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            setBit(out, x - left, y - top, test(m, x, y));
        }
    }
    return out;
}

// Brings the big drawing down to size through a slow wobble, so strokes waver like a pen's.
Mask wobbleDown(const Coverage& word, uint32_t seed) {
    Mask m = makeMask(word.width / Super, word.height / Super);
    const double amplitude = 0.8;
    const double wavelength = 9.0;
    for (int y = 0; y < m.height; ++y) {
        for (int x = 0; x < m.width; ++x) {
            const double u = x / wavelength;
            const double v = y / wavelength;
            const double dx = (valueNoise(u, v, seed) - 0.5) * 2 * amplitude;
            const double dy = (valueNoise(u, v, seed + 101) - 0.5) * 2 * amplitude;
            double sum = 0;
            for (int j = 0; j < Super; ++j) {
                for (int i = 0; i < Super; ++i) {
                    sum +=
                        word.at(roundToInt((x + dx) * Super + i), roundToInt((y + dy) * Super + j));
                }
            }
            setBit(m, x, y, sum >= 0.5 * Super * Super);
        }
    }
    return cropToUsed(m);
}

Mask shapesAtSize(const HandLettering& spec, int size) {
    return wobbleDown(drawWord(spec, size), spec.seed);
}

// The largest size at which the letters fit the spec's box: a guess from one trial size,
// then down a size at a time.
int fittingSize(const HandLettering& spec) {
    const int trial = std::max(8, spec.maxHeight);
    const Mask probe = shapesAtSize(spec, trial);
    const double guess = trial * std::min(static_cast<double>(spec.maxWidth) / probe.width,
                                          static_cast<double>(spec.maxHeight) / probe.height);
    for (int size = static_cast<int>(guess) + 2; size > 4; --size) {
        const Mask m = shapesAtSize(spec, size);
        if (m.width <= spec.maxWidth && m.height <= spec.maxHeight) {
            return size;
        }
    }
    std::fprintf(stderr, "zanbury-artgen: \"%s\" does not fit\n", spec.text.c_str());
    std::exit(1);
}

// The filled letter shapes, tightly cropped, as large as fit the spec's box.
Mask letterShapes(const HandLettering& spec) {
    return shapesAtSize(spec, fittingSize(spec));
}

// Paints the letter shapes with their top-left corner at (x0, y0): a black outline about two
// pixels thick, then the red fill with its shading.
void paintLetters(Image& img, const Mask& shapes, int x0, int y0, uint32_t seed) {
    Mask m = makeMask(img.width, img.height);
    for (int y = 0; y < shapes.height; ++y) {
        for (int x = 0; x < shapes.width; ++x) {
            if (test(shapes, x, y)) {
                setBit(m, x0 + x, y0 + y);
            }
        }
    }
    // Two pixels of outline, and a third on the lower right, as if the pen had gone round
    // each letter twice and slipped.
    const Mask ring1 = grow(m, false);
    const Mask ring2 = grow(ring1, true);
    Mask outline = ring2;
    for (int y = 0; y < img.height; ++y) {
        for (int x = 0; x < img.width; ++x) {
            if (!test(ring2, x, y) && test(ring2, x - 1, y - 1) &&
                valueNoise(x / 7.0, y / 7.0, seed + 7) > 0.2) {
                setBit(outline, x, y);
            }
        }
    }
    removeMask(outline, m);
    paintFlat(img, outline, pal::LetterOutline);
    paintShaded(img, m, pal::LetterRed, 2);
}

} // namespace

bool openLettering() {
    if (TTF_Init() != 0) {
        std::fprintf(stderr, "zanbury-artgen: cannot start the font library: %s\n", TTF_GetError());
        return false;
    }
    return true;
}

void closeLettering() {
    TTF_Quit();
}

Image drawMarker(bool selected) {
    Image img = makeImage(28, 23, KeyGreen);
    Mask dot = makeMask(img.width, img.height);
    addEllipse(dot, {14.5, 12.0}, 9.9, 8.7);
    const Mask ring = grow(grow(dot, false), true);
    Mask outline = ring;
    removeMask(outline, dot);
    paintFlat(img, outline, pal::LetterOutline);
    paintShaded(img, dot, selected ? pal::DotBlue : pal::LetterRed, 2);
    // A shine on the upper left.
    Mask shine = makeMask(img.width, img.height);
    addEllipse(shine, {10.0, 8.0}, 2.2, 1.4);
    paintFlat(img, shine, mix(selected ? pal::DotBlue.light : pal::LetterRed.light, White, 0.5));
    return img;
}

Image drawMenuPanel() {
    Image img = makeImage(264, 97, KeyGreen);
    // The bullets are the marker pictures themselves, where the menu draws its markers:
    // the panel goes to (361, 150) on the screen and the markers to (359, 170) and
    // (359, 217).
    const Image bullet = drawMarker(false);
    paste(img, bullet, 359 - 361, 170 - 150, true);
    paste(img, bullet, 359 - 361, 217 - 150, true);

    HandLettering item{"NEW GAME", 226, 30, 1.0, 0.06, 1.2, 21};
    const int size = fittingSize(item);
    const Mask newGame = shapesAtSize(item, size);
    HandLettering exitItem{"EXIT", 226, 30, 1.0, 0.06, 1.2, 22};
    const Mask exitWord = shapesAtSize(exitItem, size);
    // Each word centred on its bullet's middle row (rows 32 and 79 of the panel).
    paintLetters(img, newGame, 33, 32 - newGame.height / 2, 31);
    paintLetters(img, exitWord, 33, 79 - exitWord.height / 2, 32);
    return img;
}

namespace {

// Two words on two lines at the same size, the second a little to the right.
Image drawTwoLineBanner(int width, int height, const char* first, const char* second,
                        uint32_t seed) {
    Image img = makeImage(width, height, KeyGreen);
    const int margin = 3; // room for the outline
    const int lineHeight = (height - 4 * margin) / 2;
    HandLettering a{first, width - 2 * margin - 8, lineHeight, 1.05, 0.08, 2.0, seed};
    HandLettering b{second, width - 2 * margin - 8, lineHeight, 1.05, 0.08, 2.0, seed + 1};
    const int size = std::min(fittingSize(a), fittingSize(b));
    const Mask top = shapesAtSize(a, size);
    const Mask bottom = shapesAtSize(b, size);
    paintLetters(img, top, margin, margin, seed + 2);
    paintLetters(img, bottom, width - margin - bottom.width, height - margin - bottom.height,
                 seed + 3);
    return img;
}

} // namespace

Image drawLevelClearBanner() {
    return drawTwoLineBanner(216, 114, "Level", "clear", 41);
}

Image drawHighScoresBanner() {
    return drawTwoLineBanner(190, 120, "High", "Scores", 51);
}

Image drawTitleLogo() {
    Image img = makeImage(176, 123, KeyGreen);
    // The name first, so the skater stands in front of its last letter.
    HandLettering name{"Zanbury", 118, 96, 2.0, 0.1, 3.5, 11};
    name.condensed = true;
    const Mask word = letterShapes(name);
    paintLetters(img, word, 3, 10 + (96 - word.height) / 2, 12);

    // The skater at the right, his board upright beside him on its tail, his right hand on
    // its edge.
    const double scale = 1.15;
    const Point origin{133 - 39 * scale, 122 - 84 * scale};
    const Point hand{56, 47};
    const Point handAt{origin.x + hand.x * scale, origin.y + hand.y * scale};
    paintUnderside(img, {handAt.x + 4.5, 113}, {handAt.x + 4.5, 42}, 6.2);
    drawFrontSkater(img, standingHoldingBoard(hand), {origin, scale});
    return img;
}

Image drawCreditLine() {
    Image img = makeImage(95, 11, KeyGreen);
    const char* text = "Zanbury crew 2026";
    for (int size = 12; size > 5; --size) {
        TTF_Font* font = openFont(CondensedFont, size);
        const SDL_Color black{0, 0, 0, 255};
        SDL_Surface* s = TTF_RenderUTF8_Solid(font, text, black);
        TTF_CloseFont(font);
        if (s == nullptr) {
            fail("cannot draw the credit line");
        }
        // Solid rendering gives 8-bit pixels, nonzero where the ink is.
        int top = s->h, bottom = 0, right = 0;
        for (int y = 0; y < s->h; ++y) {
            const Uint8* row = static_cast<const Uint8*>(s->pixels) + y * s->pitch;
            for (int x = 0; x < s->w; ++x) {
                if (row[x] != 0) {
                    top = std::min(top, y);
                    bottom = std::max(bottom, y + 1);
                    right = std::max(right, x + 1);
                }
            }
        }
        if (right + 1 <= img.width && bottom - top <= img.height) {
            const int y0 = (img.height - (bottom - top)) / 2 - top;
            for (int y = 0; y < s->h; ++y) {
                const Uint8* row = static_cast<const Uint8*>(s->pixels) + y * s->pitch;
                for (int x = 0; x < s->w; ++x) {
                    if (row[x] != 0) {
                        put(img, x + 1, y + y0, Black);
                    }
                }
            }
            SDL_FreeSurface(s);
            return img;
        }
        SDL_FreeSurface(s);
    }
    std::fprintf(stderr, "zanbury-artgen: the credit line does not fit\n");
    std::exit(1);
}

} // namespace artgen
