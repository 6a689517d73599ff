// Shared helpers for GL tests: a scratch working directory laid out like the
// run directory, the program's own start-up on a chosen context version, and
// pixel and state read-back. Each test process opens at most one window at a
// time (the window layer has exactly one).
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include <glm/glm.hpp>

// Opens the program's one window with a real OpenGL context for a GL test
// (under Xvfb in CI). One context per test process; it lives until exit.
struct TestContextRequest {
    int major = 2;
    int minor = 1;
    bool forwardCompatibleCore = false;  // a 3.2+ core forward-compatible context
    int width = 800;
    int height = 600;
};

// Returns false when no window could be opened (no display).
bool openTestContext(const TestContextRequest& request = TestContextRequest());

namespace gltest {

// The run directory the build lays out (ISLAND_RUN_DIR) and the source root
// (ISLAND_SOURCE_DIR).
std::string runDirectory();
std::string sourceDirectory();

// A fresh directory under the test's working directory that becomes the
// working directory until destruction. Shaders/ links to the run directory's;
// Models/ and Sprites/ are linked from the run directory on request.
class ScratchDirectory {
public:
    // Named after `name` and the running test, so tests run in parallel
    // never share one.
    explicit ScratchDirectory(const std::string& name);
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    // Links Models/ and Sprites/ of the run directory; false when the run
    // directory has none.
    bool linkRunAssets() const;
    // Makes Models/ and Sprites/ real directories holding links to each file
    // of the run directory's, so that single files can be left out.
    bool copyRunAssetLinks() const;
    void removeFile(const std::string& relativePath) const;
    const std::string& path() const { return directory; }

private:
    std::string previous;
    std::string directory;
};

struct ContextRequest {
    int major = 2;
    int minor = 1;
    std::string shaderVersion = "120";
    int width = 800;
    int height = 600;
};

// The 2.1 default and the 3.3 forward-compatible core request.
ContextRequest compatibilityContext();
ContextRequest coreContext();
// "Compatibility21" or "Core33": test-name suffixes of parameterised GL tests.
std::string contextName(const ContextRequest& request);
void PrintTo(const ContextRequest& request, std::ostream* stream);

// Resets the configuration and the driver's globals, applies `request` and
// runs the program's start-up (window, GLEW, fixed state). The working
// directory must hold no config.cfg. False when no window opened.
bool openContext(const ContextRequest& request);
void closeContext();

// Takes every pending GL error; empty when there were none.
std::vector<unsigned int> takeGLErrors();

// RGBA pixels of the current read framebuffer, rows bottom-up.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgba;
    glm::vec3 at(int x, int y) const;  // 0..1 per channel
};
Image readPixels(int x, int y, int width, int height);
// Writes `image` as a binary PPM (top row first) when the environment names a
// folder in ISLAND_TEST_SHOTS; for looking at what a failing test saw.
void saveShot(const Image& image, const std::string& name);

void writeFile(const std::string& path, const std::string& contents);
// An uncompressed true-colour TGA, top row first.
void writeTga(const std::string& path, int width, int height, int bytesPerPixel,
              const std::vector<unsigned char>& pixels);

// A uniform of the bound program or of `program`, read back.
glm::mat4 uniformMatrix(unsigned int program, const char* name);
int uniformInt(unsigned int program, const char* name);
glm::vec3 uniformVec3(unsigned int program, const char* name);

}  // namespace gltest
