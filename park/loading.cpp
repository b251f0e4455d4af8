// The park loading of the game: the park list once at start-up, then a park at each start and
// restart, read with the readers into the program-wide park list and obstacle table.

#include "core/run_state.h"
#include "park/park.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace park {

ParkList parkList;
ObstacleTable obstacleTable;
FailedPark failedPark;
Practice practice;

namespace {

// The park and the list being read, before they are taken; scratch, kept static as they are
// large.
ParkFile loading;
ParkListFile listLoading;

} // namespace

bool readParkList(Problem& problem, int32_t& parkNumber) {
    std::string text;
    parkNumber = 0;
    if (!readTextFile("parks.txt", text, problem) ||
        !parseParkList(text, "parks.txt", listLoading, problem)) {
        return false;
    }
    for (int32_t i = 0; i < listLoading.parkCount; ++i) {
        const char* name = listLoading.list.names[i];
        if (!readTextFile(name, text, problem) || !parseParkFile(text, name, loading, problem)) {
            parkNumber = i + 1;
            return false;
        }
    }
    parkList = listLoading.list;
    run.parkCount = listLoading.parkCount;
    return true;
}

void loadPark() {
    const char* name = parkList.names[run.parkIndex];
    std::string text;
    Problem problem;
    if (readTextFile(name, text, problem) && parseParkFile(text, name, loading, problem)) {
        for (int32_t i = 0; i < loading.obstacleCount; ++i) {
            obstacleTable.records[i] = loading.records[i]; // parsed with x at 640
        }
        run.obstacleCount = loading.obstacleCount;
        run.parkLength = loading.parkLength;
        run.firstActive = 0;
        run.lastActive = std::min(run.firstActive + WindowSpan, run.obstacleCount - 1);
        return;
    }
    // The park vanished or changed since start-up: the run ends as on the last life.
    std::fprintf(stderr, "zanbury: %s\n", formatProblem(problem).c_str());
    std::snprintf(failedPark.name, sizeof failedPark.name, "%s", name);
    run.obstacleCount = 0;
    run.firstActive = 0;
    run.lastActive = -1;
    run.messageSeconds = -1; // no stale fall message in the next run
    endRun();
}

} // namespace park
