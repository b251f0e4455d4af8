// Sessions on the headless platform: a session recorded as a player's hands play it replays
// frame for frame, hash included, and so does the run of its high score; a cut recording
// replays up to its cut or is refused at a line; parks that differ, and a recording that the
// game does not read as it was written, are refused.

#include "app/session.h"
#include "tests/support/game_fixture.h"
#include "tests/support/simulate.h"
#include "tools/sim/sim.h"
#include "zanbury_version.h"

#include "app/command_line.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>
#include <sys/stat.h>
#include <thread>

using testing_support::GameTest;
using testing_support::lines;
using testing_support::readBack;
using testing_support::readFile;
using testing_support::writeFile;

namespace {

// A park with nothing in it, then a wall of a hazard that nothing gets over: three falls end
// the run on the end screen.
const char* const Parks = "2\nwarm.txt\nwall.txt\n";
const char* const Warm = "0 40\n";
const char* const Wall = "1 200\n0 0 200 200 0 232 4\n";

// NEW GAME; a jump held over passes, another pressed and let go within one and turned into a
// spin; Enter after the first park; after the third fall, Enter, then EXIT.
const char* const Hands = "2 enter tap\n10 up press\n14 up release\n25 up tap\n26 right tap\n"
                          "50 enter tap\n50 enter press\n52 enter release\n"
                          "460 enter tap\n465 down tap\n466 enter tap\n";

std::string withoutHash(const std::string& line) {
    return line.substr(0, line.rfind(" hash="));
}

class SessionTest : public GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        useParks(Parks, {{"warm.txt", Warm}, {"wall.txt", Wall}});
    }

    // Plays the script's keys as a player's hands, recording into rec.txt; the trace. What
    // rec.txt holds after pass `readAt` is kept in `midway`.
    // `afterPlay` runs between each pass's play and the session's part of it.
    std::vector<std::string> record(const std::string& hands, int64_t readAt = 0,
                                    const std::function<void()>& afterPlay = {}) {
        std::vector<sim::ScriptEvent> events;
        std::string error;
        EXPECT_TRUE(sim::parseScript(hands, "hands", events, error)) << error;
        EXPECT_TRUE(tools::startHeadlessGame(0));
        EXPECT_TRUE(session::startRecording({"rec.txt"}, true, error)) << error;
        std::FILE* trace = std::tmpfile();
        session::startTrace(trace, false);
        std::size_t next = 0;
        for (int64_t frame = 1; frame <= 600 && gameState != GameState::Quit; ++frame) {
            for (; next < events.size() && events[next].frame == frame; ++next) {
                platform::scriptKey(events[next].key, events[next].action);
            }
            EXPECT_TRUE(session::beforePass());
            sim::playPass();
            if (afterPlay) {
                afterPlay();
            }
            session::afterPass();
            if (frame == readAt) {
                midway = readFile("rec.txt");
            }
        }
        EXPECT_TRUE(session::finish(error)) << error;
        shutDown();
        return lines(readBack(trace));
    }

    // Replays the recording in the test's directory: the exit code, the trace and stderr.
    int replay(const std::string& file, std::vector<std::string>& trace, std::string& said,
               bool hash = true) {
        recording::Recording r;
        park::Problem problem;
        if (!recording::load(file.c_str(), version::ProjectVersion, r, problem)) {
            said = park::formatProblem(problem);
            return -1;
        }
        sim::Options options;
        options.hash = hash;
        std::FILE* out = std::tmpfile();
        testing::internal::CaptureStderr();
        int code = sim::runRecording(options, std::move(r), out);
        said = testing::internal::GetCapturedStderr();
        trace = lines(readBack(out));
        return code;
    }

    std::string midway;
};

