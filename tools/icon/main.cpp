// zanbury-icon SPRITES.bmp SIZE OUT.png: the desktop icon, the standing skater from the sprite
// sheet on a transparent SIZE x SIZE square. The 96-pixel icon holds the skater at 1:1; every
// other size scales that picture, each pixel the average of the area it covers, so that small
// icons keep the figure's shape and large ones stay sharp.
// zanbury-icon SPRITES.bmp SIZE,SIZE,... OUT.ico: the Windows icon, one PNG picture of each size
// (at most 256) in one icon file.

#include "display/atlas.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

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

// The sizes of a comma-separated list, each 16 to `largest`; empty when the list is not that.
std::vector<int> readSizes(const char* list, int largest) {
    std::vector<int> sizes;
    const char* at = list;
    for (;;) {
        char* end = nullptr;
        const long size = std::strtol(at, &end, 10);
        if (end == at || size < 16 || size > largest || (*end != ',' && *end != '\0')) {
            return {};
        }
        sizes.push_back(static_cast<int>(size));
        if (*end == '\0') {
            return sizes;
        }
        at = end + 1;
    }
}

bool endsWith(const std::string& text, const char* tail) {
    const std::size_t n = std::strlen(tail);
    return text.size() >= n && text.compare(text.size() - n, n, tail) == 0;
}

SDL_Surface* makeIcon(const SDL_Surface* rgba, const Rect& body, int side) {
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormat(0, side, side, 32, SDL_PIXELFORMAT_RGBA32);
    if (icon != nullptr) {
        drawIcon(rgba, body, icon, side);
    }
    return icon;
}

bool writeLittle(SDL_RWops* to, Uint32 value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        const Uint8 byte = static_cast<Uint8>(value >> (8 * i));
        if (SDL_RWwrite(to, &byte, 1, 1) != 1) {
            return false;
        }
    }
    return true;
}

// An icon file: its directory (6 bytes, then 16 for each picture) and then each picture as PNG,
// which Windows reads in icons of any size. The directory is written last, once the pictures'
// lengths are known.
bool saveIco(const SDL_Surface* rgba, const Rect& body, const std::vector<int>& sizes,
             const char* path) {
    SDL_RWops* to = SDL_RWFromFile(path, "wb");
    if (to == nullptr) {
        return false;
    }
    const Sint64 directory = 6 + 16 * static_cast<Sint64>(sizes.size());
    bool ok = SDL_RWseek(to, directory, RW_SEEK_SET) == directory;
    std::vector<Sint64> starts;
    for (const int side : sizes) {
        starts.push_back(SDL_RWtell(to));
        SDL_Surface* icon = ok ? makeIcon(rgba, body, side) : nullptr;
        ok = icon != nullptr && IMG_SavePNG_RW(icon, to, 0) == 0;
        SDL_FreeSurface(icon);
    }
    starts.push_back(SDL_RWtell(to));
    ok = ok && SDL_RWseek(to, 0, RW_SEEK_SET) == 0 && writeLittle(to, 0, 2) &&
         writeLittle(to, 1, 2) && writeLittle(to, static_cast<Uint32>(sizes.size()), 2);
    for (std::size_t i = 0; ok && i < sizes.size(); ++i) {
        const Uint32 side = sizes[i] == 256 ? 0 : static_cast<Uint32>(sizes[i]); // 0 is 256
        ok = writeLittle(to, side, 1) && writeLittle(to, side, 1) && writeLittle(to, 0, 2) &&
             writeLittle(to, 1, 2) && writeLittle(to, 32, 2) &&
             writeLittle(to, static_cast<Uint32>(starts[i + 1] - starts[i]), 4) &&
             writeLittle(to, static_cast<Uint32>(starts[i]), 4);
    }
    return SDL_RWclose(to) == 0 && ok;
}

} // namespace

int main(int argc, char** argv) {
    const bool ico = argc == 4 && endsWith(argv[3], ".ico");
    const std::vector<int> sizes =
        argc == 4 ? readSizes(argv[2], ico ? 256 : 1024) : std::vector<int>{};
    if (sizes.empty() || (!ico && sizes.size() != 1)) {
        std::fprintf(stderr, "usage: zanbury-icon SPRITES.bmp SIZE OUT.png (SIZE 16 to 1024)\n"
                             "       zanbury-icon SPRITES.bmp SIZE,SIZE,... OUT.ico (16 to 256)\n");
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
    if (ico) {
        const bool saved = saveIco(rgba, body, sizes, argv[3]);
        if (!saved) {
            std::fprintf(stderr, "zanbury-icon: %s: %s\n", argv[3], SDL_GetError());
            std::remove(argv[3]); // no half-written icon for the build to take
        }
        SDL_FreeSurface(rgba);
        return saved ? 0 : 1;
    }
    SDL_Surface* icon = makeIcon(rgba, body, sizes[0]);
    if (icon == nullptr) {
        std::fprintf(stderr, "zanbury-icon: cannot make the icon for %s: %s\n", argv[1],
                     SDL_GetError());
        SDL_FreeSurface(rgba);
        return 1;
    }
    int code = IMG_SavePNG(icon, argv[3]) == 0 ? 0 : 1;
    if (code != 0) {
        std::fprintf(stderr, "zanbury-icon: %s: %s\n", argv[3], IMG_GetError());
    }
    SDL_FreeSurface(icon);
    SDL_FreeSurface(rgba);
    return code;
}
