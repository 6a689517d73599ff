// The five generated models, read through the island's own OBJ reader and
// mesh code and placed with the scene's transforms: well-formed faces, finite
// tangents, and the scene facts the picture depends on (the tree stands on
// the island, the island rises out of the sea, the sky box faces the camera).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>

#include "assets/mesh.h"
#include "generated_assets.h"

namespace {

using namespace generated_assets;

const char* const kModels[] = {"water_plane.obj", "light_sphere.obj", "tree2.obj",
                               "island_large.obj", "skybox_new.obj"};

bool finite(const glm::vec3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

glm::vec3 faceCross(const ObjFace& f, const std::vector<glm::vec3>& p) {
    return glm::cross(p[f.positionIndex[1]] - p[f.positionIndex[0]],
                      p[f.positionIndex[2]] - p[f.positionIndex[0]]);
}

struct Bounds {
    glm::vec3 low{1e30f}, high{-1e30f};
    void add(const glm::vec3& p) {
        low = glm::min(low, p);
        high = glm::max(high, p);
    }
};

}  // namespace

TEST(GeneratedModels, EveryModelParsesWithAllKindsAndIndicesInRange) {
    for (const char* name : kModels) {
        SCOPED_TRACE(name);
        const ObjModel model = readModel(name);
        EXPECT_GT(model.positionCount, 0);
        EXPECT_GT(model.texCoordCount, 0);
        EXPECT_GT(model.normalCount, 0);
        ASSERT_GT(model.faceCount, 0);
        for (const ObjFace& f : model.faces) {
            for (int c = 0; c < 3; ++c) {
                ASSERT_GE(f.positionIndex[c], 0);
                ASSERT_LT(f.positionIndex[c], model.positionCount);
                ASSERT_GE(f.texCoordIndex[c], 0);
                ASSERT_LT(f.texCoordIndex[c], model.texCoordCount);
            }
            ASSERT_GE(f.normalIndex, 0);
            ASSERT_LT(f.normalIndex, model.normalCount);
        }
    }
}

TEST(GeneratedModels, EveryFaceLineIsOneTriangleWithOneNormal) {
    // The reader keeps one normal per face (the last corner's), so every
    // corner must name the same one; a fourth corner would be dropped.
    for (const char* name : kModels) {
        SCOPED_TRACE(name);
        std::ifstream in(runPath(std::string("Models/") + name));
        ASSERT_TRUE(in.good());
        std::string line;
        int faces = 0;
        while (std::getline(in, line)) {
            if (line.empty() || line[0] != 'f') continue;
            int p[3], t[3], n[3], extra = 0;
            char tail[8] = {0};
            const int fields =
                std::sscanf(line.c_str(), "f %d/%d/%d %d/%d/%d %d/%d/%d %d%7s", &p[0], &t[0], &n[0],
                            &p[1], &t[1], &n[1], &p[2], &t[2], &n[2], &extra, tail);
            ASSERT_EQ(fields, 9) << line;
            ASSERT_EQ(n[0], n[1]) << line;
            ASSERT_EQ(n[1], n[2]) << line;
            ++faces;
        }
        EXPECT_GT(faces, 0);
    }
}

TEST(GeneratedModels, FaceNormalsAgreeWithTheWinding) {
    // Flat shading uses the one normal per face, and culling uses the
    // winding: the two must describe the same front.
    for (const char* name : kModels) {
        SCOPED_TRACE(name);
        const ObjModel model = readModel(name);
        int disagreeing = 0;
        for (const ObjFace& f : model.faces) {
            const glm::vec3 cross = faceCross(f, model.positions);
            const glm::vec3 normal = model.normals[f.normalIndex];
            EXPECT_NEAR(glm::length(normal), 1.0f, 1e-3f);
            if (glm::dot(glm::normalize(cross), normal) < 0.999f) ++disagreeing;
        }
        EXPECT_EQ(disagreeing, 0);
    }
}

TEST(GeneratedModels, IslandAndWaterHaveFiniteTangentsOnEveryFace) {
    for (const char* name : {"island_large.obj", "water_plane.obj"}) {
        SCOPED_TRACE(name);
        Mesh mesh;
        mesh.model = readModel(name);
        ASSERT_GT(mesh.model.faceCount, 0);
        mesh.computeFaceTangents();
        for (const glm::vec3& t : mesh.faceTangents) ASSERT_TRUE(finite(t));
        for (const glm::vec3& t : mesh.cornerSmoothTangents()) ASSERT_TRUE(finite(t));
        for (const glm::vec3& t : mesh.cornerFlatTangents()) ASSERT_TRUE(finite(t));
        for (const glm::vec3& n : mesh.cornerSmoothNormals()) ASSERT_TRUE(finite(n));
    }
}

TEST(GeneratedModels, IslandAndWaterTangentFramesAreNotMirrored) {
    // The normal maps are written for N = T x B, with T the direction of
    // growing u and B that of growing v, so that a shader building the
    // bitangent as N x T gets B.
    for (const char* name : {"island_large.obj", "water_plane.obj"}) {
        SCOPED_TRACE(name);
        Mesh mesh;
        mesh.model = readModel(name);
        mesh.computeFaceTangents();
        int mirrored = 0;
        for (int f = 0; f < mesh.model.faceCount; ++f) {
            const ObjFace& face = mesh.model.faces[f];
            const glm::vec3 e1 = mesh.model.positions[face.positionIndex[1]] -
                                 mesh.model.positions[face.positionIndex[0]];
            const glm::vec3 e2 = mesh.model.positions[face.positionIndex[2]] -
                                 mesh.model.positions[face.positionIndex[0]];
            const glm::vec2 d1 = mesh.model.texCoords[face.texCoordIndex[1]] -
                                 mesh.model.texCoords[face.texCoordIndex[0]];
            const glm::vec2 d2 = mesh.model.texCoords[face.texCoordIndex[2]] -
                                 mesh.model.texCoords[face.texCoordIndex[0]];
            const glm::vec3 bitangent = (d1.x * e2 - d2.x * e1) / (d1.x * d2.y - d2.x * d1.y);
            const glm::vec3 handed = glm::cross(mesh.faceTangents[f], bitangent);
            if (glm::dot(handed, mesh.model.normals[face.normalIndex]) <= 0.0f) ++mirrored;
        }
        EXPECT_EQ(mirrored, 0);
    }
}

TEST(GeneratedModels, IslandFitsTheTriangleBudgetAndRisesOutOfTheSea) {
    const ObjModel island = readModel("island_large.obj");
    EXPECT_GE(island.faceCount, 50000);
    EXPECT_LE(island.faceCount, 80000);
    Bounds all, shore;
    for (const glm::vec3& p : island.positions) {
        all.add(p);
        if (std::fabs(p.y - kWaterLevel) < 0.5f) shore.add(p);
    }
    EXPECT_LT(all.low.y, kWaterLevel - 5.0f);  // its foot is under water
    EXPECT_GT(all.high.y, 0.0f);               // its top stands well above
    EXPECT_LT(all.high.y, 10.0f);
    // About 50 to 70 units across at the water line, around the origin.
    const glm::vec3 size = shore.high - shore.low;
    EXPECT_GT(size.x, 45.0f);
    EXPECT_LT(size.x, 75.0f);
    EXPECT_GT(size.z, 45.0f);
    EXPECT_LT(size.z, 75.0f);
    EXPECT_LT(std::fabs(0.5f * (shore.low.x + shore.high.x)), 10.0f);
    EXPECT_LT(std::fabs(0.5f * (shore.low.z + shore.high.z)), 10.0f);
    // No overhangs: every face looks upwards or sideways.
    for (const ObjFace& f : island.faces) {
        ASSERT_GT(island.normals[f.normalIndex].y, -0.3f);
    }
}

TEST(GeneratedModels, WaterLiesFlatAtItsLevelAndReachesPastTheFlight) {
    const ObjModel water = readModel("water_plane.obj");
    Bounds world;
    for (const glm::vec3& p : worldPositions(water, waterMatrix())) {
        EXPECT_NEAR(p.y, kWaterLevel, 1e-3f);
        world.add(p);
    }
    EXPECT_LE(world.low.x, -150.0f);
    EXPECT_GE(world.high.x, 150.0f);
    EXPECT_LE(world.low.z, -150.0f);
    EXPECT_GE(world.high.z, 150.0f);
    for (const ObjFace& f : water.faces) {
        const glm::vec3 up = glm::mat3(waterMatrix()) * water.normals[f.normalIndex];
        ASSERT_GT(glm::normalize(up).y, 0.999f);
    }
    // The sea textures repeat many times across the plane.
    Bounds uv;
    for (const glm::vec2& t : water.texCoords) uv.add(glm::vec3(t, 0.0f));
    EXPECT_GT(uv.high.x - uv.low.x, 20.0f);
    EXPECT_GT(uv.high.y - uv.low.y, 20.0f);
}

TEST(GeneratedModels, TreeStandsUprightOnTheIsland) {
    const ObjModel island = readModel("island_large.obj");
    const std::vector<glm::vec3> tree = worldPositions(readModel("tree2.obj"), treeMatrix());
    ASSERT_FALSE(tree.empty());
    float lowest = 1e30f;
    for (const glm::vec3& p : tree) lowest = std::min(lowest, p.y);

    // The base: the ring of the trunk's foot, the lowest vertices.
    glm::vec3 base(0.0f);
    int ring = 0;
    for (const glm::vec3& p : tree) {
        if (p.y < lowest + 0.05f) {
            base += p;
            ++ring;
            float ground = 0.0f;
            ASSERT_TRUE(islandSurfaceHeight(island, p.x, p.z, ground));
            EXPECT_LT(p.y, ground + 0.05f) << "the trunk's foot floats above the ground";
        }
    }
    ASSERT_GE(ring, 3);
    base /= static_cast<float>(ring);
    float ground = 0.0f;
    ASSERT_TRUE(islandSurfaceHeight(island, base.x, base.z, ground));
    EXPECT_NEAR(base.y, ground, 0.5f);
    EXPECT_GT(ground, kWaterLevel + 5.0f) << "the tree should stand on the island's top";

    // The trunk: the centre of a slab of trunk rings above the base.
    glm::vec3 slab(0.0f);
    int count = 0;
    for (const glm::vec3& p : tree) {
        if (p.y > base.y + 0.8f && p.y < base.y + 1.8f) {
            slab += p;
            ++count;
        }
    }
    ASSERT_GT(count, 0);
    slab /= static_cast<float>(count);
    const glm::vec3 axis = glm::normalize(slab - base);
    EXPECT_GT(axis.y, std::cos(glm::radians(5.0f)));
}

TEST(GeneratedModels, TreeIsWhollyAndClearlyInTheStartView) {
    const glm::mat4 viewProjection = startViewProjection();
    Bounds screen;
    for (const glm::vec3& p : worldPositions(readModel("tree2.obj"), treeMatrix())) {
        const glm::vec4 clip = viewProjection * glm::vec4(p, 1.0f);
        ASSERT_GT(clip.w, 0.0f);
        screen.add(glm::vec3(clip) / clip.w);
    }
    EXPECT_GT(screen.low.x, -1.0f);
    EXPECT_LT(screen.high.x, 1.0f);
    EXPECT_GT(screen.low.y, -1.0f);
    EXPECT_LT(screen.high.y, 1.0f);
    EXPECT_GT(screen.high.y - screen.low.y, 0.3f);  // at least 15% of the view's height
}

TEST(GeneratedModels, LightSphereHasRadiusThreeAndFacesOutwards) {
    const ObjModel sphere = readModel("light_sphere.obj");
    for (const glm::vec3& p : sphere.positions) EXPECT_NEAR(glm::length(p), 3.0f, 1e-3f);
    for (const ObjFace& f : sphere.faces) {
        const glm::vec3 centre =
            (sphere.positions[f.positionIndex[0]] + sphere.positions[f.positionIndex[1]] +
             sphere.positions[f.positionIndex[2]]) /
            3.0f;
        ASSERT_GT(glm::dot(sphere.normals[f.normalIndex], centre), 0.0f);
    }
}

TEST(GeneratedModels, SkyBoxSurroundsTheFlightAndFacesTheCamera) {
    const ObjModel sky = readModel("skybox_new.obj");
    ASSERT_EQ(sky.faceCount, 12);
    for (const glm::vec3& p : sky.positions) {
        EXPECT_FLOAT_EQ(std::fabs(p.x), 1.0f);
        EXPECT_FLOAT_EQ(std::fabs(p.y), 1.0f);
        EXPECT_FLOAT_EQ(std::fabs(p.z), 1.0f);
    }
    const std::vector<glm::vec3> world = worldPositions(sky, skyboxMatrix());
    // Seen from the start, and from the far ends of the scripted flight,
    // every face winds counter-clockwise: its front faces the eye.
    const glm::vec3 eyes[] = {
        kCameraStart, {-90.0f, 20.0f, 41.0f}, {-90.0f, 68.0f, 41.0f}, {-30.0f, 8.0f, 59.0f}};
    for (const glm::vec3& eye : eyes) {
        for (const ObjFace& f : sky.faces) {
            const glm::vec3 cross = faceCross(f, world);
            EXPECT_GT(glm::dot(cross, eye - world[f.positionIndex[0]]), 0.0f);
        }
    }
}
