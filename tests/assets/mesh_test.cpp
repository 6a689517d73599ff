// Mesh construction without a context: the per-corner arrays, the face and
// flat tangents, and the linear-time smooth sums checked bit for bit against
// the direct quadratic loop on random meshes.
#include "assets/mesh.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

namespace {

ObjFace makeFace(int p0, int p1, int p2, int normal, int t0 = 0, int t1 = 0, int t2 = 0) {
    ObjFace face;
    face.positionIndex[0] = p0;
    face.positionIndex[1] = p1;
    face.positionIndex[2] = p2;
    face.texCoordIndex[0] = t0;
    face.texCoordIndex[1] = t1;
    face.texCoordIndex[2] = t2;
    face.normalIndex = normal;
    return face;
}

void setModel(Mesh& mesh, std::vector<glm::vec3> positions, std::vector<glm::vec3> normals,
              std::vector<glm::vec2> texCoords, std::vector<ObjFace> faces) {
    mesh.model.positionCount = static_cast<int>(positions.size());
    mesh.model.normalCount = static_cast<int>(normals.size());
    mesh.model.texCoordCount = static_cast<int>(texCoords.size());
    mesh.model.faceCount = static_cast<int>(faces.size());
    mesh.model.positions = std::move(positions);
    mesh.model.normals = std::move(normals);
    mesh.model.texCoords = std::move(texCoords);
    mesh.model.faces = std::move(faces);
}

glm::vec3 divideByLength(glm::vec3 v) {
    const float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return glm::vec3(v.x / length, v.y / length, v.z / length);
}

// The reference method, written as the direct nested scan: for every value
// index i, every face j using it, every face k and corner l of face j, add
// values[i] to each corner of face k that shares face j's corner l position.
std::vector<glm::vec3> quadraticSmoothSums(const ObjModel& model,
                                           const std::vector<glm::vec3>& values,
                                           int ObjFace::*valueIndex) {
    const size_t faceCount = model.faces.size();
    std::vector<glm::vec3> sums(3 * faceCount, glm::vec3(0.0f));
    for (int i = 0; i < static_cast<int>(values.size()); ++i)
        for (size_t j = 0; j < faceCount; ++j) {
            if (model.faces[j].*valueIndex != i) continue;
            for (size_t k = 0; k < faceCount; ++k)
                for (int l = 0; l < 3; ++l)
                    for (int c = 0; c < 3; ++c)
                        if (model.faces[j].positionIndex[l] == model.faces[k].positionIndex[c])
                            sums[3 * k + c] += values[static_cast<size_t>(i)];
        }
    for (glm::vec3& sum : sums) sum = divideByLength(sum);
    return sums;
}

bool bitIdentical(const std::vector<glm::vec3>& a, const std::vector<glm::vec3>& b) {
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(glm::vec3)) == 0);
}

// A random mesh with few positions (so corners share them), degenerate faces,
// and some indices outside every array.
void makeRandomMesh(Mesh& mesh, std::mt19937& random) {
    std::uniform_real_distribution<float> coordinate(-10.0f, 10.0f);
    const int positionCount = 1 + static_cast<int>(random() % 20);
    const int normalCount = static_cast<int>(random() % 12);
    const int texCoordCount = 1 + static_cast<int>(random() % 12);
    const int faceCount = static_cast<int>(random() % 60);
    std::vector<glm::vec3> positions(static_cast<size_t>(positionCount));
    for (glm::vec3& p : positions) p = glm::vec3(coordinate(random), coordinate(random), coordinate(random));
    std::vector<glm::vec3> normals(static_cast<size_t>(normalCount));
    for (glm::vec3& n : normals) n = glm::vec3(coordinate(random), coordinate(random), coordinate(random));
    std::vector<glm::vec2> texCoords(static_cast<size_t>(texCoordCount));
    for (glm::vec2& t : texCoords) t = glm::vec2(coordinate(random), coordinate(random));
    auto index = [&](int count) {
        switch (random() % 16) {
            case 0: return -1 - static_cast<int>(random() % 3);
            case 1: return count + static_cast<int>(random() % 3);
            default: return count > 0 ? static_cast<int>(random() % count) : 0;
        }
    };
    std::vector<ObjFace> faces;
    for (int f = 0; f < faceCount; ++f) {
        ObjFace face = makeFace(index(positionCount), index(positionCount), index(positionCount),
                                index(normalCount), index(texCoordCount), index(texCoordCount),
                                index(texCoordCount));
        if (random() % 8 == 0) face.positionIndex[1] = face.positionIndex[2] = face.positionIndex[0];
        faces.push_back(face);
    }
    setModel(mesh, positions, normals, texCoords, faces);
}

}  // namespace

