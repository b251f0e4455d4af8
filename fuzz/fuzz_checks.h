#pragma once
// What every fuzz target checks besides the sanitizers: a refusal names the file and the line,
// and whatever a reader accepts it reads again the same from its own plain rewriting.

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

// "fuzzed.txt:LINE: what is wrong", with a line of 1 or more.
inline void checkRefusal(const std::string& error) {
    const std::string prefix = std::string(FileName) + ":";
    check(error.rfind(prefix, 0) == 0, "a refusal does not name the file", error);
    std::size_t i = prefix.size();
    std::size_t digits = i;
    while (digits < error.size() && error[digits] >= '0' && error[digits] <= '9') {
        ++digits;
    }
    check(digits > i && error[i] != '0', "a refusal has no line", error);
    check(error.compare(digits, 2, ": ") == 0 && error.size() > digits + 2,
          "a refusal does not say what is wrong", error);
}

inline std::string_view asText(const uint8_t* data, size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

} // namespace fuzz
