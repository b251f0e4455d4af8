// The game's start-up on the headless platform, as the simulator, the autoplayer, the soak, the
// benchmark and the tests' game fixture all begin.

#include "app/session.h"
#include "app/shell.h"
#include "park/park.h"
#include "platform/headless.h"
#include "tools/common/common.h"

namespace tools {

void resetHeadlessGame(uint32_t startTick) {
    std::string unused;
    session::finish(unused); // whatever an earlier game recorded or replayed ends here
    headless::reset(startTick);
    resetProgramRecords();
}

bool startHeadlessGame(uint32_t startTick, int32_t practicePark) {
    resetHeadlessGame(startTick);
    park::practice.park = practicePark;
    return startUp() == 0;
}

} // namespace tools
