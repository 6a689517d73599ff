// The OBJ reader: line kinds, the face pattern chosen from the whole file, the
// scanf meaning of the formats, the index conversion, and the file handling.
#include "assets/obj_reader.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "scratch_path.h"

namespace {

ObjModel parse(const std::string& text) {
    ObjModel model;
    parseObjText(text.data(), static_cast<int>(text.size()), model);
    return model;
}

const char* kAllKinds = "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 1 1 0\n"
                        "vt 0 0\nvt 1 0\nvt 0 1\nvt 1 1\n"
                        "vn 0 0 1\nvn 0 1 0\nvn 1 0 0\nvn 1 1 1\n";

void expectIndices(const ObjFace& face, std::array<int, 3> positions,
                   std::array<int, 3> texCoords, int normal) {
    EXPECT_EQ(face.positionIndex[0], positions[0]);
    EXPECT_EQ(face.positionIndex[1], positions[1]);
    EXPECT_EQ(face.positionIndex[2], positions[2]);
    EXPECT_EQ(face.texCoordIndex[0], texCoords[0]);
    EXPECT_EQ(face.texCoordIndex[1], texCoords[1]);
    EXPECT_EQ(face.texCoordIndex[2], texCoords[2]);
    EXPECT_EQ(face.normalIndex, normal);
}

std::string scratchFile(const std::string& name, const std::string& contents) {
    const std::string path = scratch::path(name);
    std::ofstream(path, std::ios::binary) << contents;
    return path;
}

}  // namespace

TEST(ObjReader, CountsLinesByTheirFirstBytes) {
    const ObjModel model = parse(
        "# comment\nvn 0 0 1\nvt 0 0\nv 1 2 3\nvp 1 2 3\nf 1 2 3\nfoo\n o name\ng group\n"
        "s 1\nusemtl x\n\n v 4 5 6\n");
    EXPECT_EQ(model.normalCount, 1);
    EXPECT_EQ(model.texCoordCount, 1);
    EXPECT_EQ(model.positionCount, 2);  // "vp" counts as a position
    EXPECT_EQ(model.faceCount, 2);      // "foo" counts as a face
    EXPECT_EQ(model.positions.size(), 2u);
    EXPECT_EQ(model.faces.size(), 2u);
}

TEST(ObjReader, FaceKeepsLastCornersNormal) {
    const ObjModel model = parse(std::string(kAllKinds) + "f 1/1/1 2/2/2 3/3/3\n");
    ASSERT_EQ(model.faceCount, 1);
    expectIndices(model.faces[0], {0, 1, 2}, {0, 1, 2}, 2);
}

TEST(ObjReader, FourthCornerIsDropped) {
    const ObjModel model = parse(std::string(kAllKinds) + "f 1/1/1 2/2/2 3/3/3 4/4/4\n");
    ASSERT_EQ(model.faceCount, 1);
    expectIndices(model.faces[0], {0, 1, 2}, {0, 1, 2}, 2);
}

TEST(ObjReader, PatternComesFromTheWholeFileNotTheLine) {
    // The full pattern expects "/" after the first number; the scan stops
    // there and the other fields keep their cleared value 0.
    const ObjModel model = parse(std::string(kAllKinds) + "f 2 3 4\n");
    expectIndices(model.faces[0], {1, 0, 0}, {0, 0, 0}, 0);
}

TEST(ObjReader, PositionOnlyFilesTakeBothFaceForms) {
    const ObjModel model = parse("v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\nf 1// 2// 3//\nf 3//2 1 2\n");
    ASSERT_EQ(model.faceCount, 3);
    expectIndices(model.faces[0], {0, 1, 2}, {0, 0, 0}, 0);
    expectIndices(model.faces[1], {0, 1, 2}, {0, 0, 0}, 0);
    // "/" within the first 10 bytes picks "f %d// %d// %d//" for this line:
    // "3//" and "2" are read, and the scan stops where "//" should follow.
    expectIndices(model.faces[2], {2, 1, 0}, {0, 0, 0}, 0);
}

TEST(ObjReader, SlashTestLooksOnlyAtTheFirstTenBytes) {
    const ObjModel model = parse("v 0 0 0\nf 1       2// 3//\nf 1 2 3   //\n");
    // Line 1: "/" first at byte 11, so "f %d %d %d" reads 1 and 2, then stops
    // at "/" after 2; line 2 reads all three.
    expectIndices(model.faces[0], {0, 1, 0}, {0, 0, 0}, 0);
    expectIndices(model.faces[1], {0, 1, 2}, {0, 0, 0}, 0);
}

