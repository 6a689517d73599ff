// assetgen: writes the island scene's models and textures.
//   assetgen <run directory>
// creates <run directory>/Models and <run directory>/Sprites. The output is
// the same, byte for byte, on every run.
#include <cstdio>
#include <string>

#include "tools/assetgen/asset_pack.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: assetgen <run directory>\n");
        return 2;
    }
    std::string error;
    if (!assetgen::writeAssetPack(assetgen::generateAssetPack(), argv[1], error)) {
        std::fprintf(stderr, "assetgen: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
