// The player's keys on the SDL platform: the settings' names of keys and pad inputs looked up with
// SDL's own names (platform/bindings.h gives the rules), and the player's own pad mappings from
// gamecontrollerdb.txt beside the settings, in SDL's mapping format.

#include "core/files.h"
#include "platform/sdl/sdl_state.h"

#include <SDL.h>

#include <cstdio>
#include <string>
#include <vector>

namespace platform::detail {
namespace {

// Pad inputs as codes: a button is its SDL number; an axis's direction 100 + 2 * axis, + 1 for
// the positive side. A trigger moves one way only, so its name needs no sign.
constexpr int AxisCodes = 100;

int keyCode(const std::string& name) {
    const SDL_Scancode code = SDL_GetScancodeFromName(name.c_str());
    return code == SDL_SCANCODE_UNKNOWN ? bindings::None : static_cast<int>(code);
}

const char* keyKept(int code) {
    switch (SDL_GetKeyFromScancode(static_cast<SDL_Scancode>(code))) {
    case SDLK_F1:
        return "showing the keys";
    case SDLK_F10:
        return "the look";
    case SDLK_F11:
        return "full screen";
    case SDLK_p:
    case SDLK_PAUSE:
        return "pause";
    case SDLK_m:
        return "the sound";
    default:
        return nullptr;
    }
}

int padCode(const std::string& name) {
    if (name.empty()) {
        return bindings::None;
    }
    const char sign = name.back();
    const std::string base = sign == '+' || sign == '-' ? name.substr(0, name.size() - 1) : name;
    const SDL_GameControllerAxis axis = SDL_GameControllerGetAxisFromString(base.c_str());
    if (axis != SDL_CONTROLLER_AXIS_INVALID) {
        const bool trigger =
            axis == SDL_CONTROLLER_AXIS_TRIGGERLEFT || axis == SDL_CONTROLLER_AXIS_TRIGGERRIGHT;
        if (trigger ? sign == '-' : base == name) {
            return bindings::None; // a stick needs its side, a trigger has one
        }
        return AxisCodes + 2 * static_cast<int>(axis) + (sign == '-' ? 0 : 1);
    }
    if (base != name) {
        return bindings::None;
    }
    const SDL_GameControllerButton button = SDL_GameControllerGetButtonFromString(name.c_str());
    return button == SDL_CONTROLLER_BUTTON_INVALID ? bindings::None : static_cast<int>(button);
}

} // namespace

int padAxisCode(int axis, bool positive) {
    return AxisCodes + 2 * axis + (positive ? 1 : 0);
}

void bindKeys() {
    std::vector<std::string> warnings;
    sdl.bindings =
        bindings::resolve(sdl.settings, keyCode, keyKept, padCode,
                          sdl.settingsPath.empty() ? "settings" : sdl.settingsPath, warnings);
    for (const std::string& w : warnings) {
        std::fprintf(stderr, "zanbury: %s\n", w.c_str());
    }
}

void addPadMappings() {
    const std::string dir = files::configDirectory();
    if (dir.empty()) {
        return;
    }
    const std::string path = files::inDirectory(dir, "gamecontrollerdb.txt");
    std::string text;
    std::string why;
    switch (files::readWhole(path, text, why, std::size_t{4} << 20)) {
    case files::ReadStatus::Missing:
        return;
    case files::ReadStatus::Refused:
        std::fprintf(stderr, "zanbury: cannot read %s: %s\n", path.c_str(), why.c_str());
        return;
    case files::ReadStatus::Read:
        break;
    }
    SDL_RWops* rw = SDL_RWFromConstMem(text.data(), static_cast<int>(text.size()));
    if (SDL_GameControllerAddMappingsFromRW(rw, 1) < 0) {
        std::fprintf(stderr, "zanbury: %s: %s\n", path.c_str(), SDL_GetError());
    } else if (verbose()) {
        std::fprintf(stderr, "zanbury: pad mappings read from %s\n", path.c_str());
    }
}

} // namespace platform::detail
