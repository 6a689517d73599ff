// Shared by the tests of the generated asset pack: where the build put the
// files, the models read through the island's own OBJ reader, and the scene
// set-up's transforms built with GLM as the set-up builds them.
#pragma once

#include <cstdlib>
#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <string>
#include <vector>

#include "assets/obj_model.h"
#include "assets/obj_reader.h"

namespace generated_assets {

inline std::string runDirectory() {
    const char* dir = std::getenv("ISLAND_RUN_DIR");
    return dir != nullptr ? dir : "run";
}

inline std::string runPath(const std::string& relative) { return runDirectory() + "/" + relative; }

inline ObjModel readModel(const std::string& name) {
    ObjModel model;
    readObjFile(runPath("Models/" + name).c_str(), model);
    return model;
}

// The scene's model matrices: each call multiplies on the right, in the
// order the set-up makes them.
inline glm::mat4 waterMatrix() {
    glm::mat4 m(1.0f);
    m = glm::rotate(m, glm::radians(90.0f), glm::vec3(0, 1, 0));
    m = glm::scale(m, glm::vec3(14.0f));
    return glm::translate(m, glm::vec3(0.0f, -1.0f, 0.0f));
}

inline glm::mat4 treeMatrix() {
    glm::mat4 m(1.0f);
    m = glm::scale(m, glm::vec3(5.0f));
    m = glm::rotate(m, glm::radians(110.0f), glm::vec3(1, 0, 0));
    return glm::translate(m, glm::vec3(0.0f, -3.8f, 2.0f));
}

inline glm::mat4 skyboxMatrix() {
    glm::mat4 m(1.0f);
    m = glm::translate(m, glm::vec3(5.0f, 0.2f, -15.0f));
    m = glm::scale(m, glm::vec3(500.0f));
    m = glm::rotate(m, glm::radians(180.0f), glm::vec3(0, 1, 0));
    return glm::rotate(m, glm::radians(270.0f), glm::vec3(0, 0, 1));
}

inline glm::vec3 transformPoint(const glm::mat4& m, const glm::vec3& p) {
    return glm::vec3(m * glm::vec4(p, 1.0f));
}

inline std::vector<glm::vec3> worldPositions(const ObjModel& model, const glm::mat4& m) {
    std::vector<glm::vec3> out;
    out.reserve(model.positions.size());
    for (const glm::vec3& p : model.positions) out.push_back(transformPoint(m, p));
    return out;
}

const glm::vec3 kCameraStart(0.0f, 20.0f, 41.0f);
constexpr float kWaterLevel = -14.0f;

// The camera's start view: the eye at (0, 20, 41) looking along -z, pitched
// 20 degrees down; vertical field of view 20 degrees at 4:3.
inline glm::mat4 startViewProjection() {
    glm::mat4 view = glm::rotate(glm::mat4(1.0f), glm::radians(20.0f), glm::vec3(1, 0, 0));
    view = glm::translate(view, -kCameraStart);
    return glm::perspective(glm::radians(20.0f), 4.0f / 3.0f, 1.0f, 3000.0f) * view;
}

// Height of the topmost island triangle above world (x, z); false when no
// triangle lies above or below that point.
inline bool islandSurfaceHeight(const ObjModel& island, float x, float z, float& height) {
    bool found = false;
    for (const ObjFace& f : island.faces) {
        const glm::vec3& a = island.positions[f.positionIndex[0]];
        const glm::vec3& b = island.positions[f.positionIndex[1]];
        const glm::vec3& c = island.positions[f.positionIndex[2]];
        const float det = (b.x - a.x) * (c.z - a.z) - (c.x - a.x) * (b.z - a.z);
        if (det == 0.0f) continue;
        const float s = ((x - a.x) * (c.z - a.z) - (c.x - a.x) * (z - a.z)) / det;
        const float t = ((b.x - a.x) * (z - a.z) - (x - a.x) * (b.z - a.z)) / det;
        if (s < 0.0f || t < 0.0f || s + t > 1.0f) continue;
        const float y = a.y + s * (b.y - a.y) + t * (c.y - a.y);
        if (!found || y > height) height = y;
        found = true;
    }
    return found;
}

}  // namespace generated_assets
