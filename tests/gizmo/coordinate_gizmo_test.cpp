// The gizmo against a real context: its buffers read back, its segments
// counted by the GL, and its frames found in the rendered pixels.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <glm/gtc/matrix_transform.hpp>

#include "gl_test_context.h"
#include "render/coordinate_gizmo.h"
#include "render/scene_object.h"

namespace fs = std::filesystem;

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

// Runs the test body in another working directory and comes back after it.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const fs::path& directory) : previous(fs::current_path()) {
        fs::current_path(directory);
    }
    ~WorkingDirectory() { fs::current_path(previous); }

private:
    fs::path previous;
};

// Adds triangle (a, b, c) with normal n and texture coordinates (0,0), (1,0),
// (0,1) at its corners, so its tangent runs along b - a.
void addTriangle(ObjModel& model, glm::vec3 a, glm::vec3 b, glm::vec3 c, glm::vec3 n) {
    const int first = model.positionCount;
    model.positions.insert(model.positions.end(), {a, b, c});
    model.positionCount += 3;
    if (model.texCoordCount == 0) {
        model.texCoords = {{0.0f, 0.0f}, {1.0f, 0.0f}, {0.0f, 1.0f}};
        model.texCoordCount = 3;
    }
    model.normals.push_back(n);
    ObjFace face;
    face.normalIndex = model.normalCount++;
    for (int corner = 0; corner < 3; ++corner) {
        face.positionIndex[corner] = first + corner;
        face.texCoordIndex[corner] = corner;
    }
    model.faces.push_back(face);
    model.faceCount++;
}

// One unit right triangle in the z = 0 plane at `origin`: normal +z, tangent
// +x, so its bitangent cross(N, T) is +y.
void addFlatTriangle(ObjModel& model, glm::vec3 origin) {
    addTriangle(model, origin, origin + glm::vec3(1, 0, 0), origin + glm::vec3(0, 1, 0),
                glm::vec3(0, 0, 1));
}

template <typename T>
std::vector<T> readBuffer(GLuint buffer, std::size_t count) {
    std::vector<T> values(count);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(count * sizeof(T)),
                       values.data());
    return values;
}

struct Pixels {
    std::vector<unsigned char> rgba;
    bool isRed(int x, int y) const { return at(x, y) == glm::ivec3(255, 0, 0); }
    bool isGreen(int x, int y) const { return at(x, y) == glm::ivec3(0, 255, 0); }
    bool isBlue(int x, int y) const { return at(x, y) == glm::ivec3(0, 0, 255); }
    glm::ivec3 at(int x, int y) const {
        const unsigned char* p = &rgba[4 * (static_cast<std::size_t>(y) * kWidth + x)];
        return {p[0], p[1], p[2]};
    }
};

Pixels readWindow() {
    Pixels pixels;
    pixels.rgba.resize(4u * kWidth * kHeight);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.rgba.data());
    return pixels;
}

// Window pixel of a point of the plane z = 0 in the view below: 100 pixels
// per unit, the origin in the middle of the window.
int columnOf(float x) { return static_cast<int>(kWidth / 2 + 100.0f * x); }
int rowOf(float y) { return static_cast<int>(kHeight / 2 + 100.0f * y); }

class Gizmo : public ::testing::Test {
protected:
    void SetUp() override {
        if (!gltest::openContext(gltest::compatibilityContext())) GTEST_SKIP() << "no display";
        const char* runDirectory = std::getenv("ISLAND_RUN_DIR");
        ASSERT_NE(runDirectory, nullptr);
        inRunDirectory = std::make_unique<WorkingDirectory>(runDirectory);
        while (glGetError() != GL_NO_ERROR) {
        }
        glViewport(0, 0, kWidth, kHeight);
        glDisable(GL_CULL_FACE);
        glEnable(GL_DEPTH_TEST);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    void TearDown() override {
        inRunDirectory.reset();
        gltest::closeContext();
    }

    // The scene's own projection (20 degrees, near 1, far 3: the shader keeps
    // only its field of view and aspect), seen from where the plane z = 0
    // shows eight units across and six high over the 800 × 600 window.
    const glm::mat4 projection =
        glm::perspective(glm::radians(20.0f), 800.0f / 600.0f, 1.0f, 3.0f);
    const glm::mat4 view = glm::translate(
        glm::mat4(1.0f), glm::vec3(0.0f, 0.0f, -3.0f / std::tan(glm::radians(10.0f))));
    std::unique_ptr<WorkingDirectory> inRunDirectory;
};

}  // namespace

