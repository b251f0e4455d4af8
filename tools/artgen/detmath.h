#pragma once
// Arithmetic that gives the same bits on every build: a seeded generator, hashed noise and a
// sine made of plain + - * / only. Library sin and exp may differ between optimisation levels
// (compile-time folding against run-time calls), and the outputs must match byte for byte.

#include <cmath>
#include <cstdint>

namespace artgen {

inline constexpr double Pi = 3.14159265358979323846;

// xorshift32; the state must not be zero.
struct Rng {
    uint32_t state = 0x9E3779B9u;
};

inline uint32_t nextU32(Rng& rng) {
    uint32_t x = rng.state;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    rng.state = x;
    return x;
}

// Uniform in [0, 1).
inline double uniform(Rng& rng) {
    return nextU32(rng) * (1.0 / 4294967296.0);
}

// Uniform in [-1, 1).
inline double signedUniform(Rng& rng) {
    return uniform(rng) * 2.0 - 1.0;
}

// Uniform integer in [lo, hi].
inline int uniformInt(Rng& rng, int lo, int hi) {
    return lo + static_cast<int>(nextU32(rng) % static_cast<uint32_t>(hi - lo + 1));
}

// A hash of a lattice point, in [0, 1).
inline double latticeHash(int x, int y, uint32_t seed) {
    uint32_t h = static_cast<uint32_t>(x) * 0x8DA6B343u ^ static_cast<uint32_t>(y) * 0xD8163841u ^
                 seed * 0xCB1AB31Fu;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h * (1.0 / 4294967296.0);
}

// Smooth value noise in [0, 1): lattice hashes blended with a smoothstep.
inline double valueNoise(double x, double y, uint32_t seed) {
    const double fx = std::floor(x);
    const double fy = std::floor(y);
    const int ix = static_cast<int>(fx);
    const int iy = static_cast<int>(fy);
    double tx = x - fx;
    double ty = y - fy;
    tx = tx * tx * (3.0 - 2.0 * tx);
    ty = ty * ty * (3.0 - 2.0 * ty);
    const double a = latticeHash(ix, iy, seed);
    const double b = latticeHash(ix + 1, iy, seed);
    const double c = latticeHash(ix, iy + 1, seed);
    const double d = latticeHash(ix + 1, iy + 1, seed);
    const double top = a + (b - a) * tx;
    const double bottom = c + (d - c) * tx;
    return top + (bottom - top) * ty;
}

// sin(x) to about 1e-9, from a range reduction and an odd polynomial.
inline double detSin(double x) {
    const double turns = std::floor(x / (2.0 * Pi) + 0.5);
    double r = x - turns * (2.0 * Pi); // now in [-pi, pi]
    if (r > Pi / 2) {
        r = Pi - r;
    } else if (r < -Pi / 2) {
        r = -Pi - r;
    }
    const double r2 = r * r;
    // Taylor series to r^15, ample on [-pi/2, pi/2].
    double term = r;
    double sum = r;
    for (int n = 1; n <= 7; ++n) {
        term *= -r2 / ((2.0 * n) * (2.0 * n + 1.0));
        sum += term;
    }
    return sum;
}

inline double detCos(double x) {
    return detSin(x + Pi / 2);
}

inline int roundToInt(double v) {
    return static_cast<int>(std::floor(v + 0.5));
}

inline double clamp01(double v) {
    return v < 0.0 ? 0.0 : (v > 1.0 ? 1.0 : v);
}

} // namespace artgen
