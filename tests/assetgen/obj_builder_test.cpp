// The OBJ text the generator writes: fixed decimals from integers, one
// normal per face, and corner orders that keep the mesh's flat tangent finite.
#include "tools/assetgen/obj_builder.h"

#include <gtest/gtest.h>

#include <string>

#include "assets/mesh.h"
#include "assets/obj_reader.h"

using assetgen::ObjBuilder;

TEST(ObjBuilder, WritesFixedDecimalsAndOneNormalPerFace) {
    ObjBuilder obj;
    const int a = obj.addPosition(glm::dvec3(0.0, 0.0, 0.0));
    const int b = obj.addPosition(glm::dvec3(1.0, -0.5, 0.0));
    const int c = obj.addPosition(glm::dvec3(0.0, -0.000004, 1.0));
    const int ta = obj.addTexCoord(glm::dvec2(0.25, 0.5));
    const int tb = obj.addTexCoord(glm::dvec2(0.75, 0.5));
    const int tc = obj.addTexCoord(glm::dvec2(0.25, 0.1234567));
    obj.addTriangle(a, b, c, ta, tb, tc);
    const std::string text = obj.toText("test");
    EXPECT_NE(text.find("v 1.00000 -0.50000 0.00000\n"), std::string::npos) << text;
    // A value that rounds to zero is written without a sign.
    EXPECT_NE(text.find("v 0.00000 0.00000 1.00000\n"), std::string::npos) << text;
    EXPECT_NE(text.find("vt 0.250000 0.123457\n"), std::string::npos) << text;
    // The face's normal comes from its winding, (b - a) x (c - a), and all
    // three corners name it.
    EXPECT_NE(text.find("vn -0.44721 -0.89443 0.00000\n"), std::string::npos) << text;
    EXPECT_NE(text.find("f 1/1/1 2/2/1 3/3/1\n"), std::string::npos) << text;
}

TEST(ObjBuilder, ReaderGetsBackWhatWasAdded) {
    ObjBuilder obj;
    const int a = obj.addPosition(glm::dvec3(-1.5, 2.0, 3.25));
    const int b = obj.addPosition(glm::dvec3(1.0, 2.0, 3.25));
    const int c = obj.addPosition(glm::dvec3(-1.5, 2.0, 1.0));
    const int ta = obj.addTexCoord(glm::dvec2(0.3, 0.3));
    const int tb = obj.addTexCoord(glm::dvec2(0.8, 0.3));
    const int tc = obj.addTexCoord(glm::dvec2(0.3, 0.9));
    obj.addTriangleFacing(a, b, c, ta, tb, tc, glm::dvec3(0.0, 1.0, 0.0));
    const std::string text = obj.toText("round trip");
    ObjModel model;
    parseObjText(text.data(), static_cast<int>(text.size()), model);
    ASSERT_EQ(model.faceCount, 1);
    ASSERT_EQ(model.normalCount, 1);
    EXPECT_FLOAT_EQ(model.normals[0].y, 1.0f);  // wound to face +y as asked
    const ObjFace& f = model.faces[0];
    for (int c0 = 0; c0 < 3; ++c0) {
        const glm::dvec3& expected = obj.positions()[obj.faces()[0].position[c0]];
        EXPECT_FLOAT_EQ(model.positions[f.positionIndex[c0]].x, static_cast<float>(expected.x));
        EXPECT_EQ(f.texCoordIndex[c0], obj.faces()[0].texCoord[c0]);
    }
    const glm::vec3 cross =
        glm::cross(model.positions[f.positionIndex[1]] - model.positions[f.positionIndex[0]],
                   model.positions[f.positionIndex[2]] - model.positions[f.positionIndex[0]]);
    EXPECT_GT(cross.y, 0.0f);
}

TEST(ObjBuilder, CornerOrderKeepsTheFlatTangentFinite) {
    // Corners 0 and 1 on one line through the texture-space origin would
    // make the flat tangent divide by zero; the builder rotates the corners.
    EXPECT_NE(assetgen::bestCornerRotation(glm::dvec2(0.2, 0.2), glm::dvec2(0.4, 0.4),
                                           glm::dvec2(0.4, 0.2)),
              0);
    EXPECT_EQ(assetgen::bestCornerRotation(glm::dvec2(0.2, 0.0), glm::dvec2(0.0, 0.2),
                                           glm::dvec2(0.2, 0.2)),
              0);

    ObjBuilder obj;
    const int a = obj.addPosition(glm::dvec3(0.0, 0.0, 0.0));
    const int b = obj.addPosition(glm::dvec3(1.0, 0.0, 0.0));
    const int c = obj.addPosition(glm::dvec3(1.0, 0.0, -1.0));
    const int ta = obj.addTexCoord(glm::dvec2(0.0, 0.0));
    const int tb = obj.addTexCoord(glm::dvec2(0.5, 0.0));
    const int tc = obj.addTexCoord(glm::dvec2(0.5, 0.5));
    obj.addTriangleFacing(a, b, c, ta, tb, tc, glm::dvec3(0.0, 1.0, 0.0));
    const std::string text = obj.toText("rotation");
    Mesh mesh;
    parseObjText(text.data(), static_cast<int>(text.size()), mesh.model);
    mesh.computeFaceTangents();
    for (const glm::vec3& t : mesh.cornerFlatTangents()) {
        EXPECT_TRUE(std::isfinite(t.x) && std::isfinite(t.y) && std::isfinite(t.z));
    }
    // The winding survives the rotation.
    EXPECT_GT(mesh.model.normals[mesh.model.faces[0].normalIndex].y, 0.99f);
}
