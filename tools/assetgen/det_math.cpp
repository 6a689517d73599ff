// Range reduction to [-pi/4, pi/4] and Taylor polynomials; accurate to about
// 1e-15, far below the five or six decimals the files are written with.
#include "tools/assetgen/det_math.h"

#include <cmath>

namespace assetgen {
namespace {

// pi/2 split in two parts so that x - k * pi/2 loses no bits for moderate k.
constexpr double kHalfPiHigh = 1.57079632673412561417;
constexpr double kHalfPiLow = 6.07710050650619224932e-11;

double sinPoly(double r) {
    const double r2 = r * r;
    double term = r;
    double sum = r;
    for (int n = 1; n <= 8; ++n) {
        term *= -r2 / ((2.0 * n) * (2.0 * n + 1.0));
        sum += term;
    }
    return sum;
}

double cosPoly(double r) {
    const double r2 = r * r;
    double term = 1.0;
    double sum = 1.0;
    for (int n = 1; n <= 8; ++n) {
        term *= -r2 / ((2.0 * n - 1.0) * (2.0 * n));
        sum += term;
    }
    return sum;
}

// Reduces x to r in [-pi/4, pi/4] with x = r + quadrant * pi/2.
double reduce(double x, long long& quadrant) {
    const double k = std::nearbyint(x / (kHalfPiHigh + kHalfPiLow));
    quadrant = static_cast<long long>(k);
    return (x - k * kHalfPiHigh) - k * kHalfPiLow;
}

// atan for 0 <= t <= 1: one halving step brings t below tan(pi/8), where the
// alternating series converges quickly.
double atanUnit(double t) {
    const double half = t / (1.0 + std::sqrt(1.0 + t * t));
    const double h2 = half * half;
    double power = half;
    double sum = half;
    for (int n = 1; n <= 24; ++n) {
        power *= -h2;
        sum += power / (2.0 * n + 1.0);
    }
    return 2.0 * sum;
}

}  // namespace

double detSin(double x) {
    long long quadrant = 0;
    const double r = reduce(x, quadrant);
    switch (((quadrant % 4) + 4) % 4) {
        case 0:
            return sinPoly(r);
        case 1:
            return cosPoly(r);
        case 2:
            return -sinPoly(r);
        default:
            return -cosPoly(r);
    }
}

double detCos(double x) {
    long long quadrant = 0;
    const double r = reduce(x, quadrant);
    switch (((quadrant % 4) + 4) % 4) {
        case 0:
            return cosPoly(r);
        case 1:
            return -sinPoly(r);
        case 2:
            return -cosPoly(r);
        default:
            return sinPoly(r);
    }
}

double detAtan2(double y, double x) {
    const double ax = std::fabs(x);
    const double ay = std::fabs(y);
    if (ax == 0.0 && ay == 0.0) return 0.0;
    double angle = ay <= ax ? atanUnit(ay / ax) : kPi / 2.0 - atanUnit(ax / ay);
    if (x < 0.0) angle = kPi - angle;
    return y < 0.0 ? -angle : angle;
}

}  // namespace assetgen
