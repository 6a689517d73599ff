// The scripted flight as island-capture renders it, against committed pictures
// of the same moments: the frame's shortcuts (a reused shadow map, per-mode
// shader builds, assets read ahead) must not change what is drawn. Rounding
// may move a channel by 2 levels; anything more is a change in the picture.
// For shader sets other than ours the shortcuts must change no pixel at all
// against the plain way of drawing. And a scene that did not load whole is a
// failure, with no pictures; a file that is no file is never waited on.
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <set>
#include <tuple>

#include "test_support.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#pragma GCC diagnostic ignored "-Wshadow"
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb/stb_image.h>
#pragma GCC diagnostic pop

namespace {

namespace fs = std::filesystem;

// Bounded, so that a capture that waits for good fails the test (status 124).
std::string captureCommand(const std::string& times, const std::string& size = "160x120",
                           const std::string& prefix = "flight", const std::string& options = "") {
    return "timeout 300 '" + support::runPath("island-capture") + "' --at " + times + " --size " +
           size + " --out . --prefix " + prefix + options + " > " + prefix + ".txt 2>&1";
}

std::vector<unsigned char> readPng(const std::string& path, int& width, int& height) {
    int channels = 0;
    unsigned char* pixels = stbi_load(path.c_str(), &width, &height, &channels, 3);
    if (pixels == nullptr) return {};
    std::vector<unsigned char> rgb(pixels, pixels + 3 * width * height);
    stbi_image_free(pixels);
    return rgb;
}

}  // namespace

TEST(FlightCapture, FramesMatchThePicturesOfTheSameMomentsWithinTwoLevels) {
    support::ScratchDirectory scratch(true);  // the run directory's assets, default config
    ASSERT_EQ(std::system(captureCommand("0,3").c_str()), 0) << support::readFile("flight.txt");
    for (const std::string moment : {"0s", "3s"}) {
        int width = 0, height = 0, referenceWidth = 0, referenceHeight = 0;
        const auto frame = readPng(scratch.path() + "/flight-" + moment + ".png", width, height);
        const auto reference =
            readPng(std::string(ISLAND_REFERENCE_PICTURES) + "/flight-" + moment + ".png",
                    referenceWidth, referenceHeight);
        ASSERT_TRUE(!frame.empty() && width == referenceWidth && height == referenceHeight)
            << moment << ": no frame, or not of the reference's size";
        int worst = 0;
        for (size_t i = 0; i < frame.size(); ++i)
            worst = std::max(worst, std::abs(frame[i] - reference[i]));
        EXPECT_LE(worst, 2) << "at " << moment;
    }
}

TEST(FlightCapture, ASceneWithoutItsModelsFailsNamingThemAndWritesNothing) {
    support::ScratchDirectory scratch(true);
    std::filesystem::remove_all("Models");
    EXPECT_NE(std::system(captureCommand("0").c_str()), 0);
    EXPECT_NE(support::readFile("flight.txt")
                  .find("island-capture: the scene did not load whole; missing or unreadable: "
                        "Models/water_plane.obj, Models/light_sphere.obj, Models/tree2.obj, "
                        "Models/island_large.obj, Models/skybox_new.obj\n"),
              std::string::npos)
        << support::readFile("flight.txt");
    EXPECT_FALSE(std::filesystem::exists("flight-0s.png"));
}

// A named pipe, a device or a directory where a data file belongs is named,
// with what it is, and passed over as a missing file would be: models and
// images leave the scene incomplete (which the capture refuses), a shader
// ends start-up, config.cfg leaves the defaults. Nothing waits for a writer.
TEST(FlightCapture, ANonFileInPlaceOfADataFileIsNamedAndNeverWaitedFor) {
    const auto pipe = [](const char* path) { fs::remove(path), mkfifo(path, 0600); };
    const auto directory = [](const char* path) { fs::remove(path), fs::create_directory(path); };
    const auto device = [](const char* path) {
        fs::remove(path), fs::create_symlink("/dev/zero", path);
    };
    const struct {
        std::function<void()> replace;
        int status;
        std::vector<std::string> lines;
    } rows[] = {
        {[&] {
             pipe("Models/tree2.obj"), directory("Models/island_large.obj");
             device("Models/skybox_new.obj"), pipe("Sprites/cliff_tex.tga");
             directory("Sprites/tree2.tga"), device("Sprites/sea_NRM.tga");
         },
         1,
         {"could not find file: Models/tree2.obj  - a named pipe, not a regular file\n",
          "could not find file: Models/island_large.obj  - a directory, not a regular file\n",
          "could not find file: Models/skybox_new.obj  - a device, not a regular file\n",
          "tex file not found: Sprites/cliff_tex.tga is a named pipe, not a regular file\n",
          "tex file not found: Sprites/tree2.tga is a directory, not a regular file\n",
          "tex file not found: Sprites/sea_NRM.tga is a device, not a regular file\n"}},
        {[&] { pipe("Shaders/120/base.frag"); },
         1,
         {"Fragment shader file Shaders/120/base.frag is a named pipe, not a regular file.\n",
          "Could not compile base shader program.\n"}},
        {[&] { directory("Shaders/120/minimal.vert"); },
         1,
         {"Vertex shader file Shaders/120/minimal.vert is a directory, not a regular file.\n",
          "Could not compile minimal shader program.\n"}},
        {[&] { pipe("config.cfg"); },
         0,
         {"config.cfg is a named pipe, not a regular file; the defaults are used\n"}}};
    for (const auto& row : rows) {
        support::ScratchDirectory scratch(true);
        fs::remove("Shaders");  // a link to the run directory's: a copy to change
        fs::copy(support::runPath("Shaders"), "Shaders", fs::copy_options::recursive);
        row.replace();
        EXPECT_EQ(WEXITSTATUS(std::system(captureCommand("0", "32x24").c_str())), row.status);
        const std::string log = support::readFile("flight.txt");
        for (const std::string& line : row.lines)
            EXPECT_NE(log.find(line), std::string::npos) << line << "in:\n" << log;
    }
}

