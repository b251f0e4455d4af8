#include "display/display.h"

#include "core/fnv.h"
#include "display/display_state.h"
#include "display/resources.h"
#include "platform/platform.h"

#include <cstdio>
#include <cstring>
#include <iterator>

namespace display {
namespace detail {

DisplayState& state() {
    static DisplayState s;
    return s;
}

SDL_Surface* loadBitmapSurface(const char* name, bool useResource) {
    SDL_Surface* loaded = nullptr;
    const resources::Resource* res = useResource ? resources::find(name) : nullptr;
    if (res != nullptr) {
        loaded = SDL_LoadBMP_RW(SDL_RWFromConstMem(res->data, static_cast<int>(res->size)), 1);
    }
    if (loaded == nullptr) {
        loaded = SDL_LoadBMP(name);
    }
    if (loaded == nullptr) {
        return nullptr;
    }
    SDL_Surface* converted = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB565, 0);
    SDL_FreeSurface(loaded);
    return converted;
}

} // namespace detail

using detail::state;

namespace {

bool fits(const Rect& src, int32_t x, int32_t y, const SDL_Surface* from) {
    if (src.empty() || src.left < 0 || src.top < 0 || src.right > from->w || src.bottom > from->h) {
        return false;
    }
    // Subtracting keeps the test free of overflow whatever the destination.
    return x >= 0 && y >= 0 && x <= platform::ScreenWidth - src.width() &&
           y <= platform::ScreenHeight - src.height();
}

uint16_t* backPixels() {
    return static_cast<uint16_t*>(state().backBuffer->pixels);
}

int32_t backPitchPixels() {
    return state().backBuffer->pitch / 2;
}

} // namespace

bool openDisplay(std::string& problem) {
    closeDisplay(); // opening again starts afresh rather than losing the surfaces
    auto& s = state();
    s.backBuffer = SDL_CreateRGBSurfaceWithFormat(0, platform::ScreenWidth, platform::ScreenHeight,
                                                  16, SDL_PIXELFORMAT_RGB565);
    if (s.backBuffer == nullptr) {
        problem = std::string("cannot make the back buffer: ") + SDL_GetError();
        return false;
    }
    SDL_FillRect(s.backBuffer, nullptr, 0);
    s.sheet = detail::loadBitmapSurface("SPRITES", true);
    s.backdrop = detail::loadBitmapSurface("BACKGROUND", true);
    if (s.sheet == nullptr || s.backdrop == nullptr) {
        problem = std::string("cannot load the picture ") +
                  (s.sheet == nullptr ? "SPRITES" : "BACKGROUND");
        closeDisplay();
        return false;
    }
    // The key is compared in the display's own format: pure green is 0x07E0 in RGB565. The
    // comparison is made here, once: a keyed blit copies the runs of other pixels.
    s.key = SDL_MapRGB(s.sheet->format, 0, 255, 0);
    s.keyedSheet =
        detail::encodeKeyed(static_cast<const uint16_t*>(s.sheet->pixels), s.sheet->w, s.sheet->h,
                            s.sheet->pitch / 2, static_cast<uint16_t>(s.key));
    if (!detail::openText(problem)) {
        closeDisplay();
        return false;
    }
    detail::makeSign();
    detail::openSounds();
    return true;
}

void closeDisplay() {
    auto& s = state();
    detail::closeText();
    SDL_FreeSurface(s.backBuffer);
    SDL_FreeSurface(s.sheet);
    SDL_FreeSurface(s.backdrop);
    s = detail::DisplayState{};
}

void blitSprite(const Rect& src, int32_t x, int32_t y) {
    const auto& s = state();
    if (s.sheet == nullptr || !fits(src, x, y, s.sheet)) {
        return;
    }
    detail::blitKeyed(s.keyedSheet, src, backPixels(), backPitchPixels(), x, y);
}

void blitBackdrop(const Rect& src, int32_t x, int32_t y) {
    const SDL_Surface* from = state().backdrop;
    if (from == nullptr || !fits(src, x, y, from)) {
        return;
    }
    const std::size_t rowBytes = static_cast<std::size_t>(src.width()) * sizeof(uint16_t);
    const int32_t fromPitch = from->pitch / 2;
    const int32_t toPitch = backPitchPixels();
    const uint16_t* f = static_cast<const uint16_t*>(from->pixels) +
                        static_cast<std::ptrdiff_t>(src.top) * fromPitch + src.left;
    uint16_t* t = backPixels() + static_cast<std::ptrdiff_t>(y) * toPitch + x;
    for (int32_t row = 0; row < src.height(); ++row) {
        std::memcpy(t + static_cast<std::ptrdiff_t>(row) * toPitch,
                    f + static_cast<std::ptrdiff_t>(row) * fromPitch, rowBytes);
    }
}

void present(const platform::Overlays& overlays) {
    SDL_Surface* b = state().backBuffer;
    if (b != nullptr) {
        platform::presentFrame(static_cast<const uint16_t*>(b->pixels), b->pitch, overlays);
    }
}

namespace {

// The back buffer's row of a point, or nullptr when there is no buffer or the point is off it.
uint8_t* backRow(int32_t x, int32_t y) {
    SDL_Surface* b = state().backBuffer;
    if (b == nullptr || x < 0 || y < 0 || x >= b->w || y >= b->h) {
        return nullptr;
    }
    return static_cast<uint8_t*>(b->pixels) + static_cast<std::ptrdiff_t>(y) * b->pitch;
}

} // namespace

uint16_t backBufferPixel(int32_t x, int32_t y) {
    const uint8_t* row = backRow(x, y);
    return row == nullptr ? 0 : reinterpret_cast<const uint16_t*>(row)[x];
}

void setBackBufferPixel(int32_t x, int32_t y, uint16_t value) {
    if (uint8_t* row = backRow(x, y); row != nullptr) {
        reinterpret_cast<uint16_t*>(row)[x] = value;
    }
}

uint16_t mapColour(uint8_t r, uint8_t g, uint8_t b) {
    // RGB565, as SDL maps it: the top 5, 6 and 5 bits of each channel.
    return static_cast<uint16_t>((r >> 3) << 11 | (g >> 2) << 5 | (b >> 3));
}

uint16_t keyColour() {
    return static_cast<uint16_t>(state().key);
}

uint32_t backBufferHash() {
    uint32_t hash = fnv::Start32;
    static constexpr uint16_t black[platform::ScreenWidth] = {};
    for (int32_t y = 0; y < platform::ScreenHeight; ++y) {
        const uint8_t* row = backRow(0, y);
        hash = fnv::addPixels(hash, row == nullptr ? black : reinterpret_cast<const uint16_t*>(row),
                              std::size(black));
    }
    return hash;
}

} // namespace display
