#pragma once
// The soak: the real game on the headless platform under seeded random input at human-like
// rates, with the rules' invariants checked after every frame.

#include <cstdint>
#include <string>

namespace soak {

struct Result {
    int64_t frames = 0;
    int64_t runsStarted = 0;
    int64_t parksCompleted = 0;
    int64_t falls = 0;
    int64_t escapes = 0;
    int64_t endScreens = 0;
    long residentKiBEarly = 0; // resident memory a tenth of the way in, and at the end
    long residentKiBLate = 0;
    bool ok = true;
    std::string violation; // the broken invariant, with the seed and the frame
};

// A line's number from /proc/self/status, such as "VmRSS:", in KiB; -1 when unknown.
long statusKiB(const char* field);

// The invariant that the records break now, or "" when they hold.
std::string brokenInvariant();

// Plays `frames` frames from start-up in the working directory, which must hold the parks.
// Stops early at the first broken invariant.
Result runSoak(uint64_t seed, int64_t frames);

} // namespace soak
