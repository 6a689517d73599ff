// Where the scene set-up puts what others must agree with: the asset
// generator authors the models in world units, and the base shaders mirror
// the scene in the water plane (their WATER_HEIGHT, which a test holds to
// kWaterHeight).
#pragma once

#include <glm/glm.hpp>

// The water plane's model is scaled by kWaterScale and moved so that its
// model y = 0 lies at the world height kWaterHeight.
constexpr float kWaterScale = 14.0f;
constexpr float kWaterHeight = -14.0f;

// The light's position when the scene is set up.
inline const glm::vec3 kLightStart(0.0f, 140.0f, 100.0f);
