#pragma once
// The game flow: one handler per GameState, called once per frame by the shell.

#include "core/rect.h"

// The menu's selection lives in these two Rects alone: the first item is selected while
// newGameMarker holds MarkerSelected and exitMarker MarkerOther, the second in the opposite case.
extern Rect newGameMarker;
extern Rect exitMarker;

// Start-up's two steps of the flow: the run's start-up values, then the screen pictures.
void setStartUpRunValues();
void setScreenPictures();

// Runs the handler of the current GameState (none for Quit).
void runStateHandler();

void menuInput();
// A new run from the first park, or from the practice park alone (park::practice).
void startNewRun();

// The first menu item is selected.
bool newGameSelected();
