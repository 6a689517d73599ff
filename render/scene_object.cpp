// Drawing a scene object: every uniform location is looked up by name at the
// draw (through the program's setters), so one routine serves programs that
// lack some of the inputs.
#include "render/scene_object.h"

#include <glm/gtc/matrix_transform.hpp>

#include "platform/window.h"
#include "render/shader_program.h"

const char* shadingModeName(int mode) {
    switch (mode) {
        case 1: return "flat shading";
        case 2: return "flat shading with specular";
        case 3: return "gouraud shading";
        case 4: return "gouraud shading with specular";
        case 5: return "bumpmap shading";
        case 6: return "bumpmap shading with specular";
        default: return "none";
    }
}

const char* SceneObject::modeName() const { return shadingModeName(mode); }

void SceneObject::rotate(float angleDegrees, glm::vec3 axis) {
    modelMatrix = glm::rotate(modelMatrix, glm::radians(angleDegrees), axis);
}

void SceneObject::scale(glm::vec3 factors) { modelMatrix = glm::scale(modelMatrix, factors); }

void SceneObject::translate(glm::vec3 offset) {
    modelMatrix = glm::translate(modelMatrix, offset);
}

void SceneObject::setPosition(glm::vec3 newPosition) {
    translate(newPosition - position);
    position = newPosition;
}

bool SceneObject::opaqueColourFor(const ShaderProgram& program) const {
    // The colour texture is bound only for programs of nonzero kind; one
    // without an alpha channel (or an empty one) reads alpha 1.
    return program.getKind() != 0 && !textures.colourHasAlpha();
}

void SceneObject::draw(const glm::mat4& view, const glm::mat4& projection,
                       const ShaderProgram& program) const {
    if (!loaded) return;
    const glm::mat4 modelView = view * modelMatrix;
    program.bindForDraw(mode, opaqueColourFor(program));
    mesh.bindAttributes();
    if (program.getKind() != 0) {
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, textures.textureIds.empty() ? 0 : textures.textureIds[0]);
        if ((mode == 5 || mode == 6) && textures.textureCapacity == 2) {
            glActiveTexture(GL_TEXTURE1);
            glBindTexture(GL_TEXTURE_2D, textures.textureIds[1]);
            program.setInt(textures.samplerNames[1].c_str(), 1);
        }
    }
    program.setMat4("mvMat", modelView, false);
    const glm::mat4 inverseModelViewProjection =
        glm::inverse(modelView) * glm::inverse(projection);
    program.setMat4("invmvpMat", inverseModelViewProjection, false);
    program.setMat4("V_cam", view, false);
    if (program.getKind() == 1) program.setMat4("M", modelMatrix, false);
    program.setMat4("projMat", projection, true);
    program.setFloat("timer", static_cast<float>(platform::glfwGetTime()));
    program.setInt("mode", mode);
    mesh.drawTriangles();
    mesh.unbindAttributes();
    glBindTexture(GL_TEXTURE_2D, 0);
    program.unbind();
}
