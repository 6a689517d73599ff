// The island scene's asset pack: five OBJ models and seven TGA textures,
// generated from fixed seeds so that every run writes the same bytes.
#pragma once

#include <string>
#include <vector>

namespace assetgen {

struct GeneratedFile {
    std::string path;  // relative to the run directory, e.g. "Models/tree2.obj"
    std::string bytes;
};

// Every file the scene loads (scene/scene_files.h), the models first.
std::vector<GeneratedFile> generateAssetPack();

// Writes every file under `directory`, creating Models/ and Sprites/. On
// failure returns false and names the file in `error`.
bool writeAssetPack(const std::vector<GeneratedFile>& files, const std::string& directory,
                    std::string& error);

// The single objects, for the pack and for tests.
std::string makeWaterPlaneObj();
std::string makeLightSphereObj();
std::string makeTreeObj();
std::string makeIslandObj();
std::string makeSkyboxObj();
std::string makeSeaTexture();
std::string makeSeaNormalMap();
std::string makeLightTexture();
std::string makeTreeTexture();
std::string makeSkyTexture();

}  // namespace assetgen
