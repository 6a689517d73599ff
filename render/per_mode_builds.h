// The builds of one program's sources for one shading mode each, made on first
// use. A software rasteriser runs every branch of a shader under a mask, so a
// branch on the uniform "mode" saves nothing; a build with the macro
// SHADING_MODE defined to the mode has the other modes' work gone.
#pragma once

#include <map>
#include <memory>

class ShaderProgram;

class PerModeBuilds {
  public:
    PerModeBuilds();
    ~PerModeBuilds();
    PerModeBuilds(const PerModeBuilds&) = delete;
    PerModeBuilds& operator=(const PerModeBuilds&) = delete;

    // The program that draws `mode` for `general`, whose builds these are: a
    // build for this mode alone where the sources' code uses SHADING_MODE
    // (asked of the compiler once, at the first call), with OPAQUE_COLOUR
    // defined too when `opaqueColour`. Otherwise (sources that do not use
    // the macro, a mode outside -2..7, plain drawing, a program not loaded,
    // or once any build has failed) `general` itself.
    const ShaderProgram& programFor(const ShaderProgram& general, int mode, bool opaqueColour);

    // Starts the build that programFor would make for `mode` and `opaqueColour`,
    // and the compiles that decide whether builds are made, without waiting
    // for any of them: programFor finishes them. Where builds are not made
    // (as programFor says), nothing.
    void startFor(const ShaderProgram& general, int mode, bool opaqueColour);

  private:
    enum class Decision { Undecided, Used, NotUsed };
    struct Probes;
    // Whether builds are made: decided at the first call of programFor for a
    // mode in range, from the probes' compiles (asked for ahead by startFor,
    // or made as the decision needs them).
    Decision decision = Decision::Undecided;
    std::unique_ptr<Probes> probes;
    struct Build {
        std::unique_ptr<ShaderProgram> program;
        bool finished = false;
    };
    std::map<int, Build> builds;  // by mode and opaqueness

    bool buildsWanted(const ShaderProgram& general, int mode) const;
    // The build for `mode` and `opaqueColour`, started now if it was not yet,
    // and the probes, where they are still to be made.
    Build& start(const ShaderProgram& general, int mode, bool opaqueColour);
    void decide(const ShaderProgram& general);
    void dropBuilds(const ShaderProgram& general);
};
