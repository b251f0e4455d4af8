// The simulator driven from a test, its trace read back from a temporary file.

#include "tests/support/simulate.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

namespace testing_support {

std::vector<std::string> simulate(const std::string& script, const sim::Options& options) {
    std::vector<sim::ScriptEvent> events;
    std::string error;
    EXPECT_TRUE(sim::parseScript(script, "script", events, error)) << error;
    std::FILE* out = std::tmpfile();
    if (out == nullptr) {
        ADD_FAILURE() << "no temporary file for the trace";
        return {};
    }
    EXPECT_EQ(sim::runSimulation(options, events, out), 0);
    return lines(readBack(out));
}

std::string readBack(std::FILE* file) {
    std::rewind(file);
    std::string text;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
        text.append(buffer, n);
    }
    std::fclose(file);
    return text;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        out.push_back(line);
    }
    return out;
}

} // namespace testing_support
