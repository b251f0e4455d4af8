// Fuzzes parseParkFile: no input may crash it or read out of bounds; an accepted park holds
// 0 to 200 records with every x at 640 and their lines in order, and reads back the same from
// its own plain rewriting; a refused one is named by file and line.

#include "fuzz/fuzz_checks.h"
#include "park/readers.h"

#include <cstdint>
#include <string>

namespace {

// Kept static: a ParkFile is large.
park::ParkFile parsed;
park::ParkFile reread;

std::string rewrite(const park::ParkFile& p) {
    std::string text = std::to_string(p.obstacleCount) + "\n" + std::to_string(p.parkLength) + "\n";
    for (int32_t i = 0; i < p.obstacleCount; ++i) {
        const park::Obstacle& o = p.records[i];
        for (int32_t v :
             {o.src.top, o.src.left, o.src.bottom, o.src.right, o.startFrame, o.y, o.kind}) {
            text += std::to_string(v) + " ";
        }
        text += "\n";
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    park::Problem problem;
    if (!park::parseParkFile(fuzz::asText(data, size), fuzz::FileName, parsed, problem)) {
        fuzz::checkRefusal(problem);
        return 0;
    }
    fuzz::check(parsed.obstacleCount >= 0 && parsed.obstacleCount <= park::MaxObstacles,
                "the obstacle count is out of range", std::to_string(parsed.obstacleCount));
    for (int32_t i = 0; i < parsed.obstacleCount; ++i) {
        fuzz::check(parsed.records[i].x == 640, "a record does not start at x 640");
        fuzz::check(parsed.recordLine[i] >= 1 &&
                        (i == 0 || parsed.recordLine[i] >= parsed.recordLine[i - 1]),
                    "the record lines are not in order");
    }
    const std::string text = rewrite(parsed);
    fuzz::check(park::parseParkFile(text, fuzz::FileName, reread, problem),
                "the rewritten park is refused", park::formatProblem(problem));
    fuzz::check(reread.obstacleCount == parsed.obstacleCount &&
                    reread.parkLength == parsed.parkLength,
                "the rewritten park differs", text);
    for (int32_t i = 0; i < parsed.obstacleCount; ++i) {
        const park::Obstacle& a = parsed.records[i];
        const park::Obstacle& b = reread.records[i];
        fuzz::check(a.src == b.src && a.startFrame == b.startFrame && a.y == b.y &&
                        a.kind == b.kind && a.x == b.x,
                    "a rewritten record differs", text);
    }
    return 0;
}
