#include "tools/artgen/boards.h"

#include "tools/artgen/detmath.h"
#include "tools/artgen/palette.h"
#include "tools/artgen/pixelmap.h"

#include <cstdio>
#include <cstdlib>

namespace artgen {
namespace {

namespace pal = palette;

// Centres a drawing made on a roomy canvas in a picture of the given size; aborts if it does
// not fit, since the picture sizes are fixed by the atlas.
Image fitCentred(const Image& canvas, int width, int height, const char* what) {
    const Rect box = usedBox(canvas);
    if (box.width() > width || box.height() > height) {
        std::fprintf(stderr, "zanbury-artgen: %s is %d x %d, more than %d x %d\n", what,
                     box.width(), box.height(), width, height);
        std::exit(1);
    }
    Image out = makeImage(width, height, KeyGreen);
    paste(out, crop(canvas, box.left, box.top, box.width(), box.height()),
          (width - box.width()) / 2, (height - box.height()) / 2);
    return out;
}

// A frame along the board: u runs from tail to nose, v across it (positive v is the side the
// wheels are on).
struct BoardFrame {
    Point centre;
    Point along;
    Point across;
    double length = 0;
    Point at(double u, double v) const {
        return {centre.x + (u - length / 2) * along.x + v * across.x,
                centre.y + (u - length / 2) * along.y + v * across.y};
    }
};

// The side view tilted by `angle` radians, the right end up; wheels below the deck.
Image drawTiltedSide(int width, int height, double angle, double length) {
    Image canvas = makeImage(width + 24, height + 24, KeyGreen);
    const double c = detCos(angle);
    const double s = detSin(angle);
    const BoardFrame f{{canvas.width / 2.0, canvas.height / 2.0}, {c, -s}, {s, c}, length};

    // Trucks then wheels, so the deck line lies on top of the trucks' baseplates.
    for (double u : {0.22 * length, 0.78 * length}) {
        Mask truck = makeMask(canvas.width, canvas.height);
        addPolygon(truck, {f.at(u - 3.2, 0.5), f.at(u + 3.2, 0.5), f.at(u + 1.2, 3.6),
                           f.at(u - 1.2, 3.6)});
        paintPart(canvas, truck, pal::Truck, pal::Outline, 1);
        Mask wheel = makeMask(canvas.width, canvas.height);
        addEllipse(wheel, f.at(u, 5.0), 2.6, 2.6);
        paintPart(canvas, wheel, pal::Wheel, pal::Outline, 1);
        const Point hub = f.at(u, 5.0);
        put(canvas, roundToInt(hub.x), roundToInt(hub.y), pal::Truck.dark);
    }
    Mask deck = makeMask(canvas.width, canvas.height);
    const double kick = 5.5;
    std::vector<Point> line;
    for (double u = 0; u <= length + 1e-9; u += 0.5) {
        double v = 0;
        if (u < kick) {
            const double t = 1 - u / kick;
            v = -3.0 * t * t;
        } else if (u > length - kick) {
            const double t = 1 - (length - u) / kick;
            v = -3.0 * t * t;
        }
        line.push_back(f.at(u, v));
    }
    addLimb(deck, line, 1.2);
    paintFlat(canvas, deck, pal::Deck);
    return fitCentred(canvas, width, height, "tilted board");
}

// The frame of a board seen from below or above, running from tail to nose.
BoardFrame frameAlong(Point tail, Point nose) {
    const double dx = nose.x - tail.x;
    const double dy = nose.y - tail.y;
    const double len = std::sqrt(dx * dx + dy * dy);
    return {{(tail.x + nose.x) / 2, (tail.y + nose.y) / 2},
            {dx / len, dy / len},
            {-dy / len, dx / len},
            len};
}

} // namespace

Image drawBoardFlat() {
    // Small enough to place every pixel: K deck and outline, g/G truck, W/w wheel.
    return fromPixelMap(
        {
            "KK.................................................KK",
            ".KK...............................................KK.",
            "..KKK...........................................KKK..",
            "...KKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKK..",
            ".......KKgggGKK.......................KKgggGKK.......",
            "......KWWWWWWwwK.....................KWWWWWWwwK......",
            "......KWWWWWWwwK.....................KWWWWWWwwK......",
            ".......KKWWWwKK.......................KKWWWwKK.......",
        },
        {{'K', pal::Deck},
         {'g', pal::Truck.base},
         {'G', pal::Truck.dark},
         {'W', pal::Wheel.base},
         {'w', pal::Wheel.dark}});
}

Image drawBoardNoseUp() {
    return drawTiltedSide(43, 28, 27.0 * Pi / 180.0, 43);
}

Image drawBoardNoseDown() {
    return mirrorX(drawBoardNoseUp());
}

// Turned half round, the right end stays up and the wheels come above the deck.
Image drawBoardUpsideDown() {
    return rotate180(drawBoardNoseUp());
}

void paintUnderside(Image& img, Point tail, Point nose, double halfWidth) {
    const BoardFrame f = frameAlong(tail, nose);
    const double len = f.length;
    // The deck: a long capsule with rounded ends.
    Mask deck = makeMask(img.width, img.height);
    addCapsule(deck, tail, nose, halfWidth);
    paintPart(img, deck, pal::BoardRed, pal::Outline, 1);
    // The board's graphic: a dark chevron at each end.
    for (double u : {0.06 * len, 0.94 * len}) {
        const double toward = u < len / 2 ? 1.0 : -1.0;
        for (double v = -halfWidth * 0.6; v <= halfWidth * 0.6; v += 0.5) {
            const Point p = f.at(u + toward * (2.0 + std::fabs(v) * 0.6), v);
            put(img, roundToInt(p.x), roundToInt(p.y), pal::BoardRed.dark);
        }
    }

    // Each truck: a baseplate on the deck, a hanger across it and a wheel at either end.
    for (double u : {0.2 * len, 0.8 * len}) {
        const double reach = halfWidth + 1.8;
        Mask wheels = makeMask(img.width, img.height);
        for (double side : {-1.0, 1.0}) {
            addPolygon(wheels,
                       {f.at(u - 2.2, side * (reach - 1.6)), f.at(u + 2.2, side * (reach - 1.6)),
                        f.at(u + 2.2, side * (reach + 1.6)), f.at(u - 2.2, side * (reach + 1.6))});
        }
        paintPart(img, wheels, pal::Wheel, pal::Outline, 1);
        Mask plate = makeMask(img.width, img.height);
        addPolygon(plate, {f.at(u - 2.8, -halfWidth * 0.5), f.at(u + 2.8, -halfWidth * 0.5),
                           f.at(u + 2.8, halfWidth * 0.5), f.at(u - 2.8, halfWidth * 0.5)});
        paintPart(img, plate, pal::Truck, pal::Outline, 1);
        Mask hanger = makeMask(img.width, img.height);
        addCapsule(hanger, f.at(u, -reach + 1.2), f.at(u, reach - 1.2), 1.3);
        paintPart(img, hanger, {White, pal::Truck.light, pal::Truck.base}, pal::Outline, 1);
    }
}

Image drawBoardUnderside() {
    Image canvas = makeImage(45 + 20, 31 + 20, KeyGreen);
    paintUnderside(canvas, {10 + 8, 10 + 23}, {10 + 37, 10 + 7}, 5.0);
    return fitCentred(canvas, 45, 31, "board underside");
}

Image drawBoardGripTop() {
    Image canvas = makeImage(46 + 20, 32 + 20, KeyGreen);
    const Point tail{10 + 7, 10 + 25};
    const Point nose{10 + 39, 10 + 6};
    const double halfWidth = 5.6;
    const BoardFrame f = frameAlong(tail, nose);
    const double len = f.length;
    // The wheels peek out from under the deck.
    Mask wheels = makeMask(canvas.width, canvas.height);
    for (double u : {0.2 * len, 0.8 * len}) {
        for (double side : {-1.0, 1.0}) {
            addCapsule(wheels, f.at(u - 1.4, side * (halfWidth + 1.0)),
                       f.at(u + 1.4, side * (halfWidth + 1.0)), 1.8);
        }
    }
    paintPart(canvas, wheels, pal::Wheel, pal::Outline, 1);
    Mask deck = makeMask(canvas.width, canvas.height);
    addCapsule(deck, tail, nose, halfWidth);
    paintPart(canvas, deck, pal::GripTape, pal::Outline, 2);
    // Grit in the tape, and the four bolts of each truck.
    for (int y = 0; y < canvas.height; ++y) {
        for (int x = 0; x < canvas.width; ++x) {
            if (test(deck, x, y) && latticeHash(x, y, 77) < 0.16) {
                put(canvas, x, y, pal::GripTape.dark);
            }
        }
    }
    for (double u : {0.2 * len, 0.8 * len}) {
        for (double du : {-1.6, 1.6}) {
            for (double dv : {-1.8, 1.8}) {
                const Point b = f.at(u + du, dv);
                put(canvas, roundToInt(b.x), roundToInt(b.y), pal::Truck.light);
            }
        }
    }
    return fitCentred(canvas, 46, 32, "board grip top");
}

Image drawBoardEndOn() {
    return fromPixelMap(
        {
            "KK..........KK",
            "KRKKKKKKKKKKRK",
            ".KRRRRRRRRRRK.",
            "..KKKKKKKKKK..",
            "KKKK.KgGK.KKKK",
            "KWWKKKgGKKKWwK",
            "KKKK......KKKK",
        },
        {{'K', pal::Outline},
         {'R', pal::BoardRed.base},
         {'g', pal::Truck.base},
         {'G', pal::Truck.dark},
         {'W', pal::Wheel.base},
         {'w', pal::Wheel.dark}});
}

} // namespace artgen
