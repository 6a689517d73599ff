// The scripted flight as island-capture renders it, against committed pictures
// of the same moments: the frame's shortcuts (a reused shadow map, per-mode
// shader builds, assets read ahead) must not change what is drawn. Rounding
// may move a channel by 2 levels; anything more is a change in the picture.
// And a scene that did not load whole is a failure, with no pictures.
#include <cstdlib>
#include <filesystem>

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

std::string captureCommand(const std::string& times) {
    return "'" + support::runPath("island-capture") + "' --at " + times +
           " --size 160x120 --out . --prefix flight > log.txt 2>&1";
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
    ASSERT_EQ(std::system(captureCommand("0,3").c_str()), 0) << support::readFile(scratch.path() + "/log.txt");
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
    EXPECT_NE(support::readFile("log.txt").find(
                  "island-capture: the scene did not load whole; missing or unreadable: "
                  "Models/water_plane.obj, Models/light_sphere.obj, Models/tree2.obj, "
                  "Models/island_large.obj, Models/skybox_new.obj\n"),
              std::string::npos)
        << support::readFile("log.txt");
    EXPECT_FALSE(std::filesystem::exists("flight-0s.png"));
}
