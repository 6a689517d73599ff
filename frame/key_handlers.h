// The keyboard controls that act after each swap: light moves, polygon offset,
// wireframe, object selection and shading modes, recording and playback.
#pragma once

struct FrameLoopState;
struct Scene;

void handleKeys(FrameLoopState& state, Scene& scene);