TEST_F(SessionTest, ARecordedSessionAndItsHighScoreRunReplayFrameForFrame) {
    const std::vector<std::string> played = record(Hands);
    ASSERT_GT(played.size(), 460u);
    const std::string all = [&] {
        std::string s;
        for (const std::string& l : played) {
            s += l + "\n";
        }
        return s;
    }();
    // What the session holds: jumps and a spin, a park complete, falls with the message line,
    // the end screen and the menu's EXIT.
    for (const char* seen : {" trick=1 ", " trick=4 ", "state=ParkComplete", " lives=2 ", " msg=3 ",
                             "state=GameOver", "state=Quit"}) {
        EXPECT_NE(all.find(seen), std::string::npos) << seen;
    }
    const std::string score = sim::traceField(played.back(), "score");
    EXPECT_EQ(readFile("highscore.txt"), score);

    // A replay shows the recorded verdict on the high score, and touches no file of the game's.
    writeFile("highscore.txt", "999999");
    std::vector<std::string> again;
    std::string said;
    ASSERT_EQ(replay("rec.txt", again, said), 0) << said;
    EXPECT_EQ(said, "");
    EXPECT_EQ(again, played);
    EXPECT_EQ(readFile("highscore.txt"), "999999");

    // The high score's run ends on its end screen, at that score.
    ASSERT_EQ(replay("highscore-run.txt", again, said), 0) << said;
    ASSERT_FALSE(again.empty());
    EXPECT_EQ(sim::traceField(again.back(), "state"), "GameOver");
    EXPECT_EQ(sim::traceField(again.back(), "score"), score);
    EXPECT_TRUE(std::equal(again.begin(), again.end(), played.begin()));
}

TEST_F(SessionTest, TheHighScoreRunIsKeptOnlyWhileTheScoreIsStillTheRuns) {
    // Another game beats the score between this end screen's write and its run's copy.
    writeFile("highscore-run.txt", "the better run\n");
    record(Hands, 0, [] {
        if (gameState == GameState::GameOver && readFile("highscore.txt") != "999999") {
            writeFile("highscore.txt", "999999");
        }
    });
    EXPECT_EQ(readFile("highscore.txt"), "999999");
    EXPECT_EQ(readFile("highscore-run.txt"), "the better run\n");
}

TEST_F(SessionTest, TheRecordingIsOnDiskWithinASecondOfPlay) {
    record(Hands, 100);
    recording::Recording r;
    park::Problem problem;
    ASSERT_TRUE(recording::parse(midway, "rec.txt", version::ProjectVersion, r, problem))
        << park::formatProblem(problem);
    EXPECT_GE(r.passes, 100 - 30); // a second is 30 passes
    EXPECT_EQ(r.endLine, 0);
}

TEST_F(SessionTest, ACutRecordingReplaysUpToItsCutOrIsRefusedAtALine) {
    const std::vector<std::string> played = record(Hands);
    const std::string text = readFile("rec.txt");
    std::mt19937 random(7);
    for (int i = 0; i < 40; ++i) {
        const std::size_t cut = random() % text.size();
        writeFile("cut.txt", text.substr(0, cut));
        std::vector<std::string> trace;
        std::string said;
        int code = replay("cut.txt", trace, said, false);
        if (code == -1) {
            EXPECT_EQ(said.rfind("cut.txt:", 0), 0u) << said;
            EXPECT_GE(std::stoi(said.substr(8)), 1) << said;
            continue;
        }
        ASSERT_EQ(code, 0) << "cut at " << cut << ": " << said;
        ASSERT_LE(trace.size(), played.size());
        for (std::size_t p = 0; p < trace.size(); ++p) {
            ASSERT_EQ(withoutHash(trace[p]), withoutHash(played[p])) << "cut at " << cut;
        }
        EXPECT_NE(said.find("the session was cut short"), std::string::npos) << said;
    }
}

TEST_F(SessionTest, OtherParksOrARecordingTheGameDoesNotReadAsWrittenAreRefused) {
    record(Hands);
    const std::string text = readFile("rec.txt");
    std::vector<std::string> trace;
    std::string said;

    writeFile("wall.txt", std::string(Wall) + "\n");
    EXPECT_EQ(replay("rec.txt", trace, said), 2);
    EXPECT_NE(said.find("rec.txt:5: wall.txt here differs from the one the recording was made"),
              std::string::npos)
        << said;
    EXPECT_TRUE(trace.empty());
    writeFile("wall.txt", Wall);

    // A pass made to read the tick count once more than the game does.
    std::string edited = text;
    const std::size_t at = edited.find(" clock ", edited.find("\n10 "));
    const std::size_t lineEnd = edited.find('\n', at);
    edited.insert(lineEnd, " 0");
    const int line = static_cast<int>(std::count(edited.begin(), edited.begin() + at, '\n')) + 1;
    writeFile("edited.txt", edited);
    EXPECT_EQ(replay("edited.txt", trace, said), 2);
    EXPECT_NE(said.find("edited.txt:" + std::to_string(line) + ": pass "), std::string::npos)
        << said;
    EXPECT_NE(said.find("the recording does not match this game"), std::string::npos) << said;

    // The end screen's verdict taken out.
    edited = text;
    const std::size_t score = edited.find(" highscore ");
    edited.erase(edited.rfind('\n', score) + 1,
                 edited.find('\n', score) - edited.rfind('\n', score));
    writeFile("edited.txt", edited);
    EXPECT_EQ(replay("edited.txt", trace, said), 2);
    EXPECT_NE(said.find("an end screen, for which the recording holds no verdict"),
              std::string::npos)
        << said;
}

