#pragma once
// The skater: a red cap, a grey T-shirt and blue jeans, drawn from a pose of joints.
// Poses are laid out in a 68 x 84 frame with the shoe soles on row 83, the size the game
// shows him at, and can be drawn larger for the title.

#include "tools/artgen/image.h"
#include "tools/artgen/raster.h"

namespace artgen {

struct Arm {
    Point shoulder;
    Point elbow;
    Point hand;
};

struct Leg {
    Point hip;
    Point knee;
    Point ankle;
    double toe = 0; // which way the shoe points: -1 to the viewer's left, +1 to the right
};

// Facing the viewer. "left" and "right" are the viewer's.
struct FrontPose {
    Point head;           // centre of the head
    double shoulderY = 0; // top of the shoulders
    double shoulderHalf = 0;
    double waistY = 0;
    double waistHalf = 0;
    double centreX = 0; // the middle of the torso
    Arm left;
    Arm right;
    Leg leftLeg;
    Leg rightLeg;
};

// Where a pose goes in a picture: design point p lands on origin + p * scale.
struct Placement {
    Point origin;
    double scale = 1.0;
};

void drawFrontSkater(Image& img, const FrontPose& pose, const Placement& at);
// Paints the lowest pixel of each column of the shoe's mask in the sole's white.
void paintSole(Image& img, const Mask& shoe);

// The poses of the game, each on key green at the size of its picture.
Image drawBodyStand();     // 68 x 84, arms hanging
Image drawBodyCrouch();    // 68 x 84, knees bent
Image drawBodySpread();    // 69 x 85, arms wide, the right leg raised; last column and row green
Image drawBodySpreadAlt(); // 69 x 84, the left leg raised; last column green
Image drawBodySide();      // 68 x 84, in profile facing right

// The standing pose with the right hand at the given design point, for the title skater who
// holds his board upright beside him.
FrontPose standingHoldingBoard(Point hand);

} // namespace artgen
