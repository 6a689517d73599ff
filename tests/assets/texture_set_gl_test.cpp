// Texture loading in a real context: sizes and formats read back with
// glGetTexLevelParameteriv, texels with glGetTexImage, the sampling
// parameters, and the empty texture that an unreadable or oversized file
// leaves behind.
#include "assets/texture_set.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "gl_window.h"
#include "render/shader_program.h"
#include "tga_writer.h"

namespace {

std::string samplerShaders(bool coreProfile) {
    const std::string basePath = scratch::path(coreProfile ? "core_samplers" : "samplers");
    if (coreProfile) {
        std::ofstream(basePath + ".vert") << "#version 330 core\nin vec3 in_Position;\n"
                                             "void main() { gl_Position = vec4(in_Position, 1.0); }\n";
        std::ofstream(basePath + ".frag")
            << "#version 330 core\nuniform sampler2D firstTexture;\nuniform sampler2D normalmap;\n"
               "out vec4 colour;\nvoid main() { colour = texture(firstTexture, vec2(0.5)) + "
               "texture(normalmap, vec2(0.5)); }\n";
    } else {
        std::ofstream(basePath + ".vert") << "#version 120\nattribute vec3 in_Position;\n"
                                             "void main() { gl_Position = vec4(in_Position, 1.0); }\n";
        std::ofstream(basePath + ".frag")
            << "#version 120\nuniform sampler2D firstTexture;\nuniform sampler2D normalmap;\n"
               "void main() { gl_FragColor = texture2D(firstTexture, vec2(0.5)) + "
               "texture2D(normalmap, vec2(0.5)); }\n";
    }
    return basePath;
}

std::string writeTga(const std::string& name, const tga_test::Image& image, bool rle, bool topOrigin) {
    const std::string path = scratch::path(name);
    tga_test::writeFile(path, tga_test::encode(image, rle, topOrigin));
    return path;
}

GLint levelParameter(GLenum parameter) {
    GLint value = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, parameter, &value);
    return value;
}

GLint textureParameter(GLenum parameter) {
    GLint value = -1;
    glGetTexParameteriv(GL_TEXTURE_2D, parameter, &value);
    return value;
}

}  // namespace

