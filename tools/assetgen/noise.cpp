// Perlin-style gradient noise on hashed lattice gradients with a quintic fade.
#include "tools/assetgen/noise.h"

#include <cmath>

namespace assetgen {
namespace {

// Sixteen unit directions in the plane (cosines and sines of k * 22.5
// degrees), written out so that no library call is involved.
constexpr double kDirections2[16][2] = {{1.0, 0.0},
                                        {0.92387953251, 0.38268343237},
                                        {0.70710678119, 0.70710678119},
                                        {0.38268343237, 0.92387953251},
                                        {0.0, 1.0},
                                        {-0.38268343237, 0.92387953251},
                                        {-0.70710678119, 0.70710678119},
                                        {-0.92387953251, 0.38268343237},
                                        {-1.0, 0.0},
                                        {-0.92387953251, -0.38268343237},
                                        {-0.70710678119, -0.70710678119},
                                        {-0.38268343237, -0.92387953251},
                                        {0.0, -1.0},
                                        {0.38268343237, -0.92387953251},
                                        {0.70710678119, -0.70710678119},
                                        {0.92387953251, -0.38268343237}};

// The twelve edge directions of a cube, as in improved Perlin noise.
constexpr double kDirections3[12][3] = {{1, 1, 0}, {-1, 1, 0}, {1, -1, 0}, {-1, -1, 0},
                                        {1, 0, 1}, {-1, 0, 1}, {1, 0, -1}, {-1, 0, -1},
                                        {0, 1, 1}, {0, -1, 1}, {0, 1, -1}, {0, -1, -1}};

double fade(double t) { return t * t * t * (t * (t * 6.0 - 15.0) + 10.0); }

// Lattice hashes: the coordinates spread by large odd multipliers, then one
// avalanche round.
std::uint32_t latticeHash2(std::int32_t ix, std::int32_t iy, std::uint32_t salt) {
    return hash32(static_cast<std::uint32_t>(ix) * 0x8da6b343u ^
                  static_cast<std::uint32_t>(iy) * 0xd8163841u ^ salt * 0x9e3779b9u);
}

std::uint32_t latticeHash3(std::int32_t ix, std::int32_t iy, std::int32_t iz, std::uint32_t salt) {
    return hash32(static_cast<std::uint32_t>(ix) * 0x8da6b343u ^
                  static_cast<std::uint32_t>(iy) * 0xd8163841u ^
                  static_cast<std::uint32_t>(iz) * 0xcb1ab31fu ^ salt * 0x9e3779b9u);
}

double corner2(std::int32_t ix, std::int32_t iy, double fx, double fy, std::uint32_t salt) {
    const double* g = kDirections2[latticeHash2(ix, iy, salt) & 15u];
    return g[0] * fx + g[1] * fy;
}

double corner3(std::int32_t ix, std::int32_t iy, std::int32_t iz, double fx, double fy, double fz,
               std::uint32_t salt) {
    const double* g = kDirections3[latticeHash3(ix, iy, iz, salt) % 12u];
    return g[0] * fx + g[1] * fy + g[2] * fz;
}

std::int32_t wrap(std::int32_t i, int period) {
    const std::int32_t m = i % period;
    return m < 0 ? m + period : m;
}

}  // namespace

std::uint32_t hash32(std::uint32_t x) {
    x ^= x >> 16;
    x *= 0x7feb352du;
    x ^= x >> 15;
    x *= 0x846ca68bu;
    x ^= x >> 16;
    return x;
}

std::uint32_t hashCombine(std::uint32_t salt, std::int32_t value) {
    return hash32(salt ^
                  (static_cast<std::uint32_t>(value) + 0x9e3779b9u + (salt << 6) + (salt >> 2)));
}

std::uint64_t Random::next() {
    state_ += 0x9e3779b97f4a7c15ull;
    std::uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    return z ^ (z >> 31);
}

double Random::uniform() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }

double Random::uniform(double low, double high) { return low + (high - low) * uniform(); }

double gradientNoise2(double x, double y, std::uint32_t salt) {
    const double x0 = std::floor(x);
    const double y0 = std::floor(y);
    const auto ix = static_cast<std::int32_t>(x0);
    const auto iy = static_cast<std::int32_t>(y0);
    const double fx = x - x0;
    const double fy = y - y0;
    const double u = fade(fx);
    const double v = fade(fy);
    const double a = corner2(ix, iy, fx, fy, salt);
    const double b = corner2(ix + 1, iy, fx - 1.0, fy, salt);
    const double c = corner2(ix, iy + 1, fx, fy - 1.0, salt);
    const double d = corner2(ix + 1, iy + 1, fx - 1.0, fy - 1.0, salt);
    return 1.4142135623730951 * mix(mix(a, b, u), mix(c, d, u), v);
}

