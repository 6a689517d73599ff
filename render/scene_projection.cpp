// The scene's projection. Near 1 and far 3 are kept as the matrix; the shaders
// keep its field of view and aspect but map depth over a range of their own.
#include "render/scene_projection.h"

#include <glm/gtc/matrix_transform.hpp>

glm::mat4 sceneProjection(int width, int height) {
    const float aspect = static_cast<float>(width) / static_cast<float>(height);
    return glm::perspective(glm::radians(20.0f), aspect, 1.0f, 3.0f);
}
