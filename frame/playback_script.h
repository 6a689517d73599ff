// The scripted demonstration: a timeline of about 33 seconds that flies the
// camera, swings the light and steps the cliff through its shading modes.
#pragma once

struct Scene;

// One step: reads the clock and applies the timeline row the time falls in.
void stepPlaybackScript(Scene& scene);

// The row (1 to 18) whose span holds `seconds` since GLFW started, 0 once the
// timeline is over.
int playbackScriptRow(double seconds);
