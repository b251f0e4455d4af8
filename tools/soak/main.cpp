// zanbury-soak [--dir DIR] [--frames N] [--seed S]: plays the parks of DIR (copied to a
// temporary directory, so the high score file there is not touched) under random input.

#include "tools/common/common.h"
#include "tools/soak/soak.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

int usage() {
    std::fprintf(stderr, "usage: zanbury-soak [--dir DIR] [--frames N] [--seed S]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    std::string dir = "data";
    long long frames = 1000000;
    unsigned long long seed = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg != "--dir" && arg != "--frames" && arg != "--seed") {
            return usage();
        }
        // A last option without its value would otherwise soak with the default.
        if (i + 1 == argc) {
            std::fprintf(stderr, "zanbury-soak: %s needs a value\n", arg.c_str());
            return 2;
        }
        const char* value = argv[++i];
        if (arg == "--dir") {
            dir = value;
        } else if (arg == "--frames") {
            if (!tools::wholeNumber(value, 0, INT64_MAX, frames)) {
                std::fprintf(stderr, "zanbury-soak: --frames takes a whole number, not '%s'\n",
                             value);
                return 2;
            }
        } else if (!tools::unsignedWholeNumber(value, seed)) {
            std::fprintf(stderr,
                         "zanbury-soak: --seed takes a whole number from 0 to %llu, not '%s'\n",
                         static_cast<unsigned long long>(UINT64_MAX), value);
            return 2;
        }
    }
    // The parks are played in a copy with no high score file, which the run ends would write.
    tools::ScratchDir work("soak");
    std::string error = work.error;
    if (!error.empty() || !tools::copyParks(dir, work.path, error)) {
        std::fprintf(stderr, "zanbury-soak: %s\n", error.c_str());
        return 2;
    }
    std::filesystem::current_path(work.path);

    auto start = std::chrono::steady_clock::now();
    soak::Result result = soak::runSoak(seed, frames);
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    std::printf("soaked %lld frames (seed %llu) in %.1f s: %.0f frames per second\n",
                static_cast<long long>(result.frames), seed, seconds,
                static_cast<double>(result.frames) / seconds);
    std::printf("runs %lld, parks completed %lld, falls %lld, escapes %lld, end screens %lld\n",
                static_cast<long long>(result.runsStarted),
                static_cast<long long>(result.parksCompleted), static_cast<long long>(result.falls),
                static_cast<long long>(result.escapes), static_cast<long long>(result.endScreens));
    std::printf(
        "resident memory: %ld KiB a tenth of the way in, %ld KiB at the end, peak %ld KiB\n",
        result.residentKiBEarly, result.residentKiBLate, soak::statusKiB("VmHWM:"));
    if (!result.ok) {
        std::printf("FAILED: %s\n", result.violation.c_str());
        return 1;
    }
    // Memory that grows with the frames played is a leak; the allocator may settle by a few MiB.
    // (Under AddressSanitizer, run with quarantine_size_mb=0, or its quarantine grows instead.)
    // Without both readings (no frame played, or no /proc) there is nothing to compare.
    long growth = result.residentKiBLate - result.residentKiBEarly;
    if (result.residentKiBEarly > 0 && result.residentKiBLate > 0 && growth > 4096) {
        std::printf("FAILED: resident memory grew by %ld KiB\n", growth);
        return 1;
    }
    return 0;
}