TEST_F(Gizmo, EveryCornerGetsNormalBitangentAndTangentSegments) {
    SceneObject object;
    addFlatTriangle(object.mesh.model, glm::vec3(0, 0, 0));
    addFlatTriangle(object.mesh.model, glm::vec3(2, 0, 1));
    object.mesh.computeFaceTangents();
    CoordinateGizmo gizmo(&object);
    ASSERT_TRUE(gizmo.getProgram().isLoaded());
    ASSERT_EQ(gizmo.getPointCount(), 18 * 2);

    const auto points = readBuffer<glm::vec3>(gizmo.getPositionBuffer(), 36);
    const auto& model = object.mesh.model;
    for (int corner = 0; corner < 6; ++corner) {
        const glm::vec3 p = model.positions[model.faces[corner / 3].positionIndex[corner % 3]];
        SCOPED_TRACE(corner);
        EXPECT_EQ(points[6 * corner + 0], p);
        EXPECT_EQ(points[6 * corner + 1], p + glm::vec3(0, 0, 1));
        EXPECT_EQ(points[6 * corner + 2], p);
        EXPECT_EQ(points[6 * corner + 3], p + glm::vec3(0, 1, 0));
        EXPECT_EQ(points[6 * corner + 4], p);
        EXPECT_EQ(points[6 * corner + 5], p + glm::vec3(1, 0, 0));
    }
    EXPECT_EQ(points, gizmo.getPoints());

    const auto orientations = readBuffer<GLint>(gizmo.getOrientationBuffer(), 36);
    for (int i = 0; i < 36; ++i) EXPECT_EQ(orientations[i], i % 18) << i;
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(Gizmo, FTrianglesGive18FPointsAnd9FSegments) {
    SceneObject object;
    for (int i = 0; i < 5; ++i) addFlatTriangle(object.mesh.model, glm::vec3(i, -i, 0));
    object.mesh.computeFaceTangents();
    CoordinateGizmo gizmo(&object);
    EXPECT_EQ(gizmo.getPointCount(), 18 * 5);
    GLint bytes = 0;
    glBindBuffer(GL_ARRAY_BUFFER, gizmo.getPositionBuffer());
    glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &bytes);
    EXPECT_EQ(bytes, 18 * 5 * 12);
    glBindBuffer(GL_ARRAY_BUFFER, gizmo.getOrientationBuffer());
    glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &bytes);
    EXPECT_EQ(bytes, 18 * 5 * 4);

    // The GL counts the primitives the draw assembles: one per segment.
    GLuint query = 0;
    glGenQueries(1, &query);
    glBeginQuery(GL_PRIMITIVES_GENERATED, query);
    gizmo.draw(view, projection);
    glEndQuery(GL_PRIMITIVES_GENERATED);
    GLuint segments = 0;
    glGetQueryObjectuiv(query, GL_QUERY_RESULT, &segments);
    glDeleteQueries(1, &query);
    EXPECT_EQ(segments, 9u * 5u);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(Gizmo, ObjectWithoutFacesGivesNoPointsAndDrawsNothing) {
    SceneObject object;
    CoordinateGizmo gizmo(&object);
    EXPECT_EQ(gizmo.getPointCount(), 0);
    gizmo.draw(view, projection);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(Gizmo, TangentIsRedAlongXAndBitangentGreenAlongY) {
    SceneObject object;
    addFlatTriangle(object.mesh.model, glm::vec3(0, 0, 0));
    object.mesh.computeFaceTangents();
    CoordinateGizmo gizmo(&object);
    gizmo.draw(view, projection);
    const Pixels pixels = readWindow();

    // Corners at (0,0), (1,0), (0,1): tangents run right from them, so every
    // red pixel lies on row y = 0 or y = 1; bitangents run up, so every green
    // pixel lies in column x = 0 or x = 1.
    int red = 0, green = 0, blue = 0, misplaced = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            if (pixels.isRed(x, y)) {
                ++red;
                if (std::abs(y - rowOf(0)) > 1 && std::abs(y - rowOf(1)) > 1) ++misplaced;
            } else if (pixels.isGreen(x, y)) {
                ++green;
                if (std::abs(x - columnOf(0)) > 1 && std::abs(x - columnOf(1)) > 1) ++misplaced;
            } else if (pixels.isBlue(x, y)) {
                ++blue;
                // Normals point at the viewer: short stubs beside their corners.
                const bool nearCorner =
                    (std::abs(x - columnOf(0)) <= 10 || std::abs(x - columnOf(1)) <= 10) &&
                    (std::abs(y - rowOf(0)) <= 10 || std::abs(y - rowOf(1)) <= 10);
                if (!nearCorner) ++misplaced;
            }
        }
    }
    // Two unit tangents of 100 pixels each start at row 0 (one at x 0, one at
    // x 1, overlapping the first nowhere) and one at row 1.
    EXPECT_GE(red, 250);
    EXPECT_GE(green, 250);
    EXPECT_EQ(misplaced, 0);
    EXPECT_LE(blue, 30);

    // Turned a quarter about y, the normals lie along screen x instead; the
    // corners at x 0 and x 1 now lie one behind the other, so two of the three
    // normals cover nearly the same pixels.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    gizmo.draw(glm::rotate(view, glm::radians(90.0f), glm::vec3(0, 1, 0)), projection);
    const Pixels turned = readWindow();
    int turnedBlue = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            if (!turned.isBlue(x, y)) continue;
            ++turnedBlue;
            EXPECT_TRUE(std::abs(y - rowOf(0)) <= 1 || std::abs(y - rowOf(1)) <= 1)
                << x << "," << y;
        }
    }
    EXPECT_GE(turnedBlue, 190);
}

