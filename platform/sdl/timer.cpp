// The SDL platform's clock: SDL's millisecond tick count less the time paused, and the pacer's
// two ways of waiting.

#include "platform/platform.h"
#include "platform/sdl/sdl_state.h"

#include <SDL.h>

#include <chrono>
#include <thread>

namespace platform {

uint32_t tickCount() {
    detail::sdl.lastTick = detail::readClock(detail::sdl.clock, SDL_GetTicks());
    return detail::sdl.lastTick;
}

void holdClock(bool held) {
    detail::holdClock(detail::sdl.clock, held, SDL_GetTicks());
}

void sleepMs(uint32_t ms) {
    SDL_Delay(ms);
}

// The pacer polls the millisecond tick through its last millisecond: a nap of a tenth of that
// keeps the present within 0.1 ms of its tick without holding the processor.
void spinPause() {
    std::this_thread::sleep_for(std::chrono::microseconds(100));
}

} // namespace platform
