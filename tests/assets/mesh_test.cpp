// Mesh construction without a context: the per-corner arrays, the face and
// flat tangents, indices outside the arrays, and the linear-time smooth sums
// checked bit for bit against the direct quadratic loop on random meshes.
#include "assets/mesh.h"

#include <array>
#include <cmath>
#include <cstring>
#include <random>

#include "test_support.h"

namespace {

// Positions and texture coordinates of a face's corners, and its normal.
ObjFace face(std::array<int, 3> p, int n, std::array<int, 3> t = {0, 0, 0}) {
    return ObjFace{n, 0, {p[0], p[1], p[2]}, {t[0], t[1], t[2]}};
}

void setModel(Mesh& mesh, std::vector<glm::vec3> p, std::vector<glm::vec3> n,
              std::vector<glm::vec2> t, std::vector<ObjFace> f) {
    const auto size = [](const auto& v) { return static_cast<int>(v.size()); };
    mesh.model = ObjModel{size(n), size(t), size(p), size(f), p, n, t, f};
}

// For every value index i, every face j using it, every face k and corner l
// of face j: add values[i] to each corner of face k at face j's corner l
// position; then divide by the length.
std::vector<glm::vec3> quadraticSmoothSums(const ObjModel& model,
                                           const std::vector<glm::vec3>& values,
                                           int ObjFace::*valueIndex) {
    const std::vector<ObjFace>& faces = model.faces;
    std::vector<glm::vec3> sums(3 * faces.size(), glm::vec3(0.0f));
    for (int i = 0; i < static_cast<int>(values.size()); ++i)
        for (size_t j = 0; j < faces.size(); ++j)
            for (size_t k = 0; faces[j].*valueIndex == i && k < faces.size(); ++k)
                for (int l = 0; l < 3; ++l)
                    for (int c = 0; c < 3; ++c)
                        if (faces[j].positionIndex[l] == faces[k].positionIndex[c])
                            sums[3 * k + c] += values[static_cast<size_t>(i)];
    for (glm::vec3& v : sums) v /= std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return sums;
}

bool sameBits(const std::vector<glm::vec3>& a, const std::vector<glm::vec3>& b) {
    return a.size() == b.size() &&
           std::memcmp(a.data(), b.data(), a.size() * sizeof(glm::vec3)) == 0;
}

}  // namespace

TEST(Mesh, SmoothSumsMatchTheQuadraticReferenceBitForBit) {
    // Few positions (so corners share them), degenerate faces, indices outside every array.
    std::mt19937 random(2024);
    std::uniform_real_distribution<float> coordinate(-10.0f, 10.0f);
    auto vectors = [&](int count) {
        std::vector<glm::vec3> values(static_cast<size_t>(count));
        for (glm::vec3& v : values)
            v = glm::vec3(coordinate(random), coordinate(random), coordinate(random));
        return values;
    };
    for (int round = 0; round < 300; ++round) {
        const int positions = 1 + random() % 20, normals = random() % 12,
                  texCoords = 1 + random() % 12;
        auto index = [&](int count) -> int {
            const int form = random() % 16, outside = random() % 3, inside = random() % 1000;
            return form == 0   ? -1 - outside
                   : form == 1 ? count + outside
                   : count > 0 ? inside % count
                               : 0;
        };
        std::vector<ObjFace> faces;
        for (int f = random() % 60; f > 0; --f) {
            faces.push_back(face({index(positions), index(positions), index(positions)},
                                 index(normals),
                                 {index(texCoords), index(texCoords), index(texCoords)}));
            int* p = faces.back().positionIndex;
            if (random() % 8 == 0) p[2] = p[1] = p[0];  // degenerate
        }
        std::vector<glm::vec2> uv;
        for (const glm::vec3& v : vectors(texCoords)) uv.emplace_back(v.x, v.y);
        Mesh mesh;
        setModel(mesh, vectors(positions), vectors(normals), uv, faces);
        mesh.computeFaceTangents();
        const ObjModel& m = mesh.model;
        EXPECT_TRUE(sameBits(mesh.cornerSmoothNormals(),
                             quadraticSmoothSums(m, m.normals, &ObjFace::normalIndex)))
            << "round " << round;
        EXPECT_TRUE(sameBits(mesh.cornerSmoothTangents(),
                             quadraticSmoothSums(m, mesh.faceTangents, &ObjFace::tangentIndex)))
            << "round " << round;
    }
}

