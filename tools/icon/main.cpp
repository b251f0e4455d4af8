// zanbury-icon SPRITES.bmp OUT.png: the desktop icon, the standing skater from the sprite
// sheet on a transparent square, scaled up by whole pixels.

#include "display/atlas.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: zanbury-icon SPRITES.bmp OUT.png\n");
        return 2;
    }
    SDL_Surface* sheet = SDL_LoadBMP(argv[1]);
    if (sheet == nullptr) {
        std::fprintf(stderr, "zanbury-icon: %s: %s\n", argv[1], SDL_GetError());
        return 1;
    }
    const Rect body = atlas::BodyStand; // 68 x 84, shown at 1:1 in a 96 x 96 icon
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
    constexpr int Size = 96;
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormat(0, Size, Size, 32, SDL_PIXELFORMAT_RGBA32);
    if (icon == nullptr) {
        std::fprintf(stderr, "zanbury-icon: cannot make the icon for %s: %s\n", argv[1],
                     SDL_GetError());
        SDL_FreeSurface(rgba);
        return 1;
    }
    SDL_FillRect(icon, nullptr, SDL_MapRGBA(icon->format, 0, 0, 0, 0));
    const int offsetX = (Size - body.width()) / 2;
    const int offsetY = (Size - body.height()) / 2;
    for (int y = 0; y < body.height(); ++y) {
        for (int x = 0; x < body.width(); ++x) {
            const auto* from = static_cast<const Uint8*>(rgba->pixels) +
                               (body.top + y) * rgba->pitch + (body.left + x) * 4;
            // The key green is the picture's background: transparent in the icon.
            if (from[0] == 0 && from[1] == 255 && from[2] == 0) {
                continue;
            }
            auto* to =
                static_cast<Uint8*>(icon->pixels) + (offsetY + y) * icon->pitch + (offsetX + x) * 4;
            to[0] = from[0];
            to[1] = from[1];
            to[2] = from[2];
            to[3] = 255;
        }
    }
    int code = IMG_SavePNG(icon, argv[2]) == 0 ? 0 : 1;
    if (code != 0) {
        std::fprintf(stderr, "zanbury-icon: %s: %s\n", argv[2], IMG_GetError());
    }
    SDL_FreeSurface(icon);
    SDL_FreeSurface(rgba);
    return code;
}
