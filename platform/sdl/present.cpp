// The SDL platform's present: the 640 x 480 RGB565 picture fills the window in the player's
// look, with the overlays (the "Paused" sign, the lives) drawn over it at a whole scale. Through
// the GPU's renderer where the machine has one (present_gpu.cpp); else into the window's own
// surface, converted to its format while the processor scales it (scaler.h), making and handing
// over only the rows that changed since the last present. Mesa's software rasteriser, all that a
// virtual display offers, costs about 90 MB and half a second of start-up and scales far more
// slowly than the processor's loop here.

#include "platform/layout.h"
#include "platform/platform.h"
#include "platform/scaler.h"
#include "platform/sdl/sdl_state.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

namespace platform::detail {
namespace {

struct PresentState {
    SDL_Surface* shownOn = nullptr; // the window surface whose borders were last painted black
    layout::Box shownAt;            // where the picture was last
    bool toldNoSurface = false;     // a window without a surface is reported once, not per frame
    SDL_Surface* staging = nullptr; // the picture as an SDL surface, made for the first window
                                    // format that the fast conversion does not handle
    scaler::Widen widen;
    Uint32 tablesFormat = SDL_PIXELFORMAT_UNKNOWN; // the format the tables were made for
    scaler::Axis xs;                               // the scale's tables for shownAt's size
    scaler::Axis ys;
    scaler::Work work;
    std::vector<SDL_Rect> outside; // overlays drawn beyond the picture, black again next time
    std::vector<SDL_Rect> over;    // overlays drawn over the picture, made again next time
    std::vector<uint16_t> kept;    // the last picture scaled, to find the rows that changed
    std::vector<uint8_t> changed;  // a flag per picture row: its output rows are made again
    std::vector<SDL_Rect> handOver;
    // Set from ZANBURY_REPORT_FIRST_PRESENT: the first present writes its moment to standard
    // error, for measuring the start-up time.
    bool reportFirstPresent = false;
};

PresentState present;

// The tables for any format of 32 bits a pixel and 8 bits a channel; false for any other.
bool makeTables(const SDL_PixelFormat* format) {
    if (format->format == present.tablesFormat) {
        return true;
    }
    if (format->BytesPerPixel != 4 || format->Rloss != 0 || format->Gloss != 0 ||
        format->Bloss != 0) {
        return false;
    }
    present.widen =
        scaler::makeWiden(format->Rshift, format->Gshift, format->Bshift, format->Amask);
    present.tablesFormat = format->format;
    return true;
}

// A window format that the tables do not cover: SDL converts and scales, from a copy of the
// picture in a surface of its own. False when that surface cannot be had.
bool blitThroughSdl(const uint16_t* pixels, int pitchBytes, SDL_Surface* screen,
                    const layout::Box& box) {
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
    SDL_Rect area{box.x, box.y, box.w, box.h};
    SDL_BlitScaled(present.staging, nullptr, screen, &area);
    return true;
}

bool inside(const SDL_Rect& r, const layout::Box& box) {
    return r.x >= box.x && r.y >= box.y && r.x + r.w <= box.x + box.w && r.y + r.h <= box.y + box.h;
}

// Draws one overlay over `at`, at the whole scale that fills it; an area beyond the picture is
// noted, to be painted black next time.
void drawOverlay(const Picture& picture, const layout::Box& at, SDL_Surface* screen,
                 const layout::Box& box, std::vector<SDL_Rect>& outside) {
    scaler::drawOver(picture, present.widen, at.w / std::max(1, picture.width), at.x, at.y,
                     static_cast<uint32_t*>(screen->pixels), screen->pitch, screen->w, screen->h);
    SDL_Rect r{at.x, at.y, at.w, at.h};
    const SDL_Rect all{0, 0, screen->w, screen->h};
    SDL_Rect shown{};
    if (SDL_IntersectRect(&r, &all, &shown) == SDL_FALSE) {
        return;
    }
    if (!inside(r, box)) {
        outside.push_back(shown);
    }
    // The part over the picture is made again next time, also where the overlay only reaches
    // into it (the black painted there next time goes under the picture).
    const SDL_Rect area{box.x, box.y, box.w, box.h};
    SDL_Rect over{};
    if (SDL_IntersectRect(&shown, &area, &over) == SDL_TRUE) {
        present.over.push_back(over);
    }
}

void drawOverlays(const Overlays& overlays, SDL_Surface* screen, const layout::Box& box,
                  std::vector<SDL_Rect>& outside) {
    layout::forEachOverlay(overlays, {sdl.settings.lives, sdl.settings.standing}, box, screen->w,
                           [&](const Picture& picture, const layout::Box& at) {
                               drawOverlay(picture, at, screen, box, outside);
                           });
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

// Notes in present.changed the picture rows whose output rows are made this time: those that
// changed since the last present, those under the overlays drawn over the picture last time, or
// all of them when the surface was painted afresh.
void markRowsToMake(const uint16_t* pixels, int pitchBytes, const layout::Box& box, bool all) {
    if (all) {
        present.kept.clear();
    }
    scaler::markChangedRows(pixels, pitchBytes, present.kept, present.changed);
    for (const SDL_Rect& r : present.over) {
        const int top = std::clamp(r.y - box.y, 0, box.h);
        const int bottom = std::clamp(r.y + r.h - box.y, 0, box.h);
        for (int y = top; y < bottom; ++y) {
            present.changed[present.ys.from[static_cast<std::size_t>(y)]] = 1;
        }
    }
    present.over.clear();
}

// The bands of output rows made this time, to be handed over to the display server.
void addRowsMade(const layout::Box& box, std::vector<SDL_Rect>& rects) {
    const std::size_t rows = present.ys.from.size();
    for (std::size_t y = 0; y < rows;) {
        if (!scaler::madeFromChanged(present.ys, present.changed.data(), y)) {
            ++y;
            continue;
        }
        const std::size_t first = y;
        while (y < rows && scaler::madeFromChanged(present.ys, present.changed.data(), y)) {
            ++y;
        }
        rects.push_back(
            SDL_Rect{box.x, box.y + static_cast<int>(first), box.w, static_cast<int>(y - first)});
    }
}

// The window surface's present.
void presentToSurface(const uint16_t* pixels, int pitchBytes, const Overlays& overlays) {
    SDL_Surface* screen = SDL_GetWindowSurface(sdl.window); // made afresh after a resize
    if (screen == nullptr) {
        if (!present.toldNoSurface) {
            present.toldNoSurface = true;
            std::fprintf(stderr, "zanbury: cannot draw to the window: %s\n", SDL_GetError());
        }
        return;
    }
    const layout::Box box = layout::pictureBox(sdl.settings.look, screen->w, screen->h);
    const SDL_Rect to{box.x, box.y, box.w, box.h};
    const bool repaint = sdl.repaintAll || screen != present.shownOn || box != present.shownAt;
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
    // What is handed over: last time's overlays beyond the picture (painted black now), the rows
    // made, this time's overlays. Kept between presents so that a present does not allocate.
    std::vector<SDL_Rect>& changed = present.handOver;
    changed.clear();
    std::swap(changed, present.outside);
    if (!repaint && !changed.empty()) {
        SDL_FillRects(screen, changed.data(), static_cast<int>(changed.size()), 0);
    }
    const Uint32 tablesBefore = present.tablesFormat;
    if (makeTables(screen->format)) {
        bool fresh = repaint || present.tablesFormat != tablesBefore;
        if (box.w != static_cast<int>(present.xs.from.size()) ||
            box.h != static_cast<int>(present.ys.from.size())) {
            present.xs = scaler::sharpAxis(ScreenWidth, box.w);
            present.ys = scaler::sharpAxis(ScreenHeight, box.h);
            fresh = true;
        }
        markRowsToMake(pixels, pitchBytes, box, fresh);
        if (SDL_MUSTLOCK(screen)) {
            SDL_LockSurface(screen);
        }
        auto* origin =
            reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(screen->pixels) +
                                        static_cast<std::ptrdiff_t>(box.y) * screen->pitch) +
            box.x;
        scaler::scale(pixels, pitchBytes, present.widen, present.xs, present.ys, present.work,
                      origin, screen->pitch, present.changed.data());
        addRowsMade(box, changed);
        drawOverlays(overlays, screen, box, present.outside);
        if (SDL_MUSTLOCK(screen)) {
            SDL_UnlockSurface(screen);
        }
    } else if (blitThroughSdl(pixels, pitchBytes, screen, box)) {
        present.kept.clear(); // the next fast present makes every row
        changed.push_back(to);
    } else {
        return;
    }
    if (repaint) {
        SDL_UpdateWindowSurface(sdl.window);
    } else {
        changed.insert(changed.end(), present.over.begin(), present.over.end());
        changed.insert(changed.end(), present.outside.begin(), present.outside.end());
        SDL_UpdateWindowSurfaceRects(sdl.window, changed.data(), static_cast<int>(changed.size()));
    }
    present.shownOn = screen;
    present.shownAt = box;
}

} // namespace

void openPresent() {
    sdl.repaintAll = true;
    present.shownOn = nullptr;
    present.reportFirstPresent = std::getenv("ZANBURY_REPORT_FIRST_PRESENT") != nullptr;
}

void closePresent() {
    closeGpu();
    SDL_FreeSurface(present.staging);
    present.staging = nullptr;
    present.shownOn = nullptr;
    present.tablesFormat = SDL_PIXELFORMAT_UNKNOWN;
    present.outside.clear();
    present.over.clear();
    present.kept.clear();
}

} // namespace platform::detail

namespace platform {

using detail::sdl;

void presentFrame(const uint16_t* pixels, int pitchBytes, const Overlays& overlays) {
    if (sdl.window == nullptr) {
        return;
    }
    if (sdl.renderer != nullptr) {
        detail::presentThroughGpu(pixels, pitchBytes, overlays);
    } else {
        detail::presentToSurface(pixels, pitchBytes, overlays);
    }
    sdl.repaintAll = false;
    if (detail::present.reportFirstPresent) {
        detail::present.reportFirstPresent = false;
        detail::reportFirstPresent();
    }
}

} // namespace platform
