// The park checker: the readers' refusals as errors with file and line, each warning about
// what the game accepts but an author did not mean, and the shipped parks, which must be clean.

#include "display/atlas.h"
#include "tools/common/common.h"
#include "tools/parkcheck/parkcheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <set>

namespace {

using park::ObstacleKind;
using parkcheck::Finding;
using parkcheck::Severity;

constexpr Rect TallBlock = atlas::ObstaclePictures[0].cell;  // 64 x 112
constexpr Rect GreyBlock = atlas::ObstaclePictures[2].cell;  // 64 x 36
constexpr Rect SmallBlock = atlas::ObstaclePictures[3].cell; // 30 x 28
constexpr Rect Hydrant = atlas::ObstaclePictures[5].cell;    // 25 x 36
constexpr Rect Rail = atlas::ObstaclePictures[10].cell;      // 200 x 48

// A park built record by record, each on its own line after the two header lines.
struct ParkBuilder {
    std::unique_ptr<park::ParkFile> park = std::make_unique<park::ParkFile>();

    explicit ParkBuilder(int32_t length) { park->parkLength = length; }

    ParkBuilder& add(const Rect& src, int32_t startFrame, ObstacleKind kind = ObstacleKind::Block,
                     int32_t y = -1) {
        park::Obstacle& o = park->records[park->obstacleCount];
        o.src = src;
        o.startFrame = startFrame;
        o.y = y >= 0 ? y : 432 - src.height();
        o.kind = static_cast<int32_t>(kind);
        o.x = 640;
        park->recordLine[park->obstacleCount] = park->obstacleCount + 3;
        park->obstacleCount += 1;
        return *this;
    }

