// The TGA reader: every variant decodes top row first, sizes grow to powers
// of two, the format follows the bytes per pixel, and damaged, garbage or
// oversized files fail cleanly (0 × 0, null data) without a large allocation.
#include "platform/image_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/gl.h"
#include "scratch_path.h"
#include "tga_writer.h"

namespace {

using platform::GLFWimage;

std::string writeTga(const std::string& name, const std::vector<unsigned char>& bytes) {
    const std::string path = scratch::path(name);
    tga_test::writeFile(path, bytes);
    return path;
}

void expectFailed(int result, const GLFWimage& image) {
    EXPECT_EQ(result, 0);
    EXPECT_EQ(image.Width, 0);
    EXPECT_EQ(image.Height, 0);
    EXPECT_EQ(image.BytesPerPixel, 0);
    EXPECT_EQ(image.Data, nullptr);
}

}  // namespace

TEST(ImageReader, EveryVariantArrivesTopRowFirst) {
    struct Variant {
        int channels;
        bool rle, topOrigin;
        int format;
    };
    const Variant variants[] = {
        {3, false, false, GL_RGB},      {3, false, true, GL_RGB},       {3, true, false, GL_RGB},
        {4, false, false, GL_RGBA},     {4, true, true, GL_RGBA},       {1, false, false, GL_LUMINANCE},
        {1, true, false, GL_LUMINANCE},
    };
    for (const Variant& variant : variants) {
        SCOPED_TRACE(std::to_string(variant.channels) + (variant.rle ? " rle" : "") +
                     (variant.topOrigin ? " top" : " bottom"));
        tga_test::Image source = tga_test::pattern(8, 4, variant.channels);
        // Repeated pixels give the RLE encoder runs as well as raw packets.
        for (int c = 0; c < variant.channels; ++c) source.pixels[variant.channels + c] = source.pixels[c];
        const std::string path =
            writeTga("variant.tga", tga_test::encode(source, variant.rle, variant.topOrigin));
        GLFWimage image;
        ASSERT_EQ(platform::glfwReadImage(path.c_str(), &image, platform::GLFW_ORIGIN_UL_BIT), 1);
        EXPECT_EQ(image.Width, 8);
        EXPECT_EQ(image.Height, 4);
        EXPECT_EQ(image.BytesPerPixel, variant.channels);
        EXPECT_EQ(image.Format, variant.format);
        EXPECT_EQ(std::vector<unsigned char>(image.Data, image.Data + source.pixels.size()),
                  source.pixels);
        platform::glfwFreeImage(&image);
        EXPECT_EQ(image.Data, nullptr);
    }
}

TEST(ImageReader, WithoutTheUpperLeftFlagTheBottomRowComesFirst) {
    const tga_test::Image source = tga_test::pattern(2, 3, 3);
    const std::string path = writeTga("origin.tga", tga_test::encode(source, false, true));
    GLFWimage image;
    ASSERT_EQ(platform::glfwReadImage(path.c_str(), &image, platform::GLFW_NO_RESCALE_BIT), 1);
    EXPECT_EQ(std::vector<unsigned char>(image.Data, image.Data + 6),
              std::vector<unsigned char>(source.pixels.begin() + 12, source.pixels.end()));
    platform::glfwFreeImage(&image);
}

TEST(ImageReader, SizesAreResampledUpToPowersOfTwo) {
    tga_test::Image source{300, 200, 3, std::vector<unsigned char>(300 * 200 * 3)};
    for (size_t i = 0; i < source.pixels.size(); i += 3) {
        source.pixels[i] = 200;
        source.pixels[i + 1] = 100;
        source.pixels[i + 2] = 50;
    }
    const std::string path = writeTga("npot.tga", tga_test::encode(source, true, false));
    GLFWimage image;
    ASSERT_EQ(platform::glfwReadImage(path.c_str(), &image, platform::GLFW_ORIGIN_UL_BIT), 1);
    EXPECT_EQ(image.Width, 512);
    EXPECT_EQ(image.Height, 256);
    // A uniform picture stays uniform when resampled.
    const unsigned char* last = image.Data + (512 * 256 - 1) * 3;
    EXPECT_NEAR(image.Data[0], 200, 1);
    EXPECT_NEAR(last[1], 100, 1);
    EXPECT_NEAR(last[2], 50, 1);
    platform::glfwFreeImage(&image);

    ASSERT_EQ(platform::glfwReadImage(path.c_str(), &image,
                                      platform::GLFW_ORIGIN_UL_BIT | platform::GLFW_NO_RESCALE_BIT),
              1);
    EXPECT_EQ(image.Width, 300);
    EXPECT_EQ(image.Height, 200);
    platform::glfwFreeImage(&image);
}

