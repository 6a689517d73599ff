// Everything the frame loop draws with: the two scene programs, the render
// targets, the five scene objects and the projection.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <glm/glm.hpp>

#include "render/reflection_map.h"
#include "render/shader_program.h"
#include "render/shadow_map.h"

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
    // window's at set-up, then its framebuffer's (app/frame_size.h).
    int frameWidth = 0;
    int frameHeight = 0;
    glm::mat4 projection{1.0f};
    // The model and texture files that could not be read: the demo draws
    // without them, a tool that must show the whole scene refuses to.
    std::vector<std::string> unreadFiles;
};

// Builds the scene. Returns false, after printing why, when either shader
// program fails to build; start-up must then end with status 1.
bool setUpScene(Scene& scene);
