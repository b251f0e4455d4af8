// The browser platform has no system libraries of its own to quieten: the page's audio and
// video report nothing on standard error.

#include "platform/sdl/sdl_state.h"

namespace platform::detail {

void quietenAlsa(bool) {}

} // namespace platform::detail
