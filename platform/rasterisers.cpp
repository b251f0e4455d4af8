// The names by which software rasterisers give themselves away.

#include "platform/rasterisers.h"

#include <cstring>
#include <initializer_list>

namespace platform {

bool softwareRasteriser(const char* name) {
    for (const char* soft :
         {"llvmpipe", "softpipe", "Software Rasterizer", "SWR", "lavapipe", "SwiftShader"}) {
        if (std::strstr(name, soft) != nullptr) {
            return true;
        }
    }
    return false;
}

} // namespace platform
