// The two sounds are handed to the platform once; a play is then a lookup of two names.

#include "display/display.h"
#include "display/display_state.h"
#include "display/resources.h"
#include "platform/platform.h"

#include <cstring>

namespace display {
namespace {

struct NamedSound {
    const char* name;
    int handle;
};

NamedSound sounds[] = {{"HIT", -1}, {"SMACK", -1}};

} // namespace

void detail::openSounds() {
    for (NamedSound& s : sounds) {
        const resources::Resource* res = resources::find(s.name);
        s.handle = res == nullptr ? -1 : platform::registerSound(s.name, res->data, res->size);
    }
}

void playSound(const char* name) {
    for (const NamedSound& s : sounds) {
        if (std::strcmp(s.name, name) == 0) {
            if (s.handle >= 0) {
                platform::playSound(s.handle);
            }
            return;
        }
    }
}

} // namespace display
