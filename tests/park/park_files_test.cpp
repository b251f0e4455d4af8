// The park list and park file formats, their refusals, and loading a park into the table.

#include "park/readers.h"
#include "tests/support/game_fixture.h"
#include "tests/support/park_text.h"

#include <filesystem>

#include <sys/stat.h>

using namespace testing_support;
using testing_support::GameTest;
using testing_support::writeFile;

namespace {

class ParkFilesTest : public GameTest {
  protected:
    // Parses the park file text; the result stays in `parsed`.
    bool parse(const std::string& text, park::Problem& problem) {
        return park::parseParkFile(text, "p.txt", parsed, problem);
    }
    bool parseList(const std::string& text, park::Problem& problem) {
        return park::parseParkList(text, "parks.txt", parsedList, problem);
    }
    // The refusal names the file and the line apart from what is wrong, which holds `what`.
    static void expectProblem(const park::Problem& problem, const char* file, int32_t line,
                              const std::string& what) {
        EXPECT_EQ(problem.file, file) << problem.what;
        EXPECT_EQ(problem.line, line) << problem.what;
        EXPECT_NE(problem.what.find(what), std::string::npos) << problem.what;
    }
    void expectRefusedPark(const std::string& text, int32_t line, const std::string& what) {
        park::Problem problem;
        EXPECT_FALSE(parse(text, problem)) << text;
        expectProblem(problem, "p.txt", line, what);
    }
    void expectRefusedList(const std::string& text, int32_t line, const std::string& what) {
        park::Problem problem;
        EXPECT_FALSE(parseList(text, problem)) << text;
        expectProblem(problem, "parks.txt", line, what);
    }

