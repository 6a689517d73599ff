// The generated assets of the run directory: faces whose one normal agrees
// with their winding (flat shading and culling must), read through the
// island's own OBJ reader, and the same bytes from every run of the generator.
#include <cmath>
#include <set>

#include "assets/obj_reader.h"
#include "scene/scene_files.h"
#include "test_support.h"
#include "tools/assetgen/asset_pack.h"

namespace {

ObjModel model(const std::string& path) {
    ObjModel m;
    readObjFile(support::runPath(path).c_str(), m);
    return m;
}

glm::vec3 corner(const ObjModel& m, const ObjFace& f, int c) {
    return m.positions[f.positionIndex[c]];
}

}  // namespace

TEST(GeneratedAssets, EveryFaceIsOneTriangleWithOneNormalThatAgreesWithItsWinding) {
    for (const ObjectFiles& object : kSceneFiles) {
        const char* name = object.model;
        const ObjModel m = model(name);
        ASSERT_TRUE(m.texCoordCount > 0 && m.faceCount > 0) << name;
        for (const ObjFace& f : m.faces) {
            for (int c = 0; c < 3; ++c)
                ASSERT_TRUE(f.positionIndex[c] >= 0 && f.positionIndex[c] < m.positionCount &&
                            f.texCoordIndex[c] >= 0 && f.texCoordIndex[c] < m.texCoordCount &&
                            f.normalIndex >= 0 && f.normalIndex < m.normalCount)
                    << name;
            const glm::vec3 n = m.normals[f.normalIndex];
            const glm::vec3 winding =
                glm::cross(corner(m, f, 1) - corner(m, f, 0), corner(m, f, 2) - corner(m, f, 0));
            ASSERT_TRUE(std::fabs(glm::length(n) - 1.0f) < 1e-3f &&
                        glm::dot(glm::normalize(winding), n) > 0.999f)
                << name;
        }
        // The reader keeps three corners and the last one's normal: the file says no more.
        const std::string text = support::readFile(support::runPath(name));
        for (size_t at = text.find("\nf "); at != std::string::npos;
             at = text.find("\nf ", at + 1)) {
            const std::string line = text.substr(at + 1, text.find('\n', at + 1) - at - 1);
            int n[4] = {};
            ASSERT_EQ(std::sscanf(line.c_str(), "f %*d/%*d/%d %*d/%*d/%d %*d/%*d/%d %d", n, n + 1,
                                  n + 2, n + 3),
                      3);
            ASSERT_TRUE(n[0] == n[1] && n[1] == n[2]) << line;
        }
    }
}

TEST(GeneratedAssets, ARunGivesTheBuildsBytesAndAnUnwritableDirectoryIsReported) {
    const std::vector<assetgen::GeneratedFile> files =
        assetgen::generateAssetPack();  // the second run
    // Every file the scene loads, and no other.
    std::multiset<std::string> loaded, generated;
    for (const ObjectFiles& object : kSceneFiles)
        for (const char* path : {object.model, object.texture, object.normalMap})
            if (path != nullptr) loaded.insert(path);
    for (const assetgen::GeneratedFile& file : files) generated.insert(file.path);
    ASSERT_EQ(generated, loaded);
    for (const assetgen::GeneratedFile& file : files)
        EXPECT_TRUE(!file.bytes.empty() &&
                    file.bytes == support::readFile(support::runPath(file.path)))
            << file.path << " differs from the build's";
    support::ScratchDirectory scratch;
    std::string error;
    support::writeFile("blocked", "a file where the directory should be");
    EXPECT_FALSE(assetgen::writeAssetPack(files, "blocked", error));
    EXPECT_NE(error.find("blocked"), std::string::npos);
}
