// Generates and writes the whole pack.
#include "tools/assetgen/asset_pack.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "tools/assetgen/image.h"
#include "tools/assetgen/island.h"
#include "tools/assetgen/tree.h"

namespace assetgen {
namespace {

constexpr int kCliffTextureSize = 2048;

const IslandShape& island() {
    static const IslandShape shape;
    return shape;
}

}  // namespace

const std::vector<std::string>& assetPackPaths() {
    static const std::vector<std::string> paths = {
        "Models/water_plane.obj",  "Models/light_sphere.obj",     "Models/tree2.obj",
        "Models/island_large.obj", "Models/skybox_new.obj",       "Sprites/sea_trans2.tga",
        "Sprites/sea_NRM.tga",     "Sprites/light_tex.tga",       "Sprites/tree2.tga",
        "Sprites/cliff_tex.tga",   "Sprites/cliff_bump3_NRM.tga", "Sprites/violentdays_1024.tga"};
    return paths;
}

std::string makeTreeObj() { return makeTreeObj(island()); }

std::string makeIslandObj() {
    return buildIsland(island()).toText("island cliff: terrain on an unrolled grid");
}

std::vector<GeneratedFile> generateAssetPack() {
    Image cliffColour(1, 1, 3), cliffNormals(1, 1, 3);
    bakeIslandTextures(island(), kCliffTextureSize, cliffColour, cliffNormals);
    const std::vector<std::string>& paths = assetPackPaths();
    std::vector<GeneratedFile> files = {{paths[0], makeWaterPlaneObj()},
                                        {paths[1], makeLightSphereObj()},
                                        {paths[2], makeTreeObj()},
                                        {paths[3], makeIslandObj()},
                                        {paths[4], makeSkyboxObj()},
                                        {paths[5], makeSeaTexture()},
                                        {paths[6], makeSeaNormalMap()},
                                        {paths[7], makeLightTexture()},
                                        {paths[8], makeTreeTexture()},
                                        {paths[9], encodeTga(cliffColour)},
                                        {paths[10], encodeTga(cliffNormals)},
                                        {paths[11], makeSkyTexture()}};
    return files;
}

bool writeAssetPack(const std::vector<GeneratedFile>& files, const std::string& directory,
                    std::string& error) {
    namespace fs = std::filesystem;
    for (const GeneratedFile& file : files) {
        const fs::path path = fs::path(directory) / file.path;
        std::error_code code;
        fs::create_directories(path.parent_path(), code);
        if (code) {
            error = "cannot create " + path.parent_path().string() + ": " + code.message();
            return false;
        }
        std::FILE* out = std::fopen(path.string().c_str(), "wb");
        if (out == nullptr) {
            error = "cannot write " + path.string() + ": " + std::strerror(errno);
            return false;
        }
        const std::size_t written = std::fwrite(file.bytes.data(), 1, file.bytes.size(), out);
        const bool closed = std::fclose(out) == 0;
        if (written != file.bytes.size() || !closed) {
            error = "cannot write " + path.string();
            return false;
        }
    }
    return true;
}

}  // namespace assetgen
