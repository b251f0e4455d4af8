// Zanbury: a small full-screen skateboarding game.

#include "app/shell.h"

int main() {
    return runGame();
}
