#include "tools/assetgen/scene_frames.h"

#include "tools/assetgen/det_math.h"

namespace assetgen {
namespace {

const glm::dvec3 kTreeTranslation(0.0, -3.8, 2.0);

// Rotation about x by `degrees`, right-handed as glm::rotate builds it.
glm::dvec3 rotateX(const glm::dvec3& p, double degrees) {
    const double c = detCos(radians(degrees));
    const double s = detSin(radians(degrees));
    return glm::dvec3(p.x, c * p.y - s * p.z, s * p.y + c * p.z);
}

}  // namespace

glm::dvec3 waterModelToWorld(const glm::dvec3& model) {
    // Rotation by 90 degrees about y takes (x, y, z) to (z, y, -x).
    const double scale = kWaterScale;
    const glm::dvec3 shifted = model + glm::dvec3(0.0, kWaterHeight / scale, 0.0);
    return scale * glm::dvec3(shifted.z, shifted.y, -shifted.x);
}

glm::dvec3 treeModelToWorld(const glm::dvec3& model) {
    return kTreeScale * rotateX(model + kTreeTranslation, 110.0);
}

glm::dvec3 treeWorldToModel(const glm::dvec3& world) {
    return rotateX(world / kTreeScale, -110.0) - kTreeTranslation;
}

glm::dvec3 treeDirectionToModel(const glm::dvec3& worldDirection) {
    return rotateX(worldDirection, -110.0);
}

glm::dvec3 skyDirectionToWorld(const glm::dvec3& m) { return glm::dvec3(-m.y, -m.x, -m.z); }

glm::dvec3 skyDirectionToModel(const glm::dvec3& w) { return glm::dvec3(-w.y, -w.x, -w.z); }

}  // namespace assetgen
