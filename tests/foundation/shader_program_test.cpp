// Shader programs report each failure on its stream and stay unloaded; a
// broken shader still goes on to a link that reports as well.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "gl_test_context.h"
#include "render/shader_program.h"

namespace {

const char* kVertex =
    "#version 120\n"
    "attribute vec3 in_Position;\n"
    "uniform mat4 mvMat;\n"
    "void main() { gl_Position = mvMat * vec4(in_Position, 1.0); }\n";
const char* kFragment =
    "#version 120\n"
    "uniform vec4 colour;\n"
    "void main() { gl_FragColor = colour; }\n";

void writeFile(const std::string& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary);
    file << text;
}

class ShaderPrograms : public ::testing::Test {
protected:
    void SetUp() override {
        testing::internal::CaptureStdout();  // start-up's own context report
        testing::internal::CaptureStderr();
        const bool open = gltest::openContext(gltest::compatibilityContext());
        testing::internal::GetCapturedStdout();
        testing::internal::GetCapturedStderr();
        if (!open) GTEST_SKIP() << "no display";
        // Test cases run in parallel in one directory: each has files of its own.
        base = testing::UnitTest::GetInstance()->current_test_info()->name();
        std::remove((base + ".vert").c_str());
        std::remove((base + ".frag").c_str());
        while (glGetError() != GL_NO_ERROR) {
        }
    }
    void TearDown() override {
        std::remove((base + ".vert").c_str());
        std::remove((base + ".frag").c_str());
        gltest::closeContext();
    }

    std::string base;
};

}  // namespace

TEST(ShaderFiles, ReadTextFileKeepsEveryByte) {
    writeFile("bytes.txt", std::string("a \r\n\tb\0c", 8));
    EXPECT_TRUE(fileExists("bytes.txt"));
    EXPECT_EQ(readTextFile("bytes.txt"), std::string("a \r\n\tb\0c", 8));
    std::remove("bytes.txt");
    EXPECT_FALSE(fileExists("bytes.txt"));
    EXPECT_EQ(readTextFile("bytes.txt"), "");
}

TEST_F(ShaderPrograms, GoodSourcesLinkAndLookUpNames) {
    writeFile(base + ".vert", kVertex);
    writeFile(base + ".frag", kFragment);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    ShaderProgram program(base, 1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    ASSERT_TRUE(program.isLoaded());
    EXPECT_EQ(program.getKind(), 1);
    EXPECT_NE(program.getProgramId(), 0u);
    EXPECT_GE(program.getAttribLocation("in_Position"), 0);
    EXPECT_EQ(program.getAttribLocation("in_Normal"), -1);
    EXPECT_GE(program.getUniformLocation("mvMat"), 0);
}

TEST_F(ShaderPrograms, PositionTakesAttributeZeroWhateverTheOtherAttributes) {
    writeFile(base + ".vert",
              "#version 120\n"
              "attribute vec3 in_Normal;\nattribute vec2 in_TexCoord;\n"
              "attribute vec3 in_Position;\n"
              "void main() { gl_Position = vec4(in_Position + in_Normal, in_TexCoord.x); }\n");
    writeFile(base + ".frag", kFragment);
    ShaderProgram program(base, 1);
    ASSERT_TRUE(program.isLoaded());
    EXPECT_EQ(program.getAttribLocation("in_Position"), 0);
    EXPECT_GT(program.getAttribLocation("in_Normal"), 0);
}

TEST_F(ShaderPrograms, AbsentUniformIsMinusOneAndWritingItIsHarmless) {
    writeFile(base + ".vert", kVertex);
    writeFile(base + ".frag", kFragment);
    ShaderProgram program(base, 1);
    ASSERT_TRUE(program.isLoaded());
    program.bind();
    const GLint location = program.getUniformLocation("no_such_uniform");
    EXPECT_EQ(location, -1);
    glUniform1i(location, 3);
    glUniform4f(program.getUniformLocation("colour"), 1, 0, 0, 1);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(static_cast<GLuint>(current), program.getProgramId());
    program.unbind();
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(current, 0);
}

TEST_F(ShaderPrograms, MissingVertexFileIsTheOnlyMessage) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    {
        ShaderProgram program(base, 0);
        EXPECT_FALSE(program.isLoaded());
        EXPECT_EQ(program.getProgramId(), 0u);
    }  // destroying a program that created nothing raises no error
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Vertex shader file " + base + ".vert does not exist.\n");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ShaderPrograms, MissingFragmentFileIsReported) {
    writeFile(base + ".vert", kVertex);
    testing::internal::CaptureStderr();
    ShaderProgram program(base, 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Fragment shader file " + base + ".frag does not exist.\n");
    EXPECT_FALSE(program.isLoaded());
}

TEST_F(ShaderPrograms, EmptySourceFailsToCompileAndLink) {
    writeFile(base + ".vert", "");
    writeFile(base + ".frag", kFragment);
    testing::internal::CaptureStdout();
    ShaderProgram program(base, 1);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out.rfind("Shader compilation failed.\n", 0), 0u) << out;
    EXPECT_NE(out.find("Shader linking failed.\n"), std::string::npos) << out;
    EXPECT_FALSE(program.isLoaded());
    EXPECT_EQ(program.getProgramId(), 0u);
}

TEST_F(ShaderPrograms, VertexSyntaxErrorReportsCompileThenLinkWithLogs) {
    writeFile(base + ".vert", "#version 120\nvoid main() { gl_Position = ; }\n");
    writeFile(base + ".frag", kFragment);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    ShaderProgram program(base, 1);
    const std::string out = testing::internal::GetCapturedStdout();
    testing::internal::GetCapturedStderr();
    const std::size_t compile = out.find("Shader compilation failed.\n");
    const std::size_t link = out.find("Shader linking failed.\n");
    ASSERT_EQ(compile, 0u) << out;
    ASSERT_NE(link, std::string::npos) << out;
    // Each headline is followed by a non-empty log of its own.
    EXPECT_GT(link, std::string("Shader compilation failed.\n").size() + 1) << out;
    EXPECT_GT(out.size(), link + std::string("Shader linking failed.\n").size() + 1) << out;
    EXPECT_FALSE(program.isLoaded());
    EXPECT_EQ(program.getProgramId(), 0u);
}
