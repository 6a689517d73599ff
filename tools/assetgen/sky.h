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

// The clear sky: a gradient from the zenith to the haze at the horizon, and a
// glow around the light, broad and faint (the sixth power of the cosine
// towards the light) and tight and bright (its 48th power). The base shaders
// paint the same sky where the water mirrors nothing (their SKY_ constants,
// which a test holds to these).
inline const glm::dvec3 kSkyZenith(0.13, 0.33, 0.70);
inline const glm::dvec3 kSkyHorizon(0.70, 0.81, 0.92);
inline const glm::dvec3 kSkyGlow(1.0, 0.93, 0.75);
constexpr double kSkyGlowBroad = 0.2;
constexpr double kSkyGlowTight = 0.45;

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