namespace {

// Shader sets of our own, written from the interface alone (see
// tests/e2e/shader_sets): "runtime" branches on the uniform, sways the
// casters with the clock in every pass, puts a comment before #version and,
// in 3.30, places another attribute at location 0; "permode" opts into the
// builds per mode and reads the normal map in the reflection pass; "still"
// never reads the clock, so its shadow map is kept, but its shadow pass reads
// a sampler whose unit is set only after the first frame's shadow pass, and
// in 3.30 it tints by gl_PrimitiveID, so its draws must not go in parts.
using SetAndContext = std::tuple<std::string, support::ContextRequest>;

class PlainDrawing : public testing::TestWithParam<SetAndContext> {};

std::string setName(const testing::TestParamInfo<SetAndContext>& info) {
    return std::get<0>(info.param) + std::get<1>(info.param).name;
}

// A config.cfg that asks for `context` and reads the shaders of `shaderVersion`.
void writeConfig(const support::ContextRequest& context, const std::string& shaderVersion) {
    support::writeFile("config.cfg", "glMajorVersion=" + std::to_string(context.major) +
                                         "\nglMinorVersion=" + std::to_string(context.minor) +
                                         "\nshaderversion=" + shaderVersion + "\n");
}

}  // namespace

// The first frame and two with the light still (the map may be kept), the
// camera moving and the clock on. Small frames keep it cheap.
TEST_P(PlainDrawing, TheShortcutsChangeNoPixelOfTheFlight) {
    const auto& [set, context] = GetParam();
    support::ScratchDirectory scratch(true);
    fs::remove("Shaders");
    for (const std::string version : {"120", "330"}) {
        fs::create_directories("Shaders/" + version);
        for (const std::string file : {"minimal.vert", "minimal.frag"})
            fs::copy_file(support::runPath("Shaders/" + version + "/" + file),
                          "Shaders/" + version + "/" + file);
        for (const std::string file : {"base.vert", "base.frag"})
            fs::copy_file(std::string(ISLAND_SHADER_SETS) + "/" + set + "/" + version + "/" + file,
                          "Shaders/" + version + "/" + file);
    }
    writeConfig(context, context.shaderVersion);
    for (const std::string way : {"fast", "plain"}) {
        const std::string options = way == "plain" ? " --plain" : "";
        EXPECT_EQ(std::system(captureCommand("0,0.25,0.5", "96x72", way, options).c_str()), 0)
            << support::readFile(way + ".txt");
        const std::string log = support::readFile(way + ".txt");
        EXPECT_EQ(log.find("failed"), std::string::npos) << log;  // compile or link
    }
    for (const std::string moment : {"0s", "0.25s", "0.5s"}) {
        int width = 0, height = 0, plainWidth = 0, plainHeight = 0;
        const auto fast = readPng("fast-" + moment + ".png", width, height);
        const auto plain = readPng("plain-" + moment + ".png", plainWidth, plainHeight);
        ASSERT_TRUE(!fast.empty() && fast.size() == plain.size()) << moment;
        int different = 0;
        std::set<int> colours;  // the set draws a scene, not a blank
        for (size_t i = 0; i < fast.size(); i += 3) {
            different +=
                fast[i] != plain[i] || fast[i + 1] != plain[i + 1] || fast[i + 2] != plain[i + 2];
            colours.insert(fast[i] << 16 | fast[i + 1] << 8 | fast[i + 2]);
        }
        EXPECT_EQ(different, 0) << "pixels that differ at " << moment;
        EXPECT_GT(colours.size(), 100u) << moment;
    }
}

INSTANTIATE_TEST_SUITE_P(Sets, PlainDrawing,
                         testing::Combine(testing::Values("runtime", "permode", "still"),
                                          support::kBothContexts),
                         setName);

namespace {

// The example sets of Shaders/examples, as the build writes them into the
// run directory, in each dialect a desktop context reads.
class ExampleSets : public testing::TestWithParam<SetAndContext> {};

}  // namespace

// A set written from docs/shaders.md alone must build and draw a scene on
// both desktop contexts with no OpenGL error: one small frame each.
TEST_P(ExampleSets, DrawTheSceneWithoutAnOpenGLError) {
    const auto& [example, context] = GetParam();
    support::ScratchDirectory scratch(true);
    writeConfig(context, "examples/" + example + "/" + context.shaderVersion);
    EXPECT_EQ(std::system(captureCommand("0", "96x72", "example").c_str()), 0)
        << support::readFile("example.txt");
    const std::string log = support::readFile("example.txt");
    EXPECT_EQ(log.find("failed"), std::string::npos) << log;  // compile or link
    EXPECT_EQ(log.find("GL: "), std::string::npos) << log;
    int width = 0, height = 0;
    const auto frame = readPng("example-0s.png", width, height);
    std::set<int> colours;
    for (size_t i = 0; i + 2 < frame.size(); i += 3)
        colours.insert(frame[i] << 16 | frame[i + 1] << 8 | frame[i + 2]);
    EXPECT_GT(colours.size(), 100u) << "a scene, not a blank";
}

INSTANTIATE_TEST_SUITE_P(Examples, ExampleSets,
                         testing::Combine(testing::Values("lit", "normals", "fog"),
                                          support::kBothContexts),
                         setName);
