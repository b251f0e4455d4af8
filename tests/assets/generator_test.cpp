// The committed assets are exactly what the generator writes: nobody has edited them by hand
// and the generator gives the same bytes every time.

#include "tests/assets/asset_files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

using assettest::readBytes;

TEST(Generator, WritesExactlyTheCommittedAssets) {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base != nullptr ? base : "/tmp") + "/zanbury-art-XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    const std::string dir = pattern;

    const std::string command = std::string("'") + ZB_ARTGEN_PATH + "' '" + dir + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;

    for (const char* name : {"sprites.bmp", "backdrop.bmp", "hit.wav", "smack.wav"}) {
        const std::string made = dir + "/" + name;
        const std::vector<uint8_t> fresh = readBytes(made);
        const std::vector<uint8_t> committed = readBytes(assettest::assetPath(name));
        EXPECT_FALSE(fresh.empty()) << name;
        EXPECT_EQ(fresh.size(), committed.size()) << name;
        EXPECT_TRUE(fresh == committed)
            << name << " differs from the generator's output: run the zanbury-assets target";
        std::remove(made.c_str());
    }
    rmdir(dir.c_str());
}

TEST(Generator, RefusesToRunWithoutAnOutputDirectory) {
    const std::string command = std::string("'") + ZB_ARTGEN_PATH + "' 2>/dev/null";
    EXPECT_NE(std::system(command.c_str()), 0);
    const std::string missing =
        std::string("'") + ZB_ARTGEN_PATH + "' /nonexistent/zanbury/out 2>/dev/null";
    EXPECT_NE(std::system(missing.c_str()), 0);
}

} // namespace
