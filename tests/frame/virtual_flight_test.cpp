// The flight advanced without drawing: frame N then begins where running every
// frame before it leaves the camera and the light, mid-flight and long after
// the timeline's end, where the advance stops early.
#include "frame/virtual_flight.h"

#include "camera/camera.h"
#include "frame/frame_loop.h"
#include "render/scene_object.h"
#include "scene/scene_setup.h"
#include "state/globals.h"
#include "test_support.h"

namespace {

// The view and the light of frame `frame`, after the frames before it were
// run one by one or advanced over.
std::pair<glm::mat4, glm::vec3> frameAfter(long frame, bool advanced) {
    support::ScriptedInputScope scope;
    resetGlobals();
    camera = Camera();
    support::printedBy([] { camera.reset(); });
    lightPosition = glm::vec3(0, 140, 100);
    SceneObject water, cliff;
    Scene scene;
    scene.water = &water, scene.cliff = &cliff;
    FrameLoop loop(scene);
    if (advanced) {
        advanceFlight(loop, scope.input, 0, frame);
    } else {
        for (long before = 0; before < frame; ++before) beginFlightFrame(loop, scope.input, before);
    }
    return {beginFlightFrame(loop, scope.input, frame), lightPosition};
}

}  // namespace

TEST(VirtualFlight, AdvancingGivesTheFrameThatEveryFrameBeforeItGives) {
    // 12 s: the camera past its first legs, the light swinging; 40 s: past the end.
    for (const long frame : {flightFrameOfTime(12.0), flightFrameOfTime(40.0)}) {
        EXPECT_EQ(frameAfter(frame, true), frameAfter(frame, false)) << "frame " << frame;
    }
}
