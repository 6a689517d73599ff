// Builds per mode are made where the compiler sees the macro in the code: a
// mention in a comment (one before #version too) is no use of it, sources
// that define it themselves fail the first build, after which the program
// draws every mode itself, and sources that test it in #if would draw another
// picture in a build than in the general program, so they get none. Builds
// started ahead of their first draw end the same way.
#include "render/per_mode_builds.h"

#include "gl_test_support.h"
#include "render/shader_program.h"

TEST(PerModeBuilds, FollowWhatTheCompilerSeesOfTheModeMacro) {
    support::ScratchDirectory scratch;
    ASSERT_TRUE(support::openContext(support::kCompatibility));
    const std::string head = "#version 120\nattribute vec3 in_Position;\nuniform int mode;\n";
    const std::string body =
        "void main() { gl_Position = vec4(in_Position, float(SHADING_MODE)); }\n";
    const struct {
        std::string name, vertex;
        bool builds;
    } rows[] = {{"mention",
                 "// SHADING_MODE: not ours\n" + head +
                     "void main() { gl_Position = vec4(in_Position, float(mode)); }\n",
                 false},
                {"opted",
                 "// SHADING_MODE, when defined, is the mode\n" + head +
                     "#ifndef SHADING_MODE\n#define SHADING_MODE mode\n#endif\n" + body,
                 true},
                {"own", head + "#define SHADING_MODE mode\n" + body, false},
                {"preprocessed",
                 head + "#ifndef SHADING_MODE\n#define SHADING_MODE mode\n#endif\n" +
                     "#if SHADING_MODE == 0\n#endif\n" + body,
                 false}};
    for (const auto& row : rows) {
        support::writeFile(row.name + ".vert", row.vertex);
        support::writeFile(row.name + ".frag",
                           "// SHADING_MODE is not read here\n#version 120\n"
                           "void main() { gl_FragColor = vec4(1.0); }\n");
        for (const bool startedAhead : {false, true}) {
            const ShaderProgram program(row.name, 1);
            ASSERT_TRUE(program.isLoaded()) << row.name;
            if (startedAhead) {
                for (int mode : {5, -2, 7}) program.startBuild(mode, false);
            }
            for (int mode : {5, -2, 7}) {
                const ShaderProgram& drawing = program.drawProgram(mode, false);
                EXPECT_EQ(&drawing != &program && drawing.isLoaded(), row.builds)
                    << row.name << " in mode " << mode << (startedAhead ? ", started ahead" : "");
            }
        }
    }
    EXPECT_TRUE(support::takeGLErrors().empty());
    support::closeContext();
}