TEST_F(Gizmo, MovingTheObjectMovesItsFramesAtTheNextDraw) {
    SceneObject object;
    addFlatTriangle(object.mesh.model, glm::vec3(0, 0, 0));
    object.mesh.computeFaceTangents();
    CoordinateGizmo gizmo(&object);

    auto redBounds = [](const Pixels& pixels) {
        glm::ivec4 bounds(kWidth, kHeight, -1, -1);  // min x, min y, max x, max y
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                if (!pixels.isRed(x, y)) continue;
                bounds = glm::ivec4(std::min(bounds.x, x), std::min(bounds.y, y),
                                    std::max(bounds.z, x), std::max(bounds.w, y));
            }
        }
        return bounds;
    };

    gizmo.draw(view, projection);
    const glm::ivec4 before = redBounds(readWindow());
    ASSERT_GE(before.z, before.x);

    object.translate(glm::vec3(-1.5f, 1.0f, 0.0f));
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    gizmo.draw(view, projection);
    const glm::ivec4 after = redBounds(readWindow());

    EXPECT_NEAR(after.x - before.x, -150, 1);
    EXPECT_NEAR(after.z - before.z, -150, 1);
    EXPECT_NEAR(after.y - before.y, 100, 1);
    EXPECT_NEAR(after.w - before.w, 100, 1);
    // The snapshot itself is untouched: only the model matrix moved it.
    EXPECT_EQ(readBuffer<glm::vec3>(gizmo.getPositionBuffer(), 1)[0], glm::vec3(0, 0, 0));
}

TEST_F(Gizmo, FailedProgramIsReportedAndConstructionGoesOn) {
    const fs::path scratch =
        fs::temp_directory_path() / ("gizmo-shaders-" + std::to_string(getpid()));
    fs::create_directories(scratch / "Shaders");
    fs::copy_file("Shaders/coordsys.frag", scratch / "Shaders/coordsys.frag",
                  fs::copy_options::overwrite_existing);
    std::ofstream(scratch / "Shaders/coordsys.vert") << "#version 120\nvoid main() { oops }\n";

    SceneObject object;
    addFlatTriangle(object.mesh.model, glm::vec3(0, 0, 0));
    object.mesh.computeFaceTangents();
    std::string out;
    {
        WorkingDirectory inScratch(scratch);
        testing::internal::CaptureStdout();
        CoordinateGizmo gizmo(&object);
        out = testing::internal::GetCapturedStdout();
        EXPECT_FALSE(gizmo.getProgram().isLoaded());
        EXPECT_EQ(gizmo.getPointCount(), 18);
        EXPECT_NE(gizmo.getPositionBuffer(), 0u);
        // Drawing without a program draws nothing and leaves no GL error.
        gizmo.draw(view, projection);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
    fs::remove_all(scratch);

    const std::size_t compile = out.find("Shader compilation failed.\n");
    const std::size_t message = out.find("Could not compile minimal shader program.\n");
    ASSERT_NE(compile, std::string::npos) << out;
    ASSERT_NE(message, std::string::npos) << out;
    EXPECT_LT(compile, message);
}
