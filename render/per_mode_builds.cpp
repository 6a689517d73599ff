// Whether the sources use the macro is asked of the compiler, not of a text
// search: a mention in a comment, or only in an #ifdef, is no use of it.
// Sources that use the macro in a way of their own fail their first build,
// which is compiled once; the general program then draws every mode.
#include "render/per_mode_builds.h"

#include <string>

#include "render/shader_compile.h"
#include "render/shader_definitions.h"
#include "render/shader_program.h"
#include "render/shading_mode.h"
#include "render/uniform_record.h"

namespace {

// Modes the base shaders know: the user's 0..6, the shadow pass's -2 and the
// reflection pass's 7. Any other value draws with the general program.
constexpr int kLowestSpecializedMode = kModeShadowPass;
constexpr int kHighestSpecializedMode = kModeReflectionPass;
constexpr const char* kModeMacro = "SHADING_MODE";
// What the macro stands for when the compiler is asked whether the sources
// use it: a name no source declares.
constexpr const char* kModeMacroProbe = "island_mode_macro_probe_";

// Compiles each source with the macro standing for a name declared nowhere:
// true when either then fails to compile, that is when its code uses it.
bool sourcesUseModeMacro(const std::string& vertexSource, const std::string& fragmentSource) {
    const std::string probe = "#define " + std::string(kModeMacro) + " " + kModeMacroProbe + "\n";
    for (const auto& [type, source] :
         {std::pair{GL_VERTEX_SHADER, &vertexSource}, {GL_FRAGMENT_SHADER, &fragmentSource}}) {
        const GLuint shader = compiledShader(type, withDefinitions(*source, probe));
        if (shader == 0) return false;
        const bool compiles = compiledCleanly(shader);
        glDeleteShader(shader);
        if (!compiles) return true;
    }
    return false;
}

std::string modeDefinitions(int mode, bool opaqueColour) {
    std::string definitions =
        "#define " + std::string(kModeMacro) + " " + std::to_string(mode) + "\n";
    if (opaqueColour) definitions += "#define OPAQUE_COLOUR\n";
    return definitions;
}

}  // namespace

PerModeBuilds::PerModeBuilds() = default;

PerModeBuilds::~PerModeBuilds() = default;

const ShaderProgram& PerModeBuilds::programFor(const ShaderProgram& general, int mode,
                                               bool opaqueColour) {
    if (plainDrawing() || !general.loaded || mode < kLowestSpecializedMode ||
        mode > kHighestSpecializedMode) {
        return general;
    }
    if (decision == Decision::Undecided) {
        decision = sourcesUseModeMacro(general.vertexSource, general.fragmentSource)
                       ? Decision::Used
                       : Decision::NotUsed;
    }
    if (decision != Decision::Used) return general;
    std::unique_ptr<ShaderProgram>& built =
        builds[(mode - kLowestSpecializedMode) * 2 + (opaqueColour ? 1 : 0)];
    if (!built) {
        built.reset(new ShaderProgram(general, modeDefinitions(mode, opaqueColour)));
        if (!built->loaded) {
            decision = Decision::NotUsed;
            for (const auto& [key, build] : builds) general.uniforms->forget(build->programId);
            builds.clear();
            return general;
        }
    }
    return *built;
}
