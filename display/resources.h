#pragma once
// The files that the executable carries: the pictures, the sounds and the text glyphs.

#include <cstddef>
#include <cstdint>

namespace resources {

struct Resource {
    const char* name;
    const uint8_t* data;
    std::size_t size;
};

// The resource of that name ("SPRITES", "BACKGROUND", "HIT", "SMACK", "GLYPHS"), or nullptr.
const Resource* find(const char* name);

} // namespace resources
