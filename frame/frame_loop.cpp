// The order of one frame is the contract between the subsystems: the script
// moves the camera before the camera builds the view, the keys act after the
// swap that polled them.
#include "frame/frame_loop.h"

#include <cstdio>

#include "camera/camera.h"
#include "frame/frame_composition.h"
#include "frame/key_handlers.h"
#include "frame/playback_script.h"
#include "platform/gl_context.h"
#include "platform/window.h"
#include "state/app_config.h"
#include "state/globals.h"

void FrameLoop::run() {
    while (state.running) runIteration();
}

void FrameLoop::runIteration() {
    if (!state.running) return;
    const glm::mat4 view = beginFrame();
    renderFrame(scene, view);
    platform::glfwSwapBuffers();  // also polls keys, cursor and the window
    platform::reportGLError();
    endFrame();
}

glm::mat4 FrameLoop::beginFrame() {
    if (state.recording) state.recorder.countFrame();
    if (state.playing) stepPlaybackScript(scene);
    if (state.playing) feedPlayback();
    if (appConfig.showfps) updateFrameRateTitle();

    // Exactly one camera update per frame.
    if (state.recording) return camera.updateRecording(state.recorder);
    if (state.playing) {
        return camera.updatePlayback(state.playbackMoveKey, state.playbackDx, state.playbackDy);
    }
    return camera.update();
}

void FrameLoop::endFrame() {
    if (state.running) state.running = !platform::glfwGetKey(platform::GLFW_KEY_ESC);
    if (state.running) state.running = !platform::glfwGetKey('Q');
    if (state.running) state.running = platform::glfwGetWindowParam(platform::GLFW_OPENED) != 0;
    // The keys act in this frame even when an end test has just stopped the loop.
    handleKeys(state, scene);
}

// The recording's items become this frame's movement key and mouse movement
// for the camera's playback update, and its key for the key handlers, paced
// by their frame counts (the rule is InputPlayer::nextFrame's).
void FrameLoop::feedPlayback() {
    const PlaybackValues values = state.player.nextFrame();
    state.playbackMoveKey = values.moveKey;
    state.playbackKey = values.key;
    state.playbackDx = values.dx;
    state.playbackDy = values.dy;
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
    // A recording ended by Esc, Q or a closed window still gets its end line.
    if (state.recording) state.recorder.stopRecording();
}
