// The GPU's present: SDL's renderer with a streaming texture of the picture, converted by the
// same tables as the window surface's so that both paths show the same colours. Sharp bilinear
// is two passes: nearest-neighbour into a texture of the largest whole multiple of the picture,
// then linear to the final size; at a whole scale the picture goes straight to the window,
// nearest-neighbour, pixel for pixel what the processor's scaler makes. The overlays are small
// textures with the key transparent, drawn nearest-neighbour at a whole scale.

#include "platform/layout.h"
#include "platform/platform.h"
#include "platform/scaler.h"
#include "platform/sdl/sdl_state.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace platform::detail {
namespace {

struct Overlay {
    const uint16_t* pixels = nullptr; // the picture it was made from; the display keeps it
    SDL_Texture* texture = nullptr;
};

struct GpuState {
    SDL_Texture* picture = nullptr; // 640 x 480, streaming, 32 bits a pixel
    SDL_Texture* scaled = nullptr;  // the whole multiple, a render target
    int scaledWidth = 0;
    int scaledHeight = 0;
    scaler::Widen widen; // opaque ARGB
    std::vector<Overlay> overlays;
};

GpuState gpu;

SDL_Texture* overlayTexture(const Picture& picture) {
    for (const Overlay& o : gpu.overlays) {
        if (o.pixels == picture.pixels) {
            return o.texture;
        }
    }
    std::vector<uint32_t> argb(static_cast<std::size_t>(picture.width) * picture.height);
    for (int y = 0; y < picture.height; ++y) {
        const uint16_t* row = scaler::pictureRow(picture.pixels, picture.pitchBytes, y);
        for (int x = 0; x < picture.width; ++x) {
            argb[static_cast<std::size_t>(y) * picture.width + x] =
                picture.key >= 0 && row[x] == picture.key ? 0u : scaler::widen(gpu.widen, row[x]);
        }
    }
    SDL_Texture* texture =
        SDL_CreateTexture(sdl.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC,
                          picture.width, picture.height);
    if (texture != nullptr) {
        SDL_UpdateTexture(texture, nullptr, argb.data(), picture.width * 4);
        SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
        SDL_SetTextureScaleMode(texture, SDL_ScaleModeNearest);
    }
    gpu.overlays.push_back(Overlay{picture.pixels, texture});
    return texture;
}

void drawOverlay(const Picture& picture, const layout::Box& at) {
    if (SDL_Texture* texture = overlayTexture(picture)) {
        const SDL_Rect to{at.x, at.y, at.w, at.h};
        SDL_RenderCopy(sdl.renderer, texture, nullptr, &to);
    }
}

// The picture into its streaming texture, through the tables.
void upload(const uint16_t* pixels, int pitchBytes) {
    void* to = nullptr;
    int toPitch = 0;
    if (SDL_LockTexture(gpu.picture, nullptr, &to, &toPitch) != 0) {
        return;
    }
    for (int y = 0; y < ScreenHeight; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(to) +
                                                static_cast<std::ptrdiff_t>(y) * toPitch);
        scaler::widenRow(gpu.widen, scaler::pictureRow(pixels, pitchBytes, y), row, ScreenWidth);
    }
    SDL_UnlockTexture(gpu.picture);
}

// The texture of the whole multiple, made for its size when that changes; nullptr when it
// cannot be had (the picture is then scaled linearly in one pass).
SDL_Texture* scaledTexture(int width, int height) {
    if (gpu.scaled != nullptr && gpu.scaledWidth == width && gpu.scaledHeight == height) {
        return gpu.scaled;
    }
    SDL_DestroyTexture(gpu.scaled);
    gpu.scaled = SDL_CreateTexture(sdl.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET,
                                   width, height);
    gpu.scaledWidth = width;
    gpu.scaledHeight = height;
    if (gpu.scaled != nullptr) {
        SDL_SetTextureScaleMode(gpu.scaled, SDL_ScaleModeLinear);
    }
    return gpu.scaled;
}

} // namespace

bool openGpu() {
    sdl.renderer =
        SDL_CreateRenderer(sdl.window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_TARGETTEXTURE);
    if (sdl.renderer != nullptr) {
        gpu.picture = SDL_CreateTexture(sdl.renderer, SDL_PIXELFORMAT_ARGB8888,
                                        SDL_TEXTUREACCESS_STREAMING, ScreenWidth, ScreenHeight);
    }
    if (gpu.picture == nullptr) {
        // Said whether or not ZANBURY_VERBOSE asks: the GPU was wanted and is not used.
        std::fprintf(stderr,
                     "zanbury: the GPU's renderer cannot be made (%s): presenting "
                     "through the window surface\n",
                     SDL_GetError());
        closeGpu();
        return false;
    }
    SDL_SetTextureScaleMode(gpu.picture, SDL_ScaleModeNearest);
    gpu.widen = scaler::makeWiden(16, 8, 0, 0xFF000000u);
    return true;
}

void closeGpu() {
    for (const Overlay& o : gpu.overlays) {
        SDL_DestroyTexture(o.texture);
    }
    SDL_DestroyTexture(gpu.scaled);
    SDL_DestroyTexture(gpu.picture);
    gpu = GpuState{};
    if (sdl.renderer != nullptr) {
        SDL_DestroyRenderer(sdl.renderer);
        sdl.renderer = nullptr;
    }
}

void presentThroughGpu(const uint16_t* pixels, int pitchBytes, const Overlays& overlays) {
    int width = 0;
    int height = 0;
    if (SDL_GetRendererOutputSize(sdl.renderer, &width, &height) != 0) {
        return;
    }
    upload(pixels, pitchBytes);
    const layout::Box box = layout::pictureBox(sdl.settings.look, width, height);
    const SDL_Rect to{box.x, box.y, box.w, box.h};
    SDL_SetRenderDrawColor(sdl.renderer, 0, 0, 0, 255);
    SDL_RenderClear(sdl.renderer);
    const int xScale = std::max(1, box.w / ScreenWidth);
    const int yScale = std::max(1, box.h / ScreenHeight);
    const bool whole = box.w == ScreenWidth * xScale && box.h == ScreenHeight * yScale;
    SDL_Texture* scaled =
        whole ? nullptr : scaledTexture(ScreenWidth * xScale, ScreenHeight * yScale);
    if (scaled != nullptr && SDL_SetRenderTarget(sdl.renderer, scaled) == 0) {
        SDL_RenderCopy(sdl.renderer, gpu.picture, nullptr, nullptr);
        SDL_SetRenderTarget(sdl.renderer, nullptr);
        SDL_RenderCopy(sdl.renderer, scaled, nullptr, &to);
    } else {
        // A whole scale in one nearest-neighbour pass; without a target texture, one linear one.
        SDL_SetTextureScaleMode(gpu.picture, whole ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
        SDL_RenderCopy(sdl.renderer, gpu.picture, nullptr, &to);
        SDL_SetTextureScaleMode(gpu.picture, SDL_ScaleModeNearest);
    }
    layout::forEachOverlay(overlays, {sdl.settings.lives, sdl.settings.standing}, box, width,
                           drawOverlay);
    SDL_RenderPresent(sdl.renderer);
}

} // namespace platform::detail
