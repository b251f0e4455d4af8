// The SDL platform's event pump and key check: every pending event handled each pass, the
// keyboard's keys fed to the key check as the player bound them, the player's own keys (F1, F10,
// M, P and Pause), pad events
// handed to the pads, the page's touch buttons in the browser, the window's close request, focus
// and exposure, and the window's loss; during a replay, the recording's keys in place of the
// player's.

#include "platform/input.h"
#include "platform/platform.h"
#include "platform/sdl/sdl_state.h"

#include <SDL.h>

namespace platform::detail {
namespace {

void keyEvent(const SDL_KeyboardEvent& key) {
    if (key.type == SDL_KEYDOWN && key.repeat == 0 &&
        (key.keysym.sym == SDLK_F11 ||
         (key.keysym.sym == SDLK_RETURN && (key.keysym.mod & KMOD_ALT) != 0))) {
        toggleFullScreen(); // Alt+Enter is not an Enter for the game
        return;
    }
    if (key.type == SDL_KEYDOWN && key.repeat == 0) {
        switch (key.keysym.sym) {
        case SDLK_F10:
            nextLook();
            return;
        case SDLK_m:
            toggleMute();
            return;
        case SDLK_p:
        case SDLK_PAUSE:
            requestPause(PauseRequest::Toggle);
            return;
        case SDLK_F1:
            showKeys(!sdl.keysShown);
            return;
        default:
            break;
        }
    }
    // The game's keys are physical keys, bound by the player (bindings.cpp); every other key
    // is ignored.
    Key bound = Key::Up;
    int place = 0;
    if (bindings::keyboardKeyOf(sdl.bindings, key.keysym.scancode, bound, place) &&
        (key.type == SDL_KEYUP || key.repeat == 0)) {
        input::setDown(sdl.input, input::keyboardPlace(bound, place), key.type == SDL_KEYDOWN);
    }
}

void windowEvent(const SDL_WindowEvent& window) {
    if (window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
        input::releaseAll(sdl.input); // no key stays stuck down behind our back
        letGoOfPads();
        requestPause(PauseRequest::Pause); // the player has gone elsewhere
    } else if (window.event == SDL_WINDOWEVENT_EXPOSED ||
               window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
        sdl.repaintAll = true; // the borders may have been lost
    }
}

} // namespace
} // namespace platform::detail

namespace platform {

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
            detail::keyEvent(event.key);
            break;
        case SDL_WINDOWEVENT:
            detail::windowEvent(event.window);
            break;
        case SDL_CONTROLLERDEVICEADDED:
        case SDL_CONTROLLERDEVICEREMOVED:
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
        case SDL_CONTROLLERAXISMOTION:
            detail::padEvent(event);
            break;
        default:
            break;
        }
    }
#ifdef __EMSCRIPTEN__
    detail::takeTouches();
#endif
    // The player watching a replay stops it with Escape; no other key of theirs reaches it.
    if (detail::sdl.scripted && input::check(detail::sdl.input, Key::Escape)) {
        open = false;
    }
    // A window destroyed by another program, or the terminal closed, ends the game as a close
    // request does.
    return open && !detail::windowLost() && !detail::hungUp();
}

void waitForEvents(uint32_t ms) {
    SDL_WaitEventTimeout(nullptr, static_cast<int>(ms)); // the event stays for pumpEvents
}

bool keyCheck(Key key) {
    detail::SdlState& s = detail::sdl;
    return input::check(s.scripted ? s.scriptedInput : s.input, key);
}

KeyView peekKey(Key key) {
    const detail::SdlState& s = detail::sdl;
    return input::view(s.scripted ? s.scriptedInput : s.input, key);
}

void useScriptedKeys(bool on) {
    detail::sdl.scripted = on;
    detail::sdl.scriptedInput = {};
}

void scriptKey(Key key, KeyMove move) {
    input::move(detail::sdl.scriptedInput, key, move);
}

} // namespace platform