TEST(Mesh, SmoothSumsMatchTheQuadraticReferenceBitForBit) {
    std::mt19937 random(2024);
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE(round);
        Mesh mesh;
        makeRandomMesh(mesh, random);
        mesh.computeFaceTangents();
        EXPECT_TRUE(bitIdentical(mesh.cornerSmoothNormals(),
                                 quadraticSmoothSums(mesh.model, mesh.model.normals,
                                                     &ObjFace::normalIndex)));
        EXPECT_TRUE(bitIdentical(mesh.cornerSmoothTangents(),
                                 quadraticSmoothSums(mesh.model, mesh.faceTangents,
                                                     &ObjFace::tangentIndex)));
    }
}

TEST(Mesh, SmoothNormalsAddInNormalIndexOrder) {
    // Values whose float sum depends on the order: (1e8 + 1) - 1e8 is 0, but
    // (1e8 - 1e8) + 1 is 1. Face 0 carries normal 2, so ascending normal index
    // (not face order) decides.
    Mesh mesh;
    setModel(mesh, {glm::vec3(0.0f)},
             {glm::vec3(1e8f, 0, 1), glm::vec3(1, 0, 1), glm::vec3(-1e8f, 0, 1)}, {glm::vec2(0.0f)},
             {makeFace(0, 1, 2, 2), makeFace(0, 3, 4, 1), makeFace(0, 5, 6, 0)});
    const std::vector<glm::vec3> normals = mesh.cornerSmoothNormals();
    // Sum at position 0: 1e8 + 1 - 1e8 = 0 in x (normal order 0, 1, 2), z = 3.
    EXPECT_EQ(normals[0], glm::vec3(0.0f, 0.0f, 1.0f));
}

TEST(Mesh, SharedPositionsShareTheSmoothNormalButNotTheFlatOne) {
    Mesh mesh;
    setModel(mesh, {glm::vec3(0), glm::vec3(1, 0, 0), glm::vec3(0, 1, 0), glm::vec3(0, 0, 1)},
             {glm::vec3(0, 0, 2), glm::vec3(2, 0, 0)}, {glm::vec2(0.0f)},
             {makeFace(0, 1, 2, 0), makeFace(0, 2, 3, 1)});
    const std::vector<glm::vec3> smooth = mesh.cornerSmoothNormals();
    const std::vector<glm::vec3> flat = mesh.cornerFlatNormals();
    const float half = 1.0f / std::sqrt(8.0f) * 2.0f;
    EXPECT_EQ(smooth[0], glm::vec3(half, 0, half));
    EXPECT_EQ(smooth[3], smooth[0]);
    EXPECT_EQ(smooth[1], glm::vec3(0, 0, 1));  // position 1 is face 0's alone
    EXPECT_EQ(flat[0], glm::vec3(0, 0, 2));    // not renormalised
    EXPECT_EQ(flat[3], glm::vec3(2, 0, 0));
}

TEST(Mesh, DegenerateFaceAddsItsNormalOncePerCorner) {
    Mesh mesh;
    setModel(mesh, {glm::vec3(0), glm::vec3(1)}, {glm::vec3(1, 0, 0), glm::vec3(0, 1, 0)},
             {glm::vec2(0.0f)}, {makeFace(0, 0, 0, 0), makeFace(0, 1, 1, 1)});
    const glm::vec3 expected = divideByLength(glm::vec3(3, 1, 0));
    const std::vector<glm::vec3> smooth = mesh.cornerSmoothNormals();
    EXPECT_EQ(smooth[0], expected);
    EXPECT_EQ(smooth[2], expected);
    EXPECT_EQ(smooth[3], expected);
}

