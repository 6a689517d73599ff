// The shading modes: the integer each draw hands the shaders as the uniform
// "mode". The user cycles 0 to 6; the shadow and reflection passes set the
// other two for the length of one draw.
#pragma once

constexpr int kModeNone = 0;
constexpr int kModeFlat = 1;
constexpr int kModeFlatSpecular = 2;
constexpr int kModeGouraud = 3;
constexpr int kModeGouraudSpecular = 4;
constexpr int kModeBumpmap = 5;
constexpr int kModeBumpmapSpecular = 6;
constexpr int kUserModeCount = 7;  // the user's modes are 0 to kUserModeCount - 1

constexpr int kModeShadowPass = -2;     // every draw into the shadow map
constexpr int kModeReflectionPass = 7;  // every draw into the reflection map

// The two bump-map modes read the object's normal map, on unit 1.
constexpr bool modeUsesNormalMap(int mode) {
    return mode == kModeBumpmap || mode == kModeBumpmapSpecular;
}
