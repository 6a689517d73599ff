// A stand-in for the generated scene, authored in world coordinates so that
// tests know where each feature lands: a sand island block (top at y = 0, x
// and z within +-12), a green column (the "tree") of height 10 on its middle,
// blue water at y = -14, a yellow light sphere, a light-blue sky box. It is
// small, so a test sets it up in a moment on each context.
#pragma once

#include "gl_test_support.h"
#include "scene/scene_setup.h"

namespace support {

// Writes the stand-in's Models/ and Sprites/ into the working directory.
void writeStandInScene();

// A test with the stand-in scene set up, in a scratch directory, on a fresh
// context of the kind its parameter asks for, with the clock at 2 s.
class StandInSceneTest : public testing::TestWithParam<ContextRequest> {
  protected:
    void SetUp() override;
    void TearDown() override;

    ScratchDirectory scratch;
    ScriptedInputScope scope;
    Scene scene;
};

}  // namespace support
