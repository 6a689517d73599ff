// Island shape, mesh and baked textures (see island.h for the layout).
#include "tools/assetgen/island.h"

#include <algorithm>
#include <cmath>

#include "tools/assetgen/det_math.h"
#include "tools/assetgen/noise.h"
#include "tools/assetgen/parallel.h"

namespace assetgen {
namespace {

constexpr int kTableAngles = 720;
constexpr double kRadiusStep = 0.05;
constexpr double kTableRadius = 64.0;
constexpr int kTableSamples = static_cast<int>(kTableRadius / kRadiusStep) + 1;

constexpr double kTalusWidth = 12.0;  // from the cliff foot to the sea floor
constexpr double kRimWidth = 6.0;     // sea floor beyond the talus, then the mesh ends
constexpr double kSeaFloor = -25.0;
constexpr double kEdgeRounding = 1.2;  // how far the top drops towards the cliff edge
constexpr double kEdgeWidth = 3.0;

// The mesh grid: (kGridSteps + 1)^2 points over [-1, 1]^2, of which those in
// the unit disc are used (about 70k triangles).
constexpr int kGridSteps = 210;

constexpr std::uint32_t kTopSeed = 1201u;
constexpr std::uint32_t kTopDetailSeed = 1301u;
constexpr std::uint32_t kGullySeed = 1401u;

struct Harmonic {
    int order;
    double amplitude;
    double phase;
};

double harmonicSum(const Harmonic* harmonics, int count, double theta) {
    double sum = 0.0;
    for (int i = 0; i < count; ++i) {
        sum += harmonics[i].amplitude * detCos(harmonics[i].order * theta + harmonics[i].phase);
    }
    return sum;
}

// Irregular coast: low orders shape the outline, higher ones make bays and
// headlands. Phases are fixed numbers so that the outline never changes.
constexpr Harmonic kCoast[] = {{2, 1.6, 0.7},   {3, 1.3, 2.1},  {4, 0.9, 4.0},   {5, 0.7, 1.1},
                               {6, 0.5, 5.2},   {7, 0.45, 3.3}, {8, 0.35, 0.4},  {9, 0.3, 2.8},
                               {11, 0.25, 4.6}, {13, 0.2, 1.9}, {17, 0.15, 3.7}, {23, 0.1, 0.2}};
constexpr Harmonic kCliffWidth[] = {{3, 0.5, 1.0}, {5, 0.35, 2.5}, {8, 0.25, 4.1}, {12, 0.15, 0.3}};
constexpr Harmonic kFoot[] = {{2, 0.6, 2.2}, {3, 0.5, 0.3}, {5, 0.45, 4.4}, {7, 0.3, 1.7}};

// A smooth bump of height 1 at s = 0 falling to 0 at s = 1 (s a squared
// normalised distance).
// max(0, x) with the corner rounded over [-width, width], so that the
// profile has no kink along the coast.
double softPositive(double x, double width) {
    if (x <= -width) return 0.0;
    if (x >= width) return x;
    return (x + width) * (x + width) / (4.0 * width);
}

double bump(double s) { return s < 1.0 ? (1.0 - s) * (1.0 - s) * (1.0 - s) : 0.0; }

}  // namespace

IslandShape::IslandShape() {
    columns_.resize(kTableAngles);
    arc_.assign(kTableAngles, std::vector<double>(kTableSamples, 0.0));
    meshLimit_.resize(kTableAngles);
    gridRadius_.assign(kTableAngles, std::vector<double>(kTableSamples, 0.0));
    for (int k = 0; k < kTableAngles; ++k) {
        const double theta = 2.0 * kPi * k / kTableAngles;
        const Column column = columnAt(theta);
        columns_[k] = column;
        const Ray ray{detCos(theta), detSin(theta), column};
        std::vector<double>& arc = arc_[k];
        glm::dvec2 previous(0.0, profileHeight(0.0, ray));
        for (int i = 1; i < kTableSamples; ++i) {
            const double r = i * kRadiusStep;
            const glm::dvec2 point(r + cliffDisplacement(r, ray), profileHeight(r, ray));
            const glm::dvec2 step = point - previous;
            arc[i] = arc[i - 1] + std::sqrt(glm::dot(step, step));
            previous = point;
        }
        const double end = std::min(
            column.coastRadius + column.cliffWidth + kTalusWidth + kRimWidth, kTableRadius - 1.0);
        const int last = static_cast<int>(end / kRadiusStep);
        meshLimit_[k] = arc[last];
        extent_ = std::max(extent_, arc[last]);

        // Mesh density along the ray, as a function of arc length: doubled
        // around the cliff's edge, where the silhouette is, and thinned out
        // on the sea floor. gridRadius_ is its running integral, scaled to 1
        // where the mesh ends.
        const double edge = arc[static_cast<int>(column.coastRadius / kRadiusStep)];
        const double foot =
            arc[static_cast<int>((column.coastRadius + column.cliffWidth) / kRadiusStep)];
        auto density = [&](double rho) {
            const double offset = (rho - edge - 1.0) / 3.5;
            return 0.6 + 0.4 * smoothstep(foot + 6.0, foot + 1.0, rho) + bump(offset * offset);
        };
        std::vector<double>& grid = gridRadius_[k];
        for (int i = 1; i < kTableSamples; ++i) {
            grid[i] =
                grid[i - 1] + 0.5 * (density(arc[i - 1]) + density(arc[i])) * (arc[i] - arc[i - 1]);
        }
        const double scale = 1.0 / grid[last];
        for (double& g : grid) g *= scale;
    }
    extent_ += 0.5;
}

glm::dvec2 IslandShape::unrolledFromGrid(double a, double b) const {
    const double radius = std::sqrt(a * a + b * b);
    if (radius < 1e-12) return glm::dvec2(0.0);
    double theta = detAtan2(b, a);
    if (theta < 0.0) theta += 2.0 * kPi;
    const double f = theta / (2.0 * kPi) * kTableAngles;
    const int k0 = static_cast<int>(std::floor(f)) % kTableAngles;
    const int k1 = (k0 + 1) % kTableAngles;
    // Arc length where the column's grid radius reaches `radius`.
    auto arcAt = [&](int k) {
        const std::vector<double>& grid = gridRadius_[k];
        const std::vector<double>& arc = arc_[k];
        if (radius >= grid.back()) return arc.back() + (radius - grid.back());
        const int i =
            static_cast<int>(std::upper_bound(grid.begin(), grid.end(), radius) - grid.begin()) - 1;
        return mix(arc[i], arc[i + 1], (radius - grid[i]) / (grid[i + 1] - grid[i]));
    };
    const double rho = mix(arcAt(k0), arcAt(k1), f - std::floor(f));
    return glm::dvec2(a, b) * (rho / radius);
}

IslandShape::Column IslandShape::columnAt(double theta) const {
    Column column;
    // Longer towards -z, where the tree stands.
    column.coastRadius = 27.5 - 3.5 * detSin(theta) + harmonicSum(kCoast, 12, theta);
    column.cliffWidth = 3.8 + harmonicSum(kCliffWidth, 4, theta);
    // Mostly under water; in a few stretches the foot forms a ledge just
    // above the water line.
    column.footHeight = -16.5 + 4.0 * softPositive(harmonicSum(kFoot, 4, theta) - 0.3, 0.15);
    return column;
}

double IslandShape::coastRadius(double theta) const { return columnAt(theta).coastRadius; }

double IslandShape::topHeight(double x, double z) const {
    const double dome = -2.5 * (x * x + z * z) / (29.0 * 29.0);
    // Two hills inland, a lower stretch towards the east coast.
    const double hills = 4.2 * bump(((x + 9.0) * (x + 9.0) + (z + 6.0) * (z + 6.0)) / 121.0) +
                         2.4 * bump(((x - 10.0) * (x - 10.0) + (z - 5.0) * (z - 5.0)) / 64.0) -
                         2.5 * bump(((x - 22.0) * (x - 22.0) + (z + 8.0) * (z + 8.0)) / 225.0);
    const double rolling = 1.3 * fbm2(x / 16.0, z / 16.0, 4, kTopSeed);
    const double detail = 0.35 * fbm2(x / 4.0, z / 4.0, 2, kTopDetailSeed);
    return 1.8 + dome + hills + rolling + detail;
}

double IslandShape::profileHeight(double r, const Ray& ray) const {
    const Column& c = ray.column;
    const double top = topHeight(r * ray.cosTheta, r * ray.sinTheta);
    const double d = r - c.coastRadius;
    if (d <= 0.0) return top - kEdgeRounding * smoothstep(-kEdgeWidth, 0.0, d);
    const double edge = top - kEdgeRounding;
    if (d < c.cliffWidth) {
        // The sine term adds three ledges without ever making the profile rise.
        // Eased in over the first quarter, so that the edge is rounded over
        // a few grid rows instead of creasing between two; then steepest
        // near the top, easing out at the foot.
        constexpr double kEase = 0.25;
        const double t = d / c.cliffWidth;
        const double eased =
            (t < kEase ? t * t / (2.0 * kEase) : t - 0.5 * kEase) / (1.0 - 0.5 * kEase);
        const double s = 1.0 - (1.0 - eased) * (1.0 - eased);
        const double terraced = s + 0.75 * detSin(2.0 * kPi * 3.0 * s) / (2.0 * kPi * 3.0);
        return edge + (c.footHeight - edge) * terraced;
    }
    const double talus = d - c.cliffWidth;
    if (talus < kTalusWidth) {
        return c.footHeight + (kSeaFloor - c.footHeight) * smoothstep(0.0, kTalusWidth, talus);
    }
    return kSeaFloor - 3.0 * smoothstep(0.0, kRimWidth, talus - kTalusWidth);
}

double IslandShape::cliffDisplacement(double r, const Ray& ray) const {
    const Column& c = ray.column;
    const double t = (r - c.coastRadius) / c.cliffWidth;
    if (t <= 0.0 || t >= 1.0) return 0.0;
    // Buttresses and gullies running down the face: the offset follows the
    // coast, not the height, so the face never folds over.
    const double x = c.coastRadius * ray.cosTheta;
    const double z = c.coastRadius * ray.sinTheta;
    return 0.6 * 4.0 * t * (1.0 - t) * fbm2(x / 3.0, z / 3.0, 3, kGullySeed);
}

IslandShape::Ray IslandShape::rayAt(double p, double q) const {
    Ray ray{1.0, 0.0, columns_[0]};
    const double rho = std::sqrt(p * p + q * q);
    if (rho < 1e-12) return ray;
    ray.cosTheta = p / rho;
    ray.sinTheta = q / rho;
    double theta = detAtan2(q, p);
    if (theta < 0.0) theta += 2.0 * kPi;
    const double f = theta / (2.0 * kPi) * kTableAngles;
    const int k0 = static_cast<int>(std::floor(f)) % kTableAngles;
    const int k1 = (k0 + 1) % kTableAngles;
    const double w = f - std::floor(f);
    const Column& a = columns_[k0];
    const Column& b = columns_[k1];
    ray.column = Column{mix(a.coastRadius, b.coastRadius, w), mix(a.cliffWidth, b.cliffWidth, w),
                        mix(a.footHeight, b.footHeight, w)};
    return ray;
}

double IslandShape::radiusAt(double rho, double theta) const {
    if (theta < 0.0) theta += 2.0 * kPi;
    const double f = theta / (2.0 * kPi) * kTableAngles;
    const int k0 = static_cast<int>(std::floor(f)) % kTableAngles;
    const int k1 = (k0 + 1) % kTableAngles;
    const double w = f - std::floor(f);
    auto invert = [rho](const std::vector<double>& arc) {
        if (rho >= arc.back()) return kTableRadius - kRadiusStep + (rho - arc.back());
        const auto upper = std::upper_bound(arc.begin(), arc.end(), rho);
        const int i = static_cast<int>(upper - arc.begin()) - 1;
        return (i + (rho - arc[i]) / (arc[i + 1] - arc[i])) * kRadiusStep;
    };
    return mix(invert(arc_[k0]), invert(arc_[k1]), w);
}

glm::dvec3 IslandShape::surfacePoint(double p, double q) const {
    const Ray ray = rayAt(p, q);
    const double rho = std::sqrt(p * p + q * q);
    const double r = rho < 1e-12 ? 0.0 : radiusAt(rho, detAtan2(q, p));
    const double radial = r + cliffDisplacement(r, ray);
    return glm::dvec3(radial * ray.cosTheta, profileHeight(r, ray), radial * ray.sinTheta);
}

glm::dvec2 IslandShape::unrolledFromTexCoord(double u, double v) const {
    return glm::dvec2((u - 0.5) * 2.0 * extent_, (0.5 - v) * 2.0 * extent_);
}

bool IslandShape::insideMesh(double p, double q) const {
    const double rho = std::sqrt(p * p + q * q);
    if (rho < 1e-12) return true;
    double theta = detAtan2(q, p);
    if (theta < 0.0) theta += 2.0 * kPi;
    const double f = theta / (2.0 * kPi) * kTableAngles;
    const int k0 = static_cast<int>(std::floor(f)) % kTableAngles;
    const int k1 = (k0 + 1) % kTableAngles;
    return rho <= mix(meshLimit_[k0], meshLimit_[k1], f - std::floor(f));
}

double IslandShape::groundHeight(double x, double z) const {
    const double r = std::sqrt(x * x + z * z);
    if (r < 1e-12) return profileHeight(0.0, Ray{1.0, 0.0, columns_[0]});
    const double theta = detAtan2(z, x);
    return profileHeight(r, Ray{x / r, z / r, columnAt(theta)});
}

ObjBuilder buildIsland(const IslandShape& shape) {
    ObjBuilder obj;
    const int n = kGridSteps;
    const double extent = shape.unrolledExtent();
    const int stride = n + 1;
    auto gridCoordinate = [&](int i) { return -1.0 + 2.0 * i / n; };

    std::vector<char> inside(stride * stride);
    for (int j = 0; j <= n; ++j) {
        for (int i = 0; i <= n; ++i) {
            const double a = gridCoordinate(i), b = gridCoordinate(j);
            inside[j * stride + i] = a * a + b * b <= 1.0;
        }
    }
    // One position and one texture coordinate per used grid point, with the
    // same index, so that neighbouring faces share both.
    std::vector<int> vertex(stride * stride, -1);
    auto vertexAt = [&](int i, int j) {
        int& index = vertex[j * stride + i];
        if (index < 0) {
            const glm::dvec2 pq = shape.unrolledFromGrid(gridCoordinate(i), gridCoordinate(j));
            index = obj.addPosition(shape.surfacePoint(pq.x, pq.y));
            obj.addTexCoord(glm::dvec2(0.5 + pq.x / (2.0 * extent), 0.5 - pq.y / (2.0 * extent)));
        }
        return index;
    };
    for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i) {
            if (!inside[j * stride + i] || !inside[j * stride + i + 1] ||
                !inside[(j + 1) * stride + i] || !inside[(j + 1) * stride + i + 1]) {
                continue;
            }
            // a = (i, j), b = (i + 1, j), c = (i + 1, j + 1), d = (i, j + 1);
            // the grid's first axis runs along x and its second along z, so
            // a, d, c turns counter-clockwise seen from above. Split along the
            // shorter diagonal.
            const int a = vertexAt(i, j), b = vertexAt(i + 1, j);
            const int c = vertexAt(i + 1, j + 1), d = vertexAt(i, j + 1);
            const auto& p = obj.positions();
            const glm::dvec3 ac = p[c] - p[a], bd = p[d] - p[b];
            if (glm::dot(ac, ac) <= glm::dot(bd, bd)) {
                obj.addTriangle(a, d, c, a, d, c);
                obj.addTriangle(a, c, b, a, c, b);
            } else {
                obj.addTriangle(a, d, b, a, d, b);
                obj.addTriangle(b, d, c, b, d, c);
            }
        }
    }
    return obj;
}