TEST(Mesh, CubeWithDistinctCornersKeepsFaceNormals) {
    // Two triangles per side, each side with its own four positions.
    std::vector<glm::vec3> positions, normals;
    std::vector<ObjFace> faces;
    const glm::vec3 axes[6] = {glm::vec3(1, 0, 0), glm::vec3(-1, 0, 0), glm::vec3(0, 1, 0),
                               glm::vec3(0, -1, 0), glm::vec3(0, 0, 1), glm::vec3(0, 0, -1)};
    for (int side = 0; side < 6; ++side) {
        const int base = 4 * side;
        for (int corner = 0; corner < 4; ++corner) positions.push_back(axes[side] + glm::vec3(0.1f * corner));
        normals.push_back(axes[side] * 3.0f);
        faces.push_back(makeFace(base, base + 1, base + 2, side));
        faces.push_back(makeFace(base, base + 2, base + 3, side));
    }
    Mesh mesh;
    setModel(mesh, positions, normals, {glm::vec2(0.0f)}, faces);
    const std::vector<glm::vec3> smooth = mesh.cornerSmoothNormals();
    for (size_t vertex = 0; vertex < smooth.size(); ++vertex)
        EXPECT_EQ(smooth[vertex], axes[vertex / 6]) << vertex;
}

TEST(Mesh, FaceAndFlatTangentsFollowTheirFormulas) {
    Mesh mesh;
    setModel(mesh, {glm::vec3(1, 2, 3), glm::vec3(4, 6, 8), glm::vec3(-1, 0, 5)},
             {glm::vec3(0, 0, 1)}, {glm::vec2(0.5f, 0.25f), glm::vec2(1.0f, 0.75f), glm::vec2(0.0f, 1.0f)},
             {makeFace(0, 1, 2, 0, 0, 1, 2), makeFace(2, 0, 1, 0, 2, 0, 1)});
    mesh.computeFaceTangents();
    ASSERT_EQ(mesh.faceTangents.size(), 2u);
    EXPECT_EQ(mesh.model.faces[1].tangentIndex, 1);
    // Face 0: e1 = (3,4,5), e2 = (-2,-2,2), du1 = 0.5, du2 = -0.5, dv1 = 0.5, dv2 = 0.75.
    const float r = 1.0f / (0.5f * 0.75f - (-0.5f) * 0.5f);
    EXPECT_EQ(mesh.faceTangents[0], glm::vec3((0.75f * 3 - 0.5f * -2) * r, (0.75f * 4 - 0.5f * -2) * r,
                                              (0.75f * 5 - 0.5f * 2) * r));
    // Flat tangent of face 0 from corners 0 and 1 themselves.
    const float rf = 1.0f / (0.5f * 0.75f - 0.25f * 1.0f);
    const glm::vec3 flat((0.75f * 1 - 0.25f * 4) * rf, (0.75f * 2 - 0.25f * 6) * rf,
                         (0.75f * 3 - 0.25f * 8) * rf);
    const std::vector<glm::vec3> flatTangents = mesh.cornerFlatTangents();
    EXPECT_EQ(flatTangents[0], flat);
    EXPECT_EQ(flatTangents[2], flat);
    EXPECT_NE(flatTangents[0], mesh.faceTangents[0]);
}