    std::vector<Finding> check() const { return parkcheck::checkPark(*park, "p.txt"); }
};

// The messages of the findings, each prefixed with its line, for readable failures.
std::vector<std::string> lines(const std::vector<Finding>& findings) {
    std::vector<std::string> out;
    for (const Finding& f : findings) {
        out.push_back(std::to_string(f.line) + ": " + f.message);
    }
    return out;
}

// Exactly one warning, on `line`, whose message holds `what`.
void expectOneWarning(const std::vector<Finding>& findings, int32_t line, const std::string& what) {
    ASSERT_EQ(findings.size(), 1u) << testing::PrintToString(lines(findings));
    EXPECT_EQ(findings[0].severity, Severity::Warning);
    EXPECT_EQ(findings[0].file, "p.txt");
    EXPECT_EQ(findings[0].line, line);
    EXPECT_NE(findings[0].message.find(what), std::string::npos) << findings[0].message;
}

TEST(ParkCheck, RetirementFrameFollowsTheObstacleTimeline) {
    park::Obstacle o;
    o.src = Rect{0, 0, 40, 10};
    o.startFrame = 100;
    EXPECT_EQ(parkcheck::retirementFrame(o), 271); // x first below -40 in its 171st frame

    o.src = GreyBlock;
    o.startFrame = 0;
    EXPECT_EQ(parkcheck::retirementFrame(o), 177);

    // A start before the park's first frame still enters at frame 1, but its active span
    // ends at -100 + 64 + 160 = 124, in mid-screen.
    o.startFrame = -100;
    EXPECT_EQ(parkcheck::retirementFrame(o), std::nullopt);

    // Width 2 just crosses within its span; width 1 never does.
    o.startFrame = 10;
    o.src = Rect{0, 0, 2, 10};
    EXPECT_EQ(parkcheck::retirementFrame(o), 171);
    o.src = Rect{0, 0, 1, 10};
    EXPECT_EQ(parkcheck::retirementFrame(o), std::nullopt);
}

TEST(ParkCheck, AParkOfObstaclePicturesInLeavingOrderIsClean) {
    ParkBuilder b(2000);
    int32_t start = 0;
    for (const atlas::ObstaclePicture& p : atlas::ObstaclePictures) {
        b.add(p.cell, start, ObstacleKind::Block);
        start += 100;
    }
    // A trimmed cell, as the atlas trims its own pictures.
    b.add(Rect{GreyBlock.left, GreyBlock.top, GreyBlock.right - 1, GreyBlock.bottom - 1}, start,
          ObstacleKind::Block)
        .add(Hydrant, 1999, ObstacleKind::Hazard); // the last frame that shows it
    EXPECT_TRUE(b.check().empty()) << testing::PrintToString(lines(b.check()));
}

TEST(ParkCheck, WarnsAboutPicturesThatAreNotObstaclePictures) {
    expectOneWarning(ParkBuilder(600).add(Rect{480, 0, 520, 30}, 10).check(), 3,
                     "does not lie within the 506 x 427 sprite sheet");
    expectOneWarning(ParkBuilder(600).add(Rect{-1, 0, 20, 30}, 10).check(), 3,
                     "does not lie within");
    expectOneWarning(ParkBuilder(600).add(Rect{300, 400, 320, 430}, 10).check(), 3,
                     "does not lie within");
    expectOneWarning(ParkBuilder(600).add(Rect{300, 100, 300, 130}, 10).check(), 3, "is empty");
    // Part of the rail, and a skater picture.
    expectOneWarning(ParkBuilder(600).add(Rect{282, 238, 382, 286}, 10).check(), 3,
                     "shows only part of the rail picture");
    expectOneWarning(ParkBuilder(600).add(atlas::BodyStand, 10).check(), 3,
                     "none of the sprite sheet's obstacle pictures");
    // Two columns short is no longer the trimmed picture.
    expectOneWarning(
        ParkBuilder(600).add(Rect{Rail.left, Rail.top, Rail.right - 2, Rail.bottom}, 10).check(), 3,
        "shows only part");
}

TEST(ParkCheck, WarnsAboutKindsRowsAndLateStarts) {
    for (int32_t kind : {0, 5, -1}) {
        ParkBuilder b(600);
        b.add(GreyBlock, 10);
        b.park->records[0].kind = kind;
        expectOneWarning(b.check(), 3,
                         "the kind " + std::to_string(kind) +
                             " is not 1 (block), 2 (ramp), 3 (rail) or 4 (hazard)");
    }
    // Rows 450 to 485, and rows -1 to 34; rows 444 to 479 are still on the screen.
    expectOneWarning(ParkBuilder(600).add(GreyBlock, 10, ObstacleKind::Block, 450).check(), 3,
                     "below row 479");
    expectOneWarning(ParkBuilder(600).add(Hydrant, 10, ObstacleKind::Hazard, 444).check(), 3,
                     "it sinks 48 rows into the ground");
    {
        ParkBuilder b(600);
        b.add(GreyBlock, 10, ObstacleKind::Block);
        b.park->records[0].y = -1;
        expectOneWarning(b.check(), 3, "above row 0");
    }
    // The park ends in frame 600: a start frame of 600 is never active in it.
    expectOneWarning(ParkBuilder(600).add(GreyBlock, 600).check(), 3,
                     "it starts at frame 600, but the park ends at frame 600");
    EXPECT_TRUE(ParkBuilder(600).add(GreyBlock, 599).check().empty());
}

TEST(ParkCheck, WarnsOfAnObstacleThatHangsInTheAirOrSinksIntoTheGround) {
    // A hydrant raised 48 rows meets the standing skater (rows 351 to 434), one raised 96 rows
    // a jump (up to row 271), and so does one whose last row is 271; a small block sunk 16 rows; a
    // hydrant 16 frames after a grey block is 64 pixels to its right, just off its top; one 15
    // frames after is over it, but 10 rows above it.
    ParkBuilder b(1000);
    b.add(Hydrant, 100, ObstacleKind::Hazard, 396 - 48)
        .add(Hydrant, 150, ObstacleKind::Hazard, 396 - 96)
        .add(Hydrant, 200, ObstacleKind::Hazard, 236)
        .add(SmallBlock, 300, ObstacleKind::Block, 404 + 16)
        .add(GreyBlock, 400)
        .add(Hydrant, 416, ObstacleKind::Hazard, 396 - 36)
        .add(GreyBlock, 500)
        .add(Hydrant, 515, ObstacleKind::Hazard, 396 - 36 - 10);
    const std::vector<Finding> findings = b.check();
    ASSERT_EQ(findings.size(), 6u) << testing::PrintToString(lines(findings));
    EXPECT_EQ(lines(findings)[0], "3: obstacle 1: it hangs 48 rows above the ground line on no "
                                  "other obstacle, low enough to meet the skater there standing "
                                  "or jumping (rows 271 to 434); y 396 stands it on the ground");
    EXPECT_EQ(findings[1].line, 4);
    EXPECT_EQ(findings[2].line, 5);
    EXPECT_EQ(lines(findings)[3], "6: obstacle 4: it sinks 16 rows into the ground (its picture "
                                  "ends at row 447, the ground line is row 432); y 404 stands it "
                                  "on the ground");
    EXPECT_EQ(findings[4].line, 8);
    EXPECT_EQ(findings[5].line, 10);

    // Clean: on the ground; a grey block on the tall block entering with it, and a hydrant on
    // a grey block 15 frames after it, 60 pixels to its right; a hydrant ending on row 270,
    // which the skater passes under even at the top of a jump.
    ParkBuilder clean(1000);
    clean.add(SmallBlock, 100)
        .add(TallBlock, 200)
        .add(GreyBlock, 200, ObstacleKind::Block, 432 - 112 - 36)
        .add(GreyBlock, 400)
        .add(Hydrant, 415, ObstacleKind::Hazard, 396 - 36)
        .add(Hydrant, 700, ObstacleKind::Hazard, 235);
    EXPECT_TRUE(clean.check().empty()) << testing::PrintToString(lines(clean.check()));
}

TEST(ParkCheck, WarnsAboutAnObstacleThatVanishesInMidScreen) {
    // Entering in frame 1 with its span ending after frame 23, it stops at x 640 - 23 * 4.
    ParkBuilder b(600);
    b.add(GreyBlock, -200);
    expectOneWarning(b.check(), 3, "vanishes before it has crossed the screen");
    EXPECT_NE(b.check()[0].message.find("up to frame 23, when it stands at x 548"),
              std::string::npos)
        << b.check()[0].message;
    // Its span ends only after the park: nothing is seen of the problem.
    EXPECT_TRUE(ParkBuilder(20).add(GreyBlock, -200).check().empty());
}

TEST(ParkCheck, WarnsWhenObstaclesDoNotLeaveInListOrder) {
    // The rail (retiring in frame 100 + 211) listed before a hydrant that enters 10 frames
    // later but leaves first (110 + 167).
    ParkBuilder b(1000);
    b.add(GreyBlock, 0)
        .add(Rail, 100, ObstacleKind::Rail)
        .add(Hydrant, 110, ObstacleKind::Hazard)
        .add(GreyBlock, 400);
    expectOneWarning(b.check(), 4, "obstacle 3 (line 5), in frame 277");
    EXPECT_NE(b.check()[0].message.find("leaves the screen in frame 311"), std::string::npos);

    // Leaving in the same frame is in order: the lower index retires first in the walk.
    ParkBuilder same(1000);
    same.add(Rail, 100, ObstacleKind::Rail).add(Hydrant, 100 + 211 - 167, ObstacleKind::Hazard);
    EXPECT_TRUE(same.check().empty()) << testing::PrintToString(lines(same.check()));

    // A later obstacle that leaves first only after the park has ended changes nothing.
    ParkBuilder late(250);
    late.add(Rail, 100, ObstacleKind::Rail).add(Hydrant, 110, ObstacleKind::Hazard);
    EXPECT_TRUE(late.check().empty()) << testing::PrintToString(lines(late.check()));

    // Listed in the order they leave, the same obstacles are clean.
    ParkBuilder fixed(1000);
    fixed.add(GreyBlock, 0)
        .add(Hydrant, 110, ObstacleKind::Hazard)
        .add(Rail, 100, ObstacleKind::Rail)
        .add(GreyBlock, 400);
    EXPECT_TRUE(fixed.check().empty()) << testing::PrintToString(lines(fixed.check()));
}

TEST(ParkCheck, WarnsWhenTheWindowIsFullWhenAnObstacleIsDue) {
    // 22 small blocks all due at frame 1: index 21 finds the 21 places taken.
    ParkBuilder full(1000);
    for (int i = 0; i < 22; ++i) {
        full.add(GreyBlock, 0);
    }
    expectOneWarning(full.check(), 24, "obstacles 1 to 21: it waits");

    // With 21 there is room for all.
    ParkBuilder room(1000);
    for (int i = 0; i < 21; ++i) {
        room.add(GreyBlock, 0);
    }
    EXPECT_TRUE(room.check().empty());

    // Index 21 due in the very frame in which index 0 retires is considered in that same
    // step, after the retirement: it enters on time. One frame earlier it waits.
    for (int32_t due : {177, 176}) {
        ParkBuilder edge(1000);
        edge.add(GreyBlock, 0);
        for (int i = 1; i < 21; ++i) {
            edge.add(GreyBlock, 10);
        }
        edge.add(GreyBlock, due - 1);
        std::vector<Finding> findings = edge.check();
        if (due == 177) {
            EXPECT_TRUE(findings.empty()) << testing::PrintToString(lines(findings));
        } else {
            expectOneWarning(findings, 24, "it is due in frame 176");
        }
    }
}

class ParkCheckDirectory : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(scratch.error, ""); }

    void write(const std::string& name, const std::string& text) {
        std::string error;
        ASSERT_TRUE(tools::writeTextFile(path(name), text, error)) << error;
    }
    std::string path(const std::string& name) const { return (scratch.path / name).string(); }
    std::vector<Finding> check() const { return parkcheck::checkDirectory(scratch.path.string()); }

    tools::ScratchDir scratch{"parkcheck-test"};
};

