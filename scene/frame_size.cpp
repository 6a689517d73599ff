// Following the framebuffer: a size change costs a new projection and new
// reflection storage, made only in the frame that sees the change.
#include "scene/frame_size.h"

#include "platform/window.h"
#include "render/scene_projection.h"
#include "scene/scene_setup.h"

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