namespace {

constexpr std::uint32_t kPatchSeed = 2101u;
constexpr std::uint32_t kGrainSeed = 2201u;
constexpr std::uint32_t kSpeckleSeed = 2301u;
constexpr std::uint32_t kCrackSeed = 2401u;
constexpr std::uint32_t kLayerSeed = 2501u;
constexpr std::uint32_t kMeadowSeed = 2601u;
constexpr std::uint32_t kStreakSeed = 2701u;

const glm::dvec3 kGrassDark(0.20, 0.33, 0.11);
const glm::dvec3 kGrassLight(0.42, 0.55, 0.20);
const glm::dvec3 kGrassDry(0.58, 0.55, 0.30);
const glm::dvec3 kDirt(0.42, 0.34, 0.24);
const glm::dvec3 kRockDark(0.36, 0.33, 0.30);
const glm::dvec3 kRockLight(0.66, 0.62, 0.55);
const glm::dvec3 kSand(0.80, 0.73, 0.56);
const glm::dvec3 kSilt(0.45, 0.44, 0.36);
const glm::dvec3 kUnderwaterTint(0.08, 0.22, 0.28);  // the sky box's sea below the horizon

struct SurfaceSample {
    glm::dvec3 colour;
    double height;  // bump height in world units
};

// `patches` and `fractured` are slowly varying fields sampled on the lattice.
SurfaceSample shadeSurface(const glm::dvec3& pos, const glm::dvec3& normal, double patches,
                           double fractured) {
    const double grain = fbm3(pos.x * 1.7, pos.y * 1.7, pos.z * 1.7, 3, kGrainSeed);
    const double speckle = gradientNoise3(pos.x * 7.0, pos.y * 7.0, pos.z * 7.0, kSpeckleSeed);
    const double y = pos.y;

    // Rock where the ground is steep, with a ragged boundary.
    const double rockness = smoothstep(0.80, 0.60, normal.y + 0.10 * patches + 0.05 * grain);

    // Grass: light and dark meadow patches, dry spots, darker clumps.
    const double meadow = fbm3(pos.x * 0.35, pos.y * 0.35, pos.z * 0.35, 2, kMeadowSeed);
    glm::dvec3 grass =
        glm::mix(kGrassDark, kGrassLight, clamp01(0.5 + 0.9 * meadow + 0.35 * grain));
    grass = glm::mix(grass, kGrassDry, smoothstep(0.25, 0.6, patches) * 0.7);
    grass *= 0.86 + 0.2 * smoothstep(-0.6, 0.6, speckle);

    // Sedimentary layers follow the height, their thickness drifting along
    // the coast; fractures run down the face (noise stretched vertically)
    // and only in some stretches of it.
    const double layer =
        gradientNoise3(pos.x * 0.05, y * 0.8 + 0.6 * patches, pos.z * 0.05, kLayerSeed);
    const double band = smoothstep(-0.35, 0.35, layer);
    glm::dvec3 rock = glm::mix(kRockDark, kRockLight, clamp01(0.2 + 0.5 * band + 0.4 * grain));
    rock *= 0.9 + 0.16 * speckle;
    // Streaks where water runs down the face.
    const double streak = gradientNoise3(pos.x * 0.9, y * 0.06, pos.z * 0.9, kStreakSeed);
    rock *= 0.9 + 0.18 * streak;
    const double fracture = gradientNoise3(pos.x * 1.1, y * 0.12, pos.z * 1.1, kCrackSeed);
    const double crack = (1.0 - smoothstep(0.0, 0.06, std::fabs(fracture))) * fractured;
    rock *= 1.0 - 0.25 * crack;

    // Below the spray line the gentle ground is sand and silt, not grass.
    const double submerged = smoothstep(-10.5, -12.5, y + 0.8 * grain);
    const glm::dvec3 seabed = glm::mix(kSand, kSilt, smoothstep(-15.0, -21.0, y + 2.0 * patches));
    grass = glm::mix(grass, seabed * (0.93 + 0.1 * speckle), submerged);

    glm::dvec3 colour = glm::mix(grass, rock, rockness);
    colour = glm::mix(colour, kDirt, (1.0 - submerged) * 0.55 * 4.0 * rockness * (1.0 - rockness));
    // Beaches: gentle ground a little above the water line.
    const double sandiness = (1.0 - rockness) * smoothstep(0.70, 0.92, normal.y) *
                             smoothstep(-8.0, -11.0, y + 1.2 * grain) * (1.0 - submerged);
    colour = glm::mix(colour, kSand, sandiness);
    colour *= 1.0 - 0.35 * smoothstep(-12.0, -14.3, y);  // wet rock at the water line
    // Deeper ground fades into the colour of the sea around it, so that the
    // end of the sea floor does not show through the water.
    colour = glm::mix(colour, kUnderwaterTint, 0.9 * smoothstep(-14.0, -26.0, y));

    const double rockHeight =
        0.06 * (band - 0.5) + 0.05 * grain + 0.02 * speckle + 0.02 * streak - 0.05 * crack;
    const double grassHeight = 0.02 * speckle + 0.02 * grain;
    const double sandHeight = 0.006 * detSin(pos.x * 9.0 + pos.z * 5.0 + 3.0 * grain);
    double height = mix(grassHeight, rockHeight, rockness);
    height = mix(height, sandHeight, sandiness);
    return SurfaceSample{colour, height};
}

}  // namespace

