// The driver's global values with their start values: the light, the
// polygon offset of the shadow pass, the playback script's accumulators and
// the frame-rate counters. Everything runs on one thread.
#pragma once

#include <glm/glm.hpp>

struct LightEye {
    float x;
    float y;
    float z;
};

extern glm::vec3 lightPosition;  // where the light sphere is drawn and the shadow map looks from
extern LightEye lightEye;        // the point the script and the light keys move
extern float polyoffset;         // units of the shadow pass's line polygon offset
extern float scriptYaw;
extern float scriptPitch;
extern double scriptLastTime;
extern int fpsFrameCounter;
extern double fpsLastTime;
extern int polygonModeToggle;

// Puts every value above back to its start value (tests run many frames in one process).
void resetGlobals();
