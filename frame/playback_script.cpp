// The demonstration's timeline. Each step is scaled by the time since the
// previous step, so the camera and the light move at the same speed in
// seconds whatever the frame rate; the mode rows just set a value.
#include "frame/playback_script.h"

#include <glm/glm.hpp>
#include <optional>

#include "camera/camera.h"
#include "platform/window.h"
#include "render/scene_object.h"
#include "scene/scene_setup.h"
#include "state/globals.h"

namespace {

// Script time runs three times slower than seconds; one unit of s is 1/180 s.
constexpr double kTempo = 3.0;
constexpr double kRate = 60.0;

// One row of the timeline: where it ends in script time (it starts where the
// row before it ends) and what it changes, per unit of s. A row changes only
// what it names: handing scriptYaw to the camera in a row that does not turn
// it would undo the mouse turns of a replayed recording.
struct ScriptRow {
    double endsAt = 0.0;
    glm::vec3 move{0.0f};          // the camera's translate
    glm::vec3 thenMove{0.0f};      // a second translate: two round otherwise than their sum
    float yaw = 0.0f;              // added to scriptYaw, which the camera then takes
    float pitch = 0.0f;            // added to scriptPitch, which the camera then takes
    float lightX = 0.0f;           // added to lightEye's x and z (its y stays), which
    float lightZ = 0.0f;           // lightPosition then copies
    std::optional<int> cliffMode;  // set whatever s is

    ScriptRow then(glm::vec3 next) const {
        ScriptRow row = *this;
        row.thenMove = next;
        return row;
    }
    ScriptRow turningYaw(float rate) const {
        ScriptRow row = *this;
        row.yaw = rate;
        return row;
    }
    ScriptRow turningPitch(float rate) const {
        ScriptRow row = *this;
        row.pitch = rate;
        return row;
    }
};

ScriptRow fly(double endsAt, glm::vec3 move) {
    ScriptRow row;
    row.endsAt = endsAt, row.move = move;
    return row;
}

ScriptRow swingLight(double endsAt, float x, float z) {
    ScriptRow row;
    row.endsAt = endsAt, row.lightX = x, row.lightZ = z;
    return row;
}

ScriptRow showCliff(double endsAt, int mode) {
    ScriptRow row;
    row.endsAt = endsAt, row.cliffMode = mode;
    return row;
}

// The timeline, row by row as it plays.
const ScriptRow kScript[] = {
    fly(10, {0.1f, 0.0f, 0.0f}).turningYaw(0.08f),
    fly(15, {0.1f, 0.0f, 0.0f}),
    swingLight(22, 0.1f, 0.1f),
    fly(30, {0.0f, -0.1f, 0.0f}).turningPitch(0.04f),
    swingLight(37, -0.1f, -0.1f),
    swingLight(45, -0.15f, 0.0f),
    fly(55, {0.0f, 0.1f, 0.0f}).turningPitch(-0.03f),
    fly(65, {-0.1f, 0.0f, 0.0f}).then({0.0f, 0.0f, -0.03f}).turningYaw(-0.045f),
    showCliff(66, kModeNone),
    showCliff(68, kModeFlat),
    showCliff(70, kModeFlatSpecular),
    showCliff(72, kModeGouraud),
    showCliff(74, kModeGouraudSpecular),
    showCliff(77, kModeBumpmap),
    swingLight(80, 0.9f, 0.2f),
    swingLight(86, -0.9f, 0.0f),
    swingLight(92, 0.9f, 0.0f),
    swingLight(98, -0.9f, 0.0f),
};
constexpr int kRowCount = sizeof kScript / sizeof kScript[0];

void applyRow(const ScriptRow& row, float s, Scene& scene) {
    const glm::vec3 still(0.0f);
    if (row.move != still) camera.translate(row.move * s);
    if (row.thenMove != still) camera.translate(row.thenMove * s);
    if (row.yaw != 0.0f) camera.setYaw(scriptYaw += row.yaw * s);
    if (row.pitch != 0.0f) camera.setPitch(scriptPitch += row.pitch * s);
    if (row.lightX != 0.0f || row.lightZ != 0.0f) {
        lightEye.x += row.lightX * s;
        lightEye.z += row.lightZ * s;
        lightPosition = glm::vec3(lightEye.x, lightEye.y, lightEye.z);
    }
    if (row.cliffMode && scene.cliff != nullptr) scene.cliff->setMode(*row.cliffMode);
}

}  // namespace

int playbackScriptRow(double seconds) {
    for (int row = 0; row < kRowCount; ++row) {
        if (kScript[row].endsAt / kTempo > seconds) return row + 1;
    }
    return 0;
}

void stepPlaybackScript(Scene& scene) {
    const double t = platform::glfwGetTime();
    // The clock counts from the start of GLFW, and scriptLastTime from 0, so the
    // first step covers start-up. P resets scriptLastTime when it switches
    // playback on again, so that the first step after a pause is one frame's.
    const float s = static_cast<float>((t - scriptLastTime) * kTempo * kRate);
    const int row = playbackScriptRow(t);
    if (row != 0) applyRow(kScript[row - 1], s, scene);
    scriptLastTime = t;
}
