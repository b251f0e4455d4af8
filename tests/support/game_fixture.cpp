#include "tests/support/game_fixture.h"

#include <fstream>
#include <sstream>
#include <unistd.h>

namespace testing_support {

void writeFile(const std::string& name, const std::string& text) {
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out << text;
}

std::string readFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void GameTest::SetUp() {
    previousDir = std::filesystem::current_path();
    dir = std::filesystem::temp_directory_path() /
          ("zanbury-test-" + std::to_string(getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    std::filesystem::current_path(dir);

    headless::reset(0);
    resetProgramRecords();
    setStartUpRunValues();
    ASSERT_TRUE(display::openDisplay());
    setScreenPictures();
    placeSkaterAtStartUp();
    headless::takeSounds();
}

void GameTest::TearDown() {
    display::closeDisplay();
    std::filesystem::current_path(previousDir);
    std::filesystem::remove_all(dir);
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
