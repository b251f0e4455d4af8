// The SDL platform's gamepads: every game controller plugged in, at start or later, is opened;
// its D-pad, A, B, Back, Start and left stick feed the key check (Start pauses instead while
// pausing is allowed), and pulling it out lets go of what it held, and only that.

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
};

std::vector<Pad> pads;

// The key check's pad sources from what the pads hold. A source that stays down gains no new
// went-down record, so this never makes a press that no pad made.
void holdPadSources() {
    for (int s = input::PadUp; s <= input::StickRight; ++s) {
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
    // A pad announced twice is opened once, so that no stale record of it outlives it.
    if (SDL_IsGameController(deviceIndex) == SDL_TRUE &&
        padWith(SDL_JoystickGetDeviceInstanceID(deviceIndex)) == nullptr) {
        if (SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex)) {
            pads.push_back(Pad{controller,
                               SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller)),
                               input::InputState{}});
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
    }
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
    case SDL_CONTROLLERBUTTONUP:
        if (event.cbutton.button == SDL_CONTROLLER_BUTTON_START && sdl.pauseAllowed) {
            // In play Start pauses and resumes; elsewhere it is Enter, as A is.
            if (event.type == SDL_CONTROLLERBUTTONDOWN) {
                requestPause(PauseRequest::Toggle);
            }
            break;
        }
        if (Pad* pad = padWith(event.cbutton.which)) {
            input::padButton(pad->held, padButtonFor(event.cbutton.button),
                             event.type == SDL_CONTROLLERBUTTONDOWN);
            holdPadSources();
        }
        break;
    case SDL_CONTROLLERAXISMOTION:
        if (Pad* pad = padWith(event.caxis.which)) {
            if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX) {
                input::padStick(pad->held, 0, event.caxis.value);
            } else if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY) {
                input::padStick(pad->held, 1, event.caxis.value);
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