TEST(ImageReader, UnreadableFilesFailWithAnEmptyImage) {
    GLFWimage image;
    image.Width = 5;
    expectFailed(platform::glfwReadImage("no/such/file.tga", &image, 2), image);
    expectFailed(platform::glfwReadImage(writeTga("empty.tga", {}).c_str(), &image, 2), image);
    expectFailed(platform::glfwReadImage(
                     writeTga("garbage.tga", std::vector<unsigned char>(100, 0xa5)).c_str(), &image, 2),
                 image);
    std::vector<unsigned char> header = tga_test::encode(tga_test::pattern(4, 4, 3), false, true);
    header.resize(10);
    expectFailed(platform::glfwReadImage(writeTga("short.tga", header).c_str(), &image, 2), image);
}

TEST(ImageReader, TruncatedPixelDataNeverReadsPastTheFile) {
    for (bool rle : {false, true}) {
        std::vector<unsigned char> bytes = tga_test::encode(tga_test::pattern(16, 16, 4), rle, false);
        for (size_t length : {size_t{18}, size_t{19}, size_t{40}, bytes.size() - 1}) {
            std::vector<unsigned char> truncated(bytes.begin(), bytes.begin() + static_cast<long>(length));
            GLFWimage image;
            // Whether the rest reads as zeros or the read fails, the result
            // is whole: either 16 × 16 data or a clean failure.
            if (platform::glfwReadImage(writeTga("truncated.tga", truncated).c_str(), &image, 2) == 1) {
                EXPECT_EQ(image.Width, 16);
                EXPECT_NE(image.Data, nullptr);
            } else {
                expectFailed(0, image);
            }
            platform::glfwFreeImage(&image);
        }
    }
}

// This header, kept from fuzzing, claims 515 × 2 uncompressed pixels of 32
// bits and the file holds none: they read as zeros, whatever the memory the
// decoder gets held before.
TEST(ImageReader, PixelsMissingFromATruncatedFileAreZero) {
    const std::vector<unsigned char> header = {0, 0, 2, 1, 4, 0, 0, 0, 0, 0x27, 0x25, 0x0d,
                                               3, 2, 2, 0, 32, 0};
    const size_t byteCount = 515 * 2 * 4;
    unsigned char* volatile stale = static_cast<unsigned char*>(std::malloc(byteCount));
    std::memset(stale, 0xa5, byteCount);
    std::free(stale);
    GLFWimage image;
    ASSERT_EQ(platform::glfwReadImage(writeTga("header_only.tga", header).c_str(), &image,
                                      platform::GLFW_ORIGIN_UL_BIT | platform::GLFW_NO_RESCALE_BIT),
              1);
    EXPECT_EQ(std::count(image.Data, image.Data + byteCount, 0), static_cast<long>(byteCount));
    platform::glfwFreeImage(&image);
}

TEST(ImageReader, OversizedImagesFailBeforeAllocating) {
    // A header that claims 16384 × 16384 pixels in a 100-byte file.
    std::vector<unsigned char> bytes = tga_test::encode(tga_test::pattern(1, 1, 4), true, false);
    bytes[12] = 0x00;
    bytes[13] = 0x40;
    bytes[14] = 0x00;
    bytes[15] = 0x40;
    bytes.resize(100, 0);
    GLFWimage image;
    expectFailed(platform::glfwReadImage(writeTga("claims.tga", bytes).c_str(), &image, 2), image);

    // Wider than the largest texture once rounded up.
    tga_test::Image wide{16385, 1, 1, std::vector<unsigned char>(16385, 9)};
    expectFailed(platform::glfwReadImage(writeTga("wide.tga", tga_test::encode(wide, true, true)).c_str(),
                                         &image, 2),
                 image);
    const std::string small = writeTga("small.tga", tga_test::encode(tga_test::pattern(100, 10, 3), false, true));
    expectFailed(platform::readImageWithinSize(small.c_str(), &image, 2, 64), image);
    EXPECT_EQ(platform::readImageWithinSize(small.c_str(), &image, 2, 128), 1);
    platform::glfwFreeImage(&image);
}
