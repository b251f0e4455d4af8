// Inputs that the fuzz targets of fuzz/ found mishandled, kept so that the readers stay fixed.

#include "park/readers.h"
#include "tools/common/common.h"
#include "tools/parkcheck/parkcheck.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using namespace std::string_literals;

// park_list_fuzzer: a NUL byte inside a park name was taken into the slot, so the game would
// have opened the file named by the part before it, and the bytes after it stayed in the slot.
TEST(FuzzFindings, AParkNameHoldingANulByteIsRefused) {
    park::ParkListFile list;
    park::Problem problem;
    EXPECT_FALSE(park::parseParkList("1 a\0b.txt\n"s, "parks.txt", list, problem));
    EXPECT_EQ(park::formatProblem(problem),
              "parks.txt:1: the park name 'a' is followed by a NUL byte within the same word");

    EXPECT_FALSE(park::parseParkList("2\nfirst.txt\n\0second.txt\n"s, "parks.txt", list, problem));
    EXPECT_EQ(problem.line, 3);
    EXPECT_EQ(problem.what.rfind("the park name '' is followed by a NUL byte", 0), 0u)
        << problem.what;

    // A NUL byte on its own between names is a word of its own, and refused the same way.
    EXPECT_FALSE(park::parseParkList("2 a.txt \0 b.txt"s, "parks.txt", list, problem));

    // The park checker reports the refusal with the list's file and line.
    tools::ScratchDir scratch("fuzz-finding");
    std::string error = scratch.error;
    ASSERT_TRUE(error.empty() && tools::writeTextFile((scratch.path / "parks.txt").string(),
                                                      "1\n\nharbour-fro\0\0.txt\n"s, error))
        << error;
    std::vector<parkcheck::Finding> findings = parkcheck::checkDirectory(scratch.path.string());
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].severity, parkcheck::Severity::Error);
    EXPECT_EQ(findings[0].line, 3);
    EXPECT_NE(findings[0].message.find("'harbour-fro' is followed by a NUL byte"),
              std::string::npos)
        << findings[0].message;
}

} // namespace