void bakeIslandTextures(const IslandShape& shape, int size, Image& colour, Image& normalMap) {
    // Surface points on a lattice a quarter as fine as the texture,
    // interpolated per texel; the lattice is still finer than the mesh.
    const int lattice = size / 4;
    const double extent = shape.unrolledExtent();
    const int stride = lattice + 1;
    std::vector<glm::dvec3> points(static_cast<std::size_t>(stride) * stride);
    std::vector<double> patches(points.size());
    std::vector<double> fractured(points.size());
    parallelRows(lattice + 1, [&](int b) {
        for (int a = 0; a <= lattice; ++a) {
            const glm::dvec3 p = shape.surfacePoint(-extent + 2.0 * extent * a / lattice,
                                                    -extent + 2.0 * extent * b / lattice);
            points[b * stride + a] = p;
            patches[b * stride + a] = fbm3(p.x * 0.12, p.y * 0.12, p.z * 0.12, 4, kPatchSeed);
            fractured[b * stride + a] =
                smoothstep(0.0, 0.35, fbm3(p.x * 0.15, p.y * 0.15, p.z * 0.15, 2, kCrackSeed + 1u));
        }
    });
    std::vector<glm::dvec3> normals(points.size());
    for (int b = 0; b <= lattice; ++b) {
        for (int a = 0; a <= lattice; ++a) {
            const glm::dvec3 alongP = points[b * stride + std::min(a + 1, lattice)] -
                                      points[b * stride + std::max(a - 1, 0)];
            const glm::dvec3 alongQ = points[std::min(b + 1, lattice) * stride + a] -
                                      points[std::max(b - 1, 0) * stride + a];
            normals[b * stride + a] = glm::normalize(glm::cross(alongQ, alongP));
        }
    }

    colour = Image(size, size, 3);
    std::vector<double> heights(static_cast<std::size_t>(size) * size);
    parallelRows(size, [&](int j) {
        // Row j is sampled at v = (j + 0.5) / size; v grows towards -Q.
        const double fb = (1.0 - (j + 0.5) / size) * lattice;
        const int b = std::min(static_cast<int>(fb), lattice - 1);
        const double wb = fb - b;
        for (int i = 0; i < size; ++i) {
            const double fa = (i + 0.5) / size * lattice;
            const int a = std::min(static_cast<int>(fa), lattice - 1);
            const double wa = fa - a;
            const std::size_t k00 = b * stride + a, k10 = k00 + 1;
            const std::size_t k01 = k00 + stride, k11 = k01 + 1;
            const glm::dvec3 pos = glm::mix(glm::mix(points[k00], points[k10], wa),
                                            glm::mix(points[k01], points[k11], wa), wb);
            const glm::dvec3 normal =
                glm::normalize(glm::mix(glm::mix(normals[k00], normals[k10], wa),
                                        glm::mix(normals[k01], normals[k11], wa), wb));
            auto field = [&](const std::vector<double>& f) {
                return mix(mix(f[k00], f[k10], wa), mix(f[k01], f[k11], wa), wb);
            };
            const SurfaceSample sample =
                shadeSurface(pos, normal, field(patches), field(fractured));
            colour.set(i, j, sample.colour);
            heights[static_cast<std::size_t>(j) * size + i] = sample.height;
        }
    });

    // Tangent-space normals from the bump heights: x along +u, y along +v
    // (down the rows), z out of the surface. A texel spans about
    // 2 E / size world units in both directions.
    normalMap = Image(size, size, 3);
    const double texel = 2.0 * extent / size;
    parallelRows(size, [&](int j) {
        for (int i = 0; i < size; ++i) {
            auto h = [&](int x, int y) {
                x = std::clamp(x, 0, size - 1);
                y = std::clamp(y, 0, size - 1);
                return heights[static_cast<std::size_t>(y) * size + x];
            };
            const double du = (h(i + 1, j) - h(i - 1, j)) / (2.0 * texel);
            const double dv = (h(i, j + 1) - h(i, j - 1)) / (2.0 * texel);
            normalMap.set(i, j, encodeNormal(glm::normalize(glm::dvec3(-du, -dv, 1.0))));
        }
    });
}

}  // namespace assetgen
