// What the shadow map is drawn from: every input that changes the map's
// contents changes the inputs, and nothing else does.
#include "scene/shadow_map_inputs.h"

#include <functional>

#include "render/scene_object.h"
#include "render/shadow_map.h"
#include "scene/stand_in_scene.h"
#include "state/globals.h"

namespace {

class ShadowMapInputsOf : public support::StandInSceneTest {};

}  // namespace

TEST_P(ShadowMapInputsOf, EachChangeOfWhatTheMapShowsChangesThem) {
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"nothing", [] {}},
        {"light", [] { lightPosition.x += 0.5f; }},
        {"polygon offset", [] { polyoffset += 0.1f; }},
        {"polygon mode", [] { polygonModeToggle = 1 - polygonModeToggle; }},
        {"tree", [&] { scene.tree->translate(glm::vec3(0.01f, 0, 0)); }},
        {"cliff", [&] { scene.cliff->rotate(0.1f, glm::vec3(0, 1, 0)); }},
        {"map size", [&] {
             scene.shadowMap =
                 std::make_unique<ShadowMap>(lightPosition, scene.baseProgram.get(), 400, 300);
         }}};
    for (const auto& [what, change] : changes) {
        const ShadowMapInputs before = currentShadowMapInputs(scene);
        change();
        EXPECT_EQ(currentShadowMapInputs(scene) == before, std::string(what) == "nothing") << what;
    }
    EXPECT_TRUE(support::takeGLErrors().empty());
}

INSTANTIATE_TEST_SUITE_P(Contexts, ShadowMapInputsOf, support::kBothContexts, support::contextName);
