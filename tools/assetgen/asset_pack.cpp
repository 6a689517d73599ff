// Generates and writes the whole pack.
#include "tools/assetgen/asset_pack.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "scene/scene_files.h"
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

std::string makeTreeObj() { return makeTreeObj(island()); }

std::string makeIslandObj() {
    return buildIsland(island()).toText("island cliff: terrain on an unrolled grid");
}

std::vector<GeneratedFile> generateAssetPack() {
    Image cliffColour(1, 1, 3), cliffNormals(1, 1, 3);
    bakeIslandTextures(island(), kCliffTextureSize, cliffColour, cliffNormals);
    return {{kWaterFiles.model, makeWaterPlaneObj()},
            {kLightSphereFiles.model, makeLightSphereObj()},
            {kTreeFiles.model, makeTreeObj()},
            {kCliffFiles.model, makeIslandObj()},
            {kSkyboxFiles.model, makeSkyboxObj()},
            {kWaterFiles.texture, makeSeaTexture()},
            {kWaterFiles.normalMap, makeSeaNormalMap()},
            {kLightSphereFiles.texture, makeLightTexture()},
            {kTreeFiles.texture, makeTreeTexture()},
            {kCliffFiles.texture, encodeTga(cliffColour)},
            {kCliffFiles.normalMap, encodeTga(cliffNormals)},
            {kSkyboxFiles.texture, makeSkyTexture()}};
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