TEST(Mesh, CornerArraysUnrollEveryFaceAndFlatValuesComeFromTheFaceAlone) {
    Mesh mesh;
    setModel(mesh, {glm::vec3(1, 2, 3), glm::vec3(4, 6, 8), glm::vec3(-1, 0, 5)},
             {glm::vec3(0, 0, 2)},
             {glm::vec2(0.5f, 0.25f), glm::vec2(1.0f, 0.75f), glm::vec2(0.0f, 1.0f)},
             {face({0, 1, 2}, 0, {0, 1, 2}), face({2, 0, 1}, 0, {2, 0, 1})});
    mesh.computeFaceTangents();
    EXPECT_EQ(mesh.cornerPositions()[3], glm::vec3(-1, 0, 5));
    EXPECT_EQ(mesh.cornerTexCoords()[4], glm::vec2(0.5f, 0.25f));
    EXPECT_EQ(mesh.cornerFlatNormals(), std::vector<glm::vec3>(6, glm::vec3(0, 0, 2)));  // as given
    EXPECT_EQ(mesh.cornerUnitX(), std::vector<glm::vec3>(6, glm::vec3(1, 0, 0)));
    EXPECT_EQ(mesh.cornerUnitY(), std::vector<glm::vec3>(6, glm::vec3(0, 1, 0)));
    EXPECT_EQ(mesh.cornerIndices(), (std::vector<GLint>{0, 1, 2, 3, 4, 5}));
    ASSERT_EQ(mesh.faceTangents.size(), 2u);
    EXPECT_EQ(mesh.model.faces[1].tangentIndex, 1);
    // Face 0: e1 = (3,4,5), e2 = (-2,-2,2), du1 = 0.5, du2 = -0.5, dv1 = 0.5, dv2 = 0.75.
    const float r = 1.0f / (0.5f * 0.75f - (-0.5f) * 0.5f);
    EXPECT_EQ(mesh.faceTangents[0],
              glm::vec3((0.75f * 3 - 0.5f * -2) * r, (0.75f * 4 - 0.5f * -2) * r,
                        (0.75f * 5 - 0.5f * 2) * r));
    // The flat tangent of face 0 from its corners 0 and 1 alone.
    const float f = 1.0f / (0.5f * 0.75f - 0.25f * 1.0f);
    const glm::vec3 flat((0.75f * 1 - 0.25f * 4) * f, (0.75f * 2 - 0.25f * 6) * f,
                         (0.75f * 3 - 0.25f * 8) * f);
    EXPECT_EQ(mesh.cornerFlatTangents()[0], flat);
    EXPECT_EQ(mesh.cornerFlatTangents()[2], flat);
}

TEST(Mesh, IndicesAndCountsOutsideTheArraysReadNothing) {
    Mesh mesh;
    setModel(mesh, {glm::vec3(1)}, {}, {},
             {face({-5, 0, 1000000}, 7, {-1, 3, 2147483647}), face({-5, -5, 0}, -1)});
    const glm::vec3 o(0), i(1);
    EXPECT_EQ(mesh.cornerPositions(), (std::vector<glm::vec3>{o, i, o, o, o, i}));
    EXPECT_TRUE(mesh.cornerTexCoords()[2] == glm::vec2(0) && mesh.cornerFlatNormals()[0] == o);
    mesh.model.faceCount = 5;  // more than the faces held
    EXPECT_EQ(mesh.cornerSmoothNormals().size(), 6u);
    mesh.model.faceCount = -3;
    EXPECT_EQ(mesh.cornerPositions().size(), 0u);
}
