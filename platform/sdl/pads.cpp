// The SDL platform's gamepads: every game controller plugged in, at start or later, is opened;
// its buttons and sticks feed the key check as the player bound them (by default the D-pad and
// the left stick, A and Start, B), Start pauses instead while pausing is allowed, Back held shows
// the keys, and pulling a pad out lets go of what it held, and only that.

#include "platform/input.h"
#include "platform/sdl/sdl_state.h"

#include <SDL.h>

#include <cstdio>
#include <vector>

namespace platform::detail {
namespace {

// Each pad keeps what it holds in an input state of its own (only its pad sources are used),
// and the key check's pad sources are down while any pad holds them: so letting go on one pad,
// or pulling it out, leaves held what another pad holds.
struct Pad {
    SDL_GameController* controller = nullptr;
    SDL_JoystickID id = -1;
    input::InputState held;
    bool axisHeld[SDL_CONTROLLER_AXIS_MAX][2] = {}; // each axis's two sides, as keys
};

std::vector<Pad> pads;

// The key check's pad sources from what the pads hold. A source that stays down gains no new
// went-down record, so this never makes a press that no pad made.
void holdPadSources() {
    for (int s = input::padPlace(Key::Up, 0); s < input::PadSourcesEnd; ++s) {
        bool held = false;
        for (const Pad& pad : pads) {
            held = held || pad.held.sources[s].down;
        }
        input::setDown(sdl.input, static_cast<input::Source>(s), held);
    }
}

Pad* padWith(SDL_JoystickID id) {
    for (Pad& pad : pads) {
        if (pad.id == id) {
            return &pad;
        }
    }
    return nullptr;
}

// A pad input going down or up, as the player bound it; one bound to none does nothing.
void padInput(Pad& pad, int code, bool down) {
    Key key = Key::Up;
    int place = 0;
    if (bindings::padKeyOf(sdl.bindings, code, key, place)) {
        input::setDown(pad.held, input::padPlace(key, place), down);
    }
}

void openPad(int deviceIndex) {
    // A pad announced twice is opened once, so that no stale record of it outlives it.
    if (SDL_IsGameController(deviceIndex) == SDL_TRUE &&
        padWith(SDL_JoystickGetDeviceInstanceID(deviceIndex)) == nullptr) {
        if (SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex)) {
            pads.push_back(Pad{controller,
                               SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller)),
                               input::InputState{},
                               {}});
        }
    }
}

void closePad(SDL_JoystickID id) {
    if (Pad* pad = padWith(id)) {
        SDL_GameControllerClose(pad->controller);
        pads.erase(pads.begin() + (pad - pads.data()));
    }
    holdPadSources(); // what the pad held is let go; what the others hold stays
}

} // namespace

void openPads() {
    // Pads already plugged in arrive as device-added events, as later ones do.
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        std::fprintf(stderr, "zanbury: no gamepads: %s\n", SDL_GetError());
        return;
    }
    addPadMappings(); // the player's own, for a pad SDL does not know
}

void padEvent(const SDL_Event& event) {
    switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED:
        openPad(event.cdevice.which);
        break;
    case SDL_CONTROLLERDEVICEREMOVED:
        closePad(event.cdevice.which);
        break;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP: {
        const bool down = event.type == SDL_CONTROLLERBUTTONDOWN;
        if (event.cbutton.button == SDL_CONTROLLER_BUTTON_START && sdl.pauseAllowed) {
            // In play Start pauses and resumes; elsewhere it is the key it is bound to.
            if (down) {
                requestPause(PauseRequest::Toggle);
            }
            break;
        }
        if (event.cbutton.button == SDL_CONTROLLER_BUTTON_BACK) {
            showKeys(down); // the keys card while Back is held
        }
        if (Pad* pad = padWith(event.cbutton.which)) {
            padInput(*pad, event.cbutton.button, down);
            holdPadSources();
        }
        break;
    }
    case SDL_CONTROLLERAXISMOTION:
        if (Pad* pad = padWith(event.caxis.which);
            pad != nullptr && event.caxis.axis < SDL_CONTROLLER_AXIS_MAX) {
            for (int side = 0; side < 2; ++side) {
                bool& held = pad->axisHeld[event.caxis.axis][side];
                const int32_t amount = side == 1 ? event.caxis.value : -event.caxis.value;
                if (input::axisHeld(held, amount) != held) {
                    held = !held;
                    padInput(*pad, padAxisCode(event.caxis.axis, side == 1), held);
                }
            }
            holdPadSources();
        }
        break;
    default:
        break;
    }
}

void letGoOfPads() {
    for (Pad& pad : pads) {
        input::releaseAll(pad.held);
        for (auto& sides : pad.axisHeld) {
            sides[0] = sides[1] = false;
        }
    }
    holdPadSources();
}

void closePads() {
    for (const Pad& pad : pads) {
        SDL_GameControllerClose(pad.controller);
    }
    pads.clear();
}

} // namespace platform::detail
