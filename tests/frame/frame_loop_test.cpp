// The frame loop's own steps with scripted keys, cursor and clock: a run
// recorded through it and played back through it gives the same view, light
// and modes in every frame, and the frame-rate title counts 100 frames.
#include "frame/frame_loop.h"

#include "camera/camera.h"
#include "render/scene_object.h"
#include "scene/scene_setup.h"
#include "state/app_config.h"
#include "state/globals.h"
#include "test_support.h"

namespace {

// The view, the drawn light, the selection and the water's and cliff's modes.
using Result = std::tuple<glm::mat4, glm::vec3, int, int, int>;

class Loop : public testing::Test {
  protected:
    void SetUp() override {
        scope.input.setTime(100.0);  // past the playback script's end
        resetGlobals();
        camera = Camera();
        support::printedBy([] { camera.reset(); });
        lightPosition = glm::vec3(0, 140, 100);
        scene.water = &water, scene.cliff = &cliff;
        water.setMode(kModeBumpmapSpecular), cliff.setMode(kModeBumpmap);
    }
    // One frame without the render passes; the swap polls the scripted keys.
    Result frame(std::vector<int> held = {}) {
        for (int key : held) scope.input.press(key);
        glm::mat4 view;
        support::printedBy(
            [&] { view = loop.beginFrame(), platform::glfwSwapBuffers(), loop.endFrame(); });
        scope.input.releaseAll();
        return {view, lightPosition, loop.state.selectedObject, water.getMode(), cliff.getMode()};
    }

    support::ScratchDirectory scratch;
    support::ScriptedInputScope scope;
    SceneObject water, cliff;
    Scene scene;
    FrameLoop loop{scene};
};

}  // namespace

// Mouse look (past the pitch limit too), movement keys (the space bar is 'N',
// also a light key), light keys and toggles replay frame for frame, and so do
// a movement key and a light key held together; two light keys of one frame
// share the handlers' slot and replay a frame apart.
TEST_F(Loop, ReplayGivesTheSameViewLightAndModesInEveryFrame) {
    const std::vector<std::pair<glm::ivec2, std::vector<int>>> inputs = {
        {{5, 2}, {}},         {{5, 2}, {}},         {{-3, 1}, {}},    {{0, 0}, {'W'}},
        {{0, 0}, {'W'}},      {{4, -6}, {'A'}},     {{0, 0}, {}},     {{0, 0}, {'F'}},
        {{0, 0}, {'H'}},      {{0, 0}, {'V'}},      {{0, 0}, {}},     {{0, 0}, {'C'}},
        {{2, 0}, {}},         {{0, 0}, {'S'}},      {{0, 0}, {'B'}},  {{0, 0}, {'D'}},
        {{0, 0}, {'T'}},      {{0, 0}, {'Y'}},      {{0, 0}, {'G'}},  {{0, 230}, {}},
        {{0, 40}, {}},        {{0, -30}, {}},       {{-7, 0}, {'W'}}, {{0, 0}, {'W', 'F'}},
        {{0, 0}, {'W', 'F'}}, {{0, 0}, {'F', 'H'}}, {{0, 0}, {}},     {{0, 0}, {}}};
    scope.input.tap('P');  // leave the demonstration, then record from the next frame
    frame();
    scope.input.tap('R');
    frame();
    const Camera startCamera = camera;
    const LightEye startEye = lightEye;
    const glm::vec3 startLight = lightPosition;
    std::vector<Result> recorded, replayed;
    glm::ivec2 cursor(0);
    for (const auto& [move, keys] : inputs) {
        cursor += move;
        scope.input.moveCursorTo(cursor.x, cursor.y);
        recorded.push_back(frame(keys));
    }
    scope.input.tap('R');
    frame();
    const std::string file = support::readFile("rec.cfg");
    EXPECT_EQ(file.rfind("start0\n1_5_2 1_5_2 1_-3_1 1W 1W 1_4_-6 0A 2F 1H 2V ", 0), 0u) << file;
    EXPECT_EQ(file.substr(file.size() - 5), "\nend3");

    scope.input.tap('P');  // playback is fed from the next frame, from the same start
    frame();
    camera = startCamera, lightEye = startEye, lightPosition = startLight;
    loop.state.selectedObject = 1;
    water.setMode(kModeBumpmapSpecular), cliff.setMode(kModeBumpmap);
    for (size_t i = 0; i < recorded.size() + 3; ++i) {
        scope.input.moveCursorTo(static_cast<int>(i) * 7, 3);  // not read in playback
        replayed.push_back(frame());
    }
    const size_t fAndH = recorded.size() - 3;
    for (size_t i = 0; i < recorded.size(); ++i)
        EXPECT_EQ(replayed[i] == recorded[i], i != fAndH) << "frame " << i + 1;
    EXPECT_EQ(std::get<0>(replayed[fAndH]), std::get<0>(recorded[fAndH]));   // H one frame later
    EXPECT_NE(std::get<0>(recorded.back()), std::get<0>(recorded.front()));  // the run moved things
    EXPECT_EQ(std::get<3>(recorded.back()), 0);
    EXPECT_TRUE(replayed.back() == recorded.back());  // nothing more after the last item
    EXPECT_EQ(loop.state.playbackMoveKey + loop.state.playbackKey + loop.state.playbackDx +
                  loop.state.playbackDy,
              0);
}

// The title changes at each hundredth frame, to the rate of the hundred
// frames before it, and stays as it is between them.
TEST_F(Loop, TheFrameRateTitleShowsTheRateOfEachHundredFrames) {
    appConfig.showfps = true;
    loop.state.playing = false;
    platform::glfwSetWindowTitle("GLFW Window");
    const std::pair<int, const char*> reports[] = {{100, "20.00"}, {200, "10.00"}, {300, "125.00"}};
    std::string title = "GLFW Window";
    for (int i = 1, next = 0; i <= 300; ++i) {  // 100 frames in 5 s, in 10 s, in 0.8 s
        scope.input.setTime(i <= 100   ? i * 0.05
                            : i <= 200 ? 5 + (i - 100) * 0.1
                                       : 15 + (i - 200) * 0.008);
        frame();
        if (i == reports[next].first) title = reports[next++].second;
        EXPECT_EQ(platform::currentWindowTitle(), title) << "frame " << i;
    }
    appConfig = AppConfig();
}
