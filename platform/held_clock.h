#pragma once
// The game's clock as both platforms give it: the raw millisecond count less the time it was
// held (paused). Unsigned 32-bit arithmetic throughout, so that it wraps as the raw count does.

#include <cstdint>

namespace platform::detail {

struct HeldClock {
    bool held = false;
    uint32_t heldAt = 0; // the game's reading when it was held
    uint32_t lost = 0;   // the raw milliseconds spent held, all told
};

inline uint32_t readClock(const HeldClock& clock, uint32_t raw) {
    return clock.held ? clock.heldAt : raw - clock.lost;
}

inline void holdClock(HeldClock& clock, bool held, uint32_t raw) {
    if (held && !clock.held) {
        clock.heldAt = raw - clock.lost;
    } else if (!held && clock.held) {
        clock.lost = raw - clock.heldAt;
    }
    clock.held = held;
}

} // namespace platform::detail
