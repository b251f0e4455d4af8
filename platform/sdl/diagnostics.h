#pragma once
// What the SDL platform alone can tell its tests: the bytes of sound still queued on the
// audio device (0 with no device).

#include <cstdint>

namespace platform {

uint32_t queuedSoundBytes();

} // namespace platform
