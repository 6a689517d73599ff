// Placeholder until the render passes land: the frame only clears.
#include "app/frame_composition.h"

#include "app/app_config.h"
#include "app/scene_setup.h"
#include "platform/gl.h"

void renderFrame(Scene&, const glm::mat4&) {
    glViewport(0, 0, appConfig.window_width, appConfig.window_height);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}
