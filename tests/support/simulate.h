#pragma once
// The simulator driven from a test: a script played through sim::runSimulation, and its trace.

#include "tools/sim/sim.h"

#include <cstdio>
#include <string>
#include <vector>

namespace testing_support {

// Plays the script with the options and returns the trace, one line a pass. A script that does
// not parse, or a game that does not start, fails the test.
std::vector<std::string> simulate(const std::string& script, const sim::Options& options);

// The lines of a text, without their line breaks.
std::vector<std::string> lines(const std::string& text);

// All that a file written by the test holds, read from its start; the file is then closed.
std::string readBack(std::FILE* file);

} // namespace testing_support
