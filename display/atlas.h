#pragma once
// The sprite sheet's atlas: where every picture that the program names lies in the 506 x 427
// sheet. The skater's positions are worked out from these heights, so the sizes are exact.

#include "core/rect.h"

namespace atlas {

inline constexpr int SheetWidth = 506;
inline constexpr int SheetHeight = 427;
inline constexpr int BackdropWidth = 640;
inline constexpr int BackdropHeight = 480;

// Screen pictures.
inline constexpr Rect TitleLogo{1, 1, 177, 124};
inline constexpr Rect CreditLine{267, 187, 362, 198};
inline constexpr Rect MenuPanel{1, 126, 265, 223};
inline constexpr Rect MarkerSelected{313, 209, 341, 232};
inline constexpr Rect MarkerOther{390, 151, 418, 174};
inline constexpr Rect LevelClearBanner{1, 311, 217, 425};
inline constexpr Rect HighScoresBanner{179, 1, 369, 121};

// Skater body poses.
inline constexpr Rect BodyStand{1, 225, 69, 309};
inline constexpr Rect BodyCrouch{71, 225, 139, 309};
inline constexpr Rect BodySpread{142, 225, 211, 310};
inline constexpr Rect BodySpreadTrim{142, 225, 210, 309};
inline constexpr Rect BodySide{212, 225, 280, 309};
inline constexpr Rect BodySpreadAlt{436, 1, 505, 85};
inline constexpr Rect BodySpreadAltTrim{436, 1, 504, 85};

// Boards.
inline constexpr Rect BoardFlat{297, 336, 350, 344};
inline constexpr Rect BoardNoseUp{219, 369, 262, 397};
inline constexpr Rect BoardUnderside{250, 336, 295, 367};
inline constexpr Rect BoardUpsideDown{264, 369, 307, 397};
inline constexpr Rect BoardGripTop{429, 205, 475, 237};
inline constexpr Rect BoardEndOn{297, 346, 311, 353};
inline constexpr Rect BoardNoseDown{436, 87, 479, 115};

struct NamedRect {
    const char* name;
    Rect rect;
};

inline constexpr NamedRect BodyPoses[] = {
    {"BodyStand", BodyStand},
    {"BodyCrouch", BodyCrouch},
    {"BodySpread", BodySpread},
    {"BodySpreadTrim", BodySpreadTrim},
    {"BodySide", BodySide},
    {"BodySpreadAlt", BodySpreadAlt},
    {"BodySpreadAltTrim", BodySpreadAltTrim},
};

inline constexpr NamedRect Boards[] = {
    {"BoardFlat", BoardFlat},           {"BoardNoseUp", BoardNoseUp},
    {"BoardUnderside", BoardUnderside}, {"BoardUpsideDown", BoardUpsideDown},
    {"BoardGripTop", BoardGripTop},     {"BoardEndOn", BoardEndOn},
    {"BoardNoseDown", BoardNoseDown},
};

inline constexpr NamedRect ScreenPictures[] = {
    {"TitleLogo", TitleLogo},
    {"CreditLine", CreditLine},
    {"MenuPanel", MenuPanel},
    {"MarkerSelected", MarkerSelected},
    {"MarkerOther", MarkerOther},
    {"LevelClearBanner", LevelClearBanner},
    {"HighScoresBanner", HighScoresBanner},
};

// The obstacle pictures, by the insides of their cells; park files point at them with
// Rects of their own, usually exactly these.
struct ObstaclePicture {
    const char* name;
    Rect cell;
};

inline constexpr ObstaclePicture ObstaclePictures[] = {
    {"tall concrete block", {371, 1, 435, 113}},
    {"ramp", {371, 114, 431, 150}},
    {"grey block", {267, 123, 331, 159}},
    {"small block", {340, 123, 370, 151}},
    {"small block", {333, 152, 363, 180}},
    {"fire hydrant", {364, 152, 389, 188}},
    {"block with uneven top", {267, 160, 331, 186}},
    {"grey block", {364, 189, 428, 237}},
    {"grass strip", {267, 200, 342, 208}},
    {"small block", {282, 209, 312, 237}},
    {"rail", {282, 238, 482, 286}},
    {"block with black band", {282, 287, 346, 335}},
    {"grey block", {347, 297, 407, 333}},
    {"rubbish bin", {219, 311, 249, 361}},
    {"long block", {309, 355, 478, 403}},
};

// A second copy of the level board picture, named by nothing.
inline constexpr Rect SpareBoardCell{347, 287, 401, 296};

// The name of a body or board Rect, or "none" for an all-zero Rect, or "?" for any other.
const char* nameOf(const Rect& rect);

} // namespace atlas
