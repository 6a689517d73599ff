#include "frame/virtual_flight.h"

#include <cmath>

#include "frame/frame_loop.h"
#include "frame/playback_script.h"
#include "platform/scripted_input.h"

namespace {

double momentOfFrame(long frame) { return static_cast<double>(frame) / kFlightFramesPerSecond; }

}  // namespace

long flightFrameOfTime(double seconds) { return std::lround(seconds * kFlightFramesPerSecond); }

glm::mat4 beginFlightFrame(FrameLoop& loop, platform::ScriptedInput& clock, long frame) {
    clock.setTime(momentOfFrame(frame));
    return loop.beginFrame();
}

void advanceFlight(FrameLoop& loop, platform::ScriptedInput& clock, long first, long end) {
    // Once the script has no row left it moves nothing, and nothing else
    // steps the camera in playback mode; this also bounds the work for any
    // moment asked for.
    for (long frame = first; frame < end && playbackScriptRow(momentOfFrame(frame)) != 0; ++frame) {
        beginFlightFrame(loop, clock, frame);
    }
}
