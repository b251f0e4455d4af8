// Whether a Linux machine may have a GPU for the renderer: only the X11, Wayland and KMS/DRM
// drivers present through one, and only where the kernel offers a DRI render node.

#include "platform/sdl/sdl_state.h"

#include <cstring>
#include <dirent.h>

namespace platform::detail {
namespace {

bool hasRenderNode() {
    DIR* dir = opendir("/dev/dri");
    if (dir == nullptr) {
        return false;
    }
    bool found = false;
    while (dirent* entry = readdir(dir)) {
        found = found || std::strncmp(entry->d_name, "renderD", 7) == 0;
    }
    closedir(dir);
    return found;
}

} // namespace

bool gpuMayBeThere(const char* driver, std::string& why) {
    if (driver == nullptr ||
        (std::strcmp(driver, "x11") != 0 && std::strcmp(driver, "wayland") != 0 &&
         std::strcmp(driver, "kmsdrm") != 0)) {
        why = std::string("the video driver ") + (driver ? driver : "?") + " has no GPU to offer";
        return false;
    }
    if (!hasRenderNode()) {
        why = "no DRI render node: no GPU";
        return false;
    }
    return true;
}

} // namespace platform::detail
