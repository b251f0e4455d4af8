#include "tools/artgen/sounds.h"

#include "tools/artgen/detmath.h"

#include <cmath>

namespace artgen {
namespace {

// The per-sample factor that makes a level fall to 1/e in tau seconds: exp(-1 / (tau * rate)),
// by its series, which is exact enough for such small steps.
double decayFactor(double tau) {
    const double x = -1.0 / (tau * SampleRate);
    double term = 1.0;
    double sum = 1.0;
    for (int n = 1; n < 12; ++n) {
        term *= x / n;
        sum += term;
    }
    return sum;
}

// A two-pole resonator: rings at `frequency` for about `tau` seconds when struck.
struct Resonator {
    double a1 = 0;
    double a2 = 0;
    double y1 = 0;
    double y2 = 0;
};

Resonator makeResonator(double frequency, double tau) {
    const double r = decayFactor(tau);
    Resonator res;
    res.a1 = 2.0 * r * detCos(2.0 * Pi * frequency / SampleRate);
    res.a2 = -r * r;
    return res;
}

double ring(Resonator& res, double input) {
    const double y = input + res.a1 * res.y1 + res.a2 * res.y2;
    res.y2 = res.y1;
    res.y1 = y;
    return y;
}

// A sine whose pitch glides from `from` to `to` hertz, falling off with `tau`.
struct Glide {
    double phase = 0;
    double level = 1;
    double from = 0;
    double to = 0;
    double glideTau = 0;
    double pitch = 0;
    double pitchFactor = 0;
    double levelFactor = 0;
};

Glide makeGlide(double from, double to, double glideTau, double tau) {
    return {0, 1, from, to, glideTau, 1.0, decayFactor(glideTau), decayFactor(tau)};
}

double step(Glide& g) {
    const double f = g.to + (g.from - g.to) * g.pitch;
    const double out = detSin(g.phase) * g.level;
    g.phase += 2.0 * Pi * f / SampleRate;
    g.pitch *= g.pitchFactor;
    g.level *= g.levelFactor;
    return out;
}

// Scales both channels so that the loudest sample is `peak` of full scale, fades in over the
// first samples, and fades out to exactly zero on the last frame, so nothing clicks.
std::vector<Frame> finish(const std::vector<double>& left, const std::vector<double>& right,
                          double peak, int fadeIn, int fadeOut) {
    const std::size_t n = left.size();
    std::vector<double> gain(n, 1.0);
    for (std::size_t i = 0; i < n; ++i) {
        if (i < static_cast<std::size_t>(fadeIn)) {
            gain[i] = static_cast<double>(i) / fadeIn;
        }
        const std::size_t fromEnd = n - 1 - i;
        if (fromEnd < static_cast<std::size_t>(fadeOut)) {
            const double t = static_cast<double>(fromEnd) / fadeOut;
            gain[i] *= t * t;
        }
    }
    double loudest = 0;
    for (std::size_t i = 0; i < n; ++i) {
        loudest = std::max(loudest, std::fabs(left[i] * gain[i]));
        loudest = std::max(loudest, std::fabs(right[i] * gain[i]));
    }
    const double scale = loudest > 0 ? peak * 32767.0 / loudest : 0.0;
    std::vector<Frame> frames(n);
    for (std::size_t i = 0; i < n; ++i) {
        frames[i].left = static_cast<int16_t>(roundToInt(left[i] * gain[i] * scale));
        frames[i].right = static_cast<int16_t>(roundToInt(right[i] * gain[i] * scale));
    }
    return frames;
}

} // namespace

std::vector<Frame> makeHit() {
    std::vector<double> left(HitFrames), right(HitFrames);
    Rng rng{0xB0A2D5u};
    // The deck's thump, dropping in pitch as the board settles, and the wood's knock.
    Glide thud = makeGlide(130, 62, 0.02, 0.04);
    Resonator knockL = makeResonator(410, 0.022);
    Resonator knockR = makeResonator(430, 0.022);
    // The click of the wheels and trucks meeting the ground.
    Resonator clickL = makeResonator(2300, 0.006);
    Resonator clickR = makeResonator(2450, 0.006);
    Resonator truck = makeResonator(1620, 0.03);
    double burst = 1.0;
    const double burstFactor = decayFactor(0.0025);
    // Then the wheels roll on the pavement: a soft, dark hiss that dies away.
    double roll = 1.0;
    const double rollFactor = decayFactor(0.06);
    double rollLowL = 0;
    double rollLowR = 0;
    double lastNoise = 0;
    for (int i = 0; i < HitFrames; ++i) {
        const double noise = signedUniform(rng);
        const double bright = noise - lastNoise; // high-passed, for the click
        lastNoise = noise;
        const double strike = bright * burst;
        rollLowL += (signedUniform(rng) - rollLowL) * 0.08;
        rollLowR += (signedUniform(rng) - rollLowR) * 0.08;
        const double low = step(thud) * 0.8;
        const double metal = ring(truck, strike * 0.04);
        left[i] = low + ring(knockL, strike * 0.05) + ring(clickL, strike * 0.2) + strike * 0.3 +
                  metal + rollLowL * roll * 0.35;
        right[i] = low + ring(knockR, strike * 0.05) + ring(clickR, strike * 0.2) + strike * 0.27 +
                   metal + rollLowR * roll * 0.35;
        burst *= burstFactor;
        roll *= rollFactor;
    }
    return finish(left, right, 0.72, 12, 1500);
}

std::vector<Frame> makeSmack() {
    std::vector<double> left(SmackFrames), right(SmackFrames);
    Rng rng{0x5AC4u};
    Resonator woodL = makeResonator(720, 0.014);
    Resonator woodR = makeResonator(760, 0.014);
    Resonator crack = makeResonator(1750, 0.008);
    Resonator knock = makeResonator(310, 0.02);
    Glide thump = makeGlide(210, 110, 0.012, 0.022);
    double burst = 1.0;
    const double burstFactor = decayFactor(0.0012);
    // The wheels touch down a moment after the tail: a second, softer tap.
    const int tapAt = 1150;
    double tap = 0.0;
    const double tapFactor = decayFactor(0.0015);
    double lastNoise = 0;
    for (int i = 0; i < SmackFrames; ++i) {
        const double noise = signedUniform(rng);
        const double bright = noise - lastNoise;
        lastNoise = noise;
        if (i == tapAt) {
            tap = 0.35;
        }
        const double strike = bright * (burst + tap);
        const double wood = ring(crack, strike * 0.3) + ring(knock, strike * 0.04);
        const double low = step(thump) * 0.45;
        left[i] = ring(woodL, strike * 0.12) + wood + strike * 0.5 + low;
        right[i] = ring(woodR, strike * 0.12) + wood + strike * 0.45 + low;
        burst *= burstFactor;
        tap *= tapFactor;
    }
    return finish(left, right, 0.78, 8, 700);
}

} // namespace artgen
