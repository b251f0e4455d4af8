// The game's start-up on the headless platform, as the simulator, the autoplayer, the soak, the
// benchmark and the tests' game fixture all begin.

#include "app/shell.h"
#include "platform/headless.h"
#include "tools/common/common.h"

namespace tools {

void resetHeadlessGame(uint32_t startTick) {
    headless::reset(startTick);
    resetProgramRecords();
}

bool startHeadlessGame(uint32_t startTick) {
    resetHeadlessGame(startTick);
    return startUp();
}

} // namespace tools
