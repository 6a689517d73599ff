// A broad-leaved tree: a tapered trunk with a root flare, five branches and
// eight leaf clusters (noise-displaced icospheres), about 3.2k triangles,
// about 8.5 world units tall. Texture atlas tree2.tga: bark on the left half
// (u < 0.5), leaves on the right half.
#include "tools/assetgen/tree.h"

#include <array>
#include <cmath>
#include <map>
#include <vector>

#include "tools/assetgen/asset_pack.h"
#include "tools/assetgen/det_math.h"
#include "tools/assetgen/image.h"
#include "tools/assetgen/island.h"
#include "tools/assetgen/noise.h"
#include "tools/assetgen/obj_builder.h"
#include "tools/assetgen/scene_frames.h"

namespace assetgen {
namespace {

constexpr std::uint32_t kFoliageSeed = 5101u;
constexpr std::uint32_t kBarkSeed = 5201u;
constexpr std::uint32_t kLeafSeed = 5301u;
constexpr double kBarkLength = 6.0;  // world length covered by the bark's texture height
constexpr int kTreeTextureSize = 512;

const glm::dvec3 kUp(0.0, 1.0, 0.0);

// Collects the tree in world units relative to its base and writes it in
// the tree's model space.
class TreeWriter {
  public:
    TreeWriter(ObjBuilder& obj, const glm::dvec3& base) : obj_(obj), base_(base) {}

    int position(const glm::dvec3& local) {
        localPositions_.push_back(local);
        return obj_.addPosition(treeWorldToModel(base_ + local));
    }
    glm::dvec3 local(int index) const { return localPositions_[index]; }
    // `front` is a direction in the tree's upright frame.
    void triangle(int p0, int p1, int p2, int t0, int t1, int t2, const glm::dvec3& front) {
        obj_.addTriangleFacing(p0, p1, p2, t0, t1, t2, treeDirectionToModel(front));
    }
    ObjBuilder& obj() { return obj_; }

