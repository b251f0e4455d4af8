// The recording format: what the recorder writes reads back the same; a recording cut short
// reads up to its cut; an edited, broken or foreign one is refused at the line at fault.

#include "app/recording.h"

#include <gtest/gtest.h>

namespace {

const std::string Good = "zanbury-recording 1\n"
                         "version 9.9\n"
                         "file parks.txt 0123456789abcdef\n"
                         "file park.txt fedcba9876543210\n"
                         "# a comment\n"
                         "2 enter tap\n"
                         "1 clock 3 34\n"
                         "5 up press\n"
                         "5 up release\n"
                         "4 clock 1 2 0 32\n"
                         "6 highscore low\n"
                         "5 clock 2 34\n"
                         "7 highscore unsaved permission  denied\n"
                         "7 clock 1 4294967295\n"
                         "7 end\n";

bool read(const std::string& text, recording::Recording& r, park::Problem& problem) {
    return recording::parse(text, "r.txt", "9.9", r, problem);
}

TEST(Recording, WhatIsWrittenReadsBackTheSame) {
    recording::Recording r;
    park::Problem problem;
    ASSERT_TRUE(read(Good, r, problem)) << park::formatProblem(problem);
    EXPECT_EQ(r.passes, 7);
    EXPECT_EQ(r.endLine, 15);
    ASSERT_EQ(r.files.size(), 2u);
    EXPECT_EQ(r.files[1].name, "park.txt");
    EXPECT_EQ(r.files[1].checksum, 0xfedcba9876543210u);
    ASSERT_EQ(r.clock.size(), 4u);
    EXPECT_EQ(r.clock[1].firstPass, 4);
    EXPECT_EQ(r.clock[1].reads, 3);
    EXPECT_EQ(r.clock[1].deltas[2], 32u);
    EXPECT_EQ(r.clock[3].deltas[0], 4294967295u);
    ASSERT_EQ(r.keys.size(), 3u);
    EXPECT_EQ(r.keys[2].action, script::Action::Release); // file order within a pass
    ASSERT_EQ(r.highScores.size(), 2u);
    EXPECT_FALSE(r.highScores[0].newHighScore);
    EXPECT_TRUE(r.highScores[1].newHighScore);
    EXPECT_EQ(r.highScores[1].unsaved, "permission  denied"); // the rest of the line as it is

    recording::Recording again;
    std::string text = recording::write(r);
    ASSERT_TRUE(read(text, again, problem)) << park::formatProblem(problem) << "\n" << text;
    EXPECT_EQ(recording::write(again), text);
    EXPECT_EQ(text.find("#"), std::string::npos); // only what a recording needs

    // Every key and verdict is written before the clock line of its pass's run, those of a run's
    // last pass too.
    std::string lastOfRuns = Good;
    lastOfRuns.replace(lastOfRuns.find("2 enter tap"), 11, "3 enter tap");
    lastOfRuns.replace(lastOfRuns.find("7 end"), 5, "7 escape tap\n7 end");
    ASSERT_TRUE(read(lastOfRuns, r, problem)) << park::formatProblem(problem);
    EXPECT_EQ(recording::write(r), "zanbury-recording 1\nversion 9.9\n"
                                   "file parks.txt 0123456789abcdef\n"
                                   "file park.txt fedcba9876543210\n"
                                   "3 enter tap\n1 clock 3 34\n"
                                   "4 clock 1 2 0 32\n"
                                   "5 up press\n5 up release\n6 highscore low\n5 clock 2 34\n"
                                   "7 escape tap\n7 highscore unsaved permission  denied\n"
                                   "7 clock 1 4294967295\n7 end\n");

    // A practice session's park, given after the version line, is kept; a recording without one
    // is of whole runs, whatever its file lines.
    EXPECT_EQ(r.practice, 0);
    std::string noFiles = Good;
    noFiles.erase(noFiles.find("file "), noFiles.find("# a comment") - noFiles.find("file "));
    ASSERT_TRUE(read(noFiles, r, problem)) << park::formatProblem(problem);
    EXPECT_EQ(r.practice, 0);
    std::string practice = Good;
    practice.replace(practice.find("version 9.9\n"), 12, "version 9.9\npractice 1\n");
    ASSERT_TRUE(read(practice, r, problem)) << park::formatProblem(problem);
    EXPECT_EQ(r.practice, 1);
    EXPECT_EQ(r.files.size(), 2u);
    EXPECT_EQ(recording::write(r).rfind("zanbury-recording 1\nversion 9.9\npractice 1\nfile ", 0),
              0u);

    // A park in a folder of the game's directory, as the park list allows it.
    std::string inFolder = Good;
    inFolder.replace(inFolder.find("file park.txt"), 13, "file sub/park.txt");
    recording::Recording folder;
    ASSERT_TRUE(read(inFolder, folder, problem)) << park::formatProblem(problem);
    EXPECT_EQ(folder.files[1].name, "sub/park.txt");
}

TEST(Recording, ACutRecordingReadsUpToItsCut) {
    recording::Recording r;
    park::Problem problem;
    // Cut inside the last clock line: "5 clock 2 3" would otherwise read as another delta.
    std::string cut = Good.substr(0, Good.find("5 clock 2 34") + 11);
    ASSERT_TRUE(read(cut, r, problem)) << park::formatProblem(problem);
    EXPECT_EQ(r.passes, 4);
    EXPECT_EQ(r.endLine, 0);
    EXPECT_EQ(r.cutLine, 12);
    EXPECT_EQ(r.keys.size(), 1u);       // the keys of pass 5 went with its clock line, and
    EXPECT_EQ(r.highScores.size(), 0u); // the high score of pass 6

    for (std::size_t at : {std::size_t{0}, std::size_t{10}, Good.find("version") + 5}) {
        EXPECT_FALSE(read(Good.substr(0, at), r, problem)) << at;
    }
    EXPECT_EQ(park::formatProblem(problem),
              "r.txt:2: the recording ends before its header is complete");
    EXPECT_FALSE(read(Good.substr(0, Good.find("2 enter")), r, problem));
    EXPECT_EQ(park::formatProblem(problem), "r.txt:6: the recording ends before its first pass");
}

TEST(Recording, AnEditedOrForeignRecordingIsRefusedAtItsLine) {
    struct Edit {
        const char* from;
        const char* to;
        int32_t line;
        const char* says;
    };
    const Edit edits[] = {
        {"zanbury-recording 1", "zanbury-recording 2", 1, "a recording of format 2"},
        {"zanbury-recording 1", "1 up press", 1, "not a Zanbury recording"},
        {"version 9.9", "version 9.8", 2, "a recording of Zanbury 9.8; this is Zanbury 9.9"},
        {"file park.txt fedcba9876543210", "file ../park.txt fedcba9876543210", 4, "file line"},
        {"file park.txt fedcba9876543210", "file /etc/park.txt fedcba9876543210", 4, "file line"},
        {"file park.txt fedcba9876543210", "file a/../../p fedcba9876543210", 4, "file line"},
        {"file park.txt fedcba9876543210", "file park.txt fedcba987654321", 4, "16 hex digits"},
        {"5 up press", "5 up press\nfile x.txt 0123456789abcdef", 9, "after the passes"},
        {"4 clock 1 2 0 32", "4 clock 2 2 0 32", 12, "begins at pass 5 where pass 6"},
        {"4 clock 1 2 0 32", "4 clock 1 1 2 3 4 5 6 7 8 9", 10, "more than 8 reads"},
        {"4 clock 1 2 0 32", "4 clock 0 2", 10, "COUNT at least 1"},
        {"7 clock 1 4294967295", "7 clock 1 4294967296", 14, "not a whole number from 0"},
        {"7 highscore unsaved", "6 highscore new\n#", 13, "after one for pass 6"},
        {"7 highscore unsaved", "7 highscore many\n#", 13, "'PASS highscore new', 'PASS"},
        {"7 highscore unsaved", "7 highscore unsaved \x01", 13, "not printable text"},
        {"7 end", "8 end", 15, "clock lines end at pass 7"},
        {"7 end", "7 end\n7 up tap", 16, "after the end line"},
        {"5 up press", "9 up press", 8, "a key of pass 9 after the end at pass 7"},
        {"5 up press", "5 up hold", 8, "the action 'hold'"},
        {"5 up press", "5 clocks 1 34", 8, "nor is it clock, highscore or end"},
        {"2 enter tap", "99999999999999999999 enter tap", 6, "not a whole number from 1 to"},
        // The practice park: one of the recording's park list (here one park), named once,
        // before the file lines.
        {"version 9.9", "version 9.9\npractice 2", 3,
         "practice of park 2, but the recording's "
         "park list has 1 park"},
        {"version 9.9", "version 9.9\npractice 0", 3, "a practice line is 'practice N'"},
        {"version 9.9", "version 9.9\npractice 1 2", 3, "a practice line is 'practice N'"},
        {"version 9.9", "version 9.9\npractice 1\npractice 1", 4, "a second practice line"},
        {"2 enter tap", "practice 1\n2 enter tap", 6, "before the file lines"},
    };
    for (const Edit& e : edits) {
        std::string text = Good;
        text.replace(text.find(e.from), std::string(e.from).size(), e.to);
        recording::Recording r;
        park::Problem problem;
        EXPECT_FALSE(read(text, r, problem)) << e.to;
        EXPECT_EQ(problem.file, "r.txt");
        EXPECT_EQ(problem.line, e.line) << park::formatProblem(problem);
        EXPECT_NE(problem.what.find(e.says), std::string::npos) << park::formatProblem(problem);
    }

    // A word of a megabyte is quoted as a short, marked excerpt: the message stays showable.
    const std::string huge(1 << 20, 'y');
    for (const char* from : {"9.9", "34", "up"}) {
        std::string text = Good;
        text.replace(text.rfind(from), std::string(from).size(), huge);
        recording::Recording r;
        park::Problem problem;
        EXPECT_FALSE(read(text, r, problem)) << from;
        EXPECT_LT(park::formatProblem(problem).size(), 300u) << from;
        EXPECT_NE(problem.what.find(std::string(park::MaxExcerpt, 'y') + "..."), std::string::npos)
            << from;
    }
}

} // namespace
