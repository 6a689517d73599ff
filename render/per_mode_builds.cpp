// Whether the sources use the macro is asked of the compiler, not of a text
// search: a mention in a comment, or only in an #ifdef, is no use of it.
// Sources that use the macro in a way of their own fail their first build,
// which is compiled once; the general program then draws every mode. So do
// sources that test the macro in #if or #elif: there the general program's
// fallback (SHADING_MODE standing for the uniform) is a name the preprocessor
// reads as 0, so a build for one mode would take another branch than it.
#include "render/per_mode_builds.h"

#include <optional>
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
// use it: a name no source declares, which fails to compile wherever code
// reads it ...
constexpr const char* kModeMacroProbe = "island_mode_macro_probe_";
// ... and a number that code takes as a number does, but that the
// preprocessor cannot evaluate: in #if it reads "0 (0)", which is no
// expression.
constexpr const char* kModeMacroOutsideCodeProbe = "int(0)";

// Whether both sources compile with the macro standing for `standIn`; none
// when no shader object could be made.
std::optional<bool> bothCompileWith(const std::string& vertexSource,
                                    const std::string& fragmentSource, const char* standIn) {
    const std::string probe = "#define " + std::string(kModeMacro) + " " + standIn + "\n";
    for (const auto& [type, source] :
         {std::pair{GL_VERTEX_SHADER, &vertexSource}, {GL_FRAGMENT_SHADER, &fragmentSource}}) {
        const GLuint shader = compiledShader(type, withDefinitions(*source, probe));
        if (shader == 0) return std::nullopt;
        const bool compiles = compiledCleanly(shader);
        glDeleteShader(shader);
        if (!compiles) return false;
    }
    return true;
}

// True when the sources' code reads the macro, and only their code: the
// first probe then fails to compile and the second compiles.
bool sourcesUseModeMacro(const std::string& vertexSource, const std::string& fragmentSource) {
    const std::optional<bool> compilesWithoutIt =
        bothCompileWith(vertexSource, fragmentSource, kModeMacroProbe);
    if (compilesWithoutIt.value_or(true)) return false;
    return bothCompileWith(vertexSource, fragmentSource, kModeMacroOutsideCodeProbe)
        .value_or(false);
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