    park::ParkFile parsed;
    park::ParkListFile parsedList;
};

TEST_F(ParkFilesTest, ParkListLayoutDoesNotMatterAndExtraNamesAreIgnored) {
    park::Problem problem;
    ASSERT_TRUE(parseList("3 a.txt b.txt\tc.txt", problem)) << park::formatProblem(problem);
    park::ParkListFile oneLine = parsedList;
    ASSERT_TRUE(parseList("3\na.txt\nb.txt\nc.txt\n", problem)) << park::formatProblem(problem);
    EXPECT_EQ(parsedList.parkCount, 3);
    for (int i = 0; i < park::MaxParks; ++i) {
        EXPECT_STREQ(parsedList.list.names[i], oneLine.list.names[i]) << "slot " << i;
    }
    EXPECT_STREQ(parsedList.list.names[2], "c.txt");
    EXPECT_EQ(parsedList.nameLine[2], 4);

    // Names after the count-th, and anything else after them, are not read.
    ASSERT_TRUE(parseList("+2\nfirst.txt second.txt third.txt\n%%%\n", problem))
        << park::formatProblem(problem);
    EXPECT_EQ(parsedList.parkCount, 2);
    EXPECT_STREQ(parsedList.list.names[1], "second.txt");
    EXPECT_STREQ(parsedList.list.names[2], "");

    // The limits themselves are accepted: 26 names, and a name of 29 characters.
    std::string full = "26";
    for (int i = 0; i < 26; ++i) {
        full += " p" + std::to_string(i);
    }
    ASSERT_TRUE(parseList(full, problem)) << park::formatProblem(problem);
    EXPECT_STREQ(parsedList.list.names[25], "p25");
    ASSERT_TRUE(parseList("1 " + std::string(29, 'n'), problem)) << park::formatProblem(problem);
    EXPECT_EQ(std::string(parsedList.list.names[0]), std::string(29, 'n'));
}

TEST_F(ParkFilesTest, ParkListRefusalsNameTheFileTheLineAndTheProblem) {
    expectRefusedList("2\nok.txt\n" + std::string(30, 'x') + "\n", 3, "30 characters");
    std::string many = "27";
    for (int i = 0; i < 27; ++i) {
        many += "\np" + std::to_string(i);
    }
    expectRefusedList(many, 1, "27");
    expectRefusedList("0\n", 1, "at least 1");
    expectRefusedList("\n\n-3\na.txt\n", 3, "-3");
    expectRefusedList("3\na.txt\nb.txt", 3, "names only 2");
    expectRefusedList("two\na.txt\n", 1, "not a number");
    expectRefusedList("", 1, "the number of parks");
    expectRefusedList("99999999999 a.txt", 1, "out of range");
}

TEST_F(ParkFilesTest, ARecordMapsFileOrderToFieldsAndLineBreaksCarryNoMeaning) {
    park::Problem problem;
    ASSERT_TRUE(parse("1 500\n10 20 40 60 300 200 1\n", problem)) << park::formatProblem(problem);
    const park::Obstacle o = parsed.records[0];
    EXPECT_EQ(o.src, (Rect{20, 10, 60, 40}));
    EXPECT_EQ(o.src.width(), 40);
    EXPECT_EQ(o.src.height(), 30);
    EXPECT_EQ(o.startFrame, 300);
    EXPECT_EQ(o.y, 200);
    EXPECT_EQ(o.kind, 1);
    EXPECT_EQ(o.x, 640);
    EXPECT_EQ(parsed.obstacleCount, 1);
    EXPECT_EQ(parsed.parkLength, 500);

    // Split over lines, and followed by numbers that no count asks for.
    ASSERT_TRUE(parse("1\n500 10\n20\n\n40 60\t300 200\n1 7 7 7 7 7 7 7\n", problem))
        << park::formatProblem(problem);
    EXPECT_EQ(parsed.records[0].src, o.src);
    EXPECT_EQ(parsed.records[0].startFrame, o.startFrame);
    EXPECT_EQ(parsed.records[0].y, o.y);
    EXPECT_EQ(parsed.records[0].kind, o.kind);
    EXPECT_EQ(parsed.obstacleCount, 1);
    EXPECT_EQ(parsed.recordLine[0], 2);

    // The extremes of a 32-bit number are numbers.
    ASSERT_TRUE(parse("1 2147483647 10 20 40 60 -2147483648 200 -7\n", problem))
        << park::formatProblem(problem);
    EXPECT_EQ(parsed.parkLength, 2147483647);
    EXPECT_EQ(parsed.records[0].startFrame, -2147483648);
    EXPECT_EQ(parsed.records[0].kind, -7);
}

TEST_F(ParkFilesTest, ParkFileRefusalsNameTheFileTheLineAndTheProblem) {
    const std::string rec = record(GreyBlock, 10, 100, ObstacleKind::Block);
    std::string full = "200 1000\n";
    for (int i = 0; i < 200; ++i) {
        full += rec;
    }
    park::Problem problem;
    EXPECT_TRUE(parse(full, problem)) << park::formatProblem(problem);
    EXPECT_EQ(parsed.obstacleCount, 200);

    expectRefusedPark("201 1000\n" + rec, 1, "201");
    expectRefusedPark("-1 1000\n", 1, "-1");
    expectRefusedPark("3 1000\n" + rec + rec, 3, "obstacle 3 of the 3");
    expectRefusedPark("1 1000\n123 267 159 331 fifty 396 1\n", 2,
                      "the start frame of obstacle 1 'fifty' is not a number");
    expectRefusedPark("1 1000\n123 267\n159 331 50 396 1x\n", 3, "'1x' is not a number");
    expectRefusedPark("1 1000\n123 267 159 331 2147483648 396 1\n", 2, "out of range");
    expectRefusedPark("1 1000\n123 267 159 331 -2147483649 396 1\n", 2, "out of range");
    expectRefusedPark("1", 1, "the park length");
}

TEST_F(ParkFilesTest, OddPicturesAreAcceptedAndOnlyFarOffValuesRefused) {
    park::Problem problem;
    // Partly or wholly off the screen, outside the sheet, or empty: accepted, as the old reading
    // did (such a picture draws nothing; the park checker warns of it).
    EXPECT_TRUE(
        parse("1 100\n" + record(Rect{371, 1, 411, 41}, 0, 450, ObstacleKind::Block), problem))
        << park::formatProblem(problem);
    EXPECT_TRUE(parse("1 100\n" + record(GreyBlock, 0, -35, ObstacleKind::Block), problem))
        << park::formatProblem(problem);
    EXPECT_TRUE(parse("1 100\n" + record(GreyBlock, 0, 480, ObstacleKind::Block), problem))
        << park::formatProblem(problem);
    EXPECT_TRUE(
        parse("1 100\n" + record(Rect{500, 0, 507, 10}, 0, 100, ObstacleKind::Block), problem))
        << park::formatProblem(problem);
    EXPECT_TRUE(
        parse("1 100\n" + record(Rect{20, 0, 10, 10}, 0, 100, ObstacleKind::Block), problem))
        << park::formatProblem(problem);
    EXPECT_TRUE(parse(
        "1 100\n" + record(Rect{-10000, 0, 10000, 10}, 0, -10000, ObstacleKind::Block), problem))
        << park::formatProblem(problem);

    // Beyond 10000 pixels the sums of the game's boxes could leave 32 bits: refused.
    expectRefusedPark(
        "1 100\n" + record(Rect{-2147483647 - 1, 0, 2147483647, 10}, 0, 100, ObstacleKind::Block),
        2, "beyond 10000");
    expectRefusedPark("2 100\n" + record(GreyBlock, 0, 100, ObstacleKind::Block) +
                          record(Rect{0, 0, 10001, 10}, 0, 100, ObstacleKind::Block),
                      3, "obstacle 2");
    expectRefusedPark("1 100\n" + record(GreyBlock, 0, 2147483647, ObstacleKind::Block), 2,
                      "beyond 10000");
    expectRefusedPark("1 100\n" + record(GreyBlock, 0, -10001, ObstacleKind::Block), 2,
                      "beyond 10000");
}

TEST_F(ParkFilesTest, ReadParkListFillsTheListOrRefusesAndChangesNothing) {
    writeFile("a.txt", "0 100\n");
    writeFile("b.txt", "1 50\n" + record(GreyBlock, 0, 100, ObstacleKind::Block));
    writeFile("parks.txt", "2\na.txt b.txt\n");
    park::Problem problem;
    int32_t parkNumber = -1;
    ASSERT_TRUE(park::readParkList(problem, parkNumber)) << park::formatProblem(problem);
    EXPECT_EQ(run.parkCount, 2);
    EXPECT_STREQ(park::parkList.names[0], "a.txt");
    EXPECT_STREQ(park::parkList.names[1], "b.txt");
    EXPECT_STREQ(park::parkList.names[2], "");

    auto expectUnchanged = [&](const std::string& why) {
        EXPECT_EQ(run.parkCount, 2) << why;
        EXPECT_STREQ(park::parkList.names[0], "a.txt") << why;
        EXPECT_STREQ(park::parkList.names[1], "b.txt") << why;
        EXPECT_STREQ(park::parkList.names[2], "") << why;
    };

    writeFile("parks.txt", "3 c.txt d.txt missing.txt\n");
    writeFile("c.txt", "0 10\n");
    writeFile("d.txt", "0 10\n");
    EXPECT_FALSE(park::readParkList(problem, parkNumber));
    expectProblem(problem, "missing.txt", 0, "cannot be read");
    EXPECT_EQ(parkNumber, 3) << "the third park of the list";
    expectUnchanged("a park file is missing");
    // Start-up prints it as one line: where, what, and the park's place in the list.
    testing::internal::CaptureStderr();
    EXPECT_EQ(startUp(), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "zanbury: missing.txt: cannot be read: No such file or directory (park 3 of "
              "parks.txt)\n");

    writeFile("parks.txt", "2 c.txt broken.txt\n");
    writeFile("broken.txt", "2 100\n" + record(GreyBlock, 0, 100, ObstacleKind::Block) + "1 2 3\n");
    EXPECT_FALSE(park::readParkList(problem, parkNumber));
    expectProblem(problem, "broken.txt", 3, "obstacle 2");
    EXPECT_EQ(parkNumber, 2);
    expectUnchanged("a park file is broken");

    writeFile("parks.txt", "0\n");
    EXPECT_FALSE(park::readParkList(problem, parkNumber));
    EXPECT_EQ(parkNumber, 0) << "the list itself is at fault";
    expectUnchanged("the list is refused");

    std::filesystem::remove("parks.txt");
    EXPECT_FALSE(park::readParkList(problem, parkNumber));
    expectProblem(problem, "parks.txt", 0, "cannot be read");
    expectUnchanged("parks.txt is missing");

    // A name of a pipe or of a device is refused at once: neither waited on nor read for ever.
    ASSERT_EQ(mkfifo("pipe.txt", 0600), 0);
    for (const char* odd : {"pipe.txt", "."}) {
        writeFile("parks.txt", std::string("2 c.txt ") + odd + "\n");
        EXPECT_FALSE(park::readParkList(problem, parkNumber)) << odd;
        expectProblem(problem, odd, 0, "not a regular file");
        expectUnchanged(odd);
    }
    writeFile("big.txt", std::string(park::MaxTextFileBytes + 1, ' '));
    writeFile("parks.txt", "1 big.txt\n");
    EXPECT_FALSE(park::readParkList(problem, parkNumber));
    expectProblem(problem, "big.txt", 0, "larger than 16 MiB");
    expectUnchanged("a park file is far too large");
}

TEST_F(ParkFilesTest, WhatTheFormatAllowsLoadsAndEveryMessageIsPrintable) {
    park::Problem problem;
    // A park length of 0 or less is a park that ends in its first frame.
    for (int32_t length : {0, -5, 1}) {
        startPark(parkText(length, {record(GreyBlock, 0, 100, ObstacleKind::Block)}));
        EXPECT_EQ(run.parkLength, length);
        frame();
        EXPECT_EQ(gameState, GameState::GameOver) << "length " << length;
        EXPECT_EQ(run.parkIndex, 1) << "length " << length;
    }

    // A byte-order mark at the start is skipped in every file.
    const std::string mark = "\xef\xbb\xbf";
    ASSERT_TRUE(parseList(mark + "1\na.txt\n", problem)) << park::formatProblem(problem);
    EXPECT_STREQ(parsedList.list.names[0], "a.txt");
    ASSERT_TRUE(parse(mark + "0 10\n", problem)) << park::formatProblem(problem);
    int32_t score = 0;
    ASSERT_TRUE(park::parseHighScore(mark + "42", score));
    EXPECT_EQ(score, 42);
    // Elsewhere it is a word like any other, and the message shows its bytes.
    EXPECT_FALSE(parse("0 " + mark + "10\n", problem));
    EXPECT_NE(park::formatProblem(problem).find("'\\xef\\xbb\\xbf10'"), std::string::npos)
        << park::formatProblem(problem);

    // A NUL byte no longer cuts a message short; every other unprintable byte is escaped too.
    EXPECT_FALSE(parseList(std::string("1\0\na.txt\n", 8), problem));
    EXPECT_EQ(park::formatProblem(problem),
              "parks.txt:1: the number of parks '1\\x00' is not a number");
    EXPECT_FALSE(parse("1 1\n0 0 0 0 0 0 \x1b[2J\n", problem));
    EXPECT_NE(park::formatProblem(problem).find("'\\x1b[2J'"), std::string::npos);

    // A token or a name of a megabyte is quoted as a short, marked excerpt.
    const std::string huge(1 << 20, 'x');
    EXPECT_FALSE(parse(huge + " 10\n", problem));
    EXPECT_EQ(park::formatProblem(problem), "p.txt:1: the obstacle count '" +
                                                std::string(park::MaxExcerpt, 'x') +
                                                "...' is not a number");
    EXPECT_FALSE(parseList("1 " + huge, problem));
    EXPECT_LT(park::formatProblem(problem).size(), 200u);

    // Park names are paths relative to the list's directory; the others are refused, unread.
    expectRefusedList("1\n/etc/passwd\n", 2, "'/etc/passwd' is an absolute path");
    expectRefusedList("2 a.txt ../up.txt\n", 1, "'../up.txt' leads out of the park directory");
    expectRefusedList("1 sub/../../up.txt\n", 1, "leads out");
    expectRefusedList("1 sub/..\n", 1, "leads out");
    for (const char* inside : {"sub/park.txt", "a..b.txt", "..park.txt", "./p.txt"}) {
        EXPECT_TRUE(parseList(std::string("1 ") + inside, problem)) << inside;
    }
    writeFile("parks.txt", "1 /etc/passwd\n");
    testing::internal::CaptureStderr();
    EXPECT_EQ(startUp(), 1);
    const std::string message = testing::internal::GetCapturedStderr();
    EXPECT_NE(message.find("parks.txt:1: the park name '/etc/passwd' is an absolute path"),
              std::string::npos)
        << message;
    EXPECT_EQ(message.find("root"), std::string::npos) << "the file was read: " << message;
    // The same words for a message box, which the headless platform only records.
    EXPECT_EQ("zanbury: " +
                  headless::takeErrorBox().substr(std::string("Zanbury cannot start:\n").size()) +
                  "\n",
              message);
}

TEST_F(ParkFilesTest, LoadParkFillsTheTableAndOpensTheWindow) {
    struct Case {
        int count;
        int lastActive;
    };
    for (Case c : {Case{0, -1}, Case{1, 0}, Case{21, 20}, Case{25, 20}}) {
        std::vector<std::string> records;
        for (int i = 0; i < c.count; ++i) {
            records.push_back(record(GreyBlock, i * 10, 100, ObstacleKind::Block));
        }
        usePark(parkText(700, records));
        run.firstActive = 5;
        run.lastActive = 9;
        park::loadPark();
        EXPECT_EQ(run.obstacleCount, c.count);
        EXPECT_EQ(run.parkLength, 700);
        EXPECT_EQ(run.firstActive, 0);
        EXPECT_EQ(run.lastActive, c.lastActive) << "count " << c.count;
        EXPECT_EQ(gameState, GameState::Title) << "a good park changes no state";
    }
    EXPECT_EQ(park::obstacleTable.records[24].startFrame, 240);
    EXPECT_EQ(park::obstacleTable.records[24].src, GreyBlock);
}

TEST_F(ParkFilesTest, LoadingTwiceGivesTheSameTableAndTouchesNothingElse) {
    usePark(parkText(900, {record(GreyBlock, 5, 100, ObstacleKind::Block),
                           record(Ramp, 40, 399, ObstacleKind::Ramp),
                           record(Hydrant, 80, 396, ObstacleKind::Hazard)}));
    park::Obstacle beyond;
    beyond.src = TallBlock;
    beyond.x = -17;
    beyond.y = 3;
    beyond.startFrame = 11;
    beyond.kind = 9;
    park::obstacleTable.records[3] = beyond;
    run.parkFrame = 77;
    run.parkIndex = 0;
    run.score = 12;
    run.lives = 2;

    park::loadPark();
    park::ObstacleTable first = park::obstacleTable;
    // Play the obstacles forward, then load again as a fall would.
    for (auto& o : park::obstacleTable.records) {
        o.x -= 100;
    }
    run.firstActive = 2;
    park::loadPark();

    for (int i = 0; i < 3; ++i) {
        const park::Obstacle& a = first.records[i];
        const park::Obstacle& b = park::obstacleTable.records[i];
        EXPECT_EQ(b.src, a.src) << i;
        EXPECT_EQ(b.y, a.y) << i;
        EXPECT_EQ(b.startFrame, a.startFrame) << i;
        EXPECT_EQ(b.kind, a.kind) << i;
        EXPECT_EQ(b.x, 640) << i;
    }
    EXPECT_EQ(park::obstacleTable.records[1].src, Ramp);
    EXPECT_EQ(park::obstacleTable.records[2].y, 396);
    EXPECT_EQ(run.firstActive, 0);
    EXPECT_EQ(run.lastActive, 2);
    // Records above the count keep what they held.
    EXPECT_EQ(park::obstacleTable.records[3].x, -117);
    EXPECT_EQ(park::obstacleTable.records[3].src, TallBlock);
    EXPECT_EQ(park::obstacleTable.records[3].kind, 9);
    // The load itself leaves the run's other values alone.
    EXPECT_EQ(run.parkFrame, 77);
    EXPECT_EQ(run.parkIndex, 0);
    EXPECT_EQ(run.score, 12);
    EXPECT_EQ(run.lives, 2);
}

TEST_F(ParkFilesTest, StartFramesNearTheEndOfTheRangeAreHandledWithoutOverflow) {
    startPark(parkText(2147483647, {record(GreyBlock, 2147483647, 100, ObstacleKind::Block),
                                    record(GreyBlock, 2147483600, 100, ObstacleKind::Block)}));
    run.parkFrame = 2147483600;
    for (int i = 0; i < 3; ++i) {
        frame();
    }
    EXPECT_EQ(run.parkFrame, 2147483603);
    EXPECT_EQ(park::obstacleTable.records[0].x, 640);
    EXPECT_EQ(park::obstacleTable.records[1].x, 628);
    EXPECT_FALSE(park::isActive(park::obstacleTable.records[0], 2147483647));
    EXPECT_TRUE(park::isActive(park::obstacleTable.records[1], 2147483647));
    park::Obstacle early;
    early.src = GreyBlock;
    early.startFrame = -2147483647 - 1;
    EXPECT_FALSE(park::isActive(early, 1));
}

} // namespace
