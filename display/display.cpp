#include "display/display.h"

#include "display/display_state.h"
#include "display/resources.h"
#include "platform/platform.h"

#include <cstdio>

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
    return x >= 0 && y >= 0 && x + src.width() <= platform::ScreenWidth &&
           y + src.height() <= platform::ScreenHeight;
}

void blit(SDL_Surface* from, const Rect& src, int32_t x, int32_t y) {
    if (from == nullptr || !fits(src, x, y, from)) {
        return;
    }
    SDL_Rect s{src.left, src.top, src.width(), src.height()};
    SDL_Rect d{x, y, 0, 0};
    SDL_BlitSurface(from, &s, state().backBuffer, &d);
}

} // namespace

bool openDisplay() {
    closeDisplay(); // opening again starts afresh rather than losing the surfaces
    auto& s = state();
    s.backBuffer = SDL_CreateRGBSurfaceWithFormat(0, platform::ScreenWidth, platform::ScreenHeight,
                                                  16, SDL_PIXELFORMAT_RGB565);
    if (s.backBuffer == nullptr) {
        std::fprintf(stderr, "zanbury: cannot make the back buffer: %s\n", SDL_GetError());
        return false;
    }
    SDL_FillRect(s.backBuffer, nullptr, 0);
    s.sheet = detail::loadBitmapSurface("SPRITES", true);
    s.backdrop = detail::loadBitmapSurface("BACKGROUND", true);
    if (s.sheet == nullptr || s.backdrop == nullptr) {
        std::fprintf(stderr, "zanbury: cannot load the picture %s\n",
                     s.sheet == nullptr ? "SPRITES" : "BACKGROUND");
        closeDisplay();
        return false;
    }
    // The key is compared in the display's own format: pure green is 0x07E0 in RGB565.
    s.key = SDL_MapRGB(s.sheet->format, 0, 255, 0);
    SDL_SetColorKey(s.sheet, SDL_TRUE | SDL_RLEACCEL, s.key);
    SDL_SetSurfaceBlendMode(s.sheet, SDL_BLENDMODE_NONE);
    SDL_SetSurfaceBlendMode(s.backdrop, SDL_BLENDMODE_NONE);
    if (!detail::openText()) {
        closeDisplay();
        return false;
    }
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
    blit(state().sheet, src, x, y);
}

void blitBackdrop(const Rect& src, int32_t x, int32_t y) {
    blit(state().backdrop, src, x, y);
}

void present() {
    SDL_Surface* b = state().backBuffer;
    if (b != nullptr) {
        platform::presentFrame(static_cast<const uint16_t*>(b->pixels), b->pitch);
    }
}

uint16_t backBufferPixel(int32_t x, int32_t y) {
    SDL_Surface* b = state().backBuffer;
    const auto* row = static_cast<const uint8_t*>(b->pixels) + y * b->pitch;
    return reinterpret_cast<const uint16_t*>(row)[x];
}

void setBackBufferPixel(int32_t x, int32_t y, uint16_t value) {
    SDL_Surface* b = state().backBuffer;
    auto* row = static_cast<uint8_t*>(b->pixels) + y * b->pitch;
    reinterpret_cast<uint16_t*>(row)[x] = value;
}

uint16_t mapColour(uint8_t r, uint8_t g, uint8_t b) {
    return static_cast<uint16_t>(SDL_MapRGB(state().backBuffer->format, r, g, b));
}

uint16_t keyColour() {
    return static_cast<uint16_t>(state().key);
}

} // namespace display
