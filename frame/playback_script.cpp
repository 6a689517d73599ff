// The demonstration's timeline. Each step is scaled by the time since the
// previous step, so the camera and the light move at the same speed in
// seconds whatever the frame rate; the mode rows just set a value.
#include "frame/playback_script.h"

#include <glm/glm.hpp>

#include "camera/camera.h"
#include "platform/window.h"
#include "render/scene_object.h"
#include "scene/scene_setup.h"
#include "state/globals.h"

namespace {

// Script time runs three times slower than seconds; one unit of s is 1/180 s.
constexpr double kTempo = 3.0;
constexpr double kRate = 60.0;

// The end of each row in script time; a row covers the times from the end of
// the row before it up to (not including) its own end.
constexpr double kRowEnds[] = {10, 15, 22, 30, 37, 45, 55, 65, 66,
                               68, 70, 72, 74, 77, 80, 86, 92, 98};
constexpr int kRowCount = sizeof kRowEnds / sizeof kRowEnds[0];

void copyLightEyeToLightPosition() {
    lightPosition = glm::vec3(lightEye.x, lightEye.y, lightEye.z);
}

void setCliffMode(Scene& scene, int mode) {
    if (scene.cliff != nullptr) scene.cliff->setMode(mode);
}

void applyRow(int row, float s, Scene& scene) {
    switch (row) {
        case 1:
            camera.translate(glm::vec3(0.1f * s, 0.0f, 0.0f));
            scriptYaw += 0.08f * s;
            camera.setYaw(scriptYaw);
            break;
        case 2:
            camera.translate(glm::vec3(0.1f * s, 0.0f, 0.0f));
            break;
        case 3:
            lightEye.x += 0.1f * s;
            lightEye.z += 0.1f * s;
            copyLightEyeToLightPosition();
            break;
        case 4:
            camera.translate(glm::vec3(0.0f, -0.1f * s, 0.0f));
            scriptPitch += 0.04f * s;
            camera.setPitch(scriptPitch);
            break;
        case 5:
            lightEye.x -= 0.1f * s;
            lightEye.z -= 0.1f * s;
            copyLightEyeToLightPosition();
            break;
        case 6:
            lightEye.x -= 0.15f * s;
            copyLightEyeToLightPosition();
            break;
        case 7:
            camera.translate(glm::vec3(0.0f, 0.1f * s, 0.0f));
            scriptPitch -= 0.03f * s;
            camera.setPitch(scriptPitch);
            break;
        case 8:
            camera.translate(glm::vec3(-0.1f * s, 0.0f, 0.0f));
            camera.translate(glm::vec3(0.0f, 0.0f, -0.03f * s));
            scriptYaw -= 0.045f * s;
            camera.setYaw(scriptYaw);
            break;
        case 9:
            setCliffMode(scene, kModeNone);
            break;
        case 10:
            setCliffMode(scene, kModeFlat);
            break;
        case 11:
            setCliffMode(scene, kModeFlatSpecular);
            break;
        case 12:
            setCliffMode(scene, kModeGouraud);
            break;
        case 13:
            setCliffMode(scene, kModeGouraudSpecular);
            break;
        case 14:
            setCliffMode(scene, kModeBumpmap);
            break;
        case 15:
            lightEye.x += 0.9f * s;
            lightEye.z += 0.2f * s;
            copyLightEyeToLightPosition();
            break;
        case 16:
            lightEye.x -= 0.9f * s;
            copyLightEyeToLightPosition();
            break;
        case 17:
            lightEye.x += 0.9f * s;
            copyLightEyeToLightPosition();
            break;
        case 18:
            lightEye.x -= 0.9f * s;
            copyLightEyeToLightPosition();
            break;
        default:
            break;
    }
}

}  // namespace

int playbackScriptRow(double seconds) {
    for (int row = 0; row < kRowCount; ++row) {
        if (kRowEnds[row] / kTempo > seconds) return row + 1;
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
    if (row != 0) applyRow(row, s, scene);
    scriptLastTime = t;
}
