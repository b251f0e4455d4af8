#pragma once
// Where things go in a window: the picture in each look, and what the present draws over it at
// its own time (the "Paused" sign, the lives). Plain arithmetic, shared by both present paths.

#include "platform/platform.h"
#include "platform/settings.h"

namespace layout {

struct Box {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
    bool operator==(const Box&) const = default;
};

// The picture's area in a window of this size. Sharp: as large as fits at 4:3, centred, within
// half a pixel of the window's height or width. Whole: the largest whole multiple of 640 x 480
// that fits, centred; in a window smaller than the picture, as Sharp. Stretch: the whole window.
Box pictureBox(settings::Look look, int windowWidth, int windowHeight);

// The whole factor at which the overlays are drawn: the picture's scale rounded down, at least 1,
// so that their pixels stay square and crisp in every look.
int overlayScale(const Box& picture);

// Where the index-th life picture (width x height before scaling) goes: down the black margin to
// the right of the picture where that margin has room, else in a row leftwards from the
// picture's top-right corner.
Box lifeBox(const Box& picture, int windowWidth, int width, int height, int index);

// The sign, centred on the picture, at twice the overlays' scale where that fits in half the
// picture's width.
Box signBox(const Box& picture, int width, int height);

// The card of where the player stands, at twice the overlays' scale where that fits in three
// quarters of the picture's width, centred across the picture with
// its top at 59% of the picture's height: in the sky between the banner and the prompt of the
// screens between parks, and clear of the end screen's verdict.
Box cardBox(const Box& picture, int width, int height);
// The note of a choice, at the overlays' scale, centred across the picture near its bottom.
Box noteBox(const Box& picture, int width, int height);

// Which overlays the player's settings let the present draw.
struct Shown {
    bool lives = true;
    bool standing = true; // the card and the note
};

// Calls draw(picture, box) for each overlay of a present, in the order drawn: the lives, the
// card and the note (unless the player has turned them off), then the sign.
template <typename Draw>
void forEachOverlay(const platform::Overlays& overlays, Shown shown, const Box& picture,
                    int windowWidth, Draw draw) {
    const platform::Picture& life = overlays.life;
    if (shown.lives && life.pixels != nullptr) {
        for (int i = 0; i < overlays.lives; ++i) {
            draw(life, lifeBox(picture, windowWidth, life.width, life.height, i));
        }
    }
    if (shown.standing && overlays.card.pixels != nullptr) {
        draw(overlays.card, cardBox(picture, overlays.card.width, overlays.card.height));
    }
    if (shown.standing && overlays.note.pixels != nullptr) {
        draw(overlays.note, noteBox(picture, overlays.note.width, overlays.note.height));
    }
    if (overlays.sign.pixels != nullptr) {
        draw(overlays.sign, signBox(picture, overlays.sign.width, overlays.sign.height));
    }
}

} // namespace layout