  private:
    ObjBuilder& obj_;
    glm::dvec3 base_;
    std::vector<glm::dvec3> localPositions_;
};

// A tube along `spine` with the given radii, `sides` around, closed by a tip
// beyond its last ring. Bark texture: u around, v along the length.
void addTube(TreeWriter& tree, const std::vector<glm::dvec3>& spine,
             const std::vector<double>& radii, int sides, double barkOffset) {
    const int rings = static_cast<int>(spine.size());
    std::vector<int> ringStart(rings);
    std::vector<int> ringTex(rings);
    double length = barkOffset;
    const glm::dvec3 first = glm::normalize(spine[1] - spine[0]);
    glm::dvec3 side =
        std::fabs(first.x) < 0.9 ? glm::dvec3(1.0, 0.0, 0.0) : glm::dvec3(0.0, 0.0, 1.0);
    for (int r = 0; r < rings; ++r) {
        const glm::dvec3 along =
            glm::normalize(spine[std::min(r + 1, rings - 1)] - spine[std::max(r - 1, 0)]);
        // Carry the side vector along the spine so the rings do not twist.
        side = glm::normalize(side - along * glm::dot(side, along));
        const glm::dvec3 other = glm::cross(along, side);
        if (r > 0) length += glm::length(spine[r] - spine[r - 1]);
        ringStart[r] = -1;
        for (int k = 0; k < sides; ++k) {
            const double angle = 2.0 * kPi * k / sides;
            const glm::dvec3 offset = radii[r] * (detCos(angle) * side + detSin(angle) * other);
            const int index = tree.position(spine[r] + offset);
            if (k == 0) ringStart[r] = index;
        }
        ringTex[r] = -1;
        for (int k = 0; k <= sides; ++k) {
            const double u = 0.02 + 0.46 * k / sides;
            const double v = 0.02 + 0.96 * std::min(length / kBarkLength, 1.0);
            const int index = tree.obj().addTexCoord(glm::dvec2(u, v));
            if (k == 0) ringTex[r] = index;
        }
    }
    for (int r = 0; r + 1 < rings; ++r) {
        for (int k = 0; k < sides; ++k) {
            const int a = ringStart[r] + k, b = ringStart[r] + (k + 1) % sides;
            const int c = ringStart[r + 1] + (k + 1) % sides, d = ringStart[r + 1] + k;
            const int ta = ringTex[r] + k, tb = ringTex[r] + k + 1;
            const int tc = ringTex[r + 1] + k + 1, td = ringTex[r + 1] + k;
            const glm::dvec3 centre = spine[r];
            const glm::dvec3 outward = tree.local(a) + tree.local(c) - 2.0 * centre;
            tree.triangle(a, b, c, ta, tb, tc, outward);
            tree.triangle(a, c, d, ta, tc, td, outward);
        }
    }
    const glm::dvec3 tipDirection = glm::normalize(spine[rings - 1] - spine[rings - 2]);
    const int tip = tree.position(spine[rings - 1] + tipDirection * radii[rings - 1] * 1.5);
    const int tipTex = tree.obj().addTexCoord(glm::dvec2(0.25, 0.5));
    for (int k = 0; k < sides; ++k) {
        const int a = ringStart[rings - 1] + k, b = ringStart[rings - 1] + (k + 1) % sides;
        tree.triangle(a, b, tip, ringTex[rings - 1] + k, ringTex[rings - 1] + k + 1, tipTex,
                      tree.local(a) + tree.local(b) - 2.0 * spine[rings - 1]);
    }
}

// Icosphere vertices and faces, subdivided `levels` times.
struct Icosphere {
    std::vector<glm::dvec3> vertices;
    std::vector<std::array<int, 3>> faces;
};

Icosphere makeIcosphere(int levels) {
    const double t = (1.0 + std::sqrt(5.0)) / 2.0;
    Icosphere ico;
    const double raw[12][3] = {{-1, t, 0}, {1, t, 0}, {-1, -t, 0}, {1, -t, 0},
                               {0, -1, t}, {0, 1, t}, {0, -1, -t}, {0, 1, -t},
                               {t, 0, -1}, {t, 0, 1}, {-t, 0, -1}, {-t, 0, 1}};
    for (const auto& v : raw) ico.vertices.push_back(glm::normalize(glm::dvec3(v[0], v[1], v[2])));
    ico.faces = {{0, 11, 5}, {0, 5, 1},  {0, 1, 7},   {0, 7, 10}, {0, 10, 11},
                 {1, 5, 9},  {5, 11, 4}, {11, 10, 2}, {10, 7, 6}, {7, 1, 8},
                 {3, 9, 4},  {3, 4, 2},  {3, 2, 6},   {3, 6, 8},  {3, 8, 9},
                 {4, 9, 5},  {2, 4, 11}, {6, 2, 10},  {8, 6, 7},  {9, 8, 1}};
    for (int level = 0; level < levels; ++level) {
        std::map<std::pair<int, int>, int> midpoints;
        auto midpoint = [&](int a, int b) {
            const auto key = std::make_pair(std::min(a, b), std::max(a, b));
            const auto found = midpoints.find(key);
            if (found != midpoints.end()) return found->second;
            ico.vertices.push_back(glm::normalize(ico.vertices[a] + ico.vertices[b]));
            const int index = static_cast<int>(ico.vertices.size()) - 1;
            midpoints.emplace(key, index);
            return index;
        };
        std::vector<std::array<int, 3>> finer;
        for (const auto& f : ico.faces) {
            const int ab = midpoint(f[0], f[1]), bc = midpoint(f[1], f[2]),
                      ca = midpoint(f[2], f[0]);
            finer.push_back({f[0], ab, ca});
            finer.push_back({f[1], bc, ab});
            finer.push_back({f[2], ca, bc});
            finer.push_back({ab, bc, ca});
        }
        ico.faces = finer;
    }
    return ico;
}

// A leaf cluster: a lumpy, slightly flattened ball. Each face gets texture
// coordinates of its own, projected along its main axis into the leaf half
// of the atlas, so no face has collinear coordinates.
void addFoliage(TreeWriter& tree, const Icosphere& ico, const glm::dvec3& centre, double radius,
                std::uint32_t salt) {
    std::vector<int> indices;
    for (const glm::dvec3& v : ico.vertices) {
        const double lump = 1.0 + 0.24 * gradientNoise3(v.x * 1.6 + 11.3, v.y * 1.6,
                                                        v.z * 1.6 + 7.1, kFoliageSeed + salt);
        glm::dvec3 p = v * radius * lump;
        p.y *= p.y < 0.0 ? 0.7 : 0.9;
        indices.push_back(tree.position(centre + p));
    }
    constexpr double kScale = 0.16;  // texture units per world unit
    for (const auto& f : ico.faces) {
        const glm::dvec3 p[3] = {tree.local(indices[f[0]]), tree.local(indices[f[1]]),
                                 tree.local(indices[f[2]])};
        const glm::dvec3 normal = glm::cross(p[1] - p[0], p[2] - p[0]);
        const glm::dvec3 n = glm::abs(normal);
        glm::dvec2 uv[3];
        for (int c = 0; c < 3; ++c) {
            if (n.y >= n.x && n.y >= n.z)
                uv[c] = glm::dvec2(p[c].x, p[c].z);
            else if (n.x >= n.z)
                uv[c] = glm::dvec2(p[c].z, p[c].y);
            else
                uv[c] = glm::dvec2(p[c].x, p[c].y);
            uv[c] *= kScale;
        }
        const glm::dvec2 centroid = (uv[0] + uv[1] + uv[2]) / 3.0;
        const glm::dvec2 period(0.28, 0.72);
        const glm::dvec2 shift(std::floor(centroid.x / period.x) * period.x,
                               std::floor(centroid.y / period.y) * period.y);
        int t[3];
        for (int c = 0; c < 3; ++c) {
            t[c] = tree.obj().addTexCoord(glm::dvec2(0.60, 0.12) + uv[c] - shift);
        }
        const glm::dvec3 outward = (p[0] + p[1] + p[2]) / 3.0 - centre;
        tree.triangle(indices[f[0]], indices[f[1]], indices[f[2]], t[0], t[1], t[2],
                      glm::dot(normal, outward) >= 0.0 ? normal : -normal);
    }
}

glm::dvec3 horizontal(double degrees) {
    return glm::dvec3(detCos(radians(degrees)), 0.0, detSin(radians(degrees)));
}

}  // namespace

glm::dvec3 treeBaseWorld(const IslandShape& island) {
    // Where the model origin lands: 5 * R_x(110) * (0, -3.8, 2).
    const glm::dvec3 origin = treeModelToWorld(glm::dvec3(0.0));
    return glm::dvec3(origin.x, island.groundHeight(origin.x, origin.z) - kTreeSink, origin.z);
}

std::string makeTreeObj(const IslandShape& island) {
    ObjBuilder obj;
    TreeWriter tree(obj, treeBaseWorld(island));

    // Trunk: straight for its lower third, then leaning gently.
    constexpr int kTrunkRings = 12;
    constexpr double kTrunkHeight = 5.0;
    std::vector<glm::dvec3> spine;
    std::vector<double> radii;
    for (int r = 0; r < kTrunkRings; ++r) {
        const double t = static_cast<double>(r) / (kTrunkRings - 1);
        const double lean = std::max(0.0, t - 0.35);
        spine.emplace_back(0.35 * lean * lean, kTrunkHeight * t, -0.3 * lean * lean);
        const double flare = t < 0.15 ? 0.38 * (1.0 - t / 0.15) * (1.0 - t / 0.15) : 0.0;
        radii.push_back(0.42 * (1.0 - 0.6 * t) + flare);
    }
    auto trunkAt = [&](double t) {
        const double lean = std::max(0.0, t - 0.35);
        return glm::dvec3(0.35 * lean * lean, kTrunkHeight * t, -0.3 * lean * lean);
    };
    addTube(tree, spine, radii, 12, 0.0);

    const Icosphere ico = makeIcosphere(2);
    addFoliage(tree, ico, trunkAt(1.0) + glm::dvec3(0.0, 1.1, 0.0), 2.0, 0);

    // Branches around the trunk at the golden angle, rising outwards, each
    // ending in a leaf cluster.
    constexpr int kBranches = 5;
    const double starts[kBranches] = {0.46, 0.55, 0.63, 0.72, 0.80};
    const double lengths[kBranches] = {2.8, 2.6, 2.5, 2.3, 2.0};
    const double elevations[kBranches] = {30.0, 36.0, 40.0, 46.0, 52.0};
    const double clusterRadii[kBranches] = {1.6, 1.7, 1.5, 1.5, 1.4};
    for (int b = 0; b < kBranches; ++b) {
        const glm::dvec3 out = horizontal(25.0 + 137.5 * b);
        const glm::dvec3 start = trunkAt(starts[b]);
        std::vector<glm::dvec3> branch;
        std::vector<double> branchRadii;
        glm::dvec3 point = start - out * 0.15;
        constexpr int kRings = 6;
        for (int r = 0; r < kRings; ++r) {
            const double s = static_cast<double>(r) / (kRings - 1);
            branch.push_back(point);
            branchRadii.push_back(0.17 * (1.0 - 0.6 * s));
            const double elevation = radians(elevations[b] + 18.0 * s);
            const glm::dvec3 direction = out * detCos(elevation) + kUp * detSin(elevation);
            point += direction * (lengths[b] / (kRings - 1));
        }
        addTube(tree, branch, branchRadii, 7, 0.5 * b);
        addFoliage(tree, ico, branch.back() + glm::dvec3(0.0, 0.5, 0.0), clusterRadii[b],
                   101u * (b + 1));
    }
    // Two clusters that fill the crown between the branches.
    addFoliage(tree, ico, trunkAt(0.9) + horizontal(200.0) * 1.4 + glm::dvec3(0.0, 0.2, 0.0), 1.5,
               997u);
    addFoliage(tree, ico, trunkAt(0.9) + horizontal(20.0) * 1.3 + glm::dvec3(0.0, 0.7, 0.0), 1.4,
               1999u);
    return obj.toText("island tree: trunk, branches and leaf clusters");
}

std::string makeTreeTexture() {
    const int size = kTreeTextureSize;
    Image image(size, size, 3);
    const int half = size / 2;
    // Bark: vertical furrows and plates in greyish browns.
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < half; ++x) {
            const double u = (x + 0.5) / half;
            const double v = (y + 0.5) / size;
            const double furrow = tileableFbm2(u * 12.0, v * 3.0, 12, 4, kBarkSeed);
            const double plates = tileableFbm2(u * 6.0, v * 12.0, 6, 3, kBarkSeed + 7u);
            const double ridge = 1.0 - std::fabs(furrow);
            glm::dvec3 colour = glm::mix(glm::dvec3(0.20, 0.14, 0.09), glm::dvec3(0.45, 0.36, 0.26),
                                         smoothstep(0.55, 0.95, ridge));
            colour *= 0.85 + 0.25 * plates;
            image.set(x, y, colour);
        }
    }
    // Leaves: a dark canopy ground under layers of pointed leaves.
    for (int y = 0; y < size; ++y) {
        for (int x = half; x < size; ++x) {
            const double shade = fbm2(x / 40.0, y / 40.0, 3, kLeafSeed);
            image.set(x, y,
                      glm::mix(glm::dvec3(0.06, 0.16, 0.05), glm::dvec3(0.12, 0.25, 0.08),
                               clamp01(0.5 + shade)));
        }
    }
    Random random(kLeafSeed);
    for (int leaf = 0; leaf < 1400; ++leaf) {
        const double cx = random.uniform(half - 10.0, size + 10.0);
        const double cy = random.uniform(-10.0, size + 10.0);
        const double angle = random.uniform(0.0, 2.0 * kPi);
        const double length = random.uniform(9.0, 15.0);
        const double width = length * random.uniform(0.32, 0.45);
        const glm::dvec3 tint(random.uniform(0.16, 0.36), random.uniform(0.34, 0.58),
                              random.uniform(0.08, 0.18));
        const double ax = detCos(angle), ay = detSin(angle);
        const int reach = static_cast<int>(length) + 1;
        for (int y = static_cast<int>(cy) - reach; y <= static_cast<int>(cy) + reach; ++y) {
            if (y < 0 || y >= size) continue;
            for (int x = static_cast<int>(cx) - reach; x <= static_cast<int>(cx) + reach; ++x) {
                if (x < half || x >= size) continue;
                const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
                const double along = (dx * ax + dy * ay) / length;  // -1 .. 1 tip to tip
                const double across = (-dx * ay + dy * ax) / width;
                const double profile = 1.0 - along * along;
                if (profile <= 0.0 || std::fabs(across) > profile) continue;
                // Lighter towards one side, a pale midrib along the middle.
                double light = 0.8 + 0.3 * (across * 0.5 + 0.5 * along);
                if (std::fabs(across) < 0.08) light += 0.25;
                image.set(x, y, tint * light);
            }
        }
    }
    return encodeTga(image);
}

}  // namespace assetgen
