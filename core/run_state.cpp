#include "core/run_state.h"

RunState run;
GameState gameState = GameState::Quit;

const char* gameStateName(GameState state) {
    switch (state) {
    case GameState::Quit:
        return "Quit";
    case GameState::Menu:
        return "Menu";
    case GameState::LoadPark:
        return "LoadPark";
    case GameState::Title:
        return "Title";
    case GameState::Playing:
        return "Playing";
    case GameState::ParkComplete:
        return "ParkComplete";
    case GameState::GameOver:
        return "GameOver";
    }
    return "?";
}
