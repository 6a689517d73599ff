// Definitions and start values of the driver's globals.
#include "state/globals.h"

glm::vec3 lightPosition(0.0f, 0.0f, 0.0f);
LightEye lightEye{0.0f, 70.0f, 50.0f};
float polyoffset = 1.1f;
float scriptYaw = 0.0f;
float scriptPitch = 20.0f;
double scriptLastTime = 0.0;
int fpsFrameCounter = 0;
double fpsLastTime = 0.0;
int polygonModeToggle = 0;

void resetGlobals() {
    lightPosition = glm::vec3(0.0f, 0.0f, 0.0f);
    lightEye = LightEye{0.0f, 70.0f, 50.0f};
    polyoffset = 1.1f;
    scriptYaw = 0.0f;
    scriptPitch = 20.0f;
    scriptLastTime = 0.0;
    fpsFrameCounter = 0;
    fpsLastTime = 0.0;
    polygonModeToggle = 0;
}
