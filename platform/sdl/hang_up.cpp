// A closed terminal (SIGHUP) ends the game in order, as SDL's own handling of SIGTERM and SIGINT
// does: the main loop ends at its next pass and the session's files get their end, where the
// signal's default would kill the process on the spot and lose the recording's last second.

#include "platform/sdl/sdl_state.h"

#include <csignal>

namespace platform::detail {
namespace {

volatile std::sig_atomic_t hangUpSeen = 0;

[[maybe_unused]] void onHangUp(int) {
    hangUpSeen = 1;
}

} // namespace

void watchForHangUp() {
#ifdef SIGHUP
    struct sigaction action {};
    action.sa_handler = onHangUp;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGHUP, &action, nullptr);
#endif
}

bool hungUp() {
    return hangUpSeen != 0;
}

} // namespace platform::detail