TEST(Mesh, CollinearTexCoordsSpreadNonFiniteTangentsToSharedPositions) {
    Mesh mesh;
    setModel(mesh, {glm::vec3(0), glm::vec3(1, 0, 0), glm::vec3(0, 1, 0), glm::vec3(5)},
             {glm::vec3(0, 0, 1)},
             {glm::vec2(0, 0), glm::vec2(1, 1), glm::vec2(2, 2), glm::vec2(1, 0), glm::vec2(0, 1)},
             {makeFace(0, 1, 2, 0, 0, 1, 2), makeFace(0, 3, 3, 0, 0, 3, 4), makeFace(3, 3, 3, 0, 0, 3, 4)});
    mesh.computeFaceTangents();
    EXPECT_FALSE(std::isfinite(mesh.faceTangents[0].x));
    const std::vector<glm::vec3> smooth = mesh.cornerSmoothTangents();
    EXPECT_FALSE(std::isfinite(smooth[3].x));  // face 1 corner 0 shares position 0
    EXPECT_TRUE(std::isfinite(smooth[7].x));   // position 3 is untouched by face 0
}

TEST(Mesh, CornerArraysUnrollEveryFace) {
    Mesh mesh;
    setModel(mesh, {glm::vec3(1), glm::vec3(2), glm::vec3(3)}, {glm::vec3(0, 0, 1)},
             {glm::vec2(0.1f), glm::vec2(0.2f), glm::vec2(0.3f)},
             {makeFace(0, 1, 2, 0, 2, 1, 0), makeFace(2, 2, 1, 0, 0, 0, 1)});
    const std::vector<glm::vec3> positions = mesh.cornerPositions();
    const std::vector<glm::vec2> texCoords = mesh.cornerTexCoords();
    ASSERT_EQ(positions.size(), 6u);
    EXPECT_EQ(positions[4], glm::vec3(3));
    EXPECT_EQ(positions[5], glm::vec3(2));
    EXPECT_EQ(texCoords[0], glm::vec2(0.3f));
    EXPECT_EQ(texCoords[5], glm::vec2(0.2f));
    EXPECT_EQ(mesh.cornerUnitX(), std::vector<glm::vec3>(6, glm::vec3(1, 0, 0)));
    EXPECT_EQ(mesh.cornerUnitY(), std::vector<glm::vec3>(6, glm::vec3(0, 1, 0)));
    EXPECT_EQ(mesh.cornerIndices(), (std::vector<GLint>{0, 1, 2, 3, 4, 5}));
}

TEST(Mesh, IndicesOutsideTheArraysReadZero) {
    Mesh mesh;
    setModel(mesh, {glm::vec3(1)}, {}, {},
             {makeFace(-5, 0, 1000000, 7, -1, 3, 2147483647), makeFace(-5, -5, 0, -1)});
    mesh.computeFaceTangents();
    const std::vector<glm::vec3> positions = mesh.cornerPositions();
    EXPECT_EQ(positions[0], glm::vec3(0));
    EXPECT_EQ(positions[1], glm::vec3(1));
    EXPECT_EQ(positions[2], glm::vec3(0));
    EXPECT_EQ(mesh.cornerTexCoords()[2], glm::vec2(0));
    EXPECT_EQ(mesh.cornerFlatNormals()[0], glm::vec3(0));
    // With no normal in range, no sum gets a contribution: 0 / 0.
    EXPECT_TRUE(std::isnan(mesh.cornerSmoothNormals()[0].x));
    // Out-of-range position indices still group by value: -5 at face 0
    // corner 0 and face 1 corners 0 and 1 share one sum.
    const std::vector<glm::vec3> tangents = mesh.cornerSmoothTangents();
    EXPECT_EQ(std::memcmp(&tangents[0], &tangents[3], sizeof(glm::vec3)), 0);
}

TEST(Mesh, FaceCountBeyondTheFaceArrayIsNotRead) {
    Mesh mesh;
    setModel(mesh, {glm::vec3(1)}, {glm::vec3(0, 0, 1)}, {glm::vec2(0)}, {makeFace(0, 0, 0, 0)});
    mesh.model.faceCount = 5;
    EXPECT_EQ(mesh.usableFaceCount(), 1u);
    EXPECT_EQ(mesh.cornerSmoothNormals().size(), 3u);
    mesh.model.faceCount = -3;
    EXPECT_EQ(mesh.cornerPositions().size(), 0u);
}
