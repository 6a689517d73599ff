// The generator's own sine, cosine and arc tangent, and its noise: accurate
// enough to stand in for the library's, and periodic where it must tile.
#include "tools/assetgen/det_math.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tools/assetgen/noise.h"

using namespace assetgen;

TEST(DetMath, MatchesTheLibraryFunctions) {
    for (double x = -50.0; x <= 50.0; x += 0.0137) {
        ASSERT_NEAR(detSin(x), std::sin(x), 1e-13) << x;
        ASSERT_NEAR(detCos(x), std::cos(x), 1e-13) << x;
    }
    for (double y = -3.0; y <= 3.0; y += 0.37) {
        for (double x = -3.0; x <= 3.0; x += 0.29) {
            ASSERT_NEAR(detAtan2(y, x), std::atan2(y, x), 1e-13) << y << " " << x;
        }
    }
    EXPECT_DOUBLE_EQ(detAtan2(0.0, 0.0), 0.0);
    EXPECT_NEAR(detAtan2(0.0, -1.0), kPi, 1e-15);
    EXPECT_NEAR(detAtan2(-1.0, 0.0), -kPi / 2.0, 1e-15);
}

TEST(Noise, TileableNoiseRepeatsWithItsPeriod) {
    for (double y = 0.0; y < 4.0; y += 0.31) {
        for (double x = 0.0; x < 4.0; x += 0.23) {
            ASSERT_NEAR(tileableNoise2(x, y, 4, 7u), tileableNoise2(x + 4.0, y, 4, 7u), 1e-12);
            ASSERT_NEAR(tileableNoise2(x, y, 4, 7u), tileableNoise2(x, y - 8.0, 4, 7u), 1e-12);
            ASSERT_NEAR(tileableFbm2(x, y, 4, 3, 9u), tileableFbm2(x + 4.0, y + 4.0, 4, 3, 9u),
                        1e-12);
        }
    }
}

TEST(Noise, StaysInRangeAndVanishesOnTheLattice) {
    double low = 0.0, high = 0.0;
    for (int i = 0; i < 20000; ++i) {
        const double v = gradientNoise3(i * 0.0173, i * 0.0311, i * 0.0071, 3u);
        low = std::min(low, v);
        high = std::max(high, v);
        ASSERT_LE(std::fabs(gradientNoise2(i * 0.0173, i * 0.0297, 5u)), 1.01);
    }
    EXPECT_GE(low, -1.01);
    EXPECT_LE(high, 1.01);
    EXPECT_LT(low, -0.3);  // and it does vary
    EXPECT_GT(high, 0.3);
    EXPECT_DOUBLE_EQ(gradientNoise2(3.0, -2.0, 5u), 0.0);
    EXPECT_DOUBLE_EQ(gradientNoise3(1.0, 2.0, -3.0, 5u), 0.0);
}

TEST(Noise, RandomIsSeededAndUniform) {
    Random a(42), b(42), c(43);
    double sum = 0.0;
    for (int i = 0; i < 10000; ++i) {
        const double x = a.uniform();
        ASSERT_EQ(x, b.uniform());
        ASSERT_GE(x, 0.0);
        ASSERT_LT(x, 1.0);
        sum += x;
    }
    EXPECT_NEAR(sum / 10000.0, 0.5, 0.02);
    EXPECT_NE(Random(42).next(), c.next());
}
