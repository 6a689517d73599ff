// One frame's three passes: the shadow map from the light, the mirrored scene
// into the reflection map, and the scene into the window.
#pragma once

#include <glm/glm.hpp>

struct Scene;

void renderFrame(Scene& scene, const glm::mat4& view);
