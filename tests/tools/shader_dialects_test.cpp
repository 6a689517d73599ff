// The translation of GLSL 3.30 into each dialect, on text as people write
// it: every written file is checked by the reference GLSL front end
// (glslangValidator; no ES context runs here) and must keep every line's
// number, and what cannot be written is refused naming the line. Then every
// shader of the run directory's ES set, compiled in every shading mode.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
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

int lineCount(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

struct ShaderFile {
    std::string what;  // for the failure message
    ShaderStage stage;
    std::string text;
};

// The files that glslangValidator refuses, each with its messages. One run
// takes them all; only where it fails is each file run on its own.
std::vector<std::string> refusedByTheReference(const std::vector<ShaderFile>& files) {
    std::string command = "glslangValidator";
    std::vector<std::string> paths;
    for (size_t index = 0; index < files.size(); ++index) {
        paths.push_back("file" + std::to_string(index) +
                        (files[index].stage == ShaderStage::Vertex ? ".vert" : ".frag"));
        support::writeFile(paths.back(), files[index].text);
        command += " " + paths.back();
    }
    if (std::system((command + " > log.txt 2>&1").c_str()) == 0) return {};
    std::vector<std::string> refused;
    for (size_t index = 0; index < files.size(); ++index) {
        if (std::system(("glslangValidator " + paths[index] + " > log.txt 2>&1").c_str()) != 0)
            refused.push_back(files[index].what + ":\n" + files[index].text + "\n" +
                              support::readFile("log.txt"));
    }
    return refused;
}

constexpr ShaderStage kVertex = ShaderStage::Vertex;
constexpr ShaderStage kFragment = ShaderStage::Fragment;
const std::string kMain = "void main() { gl_Position = vec4(0.0); }\n";
const std::string kFragMain = "void main() { c = vec4(1.0); }\n";

}  // namespace

// Each row is valid GLSL 3.30. `refusedBy` lists the dialects that must refuse
// it, with the line named; every other dialect must write a file that the
// reference compiler takes, with as many lines as the source.
TEST(ShaderDialects, TextAsPeopleWriteItIsWrittenSoundlyOrRefusedNamingTheLine) {
    support::ScratchDirectory scratch;
    const struct Row {
        const char* what;
        ShaderStage stage;
        std::string source;
        std::vector<std::string> refusedBy;
        int refusedLine;
    } rows[] = {
        {"several declarations on a line",
         kFragment,
         "#version 330\nout vec4 c; uniform float timer;\nvoid main() { c = vec4(timer); }\n",
         {},
         0},
        {"two outputs on a line",
         kVertex,
         "#version 330\nin vec3 p;\nout vec2 uv; out vec3 n;\n"
         "void main() { uv = p.xy; n = p; gl_Position = vec4(p, 1.0); }\n",
         {},
         0},
        {"tab-indented declarations",
         kVertex,
         "#version 330\n\tin vec3 p;\n \tout float d;\n" + kMain,
         {},
         0},
        {"a precision statement",
         kFragment,
         "#version 330\nprecision mediump float;\nout vec4 c;\n" + kFragMain,
         {},
         0},
        {"block comments around words of the rules",
         kFragment,
         "#version 330\n/* a note\nout of range values are clamped; texture( is fine\n*/\n"
         "uniform sampler2D t; /* out vec4 x;\n in */ in vec2 uv;\nout vec4 c;\n"
         "void main() { c = texture(t, /* ) */ uv); }\n",
         {},
         0},
        {"CR LF line ends",
         kFragment,
         "#version 330\r\nin vec2 uv;\r\nout vec4 c;\r\nvoid main() {\r\n c = vec4(uv, 0.0, "
         "1.0);\r\n}\r\n",
         {},
         0},
        {"a core profile", kVertex, "#version 330 core\nin vec3 p;\n" + kMain, {}, 0},
        {"comments before the version",
         kVertex,
         "// a set of mine\n\n#version 330\nin vec3 p;\n" + kMain,
         {},
         0},
        {"out and in parameters",
         kFragment,
         "#version 330\nout vec4 c;\nvoid f(in float a,\n       out float b) { b = a; }\n"
         "void main() { float x; f(1.0, x); c = vec4(x); }\n",
         {},
         0},
        {"an int number as a float's initialiser",
         kFragment,
         "#version 330\nout vec4 c;\nconst float a = 1, b = -2;\n"
         "void main() { float z = 0; c = vec4(a, b, z, 1.0); }\n",
         {},
         0},
        {"a multi-line shadow lookup",
         kFragment,
         "#version 330\nuniform sampler2DShadow s; uniform sampler2D t, u;\nout vec4 c;\n"
         "void main() { c = vec4(texture(s,\n vec3(0.5)) * texture(u, vec2(0.5)).x); }\n",
         {},
         0},
        {"samplers of other shapes",
         kFragment,
         "#version 330\nuniform samplerCube e;\nuniform sampler3D v;\nout vec4 c;\n"
         "void main() { c = texture(e, vec3(1.0)) + texture(v, vec3(0.5)); }\n",
         {},
         0},
        {"a smooth qualifier", kVertex, "#version 330\nsmooth out vec3 n;\n" + kMain, {}, 0},
        {"a layout qualifier",
         kVertex,
         "#version 330\nlayout(location = 0) in vec3 p;\n" + kMain,
         {"120"},
         2},
        {"a flat int varying", kVertex, "#version 330\n\nflat out int k;\n" + kMain, {"120"}, 3},
        {"an unsigned int",
         kVertex,
         "#version 330\n" + kMain + "uint f() { return 1u; }\n",
         {"120"},
         3},
        {"a bit shift",
         kFragment,
         "#version 330\nout vec4 c;\nint f(int a) { return a << 1; }\n" + kFragMain,
         {"120"},
         3},
        {"two fragment outputs",
         kFragment,
         "#version 330\nout vec4 c;\nout vec4 d;\nvoid main() { c = d = vec4(1.0); }\n",
         {"120"},
         3},
        {"the first declaration inside #ifdef",
         kFragment,
         "#version 330\n#ifdef EXTRA\nuniform float e;\n#endif\nout vec4 c;\n" + kFragMain,
         {"300es"},
         3},
        {"a precision statement inside #ifdef",
         kFragment,
         "#version 330\n#ifdef GL_ES\nprecision mediump float;\n#endif\nout vec4 c;\n" + kFragMain,
         {},
         0},
        {"a version that is not 3.30",
         kVertex,
         "#version 150\n" + kMain,
         {"120", "330", "300es"},
         1},
    };
    std::vector<ShaderFile> sources, written;
    for (const Row& row : rows) {
        sources.push_back({row.what, row.stage, row.source});
        for (const std::string directory : {"120", "330", "300es"}) {
            const Translation t =
                translateShader(row.source, row.stage, dialect(directory), "x.glsl");
            const std::string where = std::string(row.what) + ", " + directory;
            if (std::find(row.refusedBy.begin(), row.refusedBy.end(), directory) !=
                row.refusedBy.end()) {
                EXPECT_FALSE(t.ok) << where << "\n" << t.text;
                EXPECT_EQ(t.error.rfind("x.glsl:" + std::to_string(row.refusedLine) + ": ", 0), 0u)
                    << where << ": " << t.error;
                EXPECT_EQ(t.error.find('\n'), std::string::npos) << where << ": " << t.error;
                continue;
            }
            ASSERT_TRUE(t.ok) << where << ": " << t.error;
            EXPECT_EQ(t.text.rfind(dialect(directory).versionLine, 0), 0u) << where;
            EXPECT_EQ(lineCount(t.text), lineCount(row.source)) << where << "\n" << t.text;
            written.push_back({where, row.stage, t.text});
        }
    }
    for (const std::string& refused : refusedByTheReference(sources))
        ADD_FAILURE() << "not valid GLSL 3.30: " << refused;
    for (const std::string& refused : refusedByTheReference(written))
        ADD_FAILURE() << "written broken: " << refused;
}

