// The start-up is the program's own, so GL tests see the same fixed state
// (depth test, culling, blending, the core profile's vertex array) as the demo.
#include "test_support.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/startup.h"
#include "platform/window.h"
#include "scene/scene_files.h"
#include "scene/scene_placements.h"
#include "state/app_config.h"
#include "state/globals.h"

namespace fs = std::filesystem;

namespace support {

std::string runPath(const std::string& relative) {
    const char* run = std::getenv("ISLAND_RUN_DIR");
    return (fs::absolute(run != nullptr ? run : "run") / relative).string();
}

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void writeFile(const std::string& path, const std::string& contents) {
    if (fs::path(path).has_parent_path()) fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << contents;
}

ScratchDirectory::ScratchDirectory(bool withRunAssets) : previous(fs::current_path()) {
    std::string pattern = (fs::temp_directory_path() / "island-test-XXXXXX").string();
    directory = mkdtemp(pattern.data()) != nullptr ? pattern : "";
    fs::create_directory_symlink(runPath("Shaders"), fs::path(directory) / "Shaders");
    for (const char* folder : {"Models", "Sprites"}) {
        fs::create_directory(fs::path(directory) / folder);
        if (!withRunAssets) continue;
        for (const auto& file : fs::directory_iterator(runPath(folder)))
            fs::create_symlink(file, fs::path(directory) / folder / file.path().filename());
    }
    fs::current_path(directory);
}

ScratchDirectory::~ScratchDirectory() {
    std::error_code ignored;
    fs::current_path(previous, ignored);
    fs::permissions(directory, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(directory, ignored);
}

glm::mat4 placementOf(const std::string& model) {
    const glm::mat4 one(1.0f);
    const glm::vec3 x(1, 0, 0), y(0, 1, 0), z(0, 0, 1);
    if (model == kWaterFiles.model)
        return glm::translate(
            glm::scale(glm::rotate(one, glm::radians(90.0f), y), glm::vec3(kWaterScale)),
            y * (kWaterHeight / kWaterScale));
    if (model == kTreeFiles.model)
        return glm::translate(glm::rotate(glm::scale(one, glm::vec3(5)), glm::radians(110.0f), x),
                              glm::vec3(0, -3.8f, 2));
    if (model != kSkyboxFiles.model) return one;
    const glm::mat4 m = glm::scale(glm::translate(one, glm::vec3(5, 0.2f, -15)), glm::vec3(500));
    return glm::rotate(glm::rotate(m, glm::radians(180.0f), y), glm::radians(270.0f), z);
}

TgaImage tgaPattern(int width, int height, int channels) {
    TgaImage image{width, height, channels, {}};
    for (int i = 0; i < width * height * channels; ++i) {
        const int c = i % channels, x = i / channels % width, y = i / channels / width;
        image.pixels.push_back(static_cast<unsigned char>(x * 7 + y * 31 + c * 60));
    }
    return image;
}

std::string encodeTga(const TgaImage& image, bool topOrigin) {
    const int n = image.channels, w = image.width, h = image.height;
    std::string bytes(18, '\0');
    bytes[2] = static_cast<char>(n == 1 ? 3 : 2);  // uncompressed grey or true colour
    bytes[12] = static_cast<char>(w & 0xff), bytes[13] = static_cast<char>(w >> 8);
    bytes[14] = static_cast<char>(h & 0xff), bytes[15] = static_cast<char>(h >> 8);
    bytes[16] = static_cast<char>(n * 8);
    bytes[17] = static_cast<char>((n == 4 ? 8 : 0) | (topOrigin ? 0x20 : 0));
    for (int row = 0; row < h; ++row)  // rows from the origin's side, blue green red (alpha)
        for (int x = 0; x < w; ++x) {
            const size_t at = (static_cast<size_t>(topOrigin ? row : h - 1 - row) * w + x) * n;
            std::string pixel(image.pixels.begin() + at, image.pixels.begin() + at + n);
            if (n >= 3) std::swap(pixel[0], pixel[2]);
            bytes += pixel;
        }
    return bytes;
}

testing::AssertionResult openContext(const ContextRequest& request, int width, int height) {
    appConfig = AppConfig{};
    resetGlobals();
    bool open = false;
    testing::internal::CaptureStderr();
    printedBy([&] {  // the context report
        open = startUp([&](AppConfig& config) {
            config.glMajorVersion = request.major;
            config.glMinorVersion = request.minor;
            config.shaderversion = request.shaderVersion;
            config.window_width = width;
            config.window_height = height;
        });
    });
    const std::string errors = testing::internal::GetCapturedStderr();
    takeGLErrors();
    if (open) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "no " << request.name << " context: " << errors
                                       << "GLFW: " << platform::windowSystemError();
}

// The window goes, the connection to the X server stays: a process that left
// the server with no client, even for a moment, could find it resetting (as
// an Xvfb started without -noreset does when its last client leaves) and get
// no connection for its next context.
void closeContext() { platform::glfwCloseWindow(); }

std::vector<unsigned int> takeGLErrors() {
    std::vector<unsigned int> errors;
    for (GLenum e = glGetError(); e != GL_NO_ERROR && errors.size() < 16; e = glGetError())
        errors.push_back(e);
    return errors;
}

glm::vec3 Image::at(int x, int y) const {
    const unsigned char* pixel = &rgba[(static_cast<size_t>(y) * width + x) * 4];
    return glm::vec3(pixel[0], pixel[1], pixel[2]) / 255.0f;
}

Image readPixels(int width, int height) {
    Image image{width, height, std::vector<unsigned char>(static_cast<size_t>(width) * height * 4)};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, image.rgba.data());
    return image;
}

glm::mat4 uniformMatrix(unsigned int program, const char* name) {
    glm::mat4 value(0.0f);
    glGetUniformfv(program, glGetUniformLocation(program, name), &value[0][0]);
    return value;
}

int uniformInt(unsigned int program, const char* name) {
    GLint value = 0;
    glGetUniformiv(program, glGetUniformLocation(program, name), &value);
    return value;
}

int integerState(unsigned int name) {
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

}  // namespace support
