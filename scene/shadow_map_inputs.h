// What the shadow map's contents are drawn from, so that a frame can tell
// whether the map it holds is still the one it would draw.
#pragma once

#include <cstdint>
#include <glm/glm.hpp>

#include "platform/gl.h"

struct Scene;

// The map is out of date when any of these differs from the values it was
// last drawn with:
// - the light's position (the light's view looks from it at the origin);
// - the polygon offset units (keys K and L);
// - the polygon mode toggle (key M: wireframe draws lines, which the offset moves);
// - the model matrix of a shadow caster (the tree, the cliff);
// - the depth texture and its size (a render target made anew);
// - any other uniform value the programs that draw the casters in the shadow
//   pass read (set elsewhere: the light's uniforms, the texture units), by
//   the serial of its last change.
// And the map is never kept while those programs read "timer", which every
// draw sets anew from the clock (a shader may move the casters with it).
// Everything else the pass uses is fixed after set-up: the light's
// projection, the casters' meshes and textures, the base program and the
// pass's GL state. Anything that changes the map's contents in another way
// clears Scene::shadowMapDrawn.
struct ShadowMapInputs {
    glm::vec3 lightPosition{0.0f};
    float polygonOffsetUnits = 0.0f;
    int polygonModeToggle = 0;
    glm::mat4 treeModel{1.0f};
    glm::mat4 cliffModel{1.0f};
    GLuint depthTexture = 0;
    int targetWidth = 0;
    int targetHeight = 0;
    std::uint64_t uniformsChangedAt = 0;
    bool readsClock = false;

    bool operator==(const ShadowMapInputs& other) const;
};

// The inputs as they stand now. Asks the base program for the programs that
// draw the casters in the shadow pass, building them where they are not yet.
ShadowMapInputs currentShadowMapInputs(const Scene& scene);
