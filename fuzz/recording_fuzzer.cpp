// Fuzzes the recording reader: whatever the bytes, it refuses them with the file, the line and
// what is wrong, or accepts them; what it accepts it reads again the same from its own writing,
// with the clock lines covering the passes from 1 and nothing beyond them, and a practice park
// within its park list.

#include "app/recording.h"
#include "fuzz/fuzz_checks.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text = fuzz::asText(data, size);
    recording::Recording r;
    park::Problem problem;
    if (!recording::parse(text, fuzz::FileName, "9.9", r, problem)) {
        fuzz::checkRefusal(problem);
        return 0;
    }
    int64_t covered = 0;
    for (const recording::ClockRun& run : r.clock) {
        fuzz::check(run.firstPass == covered + 1 && run.passes >= 1, "the clock lines leave a gap");
        covered += run.passes;
    }
    fuzz::check(covered == r.passes, "the passes are not the clock lines'");
    fuzz::check(r.practice == 0 ||
                    (r.practice >= 1 && static_cast<std::size_t>(r.practice) < r.files.size()),
                "a practice park outside the recording's park list");
    for (const script::Event& e : r.keys) {
        fuzz::check(e.frame >= 1 && e.frame <= r.passes, "a key outside the passes");
    }
    const std::string written = recording::write(r);
    recording::Recording again;
    fuzz::check(recording::parse(written, fuzz::FileName, "9.9", again, problem),
                "its own writing is refused", park::formatProblem(problem));
    fuzz::check(recording::write(again) == written, "its own writing reads differently",
                written.substr(0, 200));
    return 0;
}