TEST_F(SessionTest, AFileNamedForWritingIsNeverOneOfTheGamesOwn) {
    namespace fs = std::filesystem;
    record(Hands);
    const char* config = std::getenv("XDG_CONFIG_HOME");
    const std::string keep = config != nullptr ? config : "";
    setenv("XDG_CONFIG_HOME", (dir / "cfg").c_str(), 1);
    fs::create_directories(dir / "cfg/zanbury");
    writeFile("cfg/zanbury/settings.conf", "look = whole\n");
    fs::create_symlink("highscore.txt", "score-link.txt");
    fs::create_hard_link("rec.txt", "rec-hard.txt");
    const std::string before = readFile("rec.txt");
    struct Case {
        std::vector<const char*> args;
        const char* says;
    };
    const Case cases[] = {
        {{"--trace", "highscore.txt"}, "--trace: highscore.txt is the high score"},
        {{"--trace", "score-link.txt"}, "is the high score"},
        {{"--record", "./parks.txt"}, "is the park list"},
        {{"--record", "sub/../wall.txt"}, "is a park of parks.txt"},
        {{"--trace", "highscore.txt.lock"}, "is the high score's lock"},
        {{"--trace", "last-run.txt"}, "is the recording the game keeps of every session"},
        {{"--record", "highscore-run.txt"}, "is the recording of the high score's run"},
        {{"--trace", "cfg/zanbury/settings.conf"}, "is the settings file"},
        {{"--replay", "rec.txt", "--trace", "rec-hard.txt"}, "is the recording being replayed"},
        {{"--record", "mine.txt", "--trace", "./mine.txt"}, "name the same file"},
    };
    fs::create_directories("sub");
    for (const Case& c : cases) {
        std::vector<char*> argv = {const_cast<char*>("zanbury")};
        for (const char* a : c.args) {
            argv.push_back(const_cast<char*>(a));
        }
        GameOptions options;
        ASSERT_EQ(readCommandLine(static_cast<int>(argv.size()), argv.data(), options), -1);
        testing::internal::CaptureStderr();
        EXPECT_EQ(prepareSession(options), 2) << c.says;
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find(c.says), std::string::npos) << said;
        endSession();
    }
    EXPECT_EQ(readFile("rec.txt"), before);
    EXPECT_EQ(session::refusedOptionFile("trace.txt", "rec.txt"), "");
    if (config != nullptr) {
        setenv("XDG_CONFIG_HOME", keep.c_str(), 1);
    } else {
        unsetenv("XDG_CONFIG_HOME");
    }

    // A link to a file of the player's is followed: the file is replaced, the link stays.
    writeFile("mine.txt", "old");
    fs::create_symlink("mine.txt", "mine-link.txt");
    std::string error;
    ASSERT_TRUE(session::startTraceFile("mine-link.txt", error)) << error;
    session::finish(error);
    EXPECT_TRUE(fs::is_symlink("mine-link.txt"));
    EXPECT_EQ(readFile("mine.txt"), "");
    fs::create_symlink("nowhere.txt", "dangling.txt");
    EXPECT_FALSE(session::startTraceFile("dangling.txt", error));
    EXPECT_NE(error.find("a link to a file that does not exist"), std::string::npos) << error;

    // A pipe is written in place, as a shell's redirection would; one that nothing reads is
    // refused at once rather than waited on.
    ASSERT_EQ(mkfifo("pipe", 0600), 0);
    EXPECT_FALSE(session::startRecording({"pipe"}, true, error));
    EXPECT_NE(error.find("pipe: nothing reads from it"), std::string::npos) << error;
    std::string piped;
    std::thread reader([&piped] { piped = readFile("pipe"); });
    while (!session::startRecording({"pipe"}, true, error)) {
        std::this_thread::yield(); // until the reader has the pipe open
    }
    EXPECT_TRUE(session::finish(error)) << error;
    reader.join();
    EXPECT_TRUE(fs::is_fifo("pipe"));
    EXPECT_EQ(piped.rfind("zanbury-recording 1\n", 0), 0u) << piped;
}

} // namespace
