// The texture table: all 81 pictures made together, or nothing at all.
#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <set>

#include "assets/assets.h"
#include "assets/assets_local.h"
#include "assets/gl_context.h"
#include "assets/support.h"

namespace {

class Textures : public GlTest {
protected:
    ScratchDirectory dir;
    void SetUp() override {
        GlTest::SetUp();
        std::fill(std::begin(textures), std::end(textures), 0xDEADu);
    }
    void TearDown() override {
        pictureLayoutScale = 1.0f;
        GlTest::TearDown();
    }
    // Cleared, in window pixels, with the texture bound.
    static void startFlatDrawing(GLuint name) {
        glClear(GL_COLOR_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, Width, 0, Height, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, name);
    }
    GLuint probeName() {
        GLuint name = 0;
        glGenTextures(1, &name);
        return name;
    }
};

TEST_F(Textures, AllPicturesBecomeMipmappedTexturesWhenShownSmall) {
    writePictureSet();
    pictureLayoutScale = 0.5f;
    testing::internal::CaptureStderr();
    ASSERT_TRUE(createTextures());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

    std::set<uint32_t> names(std::begin(textures), std::end(textures));
    EXPECT_EQ(names.size(), 81u);
    for (int nn : {0, 11, 36, 80}) {
        ASSERT_TRUE(glIsTexture(textures[nn])) << nn;
        glBindTexture(GL_TEXTURE_2D, textures[nn]);
        GLint mag = 0, min = 0, wrap = 0, level3 = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &mag);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &min);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 3, GL_TEXTURE_WIDTH, &level3);
        EXPECT_EQ(mag, GL_LINEAR);
        EXPECT_EQ(min, GL_LINEAR_MIPMAP_NEAREST);
        EXPECT_EQ(wrap, GL_REPEAT);
        EXPECT_EQ(level3, nn == 0 ? 32 : 1) << "the mipmap chain goes down to 1 x 1";
    }
    // Entry NN holds picture NN.
    glBindTexture(GL_TEXTURE_2D, textures[37]);
    uint8_t texel[8 * 8 * 3];
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texel);
    EXPECT_EQ(texel[0], 37 * 3);
    EXPECT_EQ(texel[1], 255 - 37 * 3);
    EXPECT_EQ(texel[2], 0x64);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(Textures, PictureWidthNeedNotBeAMultipleOfFour) {
    writePictureSet();
    // Three columns, red, green and blue, in four equal rows: padded in the
    // file, packed once decoded. Read with the wrong row length, each row
    // would start one pixel further along than the one below it.
    BmpLayout layout;
    layout.width = 3;
    layout.height = 4;
    const uint32_t columns[3] = {0xFF0000, 0x00FF00, 0x0000FF};
    ASSERT_TRUE(writeBytes("base/tex42.bmp", composeBmp(layout, packRows(3, 4, 24, [&](int x, int) { return columns[x]; }))));
    GLint unpack = 0, pack = 0;
    ASSERT_TRUE(createTextures());
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &unpack);
    glGetIntegerv(GL_PACK_ALIGNMENT, &pack);
    EXPECT_EQ(unpack, 4) << "the pixel store is put back";
    EXPECT_EQ(pack, 4) << "the pixel store is put back";

    glBindTexture(GL_TEXTURE_2D, textures[42]);
    GLint width = 0, height = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    ASSERT_GT(width, 1);
    ASSERT_EQ(height, 4);
    std::vector<uint8_t> texels(width * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
    const size_t row = width * 3;

    for (int y = 1; y < height; ++y)
        EXPECT_TRUE(std::equal(texels.begin(), texels.begin() + row, texels.begin() + y * row)) << "row " << y;
    EXPECT_GT(texels[0], 200);             // the left edge is red
    EXPECT_GT(texels[row - 1], 200);       // the right edge is blue
}

TEST_F(Textures, MissingPictureStopsEverything) {
    writePictureSet(5);
    ASSERT_TRUE(writeText("base/tex06.bmp", "not a picture"));  // never read
    GLuint before = probeName();
    testing::internal::CaptureStderr();
    EXPECT_FALSE(createTextures());
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(probeName(), before + 1) << "no texture name was generated";
    for (uint32_t name : textures) EXPECT_EQ(name, 0xDEADu);
    EXPECT_EQ(said.rfind("vortiq: base/tex05.bmp: cannot open", 0), 0u) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
}

