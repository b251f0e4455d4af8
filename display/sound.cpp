// The two sounds are handed to the platform once; a play is then a lookup of two names, noted
// for the trace line.

#include "display/display.h"
#include "display/display_state.h"
#include "display/resources.h"
#include "platform/platform.h"

#include <cstdio>
#include <cstring>
#include <iterator>

namespace display {
namespace {

struct NamedSound {
    const char* name;
    int handle;
};

NamedSound sounds[] = {{"HIT", -1}, {"SMACK", -1}};

// The sounds handed to the platform since the trace last took them, by their index in sounds.
struct SoundsAsked {
    int count = 0;
    uint8_t index[16] = {};
};
SoundsAsked asked;

} // namespace

void detail::openSounds() {
    asked = SoundsAsked{};
    for (NamedSound& s : sounds) {
        const resources::Resource* res = resources::find(s.name);
        s.handle = res == nullptr ? -1 : platform::registerSound(s.name, res->data, res->size);
    }
}

void playSound(const char* name) {
    for (std::size_t i = 0; i < std::size(sounds); ++i) {
        const NamedSound& s = sounds[i];
        if (std::strcmp(s.name, name) == 0) {
            if (s.handle >= 0) {
                platform::playSound(s.handle);
                if (asked.count < static_cast<int>(std::size(asked.index))) {
                    asked.index[asked.count++] = static_cast<uint8_t>(i);
                }
            }
            return;
        }
    }
}

void takeSoundsAsked(char* out, std::size_t size) {
    if (size == 0) {
        asked.count = 0;
        return;
    }
    std::snprintf(out, size, "-");
    std::size_t used = 0;
    for (int i = 0; i < asked.count && used < size; ++i) {
        int n = std::snprintf(out + used, size - used, "%s%s", i > 0 ? "," : "",
                              sounds[asked.index[i]].name);
        used += n > 0 ? static_cast<std::size_t>(n) : 0;
    }
    asked.count = 0;
}

} // namespace display
