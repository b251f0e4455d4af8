// zanbury-whole-run DATA REPLAYS: prints the script of the whole run of DATA/parks.txt, the
// replays REPLAYS/NAME of its parks joined as the whole-run replay test joins them, so that a
// simulator on another system can play the same run from a file.

#include "park/readers.h"
#include "tools/autoplay/autoplay.h"
#include "tools/common/common.h"

#include <cstdio>

namespace {

namespace fs = std::filesystem;

bool fail(const std::string& why) {
    std::fprintf(stderr, "zanbury-whole-run: %s\n", why.c_str());
    return false;
}

bool join(const fs::path& data, const fs::path& replays) {
    std::vector<std::string> parks;
    std::string error;
    if (!tools::parkNames(data, parks, error)) {
        return fail(error);
    }
    std::vector<std::vector<sim::ScriptEvent>> scripts;
    std::vector<int32_t> lengths;
    static park::ParkFile file; // large; kept out of the stack
    for (const std::string& name : parks) {
        const fs::path script = replays / fs::path(name).filename();
        std::string text;
        park::Problem problem;
        if (!park::readTextFile(script.string().c_str(), text, problem)) {
            return fail(park::formatProblem(problem));
        }
        std::vector<sim::ScriptEvent> events;
        if (!sim::parseScript(text, script.string().c_str(), events, error) ||
            !tools::readParkFile(data / name, text, file, error)) {
            return fail(error);
        }
        scripts.push_back(std::move(events));
        lengths.push_back(file.parkLength);
    }
    const std::string run = autoplay::eventsText(autoplay::joinRun(scripts, lengths));
    return (std::fputs(run.c_str(), stdout) >= 0 && std::fflush(stdout) == 0) ||
           fail("cannot write the script");
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: zanbury-whole-run DATA REPLAYS\n");
        return 2;
    }
    return join(argv[1], argv[2]) ? 0 : 1;
}
