// zanbury-parkmap [--run SCRIPT] PARKFILE OUT.png
// zanbury-parkmap --sheet OUT.png
//
// Draws the park file as one picture: the park from left to right as the skater meets it, at
// 4 pixels a frame in rows of 500 frames, each obstacle with its own picture at its own row on
// the backdrop, and a frame ruler under each row. With --run, the path of the skater of that
// run (a zanbury-sim script of the park alone, such as zanbury-autoplay --out writes) is drawn
// over it, with each press, each trick and the narrowest timing window. With --sheet it draws
// the sprite sheet with its obstacle pictures outlined and numbered instead.

#include "app/shell.h"
#include "tools/autoplay/autoplay.h"
#include "tools/common/common.h"
#include "tools/parkmap/parkmap.h"
#include "zanbury_version.h"

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

int usage() {
    std::fprintf(stderr, "usage: zanbury-parkmap [--run SCRIPT] PARKFILE OUT.png\n"
                         "       zanbury-parkmap --sheet OUT.png\n"
                         "  --run SCRIPT  draw the skater's path of this run of the park alone\n"
                         "  --sheet       draw the sprite sheet's obstacle pictures, numbered\n");
    return 2;
}

int fail(const std::string& error) {
    std::fprintf(stderr, "zanbury-parkmap: %s\n", error.c_str());
    return 1;
}

bool readRun(const fs::path& script, const fs::path& parkPath, parkmap::ParkMap& map,
             std::string& error) {
    std::string text;
    park::Problem problem;
    std::vector<sim::ScriptEvent> events;
    if (!park::readTextFile(script.string().c_str(), text, problem)) {
        error = park::formatProblem(problem);
        return false;
    }
    if (!sim::parseScript(text, script.string().c_str(), events, error) ||
        !autoplay::pressesOfScript(events, map.presses, error)) {
        return false;
    }
    if (!autoplay::measureRun(parkPath, map.presses, map.run, error)) {
        error = script.string() + ": " + error;
        return false;
    }
    map.hasRun = true;
    return true;
}

std::string title(const parkmap::ParkMap& map, const std::string& name) {
    char line[256];
    std::snprintf(line, sizeof line, "%s: %d frames (%.0f s), %d obstacles", name.c_str(),
                  map.file->parkLength, map.file->parkLength * 0.034, map.file->obstacleCount);
    std::string out = line;
    const int32_t k = autoplay::narrowestWindow(map.run.windows);
    if (map.hasRun && !map.run.score.empty()) {
        out += "; the run drawn: " + std::to_string(map.presses.size()) + " presses, " +
               std::to_string(map.run.score.back()) + " points";
    }
    if (k >= 0) {
        out += ", tightness " +
               std::to_string(map.run.windows[static_cast<std::size_t>(k)].width()) + " frames";
    }
    return out;
}

} // namespace

int main(int argc, char** argv) {
    if (version::printVersion(argc, argv, "zanbury-parkmap")) {
        return 0;
    }
    std::vector<std::string> args;
    fs::path runPath;
    bool sheet = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--run" && i + 1 < argc) {
            runPath = argv[++i];
        } else if (arg == "--sheet") {
            sheet = true;
        } else if (!arg.empty() && arg[0] == '-') {
            return usage();
        } else {
            args.push_back(arg);
        }
    }
    std::string error;
    if (sheet) {
        parkmap::Canvas canvas;
        if (args.size() != 1 || !runPath.empty()) {
            return usage();
        }
        if (!parkmap::drawSheetMap(canvas, error) || !parkmap::savePng(canvas, args[0], error)) {
            return fail(error);
        }
        return 0;
    }
    if (args.size() != 2) {
        return usage();
    }
    const fs::path parkPath = fs::absolute(args[0]);
    const fs::path outPath = fs::absolute(args[1]);
    const std::string name = parkPath.filename().string();

    static park::ParkFile file; // large; kept out of the stack
    std::string text;
    if (!tools::readParkFile(parkPath, text, file, error)) {
        return fail(error);
    }
    parkmap::ParkMap map;
    map.file = &file;
    if (!runPath.empty() && !readRun(runPath, parkPath, map, error)) {
        return fail(error);
    }
    map.title = title(map, name);

    tools::ScratchDir scratch("parkmap");
    if (!scratch.error.empty() ||
        !tools::writeTextFile((scratch.path / "parks.txt").string(), "1\n" + name + "\n", error) ||
        !tools::writeTextFile((scratch.path / name).string(), text, error)) {
        return fail(scratch.error.empty() ? error : scratch.error);
    }
    fs::current_path(scratch.path);
    if (!parkmap::obstacleEntries(name, file, map.entries, error)) {
        shutDown();
        return fail(error);
    }
    parkmap::Canvas canvas = parkmap::blankCanvas(map);
    parkmap::composeScene(map, canvas);
    shutDown();
    parkmap::drawOverlay(map, canvas);
    if (!parkmap::savePng(canvas, outPath.string(), error)) {
        return fail(error);
    }
    return 0;
}
