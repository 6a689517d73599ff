// The scripted flight as island-capture renders it, against pictures of the
// same moments rendered before the frame was reorganised for speed (reused
// shadow map, per-mode shader builds, assets read ahead). Rounding may move a
// channel by 2 levels; anything more is a change in the picture.
#include <cstdlib>

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
    const std::string command = "'" + support::runPath("island-capture") +
                                "' --at 0,3 --size 160x120 --out . --prefix flight > log.txt 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << support::readFile(scratch.path() + "/log.txt");
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
