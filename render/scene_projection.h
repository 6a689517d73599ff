// The one projection shape of the scene: the viewer's, and the light's, whose
// frustum has the viewer's shape.
#pragma once

#include <glm/glm.hpp>

// The projection for a target of `width` × `height` pixels: a vertical field
// of view of 20 degrees, that aspect, near 1, far 3.
glm::mat4 sceneProjection(int width, int height);
