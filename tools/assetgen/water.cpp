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
#include "tools/assetgen/parallel.h"

namespace assetgen {
namespace {

constexpr double kHalfSize = 24.0;
constexpr int kCells = 32;
constexpr int kSeaTextureSize = 512;

constexpr std::uint32_t kSeaColourSeed = 4101u;
constexpr std::uint32_t kSeaStreakSeed = 4201u;
constexpr std::uint32_t kSeaChopSeed = 4301u;
constexpr std::uint32_t kSeaWaveSeed = 4401u;

// The size the normal map's heights are made for, in world units. The
// shader draws the map at two scales (tiles of about 40 and 16 world units)
// and scales its slopes to taste.
constexpr double kRippleTileWorld = 20.0;

// Waves with whole numbers of crests across the tile, so that the tile
// repeats seamlessly: wave vector (cycles along u, cycles along v), height in
// world units, phase in 1/1024 of a turn.
struct Wave {
    int ku, kv;
    double height;
    int phase;
};

// Four bands of wind waves an octave or more apart, from swells half a tile
// long to ripples a sixtieth of it, spread around one wind direction;
// each band's waves are a little less steep than the band's above, so that
// every scale shows.
std::vector<Wave> makeWaves() {
    struct Band {
        double shortestCycles, longestCycles;
        int count;
        double steepness;  // 2 pi times height over wavelength
    };
    const Band bands[] = {{2.0, 4.5, 5, 0.06},
                          {5.0, 11.0, 9, 0.05},
                          {12.0, 26.0, 12, 0.042},
                          {28.0, 60.0, 16, 0.034}};
    std::vector<Wave> waves;
    Random random(kSeaWaveSeed);
    for (const Band& band : bands) {
        for (int i = 0; i < band.count; ++i) {
            const double cycles = random.uniform(band.shortestCycles, band.longestCycles);
            const double angle = radians(30.0 + random.uniform(-80.0, 80.0));
            const int ku = static_cast<int>(std::lround(cycles * detCos(angle)));
            const int kv = static_cast<int>(std::lround(cycles * detSin(angle)));
            if (ku == 0 && kv == 0) continue;
            const double length = std::sqrt(static_cast<double>(ku * ku + kv * kv));
            const double wavelength = kRippleTileWorld / length;
            const double height =
                band.steepness * random.uniform(0.7, 1.3) * wavelength / (2.0 * kPi);
            waves.push_back({ku, kv, height, static_cast<int>(random.uniform(0.0, 1024.0))});
        }
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
    // Heights in world units over a tile of kRippleTileWorld; the normal's x
    // runs along +u and y along +v (down the rows). The texel centres lie at
    // half-texel steps, so each wave's angle is a whole number of 1/1024
    // turns of a table for a 512-texel tile, the same on every machine.
    constexpr int kTurn = 2 * kSeaTextureSize;
    const int n = kSeaTextureSize;
    std::vector<double> sine(kTurn);
    for (int i = 0; i < kTurn; ++i) sine[i] = detSin(2.0 * kPi * i / kTurn);
    const std::vector<Wave> waves = makeWaves();
    std::vector<double> heights(static_cast<std::size_t>(n) * n);
    parallelRows(n, [&](int y) {
        for (int x = 0; x < n; ++x) {
            double h = 0.0;
            for (const Wave& w : waves) {
                const int turn =
                    ((w.ku * (2 * x + 1) + w.kv * (2 * y + 1) + w.phase) % kTurn + kTurn) % kTurn;
                // Sharp crests and broad troughs: the cube of a raised sine,
                // centred on zero.
                const double raised = 0.5 + 0.5 * sine[turn];
                h += w.height * (2.0 * raised * raised * raised - 0.5);
            }
            // Fine chop: creased noise, sharp where the noise changes sign.
            const double u = (x + 0.5) / n, v = (y + 0.5) / n;
            const double crease =
                1.0 - std::fabs(tileableFbm2(u * 48.0, v * 48.0, 48, 2, kSeaChopSeed));
            h += 0.006 * crease * crease;
            heights[static_cast<std::size_t>(y) * n + x] = h;
        }
    });
    Image image(n, n, 3);
    const double texel = kRippleTileWorld / n;
    auto height = [&](int px, int py) {
        return heights[static_cast<std::size_t>((py + n) % n) * n + (px + n) % n];
    };
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            const double du = (height(x + 1, y) - height(x - 1, y)) / (2.0 * texel);
            const double dv = (height(x, y + 1) - height(x, y - 1)) / (2.0 * texel);
            image.set(x, y, encodeNormal(glm::normalize(glm::dvec3(-du, -dv, 1.0))));
        }
    }
    return encodeTga(image);
}

}  // namespace assetgen
