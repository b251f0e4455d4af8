// Which present the game takes: the GPU's renderer where the machine has a GPU, the window's own
// surface where it has none. Where the system says there may be a GPU (gpu_device_*.cpp), the
// renderer is tried once on a hidden window, and the answer (a GPU, or a software
// rasteriser such as Mesa's llvmpipe) is kept in the settings file so that no later start pays
// for the trial. ZANBURY_PRESENT=software or gpu decides instead; ZANBURY_VERBOSE=1 tells which
// present was taken and why.

#include "platform/rasterisers.h"
#include "platform/sdl/sdl_state.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace platform::detail {
namespace {

// Makes a renderer on a hidden window and asks what draws for it. `why` says what was found.
bool probeGpu(std::string& why) {
    SDL_Window* window =
        SDL_CreateWindow("Zanbury probe", 0, 0, 64, 64, SDL_WINDOW_HIDDEN | SDL_WINDOW_OPENGL);
    if (window == nullptr) {
        why = std::string("no OpenGL window: ") + SDL_GetError();
        return false;
    }
    bool gpu = false;
    if (SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED)) {
        SDL_RendererInfo info{};
        SDL_GetRendererInfo(renderer, &info);
        const std::string name = info.name != nullptr ? info.name : "?";
        using GetString = const unsigned char* (*)(unsigned int);
        auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
        const unsigned char* drawer = nullptr;
        if (name.rfind("opengl", 0) == 0 && getString != nullptr) {
            drawer = getString(0x1F01); // GL_RENDERER
        }
        const std::string by = drawer != nullptr ? reinterpret_cast<const char*>(drawer) : name;
        gpu = name != "software" && !softwareRasteriser(by.c_str());
        why = "the renderer " + name + " draws with " + by;
        SDL_DestroyRenderer(renderer);
    } else {
        why = std::string("no renderer: ") + SDL_GetError();
    }
    SDL_DestroyWindow(window);
    return gpu;
}

void sayPresentPath(const char* path, const std::string& why) {
    if (verbose()) {
        std::fprintf(stderr, "zanbury: present: %s (%s)\n", path, why.c_str());
    }
}

} // namespace

bool presentOnGpu() {
    bool gpu = false;
    std::string why;
    const char* forced = std::getenv("ZANBURY_PRESENT");
    const char* driver = SDL_GetCurrentVideoDriver();
    if (forced != nullptr &&
        (std::strcmp(forced, "gpu") == 0 || std::strcmp(forced, "software") == 0)) {
        gpu = std::strcmp(forced, "gpu") == 0;
        why = std::string("ZANBURY_PRESENT=") + forced;
    } else {
        if (forced != nullptr && forced[0] != '\0') {
            std::fprintf(stderr,
                         "zanbury: ZANBURY_PRESENT=%s is neither gpu nor software; "
                         "choosing as without it\n",
                         forced);
        }
        if (!gpuMayBeThere(driver, why)) {
            gpu = false;
        } else if (sdl.settings.gpu != settings::Gpu::Unknown) {
            gpu = sdl.settings.gpu == settings::Gpu::Yes;
            why = std::string("remembered in ") + sdl.settingsPath;
        } else {
            gpu = probeGpu(why);
            sdl.settings.gpu = gpu ? settings::Gpu::Yes : settings::Gpu::No;
            saveChoices();
        }
    }
    sayPresentPath(gpu ? "gpu" : "software", why);
    return gpu;
}

} // namespace platform::detail
