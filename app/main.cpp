// Zanbury: a small full-screen skateboarding game.

#include "app/command_line.h"
#include "app/shell.h"

int main(int argc, char** argv) {
    GameOptions options;
    if (int code = readCommandLine(argc, argv, options); code >= 0) {
        return code;
    }
    return runGame(options);
}
