// zanbury-artgen OUTDIR: draws the sprite sheet and the backdrop and makes the two sounds,
// writing sprites.bmp, backdrop.bmp, hit.wav and smack.wav into OUTDIR. The same program
// always writes the same bytes.

#include "tools/artgen/backdrop.h"
#include "tools/artgen/bmp.h"
#include "tools/artgen/lettering.h"
#include "tools/artgen/sheet.h"
#include "tools/artgen/sounds.h"
#include "tools/artgen/wav.h"

#include <cstdio>
#include <filesystem>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zanbury-artgen OUTDIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    std::error_code error;
    if (!std::filesystem::is_directory(dir, error)) {
        std::fprintf(stderr, "zanbury-artgen: %s is not a directory\n", dir.c_str());
        return 1;
    }
    if (!artgen::openLettering()) {
        return 1;
    }
    const artgen::Image sheet = artgen::buildSheet();
    artgen::closeLettering();

    struct Output {
        const char* name;
        artgen::Bytes bytes;
    };
    const Output outputs[] = {
        {"sprites.bmp", artgen::encodeBmp(sheet)},
        {"backdrop.bmp", artgen::encodeBmp(artgen::buildBackdrop())},
        {"hit.wav", artgen::encodeWav(artgen::makeHit())},
        {"smack.wav", artgen::encodeWav(artgen::makeSmack())},
    };
    for (const Output& out : outputs) {
        const std::string path = dir + "/" + out.name;
        if (!artgen::writeFile(path, out.bytes)) {
            std::fprintf(stderr, "zanbury-artgen: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
