// The trace line of a pass, from the program's records and the display.

#include "app/trace.h"

#include "app/flow.h"
#include "core/run_state.h"
#include "display/atlas.h"
#include "display/display.h"
#include "skater/skater.h"

namespace trace {

void format(char* out, std::size_t size, int64_t frame, const char* sounds, const char* hash) {
    std::snprintf(out, size,
                  "frame=%lld state=%s score=%d lives=%d park=%d parkFrame=%d parkLength=%d "
                  "window=%d..%d msg=%d menu=%s body=%s board=%s bodyY=%d boardX=%d boardY=%d "
                  "trick=%d timer=%d rise=%d supported=%d onRail=%d landed=%d sound=%s hash=%s",
                  static_cast<long long>(frame), gameStateName(gameState), run.score, run.lives,
                  run.parkIndex, run.parkFrame, run.parkLength, run.firstActive, run.lastActive,
                  run.messageSeconds, newGameSelected() ? "new" : "exit",
                  atlas::nameOf(skater.bodySrc), atlas::nameOf(skater.boardSrc), skater.bodyY,
                  skater.boardX, skater.boardY, static_cast<int>(skater.trick), skater.trickTimer,
                  skater.riseFrames, skater.supported, skater.onRail, skater.landed, sounds, hash);
}

bool write(std::FILE* out, int64_t frame, bool withHash) {
    char sounds[128];
    display::takeSoundsAsked(sounds, sizeof sounds);
    char hash[9] = "-";
    if (withHash) {
        std::snprintf(hash, sizeof hash, "%08x", display::backBufferHash());
    }
    char line[MaxLine];
    format(line, sizeof line, frame, sounds, hash);
    return std::fprintf(out, "%s\n", line) >= 0;
}

} // namespace trace
