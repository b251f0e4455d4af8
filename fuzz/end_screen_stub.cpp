// The readers share park/park_files.cpp with loadPark, whose refusal path ends the run on the
// end screen, and that draws through the display. The fuzz targets never load a park, so the
// end screen here only stops the program loudly should that ever change.

#include "park/park.h"

#include <cstdio>
#include <cstdlib>

namespace park {

void showEndScreen() {
    std::fprintf(stderr, "fuzz: the end screen is not part of the readers under test\n");
    std::abort();
}

} // namespace park
