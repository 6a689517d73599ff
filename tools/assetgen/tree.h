// The tree: authored upright in world units around its base, then written in
// the model space that the scene's tree transform maps back to the world.
#pragma once

#include <glm/glm.hpp>
#include <string>

namespace assetgen {

class IslandShape;

// World position of the trunk's foot: on the island's ground where the tree
// model's origin lands, sunk a little so that no gap shows on a slope.
glm::dvec3 treeBaseWorld(const IslandShape& island);
constexpr double kTreeSink = 0.3;

std::string makeTreeObj(const IslandShape& island);

}  // namespace assetgen
