// The keys card and the notes of the player's choices on the SDL platform: F1 (or a pad's Back
// held) shows the keys as they are bound now, and M or F10 leave a note for a second; the game
// draws both at present time, never into its picture.

#include "platform/platform.h"
#include "platform/sdl/sdl_state.h"

#include <SDL.h>

namespace platform::detail {

void showKeys(bool shown) {
    sdl.keysShown = shown;
}

void noteChoice(const char* text) {
    sdl.note = text;
    sdl.noteTick = SDL_GetTicks(); // the wall clock: the note goes while the game is paused too
}

} // namespace platform::detail

namespace platform {

using detail::sdl;

bool keysShown() {
    return sdl.keysShown;
}

const char* currentNote() {
    constexpr uint32_t NoteMs = 1000;
    if (sdl.note != nullptr && SDL_GetTicks() - sdl.noteTick >= NoteMs) {
        sdl.note = nullptr;
    }
    return sdl.note;
}

std::string keyNames(Key key, bool pad) {
    const int k = static_cast<int>(key);
    return pad ? sdl.bindings.padNames[k] : sdl.bindings.keyboardNames[k];
}

} // namespace platform
