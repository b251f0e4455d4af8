#pragma once
// Reading whole numbers from the command line, shared by the developer tools: the whole text
// must be the number, so that a typo is refused rather than read as 0 or as its first digits.

#include <cctype>
#include <cerrno>
#include <cstdlib>

namespace sim {

inline bool wholeNumber(const char* text, long long min, long long max, long long& value) {
    char* end = nullptr;
    errno = 0;
    value = std::strtoll(text, &end, 10);
    return *text != '\0' && *end == '\0' && errno == 0 && value >= min && value <= max;
}

// Any value of 64 bits; a sign is refused, as strtoull would wrap "-1" to the largest.
inline bool unsignedWholeNumber(const char* text, unsigned long long& value) {
    if (std::isdigit(static_cast<unsigned char>(*text)) == 0) {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    value = std::strtoull(text, &end, 10);
    return *end == '\0' && errno == 0;
}

} // namespace sim
