// The generator is deterministic: a run in this process writes the same
// bytes as the build's run did.
#include "tools/assetgen/asset_pack.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "generated_assets.h"

namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

TEST(AssetPack, HoldsTheTwelveFilesTheSceneLoads) {
    const std::vector<std::string> expected = {
        "Models/water_plane.obj",  "Models/light_sphere.obj",     "Models/tree2.obj",
        "Models/island_large.obj", "Models/skybox_new.obj",       "Sprites/sea_trans2.tga",
        "Sprites/sea_NRM.tga",     "Sprites/light_tex.tga",       "Sprites/tree2.tga",
        "Sprites/cliff_tex.tga",   "Sprites/cliff_bump3_NRM.tga", "Sprites/violentdays_1024.tga"};
    EXPECT_EQ(assetgen::assetPackPaths(), expected);
}

TEST(AssetPack, ARunGivesTheSameBytesAsTheBuildsRun) {
    // The build ran the generator once; this is the second run.
    const std::vector<assetgen::GeneratedFile> files = assetgen::generateAssetPack();
    ASSERT_EQ(files.size(), assetgen::assetPackPaths().size());
    for (size_t i = 0; i < files.size(); ++i) {
        SCOPED_TRACE(files[i].path);
        EXPECT_EQ(files[i].path, assetgen::assetPackPaths()[i]);
        EXPECT_FALSE(files[i].bytes.empty());
        EXPECT_TRUE(files[i].bytes == readFile(generated_assets::runPath(files[i].path)))
            << "differs from the file the build wrote";
    }
}

TEST(AssetPack, WritesIntoANewDirectoryAndReportsAnUnwritableOne) {
    const std::string directory = testing::TempDir() + "assetgen_pack_test";
    const std::vector<assetgen::GeneratedFile> files = {{"Models/a.obj", "v 0 0 0\n"},
                                                        {"Sprites/b.tga", std::string("\0\1", 2)}};
    std::string error;
    ASSERT_TRUE(assetgen::writeAssetPack(files, directory, error)) << error;
    EXPECT_EQ(readFile(directory + "/Models/a.obj"), "v 0 0 0\n");
    EXPECT_EQ(readFile(directory + "/Sprites/b.tga"), std::string("\0\1", 2));

    // A plain file where the directory should be.
    std::ofstream(directory + "/blocked") << "x";
    EXPECT_FALSE(assetgen::writeAssetPack(files, directory + "/blocked", error));
    EXPECT_NE(error.find("blocked"), std::string::npos);
}
