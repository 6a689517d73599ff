// Scene set-up: the two programs are the only fatal steps; a missing model or
// texture is reported where it is read and the set-up goes on.
#include "app/scene_setup.h"

#include <glm/gtc/matrix_transform.hpp>

#include "app/app_config.h"
#include "app/globals.h"
#include "camera/camera.h"
#include "platform/console.h"

bool setUpScene(Scene& scene) {
    const std::string shaderDirectory = "Shaders/" + appConfig.shaderversion;
    scene.minimalProgram = std::make_unique<ShaderProgram>(shaderDirectory + "/minimal", 0);
    if (!scene.minimalProgram->isLoaded()) {
        platform::printLine("Could not compile minimal shader program.");
        return false;
    }
    scene.baseProgram = std::make_unique<ShaderProgram>(shaderDirectory + "/base", 1);
    if (!scene.baseProgram->isLoaded()) {
        platform::printLine("Could not compile base shader program.");
        return false;
    }
    camera.reset();
    lightPosition = glm::vec3(0.0f, 140.0f, 100.0f);
    // The render targets and the scene objects drop in here.
    const float aspect = static_cast<float>(appConfig.window_width) /
                         static_cast<float>(appConfig.window_height);
    scene.projection = glm::perspective(glm::radians(20.0f), aspect, 1.0f, 3.0f);
    return true;
}
