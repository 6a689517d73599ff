// Scene set-up: the two programs are the only fatal steps; a missing model or
// texture is reported where it is read and the set-up goes on with an object
// that draws nothing or draws with an empty texture.
#include "scene/scene_setup.h"

#include <algorithm>
#include <glm/gtc/matrix_transform.hpp>

#include "assets/asset_prefetch.h"
#include "camera/camera.h"
#include "platform/console.h"
#include "platform/gl.h"
#include "platform/gl_context.h"
#include "render/model_loaders.h"
#include "render/scene_object.h"
#include "render/scene_projection.h"
#include "scene/frame_size.h"
#include "scene/scene_files.h"
#include "scene/scene_placements.h"
#include "state/app_config.h"
#include "state/globals.h"

namespace {

SceneObject* createAndLoad(Scene& scene, const ObjectFiles& files, AssetPrefetch* ahead) {
    const ShaderProgram& program = *scene.baseProgram;
    SceneObject* object = new SceneObject();
    const std::vector<std::string> unread =
        files.normalMap != nullptr
            ? loadModelWithNormalMap(files.model, program, "firstTexture", files.texture,
                                     "normalmap", files.normalMap, *object, ahead)
            : loadModel(files.model, program, "firstTexture", files.texture, *object, ahead);
    scene.unreadFiles.insert(scene.unreadFiles.end(), unread.begin(), unread.end());
    return object;
}

// The builds that `object`'s draws in the first frame will ask for, started
// as soon as its mode and its colour texture are known, where the commands
// run elsewhere (a browser's GPU process): they are then built while the next
// objects load, instead of while the first frame waits. A desktop driver
// builds in the call, and a build made as the first frame draws goes on
// beside the rasterising of the pass before it: there they wait.
void startFirstFrameBuilds(const Scene& scene, const SceneObject& object) {
    if (!platform::commandsRunElsewhere() || !object.isLoaded()) return;
    const ShaderProgram& program = *scene.baseProgram;
    const bool opaqueColour = object.opaqueColourFor(program);
    const auto drawnBy = [&object](const auto& objects) {
        return std::find(objects.begin(), objects.end(), &object) != objects.end();
    };
    program.startBuild(object.getMode(), opaqueColour);
    if (drawnBy(shadowCasters(scene))) program.startBuild(kModeShadowPass, opaqueColour);
    if (drawnBy(mirroredObjects(scene))) program.startBuild(kModeReflectionPass, opaqueColour);
    // A browser holds commands back until a call needs an answer: handed over
    // now, before the next object's model is parsed.
    glFlush();
}

// The objects live until the process ends: they are created here and never deleted.
void createSceneObjects(Scene& scene, AssetPrefetch* ahead) {
    scene.water = createAndLoad(scene, kWaterFiles, ahead);
    scene.water->setMode(kModeBumpmapSpecular);
    startFirstFrameBuilds(scene, *scene.water);
    scene.water->rotate(90.0f, glm::vec3(0.0f, 1.0f, 0.0f));
    scene.water->scale(glm::vec3(kWaterScale));
    scene.water->translate(glm::vec3(0.0f, kWaterHeight / kWaterScale, 0.0f));

    scene.lightSphere = createAndLoad(scene, kLightSphereFiles, ahead);
    scene.lightSphere->setPosition(lightPosition);
    scene.lightSphere->setMode(kModeNone);
    startFirstFrameBuilds(scene, *scene.lightSphere);

    scene.tree = createAndLoad(scene, kTreeFiles, ahead);
    scene.tree->setMode(kModeGouraud);
    startFirstFrameBuilds(scene, *scene.tree);
    scene.tree->scale(glm::vec3(5.0f, 5.0f, 5.0f));
    scene.tree->rotate(110.0f, glm::vec3(1.0f, 0.0f, 0.0f));
    scene.tree->translate(glm::vec3(0.0f, -3.8f, 2.0f));

    scene.cliff = createAndLoad(scene, kCliffFiles, ahead);
    scene.cliff->setMode(kModeBumpmap);
    startFirstFrameBuilds(scene, *scene.cliff);

    scene.skybox = createAndLoad(scene, kSkyboxFiles, ahead);
    scene.skybox->translate(glm::vec3(5.0f, 0.2f, -15.0f));
    scene.skybox->scale(glm::vec3(500.0f, 500.0f, 500.0f));
    scene.skybox->rotate(180.0f, glm::vec3(0.0f, 1.0f, 0.0f));
    scene.skybox->rotate(270.0f, glm::vec3(0.0f, 0.0f, 1.0f));
    scene.skybox->setMode(kModeNone);
    startFirstFrameBuilds(scene, *scene.skybox);
}

}  // namespace

std::unique_ptr<AssetPrefetch> startReadingSceneAssets() {
    // In the order the loaders take them: model, texture, normal map.
    std::vector<AssetPrefetch::File> files;
    for (const ObjectFiles& object : kSceneFiles) {
        const bool normalMapped = object.normalMap != nullptr;
        files.push_back(
            {normalMapped ? AssetPrefetch::Kind::ModelWithTangents : AssetPrefetch::Kind::Model,
             object.model});
        files.push_back({AssetPrefetch::Kind::Image, object.texture});
        if (normalMapped) files.push_back({AssetPrefetch::Kind::Image, object.normalMap});
    }
    // Two workers: the second core, and the first while the window is made.
    return std::make_unique<AssetPrefetch>(files, 2);
}

bool setUpScene(Scene& scene, AssetPrefetch* ahead) {
    const std::string shaderDirectory = "Shaders/" + appConfig.shaderversion;
    scene.minimalProgram =
        std::make_unique<ShaderProgram>(shaderDirectory + "/minimal", kMinimalProgram);
    if (!scene.minimalProgram->isLoaded()) {
        platform::printLine("Could not compile minimal shader program.");
        return false;
    }
    scene.baseProgram = std::make_unique<ShaderProgram>(shaderDirectory + "/base", kBaseProgram);
    if (!scene.baseProgram->isLoaded()) {
        platform::printLine("Could not compile base shader program.");
        return false;
    }
    camera.reset();
    lightPosition = kLightStart;
    scene.shadowMap = std::make_unique<ShadowMap>(lightPosition, scene.baseProgram.get(),
                                                  appConfig.window_width, appConfig.window_height);
    scene.reflectionMap = std::make_unique<ReflectionMap>(
        scene.baseProgram.get(), appConfig.window_width, appConfig.window_height);
    createSceneObjects(scene, ahead);
    scene.frameWidth = appConfig.window_width;
    scene.frameHeight = appConfig.window_height;
    scene.projection = sceneProjection(scene.frameWidth, scene.frameHeight);
    return true;
}