TEST_F(ParkCheckDirectory, ReportsEveryRefusalWithFileAndLine) {
    std::vector<Finding> findings = check();
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].severity, Severity::Error);
    EXPECT_EQ(findings[0].file, path("parks.txt"));
    EXPECT_EQ(findings[0].line, 0);
    EXPECT_EQ(parkcheck::formatFinding(findings[0]).rfind(path("parks.txt") + ": error: cannot", 0),
              0u)
        << parkcheck::formatFinding(findings[0]);
    EXPECT_EQ(parkcheck::exitStatus(findings), 2);

    write("parks.txt", "\n\n27\n");
    findings = check();
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].line, 3);
    EXPECT_NE(findings[0].message.find("more than the 26"), std::string::npos);

    // A good park, a missing one, one refused on its fourth line, and one with a warning:
    // all four are checked, in list order.
    write("parks.txt", "4\ngood.txt\nmissing.txt\nbad.txt\nwarned.txt\n");
    write("good.txt", "1 600\n123 267 159 331 10 396 1\n");
    write("bad.txt", "2 600\n123 267 159 331 10 396 1\n\n123 267 159 331 ten 396 1\n");
    write("warned.txt", "1 600\n123 267 159 331 10 396 7\n");
    findings = check();
    ASSERT_EQ(findings.size(), 3u) << testing::PrintToString(lines(findings));
    EXPECT_EQ(findings[0].file, path("parks.txt"));
    EXPECT_EQ(findings[0].line, 3);
    EXPECT_EQ(findings[0].severity, Severity::Error);
    EXPECT_NE(findings[0].message.find("the park file 'missing.txt' cannot be read"),
              std::string::npos)
        << findings[0].message;
    EXPECT_EQ(parkcheck::formatFinding(findings[1]),
              path("bad.txt") + ":4: error: the start frame of obstacle 2 'ten' is not a number");
    EXPECT_EQ(findings[2].file, path("warned.txt"));
    EXPECT_EQ(findings[2].line, 2);
    EXPECT_EQ(findings[2].severity, Severity::Warning);
    EXPECT_EQ(parkcheck::exitStatus(findings), 2);

    write("parks.txt", "2 good.txt warned.txt");
    findings = check();
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(parkcheck::formatFinding(findings[0]).rfind(path("warned.txt") + ":2: warning: ", 0),
              0u);
    EXPECT_EQ(parkcheck::exitStatus(findings), 1);

    write("parks.txt", "1 good.txt");
    EXPECT_TRUE(check().empty());
    EXPECT_EQ(parkcheck::exitStatus(check()), 0);
}

