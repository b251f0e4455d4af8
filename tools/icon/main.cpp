// zanbury-icon SPRITES.bmp SIZE OUT.png: the desktop icon, the standing skater from the sprite
// sheet on a transparent SIZE x SIZE square. The 96-pixel icon holds the skater at 1:1; every
// other size scales that picture, each pixel the average of the area it covers, so that small
// icons keep the figure's shape and large ones stay sharp.

#include "display/atlas.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int LayoutSize = 96; // the size at which the skater is copied 1:1

// The part of [a0, a1) that lies in [b0, b1).
double overlap(double a0, double a1, double b0, double b1) {
    return std::max(0.0, std::min(a1, b1) - std::max(a0, b0));
}

// The skater's pixel at (x, y) of the 96-pixel layout, as RGBA in 0..1; the key green and
// everything outside the picture are transparent.
void layoutPixel(const SDL_Surface* rgba, const Rect& body, int x, int y, double out[4]) {
    const int offsetX = (LayoutSize - body.width()) / 2;
    const int offsetY = (LayoutSize - body.height()) / 2;
    const int sx = x - offsetX;
    const int sy = y - offsetY;
    out[0] = out[1] = out[2] = out[3] = 0.0;
    if (sx < 0 || sy < 0 || sx >= body.width() || sy >= body.height()) {
        return;
    }
    const auto* from = static_cast<const Uint8*>(rgba->pixels) + (body.top + sy) * rgba->pitch +
                       (body.left + sx) * 4;
    if (from[0] == 0 && from[1] == 255 && from[2] == 0) {
        return;
    }
    out[0] = from[0] / 255.0;
    out[1] = from[1] / 255.0;
    out[2] = from[2] / 255.0;
    out[3] = 1.0;
}

// Fills the SIZE x SIZE icon: each icon pixel covers a square of the layout, 96 / SIZE on a
// side, and takes the area-weighted average of the layout pixels under it.
void drawIcon(const SDL_Surface* rgba, const Rect& body, SDL_Surface* icon, int size) {
    const double step = static_cast<double>(LayoutSize) / size;
    for (int y = 0; y < size; ++y) {
        const double y0 = y * step;
        const double y1 = (y + 1) * step;
        for (int x = 0; x < size; ++x) {
            const double x0 = x * step;
            const double x1 = (x + 1) * step;
            double sum[4] = {0, 0, 0, 0};
            for (int ly = static_cast<int>(y0); ly < y1; ++ly) {
                for (int lx = static_cast<int>(x0); lx < x1; ++lx) {
                    const double weight = overlap(y0, y1, ly, ly + 1) * overlap(x0, x1, lx, lx + 1);
                    double p[4];
                    layoutPixel(rgba, body, lx, ly, p);
                    for (int c = 0; c < 4; ++c) {
                        sum[c] +=
                            weight * p[c] * (c < 3 ? p[3] : 1.0); // colour premultiplied by alpha
                    }
                }
            }
            auto* to = static_cast<Uint8*>(icon->pixels) + y * icon->pitch + x * 4;
            const double area = step * step;
            const double alpha = sum[3] / area;
            for (int c = 0; c < 3; ++c) {
                const double value = sum[3] > 0 ? sum[c] / sum[3] : 0.0;
                to[c] = static_cast<Uint8>(std::lround(std::clamp(value, 0.0, 1.0) * 255));
            }
            to[3] = static_cast<Uint8>(std::lround(std::clamp(alpha, 0.0, 1.0) * 255));
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    char* end = nullptr;
    const long size = argc == 4 ? std::strtol(argv[2], &end, 10) : 0;
    if (argc != 4 || *end != '\0' || size < 16 || size > 1024) {
        std::fprintf(stderr, "usage: zanbury-icon SPRITES.bmp SIZE OUT.png (SIZE 16 to 1024)\n");
        return 2;
    }
    SDL_Surface* sheet = SDL_LoadBMP(argv[1]);
    if (sheet == nullptr) {
        std::fprintf(stderr, "zanbury-icon: %s: %s\n", argv[1], SDL_GetError());
        return 1;
    }
    const Rect body = atlas::BodyStand; // 68 x 84
    // A smaller picture would be read past its edges, so it is refused rather than copied.
    if (sheet->w < body.right || sheet->h < body.bottom) {
        std::fprintf(stderr,
                     "zanbury-icon: %s: the sheet is %d x %d, too small to hold the standing "
                     "skater (needs at least %d x %d)\n",
                     argv[1], sheet->w, sheet->h, body.right, body.bottom);
        SDL_FreeSurface(sheet);
        return 1;
    }
    SDL_Surface* rgba = SDL_ConvertSurfaceFormat(sheet, SDL_PIXELFORMAT_RGBA32, 0);
    SDL_FreeSurface(sheet);
    if (rgba == nullptr) {
        std::fprintf(stderr, "zanbury-icon: %s: cannot convert to RGBA: %s\n", argv[1],
                     SDL_GetError());
        return 1;
    }
    const int side = static_cast<int>(size);
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormat(0, side, side, 32, SDL_PIXELFORMAT_RGBA32);
    if (icon == nullptr) {
        std::fprintf(stderr, "zanbury-icon: cannot make the icon for %s: %s\n", argv[1],
                     SDL_GetError());
        SDL_FreeSurface(rgba);
        return 1;
    }
    drawIcon(rgba, body, icon, side);
    int code = IMG_SavePNG(icon, argv[3]) == 0 ? 0 : 1;
    if (code != 0) {
        std::fprintf(stderr, "zanbury-icon: %s: %s\n", argv[3], IMG_GetError());
    }
    SDL_FreeSurface(icon);
    SDL_FreeSurface(rgba);
    return code;
}
