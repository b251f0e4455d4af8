// Windows has neither alsa-lib nor libwayland-client under SDL: its sound and video drivers
// leave standard error alone, so there is nothing to quieten.

#include "platform/sdl/sdl_state.h"

namespace platform::detail {

void quietenAlsa(bool) {}
void quietenWayland(bool) {}

} // namespace platform::detail
