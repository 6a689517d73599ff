// Textures in a real context on both profiles: an image that goes up straight
// from its file (rows of BGR or BGRA, in either row order, after an image ID)
// holds the texels of its decoded copy, and so does one the decoder must read.
#include <cstring>

#include "assets/program_locations.h"
#include "assets/texture_set.h"
#include "gl_test_support.h"

namespace {

class NoProgram final : public ProgramLocations {
  public:
    GLint getUniformLocation(const char*) const override { return -1; }
    GLint getAttribLocation(const char*) const override { return -1; }
};

// The texture's level 0 as RGBA bytes.
std::vector<unsigned char> texels(GLuint texture, int width, int height) {
    std::vector<unsigned char> bytes(static_cast<size_t>(width) * height * 4);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, bytes.data());
    return bytes;
}

// The decoded image, uploaded as the decoder's bytes.
std::vector<unsigned char> decodedTexels(const char* path) {
    platform::GLFWimage image;
    if (!platform::glfwReadImage(path, &image, platform::GLFW_ORIGIN_UL_BIT)) return {};
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, image.Format, image.Width, image.Height, 0,
                 static_cast<GLenum>(image.Format), GL_UNSIGNED_BYTE, image.Data);
    std::vector<unsigned char> bytes = texels(texture, image.Width, image.Height);
    glDeleteTextures(1, &texture);
    platform::glfwFreeImage(&image);
    return bytes;
}

class TextureUpload : public testing::TestWithParam<support::ContextRequest> {
  protected:
    void SetUp() override { ASSERT_TRUE(support::openContext(GetParam(), 64, 64)); }
    void TearDown() override { support::closeContext(); }
    support::ScratchDirectory scratch;
};

TEST_P(TextureUpload, StoredAndDecodedImagesGiveTheSameTexels) {
    // Width, height, channels, top origin, image ID bytes, read as stored.
    const std::tuple<int, int, int, bool, int, bool> rows[] = {
        {8, 4, 3, false, 0, true}, {8, 4, 3, true, 0, true},  {4, 8, 4, false, 0, true},
        {4, 8, 4, true, 5, true},  {2, 2, 3, false, 3, true}, {6, 4, 3, false, 0, false}};
    for (const auto& [width, height, channels, topOrigin, idBytes, asStored] : rows) {
        std::string bytes =
            support::encodeTga(support::tgaPattern(width, height, channels), topOrigin);
        bytes[0] = static_cast<char>(idBytes);
        bytes.insert(18, std::string(static_cast<size_t>(idBytes), '\x7f'));
        support::writeFile("image.tga", bytes);
        const std::string row = std::to_string(width) + "x" + std::to_string(height) + "x" +
                                std::to_string(channels) + (topOrigin ? " top" : " bottom");

        const platform::ImageRead read = platform::readImageForUpload(
            "image.tga", platform::GLFW_ORIGIN_UL_BIT, platform::kMaxImageDimension);
        EXPECT_EQ(read.stored != nullptr, asStored) << row;
        NoProgram program;
        TextureSet textures;
        textures.reserveTextures(1);
        ASSERT_TRUE(textures.addTexture(program, "firstTexture", "image.tga")) << row;
        GLint storedWidth = 0, storedHeight = 0;
        glBindTexture(GL_TEXTURE_2D, textures.textureIds[0]);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &storedWidth);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &storedHeight);
        EXPECT_EQ(texels(textures.textureIds[0], storedWidth, storedHeight),
                  decodedTexels("image.tga"))
            << row;
        glDeleteTextures(1, textures.textureIds.data());
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(Contexts, TextureUpload, support::kBothContexts, support::contextName);
