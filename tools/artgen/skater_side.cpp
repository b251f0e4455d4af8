// The skater in profile, facing right: the pose of the side slide on a rail, his feet on a
// board seen end-on under columns 24 to 37.

#include "tools/artgen/detmath.h"
#include "tools/artgen/palette.h"
#include "tools/artgen/skater.h"

namespace artgen {
namespace {

namespace pal = palette;

// The far limbs are a shade darker, being in the body's shadow.
Shade farShade(const Shade& s) {
    return {s.base, s.dark, mix(s.dark, pal::Outline, 0.35)};
}

void limb(Image& img, const std::vector<Point>& chain, double r, const Shade& shade) {
    Mask m = makeMask(img.width, img.height);
    addLimb(m, chain, r);
    paintPart(img, m, shade, pal::Outline, 2);
}

void shoe(Image& img, Point heel, Point toe, const Shade& shade) {
    Mask m = makeMask(img.width, img.height);
    addCapsule(m, heel, toe, 2.4);
    paintPart(img, m, shade, pal::Outline, 1);
    paintSole(img, m);
}

} // namespace

Image drawBodySide() {
    Image img = makeImage(68, 84, KeyGreen);
    const Point head{33, 12};

    // Far side first: arm and leg behind the body.
    limb(img, {{29, 28}, {26, 38}, {27, 47}}, 2.2, farShade(pal::Skin));
    limb(img, {{29, 51}, {33, 64}, {28, 77.5}}, 4.1, farShade(pal::Jeans));
    shoe(img, {26, 80.6}, {34.5, 81}, farShade(pal::Shoe));

    // Jeans seat and near leg, knee a little bent as he balances on the rail.
    Mask jeans = makeMask(img.width, img.height);
    addPolygon(jeans, {{24, 44}, {36, 44}, {37, 53}, {24.5, 54}});
    addLimb(jeans, {{31, 51}, {35, 64}, {31, 77.5}}, 4.3);
    paintPart(img, jeans, pal::Jeans, pal::Outline, 2);
    shoe(img, {28.5, 80.6}, {37, 81}, pal::Shoe);

    // Neck and T-shirt, a little rounded at the back.
    Mask neck = makeMask(img.width, img.height);
    addCapsule(neck, {31, 19}, {30, 25}, 2.6);
    paintPart(img, neck, pal::Skin, pal::Outline, 1);
    Mask shirt = makeMask(img.width, img.height);
    addPolygon(shirt, {{24, 27}, {36, 25.5}, {37, 45}, {23.5, 45}});
    addEllipse(shirt, {28.5, 29}, 5.5, 4.5); // shoulder blades
    addEllipse(shirt, {33.0, 31}, 4.4, 5.0); // chest
    paintPart(img, shirt, pal::Shirt, pal::Outline, 2);

    // Near arm hanging in front of the body, the hand a little forward.
    Mask arm = makeMask(img.width, img.height);
    addLimb(arm, {{31, 28}, {33, 38}, {35.5, 47}}, 2.3);
    addCapsule(arm, {35.5, 47}, {35.5, 47}, 2.8);
    paintPart(img, arm, pal::Skin, pal::Outline, 1);
    Mask sleeve = makeMask(img.width, img.height);
    addCapsule(sleeve, {31, 28}, {32, 33.5}, 3.5);
    paintPart(img, sleeve, pal::Shirt, pal::Outline, 2);

    // Head in profile: the nose to the right, an ear in the middle.
    Mask face = makeMask(img.width, img.height);
    addEllipse(face, head, 6.4, 8.0);
    addEllipse(face, {head.x + 6.2, head.y + 1.5}, 1.6, 1.6); // nose
    paintPart(img, face, pal::Skin, pal::Outline, 2);
    Mask ear = makeMask(img.width, img.height);
    addEllipse(ear, {head.x - 1.5, head.y + 1.5}, 1.6, 2.2);
    paintPart(img, ear, pal::Skin, pal::Outline, 1);
    Mask hair = makeMask(img.width, img.height);
    addEllipse(hair, {head.x - 5.0, head.y - 0.5}, 2.2, 3.0);
    paintShaded(img, hair, pal::Hair, 1);
    put(img, roundToInt(head.x + 3.5), roundToInt(head.y + 0.5), pal::Eye);
    put(img, roundToInt(head.x + 3.5), roundToInt(head.y + 1.5), pal::Eye);
    put(img, roundToInt(head.x + 4.5), roundToInt(head.y + 5.5), pal::Mouth);
    put(img, roundToInt(head.x + 3.5), roundToInt(head.y + 5.5), pal::Mouth);

    // The cap, its peak pointing forward.
    Mask dome = makeMask(img.width, img.height);
    addEllipse(dome, {head.x - 0.5, head.y - 3.2}, 7.2, 6.2);
    Mask below = makeMask(img.width, img.height);
    addBox(below, 0, roundToInt(head.y - 1.0), img.width, img.height);
    removeMask(dome, below);
    paintPart(img, dome, pal::CapRed, pal::Outline, 2);
    Mask peak = makeMask(img.width, img.height);
    addPolygon(peak, {{head.x + 2, head.y - 4},
                      {head.x + 12.5, head.y - 2.0},
                      {head.x + 12.5, head.y - 0.4},
                      {head.x + 2, head.y - 1.2}});
    const Shade peakShade{pal::CapRed.base, pal::CapRed.dark, pal::CapPeakShadow};
    paintPart(img, peak, peakShade, pal::Outline, 1);
    return img;
}

} // namespace artgen
