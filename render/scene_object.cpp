// Drawing a scene object: every uniform location is looked up by name at the
// draw (through the program's setters), so one routine serves programs that
// lack some of the inputs.
#include "render/scene_object.h"

#include <algorithm>
#include <glm/gtc/matrix_transform.hpp>

#include "platform/window.h"
#include "render/shader_program.h"

namespace {

// A draw goes in one part per this many triangles, and in at most
// kMostDrawParts (ShaderProgram::drawsInParts): llvmpipe prepares a batch on
// the drawing thread while its own threads rasterise the one before. Four
// parts of the island (68,392 triangles) took 3-7% off the flight's frames on
// a quiet machine; more and smaller parts each end with one rasterising
// thread idle.
constexpr long long kTrianglesPerDrawPart = 16384;
constexpr long long kMostDrawParts = 4;

int drawPartsFor(const Mesh& mesh, const ShaderProgram& drawing) {
    if (!drawing.drawsInParts()) return 1;
    const long long triangles = mesh.uploadVertexCount() / 3;
    return static_cast<int>(std::clamp(triangles / kTrianglesPerDrawPart, 1LL, kMostDrawParts));
}

}  // namespace

const char* shadingModeName(int mode) {
    switch (mode) {
        case kModeFlat:
            return "flat shading";
        case kModeFlatSpecular:
            return "flat shading with specular";
        case kModeGouraud:
            return "gouraud shading";
        case kModeGouraudSpecular:
            return "gouraud shading with specular";
        case kModeBumpmap:
            return "bumpmap shading";
        case kModeBumpmapSpecular:
            return "bumpmap shading with specular";
        default:
            return "none";
    }
}

const char* SceneObject::modeName() const { return shadingModeName(mode); }

void SceneObject::rotate(float angleDegrees, glm::vec3 axis) {
    modelMatrix = glm::rotate(modelMatrix, glm::radians(angleDegrees), axis);
}

void SceneObject::scale(glm::vec3 factors) { modelMatrix = glm::scale(modelMatrix, factors); }

void SceneObject::translate(glm::vec3 offset) { modelMatrix = glm::translate(modelMatrix, offset); }

void SceneObject::setPosition(glm::vec3 newPosition) {
    translate(newPosition - position);
    position = newPosition;
}

bool SceneObject::opaqueColourFor(const ShaderProgram& program) const {
    // The colour texture is bound only for programs of nonzero kind; one
    // without an alpha channel (or an empty one) reads alpha 1.
    return program.getKind() != kMinimalProgram && !textures.colourHasAlpha();
}

void SceneObject::draw(const glm::mat4& view, const glm::mat4& projection,
                       const ShaderProgram& program) const {
    if (!loaded) return;
    const glm::mat4 modelView = view * modelMatrix;
    const ShaderProgram& drawing = program.drawProgram(mode, opaqueColourFor(program));
    program.bindForDraw(mode, opaqueColourFor(program));
    mesh.bindAttributes();
    if (program.getKind() != kMinimalProgram) {
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, textures.textureIds.empty() ? 0 : textures.textureIds[0]);
        if (modeUsesNormalMap(mode) && textures.textureCapacity == 2) {
            glActiveTexture(GL_TEXTURE1);
            glBindTexture(GL_TEXTURE_2D, textures.textureIds[1]);
            program.setInt(textures.samplerNames[1].c_str(), 1);
        }
    }
    program.setMat4("mvMat", modelView, false);
    const glm::mat4 inverseModelViewProjection = glm::inverse(modelView) * glm::inverse(projection);
    program.setMat4("invmvpMat", inverseModelViewProjection, false);
    program.setMat4("V_cam", view, false);
    if (program.getKind() == kBaseProgram) program.setMat4("M", modelMatrix, false);
    program.setMat4("projMat", projection, true);
    program.setFloat("timer", static_cast<float>(platform::glfwGetTime()));
    program.setInt("mode", mode);
    const GLuint sharedIndices =
        drawing.sharesCorners()
            ? sharedCorners.indexBufferFor(arraysReadBy(mesh, drawing.readAttributeLocations()))
            : 0;
    if (sharedIndices != 0) glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, sharedIndices);
    mesh.drawTriangles(drawPartsFor(mesh, drawing));
    mesh.unbindAttributes();
    glBindTexture(GL_TEXTURE_2D, 0);
    program.unbind();
}
