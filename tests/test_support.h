// What every test shares, with the headers nearly all of them use: a scratch
// working directory, files, scripted input, TGA images and the kinds of
// context the GL and end-to-end tests ask for. It needs nothing above
// platform/, so a test links no more of the program than its own layer.
#pragma once

#include <gtest/gtest.h>

#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <memory>
#include <string>
#include <vector>

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

// Top row first, 1 (grey), 3 (RGB) or 4 (RGBA) channels.
struct TgaImage {
    int width = 0, height = 0, channels = 3;
    std::vector<unsigned char> pixels;
};
TgaImage tgaPattern(int width, int height, int channels);      // each byte from its place
std::string encodeTga(const TgaImage& image, bool topOrigin);  // uncompressed

// The contexts the GL and end-to-end tests ask for: the 2.1 default request
// and the 3.3 forward-compatible core one.
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

}  // namespace support