TEST_F(ParkCheckDirectory, WarnsOfWhatTheGameDoesNotReadAndPointsAtAShortRecord) {
    const std::string rec = "123 267 159 331 10 396 1\n";
    write("parks.txt", "1\ngood.txt\nsixth.txt\n");
    write("good.txt", "1 0\n123 267 159 331 -5 396 1\n123 267 159 331 -2147483648 396 1\n");
    std::vector<Finding> findings = check();
    ASSERT_EQ(findings.size(), 3u) << testing::PrintToString(lines(findings));
    EXPECT_EQ(parkcheck::formatFinding(findings[0]),
              path("parks.txt") + ":3: warning: the list goes on after the 1 park its count "
                                  "promises; the game does not play these: raise the count to add "
                                  "parks");
    EXPECT_EQ(parkcheck::formatFinding(findings[1]),
              path("good.txt") + ":1: warning: the park length is 0: the park ends in its first "
                                 "frame");
    EXPECT_EQ(findings[2].line, 3);
    EXPECT_NE(findings[2].message.find("goes on after the 1 obstacle its count promises"),
              std::string::npos)
        << findings[2].message;
    EXPECT_EQ(parkcheck::exitStatus(findings), 1);

    // A start frame at the bottom of the range: the obstacle never appears.
    write("parks.txt", "1 good.txt");
    write("good.txt", "1 100\n123 267 159 331 -2147483648 396 1\n");
    findings = check();
    ASSERT_EQ(findings.size(), 1u) << testing::PrintToString(lines(findings));
    EXPECT_NE(findings[0].message.find("it never appears"), std::string::npos)
        << findings[0].message;

    // A number missing on line 3 of 5 is pointed at, besides the early end.
    write("good.txt", "3 100\n" + rec + "123 267 159 331 396 1\n" + rec + "\n");
    findings = check();
    ASSERT_EQ(findings.size(), 2u) << testing::PrintToString(lines(findings));
    EXPECT_EQ(findings[0].line, 4);
    EXPECT_EQ(parkcheck::formatFinding(findings[1]),
              path("good.txt") + ":3: error: this line holds 6 numbers, fewer than the 7 of a "
                                 "record: is one missing here?");

    // A NUL byte in a message is shown, not an end of it.
    write("good.txt", std::string("1 1\0 0\n", 7) + rec);
    findings = check();
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_NE(parkcheck::formatFinding(findings[0]).find("'1\\x00' is not a number"),
              std::string::npos)
        << parkcheck::formatFinding(findings[0]);
}

