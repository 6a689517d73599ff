// The sky box and its atlas. The atlas is 1024 x 2048 texels: tiles of 512,
// two across and four down, one per world direction of a cube face:
//
//   row 0: zenith (+y)   nadir (-y)
//   row 1: north (-z)    east (+x)
//   row 2: south (+z)    west (-x)
//   row 3: unused (horizon haze)
//
// Each face maps to its tile inset by kSkyTilePadding texels; the padding is
// painted with the sky in the directions just beyond the face's edge, so that
// linear filtering at the cube's edges blends into the right colours.
#pragma once

#include <glm/glm.hpp>

namespace assetgen {

constexpr int kSkyAtlasWidth = 1024;
constexpr int kSkyAtlasHeight = 2048;
constexpr int kSkyTileSize = 512;
constexpr int kSkyTilePadding = 4;

struct SkyFace {
    glm::dvec3 direction;  // world direction of the face's centre
    glm::dvec3 across;     // world direction of growing u on the tile
    glm::dvec3 down;       // world direction of growing v (down the rows)
    int tileColumn;
    int tileRow;
};

// The six faces in the order zenith, nadir, north, east, south, west.
const SkyFace* skyFaces();

// Texture coordinates of face-plane coordinates (a, b) in [-1, 1] (a along
// `across`, b along `down`).
glm::dvec2 skyTexCoord(const SkyFace& face, double a, double b);

// The sky seen in world direction `direction` (need not be unit length).
glm::dvec3 skyColour(const glm::dvec3& direction);

}  // namespace assetgen
