// Everything the frame loop draws with: the two scene programs, the render
// targets, the five scene objects and the projection.
#pragma once

#include <array>
#include <glm/glm.hpp>
#include <memory>
#include <string>
#include <vector>

#include "render/reflection_map.h"
#include "render/shader_program.h"
#include "render/shadow_map.h"
#include "scene/shadow_map_inputs.h"

class AssetPrefetch;
class SceneObject;

struct Scene {
    // Declared in creation order, so that shutdown destroys the render targets
    // first, then the base and the minimal program.
    std::unique_ptr<ShaderProgram> minimalProgram;
    std::unique_ptr<ShaderProgram> baseProgram;
    std::unique_ptr<ShadowMap> shadowMap;
    std::unique_ptr<ReflectionMap> reflectionMap;
    // The scene objects live until the process ends and are never deleted.
    SceneObject* water = nullptr;
    SceneObject* lightSphere = nullptr;
    SceneObject* tree = nullptr;
    SceneObject* cliff = nullptr;
    SceneObject* skybox = nullptr;
    // The size the window is drawn at and the projection of that aspect: the
    // window's at set-up, then its framebuffer's (scene/frame_size.h).
    int frameWidth = 0;
    int frameHeight = 0;
    glm::mat4 projection{1.0f};
    // The shadow map is drawn again only when its inputs have changed since
    // it was last drawn (scene/shadow_map_inputs.h says which they are).
    bool shadowMapDrawn = false;
    ShadowMapInputs shadowMapDrawnFrom;
    // The model and texture files that could not be read: the demo draws
    // without them, a tool that must show the whole scene refuses to.
    std::vector<std::string> unreadFiles;
};

// The objects that the shadow pass draws and those that the reflection pass
// draws, in the order they are drawn; the main pass draws all five.
inline std::array<SceneObject*, 2> shadowCasters(const Scene& scene) {
    return {scene.tree, scene.cliff};
}
inline std::array<SceneObject*, 3> mirroredObjects(const Scene& scene) {
    return {scene.tree, scene.cliff, scene.lightSphere};
}

// Builds the scene. Returns false, after printing why, when either shader
// program fails to build; start-up must then end with status 1. With
// `ahead`, the models and images it has read are taken from it.
bool setUpScene(Scene& scene, AssetPrefetch* ahead = nullptr);

// Starts reading and decoding the scene's models and images on worker
// threads; setUpScene takes them from the result. Needs no window.
std::unique_ptr<AssetPrefetch> startReadingSceneAssets();