TEST(ParkCheckShippedData, TheShippedParksAreCleanAndUseEveryPictureAndKind) {
    const std::string dir = ZANBURY_DATA_DIR;
    std::vector<Finding> findings = parkcheck::checkDirectory(dir);
    for (const Finding& f : findings) {
        ADD_FAILURE() << parkcheck::formatFinding(f);
    }

    std::string text;
    park::Problem problem;
    auto list = std::make_unique<park::ParkListFile>();
    ASSERT_TRUE(park::readTextFile((dir + "/parks.txt").c_str(), text, problem) &&
                park::parseParkList(text, "parks.txt", *list, problem))
        << park::formatProblem(problem);
    EXPECT_GE(list->parkCount, 5);

    std::set<int32_t> kinds;
    std::set<std::string> pictures;
    auto parkFile = std::make_unique<park::ParkFile>();
    for (int32_t i = 0; i < list->parkCount; ++i) {
        const std::string name = list->list.names[i];
        ASSERT_TRUE(park::readTextFile((dir + "/" + name).c_str(), text, problem) &&
                    park::parseParkFile(text, name.c_str(), *parkFile, problem))
            << park::formatProblem(problem);
        // 60 to 120 seconds of 34 ms frames.
        EXPECT_GE(parkFile->parkLength, 1765) << name;
        EXPECT_LE(parkFile->parkLength, 3529) << name;
        for (int32_t k = 0; k < parkFile->obstacleCount; ++k) {
            const park::Obstacle& o = parkFile->records[k];
            kinds.insert(o.kind);
            // Every obstacle stands on the ground line.
            EXPECT_EQ(o.y + o.src.height(), 432) << name << " obstacle " << k + 1;
            for (const atlas::ObstaclePicture& p : atlas::ObstaclePictures) {
                if (p.cell == o.src) {
                    pictures.insert(std::to_string(p.cell.left) + "," + std::to_string(p.cell.top));
                }
            }
        }
    }
    std::set<int32_t> everyKind;
    for (ObstacleKind kind : park::ObstacleKinds) {
        everyKind.insert(static_cast<int32_t>(kind));
    }
    EXPECT_EQ(kinds, everyKind);
    EXPECT_EQ(pictures.size(), std::size(atlas::ObstaclePictures));
}

// The catalogue of obstacle pictures in the README and the checker's manual page is the one that
// zanbury-parkcheck --pictures prints from the atlas, so that neither drifts from the sheet.
TEST(ParkCheckPictures, TheReadmeAndTheManualPageHoldTheCatalogueOfTheAtlas) {
    const std::string catalogue = parkcheck::pictureCatalogue();
    EXPECT_EQ(std::count(catalogue.begin(), catalogue.end(), '\n'),
              1 + static_cast<std::ptrdiff_t>(std::size(atlas::ObstaclePictures)));
    EXPECT_NE(catalogue.find("\n 6  fire hydrant            152  364    188   389   25 x 36       "
                             "396\n"),
              std::string::npos)
        << catalogue;

    std::string indented;
    for (std::size_t start = 0; start < catalogue.size();) {
        const std::size_t end = catalogue.find('\n', start) + 1;
        indented += "    " + catalogue.substr(start, end - start);
        start = end;
    }
    std::string text;
    park::Problem problem;
    ASSERT_TRUE(park::readTextFile(ZANBURY_SOURCE_DIR "/README.md", text, problem)) << problem.what;
    EXPECT_NE(text.find("\n\n" + indented + "\n"), std::string::npos)
        << "README.md does not hold the catalogue of zanbury-parkcheck --pictures:\n"
        << indented;
    ASSERT_TRUE(park::readTextFile(ZANBURY_SOURCE_DIR "/man/zanbury-parkcheck.1.in", text, problem))
        << problem.what;
    EXPECT_NE(text.find("\n.EX\n" + catalogue + ".EE\n"), std::string::npos)
        << "the manual page does not hold the catalogue of zanbury-parkcheck --pictures:\n"
        << catalogue;
}

} // namespace
