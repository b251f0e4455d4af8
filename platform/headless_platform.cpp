// The headless platform: no window, no audio device, a virtual clock that moves only when told,
// and scripted keys fed to the same key check as the SDL platform's keyboard.

#include "core/fnv.h"
#include "platform/headless.h"

#include "core/files.h"
#include "platform/held_clock.h"
#include "platform/input.h"
#include "platform/settings.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

namespace {

struct HeadlessState {
    input::InputState input;
    uint32_t clock = 0;
    bool closeRequested = false;
    std::vector<std::string> soundNames;
    std::string heard;
    std::string errorBox;
    std::vector<uint16_t> frame =
        std::vector<uint16_t>(platform::ScreenWidth * platform::ScreenHeight, 0);
    int presents = 0;
    bool keepFrames = true;
    platform::detail::HeldClock held;
    bool pauseAllowed = false;
    platform::PauseRequest pauseRequest = platform::PauseRequest::None;
    platform::Overlays overlays; // what the last present was handed to draw over its picture
    bool keysShown = false;
};

HeadlessState& state() {
    static HeadlessState s;
    return s;
}

} // namespace

namespace platform {

bool openVideo() {
    return true;
}
bool openWindow(const char*) {
    return true;
}
void closeWindow() {}

void showErrorBox(const char*, const char* message) {
    state().errorBox = message;
}

bool pumpEvents() {
    bool open = !state().closeRequested;
    state().closeRequested = false;
    return open;
}

bool keyCheck(Key k) {
    return input::check(state().input, k);
}

KeyView peekKey(Key k) {
    return input::view(state().input, k);
}

void useScriptedKeys(bool) {}

void scriptKey(Key k, KeyMove move) {
    input::move(state().input, k, move);
}

uint32_t tickCount() {
    return detail::readClock(state().held, state().clock);
}

void sleepMs(uint32_t ms) {
    state().clock += ms;
}
void spinPause() {
    state().clock += 1;
}

void presentFrame(const uint16_t* pixels, int pitchBytes, const Overlays& overlays) {
    HeadlessState& s = state();
    ++s.presents;
    s.overlays = overlays;
    if (!s.keepFrames) {
        return;
    }
    for (int y = 0; y < ScreenHeight; ++y) {
        const auto* row = reinterpret_cast<const uint8_t*>(pixels) + y * pitchBytes;
        std::memcpy(&s.frame[static_cast<std::size_t>(y) * ScreenWidth], row, ScreenWidth * 2);
    }
}

void allowPause(bool allowed) {
    state().pauseAllowed = allowed;
}

PauseRequest takePauseRequest() {
    const PauseRequest request = state().pauseAllowed ? state().pauseRequest : PauseRequest::None;
    state().pauseRequest = PauseRequest::None;
    return request;
}

void holdClock(bool held) {
    detail::holdClock(state().held, held, state().clock);
}

void forgetKeys() {
    input::forgetAll(state().input);
}

bool keysShown() {
    return state().keysShown;
}

const char* currentNote() {
    return nullptr; // no player makes choices here
}

std::string keyNames(Key key, bool pad) {
    const settings::Settings defaults;
    const int k = static_cast<int>(key);
    return pad ? defaults.pads[k].names : defaults.keys[k].names;
}

// The virtual clock moves on as if no event came for the whole wait.
void waitForEvents(uint32_t ms) {
    state().clock += ms;
}

int registerSound(const char* name, const uint8_t*, std::size_t) {
    std::vector<std::string>& names = state().soundNames;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i] == name) {
            return static_cast<int>(i);
        }
    }
    names.emplace_back(name);
    return static_cast<int>(names.size()) - 1;
}

void playSound(int handle) {
    HeadlessState& s = state();
    if (handle < 0 || handle >= static_cast<int>(s.soundNames.size())) {
        return;
    }
    if (!s.heard.empty()) {
        s.heard += ',';
    }
    s.heard += s.soundNames[static_cast<std::size_t>(handle)];
}

} // namespace platform

namespace headless {

void reset(uint32_t startTick) {
    HeadlessState& s = state();
    s.input = {};
    s.clock = startTick;
    s.closeRequested = false;
    s.heard.clear();
    s.errorBox.clear();
    std::fill(s.frame.begin(), s.frame.end(), uint16_t{0});
    s.presents = 0;
    s.keepFrames = true;
    s.held = {};
    s.pauseAllowed = false;
    s.pauseRequest = platform::PauseRequest::None;
    s.overlays = {};
    s.keysShown = false;
}

void press(platform::Key k) {
    platform::scriptKey(k, platform::KeyMove::Press);
}

void release(platform::Key k) {
    platform::scriptKey(k, platform::KeyMove::Release);
}

void tap(platform::Key k) {
    platform::scriptKey(k, platform::KeyMove::Tap);
}

void setClock(uint32_t tick) {
    state().clock = tick;
}
void advanceClock(uint32_t ms) {
    state().clock += ms;
}
uint32_t clock() {
    return state().clock;
}

KeysAndClock saveKeysAndClock() {
    return KeysAndClock{state().input, state().clock};
}

void restoreKeysAndClock(const KeysAndClock& saved) {
    state().input = saved.keys;
    state().clock = saved.clock;
}

void requestPause(platform::PauseRequest request) {
    state().pauseRequest = request;
}

void showKeys(bool shown) {
    state().keysShown = shown;
}

const platform::Overlays& lastOverlays() {
    return state().overlays;
}

void requestClose() {
    state().closeRequested = true;
}

std::string takeErrorBox() {
    return std::exchange(state().errorBox, std::string());
}

std::string takeSounds() {
    std::string out = state().heard.empty() ? std::string("-") : state().heard;
    state().heard.clear();
    return out;
}

const uint16_t* frame() {
    return state().frame.data();
}
void keepFrames(bool keep) {
    state().keepFrames = keep;
}

int presentCount() {
    return state().presents;
}

uint32_t frameHash() {
    return fnv::addPixels(fnv::Start32, state().frame.data(), state().frame.size());
}

bool saveFramePng(const char* path) {
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
        state().frame.data(), platform::ScreenWidth, platform::ScreenHeight, 16,
        platform::ScreenWidth * 2, SDL_PIXELFORMAT_RGB565);
    if (surface == nullptr) {
        std::fprintf(stderr, "zanbury: cannot make a picture for %s: %s\n", path, SDL_GetError());
        return false;
    }
    // The PNG is made in memory and then written with every write checked: the image library's
    // own file writing does not report a full disk. A 640 x 480 picture never needs more than
    // its raw 900 KiB and the format's small overhead.
    std::vector<uint8_t> png(2u << 20);
    SDL_RWops* memory = SDL_RWFromMem(png.data(), static_cast<int>(png.size()));
    const bool made = memory != nullptr && IMG_SavePNG_RW(surface, memory, 0) == 0;
    const Sint64 size = made ? SDL_RWtell(memory) : 0;
    if (memory != nullptr) {
        SDL_RWclose(memory);
    }
    SDL_FreeSurface(surface);
    if (!made || size <= 0) {
        std::fprintf(stderr, "zanbury: cannot make a picture for %s: %s\n", path, IMG_GetError());
        return false;
    }
    std::string why;
    const bool ok = files::writeNamed(
        path,
        std::string(reinterpret_cast<const char*>(png.data()), static_cast<std::size_t>(size)),
        why);
    if (!ok) {
        std::fprintf(stderr, "zanbury: cannot write %s: %s\n", path, why.c_str());
    }
    return ok;
}

} // namespace headless
