// Compared member by member, exactly: any change at all, however small, draws
// the map again. The uniform values other than the draws' own are compared by
// the serial of their last change, which the base program keeps.
#include "scene/shadow_map_inputs.h"

#include <algorithm>

#include "render/scene_object.h"
#include "render/shader_program.h"
#include "scene/scene_setup.h"
#include "state/globals.h"

bool ShadowMapInputs::operator==(const ShadowMapInputs& other) const {
    return lightPosition == other.lightPosition && polygonOffsetUnits == other.polygonOffsetUnits &&
           polygonModeToggle == other.polygonModeToggle && treeModel == other.treeModel &&
           cliffModel == other.cliffModel && depthTexture == other.depthTexture &&
           targetWidth == other.targetWidth && targetHeight == other.targetHeight &&
           uniformsChangedAt == other.uniformsChangedAt && readsClock == other.readsClock;
}

ShadowMapInputs currentShadowMapInputs(const Scene& scene) {
    ShadowMapInputs inputs;
    inputs.lightPosition = lightPosition;
    inputs.polygonOffsetUnits = polyoffset;
    inputs.polygonModeToggle = polygonModeToggle;
    inputs.treeModel = scene.tree->getModelMatrix();
    inputs.cliffModel = scene.cliff->getModelMatrix();
    inputs.depthTexture = scene.shadowMap->getDepthTexture();
    inputs.targetWidth = scene.shadowMap->targetWidth();
    inputs.targetHeight = scene.shadowMap->targetHeight();
    const ShaderProgram& base = *scene.baseProgram;
    for (const SceneObject* caster : shadowCasters(scene)) {
        const ShaderProgram& drawing =
            base.drawProgram(kModeShadowPass, caster->opaqueColourFor(base));
        inputs.readsClock = inputs.readsClock || drawing.getUniformLocation("timer") >= 0;
        inputs.uniformsChangedAt = std::max(inputs.uniformsChangedAt,
                                            base.lastChangeReadBy(drawing, kUniformsOfEveryDraw));
    }
    return inputs;
}
