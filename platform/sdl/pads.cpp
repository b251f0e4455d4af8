// The SDL platform's gamepads: every game controller plugged in, at start or later, is opened;
// its D-pad, A, B, Back, Start and left stick feed the key check, and pulling it out lets go of
// what it held.

#include "platform/input.h"
#include "platform/sdl/sdl_state.h"

#include <SDL.h>

#include <cstdio>
#include <vector>

namespace platform::detail {
namespace {

std::vector<SDL_GameController*> pads;

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
            pads.push_back(pad);
        }
    }
}

void closePad(SDL_JoystickID id) {
    for (auto it = pads.begin(); it != pads.end(); ++it) {
        if (SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(*it)) == id) {
            SDL_GameControllerClose(*it);
            pads.erase(it);
            break;
        }
    }
    // A pad pulled out while a button was held must not leave it held.
    for (int s = input::PadUp; s <= input::StickRight; ++s) {
        input::setDown(sdl.input, static_cast<input::Source>(s), false);
    }
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

void closePads() {
    for (SDL_GameController* pad : pads) {
        SDL_GameControllerClose(pad);
    }
    pads.clear();
}

} // namespace platform::detail
