// The committed assets are exactly what the generators write: nobody has edited them by hand
// and each generator gives the same bytes every time.

#include "tests/assets/asset_files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <unistd.h>

namespace {

using assettest::readBytes;

// Runs the generator into a fresh directory and compares each named file with assets/.
void expectGeneratorWritesTheCommitted(const char* generator, const char* target,
                                       std::initializer_list<const char*> names) {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base != nullptr ? base : "/tmp") + "/zanbury-art-XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    const std::string dir = pattern;

    const std::string command = std::string("'") + generator + "' '" + dir + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;

    for (const char* name : names) {
        const std::string made = dir + "/" + name;
        const std::vector<uint8_t> fresh = readBytes(made);
        const std::vector<uint8_t> committed = readBytes(assettest::assetPath(name));
        EXPECT_FALSE(fresh.empty()) << name;
        EXPECT_EQ(fresh.size(), committed.size()) << name;
        EXPECT_TRUE(fresh == committed)
            << name << " differs from the generator's output: run the " << target << " target";
        std::remove(made.c_str());
    }
    rmdir(dir.c_str());
}

void expectRefusalWithoutAnOutputDirectory(const char* generator) {
    const std::string command = std::string("'") + generator + "' 2>/dev/null";
    EXPECT_NE(std::system(command.c_str()), 0);
    const std::string missing =
        std::string("'") + generator + "' /nonexistent/zanbury/out 2>/dev/null";
    EXPECT_NE(std::system(missing.c_str()), 0);
}

TEST(Generator, WritesExactlyTheCommittedAssets) {
    expectGeneratorWritesTheCommitted(ZB_ARTGEN_PATH, "zanbury-assets",
                                      {"sprites.bmp", "backdrop.bmp", "hit.wav", "smack.wav"});
    expectGeneratorWritesTheCommitted(ZB_GLYPHGEN_PATH, "zanbury-glyphs", {"glyphs.txt"});
}

TEST(Generator, RefusesToRunWithoutAnOutputDirectory) {
    expectRefusalWithoutAnOutputDirectory(ZB_ARTGEN_PATH);
    expectRefusalWithoutAnOutputDirectory(ZB_GLYPHGEN_PATH);
}

} // namespace
