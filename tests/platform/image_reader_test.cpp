// The TGA reader: top row first (bottom row first without the flag), sizes
// grown to powers of two, the format of the bytes per pixel, and damaged,
// garbage or oversized files failing cleanly (0 x 0, no data) without a large
// allocation or a read past the file.
#include "platform/image_reader.h"

#include <cstdlib>
#include <cstring>

#include "platform/gl.h"
#include "test_support.h"

namespace {

// "" when reading `bytes` failed cleanly; else the size, format and pixels.
std::string read(const std::string& bytes, int flags = platform::GLFW_ORIGIN_UL_BIT,
                 int largest = platform::kMaxImageDimension) {
    support::writeFile("image.tga", bytes);
    platform::GLFWimage image;
    image.Width = 5;
    if (platform::readImageWithinSize("image.tga", &image, flags, largest) == 0)
        return image.Width || image.Height || image.BytesPerPixel || image.Data ? "unclean" : "";
    const std::string text = std::to_string(image.Width) + "x" + std::to_string(image.Height) +
                             " " + std::to_string(image.Format) + " " +
                             std::string(reinterpret_cast<char*>(image.Data),
                                         image.Width * image.Height * image.BytesPerPixel);
    platform::glfwFreeImage(&image);
    return image.Data ? "not freed" : text;
}

}  // namespace

TEST(ImageReader, EveryVariantArrivesInTheRowOrderAsked) {
    support::ScratchDirectory scratch;
    // Channels, top origin, the upper-left flag, the format.
    const std::tuple<int, bool, bool, int> rows[] = {
        {3, false, true, GL_RGB},  {3, true, true, GL_RGB},        {4, false, true, GL_RGBA},
        {4, true, false, GL_RGBA}, {1, false, true, GL_LUMINANCE}, {1, true, false, GL_LUMINANCE}};
    for (const auto& [channels, topOrigin, upperLeft, format] : rows) {
        const support::TgaImage image = support::tgaPattern(8, 4, channels);
        const std::string pixels(image.pixels.begin(), image.pixels.end());
        std::string flipped;
        for (size_t at = pixels.size(), row = 8u * channels; at > 0; at -= row)
            flipped += pixels.substr(at - row, row);
        const int flags =
            (upperLeft ? platform::GLFW_ORIGIN_UL_BIT : 0) | platform::GLFW_NO_RESCALE_BIT;
        EXPECT_EQ(read(support::encodeTga(image, topOrigin), flags),
                  "8x4 " + std::to_string(format) + " " + (upperLeft ? pixels : flipped))
            << channels << (topOrigin ? " top" : " bottom") << (upperLeft ? "" : ", no flag");
    }
}

TEST(ImageReader, SizesGrowToPowersOfTwoWithinTheLargestAllowed) {
    support::ScratchDirectory scratch;
    const support::TgaImage uniform{300, 200, 3, std::vector<unsigned char>(300 * 200 * 3, 120)};
    const std::string npot = support::encodeTga(uniform, false), head = "512x256 6407 ";
    const std::string resampled = read(npot);
    EXPECT_EQ(resampled.substr(0, head.size()), head);
    ASSERT_EQ(resampled.size(), head.size() + 512 * 256 * 3);
    for (size_t at = head.size(); at < resampled.size(); ++at)  // a uniform picture stays uniform
        ASSERT_NEAR(static_cast<unsigned char>(resampled[at]), 120, 1) << at;
    EXPECT_EQ(read(npot, platform::GLFW_ORIGIN_UL_BIT | platform::GLFW_NO_RESCALE_BIT).substr(0, 8),
              "300x200 ");
    const std::string small = support::encodeTga(support::tgaPattern(100, 10, 3), true);
    EXPECT_EQ(read(small, platform::GLFW_ORIGIN_UL_BIT, 64), "");  // larger than the context takes
    EXPECT_EQ(read(small, platform::GLFW_ORIGIN_UL_BIT, 128).substr(0, 7), "128x16 ");
}

TEST(ImageReader, BadFilesFailCleanly) {
    support::ScratchDirectory scratch;
    std::string claims = support::encodeTga(support::tgaPattern(1, 1, 4), false);
    claims[13] = claims[15] = 0x40;  // 16384 x 16384 pixels in a 100-byte file
    claims.resize(100);
    const std::string small = support::encodeTga(support::tgaPattern(100, 10, 3), true);
    const std::string wide = support::encodeTga(support::tgaPattern(16385, 1, 1), true);
    const std::string truncated = support::encodeTga(support::tgaPattern(16, 16, 4), false);
    for (const std::string& bytes :
         {std::string(), std::string(100, '\xa5'), small.substr(0, 10), claims, wide})
        EXPECT_EQ(read(bytes), "");
    platform::GLFWimage missing;
    EXPECT_EQ(platform::glfwReadImage("no/such/file.tga", &missing, 2), 0);
    for (size_t length : {size_t{18}, size_t{19}, size_t{40}, truncated.size() - 1}) {
        const std::string result = read(truncated.substr(0, length));  // zeros or a clean failure
        EXPECT_TRUE(result.empty() || result.substr(0, 6) == "16x16 ") << length;
    }
}

// This header, kept from fuzzing, claims 515 x 2 uncompressed pixels of 32
// bits and the file holds none: they read as zeros, whatever the memory the
// decoder is given held before.
TEST(ImageReader, PixelsMissingFromATruncatedFileAreZero) {
    support::ScratchDirectory scratch;
    const size_t byteCount = 515 * 2 * 4;
    unsigned char* volatile stale = static_cast<unsigned char*>(std::malloc(byteCount));
    std::memset(stale, 0xa5, byteCount);
    std::free(stale);
    const std::string result = read(std::string("\0\0\2\1\4\0\0\0\0\x27\x25\x0d\3\2\2\0\x20\0", 18),
                                    platform::GLFW_ORIGIN_UL_BIT | platform::GLFW_NO_RESCALE_BIT);
    EXPECT_EQ(result, "515x2 " + std::to_string(GL_RGBA) + " " + std::string(byteCount, '\0'));
}
