// Practice of one park on the shipped list: the first and the last park, each played by its
// committed replay in a session that practises it, play as the park alone does, end on the
// practice screen in place of the verdict, leave the high score's files as they were, and are
// recorded as practice, so that the recording replays to the same trace. A practice park that the
// list lacks is refused as a wrong command line.

#include "app/command_line.h"
#include "app/session.h"
#include "app/standing.h"
#include "app/trace.h"
#include "tests/support/back_buffer.h"
#include "tests/support/game_fixture.h"
#include "tests/support/simulate.h"
#include "zanbury_version.h"

#include <algorithm>
#include <set>

namespace {

namespace fs = std::filesystem;
using testing_support::lines;
using testing_support::readBack;
using testing_support::readFile;
using testing_support::writeFile;

const fs::path Data = fs::path(ZANBURY_SOURCE_DIR) / "data";
const fs::path Replays = fs::path(ZANBURY_SOURCE_DIR) / "tests" / "replays";

// The trace line without the field.
std::string without(const std::string& line, const char* field) {
    const std::size_t at = line.find(std::string(" ") + field + "=");
    if (at == std::string::npos) {
        return line;
    }
    const std::size_t end = line.find(' ', at + 1);
    return line.substr(0, at) + (end == std::string::npos ? "" : line.substr(end));
}

// Plays the events as a player's hands in the working directory, practising the park, into the
// recording rec.txt: the trace (with the pictures' hash when `hashed`: it costs more than the
// play), after checking the picture of the first GameOver pass.
std::vector<std::string> practise(int32_t park, const std::vector<sim::ScriptEvent>& events,
                                  bool hashed) {
    std::string error;
    EXPECT_TRUE(tools::startHeadlessGame(0, park));
    EXPECT_TRUE(session::startRecording({"rec.txt"}, true, error)) << error;
    std::FILE* trace = std::tmpfile();
    std::vector<uint16_t> endScreen;
    std::size_t next = 0;
    for (int64_t pass = 1; pass <= events.back().frame + 100 && gameState != GameState::Quit;
         ++pass) {
        for (; next < events.size() && events[next].frame == pass; ++next) {
            platform::scriptKey(events[next].key, events[next].action);
        }
        EXPECT_TRUE(session::beforePass());
        sim::playPass();
        session::afterPass();
        EXPECT_TRUE(trace::write(trace, pass, hashed));
        if (gameState == GameState::GameOver && endScreen.empty()) {
            endScreen = testing_support::backBuffer();
            // Over the picture: how the park went, and no best, which practice does not keep.
            const std::vector<std::string> standing = standingLines();
            EXPECT_EQ(standing.size(), 2u);
            EXPECT_EQ(standing.back().rfind("Practice of ", 0), 0u)
                << testing::PrintToString(standing);
            EXPECT_NE(standing.back().find(": cleared"), std::string::npos);
        }
    }
    EXPECT_TRUE(session::finish(error)) << error;
    EXPECT_EQ(endScreen.size(), 640u * 480u) << "no end screen";
    endScreen.resize(640 * 480);
    const std::vector<uint16_t> normal = [] {
        display::blitBackdrop(Rect{0, 0, 640, 480}, 0, 0);
        display::blitSprite(atlas::HighScoresBanner, 130, 10);
        display::drawText("Practice: the high score is kept for whole runs", 130, 140);
        display::drawText("Press enter to continue...", 10, 460);
        return testing_support::backBuffer();
    }();
    EXPECT_EQ(testing_support::differingRows(endScreen, normal), std::make_pair(-1, -1))
        << "the end screen of practice";
    shutDown();
    return lines(readBack(trace));
}

std::set<std::string> filesIn(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

TEST(Practice, TheFirstAndTheLastParkPlayAloneAndLeaveTheHighScoreAsItWas) {
    std::vector<std::string> parks;
    std::string error;
    ASSERT_TRUE(tools::parkNames(Data, parks, error)) << error;
    for (const int32_t park : {1, static_cast<int32_t>(parks.size())}) {
        const std::string name = parks[static_cast<std::size_t>(park - 1)];
        SCOPED_TRACE(name);
        const std::string keys = readFile((Replays / name).string());
        std::vector<sim::ScriptEvent> events;
        ASSERT_TRUE(sim::parseScript(keys, name.c_str(), events, error)) << error;

        // The park alone, as the only park of a list.
        tools::ScratchDir alone("practice-alone");
        ASSERT_TRUE(
            tools::writeTextFile((alone.path / "parks.txt").string(), "1\n" + name + "\n", error))
            << error;
        fs::copy_file(Data / name, alone.path / name);
        sim::Options options;
        options.dir = alone.path.string();
        options.hash = false;
        const std::vector<std::string> expected = testing_support::simulate(keys, options);

        // The same keys practising the park in the whole list, with a high score that the run's
        // score would beat and a run of the high score.
        tools::ScratchDir scratch("practice");
        ASSERT_TRUE(tools::copyParks(Data, scratch.path, error)) << error;
        fs::current_path(scratch.path);
        writeFile("highscore.txt", "1");
        writeFile("highscore-run.txt", "the run of the high score\n");
        const std::set<std::string> before = filesIn(".");
        const bool hashed = park == static_cast<int32_t>(parks.size());
        const std::vector<std::string> played = practise(park, events, hashed);

        ASSERT_EQ(played.size(), expected.size());
        bool ended = false;
        for (std::size_t i = 0; i < played.size(); ++i) {
            const std::string state = sim::traceField(played[i], "state");
            ASSERT_NE(state, "ParkComplete") << played[i];
            if (state == "Playing") {
                ASSERT_EQ(sim::traceField(played[i], "park"), std::to_string(park - 1));
            }
            ended = ended || state == "GameOver";
            const auto same = [](const std::string& line) {
                return without(without(line, "park"), "hash");
            };
            ASSERT_EQ(same(played[i]), same(expected[i]));
        }
        EXPECT_TRUE(ended);
        EXPECT_EQ(sim::traceField(played.back(), "state"), "Quit");

        EXPECT_EQ(readFile("highscore.txt"), "1");
        EXPECT_EQ(readFile("highscore-run.txt"), "the run of the high score\n");
        std::set<std::string> after = before;
        after.insert("rec.txt");
        EXPECT_EQ(filesIn("."), after) << "no lock, no temporary file";

        const std::vector<std::string> recorded = lines(readFile("rec.txt"));
        ASSERT_GE(recorded.size(), 3u);
        EXPECT_EQ(recorded[2], "practice " + std::to_string(park));
        recording::Recording r;
        park::Problem problem;
        ASSERT_TRUE(recording::load("rec.txt", version::ProjectVersion, r, problem))
            << park::formatProblem(problem);
        std::FILE* out = std::tmpfile();
        sim::Options replay;
        replay.hash = hashed;
        ASSERT_EQ(sim::runRecording(replay, std::move(r), out), 0);
        const std::vector<std::string> replayed = lines(readBack(out));
        ASSERT_EQ(replayed.size(), played.size());
        const auto [at, was] = std::mismatch(replayed.begin(), replayed.end(), played.begin());
        EXPECT_TRUE(at == replayed.end()) << *at << "\nwhere the session had\n" << *was;
        EXPECT_EQ(readFile("highscore.txt"), "1");
    }
}

TEST(Practice, AParkThatTheListLacksIsAWrongCommandLine) {
    struct Case {
        std::vector<const char*> args;
        const char* says;
    };
    const Case cases[] = {
        {{"--practice"}, "zanbury: --practice needs a park's number\n"},
        {{"--practice", "0"},
         "zanbury: --practice takes a park's number in parks.txt, from 1, not '0'"},
        {{"--practice", "2x"}, "not '2x'"},
        {{"--practice", "1", "--practice", "2"}, "--practice is given twice"},
        {{"--replay", "r.txt", "--practice", "2"}, "--practice and --replay do not go together"},
    };
    for (const Case& c : cases) {
        std::vector<char*> argv = {const_cast<char*>("zanbury")};
        for (const char* a : c.args) {
            argv.push_back(const_cast<char*>(a));
        }
        GameOptions options;
        testing::internal::CaptureStderr();
        EXPECT_EQ(readCommandLine(static_cast<int>(argv.size()), argv.data(), options), 2);
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find(c.says), std::string::npos) << said;
        EXPECT_NE(said.find("usage: zanbury"), std::string::npos) << said;
    }

    // The number is checked against the list that start-up reads, before the window opens.
    tools::ScratchDir scratch("practice-list");
    std::string error;
    std::vector<std::string> parks;
    ASSERT_TRUE(tools::copyParks(Data, scratch.path, error)) << error;
    ASSERT_TRUE(tools::parkNames(Data, parks, error)) << error;
    fs::current_path(scratch.path);
    const auto last = static_cast<int32_t>(parks.size());
    for (const int32_t park : {last, last + 1}) {
        tools::resetHeadlessGame(0);
        park::practice.park = park;
        testing::internal::CaptureStderr();
        EXPECT_EQ(startUp(), park == last ? 0 : 2);
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  park == last ? ""
                               : "zanbury: --practice " + std::to_string(last + 1) +
                                     ": parks.txt lists " + std::to_string(last) + " parks\n");
        EXPECT_EQ(headless::takeErrorBox(), "");
        shutDown();
    }
}

} // namespace
