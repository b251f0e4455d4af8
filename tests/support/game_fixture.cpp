#include "tests/support/game_fixture.h"

#include <fstream>
#include <sstream>

namespace testing_support {

void writeFile(const std::string& name, const std::string& text) {
    std::string error;
    EXPECT_TRUE(tools::writeTextFile(name, text, error)) << error;
}

std::string readFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void GameTest::SetUp() {
    scratch.emplace(std::string("test-") +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
    ASSERT_EQ(scratch->error, "");
    dir = scratch->path;
    std::filesystem::current_path(dir);

    // Start-up without the park list, which each test writes for itself.
    tools::resetHeadlessGame(0);
    setStartUpRunValues();
    std::string why;
    ASSERT_TRUE(display::openDisplay(why)) << why;
    setScreenPictures();
    placeSkaterAtStartUp();
    headless::takeSounds();
}

void GameTest::TearDown() {
    display::closeDisplay();
    scratch.reset(); // back to the directory the test started in, and the scratch removed
}

void GameTest::useParks(const std::string& listText,
                        const std::vector<std::pair<std::string, std::string>>& parkFiles) {
    for (const auto& [name, text] : parkFiles) {
        writeFile(name, text);
    }
    writeFile("parks.txt", listText);
    park::Problem problem;
    int32_t parkNumber = 0;
    ASSERT_TRUE(park::readParkList(problem, parkNumber)) << park::formatProblem(problem);
}

void GameTest::usePark(const std::string& parkText) {
    useParks("1\npark.txt\n", {{"park.txt", parkText}});
}

void GameTest::startPark(const std::string& parkText) {
    usePark(parkText);
    startNewRun();
    frame(); // LoadPark
    ASSERT_EQ(gameState, GameState::Playing);
    headless::takeSounds();
}

} // namespace testing_support
