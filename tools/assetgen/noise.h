// Deterministic pseudo-random numbers and gradient noise for the asset
// generator. Everything is integer hashing plus double arithmetic, so the
// same salt gives the same values on every machine and library version.
#pragma once

#include <cstdint>

namespace assetgen {

// 32-bit integer hash with good avalanche (xorshift-multiply rounds).
std::uint32_t hash32(std::uint32_t x);
std::uint32_t hashCombine(std::uint32_t salt, std::int32_t value);

// A small seeded generator (SplitMix64) for the few random choices.
class Random {
  public:
    explicit Random(std::uint64_t salt) : state_(salt) {}
    std::uint64_t next();
    double uniform();  // [0, 1)
    double uniform(double low, double high);

  private:
    std::uint64_t state_;
};

// Gradient noise in about [-1, 1], zero at the lattice points.
double gradientNoise2(double x, double y, std::uint32_t salt);
double gradientNoise3(double x, double y, double z, std::uint32_t salt);
// Gradient noise that repeats with the integer period in x and y.
double tileableNoise2(double x, double y, int period, std::uint32_t salt);

// Sums of octaves at doubling frequency and `gain` times the amplitude,
// normalised so that the result stays in about [-1, 1].
double fbm2(double x, double y, int octaves, std::uint32_t salt, double gain = 0.5);
double fbm3(double x, double y, double z, int octaves, std::uint32_t salt, double gain = 0.5);
// Repeats with `period` (the first octave's lattice period) in x and y.
double tileableFbm2(double x, double y, int period, int octaves, std::uint32_t salt,
                    double gain = 0.5);

// Hermite ramp from 0 at edge0 to 1 at edge1, clamped outside.
double smoothstep(double edge0, double edge1, double x);
double clamp01(double x);
double mix(double a, double b, double t);

}  // namespace assetgen
