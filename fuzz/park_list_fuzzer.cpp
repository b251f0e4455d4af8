// Fuzzes parseParkList: no input may crash it; an accepted list names 1 to 26 parks, each a
// word of 1 to 29 characters that fills its slot exactly, with every later slot empty, and
// reads back the same from its own plain rewriting; a refused one is named by file and line.
// No accepted name leads out of the list's directory.

#include "fuzz/fuzz_checks.h"
#include "park/readers.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    park::ParkListFile parsed;
    park::Problem problem;
    if (!park::parseParkList(fuzz::asText(data, size), fuzz::FileName, parsed, problem)) {
        fuzz::checkRefusal(problem);
        return 0;
    }
    fuzz::check(parsed.parkCount >= 1 && parsed.parkCount <= park::MaxParks,
                "the park count is out of range", std::to_string(parsed.parkCount));
    std::string text = std::to_string(parsed.parkCount) + "\n";
    for (int32_t i = 0; i < park::MaxParks; ++i) {
        const char* name = parsed.list.names[i];
        const std::size_t length = strnlen(name, sizeof parsed.list.names[i]);
        fuzz::check(length < sizeof parsed.list.names[i], "a name is not terminated");
        // Every byte of the slot after the name is zero, and the name has no white space.
        for (std::size_t k = length; k < sizeof parsed.list.names[i]; ++k) {
            fuzz::check(name[k] == '\0', "a slot holds bytes after its name", name);
        }
        for (std::size_t k = 0; k < length; ++k) {
            fuzz::check(!isSpace(name[k]), "a name holds white space", name);
        }
        if (i < parsed.parkCount) {
            fuzz::check(length >= 1, "a listed name is empty or cut short",
                        "slot " + std::to_string(i));
            const std::string slashed = "/" + std::string(name) + "/";
            fuzz::check(name[0] != '/' && slashed.find("/../") == std::string::npos,
                        "a name leads out of the directory", name);
            fuzz::check(parsed.nameLine[i] >= 1 &&
                            (i == 0 || parsed.nameLine[i] >= parsed.nameLine[i - 1]),
                        "the name lines are not in order");
            text += std::string(name) + "\n";
        } else {
            fuzz::check(length == 0, "a slot after the last name is filled", name);
        }
    }
    park::ParkListFile reread;
    fuzz::check(park::parseParkList(text, fuzz::FileName, reread, problem),
                "the rewritten list is refused", park::formatProblem(problem));
    fuzz::check(reread.parkCount == parsed.parkCount, "the rewritten list differs", text);
    for (int32_t i = 0; i < park::MaxParks; ++i) {
        fuzz::check(std::memcmp(reread.list.names[i], parsed.list.names[i],
                                sizeof parsed.list.names[i]) == 0,
                    "a rewritten name differs", text);
    }
    return 0;
}
