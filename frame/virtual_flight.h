// The scripted flight on a virtual clock that steps at a fixed rate from 0,
// whatever the real frame rate: the script scales each step by the time since
// the one before, so the same moment only gives the same view when it is
// reached in the same steps. island-capture takes its pictures this way, and
// a page that holds its clock still at a moment reaches it this way first.
#pragma once

#include <glm/glm.hpp>

class FrameLoop;
namespace platform {
class ScriptedInput;
}

// The virtual clock's rate: frame n of the flight is at n / 60 s.
constexpr int kFlightFramesPerSecond = 60;

// The frame whose moment is nearest `seconds`.
long flightFrameOfTime(double seconds);

// Sets `clock` to the moment of `frame` and runs the frame loop's start of
// that frame (the playback script, the camera's update); returns its view.
glm::mat4 beginFlightFrame(FrameLoop& loop, platform::ScriptedInput& clock, long frame);

// Runs the start of the frames from `first` up to, not including, `end`,
// without drawing them, so that frame `end` begins where the flight has
// brought the camera, the light and the modes. Past the timeline's end the
// frames would change nothing, and are not run.
void advanceFlight(FrameLoop& loop, platform::ScriptedInput& clock, long first, long end);
