// Compared member by member, exactly: any change at all, however small, draws
// the map again.
#include "scene/shadow_map_inputs.h"

#include "render/scene_object.h"
#include "scene/scene_setup.h"
#include "state/globals.h"

bool ShadowMapInputs::operator==(const ShadowMapInputs& other) const {
    return lightPosition == other.lightPosition &&
           polygonOffsetUnits == other.polygonOffsetUnits &&
           polygonModeToggle == other.polygonModeToggle && treeModel == other.treeModel &&
           cliffModel == other.cliffModel && depthTexture == other.depthTexture &&
           targetWidth == other.targetWidth && targetHeight == other.targetHeight;
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
    return inputs;
}
