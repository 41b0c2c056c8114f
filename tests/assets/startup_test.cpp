// Start-up on a real GL context: the state it leaves, the first-call steps,
// a missing picture, the bitmap font, and a gem on screen.
#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "assets/assets.h"
#include "assets/gl_context.h"
#include "assets/support.h"
#include "game/game.h"
#include "platform/platform.h"

namespace {

// An octahedron of radius 5 model units, corners counter-clockwise from outside.
std::string octahedron() {
    const float p[6][3] = {{5, 0, 0}, {-5, 0, 0}, {0, 5, 0}, {0, -5, 0}, {0, 0, 5}, {0, 0, -5}};
    const int faces[8][3] = {{0, 2, 4}, {2, 1, 4}, {1, 3, 4}, {3, 0, 4}, {2, 0, 5}, {1, 2, 5}, {3, 1, 5}, {0, 3, 5}};
    std::ostringstream out;
    for (const auto& f : faces)
        for (int c : f) out << p[c][0] << ' ' << p[c][1] << ' ' << p[c][2] << '\n';
    return out.str();
}

class StartUp : public GlTest {
protected:
    ScratchDirectory dir;
    MessageCatcher messages;
    void SetUp() override {
        GlTest::SetUp();
        resetGameState();
        firstStartUp = 1;
        writePictureSet();
        for (int kind = 1; kind <= 7; ++kind)
            ASSERT_TRUE(writeText("base/s" + std::to_string(kind) + ".raw", octahedron()));
        for (GemMesh& mesh : gemMeshes) mesh.vertexCount = 0;
    }
    void TearDown() override {
        deleteFontLists();
        GlTest::TearDown();
    }
    static bool on(GLenum capability) { return glIsEnabled(capability) == GL_TRUE; }
    static void expectLight(GLenum light, GLenum what, float a, float b, float c, float d) {
        GLfloat v[4] = {-1, -1, -1, -1};
        glGetLightfv(light, what, v);
        EXPECT_FLOAT_EQ(v[0], a);
        EXPECT_FLOAT_EQ(v[1], b);
        EXPECT_FLOAT_EQ(v[2], c);
        EXPECT_FLOAT_EQ(v[3], d);
    }
};

TEST_F(StartUp, FirstCallLeavesTheFixedStateAndTheOpeningScreen) {
    ui.screen = Screen::Playing;
    game.gameMode = GameMode::Timed;
    ui.modeBButton = ButtonPressed;
    ASSERT_TRUE(initAtStartUp());

    EXPECT_TRUE(on(GL_LIGHTING));
    EXPECT_TRUE(on(GL_COLOR_MATERIAL));
    EXPECT_TRUE(on(GL_TEXTURE_2D));
    EXPECT_TRUE(on(GL_LIGHT1));
    EXPECT_TRUE(on(GL_LIGHT2));
    EXPECT_FALSE(on(GL_LIGHT0));
    EXPECT_FALSE(on(GL_LIGHT3));
    EXPECT_FALSE(on(GL_BLEND));
    EXPECT_FALSE(on(GL_DEPTH_TEST));

    GLint value = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &value);
    EXPECT_EQ(value, GL_LEQUAL);
    glGetIntegerv(GL_BLEND_SRC, &value);
    EXPECT_EQ(value, GL_SRC_ALPHA);
    glGetIntegerv(GL_BLEND_DST, &value);
    EXPECT_EQ(value, GL_ONE);
    expectLight(GL_LIGHT1, GL_AMBIENT, 0.25f, 0.25f, 0.25f, 1);
    expectLight(GL_LIGHT2, GL_DIFFUSE, 0.2f, 0, 0, 1);
    expectLight(GL_LIGHT3, GL_DIFFUSE, 0.7f, 0.7f, 0.7f, 1);
    expectLight(GL_LIGHT1, GL_POSITION, 0, 0, -10, 1);
    expectLight(GL_LIGHT3, GL_POSITION, 0, 0, -5, 1);

