// The frame loop: one iteration is one frame, run as fast as the buffer swap
// allows. Camera and light steps are per frame; only the playback script and
// the frame-rate title read the clock.
#pragma once

#include <glm/glm.hpp>

#include "input/input_player.h"
#include "input/input_recorder.h"

struct Scene;

struct FrameLoopState {
    bool running = true;
    bool recording = false;
    bool playing = true;       // the scripted demonstration runs from the first frame
    char playbackMoveKey = 0;  // the camera's movement key of this frame of playback
    char playbackKey = 0;      // the key handlers' key of this frame of playback
    int playbackDx = 0;
    int playbackDy = 0;
    int selectedObject = 1;  // 0 water, 1 cliff
    bool modeRequest = false;
    bool selectRequest = false;
    bool wireframeRequest = false;
    bool recordLatch = false;
    bool playLatch = false;
    InputRecorder recorder;
    InputPlayer player;
};

class FrameLoop {
  public:
    explicit FrameLoop(Scene& scene) : scene(scene) {}

    // Runs frames until Esc, Q or a closed window ends the loop.
    void run();
    // One frame, in the fixed order of its steps.
    void runIteration();
    // The steps before the render passes: count a recorded frame, step the
    // playback script and feed the recording's values while playing, the
    // frame-rate title, and the camera update whose view matrix it returns.
    glm::mat4 beginFrame();
    // The steps after the swap: the end tests, then the key handlers.
    void endFrame();
    // Finishes a running recording.
    void shutdown();

    FrameLoopState state;

  private:
    void feedPlayback();
    void updateFrameRateTitle();

    Scene& scene;
};
