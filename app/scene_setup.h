// Everything the frame loop draws with: the two scene programs, the render
// targets, the five scene objects and the projection.
#pragma once

#include <memory>

#include <glm/glm.hpp>

#include "render/shader_program.h"

class SceneObject;

struct Scene {
    // Declared in creation order; destroyed in the reverse order at shutdown.
    std::unique_ptr<ShaderProgram> minimalProgram;
    std::unique_ptr<ShaderProgram> baseProgram;
    // The scene objects live until the process ends and are never deleted.
    SceneObject* water = nullptr;
    SceneObject* lightSphere = nullptr;
    SceneObject* tree = nullptr;
    SceneObject* cliff = nullptr;
    SceneObject* skybox = nullptr;
    glm::mat4 projection{1.0f};
};

// Builds the scene. Returns false, after printing why, when either shader
// program fails to build; start-up must then end with status 1.
bool setUpScene(Scene& scene);
