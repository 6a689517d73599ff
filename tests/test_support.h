// What the tests share, with the headers nearly all of them use: a scratch
// working directory, files, scripted input, the scene's placements, TGA images,
// and the program's own start-up with pixel and state read-back (one window).
#pragma once

#include <gtest/gtest.h>

#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <memory>
#include <string>
#include <vector>

#include "platform/gl.h"
#include "platform/scripted_input.h"

namespace support {

// The run directory the build lays out (ISLAND_RUN_DIR) and a path in it.
std::string runPath(const std::string& relative = "");
std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& contents);  // makes its folders

// A fresh temporary working directory until destruction, with Shaders/ linked
// from the run directory and, on request, Models/ and Sprites/ holding links
// to each of its files (so that a test can remove one).
class ScratchDirectory {
  public:
    explicit ScratchDirectory(bool withRunAssets = false);
    ~ScratchDirectory();
    const std::string& path() const { return directory; }

  private:
    std::string previous, directory;
};

// Keys, cursor and clock come from `input` while in scope.
struct ScriptedInputScope {
    ScriptedInputScope() { platform::setInputSource(&input); }
    ~ScriptedInputScope() { platform::setInputSource(nullptr); }
    platform::ScriptedInput input;
};

// What `action` printed on standard output.
template <typename Action>
std::string printedBy(Action&& action) {
    testing::internal::CaptureStdout();
    action();
    return testing::internal::GetCapturedStdout();
}

// The model matrix the scene set-up gives the object of `model`, its path as
// scene/scene_files.h names it ("Models/tree2.obj").
glm::mat4 placementOf(const std::string& model);

// Top row first, 1 (grey), 3 (RGB) or 4 (RGBA) channels.
struct TgaImage {
    int width = 0, height = 0, channels = 3;
    std::vector<unsigned char> pixels;
};
TgaImage tgaPattern(int width, int height, int channels);      // each byte from its place
std::string encodeTga(const TgaImage& image, bool topOrigin);  // uncompressed

// GL tests: the 2.1 default request and the 3.3 forward-compatible core one.
struct ContextRequest {
    int major = 2, minor = 1;
    std::string shaderVersion = "120", name = "Compatibility21";
};
const ContextRequest kCompatibility{}, kCore{3, 3, "330", "Core33"};
const auto kBothContexts = testing::Values(kCompatibility, kCore);
inline std::string contextName(const testing::TestParamInfo<ContextRequest>& info) {
    return info.param.name;
}
inline void PrintTo(const ContextRequest& request, std::ostream* out) { *out << request.name; }

// Resets the configuration and the driver's globals and runs the program's
// own start-up (window, GLEW, fixed state; its report is swallowed). A
// failure says why: what start-up printed and GLFW's own reason.
testing::AssertionResult openContext(const ContextRequest& request, int width = 800,
                                     int height = 600);
// Closes the window; the process keeps its connection to the X server.
void closeContext();
std::vector<unsigned int> takeGLErrors();  // every pending error; empty when none

// RGBA pixels of the read framebuffer, rows bottom-up.
struct Image {
    int width = 0, height = 0;
    std::vector<unsigned char> rgba;
    glm::vec3 at(int x, int y) const;  // 0..1 per channel
};
Image readPixels(int width = 800, int height = 600);
glm::mat4 uniformMatrix(unsigned int program, const char* name);
int uniformInt(unsigned int program, const char* name);
int integerState(unsigned int name);

}  // namespace support
