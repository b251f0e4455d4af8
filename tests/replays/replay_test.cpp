// The committed replays of the shipped parks: for every park data/NAME of data/parks.txt, the
// script tests/replays/NAME completes that park, as the only park of a list, with no fall, the
// score of tests/replays/expected.txt and the tightness of tests/replays/tightness.txt; the
// tightness never loosens down the list, from a gentle first park to a hard last one; and the
// scripts joined play the whole run of data/parks.txt to the end screen and a new high score.

#include "park/readers.h"
#include "tools/autoplay/autoplay.h"
#include "tools/common/common.h"

#include <gtest/gtest.h>

#include <map>

namespace {

namespace fs = std::filesystem;

const fs::path Source = ZANBURY_SOURCE_DIR;
const fs::path Data = Source / "data";
const fs::path Replays = Source / "tests" / "replays";
const fs::path Expected = Replays / "expected.txt";
const fs::path Tightness = Replays / "tightness.txt";

std::vector<std::string> shippedParks() {
    std::vector<std::string> names;
    std::string error;
    if (!tools::parkNames(Data, names, error)) {
        names.clear();
    }
    return names;
}

std::string scriptName(const std::string& park) {
    return fs::path(park).filename().string();
}

std::string rerunCommand(const std::vector<std::string>& parks, const std::string& park) {
    std::size_t number = 0;
    while (number < parks.size() && parks[number] != park) {
        ++number;
    }
    return "cd " + Source.string() + " && " + ZANBURY_AUTOPLAY + " --dir data --park " +
           std::to_string(number + 1) + " --out tests/replays/" + scriptName(park) +
           " --expected tests/replays/expected.txt";
}

std::string rerunAdvice(const std::vector<std::string>& parks,
                        const std::vector<std::string>& which) {
    std::string advice = "The park changed or the rules changed; run zanbury-autoplay again:";
    for (const std::string& park : which) {
        advice += "\n  " + rerunCommand(parks, park);
    }
    return advice;
}

bool readScript(const std::string& park, std::vector<sim::ScriptEvent>& events,
                std::string& error) {
    const fs::path path = Replays / scriptName(park);
    std::string text;
    park::Problem problem;
    if (!park::readTextFile(path.string().c_str(), text, problem)) {
        error = park::formatProblem(problem);
        return false;
    }
    return sim::parseScript(text, path.string().c_str(), events, error);
}

bool parkLength(const fs::path& path, int32_t& length, std::string& error) {
    static park::ParkFile file; // large; kept out of the stack
    std::string text;
    park::Problem problem;
    if (!park::readTextFile(path.string().c_str(), text, problem) ||
        !park::parseParkFile(text, path.string().c_str(), file, problem)) {
        error = park::formatProblem(problem);
        return false;
    }
    length = file.parkLength;
    return true;
}

std::map<std::string, int32_t> readTable(const fs::path& table) {
    std::vector<std::pair<std::string, int32_t>> rows;
    std::string error;
    EXPECT_TRUE(tools::readExpected(table, rows, error)) << error;
    return {rows.begin(), rows.end()};
}

std::map<std::string, int32_t> expectedScores() {
    return readTable(Expected);
}

class ShippedParkReplay : public ::testing::TestWithParam<std::string> {};

TEST_P(ShippedParkReplay, CompletesTheParkAloneWithNoFallAndTheExpectedScore) {
    const std::vector<std::string> parks = shippedParks();
    const std::string park = GetParam();
    const std::string advice = rerunAdvice(parks, {park});

    std::vector<sim::ScriptEvent> events;
    std::string error;
    ASSERT_TRUE(readScript(park, events, error)) << error << "\n" << advice;
    const auto scores = expectedScores();
    ASSERT_EQ(scores.count(scriptName(park)), 1u)
        << Expected.string() << " has no score for " << scriptName(park) << "\n"
        << advice;
    int32_t length = 0;
    ASSERT_TRUE(parkLength(Data / park, length, error)) << error;

    tools::ScratchDir scratch("replay");
    ASSERT_EQ(scratch.error, "");
    ASSERT_TRUE(tools::writeTextFile((scratch.path / "parks.txt").string(),
                                     "1\n" + scriptName(park) + "\n", error))
        << error;
    fs::copy_file(Data / park, scratch.path / scriptName(park));

    autoplay::ReplayOutcome out = autoplay::replay(scratch.path, events, 3 + length + 100);
    ASSERT_TRUE(out.started);
    EXPECT_TRUE(out.reachedEnd) << park << ": the replay never reaches the end screen\n" << advice;
    EXPECT_TRUE(out.completed) << park << ": the replay does not complete the park\n" << advice;
    EXPECT_EQ(out.livesLost, 0) << park << ": the replay falls\n" << advice;
    EXPECT_EQ(out.score, scores.at(scriptName(park)))
        << park << ": the replay ends with another score\n"
        << advice;

    // The narrowest timing window of the replay is the park's tightness in the table.
    const auto tightness = readTable(Tightness);
    ASSERT_EQ(tightness.count(scriptName(park)), 1u)
        << Tightness.string() << " has no tightness for " << scriptName(park) << "\n"
        << advice << " --tightness tests/replays/tightness.txt";
    std::vector<autoplay::Press> presses;
    ASSERT_TRUE(autoplay::pressesOfScript(events, presses, error)) << error;
    autoplay::MeasuredRun measured;
    ASSERT_TRUE(autoplay::measureRun(Data / park, presses, measured, error)) << error;
    const int32_t k = autoplay::narrowestWindow(measured.windows);
    ASSERT_GE(k, 0) << park << ": the replay presses no key";
    EXPECT_EQ(measured.windows[static_cast<std::size_t>(k)].width(), tightness.at(scriptName(park)))
        << park << ": " << autoplay::describeTightness(measured.windows, presses) << "\n"
        << advice << " --tightness tests/replays/tightness.txt";
}

// A gentle first park, a hard last one, and no park looser than the one before it.
TEST(ShippedParkTightness, NeverLoosensDownTheListFromSixFramesOrMoreToTwoOrThree) {
    const std::vector<std::string> parks = shippedParks();
    ASSERT_GE(parks.size(), 12u);
    const auto tightness = readTable(Tightness);
    std::vector<int32_t> list;
    for (const std::string& park : parks) {
        ASSERT_EQ(tightness.count(scriptName(park)), 1u) << park << " is not in the table";
        list.push_back(tightness.at(scriptName(park)));
    }
    EXPECT_GE(list.front(), 6);
    EXPECT_GE(list.back(), 2);
    EXPECT_LE(list.back(), 3);
    for (std::size_t i = 1; i < list.size(); ++i) {
        EXPECT_LE(list[i], list[i - 1]) << parks[i] << " is looser than " << parks[i - 1];
    }
}

std::string testName(const ::testing::TestParamInfo<std::string>& info) {
    std::string name = std::to_string(info.index + 1) + "_";
    for (char c : fs::path(info.param).stem().string()) {
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(Shipped, ShippedParkReplay, ::testing::ValuesIn(shippedParks()), testName);

TEST(WholeRunReplay, EveryParkInTurnEndsWithANewHighScoreWrittenAsItsDigits) {
    const std::vector<std::string> parks = shippedParks();
    ASSERT_FALSE(parks.empty()) << (Data / "parks.txt").string() << " cannot be read";
    const auto scores = expectedScores();
    std::vector<std::vector<sim::ScriptEvent>> scripts;
    std::vector<int32_t> lengths;
    int32_t total = 0;
    for (const std::string& park : parks) {
        std::vector<sim::ScriptEvent> events;
        std::string error;
        int32_t length = 0;
        ASSERT_TRUE(readScript(park, events, error)) << error << "\n" << rerunAdvice(parks, parks);
        ASSERT_TRUE(parkLength(Data / park, length, error)) << error;
        ASSERT_EQ(scores.count(scriptName(park)), 1u) << rerunAdvice(parks, {park});
        scripts.push_back(events);
        lengths.push_back(length);
        total += scores.at(scriptName(park));
    }

    tools::ScratchDir scratch("whole-run");
    std::string error = scratch.error;
    ASSERT_TRUE(error.empty() && tools::copyParks(Data, scratch.path, error)) << error;
    ASSERT_FALSE(fs::exists(scratch.path / "highscore.txt"));
    const std::vector<sim::ScriptEvent> whole = autoplay::joinRun(scripts, lengths);
    autoplay::ReplayOutcome out = autoplay::replay(scratch.path, whole, whole.back().frame + 10);
    ASSERT_TRUE(out.started);
    EXPECT_TRUE(out.completed) << "the whole run does not reach the end screen after the last "
                                  "park\n"
                               << rerunAdvice(parks, parks);
    EXPECT_EQ(out.livesLost, 0) << rerunAdvice(parks, parks);
    EXPECT_EQ(out.parksCompleted, static_cast<int32_t>(parks.size()));
    EXPECT_EQ(out.score, total) << rerunAdvice(parks, parks);

    // With no high score file, the run's score is a new high score, and the file then holds
    // exactly its digits.
    std::string stored;
    park::Problem problem;
    ASSERT_TRUE(
        park::readTextFile((scratch.path / "highscore.txt").string().c_str(), stored, problem))
        << park::formatProblem(problem);
    EXPECT_EQ(stored, std::to_string(out.score));
}

} // namespace
