// GL test helpers. The start-up is the program's own, so tests see the same
// fixed state (depth test, culling, blending, the core profile's vertex
// array) as the demo.
#include "gl_test_context.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "app/app_config.h"
#include "app/globals.h"
#include "app/startup.h"
#include "platform/gl.h"
#include "platform/window.h"

bool openTestContext(const TestContextRequest& request) {
    using namespace platform;
    static bool open = false;
    if (open) return true;
    if (!glfwInit()) return false;
    glfwOpenWindowHint(GLFW_OPENGL_VERSION_MAJOR, request.major);
    glfwOpenWindowHint(GLFW_OPENGL_VERSION_MINOR, request.minor);
    if (request.forwardCompatibleCore) {
        glfwOpenWindowHint(GLFW_OPENGL_FORWARD_COMPAT, 1);
        glfwOpenWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    }
    if (glfwOpenWindow(request.width, request.height, 0, 0, 0, 0, 24, 8, GLFW_WINDOW) != 1) {
        return false;
    }
    glewExperimental = GL_TRUE;
    glewInit();
    while (glGetError() != GL_NO_ERROR) {
    }
    if (isCoreProfileContext()) {
        GLuint vertexArray = 0;
        glGenVertexArrays(1, &vertexArray);
        glBindVertexArray(vertexArray);
    }
    std::atexit([] { glfwTerminate(); });
    open = true;
    return true;
}

namespace fs = std::filesystem;

namespace gltest {

namespace {

std::string environmentOr(const char* name, const char* fallback) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : fallback;
}

}  // namespace

std::string runDirectory() { return environmentOr("ISLAND_RUN_DIR", "run"); }
std::string sourceDirectory() { return environmentOr("ISLAND_SOURCE_DIR", "."); }

ScratchDirectory::ScratchDirectory(const std::string& name)
    : previous(fs::current_path().string()) {
    std::string folder = "scratch-" + name;
    if (const auto* test = ::testing::UnitTest::GetInstance()->current_test_info()) {
        folder += std::string("-") + test->test_suite_name() + "-" + test->name();
    }
    for (char& c : folder) {
        if (c == '/') c = '_';
    }
    const fs::path scratch = fs::current_path() / folder;
    fs::remove_all(scratch);
    fs::create_directories(scratch);
    // The build copies the source shaders into the run directory on every build.
    fs::create_directory_symlink(fs::absolute(runDirectory()) / "Shaders", scratch / "Shaders");
    directory = scratch.string();
    fs::current_path(scratch);
}

ScratchDirectory::~ScratchDirectory() {
    std::error_code ignored;
    fs::current_path(previous, ignored);
}

bool ScratchDirectory::linkRunAssets() const {
    const fs::path run = fs::absolute(runDirectory());
    if (!fs::is_directory(run / "Models") || !fs::is_directory(run / "Sprites")) return false;
    fs::create_directory_symlink(run / "Models", fs::path(directory) / "Models");
    fs::create_directory_symlink(run / "Sprites", fs::path(directory) / "Sprites");
    return true;
}

bool ScratchDirectory::copyRunAssetLinks() const {
    const fs::path run = fs::absolute(runDirectory());
    for (const char* folder : {"Models", "Sprites"}) {
        if (!fs::is_directory(run / folder)) return false;
        fs::create_directories(fs::path(directory) / folder);
        for (const auto& entry : fs::directory_iterator(run / folder)) {
            fs::create_symlink(entry.path(),
                               fs::path(directory) / folder / entry.path().filename());
        }
    }
    return true;
}

void ScratchDirectory::removeFile(const std::string& relativePath) const {
    fs::remove(fs::path(directory) / relativePath);
}

ContextRequest compatibilityContext() { return ContextRequest{}; }

ContextRequest coreContext() {
    ContextRequest request;
    request.major = 3;
    request.minor = 3;
    request.shaderVersion = "330";
    return request;
}

std::string contextName(const ContextRequest& request) {
    return (request.major >= 3 ? "Core" : "Compatibility") + std::to_string(request.major) +
           std::to_string(request.minor);
}

void PrintTo(const ContextRequest& request, std::ostream* stream) {
    *stream << contextName(request);
}

bool openContext(const ContextRequest& request) {
    appConfig = AppConfig{};
    appConfig.glMajorVersion = request.major;
    appConfig.glMinorVersion = request.minor;
    appConfig.shaderversion = request.shaderVersion;
    appConfig.window_width = request.width;
    appConfig.window_height = request.height;
    appConfig.forwardcontextflag = true;
    resetGlobals();
    return startUp();
}

void closeContext() { platform::glfwTerminate(); }

std::vector<unsigned int> takeGLErrors() {
    std::vector<unsigned int> errors;
    for (GLenum error = glGetError(); error != GL_NO_ERROR && errors.size() < 16;
         error = glGetError()) {
        errors.push_back(error);
    }
    return errors;
}

glm::vec3 Image::at(int x, int y) const {
    const unsigned char* pixel = &rgba[(static_cast<size_t>(y) * width + x) * 4];
    return glm::vec3(pixel[0], pixel[1], pixel[2]) / 255.0f;
}

Image readPixels(int x, int y, int width, int height) {
    Image image;
    image.width = width;
    image.height = height;
    image.rgba.resize(static_cast<size_t>(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, image.rgba.data());
    return image;
}

void saveShot(const Image& image, const std::string& name) {
    const char* folder = std::getenv("ISLAND_TEST_SHOTS");
    if (folder == nullptr || *folder == '\0') return;
    std::string data = "P6\n" + std::to_string(image.width) + " " +
                       std::to_string(image.height) + "\n255\n";
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            const unsigned char* pixel = &image.rgba[(static_cast<size_t>(y) * image.width + x) * 4];
            data.append(reinterpret_cast<const char*>(pixel), 3);
        }
    }
    writeFile(std::string(folder) + "/" + name + ".ppm", data);
}

void writeFile(const std::string& path, const std::string& contents) {
    const fs::path parent = fs::path(path).parent_path();
    if (!parent.empty()) fs::create_directories(parent);
    std::ofstream file(path, std::ios::binary);
    file << contents;
}

void writeTga(const std::string& path, int width, int height, int bytesPerPixel,
              const std::vector<unsigned char>& pixels) {
    unsigned char header[18] = {};
    header[2] = 2;  // uncompressed true colour
    header[12] = static_cast<unsigned char>(width & 0xFF);
    header[13] = static_cast<unsigned char>(width >> 8);
    header[14] = static_cast<unsigned char>(height & 0xFF);
    header[15] = static_cast<unsigned char>(height >> 8);
    header[16] = static_cast<unsigned char>(bytesPerPixel * 8);
    header[17] = 0x20 | (bytesPerPixel == 4 ? 8 : 0);  // top row first
    std::string data(reinterpret_cast<const char*>(header), sizeof header);
    for (size_t i = 0; i + bytesPerPixel <= pixels.size(); i += bytesPerPixel) {
        // TGA stores blue, green, red (, alpha).
        data.push_back(static_cast<char>(pixels[i + 2]));
        data.push_back(static_cast<char>(pixels[i + 1]));
        data.push_back(static_cast<char>(pixels[i]));
        if (bytesPerPixel == 4) data.push_back(static_cast<char>(pixels[i + 3]));
    }
    writeFile(path, data);
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

glm::vec3 uniformVec3(unsigned int program, const char* name) {
    glm::vec3 value(0.0f);
    glGetUniformfv(program, glGetUniformLocation(program, name), &value[0]);
    return value;
}

}  // namespace gltest
