// Scene set-up: the two programs are the only fatal steps; a missing model or
// texture is reported where it is read and the set-up goes on with an object
// that draws nothing or draws with an empty texture.
#include "app/scene_setup.h"

#include <glm/gtc/matrix_transform.hpp>

#include "app/app_config.h"
#include "app/frame_size.h"
#include "app/globals.h"
#include "camera/camera.h"
#include "platform/console.h"
#include "render/model_loaders.h"
#include "render/scene_object.h"

namespace {

void noteUnread(Scene& scene, const std::vector<std::string>& unread) {
    scene.unreadFiles.insert(scene.unreadFiles.end(), unread.begin(), unread.end());
}

// The objects live until the process ends: they are created here and never deleted.
void createSceneObjects(Scene& scene) {
    const ShaderProgram& program = *scene.baseProgram;

    scene.water = new SceneObject();
    noteUnread(scene, loadModelWithNormalMap("Models/water_plane.obj", program, "firstTexture",
                                             "Sprites/sea_trans2.tga", "normalmap",
                                             "Sprites/sea_NRM.tga", *scene.water));
    scene.water->setMode(6);
    scene.water->rotate(90.0f, glm::vec3(0.0f, 1.0f, 0.0f));
    scene.water->scale(glm::vec3(14.0f, 14.0f, 14.0f));
    scene.water->translate(glm::vec3(0.0f, -1.0f, 0.0f));

    scene.lightSphere = new SceneObject();
    noteUnread(scene, loadModel("Models/light_sphere.obj", program, "firstTexture",
                                "Sprites/light_tex.tga", *scene.lightSphere));
    scene.lightSphere->setPosition(lightPosition);
    scene.lightSphere->setMode(0);

    scene.tree = new SceneObject();
    noteUnread(scene, loadModel("Models/tree2.obj", program, "firstTexture", "Sprites/tree2.tga",
                                *scene.tree));
    scene.tree->setMode(3);
    scene.tree->scale(glm::vec3(5.0f, 5.0f, 5.0f));
    scene.tree->rotate(110.0f, glm::vec3(1.0f, 0.0f, 0.0f));
    scene.tree->translate(glm::vec3(0.0f, -3.8f, 2.0f));

    scene.cliff = new SceneObject();
    noteUnread(scene, loadModelWithNormalMap("Models/island_large.obj", program, "firstTexture",
                                             "Sprites/cliff_tex.tga", "normalmap",
                                             "Sprites/cliff_bump3_NRM.tga", *scene.cliff));
    scene.cliff->setMode(5);

    scene.skybox = new SceneObject();
    noteUnread(scene, loadModel("Models/skybox_new.obj", program, "firstTexture",
                                "Sprites/violentdays_1024.tga", *scene.skybox));
    scene.skybox->translate(glm::vec3(5.0f, 0.2f, -15.0f));
    scene.skybox->scale(glm::vec3(500.0f, 500.0f, 500.0f));
    scene.skybox->rotate(180.0f, glm::vec3(0.0f, 1.0f, 0.0f));
    scene.skybox->rotate(270.0f, glm::vec3(0.0f, 0.0f, 1.0f));
    scene.skybox->setMode(0);
}

}  // namespace

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
    scene.shadowMap = std::make_unique<ShadowMap>(lightPosition, scene.baseProgram.get(),
                                                  appConfig.window_width,
                                                  appConfig.window_height);
    scene.reflectionMap = std::make_unique<ReflectionMap>(
        scene.baseProgram.get(), appConfig.window_width, appConfig.window_height);
    createSceneObjects(scene);
    scene.frameWidth = appConfig.window_width;
    scene.frameHeight = appConfig.window_height;
    scene.projection = sceneProjection(scene.frameWidth, scene.frameHeight);
    return true;
}
