// The SDL platform's present: the 640 x 480 RGB565 picture converted to the window's pixel
// format while it is scaled by the largest whole factor that fits, centred on black.
//
// The picture goes to the window's own surface: each present converts it while scaling it, and
// hands over just the picture's area. No renderer is made, so no graphics library is loaded:
// with Mesa that alone costs about 90 MB and half a second of start-up, and its software
// rasteriser, which is all a virtual display offers, scales far more slowly than the plain loop
// below.

#include "platform/platform.h"
#include "platform/sdl/sdl_state.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace platform::detail {
namespace {

struct PresentState {
    SDL_Surface* shownOn = nullptr; // the window surface whose borders were last painted black
    bool toldNoSurface = false;     // a window without a surface is reported once, not per frame
    SDL_Surface* staging = nullptr; // the picture as an SDL surface, made for the first window
                                    // format that the fast conversion does not handle
    uint32_t fromHigh[256] = {};    // a picture pixel in the window's format is
    uint32_t fromLow[256] = {};     // fromHigh[pixel >> 8] | fromLow[pixel & 0xff]
    Uint32 tablesFormat = SDL_PIXELFORMAT_UNKNOWN; // the format the tables were made for
    // Set from ZANBURY_REPORT_FIRST_PRESENT: the first present writes its moment to standard
    // error, for measuring the start-up time.
    bool reportFirstPresent = false;
};

PresentState present;

// The tables that turn a picture pixel into the window's format, for any format of 32 bits a
// pixel and 8 bits a channel. The 5- and 6-bit channels are widened by repeating their top bits,
// so that black stays 0 and white 255. Green's six bits straddle the two bytes, but its widened
// value is still the OR of a part from each byte. False for any other format.
bool makeTables(const SDL_PixelFormat* format) {
    if (format->format == present.tablesFormat) {
        return true;
    }
    if (format->BytesPerPixel != 4 || format->Rloss != 0 || format->Gloss != 0 ||
        format->Bloss != 0) {
        return false;
    }
    for (uint32_t byte = 0; byte < 256; ++byte) {
        const uint32_t red = byte >> 3;      // the high byte: RRRRRGGG
        const uint32_t greenTop = byte & 7u; // green's top three bits
        present.fromHigh[byte] = ((red << 3 | red >> 2) << format->Rshift) |
                                 ((greenTop << 5 | greenTop >> 1) << format->Gshift) |
                                 format->Amask;
        const uint32_t greenLow = byte >> 5; // the low byte: GGGBBBBB
        const uint32_t blue = byte & 31u;
        present.fromLow[byte] =
            ((greenLow << 2) << format->Gshift) | ((blue << 3 | blue >> 2) << format->Bshift);
    }
    present.tablesFormat = format->format;
    return true;
}

// The part of the picture that a window shows, and where: the whole picture but in a window
// smaller than it (only possible at scale 1), which shows its middle.
struct Placement {
    int scale = 1;
    int fromX = 0; // the first picture column and row shown
    int fromY = 0;
    int columns = 0; // how many picture columns and rows are shown
    int rows = 0;
    SDL_Rect to{}; // the window area they cover
};

Placement place(const SDL_Surface* screen) {
    Placement p;
    p.scale = std::max(1, std::min(screen->w / ScreenWidth, screen->h / ScreenHeight));
    const int left = (screen->w - ScreenWidth * p.scale) / 2;
    const int top = (screen->h - ScreenHeight * p.scale) / 2;
    p.fromX = std::max(0, -left);
    p.fromY = std::max(0, -top);
    p.columns = std::min(ScreenWidth - p.fromX, screen->w / p.scale);
    p.rows = std::min(ScreenHeight - p.fromY, screen->h / p.scale);
    p.to = SDL_Rect{std::max(0, left), std::max(0, top), p.columns * p.scale, p.rows * p.scale};
    return p;
}

// A picture pixel in the window's format, from the tables.
uint32_t widen(uint16_t pixel) {
    return present.fromHigh[pixel >> 8] | present.fromLow[pixel & 0xffu];
}

// Converts the shown part of the picture into the window surface, each pixel made a
// scale x scale square.
void convertScaled(const uint16_t* pixels, int pitchBytes, SDL_Surface* screen,
                   const Placement& p) {
    const int scale = p.scale;
    const std::size_t rowBytes = static_cast<std::size_t>(p.to.w) * 4;
    for (int y = 0; y < p.rows; ++y) {
        const auto* from = reinterpret_cast<const uint16_t*>(
                               reinterpret_cast<const uint8_t*>(pixels) +
                               static_cast<std::ptrdiff_t>(p.fromY + y) * pitchBytes) +
                           p.fromX;
        auto* row = static_cast<uint8_t*>(screen->pixels) +
                    static_cast<std::ptrdiff_t>(p.to.y + y * scale) * screen->pitch +
                    static_cast<std::ptrdiff_t>(p.to.x) * 4;
        auto* out = reinterpret_cast<uint32_t*>(row);
        if (scale == 1) {
            for (int x = 0; x < p.columns; ++x) {
                out[x] = widen(from[x]);
            }
        } else if (scale == 2) {
            // The usual case on today's screens: each pixel twice, as one 64-bit store.
            for (int x = 0; x < p.columns; ++x) {
                const uint64_t colour = widen(from[x]);
                const uint64_t pair = colour | colour << 32;
                std::memcpy(out + 2 * x, &pair, sizeof pair);
            }
        } else {
            for (int x = 0; x < p.columns; ++x) {
                const uint32_t colour = widen(from[x]);
                for (int k = 0; k < scale; ++k) {
                    *out++ = colour;
                }
            }
        }
        for (int k = 1; k < scale; ++k) {
            std::memcpy(row + static_cast<std::ptrdiff_t>(k) * screen->pitch, row, rowBytes);
        }
    }
}

// A window format that the tables do not cover: SDL converts and scales, from a copy of the
// picture in a surface of its own. False when that surface cannot be had.
bool blitThroughSdl(const uint16_t* pixels, int pitchBytes, SDL_Surface* screen,
                    const Placement& p) {
    if (present.staging == nullptr) {
        present.staging = SDL_CreateRGBSurfaceWithFormat(0, ScreenWidth, ScreenHeight, 16,
                                                         SDL_PIXELFORMAT_RGB565);
        if (present.staging == nullptr) {
            return false;
        }
        SDL_SetSurfaceBlendMode(present.staging, SDL_BLENDMODE_NONE);
    }
    for (int y = 0; y < ScreenHeight; ++y) {
        std::memcpy(static_cast<uint8_t*>(present.staging->pixels) +
                        static_cast<std::ptrdiff_t>(y) * present.staging->pitch,
                    reinterpret_cast<const uint8_t*>(pixels) +
                        static_cast<std::ptrdiff_t>(y) * pitchBytes,
                    ScreenWidth * sizeof(uint16_t));
    }
    SDL_Rect from{p.fromX, p.fromY, p.columns, p.rows};
    SDL_Rect area = p.to;
    SDL_BlitScaled(present.staging, &from, screen, &area);
    return true;
}

void reportFirstPresent() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    timespec used{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used);
    std::fprintf(stderr, "zanbury: first present at realtime %lld%09ld ns after %lld us of CPU\n",
                 static_cast<long long>(now.tv_sec), now.tv_nsec,
                 static_cast<long long>(used.tv_sec) * 1000000 + used.tv_nsec / 1000);
}

} // namespace