    EXPECT_TRUE(glIsList(backgroundList));
    EXPECT_TRUE(glIsList(fontBase) && glIsList(fontBase + 255));
    for (int kind = 1; kind <= 7; ++kind) EXPECT_EQ(gemMeshes[kind].vertexCount, 24) << kind;
    EXPECT_EQ(ui.screen, Screen::Playing) << "no saved game: a levels game at once";
    EXPECT_EQ(game.gameMode, GameMode::Levels);
    EXPECT_EQ(ui.modeAButton, ButtonPressed);
    EXPECT_EQ(ui.modeBButton, ButtonNormal);
    EXPECT_TRUE(std::filesystem::exists("base/hiscores"));
    EXPECT_EQ(firstStartUp, 0);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(StartUp, LaterCallsRemakeOnlyWhatBelongsToTheContext) {
    ASSERT_TRUE(initAtStartUp());
    ui.screen = Screen::Playing;
    game.gameMode = GameMode::Timed;
    ui.modeAButton = ButtonNormal;
    ui.modeBButton = ButtonPressed;
    for (int kind = 1; kind <= 7; ++kind) std::remove(("base/s" + std::to_string(kind) + ".raw").c_str());
    std::remove("base/hiscores");

    deleteFontLists();
    harness::closeTestWindow();  // the window is made again
    openContext();
    ASSERT_TRUE(initAtStartUp());
    EXPECT_TRUE(on(GL_LIGHTING));
    EXPECT_TRUE(glIsTexture(textures[80]));
    EXPECT_TRUE(glIsList(fontBase));
    EXPECT_TRUE(messages.shown.empty()) << "no mesh file was opened";
    EXPECT_FALSE(std::filesystem::exists("base/hiscores"));
    EXPECT_EQ(gemMeshes[3].vertexCount, 24);
    EXPECT_EQ(ui.screen, Screen::Playing);
    EXPECT_EQ(game.gameMode, GameMode::Timed);
    EXPECT_EQ(ui.modeAButton, ButtonNormal);
    EXPECT_EQ(ui.modeBButton, ButtonPressed);
}

TEST_F(StartUp, MissingPictureFailsBeforeAnythingElse) {
    std::remove("base/tex30.bmp");
    ui.screen = Screen::Playing;
    fontBase = 0;
    backgroundList = 0;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(initAtStartUp());
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("base/tex30.bmp"), std::string::npos) << said;
    EXPECT_EQ(firstStartUp, 1);
    EXPECT_EQ(fontBase, 0u);
    EXPECT_EQ(backgroundList, 0u);
    EXPECT_FALSE(on(GL_LIGHTING));
    EXPECT_EQ(gemMeshes[1].vertexCount, 0);
    EXPECT_EQ(ui.screen, Screen::Playing);
}

TEST_F(StartUp, MissingMeshIsReportedAndTheRestGoesOn) {
    std::remove("base/s4.raw");
    ASSERT_TRUE(initAtStartUp());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Can't Open File");
    EXPECT_EQ(messages.shown[0].caption, "Error");
    EXPECT_EQ(gemMeshes[4].vertexCount, 0);
    EXPECT_EQ(gemMeshes[5].vertexCount, 24);
    EXPECT_EQ(ui.screen, Screen::Playing);
}

TEST_F(StartUp, SeedsTheGeneratorFromTheEnvironment) {
    setenv("VORTIQ_SEED", "4242", 1);
    std::srand(1);
    ASSERT_TRUE(initAtStartUp());
    int drawn = std::rand();
    unsetenv("VORTIQ_SEED");
    // The first game started at once and drew its numbers first.
    std::srand(4242);
    for (uint64_t n = 0; n < dice.drawn; ++n) std::rand();
    EXPECT_EQ(drawn, std::rand());
}

TEST_F(StartUp, GemShowsItsTextureUnderTheLights) {
    ASSERT_TRUE(initAtStartUp());
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, 640.0 / 480.0, 0.1, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glColor3f(1, 1, 1);
    glTranslatef(0, 0, -3);
    glRotatef(30, 1, 1, 0);
    glBindTexture(GL_TEXTURE_2D, textures[RedPicture]);
    drawGemMesh(1);

    auto pixels = readPixels();
    int lit = 0;
    for (size_t i = 0; i < pixels.size(); i += 3) {
        if (pixels[i] == 0 && pixels[i + 1] == 0 && pixels[i + 2] == 0) continue;
        ++lit;
        ASSERT_GT(pixels[i], 40) << "pixel " << i / 3;
        ASSERT_EQ(pixels[i + 1], 0) << "pixel " << i / 3;
        ASSERT_EQ(pixels[i + 2], 0) << "pixel " << i / 3;
    }
    // The gem is 1 unit across at 3 units: about a sixth of the view's height.
    EXPECT_GT(lit, 3000);
    EXPECT_LT(lit, 40000);
    const uint8_t* centre = pixel(pixels, 320, 240);
    EXPECT_GT(centre[0], 40);
}