TEST_F(Textures, BrokenLastPictureStopsEverything) {
    writePictureSet();
    auto cut = plainPicture(0x123456, 8, 8);
    cut.resize(cut.size() - 1);
    ASSERT_TRUE(writeBytes("base/tex80.bmp", cut));
    GLuint before = probeName();
    testing::internal::CaptureStderr();
    EXPECT_FALSE(createTextures());
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(probeName(), before + 1);
    EXPECT_EQ(textures[0], 0xDEADu);
    EXPECT_EQ(said.rfind("vortiq: base/tex80.bmp: pixel data too short", 0), 0u) << said;
}

// Grey pictures (the masks, the font) are kept as one-byte luminance
// textures; drawn, they must give exactly the pixels of the RGB texture they
// replace, at full size, shrunk through the mipmaps, tinted and blended.
TEST_F(Textures, GreyPictureIsStoredAsLuminanceAndDrawsTheSame) {
    writePictureSet();
    auto grey = [](int x, int y) { return static_cast<uint32_t>((x * 37 + y * 91) % 256) * 0x010101u; };
    BmpLayout layout;
    layout.width = layout.height = 32;
    ASSERT_TRUE(writeBytes("base/tex01.bmp", composeBmp(layout, packRows(32, 32, 24, grey))));
    // The same picture with one pixel a step off grey stays in colour.
    ASSERT_TRUE(writeBytes("base/tex02.bmp", composeBmp(layout, packRows(32, 32, 24, [&](int x, int y) {
                               return x == 5 && y == 9 ? grey(x, y) ^ 0x000100u : grey(x, y);
                           }))));
    pictureLayoutScale = 0.5f;  // the flat pictures get their smaller levels too
    ASSERT_TRUE(createTextures());

    auto internalFormat = [](uint32_t name) {
        glBindTexture(GL_TEXTURE_2D, name);
        GLint format = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
        return format;
    };
    EXPECT_EQ(internalFormat(textures[1]), GL_LUMINANCE);
    EXPECT_NE(internalFormat(textures[2]), GL_LUMINANCE);

    // The RGB texture the luminance one stands for (the file's first row is the bottom one).
    std::vector<uint8_t> rgb(32 * 32 * 3);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            for (int k = 0; k < 3; ++k) rgb[(y * 32 + x) * 3 + k] = static_cast<uint8_t>(grey(x, y));
    std::vector<uint8_t> stored(32 * 32), levels(32 * 32);
    glBindTexture(GL_TEXTURE_2D, textures[1]);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_LUMINANCE, GL_UNSIGNED_BYTE, stored.data());
    for (size_t i = 0; i < levels.size(); ++i) levels[i] = rgb[i * 3];
    EXPECT_EQ(stored, levels);
    GLuint reference = 0;
    glGenTextures(1, &reference);
    glBindTexture(GL_TEXTURE_2D, reference);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    ASSERT_EQ(buildPowerOfTwoMipmaps(32, 32, rgb.data(), 3), 0);

    auto draw = [&](uint32_t name) {
        glClearColor(0.2f, 0.6f, 0.9f, 1.0f);
        startFlatDrawing(name);
        glEnable(GL_BLEND);
        const struct {
            GLenum source, destination;
            int x, size;
        } passes[] = {{GL_DST_COLOR, GL_ZERO, 0, 100}, {GL_SRC_ALPHA, GL_ONE, 120, 32}, {GL_ONE, GL_ZERO, 200, 11}};
        for (const auto& pass : passes) {
            glBlendFunc(pass.source, pass.destination);
            glColor4f(0.9f, 0.55f, 0.3f, 0.7f);
            glBegin(GL_QUADS);
            glTexCoord2f(0, 0), glVertex2i(pass.x, 10);
            glTexCoord2f(1, 0), glVertex2i(pass.x + pass.size, 10);
            glTexCoord2f(1, 1), glVertex2i(pass.x + pass.size, 10 + pass.size);
            glTexCoord2f(0, 1), glVertex2i(pass.x, 10 + pass.size);
            glEnd();
        }
        glDisable(GL_BLEND);
        return readPixels();
    };
    const std::vector<uint8_t> expected = draw(reference);
    const std::vector<uint8_t> drawn = draw(textures[1]);
    ASSERT_EQ(drawn.size(), expected.size());
    size_t differing = 0;
    for (size_t i = 0; i < drawn.size(); ++i) differing += drawn[i] != expected[i];
    EXPECT_EQ(differing, 0u);
    EXPECT_NE(expected, draw(textures[2])) << "the coloured twin draws differently, so the drawing shows texels";
}