TEST(ObjReader, SlashTestNeverLooksPastTheLine) {
    // The next line's "/" lies within 10 bytes of the face's start but is not
    // part of it.
    const ObjModel model = parse("v 0 0 0\nf 1 2 3\n#//\n");
    expectIndices(model.faces[0], {0, 1, 2}, {0, 0, 0}, 0);
}

TEST(ObjReader, PatternsForEveryCombinationOfKinds) {
    struct Case {
        const char* header;
        const char* face;
        std::array<int, 3> positions, texCoords;
        int normal;
    };
    const Case cases[] = {
        {"vt 0 0\n", "f /2/ /3/ /4/", {0, 0, 0}, {1, 2, 3}, 0},
        {"vn 0 0 1\n", "f //2 //3 //4", {0, 0, 0}, {0, 0, 0}, 3},
        {"v 0 0 0\nvt 0 0\n", "f 2/3/ 4/5/ 6/7/", {1, 3, 5}, {2, 4, 6}, 0},
        {"v 0 0 0\nvn 0 0 1\n", "f 2//3 4//5 6//7", {1, 3, 5}, {0, 0, 0}, 6},
        {"vt 0 0\nvn 0 0 1\n", "f /2/3 /4/5 /6/7", {0, 0, 0}, {1, 3, 5}, 6},
        {"v 0 0 0\nvt 0 0\nvn 0 0 1\n", "f 2/3/4 5/6/7 8/9/10", {1, 4, 7}, {2, 5, 8}, 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.face);
        const ObjModel model = parse(std::string(c.header) + c.face + "\n");
        ASSERT_EQ(model.faceCount, 1);
        expectIndices(model.faces[0], c.positions, c.texCoords, c.normal);
    }
}

TEST(ObjReader, FileWithoutVertexKindsScansNoFaces) {
    const ObjModel model = parse("f 1 2 3\nf 4/4/4 5/5/5 6/6/6\n");
    ASSERT_EQ(model.faceCount, 2);
    expectIndices(model.faces[1], {0, 0, 0}, {0, 0, 0}, 0);
}

TEST(ObjReader, IndexConversionKeepsZeroAndShiftsNegatives) {
    const ObjModel model =
        parse(std::string(kAllKinds) + "f 0/0/0 -1/-1/-1 2147483647/-2147483648/1\n");
    // INT_MIN wraps to INT_MAX rather than overflowing.
    expectIndices(model.faces[0], {0, -2, 2147483646}, {0, -2, 2147483647}, 0);
    const ObjModel zeros = parse(std::string(kAllKinds) + "f 0/0/0 0/0/0 0/0/0\n");
    expectIndices(zeros.faces[0], {0, 0, 0}, {0, 0, 0}, 0);
}

TEST(ObjReader, VertexValuesFollowScanf) {
    const ObjModel model = parse(
        "vt 0.5 0.25 0.0\nv -1.5e2 +2 .25\nv 1\nvp 7 8 9\nv\t3\t4\t5\r\nvn 0x1p3 inf -nan\n"
        "v 1,2,3\nv1 2 3\n");
    ASSERT_EQ(model.texCoordCount, 1);
    EXPECT_EQ(model.texCoords[0], glm::vec2(0.5f, 0.25f));
    ASSERT_EQ(model.positionCount, 6);
    EXPECT_EQ(model.positions[0], glm::vec3(-150.0f, 2.0f, 0.25f));
    EXPECT_EQ(model.positions[1], glm::vec3(1.0f, 0.0f, 0.0f));  // missing values stay 0
    EXPECT_EQ(model.positions[2], glm::vec3(0.0f));              // "vp" occupies a slot
    EXPECT_EQ(model.positions[3], glm::vec3(3.0f, 4.0f, 5.0f));  // tabs and CR are white space
    EXPECT_EQ(model.positions[4], glm::vec3(1.0f, 0.0f, 0.0f));  // stops at ","
    EXPECT_EQ(model.positions[5], glm::vec3(1.0f, 2.0f, 3.0f));  // no space needed after "v"
    EXPECT_EQ(model.normals[0].x, 8.0f);
    EXPECT_TRUE(std::isinf(model.normals[0].y));
    EXPECT_TRUE(std::isnan(model.normals[0].z));
}

TEST(ObjReader, ScanNeverContinuesOnTheNextLine) {
    // A "\n" ends the line even where the format still expects a number.
    const ObjModel model = parse("v 1 2\n3 4\nvt 5\n\t6\nv 7 8 \n9\nf 1/1/1 2/2/2\n3/3/3\nvn 0 0 1\n");
    EXPECT_EQ(model.positions[0], glm::vec3(1.0f, 2.0f, 0.0f));
    EXPECT_EQ(model.positions[1], glm::vec3(7.0f, 8.0f, 0.0f));
    EXPECT_EQ(model.texCoords[0], glm::vec2(5.0f, 0.0f));
    expectIndices(model.faces[0], {0, 1, 0}, {0, 1, 0}, 1);
}

