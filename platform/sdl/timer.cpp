// The SDL platform's clock: SDL's millisecond tick count, and the pacer's two ways of waiting.

#include "platform/platform.h"

#include <SDL.h>

#include <chrono>
#include <thread>

namespace platform {

uint32_t tickCount() {
    return SDL_GetTicks();
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
