// The sea: a flat grid in the model's y = 0 plane and two tileable textures.
//
// The plane spans +-24 model units (+-336 world units after the scale of 14),
// beyond anything the camera sees on its flight. Its texture coordinates
// repeat the sea textures once per model unit (14 world units), with u along
// +x and v along -z, so that N = T x B like the island's.
#include <cmath>
#include <vector>

#include "tools/assetgen/asset_pack.h"
#include "tools/assetgen/det_math.h"
#include "tools/assetgen/image.h"
#include "tools/assetgen/noise.h"
#include "tools/assetgen/obj_builder.h"

namespace assetgen {
namespace {

constexpr double kHalfSize = 24.0;
constexpr int kCells = 32;
constexpr int kSeaTextureSize = 512;

constexpr std::uint32_t kSeaColourSeed = 4101u;
constexpr std::uint32_t kSeaStreakSeed = 4201u;
constexpr std::uint32_t kSeaRippleSeed = 4301u;
constexpr std::uint32_t kSeaWaveSeed = 4401u;

// Waves with whole numbers of crests across the tile, so that the tile
// repeats seamlessly: wave vector (cycles along u, cycles along v), height in
// world units, phase. Long swells first, then shorter wind waves spread
// around the same direction.
struct Wave {
    int ku, kv;
    double height;
    double phase;
};

std::vector<Wave> makeWaves() {
    std::vector<Wave> waves = {{1, 2, 0.050, 0.3},
                               {3, -1, 0.035, 1.9},
                               {2, 3, 0.028, 4.1},
                               {-4, 1, 0.022, 2.6},
                               {5, 2, 0.016, 5.3}};
    Random random(kSeaWaveSeed);
    for (int i = 0; i < 24; ++i) {
        const double cycles = random.uniform(6.0, 22.0);
        const double angle = radians(30.0 + random.uniform(-70.0, 70.0));
        const int ku = static_cast<int>(std::lround(cycles * detCos(angle)));
        const int kv = static_cast<int>(std::lround(cycles * detSin(angle)));
        if (ku == 0 && kv == 0) continue;
        waves.push_back(
            {ku, kv, 0.05 / cycles * random.uniform(0.6, 1.2), random.uniform(0.0, 2.0 * kPi)});
    }
    return waves;
}

}  // namespace

std::string makeWaterPlaneObj() {
    ObjBuilder obj;
    const int stride = kCells + 1;
    for (int j = 0; j <= kCells; ++j) {
        for (int i = 0; i <= kCells; ++i) {
            const double x = -kHalfSize + 2.0 * kHalfSize * i / kCells;
            const double z = -kHalfSize + 2.0 * kHalfSize * j / kCells;
            obj.addPosition(glm::dvec3(x, 0.0, z));
            // A quarter-tile offset keeps corners off the texture-space axes.
            obj.addTexCoord(glm::dvec2(x + 0.25, -z + 0.25));
        }
    }
    const glm::dvec3 up(0.0, 1.0, 0.0);
    for (int j = 0; j < kCells; ++j) {
        for (int i = 0; i < kCells; ++i) {
            const int a = j * stride + i, b = a + 1, d = a + stride, c = d + 1;
            obj.addTriangleFacing(a, d, c, a, d, c, up);
            obj.addTriangleFacing(a, c, b, a, c, b, up);
        }
    }
    return obj.toText("island water plane: y = 0, +-24 model units");
}

std::string makeSeaTexture() {
    // Translucent teal with soft, large-scale variation: the texture is
    // magnified and minified without mipmaps, so it carries no fine detail.
    Image image(kSeaTextureSize, kSeaTextureSize, 4);
    for (int y = 0; y < kSeaTextureSize; ++y) {
        for (int x = 0; x < kSeaTextureSize; ++x) {
            const double u = (x + 0.5) / kSeaTextureSize;
            const double v = (y + 0.5) / kSeaTextureSize;
            const double large = tileableFbm2(u * 4.0, v * 4.0, 4, 3, kSeaColourSeed);
            const double streak = tileableFbm2(u * 8.0, v * 2.0, 2, 2, kSeaStreakSeed);
            glm::dvec3 colour = glm::mix(glm::dvec3(0.06, 0.26, 0.33), glm::dvec3(0.13, 0.42, 0.46),
                                         clamp01(0.5 + 0.8 * large));
            colour += glm::dvec3(0.04, 0.05, 0.05) * smoothstep(0.2, 0.6, streak);
            const double alpha = 0.66 + 0.06 * large;
            image.set(x, y, glm::dvec4(colour, alpha));
        }
    }
    return encodeTga(image);
}

std::string makeSeaNormalMap() {
    // Heights in world units over a tile of 14 world units; the normal's x
    // runs along +u and y along +v (down the rows).
    constexpr double kTileWorld = 14.0;
    const int n = kSeaTextureSize;
    std::vector<double> ripples(static_cast<std::size_t>(n) * n);
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            ripples[static_cast<std::size_t>(y) * n + x] =
                0.012 *
                tileableFbm2((x + 0.5) / n * 16.0, (y + 0.5) / n * 16.0, 16, 3, kSeaRippleSeed);
        }
    }
    const std::vector<Wave> waves = makeWaves();
    Image image(n, n, 3);
    const double texel = kTileWorld / n;
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            const double u = (x + 0.5) / n;
            const double v = (y + 0.5) / n;
            double du = 0.0, dv = 0.0;
            for (const Wave& w : waves) {
                const double angle = 2.0 * kPi * (w.ku * u + w.kv * v) + w.phase;
                // Sharper crests: the slope of h * sin(angle) + 0.25 h sin(2 angle).
                const double slope =
                    w.height * 2.0 * kPi * (detCos(angle) + 0.5 * detCos(2.0 * angle));
                du += slope * w.ku / kTileWorld;
                dv += slope * w.kv / kTileWorld;
            }
            auto r = [&](int px, int py) {
                return ripples[static_cast<std::size_t>((py + n) % n) * n + (px + n) % n];
            };
            du += (r(x + 1, y) - r(x - 1, y)) / (2.0 * texel);
            dv += (r(x, y + 1) - r(x, y - 1)) / (2.0 * texel);
            image.set(x, y, encodeNormal(glm::normalize(glm::dvec3(-du, -dv, 1.0))));
        }
    }
    return encodeTga(image);
}

}  // namespace assetgen
