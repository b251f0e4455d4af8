// Zanbury: a small full-screen skateboarding game.

#include "app/shell.h"
#include "zanbury_version.h"

int main(int argc, char** argv) {
    if (version::printVersion(argc, argv, "zanbury")) {
        return 0;
    }
    return runGame();
}
