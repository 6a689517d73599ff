// The keyboard controls on a real window with scripted keys, each kind tapped
// between two polls or held for frames: held keys act in every frame that
// sees them, C V M once when let go, R P once when pressed, Esc and Q end the
// loop; their titles and lines, and what is recorded.
#include "frame/key_handlers.h"

#include <sstream>

#include "camera/camera.h"
#include "frame/frame_loop.h"
#include "gl_test_support.h"
#include "platform/gl_context.h"
#include "render/scene_object.h"
#include "scene/scene_setup.h"
#include "state/globals.h"

namespace {

class Keys : public testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(support::openContext(support::kCompatibility, 64, 64)); }
    void TearDown() override { support::closeContext(); }
    void restart() {
        resetGlobals();
        water.setMode(kModeBumpmapSpecular), cliff.setMode(kModeBumpmap);
        scene.water = &water, scene.cliff = &cliff;
        loop = std::make_unique<FrameLoop>(scene);
        platform::glfwSetWindowTitle("");
        platform::setPolygonMode(false);
        printed.clear();
    }
    // One poll and its key handling.
    void frame() {
        printed += support::printedBy([&] { platform::glfwSwapBuffers(), loop->endFrame(); });
    }
    // What differs from the start, and everything printed since.
    std::string summary() const {
        std::ostringstream s;
        const LightEye& e = lightEye;
        const glm::vec3& l = lightPosition;
        if (e.x != 0 || e.y != 70 || e.z != 50 || l != glm::vec3(0))
            s << "light" << e.x << "," << e.y << "," << e.z << "@" << l.x << "," << l.y << ","
              << l.z << " ";
        if (polyoffset != 1.1f) s << "offset" << polyoffset << " ";
        if (water.getMode() != 6) s << "water" << water.getMode() << " ";
        if (cliff.getMode() != 5) s << "cliff" << cliff.getMode() << " ";
        if (loop->state.selectedObject != 1) s << "water selected ";
        GLint modes[2] = {GL_FILL, GL_FILL};  // front and back
        glGetIntegerv(GL_POLYGON_MODE, modes);
        if (polygonModeToggle != 0 || modes[0] != GL_FILL)
            s << "toggle" << polygonModeToggle << (modes[0] == GL_FILL ? " fill " : " line ");
        const FrameLoopState& state = loop->state;
        s << (state.recording ? "recording " : "") << (state.playing ? "" : "not playing ")
          << (state.running ? "" : "stopped ");
        const std::string title = platform::currentWindowTitle();
        if (!title.empty()) s << "title[" << title << "] ";
        if (!printed.empty()) s << "printed[" << printed << "]";
        const std::string text = s.str();
        return text.substr(0, text.find_last_not_of(' ') + 1);
    }

    support::ScratchDirectory scratch;
    support::ScriptedInputScope scope;
    SceneObject water, cliff;
    Scene scene;
    std::unique_ptr<FrameLoop> loop;
    std::string printed;
};

}  // namespace