// The lines keep their numbers, so a compiler's message about a written file
// names the line of the source where the fault is.
TEST(ShaderDialects, ACompilersMessageNamesTheSourcesLineInEveryDialect) {
    support::ScratchDirectory scratch;
    const std::string source =
        "#version 330\n/* a comment\n   of two lines */\nout vec4 c;\n\n"
        "void main() {\n    c = vec4(undeclared);\n}\n";
    for (const Dialect& d : dialects()) {
        const Translation t = translateShader(source, kFragment, d, "x.frag");
        ASSERT_TRUE(t.ok) << d.directory << ": " << t.error;
        const std::vector<std::string> refused =
            refusedByTheReference({{d.directory, kFragment, t.text}});
        ASSERT_EQ(refused.size(), 1u) << d.directory;
        EXPECT_NE(refused[0].find(":7: 'undeclared'"), std::string::npos) << refused[0];
    }
}

// What the rules let through and a dialect's compiler refuses (a float times
// an int, which only ES 3.00 rejects) stops the tool with the source's line,
// and the broken file is not left behind.
TEST(ShaderDialects, TheToolTakesBackAWrittenFileThatTheReferenceRefuses) {
    support::ScratchDirectory scratch;
    support::writeFile("set/base.vert",
                       "#version 330\nin vec3 p;\nvoid main() { gl_Position = vec4(p, 1.0); }\n");
    support::writeFile("set/base.frag",
                       "#version 330\nout vec4 c;\nuniform float a;\n\n"
                       "void main() { c = vec4(a * 2); }\n");
    const std::string command = std::string(SHADERDIALECTS_TOOL) + " set out base > log.txt 2>&1";
    EXPECT_NE(std::system(command.c_str()), 0);
    const std::string log = support::readFile("log.txt");
    EXPECT_EQ(log.rfind("shaderdialects: base.frag:5: ", 0), 0u) << log;
    EXPECT_NE(log.find("GLSL ES 3.00"), std::string::npos) << log;
    EXPECT_FALSE(std::ifstream("out/300es/base.frag").good());
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
