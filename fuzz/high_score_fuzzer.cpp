// Fuzzes parseHighScore against the C library: it accepts exactly the texts that begin, after
// optional white space, with a decimal number with an optional sign that fits in 32 bits, and
// gives that number.

#include "fuzz/fuzz_checks.h"
#include "park/readers.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text = fuzz::asText(data, size);
    int32_t value = 0;
    const bool accepted = park::parseHighScore(text, value);

    // strtoll reads the same leading white space, sign and digits, and stops at a NUL byte,
    // as the reader does at any byte that is not a digit.
    const std::string copy(text);
    const char* start = copy.c_str();
    char* end = nullptr;
    errno = 0;
    const long long expected = std::strtoll(start, &end, 10);
    const bool number =
        end != start && errno != ERANGE && expected >= INT32_MIN && expected <= INT32_MAX;
    fuzz::check(accepted == number, accepted ? "a non-number is accepted" : "a number is refused",
                copy.substr(0, 64));
    if (accepted) {
        fuzz::check(value == expected, "the number is read wrong", copy.substr(0, 64));
    }
    return 0;
}
