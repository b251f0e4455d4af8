// The browser build's resources: the same files, packed beside the parks in the page's data
// file (emcc --preload-file, at /assets) rather than inside the WebAssembly, which the browser
// then compiles at half the size. Each is read into memory the first time it is asked for.

#include "core/files.h"
#include "display/resources.h"

#include <cstring>
#include <string>

namespace resources {
namespace {

struct Entry {
    const char* name;
    const char* path;
    std::string bytes;
    Resource resource;
    bool read = false;
};

Entry table[] = {
    {"SPRITES", "/assets/sprites.bmp", {}, {}}, {"BACKGROUND", "/assets/backdrop.bmp", {}, {}},
    {"HIT", "/assets/hit.wav", {}, {}},         {"SMACK", "/assets/smack.wav", {}, {}},
    {"GLYPHS", "/assets/glyphs.txt", {}, {}},
};

} // namespace

const Resource* find(const char* name) {
    for (Entry& e : table) {
        if (std::strcmp(e.name, name) != 0) {
            continue;
        }
        if (!e.read) {
            e.read = true;
            std::string why;
            if (files::readWhole(e.path, e.bytes, why, std::size_t{16} << 20) !=
                files::ReadStatus::Read) {
                e.bytes.clear();
            }
            e.resource =
                Resource{e.name, reinterpret_cast<const uint8_t*>(e.bytes.data()), e.bytes.size()};
        }
        return e.bytes.empty() ? nullptr : &e.resource;
    }
    return nullptr;
}

} // namespace resources
