// The record hands each program bound through it the values set while
// another was bound (as a build gets the general program's), and its serial
// grows only with a real change to a value that the asking program reads.
#include "render/uniform_record.h"

#include "gl_test_support.h"
#include "render/program_link.h"
#include "render/shader_compile.h"

namespace {

struct UniformRecordTest : testing::Test {
    void SetUp() override { ASSERT_TRUE(support::openContext(support::kCompatibility)); }
    void TearDown() override {
        for (GLuint program : programs) glDeleteProgram(program);
        support::closeContext();
    }

    // A linked program whose vertex shader reads the float `reads` and the
    // matrix "m".
    GLuint programReading(const std::string& reads) {
        const GLuint vertex = compiledShader(
            GL_VERTEX_SHADER, "#version 120\nattribute vec3 in_Position;\nuniform float " + reads +
                                  ";\nuniform mat4 m;\nvoid main() { gl_Position = m * "
                                  "vec4(in_Position, " +
                                  reads + "); }\n");
        const GLuint fragment = compiledShader(
            GL_FRAGMENT_SHADER, "#version 120\nvoid main() { gl_FragColor = vec4(1.0); }\n");
        programs.push_back(linkQuietly(vertex, fragment, {}));
        glDeleteShader(vertex);
        glDeleteShader(fragment);
        return programs.back();
    }

    static float uniformFloat(GLuint program, const char* name) {
        GLfloat value = 0.0f;
        glGetUniformfv(program, glGetUniformLocation(program, name), &value);
        return value;
    }

    std::vector<GLuint> programs;
};

}  // namespace

TEST_F(UniformRecordTest, EveryProgramBoundThroughItGetsTheValuesSetThroughAnother) {
    const GLuint own = programReading("w"), build = programReading("w");
    ASSERT_TRUE(own != 0 && build != 0);
    const glm::mat4 matrix = glm::translate(glm::mat4(1.0f), glm::vec3(1, 2, 3));
    UniformRecord record;
    record.bind(own);
    record.set(own, "w", UniformValue::ofFloat(1.5f));
    record.set(own, "m", UniformValue::ofMat4(matrix, true));
    record.bind(build);
    EXPECT_EQ(uniformFloat(build, "w"), 1.5f);
    EXPECT_EQ(support::uniformMatrix(build, "m"), glm::transpose(matrix));
    record.set(own, "w", UniformValue::ofFloat(2.5f));  // into the build, which is bound
    EXPECT_EQ(uniformFloat(build, "w"), 2.5f);
    record.bind(own);
    EXPECT_EQ(uniformFloat(own, "w"), 2.5f);
    record.unbind();
    EXPECT_EQ(support::integerState(GL_CURRENT_PROGRAM), 0);
    EXPECT_TRUE(support::takeGLErrors().empty());
}

TEST_F(UniformRecordTest, TheSerialGrowsWithAChangeToWhatTheReaderReads) {
    const GLuint readsW = programReading("w"), readsV = programReading("v");
    UniformRecord record;
    record.bind(readsW);
    // Name, value, whether each reader sees a change ("m" is left out).
    const struct {
        const char* name;
        UniformValue value;
        bool changesW, changesV;
    } rows[] = {{"w", UniformValue::ofFloat(1.0f), true, false},
                {"v", UniformValue::ofFloat(2.0f), false, true},
                {"w", UniformValue::ofFloat(1.0f), false, false},
                {"m", UniformValue::ofMat4(glm::mat4(2.0f), false), false, false},
                {"nothing", UniformValue::ofFloat(4.0f), false, false},
                {"w", UniformValue::ofFloat(3.0f), true, false}};
    std::uint64_t lastW = 0, lastV = 0;
    for (const auto& row : rows) {
        record.set(readsW, row.name, row.value);
        const std::uint64_t w = record.lastChangeReadBy(readsW, {"m"});
        const std::uint64_t v = record.lastChangeReadBy(readsV, {"m"});
        EXPECT_EQ(w > lastW, row.changesW) << row.name;
        EXPECT_EQ(v > lastV, row.changesV) << row.name;
        EXPECT_TRUE(w >= lastW && v >= lastV);
        lastW = w;
        lastV = v;
    }
    record.unbind();
    EXPECT_TRUE(support::takeGLErrors().empty());
}
