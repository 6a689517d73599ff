// The three passes of a frame, in order: the shadow map from the light, the
// mirrored scene into the reflection map, then the scene into the window.
// The passes set a shading mode only for the length of one draw, so the
// user's modes survive every frame.
#include "frame/frame_composition.h"

#include "platform/gl.h"
#include "platform/gl_context.h"
#include "render/reflection_map.h"
#include "render/scene_object.h"
#include "render/shader_program.h"
#include "render/shadow_map.h"
#include "scene/frame_size.h"
#include "scene/scene_setup.h"
#include "state/globals.h"

namespace {

// GL_POLYGON_OFFSET_LINE: the offset acts only while polygons are drawn as
// wireframe and leaves filled polygons where they are.
constexpr GLenum kPolygonOffsetLine = 0x2A02;

// Draws `object` in `mode` and gives it back the mode it had.
void drawInMode(SceneObject& object, int mode, const glm::mat4& view, const glm::mat4& projection,
                const ShaderProgram& program) {
    const int saved = object.getMode();
    object.setMode(mode);
    object.draw(view, projection, program);
    object.setMode(saved);
}

}  // namespace

// A map drawn from the same inputs is the same map, so the draws are left out
// while the inputs stay as they were and none of them is the clock; the
// lookup data is handed on in every frame all the same. Plain drawing draws
// the map every frame.
void renderShadowPass(Scene& scene) {
    ShadowMap& shadowMap = *scene.shadowMap;
    const glm::mat4 lightProjection = shadowMap.getProjection();
    const glm::mat4 lightView = shadowMap.update(lightPosition);
    const ShadowMapInputs inputs = currentShadowMapInputs(scene);
    const bool redraw = plainDrawing() || inputs.readsClock || !scene.shadowMapDrawn ||
                        !(scene.shadowMapDrawnFrom == inputs);
    if (redraw) {
        shadowMap.beginPass();
        glPolygonOffset(1.1f, polyoffset);
        // Contexts without a line mode (WebGL without WEBGL_polygon_mode) do
        // not know the switch either; they never draw lines.
        const bool lineOffset = platform::currentGLContextLimits().linePolygonMode;
        if (lineOffset) glEnable(kPolygonOffsetLine);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glCullFace(GL_FRONT);
        for (SceneObject* caster : shadowCasters(scene)) {
            drawInMode(*caster, kModeShadowPass, lightView, lightProjection, *scene.baseProgram);
        }
        if (lineOffset) glDisable(kPolygonOffsetLine);
        scene.shadowMapDrawn = true;
        scene.shadowMapDrawnFrom = inputs;
    }
    shadowMap.bindForLookup(lightPosition);
    shadowMap.endPass();
}

void renderReflectionPass(Scene& scene, const glm::mat4& view) {
    const ShaderProgram& program = *scene.baseProgram;
    glViewport(0, 0, scene.frameWidth, scene.frameHeight);
    scene.reflectionMap->beginPass();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glCullFace(GL_FRONT);
    scene.lightSphere->setPosition(lightPosition);
    for (SceneObject* mirrored : mirroredObjects(scene)) {
        drawInMode(*mirrored, kModeReflectionPass, view, scene.projection, program);
    }
    scene.reflectionMap->bindForLookup();
    scene.reflectionMap->endPass();
}

void renderMainPass(Scene& scene, const glm::mat4& view) {
    const ShaderProgram& program = *scene.baseProgram;
    glViewport(0, 0, scene.frameWidth, scene.frameHeight);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glCullFace(GL_BACK);
    scene.tree->draw(view, scene.projection, program);
    scene.cliff->draw(view, scene.projection, program);
    scene.skybox->draw(view, scene.projection, program);
    scene.water->draw(view, scene.projection, program);
    scene.lightSphere->setPosition(lightPosition);
    scene.lightSphere->draw(view, scene.projection, program);
}

void shareWantedCorners(Scene& scene) {
    for (SceneObject* object :
         {scene.tree, scene.cliff, scene.skybox, scene.water, scene.lightSphere}) {
        if (object != nullptr) object->shareWantedCorners();
    }
}

void renderFrame(Scene& scene, const glm::mat4& view) {
    if (!followFramebufferSize(scene)) return;  // minimised: nothing to draw into
    // What the last frame's draws asked for is made before this frame's
    // draws, never before the first frame: start-up does not wait for it.
    shareWantedCorners(scene);
    renderShadowPass(scene);
    renderReflectionPass(scene, view);
    renderMainPass(scene, view);
    finishFrame(scene);
}

void finishFrame(Scene& scene) {
    // Each target is unbound from its own unit, so that the next frame's
    // shadow and reflection passes never draw into a texture that a sampler
    // could read. Unit 0, the default, is left active.
    glActiveTexture(GL_TEXTURE0 + ShadowMap::kTextureUnit);
    scene.shadowMap->unbindTexture();
    glActiveTexture(GL_TEXTURE0 + ReflectionMap::kTextureUnit);
    scene.reflectionMap->unbindTexture();
    glActiveTexture(GL_TEXTURE0);
}
