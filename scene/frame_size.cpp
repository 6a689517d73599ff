// Following the framebuffer: a size change costs a new projection and new
// reflection storage, made only in the frame that sees the change.
#include "scene/frame_size.h"

#include <glm/gtc/matrix_transform.hpp>

#include "platform/window.h"
#include "scene/scene_setup.h"

glm::mat4 sceneProjection(int width, int height) {
    // Near 1 and far 3 are kept as the matrix; the shaders keep its field of
    // view and aspect but map depth over a range of their own.
    const float aspect = static_cast<float>(width) / static_cast<float>(height);
    return glm::perspective(glm::radians(20.0f), aspect, 1.0f, 3.0f);
}

bool followFramebufferSize(Scene& scene) {
    int width = 0, height = 0;
    platform::getFramebufferSize(&width, &height);
    if (width <= 0 || height <= 0) return false;
    if (width == scene.frameWidth && height == scene.frameHeight) return true;
    scene.frameWidth = width;
    scene.frameHeight = height;
    scene.projection = sceneProjection(width, height);
    scene.reflectionMap->resize(width, height);
    return true;
}
