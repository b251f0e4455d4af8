// zanbury-parkcheck [--prove] [DIR]: checks DIR/parks.txt (DIR defaults to the current
// directory) and every park file it names. With --prove, and no errors so far, it also has the
// autoplayer search each park, and a park that human hands cannot get through without a fall,
// or only with a press on one exact frame, is an error. Prints one line per problem; exits 0
// when clean, 1 with warnings only, 2 with errors. zanbury-parkcheck --pictures prints the
// catalogue of the sprite sheet's obstacle pictures.

#include "tools/autoplay/autoplay.h"
#include "tools/common/common.h"
#include "tools/parkcheck/parkcheck.h"
#include "zanbury_version.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

void proveParks(const std::string& dir, std::vector<parkcheck::Finding>& findings) {
    std::vector<std::string> names;
    std::string error;
    if (!tools::parkNames(dir, names, error)) {
        return;
    }
    autoplay::SearchOptions options;
    options.prove = true;
    for (const std::string& name : names) {
        const std::string path = parkcheck::pathIn(dir, name);
        int32_t line = 0;
        const std::string why = autoplay::whyNotProved(autoplay::searchPark(path, options), line);
        if (!why.empty()) {
            findings.push_back({parkcheck::Severity::Error, path, line, "not proved: " + why});
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    if (version::printVersion(argc, argv, "zanbury-parkcheck")) {
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--pictures") == 0) {
        std::printf("%s", parkcheck::pictureCatalogue().c_str());
        return 0;
    }
    const bool prove = argc > 1 && std::strcmp(argv[1], "--prove") == 0;
    const int first = prove ? 2 : 1;
    if (argc > first + 1 || (argc == first + 1 && argv[first][0] == '-')) {
        std::fprintf(stderr, "usage: zanbury-parkcheck [--prove] [DIR]\n"
                             "       zanbury-parkcheck --pictures\n");
        return 2;
    }
    const std::string dir = argc == first + 1 ? argv[first] : ".";
    std::vector<parkcheck::Finding> findings = parkcheck::checkDirectory(dir);
    if (prove && parkcheck::exitStatus(findings) < 2) {
        proveParks(dir, findings);
    }
    int warnings = 0;
    int errors = 0;
    for (const parkcheck::Finding& f : findings) {
        std::printf("%s\n", parkcheck::formatFinding(f).c_str());
        (f.severity == parkcheck::Severity::Error ? errors : warnings) += 1;
    }
    if (findings.empty()) {
        std::printf("%s: no problems\n", dir.c_str());
    } else {
        std::printf("%s: %d error%s, %d warning%s\n", dir.c_str(), errors, errors == 1 ? "" : "s",
                    warnings, warnings == 1 ? "" : "s");
    }
    return parkcheck::exitStatus(findings);
}
