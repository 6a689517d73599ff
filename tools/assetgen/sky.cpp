// A summer sky: deep blue at the zenith, pale haze at the horizon, a warm sun
// glow towards the light's start position, soft cumulus clouds; below the
// horizon the colour of deep sea, so that the box meets the water plane.
#include "tools/assetgen/sky.h"

#include <cmath>
#include <map>
#include <tuple>

#include "tools/assetgen/asset_pack.h"
#include "tools/assetgen/image.h"
#include "tools/assetgen/noise.h"
#include "tools/assetgen/obj_builder.h"
#include "tools/assetgen/parallel.h"
#include "tools/assetgen/scene_frames.h"

namespace assetgen {
namespace {

constexpr std::uint32_t kCloudSeed = 3101u;
constexpr std::uint32_t kWispSeed = 3201u;

const glm::dvec3 kHaze(0.78, 0.85, 0.90);
const glm::dvec3 kSeaNear(0.33, 0.48, 0.56);
const glm::dvec3 kSeaDeep(0.07, 0.22, 0.30);
const glm::dvec3 kCloudLit(0.98, 0.98, 0.97);
const glm::dvec3 kCloudShade(0.66, 0.70, 0.78);

const SkyFace kFaces[6] = {
    {{0, 1, 0}, {1, 0, 0}, {0, 0, 1}, 0, 0},     // zenith: north at the top of the tile
    {{0, -1, 0}, {1, 0, 0}, {0, 0, -1}, 1, 0},   // nadir
    {{0, 0, -1}, {1, 0, 0}, {0, -1, 0}, 0, 1},   // north: looking along -z, east to the right
    {{1, 0, 0}, {0, 0, 1}, {0, -1, 0}, 1, 1},    // east
    {{0, 0, 1}, {-1, 0, 0}, {0, -1, 0}, 0, 2},   // south
    {{-1, 0, 0}, {0, 0, -1}, {0, -1, 0}, 1, 2},  // west
};

double powInt(double x, int n) {
    double result = 1.0;
    while (n > 0) {
        if (n & 1) result *= x;
        x *= x;
        n >>= 1;
    }
    return result;
}

glm::dvec3 clearSky(double elevation) {
    const glm::dvec3 sky = glm::mix(kSkyZenith, kSkyHorizon, powInt(1.0 - elevation, 4));
    return glm::mix(sky, kHaze, smoothstep(0.06, 0.0, elevation));
}

}  // namespace

const SkyFace* skyFaces() { return kFaces; }

glm::dvec2 skyTexCoord(const SkyFace& face, double a, double b) {
    const double inner = kSkyTileSize - 2.0 * kSkyTilePadding;
    const double x = face.tileColumn * kSkyTileSize + kSkyTilePadding + 0.5 * (a + 1.0) * inner;
    const double y = face.tileRow * kSkyTileSize + kSkyTilePadding + 0.5 * (b + 1.0) * inner;
    return glm::dvec2(x / kSkyAtlasWidth, y / kSkyAtlasHeight);
}

glm::dvec3 skyColour(const glm::dvec3& direction) {
    const glm::dvec3 d = glm::normalize(direction);
    const double e = d.y;
    if (e < 0.0) {
        const double depth = smoothstep(0.0, -0.25, e);
        glm::dvec3 sea = glm::mix(kSeaNear, kSeaDeep, depth);
        return glm::mix(kHaze, sea, smoothstep(0.0, -0.03, e));
    }
    glm::dvec3 sky = clearSky(e);

    const glm::dvec3 sun = glm::normalize(glm::dvec3(kLightStart));
    const double towardsSun = glm::dot(d, sun);
    if (towardsSun > 0.0) {
        sky = glm::mix(
            sky, kSkyGlow,
            kSkyGlowTight * powInt(towardsSun, 48) + kSkyGlowBroad * powInt(towardsSun, 6));
    }

    // Clouds on a flat layer: the plane coordinates grow towards the horizon,
    // where the clouds thin out into the haze.
    const double lift = e + 0.10;
    const double cx = d.x / lift * 0.9;
    const double cz = d.z / lift * 0.9;
    const double density =
        fbm2(cx, cz, 6, kCloudSeed, 0.55) + 0.15 * fbm2(cx * 3.0, cz * 3.0, 3, kWispSeed);
    const double cover = smoothstep(0.02, 0.38, density) * smoothstep(0.02, 0.20, e);
    if (cover > 0.0) {
        // Lit on the sun's side: compare with the density a step towards the sun.
        const double ahead = fbm2(cx + 0.08 * sun.x, cz + 0.08 * sun.z, 6, kCloudSeed, 0.55);
        const double lit = clamp01(0.6 + 4.0 * (density - ahead) + 0.5 * (density - 0.2));
        const glm::dvec3 cloud = glm::mix(kCloudShade, kCloudLit, lit);
        sky = glm::mix(sky, cloud, 0.92 * cover);
    }
    return sky;
}

std::string makeSkyboxObj() {
    ObjBuilder obj;
    std::map<std::tuple<int, int, int>, int> corners;
    auto corner = [&](const glm::dvec3& world) {
        const glm::dvec3 m = skyDirectionToModel(world);
        const auto key =
            std::make_tuple(static_cast<int>(std::lround(m.x)), static_cast<int>(std::lround(m.y)),
                            static_cast<int>(std::lround(m.z)));
        const auto found = corners.find(key);
        if (found != corners.end()) return found->second;
        const int index = obj.addPosition(m);
        corners.emplace(key, index);
        return index;
    };
    for (int f = 0; f < 6; ++f) {
        const SkyFace& face = kFaces[f];
        const double a[4] = {-1, 1, 1, -1};
        const double b[4] = {-1, -1, 1, 1};
        int p[4], t[4];
        for (int c = 0; c < 4; ++c) {
            p[c] = corner(face.direction + a[c] * face.across + b[c] * face.down);
            t[c] = obj.addTexCoord(skyTexCoord(face, a[c], b[c]));
        }
        // Seen from inside: the front faces the centre of the box.
        const glm::dvec3 inward = skyDirectionToModel(-face.direction);
        obj.addTriangleFacing(p[0], p[1], p[2], t[0], t[1], t[2], inward);
        obj.addTriangleFacing(p[0], p[2], p[3], t[0], t[2], t[3], inward);
    }
    return obj.toText("island sky box: a +-1 cube seen from inside");
}

std::string makeSkyTexture() {
    Image image(kSkyAtlasWidth, kSkyAtlasHeight, 3);
    const double inner = kSkyTileSize - 2.0 * kSkyTilePadding;
    parallelRows(kSkyAtlasHeight, [&](int y) {
        const int row = y / kSkyTileSize;
        for (int x = 0; x < kSkyAtlasWidth; ++x) {
            const int column = x / kSkyTileSize;
            glm::dvec3 direction;
            if (row < 3) {
                const SkyFace& face = kFaces[row * 2 + column];
                // Texel centre in face-plane coordinates; beyond +-1 in the padding.
                const double a =
                    ((x - column * kSkyTileSize) + 0.5 - kSkyTilePadding) / inner * 2.0 - 1.0;
                const double b =
                    ((y - row * kSkyTileSize) + 0.5 - kSkyTilePadding) / inner * 2.0 - 1.0;
                direction = face.direction + a * face.across + b * face.down;
            } else {
                // The spare row: the clear sky's gradient from 30 degrees up
                // down to the horizon.
                const double t = (y - row * kSkyTileSize + 0.5) / kSkyTileSize;
                image.set(x, y, clearSky(0.5 * (1.0 - t)));
                continue;
            }
            image.set(x, y, skyColour(direction));
        }
    });
    return encodeTga(image);
}

}  // namespace assetgen
