// The simulator: script parsing, the trace and its hash, and the virtual clock of the passes.

#include "tests/support/game_fixture.h"
#include "tests/support/simulate.h"
#include "tools/sim/sim.h"

#include <cstdlib>
#include <sstream>

using testing_support::GameTest;
using testing_support::lines;
using testing_support::readFile;
using testing_support::writeFile;

namespace {

class SimTest : public GameTest {
  protected:
    // The trace of the script played for `frames` passes, one line a pass.
    static std::vector<std::string> simulate(const std::string& script, int64_t frames,
                                             uint32_t ticks = 0, bool hash = true) {
        sim::Options options;
        options.maxFrames = frames;
        options.startTick = ticks;
        options.hash = hash;
        return testing_support::simulate(script, options);
    }
};

TEST_F(SimTest, ScriptsAreParsedAndBadLinesNamed) {
    std::vector<sim::ScriptEvent> events;
    std::string error;
    ASSERT_TRUE(sim::parseScript("# a comment\n\n5 up press\n3 enter tap\n5 up release\n", "s",
                                 events, error));
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].frame, 3); // sorted by frame, file order kept within a frame
    EXPECT_EQ(events[1].action, sim::Action::Press);
    EXPECT_EQ(events[2].action, sim::Action::Release);

    for (const char* bad : {"0 up press\n", "x up press\n", "1 jump press\n", "1 up hold\n",
                            "1 up press now\n", "1\n",
                            // Beyond 64 bits: a bad line, not an event that never fires.
                            "99999999999999999999 up press\n"}) {
        events.clear();
        EXPECT_FALSE(sim::parseScript(std::string("# ok\n") + bad, "s.txt", events, error)) << bad;
        EXPECT_EQ(error.rfind("s.txt:2: ", 0), 0u) << error;
    }
}

TEST_F(SimTest, TraceFollowsTheFlowAndTwoRunsHashAlike) {
    writeFile("park.txt", "1 200\n123 267 159 331 30 396 1\n");
    writeFile("parks.txt", "1 park.txt\n");
    const std::string script = "2 enter tap\n10 up tap\n";
    std::vector<std::string> trace = simulate(script, 60);
    EXPECT_EQ(simulate(script, 60), trace);
    ASSERT_EQ(trace.size(), 60u);
    EXPECT_EQ(trace[0].rfind("frame=1 state=Menu score=0 lives=3 park=0 parkFrame=0 ", 0), 0u)
        << trace[0];
    EXPECT_EQ(sim::traceField(trace[1], "state"), "LoadPark");
    EXPECT_EQ(sim::traceField(trace[2], "state"), "Playing");
    EXPECT_EQ(sim::traceField(trace[2], "parkLength"), "200");
    EXPECT_EQ(sim::traceField(trace[2], "window"), "0..0");
    EXPECT_EQ(sim::traceField(trace[3], "parkFrame"), "1");
    EXPECT_EQ(sim::traceField(trace[9], "sound"), "SMACK");
    EXPECT_EQ(sim::traceField(trace[9], "trick"), "1");
    EXPECT_EQ(sim::traceField(trace[9], "rise"), "20");
    EXPECT_EQ(sim::traceField(trace[10], "body"), "BodySpread");
    EXPECT_EQ(sim::traceField(trace[10], "board"), "BoardNoseUp");
    EXPECT_EQ(sim::traceField(trace[0], "body"), "none");
    EXPECT_EQ(sim::traceField(trace[0], "menu"), "new");
    // A moving obstacle changes the picture from one Playing frame to the next.
    EXPECT_NE(sim::traceField(trace[40], "hash"), sim::traceField(trace[41], "hash"));
    // Every field of the trace, in its order.
    const char* names[] = {"frame",      "state",  "score",  "lives", "park",  "parkFrame",
                           "parkLength", "window", "msg",    "menu",  "body",  "board",
                           "bodyY",      "boardX", "boardY", "trick", "timer", "rise",
                           "supported",  "onRail", "landed", "sound", "hash"};
    std::istringstream words(trace[20]);
    for (const char* name : names) {
        std::string word;
        words >> word;
        EXPECT_EQ(word.substr(0, word.find('=')), name);
    }

    // Without the hash, each line is the same but for hash=-.
    std::vector<std::string> unhashed = simulate(script, 60, 0, false);
    ASSERT_EQ(unhashed.size(), trace.size());
    for (std::size_t i = 0; i < trace.size(); ++i) {
        const std::size_t cut = trace[i].rfind(" hash=");
        ASSERT_NE(cut, std::string::npos);
        EXPECT_EQ(unhashed[i], trace[i].substr(0, cut) + " hash=-");
    }
}

