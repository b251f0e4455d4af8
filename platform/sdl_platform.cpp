// The platform on SDL2: a full-screen window on the desktop's own mode, the picture scaled by the
// largest whole factor that fits and centred on black, keys from SDL's events, SDL's tick count,
// and a queue on one audio device for the sounds.

#include "platform/input.h"
#include "platform/platform.h"
#include "platform/sdl_diagnostics.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace {

struct Sound {
    std::vector<uint8_t> samples; // already in the device's format
};

struct SdlState {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    SDL_AudioDeviceID audio = 0;
    SDL_AudioSpec audioSpec{};
    input::InputState input;
    std::vector<Sound> sounds;
    std::vector<SDL_GameController*> pads;
    // Set from ZANBURY_REPORT_FIRST_PRESENT: the first present writes its moment to standard
    // error, for measuring the start-up time.
    bool reportFirstPresent = false;
};

SdlState sdl;

// The keyboard keys that the game reads; every other key is ignored.
int sourceFor(SDL_Keycode code) {
    switch (code) {
    case SDLK_UP:
        return input::KeyboardUp;
    case SDLK_DOWN:
        return input::KeyboardDown;
    case SDLK_LEFT:
        return input::KeyboardLeft;
    case SDLK_RIGHT:
        return input::KeyboardRight;
    case SDLK_RETURN:
        return input::KeyboardReturn;
    case SDLK_KP_ENTER:
        return input::KeyboardKeypadEnter;
    case SDLK_ESCAPE:
        return input::KeyboardEscape;
    default:
        return -1;
    }
}

input::PadButton padButtonFor(Uint8 button) {
    switch (button) {
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
        return input::PadButton::DpadUp;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
        return input::PadButton::DpadDown;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
        return input::PadButton::DpadLeft;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
        return input::PadButton::DpadRight;
    case SDL_CONTROLLER_BUTTON_A:
        return input::PadButton::A;
    case SDL_CONTROLLER_BUTTON_B:
        return input::PadButton::B;
    case SDL_CONTROLLER_BUTTON_BACK:
        return input::PadButton::Back;
    case SDL_CONTROLLER_BUTTON_START:
        return input::PadButton::Start;
    default:
        return input::PadButton::Other;
    }
}

void openPad(int deviceIndex) {
    if (SDL_IsGameController(deviceIndex) == SDL_TRUE) {
        if (SDL_GameController* pad = SDL_GameControllerOpen(deviceIndex)) {
            sdl.pads.push_back(pad);
        }
    }
}

void closePad(SDL_JoystickID id) {
    for (auto it = sdl.pads.begin(); it != sdl.pads.end(); ++it) {
        if (SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(*it)) == id) {
            SDL_GameControllerClose(*it);
            sdl.pads.erase(it);
            break;
        }
    }
    // A pad pulled out while a button was held must not leave it held.
    for (int s = input::PadUp; s <= input::StickRight; ++s) {
        input::setDown(sdl.input, static_cast<input::Source>(s), false);
    }
}

// The window's size for windowed play: the largest whole multiple of 640 x 480 that fits the
// desktop's usable area with room for the window's frame.
void windowedSize(int& width, int& height) {
    using platform::ScreenHeight;
    using platform::ScreenWidth;
    SDL_Rect usable{0, 0, ScreenWidth, ScreenHeight};
    SDL_GetDisplayUsableBounds(SDL_GetWindowDisplayIndex(sdl.window), &usable);
    constexpr int FrameRoom = 64;
    int scale = std::max(
        1, std::min((usable.w - FrameRoom) / ScreenWidth, (usable.h - FrameRoom) / ScreenHeight));
    width = ScreenWidth * scale;
    height = ScreenHeight * scale;
}

void toggleFullScreen() {
    bool full = (SDL_GetWindowFlags(sdl.window) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
    if (full) {
        SDL_SetWindowFullscreen(sdl.window, 0);
        int width = 0;
        int height = 0;
        windowedSize(width, height);
        SDL_SetWindowBordered(sdl.window, SDL_TRUE);
        SDL_SetWindowResizable(sdl.window, SDL_TRUE);
        SDL_SetWindowSize(sdl.window, width, height);
        SDL_SetWindowPosition(sdl.window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    } else {
        SDL_DisplayMode desktop{};
        SDL_GetDesktopDisplayMode(SDL_GetWindowDisplayIndex(sdl.window), &desktop);
        SDL_SetWindowBordered(sdl.window, SDL_FALSE);
        SDL_SetWindowPosition(sdl.window, 0, 0);
        SDL_SetWindowSize(sdl.window, desktop.w, desktop.h);
        SDL_SetWindowFullscreen(sdl.window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    }
    SDL_ShowCursor(SDL_DISABLE);
}

void keyEvent(const SDL_KeyboardEvent& key) {
    if (key.type == SDL_KEYDOWN && key.repeat == 0 &&
        (key.keysym.sym == SDLK_F11 ||
         (key.keysym.sym == SDLK_RETURN && (key.keysym.mod & KMOD_ALT) != 0))) {
        toggleFullScreen(); // Alt+Enter is not an Enter for the game
        return;
    }
    int source = sourceFor(key.keysym.sym);
    if (source >= 0 && (key.type == SDL_KEYUP || key.repeat == 0)) {
        input::setDown(sdl.input, static_cast<input::Source>(source), key.type == SDL_KEYDOWN);
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
    sdl.reportFirstPresent = std::getenv("ZANBURY_REPORT_FIRST_PRESENT") != nullptr;
    return true;
}

void closeWindow() {
    if (sdl.audio != 0) {
        SDL_CloseAudioDevice(sdl.audio);
        sdl.audio = 0;
    }
    sdl.sounds.clear();
    for (SDL_GameController* pad : sdl.pads) {
        SDL_GameControllerClose(pad);
    }
    sdl.pads.clear();
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
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            keyEvent(event.key);
            break;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
                input::releaseAll(sdl.input); // no key stays stuck down behind our back
            }
            break;
        case SDL_CONTROLLERDEVICEADDED:
            openPad(event.cdevice.which);
            break;
        case SDL_CONTROLLERDEVICEREMOVED:
            closePad(event.cdevice.which);
            break;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            input::padButton(sdl.input, padButtonFor(event.cbutton.button),
                             event.type == SDL_CONTROLLERBUTTONDOWN);
            break;
        case SDL_CONTROLLERAXISMOTION:
            if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX) {
                input::padStick(sdl.input, 0, event.caxis.value);
            } else if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY) {
                input::padStick(sdl.input, 1, event.caxis.value);
            }
            break;
        default:
            break;
        }
    }
    return open;
}

bool keyCheck(Key key) {
    return input::check(sdl.input, key);
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
    if (sdl.reportFirstPresent) {
        sdl.reportFirstPresent = false;
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        std::fprintf(stderr, "zanbury: first present at realtime %lld%09ld ns\n",
                     static_cast<long long>(now.tv_sec), now.tv_nsec);
    }
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

uint32_t queuedSoundBytes() {
    return sdl.audio == 0 ? 0 : SDL_GetQueuedAudioSize(sdl.audio);
}

} // namespace platform
