// Fuzzes parseHighScore against the C library: it accepts exactly the texts that begin, after an
// optional byte-order mark and white space, with a decimal number with an optional sign, and
// gives that number clamped to 32 bits.

#include "fuzz/fuzz_checks.h"
#include "park/readers.h"

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
    if (copy.rfind("\xef\xbb\xbf", 0) == 0) {
        start += 3;
    }
    char* end = nullptr;
    const long long read = std::strtoll(start, &end, 10); // saturates beyond 64 bits
    const bool number = end != start;
    const long long expected = read < INT32_MIN ? INT32_MIN : read > INT32_MAX ? INT32_MAX : read;
    fuzz::check(accepted == number, accepted ? "a non-number is accepted" : "a number is refused",
                copy.substr(0, 64));
    if (accepted) {
        fuzz::check(value == expected, "the number is read wrong", copy.substr(0, 64));
    }
    return 0;
}
