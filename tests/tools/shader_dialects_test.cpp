// The translation of the one shader source into each dialect: the rules that
// our own shaders rely on, the constructs that must stop the build rather than
// differ between dialects, and every shader of the run directory's ES set
// compiled by the reference GLSL ES front end (no ES context runs here).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "test_support.h"
#include "tools/shaderdialects/shader_dialect.h"

using namespace shaderdialects;

namespace {

const Dialect& dialect(const std::string& directory) {
    for (const Dialect& d : dialects())
        if (directory == d.directory) return d;
    throw std::runtime_error("no dialect " + directory);
}

// The translated text without the version line and the note under it.
std::string body(const Translation& translation) {
    std::string text = translation.text;
    for (int line = 0; line < 2; ++line) text.erase(0, text.find('\n') + 1);
    return text;
}

}  // namespace

TEST(ShaderDialects, Glsl120FollowsEachRuleAndRefusesWhatItCannotWrite) {
    struct Row {
        ShaderStage stage;
        std::string source;    // after "#version 330\n"
        std::string expected;  // the GLSL 1.20 body, or "" where translation must fail
    } rows[] = {
        {ShaderStage::Vertex, "in vec3 p;\nout vec2 uv; // in out\n",
         "attribute vec3 p;\nvarying vec2 uv; // in out\n"},
        {ShaderStage::Fragment,
         "in vec2 uv;\nout vec4 colour;\n\nvoid main() { colour = vec4(1.0); }\n",
         "varying vec2 uv;\nvoid main() { gl_FragColor = vec4(1.0); }\n"},
        {ShaderStage::Fragment,
         "uniform sampler2D t;\nuniform sampler2DShadow s;\n"
         "float f(vec2 c) { return texture(t, c).x * texture(s, vec3(c, (c.x + 1.0))); }\n",
         "uniform sampler2D t;\nuniform sampler2DShadow s;\n"
         "float f(vec2 c) { return texture2D(t, c).x * shadow2D(s, vec3(c, (c.x + 1.0))).r; }\n"},
        {ShaderStage::Vertex, "layout(location = 0) in vec3 p;\n", ""},
        {ShaderStage::Fragment,
         "uniform sampler3D v;\nvec4 f() { return texture(v, vec3(0.0)); }\n", ""},
        {ShaderStage::Fragment, "vec4 f() { return texture(unknown, vec2(0.0)); }\n", ""},
        {ShaderStage::Fragment, "out vec4 a, b;\n", ""},
    };
    for (const Row& row : rows) {
        const Translation t =
            translateShader("#version 330\n" + row.source, row.stage, dialect("120"), "x.frag");
        if (row.expected.empty()) {
            EXPECT_FALSE(t.ok) << row.source;
            EXPECT_NE(t.error.find("x.frag:"), std::string::npos) << t.error;
        } else {
            ASSERT_TRUE(t.ok) << row.source << t.error;
            EXPECT_EQ(t.text.substr(0, 13), "#version 120\n");
            EXPECT_EQ(body(t), row.expected);
        }
    }
    EXPECT_FALSE(
        translateShader("#version 120\n", ShaderStage::Vertex, dialect("330"), "x.vert").ok);
}

// GLSL 3.30 takes what ES 3.00 refuses (an int where a float is meant, a
// float without a precision in the fragment stage), so the ES set is compiled
// and linked here, in every shading mode the program builds.
TEST(ShaderDialects, EveryProgramOfTheEsSetLinksAsGlslEs300InEveryMode) {
    const std::string directory = support::runPath("Shaders/300es/");
    for (const std::string program : {"base", "minimal"}) {
        for (const std::string mode : {"", "-2", "0", "1", "2", "3", "4", "5", "6", "7"}) {
            std::string command = "glslangValidator -l";
            if (!mode.empty()) command += " -DSHADING_MODE=" + mode;
            command += " '" + directory + program + ".vert' '" + directory + program +
                       ".frag' > /dev/null";
            EXPECT_EQ(std::system(command.c_str()), 0) << command;
        }
    }
}
