// The keyboard controls, run once per frame after the swap that polled the
// keys. Three kinds of key: held keys act every frame they are down; C, V and
// M act once when let go (a request is set while held); R and P act once when
// pressed (a latch holds until they are let go). Light keys and toggles also
// act when the frame's playback key is their letter, and are recorded while
// recording is on.
#include "frame/key_handlers.h"

#include <sstream>

#include "camera/camera.h"
#include "frame/frame_loop.h"
#include "platform/console.h"
#include "platform/gl_context.h"
#include "platform/window.h"
#include "render/scene_object.h"
#include "scene/scene_setup.h"
#include "state/globals.h"

namespace {

bool held(int key) { return platform::glfwGetKey(key) == platform::GLFW_PRESS; }

void setRequests(FrameLoopState& state) {
    if (held('C')) state.modeRequest = true;
    if (held('V')) state.selectRequest = true;
    if (held('M')) state.wireframeRequest = true;
}

// The value in the output stream's default float format (six significant
// digits, trailing zeros dropped).
void printPolyoffset() {
    std::ostringstream line;
    line << "polyoffset = " << polyoffset;
    platform::printLine(line.str());
}

void adjustPolyoffset() {
    // The step is the double 0.1, added in double precision and stored as float.
    if (held('K')) {
        polyoffset = static_cast<float>(polyoffset + 0.1);
        printPolyoffset();
    }
    if (held('L')) {
        polyoffset = static_cast<float>(polyoffset - 0.1);
        printPolyoffset();
    }
}

// lightEye and lightPosition move together; the light sphere and the shadow
// pass follow lightPosition from the next frame on.
void moveLight(FrameLoopState& state, char key, int axis, float amount) {
    if (!held(key) && state.playbackKey != key) return;
    float* eye[] = {&lightEye.x, &lightEye.y, &lightEye.z};
    *eye[axis] += amount;
    lightPosition[axis] += amount;
    if (state.recording) state.recorder.recordKey(key);
}

void moveLightKeys(FrameLoopState& state) {
    moveLight(state, 'F', 0, -1.0f);
    moveLight(state, 'H', 0, 1.0f);
    moveLight(state, 'T', 2, -1.0f);
    moveLight(state, 'Y', 1, 1.0f);
    moveLight(state, 'N', 1, -1.0f);
    moveLight(state, 'G', 2, 1.0f);
}

// OpenGL starts filled while the toggle starts at 0, so the first M sets
// filled polygons again and the second shows wireframe.
void toggleWireframe(FrameLoopState& state) {
    if (!((state.wireframeRequest && !held('M')) || state.playbackKey == 'M')) return;
    state.wireframeRequest = false;
    polygonModeToggle = (polygonModeToggle + 1) % 2;
    platform::setPolygonMode(polygonModeToggle != 1);
    if (state.recording) state.recorder.recordKey('M');
}

void switchSelection(FrameLoopState& state) {
    if (!((state.selectRequest && !held('V')) || state.playbackKey == 'V')) return;
    state.selectRequest = false;
    state.selectedObject = (state.selectedObject + 1) % 2;
    platform::glfwSetWindowTitle(state.selectedObject == 0 ? "selected object: water"
                                                           : "selected object: cliff");
    if (state.recording) state.recorder.recordKey('V');
}

// Runs after the selection, so V and C let go together change the newly
// selected object.
void cycleShadingMode(FrameLoopState& state, Scene& scene) {
    if (!((state.modeRequest && !held('C')) || state.playbackKey == 'C')) return;
    state.modeRequest = false;
    SceneObject* object = state.selectedObject == 0 ? scene.water : scene.cliff;
    if (object != nullptr) {
        object->setMode((object->getMode() + 1) % kUserModeCount);
        platform::glfwSetWindowTitle(object->modeName());
    }
    if (state.recording) state.recorder.recordKey('C');
}

// The latch makes one press switch exactly once, however long R is held;
// the second test cannot undo the first in the same frame.
void switchRecording(FrameLoopState& state) {
    if (!state.recording && !state.recordLatch && held('R')) {
        state.recording = true;
        state.recordLatch = true;
        state.recorder.startRecording();
    }
    if (state.recording && !state.recordLatch && held('R')) {
        state.recording = false;
        state.recordLatch = true;
        state.recorder.stopRecording();
    }
    if (state.recordLatch && !held('R')) state.recordLatch = false;
}

void switchPlayback(FrameLoopState& state) {
    if (!state.playing && !state.playLatch && held('P')) {
        state.playing = true;
        state.playLatch = true;
        state.player.startPlaying();
        // The script resumes from now: its next step must not apply the pause.
        scriptLastTime = platform::glfwGetTime();
    }
    if (state.playing && !state.playLatch && held('P')) {
        state.playing = false;
        state.playLatch = true;
        state.player.stopPlaying();
        camera.takeCursorAsReference();
        state.playbackMoveKey = 0;
        state.playbackKey = 0;
        state.playbackDx = 0;
        state.playbackDy = 0;
    }
    if (state.playLatch && !held('P')) state.playLatch = false;
}

}  // namespace

void handleKeys(FrameLoopState& state, Scene& scene) {
    setRequests(state);
    adjustPolyoffset();
    moveLightKeys(state);
    toggleWireframe(state);
    switchSelection(state);
    cycleShadingMode(state, scene);
    switchRecording(state);
    switchPlayback(state);
}
