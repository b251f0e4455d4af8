#include "tools/artgen/skater.h"

#include "tools/artgen/detmath.h"
#include "tools/artgen/palette.h"

namespace artgen {
namespace {

namespace pal = palette;

struct Mapper {
    Placement at;
    Point operator()(Point p) const {
        return {at.origin.x + p.x * at.scale, at.origin.y + p.y * at.scale};
    }
    double operator()(double r) const { return r * at.scale; }
};

Point lerp(Point a, Point b, double t) {
    return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
}

// A shoe seen from the front: a rounded toe cap turned a little towards `toe`, with a white
// sole along its bottom row.
void drawShoe(Image& img, const Leg& leg, const Mapper& m) {
    Mask shoe = makeMask(img.width, img.height);
    const Point a = m({leg.ankle.x - leg.toe * 1.0, leg.ankle.y + 2.6});
    const Point b = m({leg.ankle.x + leg.toe * 2.6, leg.ankle.y + 3.0});
    addCapsule(shoe, a, b, m(2.4));
    paintPart(img, shoe, pal::Shoe, pal::Outline, 1);
    paintSole(img, shoe);
}

void drawArm(Image& img, const Arm& arm, const Mapper& m) {
    Mask skin = makeMask(img.width, img.height);
    addLimb(skin, {m(arm.shoulder), m(arm.elbow), m(arm.hand)}, m(2.3));
    addCapsule(skin, m(arm.hand), m(arm.hand), m(2.8));
    paintPart(img, skin, pal::Skin, pal::Outline, 1);
    // Short sleeve over the upper arm.
    Mask sleeve = makeMask(img.width, img.height);
    addCapsule(sleeve, m(arm.shoulder), m(lerp(arm.shoulder, arm.elbow, 0.55)), m(3.4));
    paintPart(img, sleeve, pal::Shirt, pal::Outline, 2);
}

void drawHead(Image& img, Point head, const Mapper& m) {
    const Point c = m(head);
    // Ears behind the head's outline.
    Mask ears = makeMask(img.width, img.height);
    addEllipse(ears, m({head.x - 7.0, head.y + 1.5}), m(1.6), m(2.2));
    addEllipse(ears, m({head.x + 7.0, head.y + 1.5}), m(1.6), m(2.2));
    paintPart(img, ears, pal::Skin, pal::Outline, 1);

    Mask face = makeMask(img.width, img.height);
    addEllipse(face, c, m(6.6), m(8.0));
    paintPart(img, face, pal::Skin, pal::Outline, 2);

    // Hair showing under the cap at the temples.
    Mask hair = makeMask(img.width, img.height);
    addEllipse(hair, m({head.x - 5.4, head.y - 0.2}), m(1.3), m(2.0));
    addEllipse(hair, m({head.x + 5.4, head.y - 0.2}), m(1.3), m(2.0));
    paintShaded(img, hair, pal::Hair, 1);

    // Eyes (taller on the bigger title figure) and a mouth.
    const int ey = roundToInt(m(Point{0, head.y + 0.6}).y);
    const int exL = roundToInt(m(Point{head.x - 3.0, 0}).x);
    const int exR = roundToInt(m(Point{head.x + 2.0, 0}).x);
    const int eh = m.at.scale > 1.15 ? 3 : 2;
    for (int k = 0; k < eh; ++k) {
        put(img, exL, ey + k, pal::Eye);
        put(img, exR, ey + k, pal::Eye);
    }
    const int my = roundToInt(m(Point{0, head.y + 5.0}).y);
    for (int x = roundToInt(c.x - m(1.5)); x <= roundToInt(c.x + m(1.0)); ++x) {
        put(img, x, my, pal::Mouth);
    }
}

void drawCapFront(Image& img, Point head, const Mapper& m) {
    Mask dome = makeMask(img.width, img.height);
    addEllipse(dome, m({head.x, head.y - 3.2}), m(7.4), m(6.2));
    // Only the part above the brow.
    Mask below = makeMask(img.width, img.height);
    addBox(below, 0, roundToInt(m({0, head.y - 1.0}).y), img.width, img.height);
    removeMask(dome, below);
    paintPart(img, dome, pal::CapRed, pal::Outline, 2);
    // The seam down the front panel.
    for (double y = head.y - 8.0; y < head.y - 2.5; y += 0.5) {
        const Point q = m({head.x, y});
        put(img, roundToInt(q.x), roundToInt(q.y), pal::CapRed.dark);
    }
    // The peak, seen from the front: a flat band across the brow, wider than the head.
    Mask peak = makeMask(img.width, img.height);
    addEllipse(peak, m({head.x, head.y - 1.6}), m(9.2), m(2.0));
    Shade peakShade{pal::CapRed.base, pal::CapRed.dark, pal::CapPeakShadow};
    paintPart(img, peak, peakShade, pal::Outline, 1);
    // A button on top.
    put(img, roundToInt(m(head).x), roundToInt(m({0, head.y - 9.4}).y), pal::CapRed.light);
}

} // namespace

void paintSole(Image& img, const Mask& shoe) {
    for (int x = 0; x < img.width; ++x) {
        for (int y = img.height - 1; y >= 0; --y) {
            if (test(shoe, x, y)) {
                put(img, x, y, pal::Sole);
                break;
            }
        }
    }
}

void drawFrontSkater(Image& img, const FrontPose& p, const Placement& at) {
    const Mapper m{at};
    const double cx = p.centreX;

    // Jeans: hips and both legs as one piece, so the seams show only where the legs part.
    Mask jeans = makeMask(img.width, img.height);
    const double crotchY = p.waistY + 6.0;
    addPolygon(jeans, {m({cx - p.waistHalf, p.waistY - 1}), m({cx + p.waistHalf, p.waistY - 1}),
                       m({cx + p.waistHalf - 0.5, crotchY}), m({cx - p.waistHalf + 0.5, crotchY})});
    addLimb(jeans, {m(p.leftLeg.hip), m(p.leftLeg.knee), m(p.leftLeg.ankle)}, m(4.3));
    addLimb(jeans, {m(p.rightLeg.hip), m(p.rightLeg.knee), m(p.rightLeg.ankle)}, m(4.3));
    paintPart(img, jeans, pal::Jeans, pal::Outline, 2);
    // The fly seam, down from the belt.
    for (double y = p.waistY + 1; y < crotchY - 1; y += 0.5) {
        Point q = m({cx, y});
        put(img, roundToInt(q.x), roundToInt(q.y), pal::Jeans.dark);
    }

    drawShoe(img, p.leftLeg, m);
    drawShoe(img, p.rightLeg, m);

    Mask neck = makeMask(img.width, img.height);
    addCapsule(neck, m({p.head.x, p.head.y + 6}), m({cx, p.shoulderY + 1}), m(2.6));
    paintPart(img, neck, pal::Skin, pal::Outline, 1);

    // T-shirt: a tapering body with rounded shoulders, and a belt showing under its hem.
    Mask shirt = makeMask(img.width, img.height);
    addPolygon(shirt,
               {m({cx - p.shoulderHalf, p.shoulderY + 2}),
                m({cx + p.shoulderHalf, p.shoulderY + 2}), m({cx + p.waistHalf + 0.5, p.waistY}),
                m({cx - p.waistHalf - 0.5, p.waistY})});
    addCapsule(shirt, m({cx - p.shoulderHalf + 2.5, p.shoulderY + 2.5}),
               m({cx + p.shoulderHalf - 2.5, p.shoulderY + 2.5}), m(2.8));
    Mask belt = makeMask(img.width, img.height);
    addBox(belt, roundToInt(m({cx - p.waistHalf, 0}).x), roundToInt(m({0, p.waistY}).y),
           roundToInt(m({cx + p.waistHalf, 0}).x) + 1, roundToInt(m({0, p.waistY + 1.6}).y) + 1);
    paintFlat(img, belt, pal::Belt);
    put(img, roundToInt(m({cx, 0}).x), roundToInt(m({0, p.waistY + 0.8}).y), pal::Buckle);
    paintPart(img, shirt, pal::Shirt, pal::Outline, 2);
    // Collar: a darker curve under the neck.
    for (double t = -2.5; t <= 2.5; t += 0.5) {
        Point q = m({cx + t, p.shoulderY + 1.8 + (t * t) / 6.0});
        put(img, roundToInt(q.x), roundToInt(q.y), pal::Shirt.dark);
    }

    drawArm(img, p.left, m);
    drawArm(img, p.right, m);
    drawHead(img, p.head, m);
    drawCapFront(img, p.head, m);
}

namespace {

FrontPose standing(double cx) {
    FrontPose p;
    p.centreX = cx;
    p.head = {cx, 12};
    p.shoulderY = 24;
    p.shoulderHalf = 11;
    p.waistY = 45;
    p.waistHalf = 9;
    p.left = {{cx - 10.5, 28}, {cx - 12.8, 39}, {cx - 12.8, 50.5}};
    p.right = {{cx + 10.5, 28}, {cx + 12.8, 39}, {cx + 12.8, 50.5}};
    p.leftLeg = {{cx - 5, 51}, {cx - 5.5, 65}, {cx - 6.5, 77.5}, -1};
    p.rightLeg = {{cx + 5, 51}, {cx + 5.5, 65}, {cx + 6.5, 77.5}, 1};
    return p;
}

FrontPose spread(double cx) {
    FrontPose p = standing(cx);
    p.left = {{cx - 10.5, 27.5}, {cx - 20, 25}, {cx - 29, 21}};
    p.right = {{cx + 10.5, 27.5}, {cx + 20, 25}, {cx + 28.5, 21}};
    p.leftLeg = {{cx - 5, 51}, {cx - 7, 65}, {cx - 8, 77.5}, -1};
    p.rightLeg = {{cx + 5, 51}, {cx + 15, 58}, {cx + 15, 68.5}, 1};
    return p;
}

// The same pose seen in a mirror about the vertical line x = axis.
FrontPose mirrored(const FrontPose& p, double axis) {
    auto flip = [axis](Point q) { return Point{2 * axis - q.x, q.y}; };
    auto flipArm = [&](const Arm& a) { return Arm{flip(a.shoulder), flip(a.elbow), flip(a.hand)}; };
    auto flipLeg = [&](const Leg& l) {
        return Leg{flip(l.hip), flip(l.knee), flip(l.ankle), -l.toe};
    };
    FrontPose out = p;
    out.centreX = 2 * axis - p.centreX;
    out.head = flip(p.head);
    out.left = flipArm(p.right);
    out.right = flipArm(p.left);
    out.leftLeg = flipLeg(p.rightLeg);
    out.rightLeg = flipLeg(p.leftLeg);
    return out;
}

} // namespace

Image drawBodyStand() {
    Image img = makeImage(68, 84, KeyGreen);
    drawFrontSkater(img, standing(39), {});
    return img;
}

Image drawBodyCrouch() {
    const double cx = 39;
    FrontPose p;
    p.centreX = cx;
    p.head = {cx, 25};
    p.shoulderY = 36;
    p.shoulderHalf = 11.5;
    p.waistY = 54;
    p.waistHalf = 9.5;
    p.left = {{cx - 11, 40}, {cx - 16, 50}, {cx - 12, 60}};
    p.right = {{cx + 11, 40}, {cx + 16, 50}, {cx + 12, 60}};
    p.leftLeg = {{cx - 5, 60}, {cx - 12, 66}, {cx - 8, 77.5}, -1};
    p.rightLeg = {{cx + 5, 60}, {cx + 12, 66}, {cx + 8, 77.5}, 1};
    Image img = makeImage(68, 84, KeyGreen);
    drawFrontSkater(img, p, {});
    return img;
}

Image drawBodySpread() {
    Image img = makeImage(69, 85, KeyGreen);
    drawFrontSkater(img, spread(35), {});
    return img;
}

Image drawBodySpreadAlt() {
    Image img = makeImage(69, 84, KeyGreen);
    drawFrontSkater(img, mirrored(spread(35), 33.5), {});
    return img;
}

FrontPose standingHoldingBoard(Point hand) {
    FrontPose p = standing(39);
    p.right.elbow = {p.right.shoulder.x + 4, 38};
    p.right.hand = hand;
    return p;
}

} // namespace artgen
