// The files the scene's five objects are loaded from, kept once: the scene
// set-up loads them, the asset generator writes exactly these, and the build
// reads this list to know which files the generator makes.
#pragma once

struct ObjectFiles {
    const char* model;
    const char* texture;    // bound as "firstTexture"
    const char* normalMap;  // bound as "normalmap"; null: loaded without a normal map
};

constexpr ObjectFiles kWaterFiles{"Models/water_plane.obj", "Sprites/sea_trans2.tga",
                                  "Sprites/sea_NRM.tga"};
constexpr ObjectFiles kLightSphereFiles{"Models/light_sphere.obj", "Sprites/light_tex.tga",
                                        nullptr};
constexpr ObjectFiles kTreeFiles{"Models/tree2.obj", "Sprites/tree2.tga", nullptr};
constexpr ObjectFiles kCliffFiles{"Models/island_large.obj", "Sprites/cliff_tex.tga",
                                  "Sprites/cliff_bump3_NRM.tga"};
constexpr ObjectFiles kSkyboxFiles{"Models/skybox_new.obj", "Sprites/violentdays_1024.tga",
                                   nullptr};

// In the order of the set-up.
constexpr ObjectFiles kSceneFiles[] = {kWaterFiles, kLightSphereFiles, kTreeFiles, kCliffFiles,
                                       kSkyboxFiles};