void openPresent() {
    sdl.repaintAll = true;
    present.shownOn = nullptr;
    present.reportFirstPresent = std::getenv("ZANBURY_REPORT_FIRST_PRESENT") != nullptr;
}

void closePresent() {
    SDL_FreeSurface(present.staging);
    present.staging = nullptr;
    present.shownOn = nullptr;
    present.tablesFormat = SDL_PIXELFORMAT_UNKNOWN;
}

} // namespace platform::detail

namespace platform {

using detail::sdl;

void presentFrame(const uint16_t* pixels, int pitchBytes) {
    detail::PresentState& present = detail::present;
    if (sdl.window == nullptr) {
        return;
    }
    SDL_Surface* screen = SDL_GetWindowSurface(sdl.window); // made afresh after a resize
    if (screen == nullptr) {
        if (!present.toldNoSurface) {
            present.toldNoSurface = true;
            std::fprintf(stderr, "zanbury: cannot draw to the window: %s\n", SDL_GetError());
        }
        return;
    }
    const detail::Placement p = detail::place(screen);
    const SDL_Rect& to = p.to;
    const bool repaint = sdl.repaintAll || screen != present.shownOn;
    if (repaint) {
        // Black around the picture; the picture's own area is painted over below.
        const SDL_Rect borders[4] = {
            {0, 0, screen->w, to.y},
            {0, to.y + to.h, screen->w, screen->h - to.y - to.h},
            {0, to.y, to.x, to.h},
            {to.x + to.w, to.y, screen->w - to.x - to.w, to.h},
        };
        SDL_FillRects(screen, borders, 4, SDL_MapRGB(screen->format, 0, 0, 0));
    }
    if (detail::makeTables(screen->format)) {
        if (SDL_MUSTLOCK(screen)) {
            SDL_LockSurface(screen);
        }
        detail::convertScaled(pixels, pitchBytes, screen, p);
        if (SDL_MUSTLOCK(screen)) {
            SDL_UnlockSurface(screen);
        }
    } else if (!detail::blitThroughSdl(pixels, pitchBytes, screen, p)) {
        return;
    }
    if (repaint) {
        SDL_UpdateWindowSurface(sdl.window);
    } else {
        SDL_UpdateWindowSurfaceRects(sdl.window, &to, 1);
    }
    present.shownOn = screen;
    sdl.repaintAll = false;
    if (present.reportFirstPresent) {
        present.reportFirstPresent = false;
        detail::reportFirstPresent();
    }
}

} // namespace platform
