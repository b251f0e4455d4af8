// The browser build's resources: the same files, packed beside the parks in the page's data
// file (emcc --preload-file, at /assets) rather than inside the WebAssembly, which the browser
// then compiles at half the size. Each is read into memory the first time it is asked for.

#include "display/resources.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace resources {
namespace {

struct Entry {
    const char* name;
    const char* path;
    std::vector<uint8_t> bytes;
    Resource resource;
    bool read = false;
};

Entry table[] = {
    {"SPRITES", "/assets/sprites.bmp", {}, {}}, {"BACKGROUND", "/assets/backdrop.bmp", {}, {}},
    {"HIT", "/assets/hit.wav", {}, {}},         {"SMACK", "/assets/smack.wav", {}, {}},
    {"GLYPHS", "/assets/glyphs.txt", {}, {}},
};

bool readWhole(const char* path, std::vector<uint8_t>& bytes) {
    std::FILE* f = std::fopen(path, "rb");
    if (f == nullptr) {
        return false;
    }
    uint8_t chunk[65536];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0) {
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    const bool ok = std::ferror(f) == 0;
    std::fclose(f);
    return ok;
}

} // namespace

const Resource* find(const char* name) {
    for (Entry& e : table) {
        if (std::strcmp(e.name, name) != 0) {
            continue;
        }
        if (!e.read) {
            e.read = true;
            if (!readWhole(e.path, e.bytes)) {
                e.bytes.clear();
            }
            e.resource = Resource{e.name, e.bytes.data(), e.bytes.size()};
        }
        return e.bytes.empty() ? nullptr : &e.resource;
    }
    return nullptr;
}

} // namespace resources
