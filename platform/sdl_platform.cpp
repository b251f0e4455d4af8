// The platform on SDL2: a full-screen window on the desktop's own mode, the picture scaled by the
// largest whole factor that fits and centred on black, keys from SDL's events, SDL's tick count,
// and a queue on one audio device for the sounds.

#include "platform/platform.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

namespace {

// Enter has two physical keys (Return and keypad Enter); the others one each.
enum Physical { PhysUp, PhysDown, PhysLeft, PhysRight, PhysReturn, PhysKeypadEnter, PhysEscape };
constexpr int PhysicalCount = 7;

struct KeyState {
    bool down = false;
    bool wentDown = false;
};

struct Sound {
    std::vector<uint8_t> samples; // already in the device's format
};

struct SdlState {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    SDL_AudioDeviceID audio = 0;
    SDL_AudioSpec audioSpec{};
    std::array<KeyState, PhysicalCount> keys{};
    std::vector<Sound> sounds;
};

SdlState sdl;

int physicalFor(SDL_Keycode code) {
    switch (code) {
    case SDLK_UP:
        return PhysUp;
    case SDLK_DOWN:
        return PhysDown;
    case SDLK_LEFT:
        return PhysLeft;
    case SDLK_RIGHT:
        return PhysRight;
    case SDLK_RETURN:
        return PhysReturn;
    case SDLK_KP_ENTER:
        return PhysKeypadEnter;
    case SDLK_ESCAPE:
        return PhysEscape;
    default:
        return -1;
    }
}

void openAudio() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return; // no audio: the game is silent
    }
    SDL_AudioSpec want{};
    want.freq = 44100;
    want.format = AUDIO_S16LSB;
    want.channels = 2;
    want.samples = 1024;
    sdl.audio = SDL_OpenAudioDevice(nullptr, 0, &want, &sdl.audioSpec, 0);
    if (sdl.audio != 0) {
        SDL_PauseAudioDevice(sdl.audio, 0);
    }
}

} // namespace

namespace platform {

bool openWindow(const char* caption) {
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        std::fprintf(stderr, "zanbury: cannot start the video system: %s\n", SDL_GetError());
        return false;
    }
    // Full screen on the desktop's own mode. The window is made the desktop's size from the
    // start, so that it covers the screen even where no window manager honours full screen.
    SDL_DisplayMode desktop{};
    int width = ScreenWidth;
    int height = ScreenHeight;
    if (SDL_GetDesktopDisplayMode(0, &desktop) == 0 && desktop.w >= ScreenWidth &&
        desktop.h >= ScreenHeight) {
        width = desktop.w;
        height = desktop.h;
    }
    sdl.window = SDL_CreateWindow(caption, 0, 0, width, height,
                                  SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_BORDERLESS);
    if (sdl.window == nullptr) {
        std::fprintf(stderr, "zanbury: cannot open the window: %s\n", SDL_GetError());
        return false;
    }
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    sdl.renderer = SDL_CreateRenderer(sdl.window, -1, 0); // no vsync: the game paces itself
    if (sdl.renderer == nullptr) {
        std::fprintf(stderr, "zanbury: cannot draw to the window: %s\n", SDL_GetError());
        return false;
    }
    sdl.texture = SDL_CreateTexture(sdl.renderer, SDL_PIXELFORMAT_RGB565,
                                    SDL_TEXTUREACCESS_STREAMING, ScreenWidth, ScreenHeight);
    if (sdl.texture == nullptr) {
        std::fprintf(stderr, "zanbury: cannot make the screen texture: %s\n", SDL_GetError());
        return false;
    }
    SDL_ShowCursor(SDL_DISABLE);
    openAudio();
    return true;
}

void closeWindow() {
    if (sdl.audio != 0) {
        SDL_CloseAudioDevice(sdl.audio);
        sdl.audio = 0;
    }
    sdl.sounds.clear();
    if (sdl.texture != nullptr) {
        SDL_DestroyTexture(sdl.texture);
        sdl.texture = nullptr;
    }
    if (sdl.renderer != nullptr) {
        SDL_DestroyRenderer(sdl.renderer);
        sdl.renderer = nullptr;
    }
    if (sdl.window != nullptr) {
        SDL_DestroyWindow(sdl.window);
        sdl.window = nullptr;
    }
    SDL_Quit();
}

