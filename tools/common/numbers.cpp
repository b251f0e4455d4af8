// Whole numbers from the command line, for the tools' options.

#include "tools/common/common.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>

namespace tools {

bool wholeNumber(const char* text, long long min, long long max, long long& value) {
    char* end = nullptr;
    errno = 0;
    value = std::strtoll(text, &end, 10);
    return *text != '\0' && *end == '\0' && errno == 0 && value >= min && value <= max;
}

bool unsignedWholeNumber(const char* text, unsigned long long& value) {
    if (std::isdigit(static_cast<unsigned char>(*text)) == 0) {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    value = std::strtoull(text, &end, 10);
    return *end == '\0' && errno == 0;
}

} // namespace tools