TEST(TextureSetGl, SizesAndFormatsFollowTheImage) {
    gl_test::Window window;
    ASSERT_TRUE(window.isOpen());
    ShaderProgram program(samplerShaders(false), 1);
    ASSERT_TRUE(program.isLoaded());
    struct Case {
        const char* name;
        tga_test::Image image;
        bool rle, topOrigin;
        GLint width, height, format;
    };
    const Case cases[] = {
        {"rgb_npot.tga", tga_test::pattern(300, 200, 3), false, false, 512, 256, GL_RGB},
        {"rgba.tga", tga_test::pattern(16, 8, 4), false, true, 16, 8, GL_RGBA},
        {"rgb_rle.tga", tga_test::pattern(3, 5, 3), true, false, 4, 8, GL_RGB},
        {"grey.tga", tga_test::pattern(8, 8, 1), true, true, 8, 8, GL_LUMINANCE},
    };
    TextureSet textures;
    textures.reserveTextures(4);
    for (const Case& c : cases)
        textures.addTexture(program, "firstTexture", writeTga(c.name, c.image, c.rle, c.topOrigin).c_str());
    ASSERT_EQ(textures.textureCount, 4);
    for (int slot = 0; slot < 4; ++slot) {
        SCOPED_TRACE(cases[slot].name);
        glBindTexture(GL_TEXTURE_2D, textures.textureIds[static_cast<size_t>(slot)]);
        EXPECT_EQ(levelParameter(GL_TEXTURE_WIDTH), cases[slot].width);
        EXPECT_EQ(levelParameter(GL_TEXTURE_HEIGHT), cases[slot].height);
        EXPECT_EQ(levelParameter(GL_TEXTURE_INTERNAL_FORMAT), cases[slot].format);
        EXPECT_EQ(textureParameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR);
        EXPECT_EQ(textureParameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
        EXPECT_EQ(textureParameter(GL_TEXTURE_WRAP_S), GL_REPEAT);
        EXPECT_EQ(textureParameter(GL_TEXTURE_WRAP_T), GL_REPEAT);
        EXPECT_EQ(textures.samplerLocations[static_cast<size_t>(slot)],
                  program.getUniformLocation("firstTexture"));
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(TextureSetGl, BottomOriginFileArrivesTopRowFirst) {
    gl_test::Window window;
    ASSERT_TRUE(window.isOpen());
    ShaderProgram program(samplerShaders(false), 1);
    // Two pixels wide: rows of 6 bytes, which only packed rows upload right.
    const tga_test::Image source = tga_test::pattern(2, 4, 3);
    TextureSet textures;
    textures.reserveTextures(1);
    textures.addTexture(program, "firstTexture", writeTga("bottom.tga", source, true, false).c_str());
    std::vector<unsigned char> texels(source.pixels.size());
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
    EXPECT_EQ(texels, source.pixels);
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 4);  // restored after the upload
}

TEST(TextureSetGl, MissingNormalMapLeavesAnEmptySecondTexture) {
    gl_test::Window window;
    ASSERT_TRUE(window.isOpen());
    ShaderProgram program(samplerShaders(false), 1);
    TextureSet textures;
    textures.reserveTextures(2);
    testing::internal::CaptureStderr();
    textures.addTexture(program, "firstTexture",
                        writeTga("colour.tga", tga_test::pattern(4, 4, 3), false, true).c_str());
    textures.addTexture(program, "normalmap", "no/such/normal_map.tga");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "tex file not found\n");
    EXPECT_EQ(textures.textureCount, 2);
    EXPECT_NE(textures.samplerLocations[1], -1);
    ASSERT_NE(textures.textureIds[1], 0u);
    glBindTexture(GL_TEXTURE_2D, textures.textureIds[1]);
    EXPECT_EQ(levelParameter(GL_TEXTURE_WIDTH), 0);
    EXPECT_EQ(textureParameter(GL_TEXTURE_WRAP_T), GL_REPEAT);
    // The set never grows past what was reserved.
    textures.addTexture(program, "normalmap", "no/such/third.tga");
    EXPECT_EQ(textures.textureCount, 2);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(TextureSetGl, ImageTooLargeForTheContextFailsLikeAMissingFile) {
    gl_test::Window window;
    ASSERT_TRUE(window.isOpen());
    ShaderProgram program(samplerShaders(false), 1);
    GLint maxTextureSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxTextureSize);
    // One row of maxTextureSize + 1 grey pixels: a few hundred bytes of RLE.
    tga_test::Image wide{maxTextureSize + 1, 1, 1,
                         std::vector<unsigned char>(static_cast<size_t>(maxTextureSize) + 1, 77)};
    TextureSet textures;
    textures.reserveTextures(1);
    testing::internal::CaptureStderr();
    textures.addTexture(program, "firstTexture", writeTga("too_wide.tga", wide, true, true).c_str());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "tex file not found\n");
    EXPECT_EQ(levelParameter(GL_TEXTURE_WIDTH), 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(TextureSetGl, GreyImageOnACoreContextIsRedWithASwizzle) {
    gl_test::Window window(true);
    ASSERT_TRUE(window.isOpen());
    ShaderProgram program(samplerShaders(true), 1);
    ASSERT_TRUE(program.isLoaded());
    const tga_test::Image source = tga_test::pattern(4, 2, 1);
    TextureSet textures;
    textures.reserveTextures(1);
    textures.addTexture(program, "firstTexture", writeTga("grey_core.tga", source, false, true).c_str());
    EXPECT_EQ(levelParameter(GL_TEXTURE_INTERNAL_FORMAT), GL_RED);
    GLint swizzle[4] = {0, 0, 0, 0};
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_RGBA, swizzle);
    EXPECT_EQ(swizzle[0], GL_RED);
    EXPECT_EQ(swizzle[1], GL_RED);
    EXPECT_EQ(swizzle[2], GL_RED);
    EXPECT_EQ(swizzle[3], GL_ONE);
    std::vector<unsigned char> texels(source.pixels.size());
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RED, GL_UNSIGNED_BYTE, texels.data());
    EXPECT_EQ(texels, source.pixels);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
