// Where the scene set-up puts each model, as plain functions, so that the
// generator can author objects in world units and write them in model space.
//
//   water:   rotate 90 about y, scale kWaterScale, translate to kWaterHeight
//   tree:    scale 5, rotate 110 about x, translate (0, -3.8, 2)
//   skybox:  translate (5, 0.2, -15), scale 500, rotate 180 about y, rotate 270 about z
//   island and light sphere: model space is world space (the sphere is moved
//   to the light by its position).
//
// Each call multiplies the model matrix on the right, so the last one listed
// acts first on a model point.
#pragma once

#include <glm/glm.hpp>

#include "scene/scene_placements.h"

namespace assetgen {

constexpr double kTreeScale = 5.0;
constexpr double kSkyScale = 500.0;

glm::dvec3 waterModelToWorld(const glm::dvec3& model);

glm::dvec3 treeModelToWorld(const glm::dvec3& model);
glm::dvec3 treeWorldToModel(const glm::dvec3& world);
// Directions (normals) map by the rotation alone; the scale is uniform.
glm::dvec3 treeDirectionToModel(const glm::dvec3& worldDirection);

// The sky box maps model (x, y, z) to world direction (-y, -x, -z): model -x
// is world up. The map is a proper rotation, so windings are kept.
glm::dvec3 skyDirectionToWorld(const glm::dvec3& model);
glm::dvec3 skyDirectionToModel(const glm::dvec3& world);

}  // namespace assetgen