double tileableNoise2(double x, double y, int period, std::uint32_t salt) {
    const double x0 = std::floor(x);
    const double y0 = std::floor(y);
    const auto ix = static_cast<std::int32_t>(x0);
    const auto iy = static_cast<std::int32_t>(y0);
    const double fx = x - x0;
    const double fy = y - y0;
    const double u = fade(fx);
    const double v = fade(fy);
    const std::int32_t x1 = wrap(ix, period), x2 = wrap(ix + 1, period);
    const std::int32_t y1 = wrap(iy, period), y2 = wrap(iy + 1, period);
    const double a = corner2(x1, y1, fx, fy, salt);
    const double b = corner2(x2, y1, fx - 1.0, fy, salt);
    const double c = corner2(x1, y2, fx, fy - 1.0, salt);
    const double d = corner2(x2, y2, fx - 1.0, fy - 1.0, salt);
    return 1.4142135623730951 * mix(mix(a, b, u), mix(c, d, u), v);
}

double gradientNoise3(double x, double y, double z, std::uint32_t salt) {
    const double x0 = std::floor(x);
    const double y0 = std::floor(y);
    const double z0 = std::floor(z);
    const auto ix = static_cast<std::int32_t>(x0);
    const auto iy = static_cast<std::int32_t>(y0);
    const auto iz = static_cast<std::int32_t>(z0);
    const double fx = x - x0;
    const double fy = y - y0;
    const double fz = z - z0;
    const double u = fade(fx);
    const double v = fade(fy);
    const double w = fade(fz);
    double layer[2];
    for (int k = 0; k < 2; ++k) {
        const double gz = fz - k;
        const double a = corner3(ix, iy, iz + k, fx, fy, gz, salt);
        const double b = corner3(ix + 1, iy, iz + k, fx - 1.0, fy, gz, salt);
        const double c = corner3(ix, iy + 1, iz + k, fx, fy - 1.0, gz, salt);
        const double d = corner3(ix + 1, iy + 1, iz + k, fx - 1.0, fy - 1.0, gz, salt);
        layer[k] = mix(mix(a, b, u), mix(c, d, u), v);
    }
    return mix(layer[0], layer[1], w);
}

double fbm2(double x, double y, int octaves, std::uint32_t salt, double gain) {
    double sum = 0.0, amplitude = 1.0, norm = 0.0;
    for (int o = 0; o < octaves; ++o) {
        sum += amplitude * gradientNoise2(x, y, salt + 101u * static_cast<std::uint32_t>(o));
        norm += amplitude;
        amplitude *= gain;
        x *= 2.0;
        y *= 2.0;
    }
    return sum / norm;
}

double fbm3(double x, double y, double z, int octaves, std::uint32_t salt, double gain) {
    double sum = 0.0, amplitude = 1.0, norm = 0.0;
    for (int o = 0; o < octaves; ++o) {
        sum += amplitude * gradientNoise3(x, y, z, salt + 101u * static_cast<std::uint32_t>(o));
        norm += amplitude;
        amplitude *= gain;
        x *= 2.0;
        y *= 2.0;
        z *= 2.0;
    }
    return sum / norm;
}

double tileableFbm2(double x, double y, int period, int octaves, std::uint32_t salt, double gain) {
    double sum = 0.0, amplitude = 1.0, norm = 0.0;
    for (int o = 0; o < octaves; ++o) {
        sum +=
            amplitude * tileableNoise2(x, y, period, salt + 101u * static_cast<std::uint32_t>(o));
        norm += amplitude;
        amplitude *= gain;
        x *= 2.0;
        y *= 2.0;
        period *= 2;
    }
    return sum / norm;
}

double smoothstep(double edge0, double edge1, double x) {
    const double t = clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3.0 - 2.0 * t);
}

double clamp01(double x) { return x < 0.0 ? 0.0 : (x > 1.0 ? 1.0 : x); }

double mix(double a, double b, double t) { return a + (b - a) * t; }

}  // namespace assetgen
