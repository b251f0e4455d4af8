// The player's choices while the game runs: the settings read when the window opens, F10 (the
// look) and M (mute), each change written to the settings file at once, and the pause requests
// that P, Pause, a pad's Start and the window's focus make.

#include "platform/platform.h"
#include "platform/sdl/sdl_state.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace platform::detail {

bool verbose() {
    const char* v = std::getenv("ZANBURY_VERBOSE");
    return v != nullptr && std::strcmp(v, "1") == 0;
}

void loadPlayerSettings() {
    sdl.settingsPath = settings::settingsPath();
    bool missing = false;
    sdl.settings = settings::loadSettings(sdl.settingsPath, &missing);
    bindKeys();
    if (missing) {
        // Said once: the defaults are written, with a comment naming each choice, for the player
        // to find and change.
        const bool written = settings::saveSettings(sdl.settingsPath, sdl.settings);
#if defined(__EMSCRIPTEN__)
        // In a browser the file is in the page's storage, which the page describes; a line of
        // standard error before the first picture would show on the page as the game's error.
        (void)written;
#else
        std::fprintf(stderr,
                     written ? "zanbury: no settings file yet: the defaults are used and written "
                               "to %s (F1: keys)\n"
                             : "zanbury: no settings file at %s: the defaults are used (F1: "
                               "keys)\n",
                     sdl.settingsPath.c_str());
#endif
    }
}

void saveChoices() {
    if (!sdl.settingsPath.empty()) {
        settings::saveSettings(sdl.settingsPath, sdl.settings);
    }
}

void nextLook() {
    sdl.settings.look = settings::nextLook(sdl.settings.look);
    static const char* const notes[] = {"Look: sharp", "Look: whole-number", "Look: stretched"};
    noteChoice(notes[static_cast<int>(sdl.settings.look)]);
    sdl.repaintAll = true; // the borders move
    if (verbose()) {
        std::fprintf(stderr, "zanbury: look: %s\n", settings::lookName(sdl.settings.look));
    }
    saveChoices();
}

void toggleMute() {
    sdl.settings.mute = !sdl.settings.mute;
    noteChoice(sdl.settings.mute ? "Sound off" : "Sound on");
    if (sdl.settings.mute) {
        stopSounds();
    }
    saveChoices();
}

void requestPause(PauseRequest request) {
    if (sdl.pauseAllowed) {
        sdl.pauseRequest = request;
    }
}

} // namespace platform::detail

namespace platform {

using detail::sdl;

void allowPause(bool allowed) {
    sdl.pauseAllowed = allowed;
    if (!allowed) {
        sdl.pauseRequest = PauseRequest::None;
    }
}

PauseRequest takePauseRequest() {
    const PauseRequest request = sdl.pauseRequest;
    sdl.pauseRequest = PauseRequest::None;
    return request;
}

void forgetKeys() {
    input::forgetAll(sdl.input);
    detail::letGoOfPads(); // no pad key holds on across a pause
}

} // namespace platform
