#pragma once
// What every fuzz target checks besides the sanitizers: a refusal names the file and the line,
// and whatever a reader accepts it reads again the same from its own plain rewriting.

#include "park/readers.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace fuzz {

inline constexpr const char* FileName = "fuzzed.txt";

[[noreturn]] inline void fail(const char* what, const std::string& detail) {
    std::fprintf(stderr, "fuzz: %s: %s\n", what, detail.c_str());
    std::abort();
}

inline void check(bool ok, const char* what, const std::string& detail = "") {
    if (!ok) {
        fail(what, detail);
    }
}

// A refusal names fuzzed.txt, a line of 1 or more, and what is wrong.
inline void checkRefusal(const park::Problem& problem) {
    const std::string text = park::formatProblem(problem);
    check(problem.file == FileName, "a refusal does not name the file", text);
    check(problem.line >= 1, "a refusal has no line", text);
    check(!problem.what.empty(), "a refusal does not say what is wrong", text);
}

inline std::string_view asText(const uint8_t* data, size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

} // namespace fuzz