TEST_F(Keys, EachKindActsOnceOrPerFrameWhetherTappedOrHeld) {
    const struct {
        std::vector<int> keys;
        int framesHeld;          // 0: tapped between two polls
        const char* whileSeen;   // after the last frame that sees the keys
        const char* afterwards;  // one and two frames later; nullptr: the same
    } rows[] = {
        {{'F'}, 0, "light-1,70,50@-1,0,0", nullptr},
        {{'F'}, 10, "light-10,70,50@-10,0,0", nullptr},
        {{'H', 'T', 'Y', 'G'}, 1, "light1,71,50@1,1,0", nullptr},  // T and G cancel
        {{'N'}, 0, "light0,69,50@0,-1,0", nullptr},
        {{'K'}, 0, "offset1.2 printed[polyoffset = 1.2\n]", nullptr},
        {{'L'}, 0, "offset1 printed[polyoffset = 1\n]", nullptr},
        {{'K', 'L'}, 1, "printed[polyoffset = 1.2\npolyoffset = 1.1\n]", nullptr},
        {{'C'}, 0, "", "cliff6 title[bumpmap shading with specular]"},
        {{'C'}, 30, "", "cliff6 title[bumpmap shading with specular]"},
        {{'V'}, 0, "", "water selected title[selected object: water]"},
        {{'V', 'C'}, 0, "", "water0 water selected title[none]"},  // select, then cycle
        {{'M'}, 0, "", "toggle1 fill"},
        {{'M'}, 5, "", "toggle1 fill"},
        {{'R'}, 0, "recording printed[start recording\n]", nullptr},
        {{'R'}, 20, "recording printed[start recording\n]", nullptr},
        {{'P'}, 0, "not playing printed[end playing\n]", nullptr},
        {{platform::GLFW_KEY_ESC}, 0, "stopped", nullptr},
        {{'Q'}, 0, "stopped", nullptr},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE("key " + std::to_string(row.keys[0]) + " held " +
                     std::to_string(row.framesHeld));
        restart();
        for (int key : row.keys) {
            if (row.framesHeld == 0) scope.input.tap(key);
            if (row.framesHeld > 0) scope.input.press(key);
        }
        for (int i = 0; i < std::max(row.framesHeld, 1); ++i) frame();
        EXPECT_EQ(summary(), row.whileSeen);
        scope.input.releaseAll();
        frame();
        EXPECT_EQ(summary(), row.afterwards ? row.afterwards : row.whileSeen);
        frame();
        EXPECT_EQ(summary(), row.afterwards ? row.afterwards : row.whileSeen);
    }
}

TEST_F(Keys, ModesCycleWithTheirNames) {
    restart();
    const std::string names =
        "|flat shading|flat shading with specular|gouraud shading|gouraud "
        "shading with specular|bumpmap shading";
    std::string titles;
    for (int tap = 1; tap <= 7; ++tap) {
        scope.input.tap('C');
        frame(), frame();
        titles += "|" + std::string(platform::currentWindowTitle());
    }
    EXPECT_EQ(titles, "|bumpmap shading with specular|none" + names);
}

TEST_F(Keys, WireframeComesSecond) {
    restart();
    for (const char* expected : {"toggle1 fill", "toggle0 line", "toggle1 fill", "toggle0 line"}) {
        scope.input.tap('M');
        frame(), frame();
        EXPECT_EQ(summary(), expected);
    }
}

TEST_F(Keys, RecordingGetsEveryActingKeyInTheFixedOrder) {
    restart();
    scope.input.tap('R');  // recording starts in the frame that sees R
    frame();
    auto recordedFrame = [&] { loop->state.recorder.countFrame(), frame(); };
    scope.input.press('H');
    recordedFrame(), recordedFrame(), recordedFrame();
    scope.input.releaseAll();
    for (int key : {'G', 'F', 'V'}) scope.input.tap(key);
    recordedFrame();
    recordedFrame();  // V acts, let go
    scope.input.tap('R');
    recordedFrame();
    EXPECT_EQ(support::readFile("rec.cfg"), "start0\n1H 1H 1H 1F 0G 1V \nend1");
}

TEST_F(Keys, LeavingPlaybackClearsItsValues) {
    restart();
    FrameLoopState& state = loop->state;
    state.playbackMoveKey = 'W', state.playbackKey = 'F';
    state.playbackDx = 4, state.playbackDy = -2;
    scope.input.moveCursorTo(300, 200);  // moved while playback ignored it
    scope.input.tap('P');
    frame();
    EXPECT_EQ(state.playbackMoveKey + state.playbackKey + state.playbackDx + state.playbackDy, 0);
    // The cursor is the next live turn's reference, so the view does not jump.
    EXPECT_TRUE(camera.oldMouseX == 300 && camera.oldMouseY == 200);
    EXPECT_EQ(summary().substr(summary().find("printed")), "printed[end playing\n]");
}