// ---------------------------------------------------------------------------
// The bitmap font

class Text : public StartUp {
protected:
    void SetUp() override {
        StartUp::SetUp();
        ASSERT_TRUE(initAtStartUp());
        glDisable(GL_LIGHTING);
        glColor3f(1, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    // The colour at a pixel, as the font cell whose colour it is, or -1
    // for black and -2 for anything else.
    int cellAt(const std::vector<uint8_t>& pixels, int x, int y) {
        const uint8_t* p = pixel(pixels, x, y);
        if (p[0] == 0 && p[1] == 0 && p[2] == 0) return -1;
        int cell = p[0];
        if (std::abs(p[1] - (255 - cell)) > 2 || std::abs(p[2] - 0x80) > 2) return -2;
        return cell;
    }
};

TEST_F(Text, NumberIsPrintedAtItsPlaceWithGlyphsOverlapping) {
    drawText(103, 437, 0, "%2i", 7);
    auto pixels = readPixels();
    const int space = 0, seven = '7' - 32;
    EXPECT_EQ(cellAt(pixels, 104, 446), space);
    EXPECT_EQ(cellAt(pixels, 110, 438), space);
    EXPECT_EQ(cellAt(pixels, 119, 446), seven);  // the second square covers the first from x 117
    EXPECT_EQ(cellAt(pixels, 133, 452), seven);
    EXPECT_EQ(cellAt(pixels, 101, 446), -1);
    EXPECT_EQ(cellAt(pixels, 138, 446), -1);
    EXPECT_EQ(cellAt(pixels, 120, 435), -1);
    EXPECT_EQ(cellAt(pixels, 120, 458), -1);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
}

TEST_F(Text, WideNumberTakesAGlyphPerDigit) {
    drawText(103, 437, 0, "%2i", 123);
    auto pixels = readPixels();
    EXPECT_EQ(cellAt(pixels, 110, 446), '1' - 32);
    EXPECT_EQ(cellAt(pixels, 124, 446), '2' - 32);
    EXPECT_EQ(cellAt(pixels, 140, 446), '3' - 32);  // the third starts at 131
    EXPECT_EQ(cellAt(pixels, 148, 446), '3' - 32);
    EXPECT_EQ(cellAt(pixels, 152, 446), -1);
}

TEST_F(Text, SecondSetUsesTheLowerHalfOfThePicture) {
    drawText(200, 100, 5, "A");
    drawText(200, 300, 0, "A");
    auto pixels = readPixels();
    EXPECT_EQ(cellAt(pixels, 209, 109), 'A' - 32 + 128);  // cell 161, row 10, column 1
    EXPECT_EQ(cellAt(pixels, 209, 309), 'A' - 32);
}

TEST_F(Text, CharactersWithoutAGlyphAreLeftOut) {
    drawText(300, 200, 0, "A\tB\x80");
    auto pixels = readPixels();
    EXPECT_EQ(cellAt(pixels, 308, 209), 'A' - 32);
    EXPECT_EQ(cellAt(pixels, 322, 209), 'B' - 32);
    EXPECT_EQ(cellAt(pixels, 340, 209), -1);
}

TEST_F(Text, NullFormatChangesNothing) {
    glDisable(GL_DEPTH_TEST);
    drawText(10, 10, 0, nullptr);
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    glEnable(GL_DEPTH_TEST);
    drawText(10, 10, 0, nullptr);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    auto pixels = readPixels();
    EXPECT_EQ(cellAt(pixels, 15, 15), -1);
}

TEST_F(Text, EmptyTextStillLeavesTheDepthTestOnAndTheMatricesAsTheyWere) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 1, 0, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(3, 4, 5);
    GLfloat projection[16], model[16], after[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, model);
    glDisable(GL_DEPTH_TEST);
    drawText(10, 10, 0, "%s", "");
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    drawText(10, 10, 0, "%d", 5);
    glGetFloatv(GL_PROJECTION_MATRIX, after);
    for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(after[i], projection[i]);
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(after[i], model[i]);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
}

}  // namespace