TEST_F(SimTest, EachPassTakesOneMillisecondThenThePacerWaits) {
    writeFile("park.txt", "0 10000\n");
    writeFile("parks.txt", "1 park.txt\n");
    // With the clock starting at 0 the handler of pass n reads 34 x (n - 1).
    simulate("2 enter tap\n", 40);
    EXPECT_EQ(framePacer.lastPresentTick, 34u * 40u);
    // Near the wrap lastPresentTick + 33 wraps to a small number, so every wait ends at once
    // and each pass takes only its 1 ms of work.
    simulate("", 3, 0xFFFFFFF0u);
    EXPECT_EQ(framePacer.lastPresentTick, 0xFFFFFFF3u);
}

TEST_F(SimTest, TheProgramExitsWithTwoOnABadScriptAndZeroThroughTheMenu) {
    writeFile("park.txt", "0 100\n");
    writeFile("parks.txt", "1 park.txt\n");
    writeFile("bad.txt", "1 up press\n2 sideways tap\n");
    writeFile("quit.txt", "2 down tap\n3 enter tap\n");
    std::string sim = ZANBURY_SIM;
    EXPECT_EQ(WEXITSTATUS(std::system((sim + " bad.txt > out.txt 2> err.txt").c_str())), 2);
    EXPECT_NE(readFile("err.txt").find("bad.txt:2:"), std::string::npos);
    EXPECT_EQ(WEXITSTATUS(std::system((sim + " --shot 3=shot.png quit.txt > out.txt").c_str())), 0);
    std::vector<std::string> trace = lines(readFile("out.txt"));
    ASSERT_EQ(trace.size(), 3u);
    EXPECT_EQ(sim::traceField(trace[2], "state"), "Quit");
    EXPECT_EQ(sim::traceField(trace[2], "menu"), "exit");
    EXPECT_EQ(readFile("shot.png").substr(1, 3), "PNG");
    // Without the hash no picture is kept but the shot's, which is the same picture.
    EXPECT_EQ(WEXITSTATUS(std::system(
                  (sim + " --no-hash --shot 3=unhashed.png quit.txt > out.txt").c_str())),
              0);
    EXPECT_EQ(sim::traceField(lines(readFile("out.txt")).back(), "hash"), "-");
    EXPECT_EQ(readFile("unhashed.png"), readFile("shot.png"));
}

TEST_F(SimTest, AWriteThatFailsIsAMessageAndANonZeroExit) {
    writeFile("park.txt", "0 100\n");
    writeFile("parks.txt", "1 park.txt\n");
    writeFile("quit.txt", "2 down tap\n3 enter tap\n");
    const std::string sim = ZANBURY_SIM;
    auto exitCode = [&](const std::string& arguments) {
        return WEXITSTATUS(std::system((sim + " " + arguments + " 2> err.txt").c_str()));
    };
    // A shot that cannot be opened, and one refused by a full disk.
    EXPECT_EQ(exitCode("--shot 3=no-such-dir/shot.png quit.txt > out.txt"), 1);
    EXPECT_NE(readFile("err.txt").find("no-such-dir/shot.png"), std::string::npos)
        << readFile("err.txt");
    EXPECT_EQ(exitCode("--shot 2=/dev/full quit.txt > out.txt"), 1);
    EXPECT_NE(readFile("err.txt").find("cannot write /dev/full: No space left on device"),
              std::string::npos)
        << readFile("err.txt");
    // The trace to a full disk, and to a closed standard output.
    EXPECT_EQ(exitCode("quit.txt > /dev/full"), 1);
    EXPECT_NE(readFile("err.txt").find("cannot write the trace"), std::string::npos)
        << readFile("err.txt");
    EXPECT_EQ(exitCode("quit.txt >&-"), 1);
    EXPECT_NE(readFile("err.txt").find("cannot write the trace"), std::string::npos)
        << readFile("err.txt");
    EXPECT_EQ(exitCode("quit.txt > out.txt"), 0);
}

} // namespace
