#pragma once
// A fresh game for every test: the headless platform reset, the display open, every
// program-wide record back to its start value, and a temporary working directory that
// holds the test's park files.

#include "app/flow.h"
#include "app/shell.h"
#include "core/run_state.h"
#include "display/display.h"
#include "park/park.h"
#include "platform/headless.h"
#include "skater/skater.h"
#include "tools/common/common.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

// Rects print as (left, top, right, bottom) in failure messages.
inline void PrintTo(const Rect& r, std::ostream* os) {
    *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

namespace testing_support {

// Writes a text file in the current directory; a failed write fails the test.
void writeFile(const std::string& name, const std::string& text);
std::string readFile(const std::string& name);

class GameTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Writes each park file from its name and text, then the list parks.txt as given, and
    // reads the list.
    void useParks(const std::string& listText,
                  const std::vector<std::pair<std::string, std::string>>& parkFiles);
    // The same for a list of one park, park.txt.
    void usePark(const std::string& parkText);
    // Loads the park and enters Playing as a new run would, with the skater reset.
    void startPark(const std::string& parkText);
    // One Playing frame (or whatever the state's handler is), with no pacing.
    void frame() { runStateHandler(); }

    std::optional<tools::ScratchDir> scratch; // the working directory of the test
    std::filesystem::path dir;
};

} // namespace testing_support
