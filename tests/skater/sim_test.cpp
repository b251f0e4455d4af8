// Whole runs through the simulator: a scripted player against a hydrant, read from the trace.

#include "app/flow.h"
#include "app/run_state.h"
#include "park/park.h"
#include "park/park_files.h"
#include "skater/skater.h"
#include "tests/park/park_test_helpers.h"
#include "tests/support/game_fixture.h"
#include "tools/sim/sim.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>
#include <unistd.h>

using namespace park_tests;
using testing_support::writeFile;

namespace {

using Trace = std::vector<std::map<std::string, std::string>>;

class SkaterSimTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("zanbury-sim-test-" + std::to_string(getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        previous = std::filesystem::current_path();
        std::filesystem::current_path(dir);
        resetProgramRecords(); // a fresh program: every record at its start value
    }
    void TearDown() override {
        std::filesystem::current_path(previous);
        std::filesystem::remove_all(dir);
    }

    // Runs the script for `frames` passes and returns the trace, one map of fields per pass.
    Trace simulate(const std::string& script, int64_t frames) {
        std::vector<sim::ScriptEvent> events;
        std::string error;
        EXPECT_TRUE(sim::parseScript(script, "script", events, error)) << error;
        sim::Options options;
        options.dir = dir.string();
        options.maxFrames = frames;
        std::FILE* out = std::tmpfile();
        EXPECT_EQ(sim::runSimulation(options, events, out), 0);
        std::rewind(out);
        Trace trace;
        char line[1024];
        while (std::fgets(line, sizeof line, out) != nullptr) {
            std::istringstream words(line);
            std::map<std::string, std::string> fields;
            std::string word;
            while (words >> word) {
                auto eq = word.find('=');
                fields[word.substr(0, eq)] = word.substr(eq + 1);
            }
            trace.push_back(fields);
        }
        std::fclose(out);
        return trace;
    }

    // The hydrant reaches the skater's box in parkFrame 131 and has passed it after 153.
    void writeHydrantPark() {
        writeFile("parks.txt", "1 hydrant.txt\n");
        writeFile("hydrant.txt", parkText(200, {record(Hydrant, 0, 396, Hazard)}));
        writeFile("highscore.txt", "0");
    }

    std::filesystem::path dir;
    std::filesystem::path previous;
};

// Pass 1 draws the title, pass 2 is the menu that takes Enter, pass 3 loads the park,
// and pass 3 + n is parkFrame n.
constexpr int64_t FirstPlayingPass = 4;

TEST_F(SkaterSimTest, AJumpTimedForTheHydrantClearsItAndTheParkEnds) {
    writeHydrantPark();
    // Up is seen by the poll of parkFrame 128: the rise covers the hydrant's whole pass.
    Trace trace = simulate("2 enter tap\n131 up tap\n", 210);
    ASSERT_EQ(trace.size(), 210u);
    ASSERT_EQ(trace[FirstPlayingPass - 1]["state"], "Playing");
    ASSERT_EQ(trace[FirstPlayingPass - 1]["parkFrame"], "1");

    auto takeOff = trace[130];
    EXPECT_EQ(takeOff["parkFrame"], "128");
    EXPECT_EQ(takeOff["sound"], "SMACK");
    EXPECT_EQ(takeOff["trick"], "1");
    EXPECT_EQ(takeOff["rise"], "20");
    EXPECT_EQ(trace[150]["bodyY"], "267");
    EXPECT_EQ(trace[170]["sound"], "HIT") << "lands 40 steps after take-off";
    for (const auto& line : trace) {
        EXPECT_EQ(line.at("lives"), "3") << "frame " << line.at("frame");
    }
    EXPECT_EQ(trace[202]["state"], "GameOver") << "parkFrame 200 ends the only park";
    EXPECT_EQ(trace[202]["score"], "20");
    EXPECT_EQ(testing_support::readFile("highscore.txt"), "20");
}

TEST_F(SkaterSimTest, StandingStillTheHydrantIsAFallAndTheParkRestarts) {
    writeHydrantPark();
    Trace trace = simulate("2 enter tap\n", 140);
    auto before = trace[132];
    EXPECT_EQ(before["parkFrame"], "130");
    EXPECT_EQ(before["lives"], "3");
    auto fall = trace[133];
    EXPECT_EQ(fall["lives"], "2");
    EXPECT_EQ(fall["parkFrame"], "0");
    EXPECT_EQ(fall["msg"], "5");
    EXPECT_EQ(fall["state"], "Playing");
    EXPECT_EQ(fall["window"], "0..0");
    EXPECT_EQ(trace[134]["parkFrame"], "1");
    EXPECT_EQ(trace[134]["sound"], "-") << "a fall while standing plays no landing sound";
}

} // namespace