bool pumpEvents() {
    bool open = true;
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
        switch (event.type) {
        case SDL_QUIT:
            open = false;
            break;
        case SDL_KEYDOWN: {
            int k = physicalFor(event.key.keysym.sym);
            if (k >= 0 && event.key.repeat == 0) {
                sdl.keys[k].down = true;
                sdl.keys[k].wentDown = true;
            }
            break;
        }
        case SDL_KEYUP: {
            int k = physicalFor(event.key.keysym.sym);
            if (k >= 0) {
                sdl.keys[k].down = false;
            }
            break;
        }
        default:
            break;
        }
    }
    return open;
}

bool keyCheck(Key key) {
    auto check = [](int k) {
        bool counted = sdl.keys[k].down || sdl.keys[k].wentDown;
        sdl.keys[k].wentDown = false;
        return counted;
    };
    switch (key) {
    case Key::Up:
        return check(PhysUp);
    case Key::Down:
        return check(PhysDown);
    case Key::Left:
        return check(PhysLeft);
    case Key::Right:
        return check(PhysRight);
    case Key::Enter: {
        bool ret = check(PhysReturn);
        bool pad = check(PhysKeypadEnter);
        return ret || pad;
    }
    case Key::Escape:
        return check(PhysEscape);
    }
    return false;
}

uint32_t tickCount() {
    return SDL_GetTicks();
}

void sleepMs(uint32_t ms) {
    SDL_Delay(ms);
}

void spinPause() {}

void presentFrame(const uint16_t* pixels, int pitchBytes) {
    if (sdl.renderer == nullptr) {
        return;
    }
    SDL_UpdateTexture(sdl.texture, nullptr, pixels, pitchBytes);
    int outW = 0;
    int outH = 0;
    SDL_GetRendererOutputSize(sdl.renderer, &outW, &outH);
    int scale = std::max(1, std::min(outW / ScreenWidth, outH / ScreenHeight));
    SDL_Rect dst{(outW - ScreenWidth * scale) / 2, (outH - ScreenHeight * scale) / 2,
                 ScreenWidth * scale, ScreenHeight * scale};
    SDL_SetRenderDrawColor(sdl.renderer, 0, 0, 0, 255);
    SDL_RenderClear(sdl.renderer);
    SDL_RenderCopy(sdl.renderer, sdl.texture, nullptr, &dst);
    SDL_RenderPresent(sdl.renderer);
}

int registerSound(const char*, const uint8_t* wav, std::size_t size) {
    Sound sound;
    if (sdl.audio != 0) {
        SDL_AudioSpec spec{};
        Uint8* buffer = nullptr;
        Uint32 length = 0;
        SDL_RWops* rw = SDL_RWFromConstMem(wav, static_cast<int>(size));
        if (SDL_LoadWAV_RW(rw, 1, &spec, &buffer, &length) != nullptr) {
            SDL_AudioCVT cvt;
            if (SDL_BuildAudioCVT(&cvt, spec.format, spec.channels, spec.freq, sdl.audioSpec.format,
                                  sdl.audioSpec.channels, sdl.audioSpec.freq) >= 0) {
                sound.samples.resize(static_cast<std::size_t>(length) * std::max(1, cvt.len_mult));
                std::copy(buffer, buffer + length, sound.samples.begin());
                cvt.buf = sound.samples.data();
                cvt.len = static_cast<int>(length);
                if (cvt.needed != 0) {
                    SDL_ConvertAudio(&cvt);
                }
                sound.samples.resize(static_cast<std::size_t>(cvt.needed ? cvt.len_cvt : cvt.len));
            }
            SDL_FreeWAV(buffer);
        }
    }
    sdl.sounds.push_back(std::move(sound));
    return static_cast<int>(sdl.sounds.size()) - 1;
}

void playSound(int handle) {
    if (sdl.audio == 0 || handle < 0 || handle >= static_cast<int>(sdl.sounds.size())) {
        return;
    }
    const Sound& sound = sdl.sounds[static_cast<std::size_t>(handle)];
    if (sound.samples.empty()) {
        return;
    }
    // One sound at a time: whatever is still queued is cut off.
    SDL_ClearQueuedAudio(sdl.audio);
    SDL_QueueAudio(sdl.audio, sound.samples.data(), static_cast<Uint32>(sound.samples.size()));
}

} // namespace platform
