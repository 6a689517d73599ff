// A small stand-in scene written as the five files of models and textures the
// scene set-up loads, authored in world coordinates and stored in each
// object's model space through the inverse of the set-up's placement, so
// that tests know where every feature lands on the screen.
//
// World layout: a sand-coloured island block (top at y = 0, x and z within
// +-12) whose top carries a flat normal map; a green column ("tree") on it;
// a translucent blue water plane at y = -14; a yellow light sphere; a
// light-blue sky box around everything.
#pragma once

#include <string>

#include <glm/glm.hpp>

namespace testscene {

// The column standing on the island: its foot square and its height.
constexpr float kColumnMinX = -1.0f;
constexpr float kColumnMaxX = 1.0f;
constexpr float kColumnMinZ = -1.0f;
constexpr float kColumnMaxZ = 1.0f;
constexpr float kColumnHeight = 10.0f;
constexpr float kIslandHalfSize = 12.0f;
constexpr float kWaterHeight = -14.0f;

// Colours of the textures (0..255).
constexpr glm::ivec3 kSandColour{200, 170, 110};
constexpr glm::ivec3 kColumnColour{60, 150, 60};
constexpr glm::ivec3 kWaterColour{40, 90, 160};
constexpr int kWaterAlpha = 140;
constexpr glm::ivec3 kSkyColour{150, 190, 235};
constexpr glm::ivec3 kLightColour{255, 230, 90};

// Writes Models/ and Sprites/ under `directory`.
void writeTestScene(const std::string& directory);

// The island's shading is the object's business; these are the placements
// the scene set-up gives each object, which the files are authored against.
glm::mat4 waterPlacement();
glm::mat4 treePlacement();
glm::mat4 skyboxPlacement();

// The window pixel at which a world point appears with view V and projection P.
glm::vec2 projectToWindow(glm::vec3 world, const glm::mat4& view, const glm::mat4& projection,
                          int width, int height);

}  // namespace testscene
