// The cliff island: a rolling grassy top, steep terraced rock cliffs at an
// irregular coast, a talus slope under the water and a flat sea floor.
//
// Shape. In polar coordinates (r, theta) about the world origin the height is
// a radial profile: the top surface inside the coast radius R(theta), a steep
// cliff of width w(theta) beyond it, a talus down to the sea floor, and a rim.
// The cliffs get a small horizontal displacement (buttresses and gullies).
//
// Layout. The surface is "unrolled" along each ray from the origin: a surface
// point is addressed by (P, Q) = rho * (cos theta, sin theta), where rho is the
// arc length along the ray's profile from the origin. Texture coordinates
// u = 0.5 + P / (2 E), v = 0.5 - Q / (2 E) (E = unrolledExtent()) therefore
// stretch little even on the cliff faces, which get rows of their own. The
// mesh is a regular grid in a disc, mapped radially onto (P, Q) with more rows
// where the silhouette needs them (unrolledFromGrid). The texture coordinates
// are not mirrored: with the face normal N, u's direction T and v's direction
// B, N = T x B.
#pragma once

#include <glm/glm.hpp>
#include <vector>

#include "tools/assetgen/image.h"
#include "tools/assetgen/obj_builder.h"

namespace assetgen {

class IslandShape {
  public:
    IslandShape();

    // World point of unrolled coordinates (P, Q).
    glm::dvec3 surfacePoint(double p, double q) const;
    // Unrolled coordinates of texture coordinates (u, v), and back.
    glm::dvec2 unrolledFromTexCoord(double u, double v) const;
    double unrolledExtent() const { return extent_; }
    // Whether (P, Q) lies inside the modelled part of the surface.
    bool insideMesh(double p, double q) const;
    // The mesh grid: grid coordinates (a, b) in the unit disc map to (P, Q)
    // along the same ray, spaced so that the mesh is twice as dense around
    // the cliffs' edge and sparser on the sea floor; the unit circle is
    // where the mesh ends.
    glm::dvec2 unrolledFromGrid(double a, double b) const;

    // Ground height at world (x, z) on the grassy top (no cliff displacement
    // there); used to stand the tree on the ground.
    double groundHeight(double x, double z) const;
    // Coast radius R(theta): where the top breaks into the cliff.
    double coastRadius(double theta) const;

  private:
    struct Column {  // the profile parameters along one ray
        double coastRadius;
        double cliffWidth;
        double footHeight;
    };
    struct Ray {
        double cosTheta;
        double sinTheta;
        Column column;
    };

    Column columnAt(double theta) const;  // from the harmonics, exact
    Ray rayAt(double p, double q) const;  // interpolated from the table
    double topHeight(double x, double z) const;
    double profileHeight(double r, const Ray& ray) const;
    double cliffDisplacement(double r, const Ray& ray) const;
    double radiusAt(double rho, double theta) const;

    std::vector<Column> columns_;                  // one per table angle
    std::vector<std::vector<double>> arc_;         // arc length at r = i * radiusStep, per angle
    std::vector<double> meshLimit_;                // rho where the mesh ends, per angle
    std::vector<std::vector<double>> gridRadius_;  // grid radius at each arc sample, per angle
    double extent_ = 0.0;
};

// The island mesh: about 64k triangles on the unrolled grid.
ObjBuilder buildIsland(const IslandShape& shape);

// cliff_tex: grass, rock, sand and wet rock baked to the island's layout.
// cliff_bump3_NRM: rock, grass and sand detail as a tangent-space normal map
// for the same layout. Both square, `size` texels a side.
void bakeIslandTextures(const IslandShape& shape, int size, Image& colour, Image& normalMap);

}  // namespace assetgen
