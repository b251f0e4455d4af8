#include "display/resources.h"

#include <cstring>

extern "C" {
extern const uint8_t zb_res_sprites_begin[], zb_res_sprites_end[];
extern const uint8_t zb_res_backdrop_begin[], zb_res_backdrop_end[];
extern const uint8_t zb_res_hit_begin[], zb_res_hit_end[];
extern const uint8_t zb_res_smack_begin[], zb_res_smack_end[];
extern const uint8_t zb_res_glyphs_begin[], zb_res_glyphs_end[];
}

namespace resources {
namespace {

std::size_t span(const uint8_t* begin, const uint8_t* end) {
    return static_cast<std::size_t>(end - begin);
}

const Resource table[] = {
    {"SPRITES", zb_res_sprites_begin, span(zb_res_sprites_begin, zb_res_sprites_end)},
    {"BACKGROUND", zb_res_backdrop_begin, span(zb_res_backdrop_begin, zb_res_backdrop_end)},
    {"HIT", zb_res_hit_begin, span(zb_res_hit_begin, zb_res_hit_end)},
    {"SMACK", zb_res_smack_begin, span(zb_res_smack_begin, zb_res_smack_end)},
    {"GLYPHS", zb_res_glyphs_begin, span(zb_res_glyphs_begin, zb_res_glyphs_end)},
};

} // namespace

const Resource* find(const char* name) {
    for (const Resource& r : table) {
        if (std::strcmp(r.name, name) == 0) {
            return &r;
        }
    }
    return nullptr;
}

} // namespace resources
