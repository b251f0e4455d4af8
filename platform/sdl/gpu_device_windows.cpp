// Whether a Windows machine may have a GPU for the renderer: Windows' own video driver always
// has a Direct3D device to try (a software one only where no display adapter has a driver, which
// the renderer's trial then reports as it is).

#include "platform/sdl/sdl_state.h"

#include <cstring>

namespace platform::detail {

bool gpuMayBeThere(const char* driver, std::string& why) {
    if (driver == nullptr || std::strcmp(driver, "windows") != 0) {
        why = std::string("the video driver ") + (driver ? driver : "?") + " has no GPU to offer";
        return false;
    }
    return true;
}

} // namespace platform::detail
