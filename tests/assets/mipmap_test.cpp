// The mipmap chain of power-of-two pictures: level for level the same texels
// as GLU's builder, which made every texture before.
#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdint>
#include <vector>

#include "assets/assets_local.h"
#include "assets/gl_context.h"

namespace {

struct Level {
    GLint width = 0, height = 0;
    std::vector<uint8_t> texels;
};

std::vector<Level> readChain(GLuint texture) {
    glBindTexture(GL_TEXTURE_2D, texture);
    std::vector<Level> chain;
    for (GLint n = 0; n < 16; ++n) {
        Level level;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, n, GL_TEXTURE_WIDTH, &level.width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, n, GL_TEXTURE_HEIGHT, &level.height);
        if (level.width == 0) break;
        level.texels.resize(static_cast<size_t>(level.width) * level.height * 3);
        glGetTexImage(GL_TEXTURE_2D, n, GL_RGB, GL_UNSIGNED_BYTE, level.texels.data());
        chain.push_back(level);
    }
    return chain;
}

// Noise with the extremes mixed in, so that every rounding case comes up.
std::vector<uint8_t> picture(int width, int height, uint32_t seed) {
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    for (uint8_t& byte : rgb) {
        seed = seed * 1664525u + 1013904223u;
        const uint32_t r = seed >> 24;
        byte = static_cast<uint8_t>(r < 32 ? 0 : r > 224 ? 255 : r);
    }
    return rgb;
}

class Mipmaps : public GlTest {};

TEST_F(Mipmaps, EveryLevelMatchesTheGluBuilder) {
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    const int sizes[][2] = {{512, 512}, {256, 8}, {8, 256}, {128, 32}, {64, 128}, {2, 2},
                            {1, 1},     {1, 16},  {32, 1},  {4, 2},    {256, 512}};
    uint32_t seed = 1;
    for (const auto& size : sizes) {
        const int width = size[0], height = size[1];
        const std::vector<uint8_t> rgb = picture(width, height, seed++);
        GLuint names[2];
        glGenTextures(2, names);
        glBindTexture(GL_TEXTURE_2D, names[0]);
        ASSERT_EQ(gluBuild2DMipmaps(GL_TEXTURE_2D, 3, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data()), 0);
        glBindTexture(GL_TEXTURE_2D, names[1]);
        ASSERT_EQ(buildPowerOfTwoMipmaps(width, height, rgb.data(), 3), 0);

        const std::vector<Level> expected = readChain(names[0]);
        const std::vector<Level> made = readChain(names[1]);
        ASSERT_EQ(made.size(), expected.size()) << width << " x " << height;
        for (size_t n = 0; n < made.size(); ++n) {
            EXPECT_EQ(made[n].width, expected[n].width) << width << " x " << height << " level " << n;
            EXPECT_EQ(made[n].height, expected[n].height) << width << " x " << height << " level " << n;
            EXPECT_TRUE(made[n].texels == expected[n].texels) << width << " x " << height << " level " << n;
        }
        GLint format = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
        GLint expectedFormat = 0;
        glBindTexture(GL_TEXTURE_2D, names[0]);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &expectedFormat);
        EXPECT_EQ(format, expectedFormat);
        glDeleteTextures(2, names);
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
