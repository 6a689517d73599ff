// One drawable object of the scene: a mesh, its textures, a model matrix and a
// shading mode that the shaders receive as the uniform "mode".
#pragma once

#include <glm/glm.hpp>
#include <string>
#include <vector>

#include "assets/mesh.h"
#include "assets/texture_set.h"
#include "render/shading_mode.h"
#include "render/shared_corner_buffers.h"

class ShaderProgram;

// The uniforms every draw sets from its own arguments and the clock: what a
// draw reads besides them was set elsewhere and stays until set again.
inline const std::vector<std::string> kUniformsOfEveryDraw = {"mvMat",   "invmvpMat", "V_cam", "M",
                                                              "projMat", "timer",     "mode"};

class SceneObject {
  public:
    SceneObject() = default;
    SceneObject(const SceneObject&) = delete;
    SceneObject& operator=(const SceneObject&) = delete;

    void setMode(int newMode) { mode = newMode; }
    int getMode() const { return mode; }
    const char* modeName() const;

    // Each transform multiplies the model matrix on the right, so it acts in
    // the object's own coordinates.
    void rotate(float angleDegrees, glm::vec3 axis);
    void scale(glm::vec3 factors);
    void translate(glm::vec3 offset);
    void setPosition(glm::vec3 newPosition);

    const glm::mat4& getModelMatrix() const { return modelMatrix; }
    bool isLoaded() const { return loaded; }
    void markLoaded() { loaded = true; }

    void draw(const glm::mat4& view, const glm::mat4& projection,
              const ShaderProgram& program) const;
    // Whether a draw with `program` binds a colour texture without alpha,
    // which picks the program that draws (ShaderProgram::drawProgram).
    bool opaqueColourFor(const ShaderProgram& program) const;

    // Makes the index buffers that earlier draws asked for, so that later
    // draws shade each vertex once.
    void shareWantedCorners() { sharedCorners.makeWanted(mesh); }

    Mesh mesh;
    TextureSet textures;

  private:
    glm::mat4 modelMatrix{1.0f};
    int mode = kModeFlat;
    glm::vec3 position{0.0f};
    bool loaded = false;
    SharedCornerBuffers sharedCorners;
};

// The name of a shading mode as the window title shows it.
const char* shadingModeName(int mode);
