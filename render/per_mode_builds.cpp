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

// The two sources with the macro standing for `standIn`, each compiled when
// first needed or when start() asks for both ahead.
class ProbeCompile {
  public:
    ProbeCompile(const std::string& vertexSource, const std::string& fragmentSource,
                 const char* standIn) {
        const std::string probe = "#define " + std::string(kModeMacro) + " " + standIn + "\n";
        stages[0].source = withDefinitions(vertexSource, probe);
        stages[1].source = withDefinitions(fragmentSource, probe);
    }
    ~ProbeCompile() {
        for (const Stage& stage : stages) glDeleteShader(stage.shader);
    }
    ProbeCompile(const ProbeCompile&) = delete;
    ProbeCompile& operator=(const ProbeCompile&) = delete;

    void start() {
        for (int stage = 0; stage < 2; ++stage) shader(stage);
    }

    // Whether both compile, the vertex stage first: none when a shader object
    // could not be made, false at the first that fails (the fragment stage
    // is then not compiled unless start() asked for it).
    std::optional<bool> bothCompile() {
        for (int stage = 0; stage < 2; ++stage) {
            if (shader(stage) == 0) return std::nullopt;
            if (!compiledCleanly(shader(stage))) return false;
        }
        return true;
    }

  private:
    struct Stage {
        std::string source;
        GLuint shader = 0;
        bool compiled = false;
    };
    Stage stages[2];

    GLuint shader(int stage) {
        Stage& s = stages[stage];
        if (!s.compiled) {
            s.shader = compiledShader(stage == 0 ? GL_VERTEX_SHADER : GL_FRAGMENT_SHADER, s.source);
            s.compiled = true;
        }
        return s.shader;
    }
};

std::string modeDefinitions(int mode, bool opaqueColour) {
    std::string definitions =
        "#define " + std::string(kModeMacro) + " " + std::to_string(mode) + "\n";
    if (opaqueColour) definitions += "#define OPAQUE_COLOUR\n";
    return definitions;
}

}  // namespace

// The sources' code reads the macro, and only their code, when the first
// probe fails to compile and the second compiles.
struct PerModeBuilds::Probes {
    ProbeCompile withoutIt;
    ProbeCompile outsideCode;

    Probes(const std::string& vertexSource, const std::string& fragmentSource)
        : withoutIt(vertexSource, fragmentSource, kModeMacroProbe),
          outsideCode(vertexSource, fragmentSource, kModeMacroOutsideCodeProbe) {}

    void start() {
        withoutIt.start();
        outsideCode.start();
    }

    bool sourcesUseModeMacro() {
        if (withoutIt.bothCompile().value_or(true)) return false;
        return outsideCode.bothCompile().value_or(false);
    }
};

PerModeBuilds::PerModeBuilds() = default;

PerModeBuilds::~PerModeBuilds() = default;

bool PerModeBuilds::buildsWanted(const ShaderProgram& general, int mode) const {
    return !plainDrawing() && general.loaded && mode >= kLowestSpecializedMode &&
           mode <= kHighestSpecializedMode && decision != Decision::NotUsed;
}

void PerModeBuilds::startFor(const ShaderProgram& general, int mode, bool opaqueColour) {
    if (buildsWanted(general, mode)) start(general, mode, opaqueColour);
}

PerModeBuilds::Build& PerModeBuilds::start(const ShaderProgram& general, int mode,
                                           bool opaqueColour) {
    if (decision == Decision::Undecided && !probes) {
        probes = std::make_unique<Probes>(general.vertexSource, general.fragmentSource);
        probes->start();
    }
    Build& build = builds[(mode - kLowestSpecializedMode) * 2 + (opaqueColour ? 1 : 0)];
    if (!build.program) {
        build.program.reset(new ShaderProgram(general, modeDefinitions(mode, opaqueColour)));
    }
    return build;
}

void PerModeBuilds::decide(const ShaderProgram& general) {
    if (!probes) probes = std::make_unique<Probes>(general.vertexSource, general.fragmentSource);
    decision = probes->sourcesUseModeMacro() ? Decision::Used : Decision::NotUsed;
    probes.reset();
    if (decision == Decision::NotUsed) dropBuilds(general);
}

void PerModeBuilds::dropBuilds(const ShaderProgram& general) {
    for (const auto& [key, build] : builds) general.uniforms->forget(build.program->programId);
    builds.clear();
}

const ShaderProgram& PerModeBuilds::programFor(const ShaderProgram& general, int mode,
                                               bool opaqueColour) {
    if (!buildsWanted(general, mode)) return general;
    if (decision == Decision::Undecided) decide(general);
    if (decision != Decision::Used) return general;
    Build& build = start(general, mode, opaqueColour);
    if (!build.finished) {
        build.finished = true;
        if (!build.program->finishBuild()) {
            decision = Decision::NotUsed;
            dropBuilds(general);
            return general;
        }
    }
    return *build.program;
}
