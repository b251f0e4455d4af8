// The platform on SDL2: a full-screen window on the desktop's own mode, the picture scaled by the
// largest whole factor that fits and centred on black, keys from SDL's events, SDL's tick count,
// and a queue on one audio device for the sounds.
//
// The picture goes to the window's own surface: each present converts it to the window's pixel
// format while scaling it, and hands over just the picture's area. No renderer is made, so no
// graphics library is loaded: with Mesa that alone costs about 90 MB and half a second of
// start-up, and its software rasteriser, which is all a virtual display offers, scales far more
// slowly than the plain loop below.

#include "platform/input.h"
#include "platform/platform.h"
#include "platform/sdl_diagnostics.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <thread>
#include <vector>

namespace {

struct Sound {
    std::vector<uint8_t> samples; // already in the device's format
};

struct SdlState {
    SDL_Window* window = nullptr;
    bool fullScreen = true;
    // False on an X display with no window manager: nobody is there to grant full screen, so the
    // borderless window of the desktop's size is the full screen (asking SDL for it would only
    // wait 100 ms for an answer that never comes).
    bool askForFullScreen = true;
    SDL_Surface* shownOn = nullptr; // the window surface whose borders were last painted black
    bool repaintAll = true;         // the next present paints the borders and hands over all
    bool toldNoSurface = false;     // a window without a surface is reported once, not per frame
    SDL_Surface* staging = nullptr; // the picture as an SDL surface, made for the first window
                                    // format that the fast conversion does not handle
    uint32_t fromHigh[256] = {};    // a picture pixel in the window's format is
    uint32_t fromLow[256] = {};     // fromHigh[pixel >> 8] | fromLow[pixel & 0xff]
    Uint32 tablesFormat = SDL_PIXELFORMAT_UNKNOWN; // the format the tables were made for
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

// True when the display has an EWMH window manager, which grants full screen on request.
bool hasWindowManager(SDL_Window* window) {
#if defined(SDL_VIDEO_DRIVER_X11) && defined(ZANBURY_X11)
    SDL_SysWMinfo wm;
    SDL_VERSION(&wm.version);
    if (SDL_GetWindowWMInfo(window, &wm) == SDL_TRUE && wm.subsystem == SDL_SYSWM_X11) {
        Display* display = wm.info.x11.display;
        Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
        if (check == None) {
            return false;
        }
        Atom type = None;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char* value = nullptr;
        XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, XA_WINDOW,
                           &type, &format, &count, &after, &value);
        bool found = value != nullptr && type == XA_WINDOW && count == 1;
        if (value != nullptr) {
            XFree(value);
        }
        return found;
    }
#else
    (void)window;
#endif
    return true;
}

// Borderless at (0, 0) with the desktop's size, and full screen where that can be asked for.
void coverScreen() {
    SDL_DisplayMode desktop{};
    SDL_GetDesktopDisplayMode(SDL_GetWindowDisplayIndex(sdl.window), &desktop);
    SDL_SetWindowBordered(sdl.window, SDL_FALSE);
    SDL_SetWindowPosition(sdl.window, 0, 0);
    SDL_SetWindowSize(sdl.window, desktop.w, desktop.h);
    if (sdl.askForFullScreen) {
        SDL_SetWindowFullscreen(sdl.window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    }
}

void toggleFullScreen() {
    bool full = sdl.fullScreen;
    sdl.fullScreen = !full;
    sdl.repaintAll = true;
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
        coverScreen();
    }
    SDL_ShowCursor(SDL_DISABLE);
}

// The tables that turn a picture pixel into the window's format, for any format of 32 bits a
// pixel and 8 bits a channel. The 5- and 6-bit channels are widened by repeating their top bits,
// so that black stays 0 and white 255. Green's six bits straddle the two bytes, but its widened
// value is still the OR of a part from each byte. False for any other format.
bool makeTables(const SDL_PixelFormat* format) {
    if (format->format == sdl.tablesFormat) {
        return true;
    }
    if (format->BytesPerPixel != 4 || format->Rloss != 0 || format->Gloss != 0 ||
        format->Bloss != 0) {
        return false;
    }
    for (uint32_t byte = 0; byte < 256; ++byte) {
        const uint32_t red = byte >> 3;      // the high byte: RRRRRGGG
        const uint32_t greenTop = byte & 7u; // green's top three bits
        sdl.fromHigh[byte] = ((red << 3 | red >> 2) << format->Rshift) |
                             ((greenTop << 5 | greenTop >> 1) << format->Gshift) | format->Amask;
        const uint32_t greenLow = byte >> 5; // the low byte: GGGBBBBB
        const uint32_t blue = byte & 31u;
        sdl.fromLow[byte] =
            ((greenLow << 2) << format->Gshift) | ((blue << 3 | blue >> 2) << format->Bshift);
    }
    sdl.tablesFormat = format->format;
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
    using platform::ScreenHeight;
    using platform::ScreenWidth;
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
    return sdl.fromHigh[pixel >> 8] | sdl.fromLow[pixel & 0xffu];
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
    // On X the window surface is to be plain memory shared with the display server, not a
    // texture of a renderer that SDL would make behind it. Other video drivers (Wayland) have no
    // such memory; there SDL's texture stands behind the window surface, one upload a present.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver != nullptr && std::strcmp(driver, "x11") == 0) {
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
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
    sdl.window =
        SDL_CreateWindow(caption, 0, 0, width, height, SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS);
    if (sdl.window == nullptr) {
        std::fprintf(stderr, "zanbury: cannot open the window: %s\n", SDL_GetError());
        return false;
    }
    sdl.askForFullScreen = hasWindowManager(sdl.window);
    if (sdl.askForFullScreen) {
        SDL_SetWindowFullscreen(sdl.window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    }
    sdl.fullScreen = true;
    SDL_ShowWindow(sdl.window);
    sdl.repaintAll = true;
    sdl.shownOn = nullptr;
    SDL_ShowCursor(SDL_DISABLE);
    openAudio();
    // Pads already plugged in arrive as device-added events, as later ones do.
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        std::fprintf(stderr, "zanbury: no gamepads: %s\n", SDL_GetError());
    }
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
    SDL_FreeSurface(sdl.staging);
    sdl.staging = nullptr;
    sdl.shownOn = nullptr;
    sdl.tablesFormat = SDL_PIXELFORMAT_UNKNOWN;
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
            } else if (event.window.event == SDL_WINDOWEVENT_EXPOSED ||
                       event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
                sdl.repaintAll = true; // the borders may have been lost
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

// The pacer polls the millisecond tick through its last millisecond: a nap of a tenth of that
// keeps the present within 0.1 ms of its tick without holding the processor.
void spinPause() {
    std::this_thread::sleep_for(std::chrono::microseconds(100));
}

void presentFrame(const uint16_t* pixels, int pitchBytes) {
    if (sdl.window == nullptr) {
        return;
    }
    SDL_Surface* screen = SDL_GetWindowSurface(sdl.window); // made afresh after a resize
    if (screen == nullptr) {
        if (!sdl.toldNoSurface) {
            sdl.toldNoSurface = true;
            std::fprintf(stderr, "zanbury: cannot draw to the window: %s\n", SDL_GetError());
        }
        return;
    }
    const Placement p = place(screen);
    const SDL_Rect& to = p.to;
    const bool repaint = sdl.repaintAll || screen != sdl.shownOn;
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
    if (makeTables(screen->format)) {
        if (SDL_MUSTLOCK(screen)) {
            SDL_LockSurface(screen);
        }
        convertScaled(pixels, pitchBytes, screen, p);
        if (SDL_MUSTLOCK(screen)) {
            SDL_UnlockSurface(screen);
        }
    } else {
        // A window format that the tables do not cover: SDL converts and scales.
        if (sdl.staging == nullptr) {
            sdl.staging = SDL_CreateRGBSurfaceWithFormat(0, ScreenWidth, ScreenHeight, 16,
                                                         SDL_PIXELFORMAT_RGB565);
            if (sdl.staging == nullptr) {
                return;
            }
            SDL_SetSurfaceBlendMode(sdl.staging, SDL_BLENDMODE_NONE);
        }
        for (int y = 0; y < ScreenHeight; ++y) {
            std::memcpy(static_cast<uint8_t*>(sdl.staging->pixels) +
                            static_cast<std::ptrdiff_t>(y) * sdl.staging->pitch,
                        reinterpret_cast<const uint8_t*>(pixels) +
                            static_cast<std::ptrdiff_t>(y) * pitchBytes,
                        ScreenWidth * sizeof(uint16_t));
        }
        SDL_Rect from{p.fromX, p.fromY, p.columns, p.rows};
        SDL_Rect area = to;
        SDL_BlitScaled(sdl.staging, &from, screen, &area);
    }
    if (repaint) {
        SDL_UpdateWindowSurface(sdl.window);
    } else {
        SDL_UpdateWindowSurfaceRects(sdl.window, &to, 1);
    }
    sdl.shownOn = screen;
    sdl.repaintAll = false;
    if (sdl.reportFirstPresent) {
        sdl.reportFirstPresent = false;
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        timespec used{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used);
        std::fprintf(stderr,
                     "zanbury: first present at realtime %lld%09ld ns after %lld us of CPU\n",
                     static_cast<long long>(now.tv_sec), now.tv_nsec,
                     static_cast<long long>(used.tv_sec) * 1000000 + used.tv_nsec / 1000);
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
