// Sine, cosine and arc tangent built from plain double arithmetic, so that the
// generated files come out bit for bit the same whatever C library the
// generator is linked against (libm results may differ in the last bit).
#pragma once

namespace assetgen {

constexpr double kPi = 3.14159265358979323846;

double detSin(double x);
double detCos(double x);
double detAtan2(double y, double x);

inline double radians(double degrees) { return degrees * (kPi / 180.0); }

}  // namespace assetgen
