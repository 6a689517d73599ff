// The light marker: a UV sphere of radius 3 and a warm glow texture.
#include <cmath>

#include "tools/assetgen/asset_pack.h"
#include "tools/assetgen/det_math.h"
#include "tools/assetgen/image.h"
#include "tools/assetgen/noise.h"
#include "tools/assetgen/obj_builder.h"

namespace assetgen {
namespace {

constexpr double kRadius = 3.0;
constexpr int kSlices = 32;
constexpr int kStacks = 16;
constexpr int kLightTextureSize = 256;
constexpr std::uint32_t kGranuleSeed = 6101u;

}  // namespace

std::string makeLightSphereObj() {
    ObjBuilder obj;
    // Rings from the north pole (v = 0, the texture's top row) to the south
    // pole; the seam column repeats its texture coordinates at u = 1.
    const int north = obj.addPosition(glm::dvec3(0.0, kRadius, 0.0));
    std::vector<int> ring(kStacks + 1, -1);
    for (int s = 1; s < kStacks; ++s) {
        const double polar = kPi * s / kStacks;
        for (int k = 0; k < kSlices; ++k) {
            const double azimuth = 2.0 * kPi * k / kSlices;
            const int index =
                obj.addPosition(kRadius * glm::dvec3(detSin(polar) * detCos(azimuth), detCos(polar),
                                                     -detSin(polar) * detSin(azimuth)));
            if (k == 0) ring[s] = index;
        }
    }
    const int south = obj.addPosition(glm::dvec3(0.0, -kRadius, 0.0));
    std::vector<int> ringTex(kStacks + 1, -1);
    for (int s = 0; s <= kStacks; ++s) {
        for (int k = 0; k <= kSlices; ++k) {
            // The poles get one coordinate per slice, in the middle of it.
            const bool pole = s == 0 || s == kStacks;
            const double u = (k + (pole ? 0.5 : 0.0)) / kSlices;
            const int index = obj.addTexCoord(glm::dvec2(u, static_cast<double>(s) / kStacks));
            if (k == 0) ringTex[s] = index;
        }
    }
    const auto& p = obj.positions();
    for (int s = 0; s < kStacks; ++s) {
        for (int k = 0; k < kSlices; ++k) {
            const int k1 = (k + 1) % kSlices;
            const int ta = ringTex[s] + k, tb = ringTex[s] + k + 1;
            const int tc = ringTex[s + 1] + k + 1, td = ringTex[s + 1] + k;
            if (s == 0) {
                const int c = ring[1] + k1, d = ring[1] + k;
                obj.addTriangleFacing(north, d, c, ta, td, tc, p[c] + p[d]);
            } else if (s == kStacks - 1) {
                const int a = ring[s] + k, b = ring[s] + k1;
                obj.addTriangleFacing(a, south, b, ta, td, tb, p[a] + p[b]);
            } else {
                const int a = ring[s] + k, b = ring[s] + k1;
                const int c = ring[s + 1] + k1, d = ring[s + 1] + k;
                obj.addTriangleFacing(a, d, c, ta, td, tc, p[a] + p[c]);
                obj.addTriangleFacing(a, c, b, ta, tc, tb, p[a] + p[c]);
            }
        }
    }
    return obj.toText("island light sphere: radius 3");
}

std::string makeLightTexture() {
    // Near-white yellow at the equator warming to orange towards the poles,
    // with soft granules that repeat around the sphere (u wraps).
    const int size = kLightTextureSize;
    Image image(size, size, 3);
    for (int y = 0; y < size; ++y) {
        const double v = (y + 0.5) / size;
        const double fromEquator = std::fabs(2.0 * v - 1.0);
        for (int x = 0; x < size; ++x) {
            const double u = (x + 0.5) / size;
            const double granules = tileableFbm2(u * 16.0, v * 8.0, 16, 3, kGranuleSeed);
            const double warmth = clamp01(fromEquator * fromEquator * 0.8 + 0.25 * granules + 0.1);
            const glm::dvec3 colour =
                glm::mix(glm::dvec3(1.0, 0.98, 0.88), glm::dvec3(1.0, 0.70, 0.32), warmth);
            image.set(x, y, colour);
        }
    }
    return encodeTga(image);
}

}  // namespace assetgen