// The gems and backdrops keep all their levels. The flat pictures have
// level 0 alone while the layout is shown at its own size or larger, and all
// their levels when it is shown smaller: the set is then out of date until
// it is made again.
TEST_F(Textures, FlatPicturesHaveTheirSmallerLevelsOnlyWhenShownSmaller) {
    writePictureSet();
    const std::set<int> board = {11, 12, 13, 14, 15, 16, 17, 36, 61, 62, 63, 64, 65};
    for (float scale : {1.0f, 2.5f, 0.9f}) {
        pictureLayoutScale = scale;
        ASSERT_TRUE(createTextures());
        EXPECT_FALSE(pictureSetOutdated());
        for (int nn = 0; nn < TextureCount; ++nn) {
            const bool chain = scale < 1.0f || board.count(nn) != 0;
            glBindTexture(GL_TEXTURE_2D, textures[nn]);
            GLint min = 0, level1 = 0;
            glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &min);
            glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &level1);
            EXPECT_EQ(min, chain ? GL_LINEAR_MIPMAP_NEAREST : GL_LINEAR) << nn << " at " << scale;
            EXPECT_EQ(level1 > 0, chain) << nn << " at " << scale;
        }
    }
    pictureLayoutScale = 0.99f;
    EXPECT_FALSE(pictureSetOutdated());
    pictureLayoutScale = 1.0f;
    EXPECT_TRUE(pictureSetOutdated()) << "the smaller levels are no longer needed";
    ASSERT_TRUE(createTextures());
    pictureLayoutScale = 0.7f;
    EXPECT_TRUE(pictureSetOutdated()) << "the smaller levels are needed";
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// Where the GL samples level 0 of a whole chain (magnified, at its own size,
// and shrunk to up to 1.1 texels a pixel, as the frame is), a picture with
// level 0 alone, filtered linearly, gives the very same pixels; shrunk
// further it does not, as the smaller levels then show.
TEST_F(Textures, LevelZeroAloneDrawsAsTheWholeChainWhereTheGlSamplesIt) {
    std::vector<uint8_t> rgb(64 * 64 * 3);
    for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = static_cast<uint8_t>((i * 7919u) >> 3);
    GLuint names[2] = {0, 0};
    glGenTextures(2, names);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (int whole = 0; whole < 2; ++whole) {
        glBindTexture(GL_TEXTURE_2D, names[whole]);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, whole ? GL_LINEAR_MIPMAP_NEAREST : GL_LINEAR);
        if (whole)
            ASSERT_EQ(buildPowerOfTwoMipmaps(64, 64, rgb.data(), 3), 0);
        else
            glTexImage2D(GL_TEXTURE_2D, 0, 3, 64, 64, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    }
    auto draw = [&](GLuint name, int width, int height) {
        startFlatDrawing(name);
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        glBegin(GL_QUADS);
        glTexCoord2f(0, 0), glVertex2f(3.0f, 5.0f);
        glTexCoord2f(1, 0), glVertex2f(3.0f + width, 5.0f);
        glTexCoord2f(1, 1), glVertex2f(3.0f + width, 5.0f + height);
        glTexCoord2f(0, 1), glVertex2f(3.0f, 5.0f + height);
        glEnd();
        return readPixels();
    };
    // 60 of 64 is the frame's 1.07 texels a pixel (512 texels over 480).
    const int sizes[][2] = {{64, 64}, {60, 60}, {80, 60}, {59, 64}, {128, 200}, {300, 97}};
    for (const auto& size : sizes)
        EXPECT_EQ(draw(names[0], size[0], size[1]), draw(names[1], size[0], size[1])) << size[0] << " x " << size[1];
    EXPECT_NE(draw(names[0], 30, 30), draw(names[1], 30, 30)) << "shrunk to half, level 1 shows";
    glDeleteTextures(2, names);
}

}  // namespace
