#pragma once
// Every program-wide record of the game, listed once. What walks the records is made from this
// list: resetProgramRecords (app/shell.cpp), and the autoplayer's GameSnapshot with its save and
// restore (tools/autoplay/snapshot.h), so a record added here is reset, saved and restored
// without anyone remembering to. The display's surfaces and the platform's state are not game
// records: they belong to the display and to the platform.
//
// Each entry is X(record, name): the record as the game names it, and a plain name for a copy
// of it. Every record starts as its type's value-initialised value (Type{}), which is what the
// reset gives it again.

#include "app/flow.h"
#include "app/pause.h"
#include "app/shell.h"
#include "core/run_state.h"
#include "park/park.h"
#include "skater/skater.h"

#include <type_traits>

#define ZANBURY_PROGRAM_RECORDS(X)                                                                 \
    X(::run, run)                                                                                  \
    X(::gameState, gameState)                                                                      \
    X(::skater, skater)                                                                            \
    X(park::parkList, parkList)                                                                    \
    X(park::obstacleTable, obstacleTable)                                                          \
    X(park::failedPark, failedPark)                                                                \
    X(park::practice, practice)                                                                    \
    X(::newGameMarker, newGameMarker)                                                              \
    X(::exitMarker, exitMarker)                                                                    \
    X(::framePacer, framePacer)                                                                    \
    X(::pauseState, pauseState)

// The type of a record of the list.
#define ZANBURY_RECORD_TYPE(record) std::remove_cvref_t<decltype(record)>
