// The order of one frame is the contract between the subsystems: the script
// moves the camera before the camera builds the view, the keys act after the
// swap that polled them.
#include "app/frame_loop.h"

#include <cstdio>

#include "app/app_config.h"
#include "app/diagnostics.h"
#include "app/frame_composition.h"
#include "app/globals.h"
#include "app/key_handlers.h"
#include "app/playback_script.h"
#include "camera/camera.h"
#include "platform/window.h"

void FrameLoop::run() {
    while (state.running) runIteration();
}

void FrameLoop::runIteration() {
    if (!state.running) return;
    if (state.recording) state.recorder.countFrame();
    if (state.playing) stepPlaybackScript(scene);
    if (appConfig.showfps) updateFrameRateTitle();

    glm::mat4 view;
    if (state.recording) {
        view = camera.updateRecording(state.recorder);
    } else if (state.playing) {
        view = camera.updatePlayback(state.playbackKey, state.playbackDx, state.playbackDy);
    } else {
        view = camera.update();
    }

    renderFrame(scene, view);
    platform::glfwSwapBuffers();
    reportGLError();

    if (state.running) state.running = !platform::glfwGetKey(platform::GLFW_KEY_ESC);
    if (state.running) state.running = !platform::glfwGetKey('Q');
    if (state.running) state.running = platform::glfwGetWindowParam(platform::GLFW_OPENED) != 0;

    handleKeys(state, scene);
}

void FrameLoop::updateFrameRateTitle() {
    if (++fpsFrameCounter < 100) return;
    const double now = platform::glfwGetTime();
    const double framesPerSecond = 100.0 / (now - fpsLastTime);
    char title[64];
    std::snprintf(title, sizeof title, "%5.2f", framesPerSecond);
    platform::glfwSetWindowTitle(title);
    fpsLastTime = now;
    fpsFrameCounter = 0;
}

void FrameLoop::shutdown() {
    if (state.recording) state.recorder.stopRecording();
}