TEST(ObjReader, IndentedLinesAreSkippedByBothPasses) {
    const ObjModel model = parse("v 1 1 1\n v 2 2 2\nv 3 3 3\n");
    ASSERT_EQ(model.positionCount, 2);
    EXPECT_EQ(model.positions[1], glm::vec3(3.0f));
}

TEST(ObjReader, LastLineWithoutLineEndIsRead) {
    const std::string text = "v 1 2 3\nv 4 5 6";
    // The scan must stop at the end of the text even though digits follow in
    // memory beyond it.
    const std::string memory = text + "789 1 1";
    ObjModel model;
    parseObjText(memory.data(), static_cast<int>(text.size()), model);
    ASSERT_EQ(model.positionCount, 2);
    EXPECT_EQ(model.positions[1], glm::vec3(4.0f, 5.0f, 6.0f));
}

TEST(ObjReader, CountsAddToThoseTheModelHas) {
    ObjModel model;
    model.positionCount = 2;
    model.faceCount = -7;  // a damaged model: counts as 0
    const std::string text = "v 1 2 3\nf 1 1 1\n";
    parseObjText(text.data(), static_cast<int>(text.size()), model);
    EXPECT_EQ(model.positionCount, 3);
    ASSERT_EQ(model.positions.size(), 3u);
    EXPECT_EQ(model.positions[0], glm::vec3(1.0f, 2.0f, 3.0f));  // running indices start at 0
    EXPECT_EQ(model.faceCount, 1);
    EXPECT_EQ(model.faces.size(), 1u);
}

TEST(ObjReader, EmptyTextGivesAnEmptyModel) {
    const ObjModel model = parse("");
    EXPECT_EQ(model.positionCount + model.normalCount + model.texCoordCount + model.faceCount, 0);
}

TEST(ObjReader, MissingFileReportsErrorCodeAndLeavesCountsZero) {
    ObjModel model;
    testing::internal::CaptureStdout();
    readObjFile("no/such/model.obj", model);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "could not find file: no/such/model.obj  - error code: 2 \n");
    EXPECT_EQ(model.positionCount + model.normalCount + model.texCoordCount + model.faceCount, 0);
    EXPECT_TRUE(model.faces.empty());
}

TEST(ObjReader, ReadsFilesIncludingEmptyOnesSilently) {
    ObjModel empty;
    testing::internal::CaptureStdout();
    readObjFile(scratchFile("empty.obj", "").c_str(), empty);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(empty.faceCount, 0);

    ObjModel model;
    readObjFile(scratchFile("crlf.obj", std::string(kAllKinds) + "f 1/2/3 2/3/4 3/4/1\r\n").c_str(),
                model);
    ASSERT_EQ(model.faceCount, 1);
    expectIndices(model.faces[0], {0, 1, 2}, {1, 2, 3}, 0);
}

TEST(ObjReader, WholeFileReadReturnsTheBytesWithoutTerminator) {
    std::unique_ptr<char[]> buffer;
    EXPECT_EQ(readWholeFile(scratchFile("bytes.obj", "v 1 2 3").c_str(), buffer), 7);
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(std::string(buffer.get(), 7), "v 1 2 3");

    std::unique_ptr<char[]> untouched(new char[1]);
    char* before = untouched.get();
    testing::internal::CaptureStdout();
    EXPECT_EQ(readWholeFile("no/such/file", untouched), 0);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(untouched.get(), before);
}

TEST(ObjReader, GarbageNeverReadsOutsideTheText) {
    // Random bytes biased towards the characters the formats care about; the
    // sanitizer build turns any read past the text into a failure.
    std::mt19937 random(7);
    const std::string alphabet = "vntf/ \t\r\n0123456789.-+eExXpinaf\0#";
    for (int round = 0; round < 200; ++round) {
        const size_t length = random() % 400;
        std::unique_ptr<char[]> text(new char[length > 0 ? length : 1]);
        for (size_t i = 0; i < length; ++i)
            text[i] = (random() % 4 == 0) ? static_cast<char>(random())
                                           : alphabet[random() % alphabet.size()];
        ObjModel model;
        parseObjText(text.get(), static_cast<int>(length), model);
        EXPECT_EQ(model.faces.size(), static_cast<size_t>(model.faceCount));
        EXPECT_EQ(model.positions.size(), static_cast<size_t>(model.positionCount));
    }
}
