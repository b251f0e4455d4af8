// Whole runs through the simulator: a scripted player against a hydrant, read from the trace.

#include "tests/support/game_fixture.h"
#include "tests/support/park_text.h"
#include "tests/support/simulate.h"
#include "tools/sim/sim.h"

#include <string>
#include <vector>

using namespace testing_support;

namespace {

// One trace line, its fields looked up by name as the simulator's own reader does.
struct TraceLine {
    std::string text;
    std::string operator[](const char* name) const { return sim::traceField(text, name); }
    std::string at(const char* name) const { return sim::traceField(text, name); }
};

using Trace = std::vector<TraceLine>;

class SkaterSimTest : public testing_support::GameTest {
  protected:
    // Runs the script for `frames` passes and returns the trace, one line per pass.
    Trace simulate(const std::string& script, int64_t frames) {
        sim::Options options;
        options.dir = dir.string();
        options.maxFrames = frames;
        Trace trace;
        for (const std::string& line : testing_support::simulate(script, options)) {
            trace.push_back({line});
        }
        return trace;
    }

    // The hydrant reaches the skater's box in parkFrame 131 and has passed it after 153.
    void writeHydrantPark() {
        writeFile("parks.txt", "1 hydrant.txt\n");
        writeFile("hydrant.txt", parkText(200, {record(Hydrant, 0, 396, ObstacleKind::Hazard)}));
        writeFile("highscore.txt", "0");
    }
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
