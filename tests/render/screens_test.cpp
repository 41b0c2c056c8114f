// Whole frames drawn with made-up flat-coloured pictures, in both window
// sizes: every picture's colour is known, so each element can be found at the
// pixels where it belongs.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "game/game.h"
#include "support/gl_harness.h"

using namespace harness;

namespace {

class Screens : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        full = GetParam();
        width = layoutGeometry(full ? Layout::FullScreen : Layout::Windowed).width;
        height = layoutGeometry(full ? Layout::FullScreen : Layout::Windowed).height;
        std::string why;
        ASSERT_TRUE(openTestWindow(width, height, &why)) << why;
        ASSERT_TRUE(startUp(syntheticDataDir()));
        ui.fullScreenActive = full;
        // The first frame after start-up runs without the depth test (nothing
        // has switched it on yet); the frames the tests look at come after it.
        renderFrame();
        // Gems rest in their cells.
        game.fallOffset = 0.0f;
    }
    void TearDown() override { closeTestWindow(); }

    // Text-space point to window pixels.
    int tx(double x) const { return static_cast<int>(x * width / 640.0); }
    int ty(double y) const { return static_cast<int>(y * height / 480.0); }

    void expectColour(const Image& image, int x, int y, int texture, const char* what) {
        const Rgb got = image.at(x, y);
        const Rgb want = syntheticColour(texture);
        EXPECT_LE(maxChannelDifference(got, want), 3)
            << what << " at (" << x << ", " << y << "): got " << got.r << "," << got.g << "," << got.b
            << " want picture " << texture;
    }
    // A point in each layout: (x, y) in the window, (fullX, fullY) full screen.
    struct InBoth {
        int x, y, fullX, fullY, texture;
        const char* what;
    };
    void expectColours(const Image& image, std::initializer_list<InBoth> points) {
        for (const InBoth& p : points) expectColour(image, full ? p.fullX : p.x, full ? p.fullY : p.y, p.texture, p.what);
    }
    // The middle of glyph k of a text printed at (x, y) in text space.
    void expectGlyph(const Image& image, int x, int y, int k, bool lit, const char* what) {
        const Rgb got = image.at(tx(x + 14 * k + 9.5), ty(y + 9.5));
        if (lit)
            EXPECT_GE(brightness(got), 3 * 250) << what << " glyph " << k;
        else
            EXPECT_LT(brightness(got), 3 * 250) << what << " glyph " << k;
    }

    bool full = false;
    int width = 0, height = 0;
};

TEST_P(Screens, ContinuePromptOverFrameSidePanelAndBackdrop) {
    ui.screen = Screen::ContinuePrompt;
    const Image image = renderFrame();
    keepShot(image, full ? "synthetic-prompt-800" : "synthetic-prompt-640");
    expectColour(image, 415, 370, 52, "prompt panel");
    expectColour(image, 415, 271, 52, "panel between the buttons");
    expectColour(image, 347, 271, 32, "continue button");
    expectColour(image, 484, 271, 34, "new game button");
    expectColour(image, 8, height / 2, 2, "frame, left edge");
    expectColour(image, static_cast<int>(width * 0.98), height / 2, 2, "frame, right edge");
    expectColour(image, static_cast<int>(width * 0.93), static_cast<int>(height * 0.3), 36, "backdrop in the opening");
    expectColours(image, {{115, 350, 140, 440, 29, "levels button, running"},
                          {115, 315, 140, 395, 24, "timed button"},
                          {110, 400, 140, 500, 7, "new game button"},
                          {125, 200, 158, 250, 49, "hint picture"},
                          {110, 80, 135, 100, 18, "options button"},
                          {110, 40, 135, 45, 21, "quit button"}});
}

TEST_P(Screens, HighlightedButtonsShowTheirSecondPicture) {
    ui.screen = Screen::ConfirmNewGame;
    ui.cancelLit = 1;
    ui.quitButton = ButtonHighlighted;
    ui.hintLit = 1;
    Image image = renderFrame();
    expectColour(image, 415, 370, 30, "new game panel");
    expectColour(image, 347, 271, 32, "yes");
    expectColour(image, 484, 271, 35, "no, lit");
    expectColour(image, full ? 135 : 110, full ? 45 : 40, 22, "quit button, lit");
    expectColour(image, full ? 158 : 125, full ? 250 : 200, 50, "hint picture, lit");

    ui.screen = Screen::ConfirmQuit;
    ui.cancelLit = 0;
    ui.confirmLit = 1;
    image = renderFrame();
    expectColour(image, 415, 370, 3, "quit panel");
    expectColour(image, 347, 271, 33, "yes, lit");
    expectColour(image, 484, 271, 34, "no");
}

TEST_P(Screens, OptionsRowsFollowTheSettings) {
    ui.screen = Screen::Options;
    settings = Settings{0, 1, 0};
    Image image = renderFrame();
    expectColour(image, 275, 300, 4, "options panel");
    expectColour(image, 414, 181, 5, "back");
    const int rows[5] = {385, 350, 315, 280, 245};
    const int off[5] = {79, 40, 43, 44, 71};
    for (int i = 0; i < 5; ++i) expectColour(image, 415, rows[i] + 16, off[i], "option row");

    settings = Settings{1, 0, 1};
    ui.highScoresLit = 1;
    ui.helpLit = 1;
    ui.confirmLit = 1;
    image = renderFrame();
    const int on[5] = {80, 41, 42, 45, 72};
    for (int i = 0; i < 5; ++i) expectColour(image, 415, rows[i] + 16, on[i], "option row");
    expectColour(image, 414, 181, 39, "back, lit");
}

TEST_P(Screens, HighScoresPrintBothTablesInTheirColumns) {
    ui.screen = Screen::HighScores;
    std::strcpy(scoreBook.highScores[0].entries[0].name, "ANNA$$$$$");
    scoreBook.highScores[0].entries[0].score = 4200;
    std::strcpy(scoreBook.highScores[1].entries[1].name, "BO$$$$$$$");
    scoreBook.highScores[1].entries[1].score = 7;
    const Image image = renderFrame();
    const int nameX = full ? 240 : 290, scoreX = full ? 415 : 460, timedTop = full ? 195 : 190;
    expectColours(image, {{565, 450, 640, 560, 78, "high-score panel, top right"},
                          {240, 50, 240, 70, 78, "high-score panel, bottom left"},
                          {404, 71, 444, 96, 5, "back"}});
    for (int k = 0; k < 9; ++k) expectGlyph(image, nameX, 343, k, true, "levels name 0");
    // Scores end where a five-digit one ends.
    expectGlyph(image, scoreX, 343, 0, false, "levels score 0, right-aligned");
    for (int k = 1; k < 5; ++k) expectGlyph(image, scoreX, 343, k, true, "levels score 0");
    expectGlyph(image, nameX, 323, 0, false, "empty levels name 1");
    expectGlyph(image, scoreX, 323, 3, false, "levels score 1, a space");
    expectGlyph(image, scoreX, 323, 4, true, "levels score 1, its 0");
    expectGlyph(image, nameX, timedTop - 20, 8, true, "timed name 1");
    expectGlyph(image, scoreX, timedTop - 20, 3, false, "timed score 1, a space");
    expectGlyph(image, scoreX, timedTop - 20, 4, true, "timed score 1, its 7");
}

TEST_P(Screens, NameEntryPrintsTheNameInItsField) {
    ui.screen = Screen::NameEntry;
    std::strcpy(scoreBook.entryName, "AB$$$$$$$");
    const Image image = renderFrame();
    expectColour(image, 280, 430, 38, "name panel");
    const int x = full ? 270 : 345, y = full ? 195 : 245;
    for (int k = 0; k < 9; ++k) expectGlyph(image, x, y, k, true, "typed name");
    expectGlyph(image, x, y, 9, false, "after the name");
}

// Pixels where the gems of a full board differ from the empty board.
TEST_P(Screens, FullBoardShowsEachGemInsideItsCell) {
    ui.screen = Screen::Playing;
    const Image empty = renderFrame();
    fillBoard();
    const Image board = renderFrame();
    for (int row = FirstFieldRow; row <= LastFieldRow; ++row) {
        for (int column = 0; column < BoardColumns; ++column) {
            double x, y;
            cellCentre(column, row, &x, &y);
            EXPECT_GT(maxChannelDifference(board.at(x, y), empty.at(x, y)), 30)
                << "no gem seen in cell " << column << ", " << row;
            // The corner between four cells lies outside every gem.
            double cx, cy;
            projectBoardPoint(column - 2.5f, 4.65f - row + 0.5f, -11.0f, &cx, &cy);
            if (column > 0 && row > FirstFieldRow) {
                EXPECT_LE(maxChannelDifference(board.at(cx, cy), empty.at(cx, cy)), 3)
                    << "a gem reaches the corner of cell " << column << ", " << row;
            }
        }
    }
    // The field fits in the frame's opening.
    double left, top, right, bottom;
    projectBoardPoint(-2.5f, 4.15f, -11.0f, &left, &top);
    projectBoardPoint(5.5f, -3.85f, -11.0f, &right, &bottom);
    EXPECT_GT(left, OpeningLeft * width - 1);
    EXPECT_LT(right, OpeningRight * width + 1);
    EXPECT_LT(top, (1 - OpeningTop) * height + 1);
    EXPECT_GT(bottom, (1 - OpeningBottom) * height - 1);
    keepShot(board, full ? "synthetic-board-800" : "synthetic-board-640");
}

TEST_P(Screens, GemsAreHiddenOffThePlayingScreenAndWhilePaused) {
    ui.screen = Screen::Options;
    const Image empty = renderFrame();
    fillBoard();
    double x, y;
    cellCentre(7, 8, &x, &y);  // right of the options panel
    Image image = renderFrame();
    EXPECT_LE(maxChannelDifference(image.at(x, y), empty.at(x, y)), 3);
    ui.screen = Screen::Playing;
    ui.paused = 1;
    image = renderFrame();
    EXPECT_LE(maxChannelDifference(image.at(x, y), empty.at(x, y)), 3);
    expectColour(image, 428, 282, 75, "pause picture");
    ui.paused = 0;
    image = renderFrame();
    EXPECT_GT(maxChannelDifference(image.at(x, y), empty.at(x, y)), 30);
}

TEST_P(Screens, GemUnderTheMouseIsLitMoreBrightly) {
    fillBoard();
    double x, y;
    cellCentre(3, 4, &x, &y);
    const Image plain = renderFrame();
    ui.cursorColumn = 3;
    ui.cursorRow = 4;
    const Image lit = renderFrame();
    // Most of the gem's faces get brighter; none gets darker.
    int brighter = 0, darker = 0;
    for (int dy = -10; dy <= 10; ++dy) {
        for (int dx = -10; dx <= 10; ++dx) {
            const int change = brightness(lit.at(x + dx, y + dy)) - brightness(plain.at(x + dx, y + dy));
            brighter += change > 9;
            darker += change < -3;
        }
    }
    EXPECT_GT(brighter, 21 * 21 / 3);
    EXPECT_EQ(darker, 0);
    // The neighbours stay as they were.
    double nx, ny;
    cellCentre(4, 4, &nx, &ny);
    EXPECT_LE(maxChannelDifference(lit.at(nx, ny), plain.at(nx, ny)), 3);
    // Not while a removal runs.
    turn.removing = 1;
    removalScale() = 1.0f;
    const Image removing = renderFrame();
    EXPECT_LE(maxChannelDifference(removing.at(x, y), plain.at(x, y)), 3);
}

TEST_P(Screens, ShrinkingGemIsDrawnSmaller) {
    fillBoard();
    double x, y, edgeX, edgeY;
    cellCentre(4, 5, &x, &y);
    projectBoardPoint(4 - 2 + 0.3f, 4.65f - 5, -11.0f, &edgeX, &edgeY);
    const Image before = renderFrame();
    turn.removing = 1;
    turn.removalList[1] = RemovalEntry{1, 4, 5, 0.3f};
    const Image shrunk = renderFrame();
    game.board[5][4] = 0;
    turn.removing = 0;
    turn.removalList[1].used = 0;
    const Image gone = renderFrame();
    EXPECT_GT(maxChannelDifference(shrunk.at(x, y), gone.at(x, y)), 30) << "the centre still shows the gem";
    EXPECT_LE(maxChannelDifference(shrunk.at(edgeX, edgeY), gone.at(edgeX, edgeY)), 3) << "its edge has gone";
    EXPECT_GT(maxChannelDifference(before.at(edgeX, edgeY), gone.at(edgeX, edgeY)), 30);
}

TEST_P(Screens, ScoreCounterAndLevelNumberPrintWhereTheyBelong) {
    scene.shownScore = 1234.0f;
    game.level = 9;
    const Image image = renderFrame();
    for (int k = 0; k < 4; ++k) expectGlyph(image, 96, 437, k, true, "score counter");
    expectGlyph(image, 96, 437, -1, false, "before the counter");
    expectGlyph(image, 96, 437, 4, false, "after the counter");
    expectGlyph(image, 580, 4, 0, true, "level number");
    expectGlyph(image, 580, 4, 1, true, "level number");
    expectGlyph(image, 580, 4, 2, false, "after the level number");

    scene.shownScore = 99.5f;  // between two ranges: nothing
    const Image none = renderFrame();
    for (int k = 0; k < 4; ++k) expectGlyph(none, 96, 437, k, false, "no counter");
}

TEST_P(Screens, BannerPartWayUpIsAddedOverTheBoard) {
    game.boardEvent = BoardEvent::Excellent;
    scene.bannerProgress = 0.5f;  // at y 275, fully visible
    const Image image = renderFrame();
    EXPECT_FLOAT_EQ(scene.bannerProgress, 0.5f);
    const Rgb behind = syntheticColour(36), banner = syntheticColour(60);
    const Rgb want{std::min(255, behind.r + banner.r), std::min(255, behind.g + banner.g),
                   std::min(255, behind.b + banner.b)};
    EXPECT_LE(maxChannelDifference(image.at(300, 307), want), 4);
    EXPECT_LE(maxChannelDifference(image.at(300, 345), behind), 3) << "above the banner";
    EXPECT_LE(maxChannelDifference(image.at(300, 268), behind), 3) << "below the banner";

    game.gameOverPending = 1;  // the no-moves picture wins
    const Image noMoves = renderFrame();
    const Rgb picture = syntheticColour(74);
    const Rgb wantNoMoves{std::min(255, behind.r + picture.r), std::min(255, behind.g + picture.g),
                          std::min(255, behind.b + picture.b)};
    EXPECT_LE(maxChannelDifference(noMoves.at(300, 307), wantNoMoves), 4);
}

TEST_P(Screens, ScorePopupDriftsAndFadesWarmOverADarkRim) {
    const Image before = renderFrame();
    scene.scorePopups[0] = ScorePopup{1, 300, 200, 50, 0.25f};
    const Image image = renderFrame();
    // At a quarter of its life: 10 right, 20 up, alpha 0.75. Four rim passes
    // keep 1 - 0.8 x 0.75 of what is behind each, then (1, 0.9, 0.45) x 0.75 is added.
    const double kept = std::pow(1.0 - 0.8 * 0.75, 4);
    for (int k = 0; k < 2; ++k) {
        const int x = tx(310 + 14 * k + 9.5), y = ty(220 + 9.5);
        const Rgb b = before.at(x, y), a = image.at(x, y);
        EXPECT_NEAR(a.r, std::min(255.0, b.r * kept + 191), 4) << "glyph " << k;
        EXPECT_NEAR(a.g, std::min(255.0, b.g * kept + 172), 4) << "glyph " << k;
        EXPECT_NEAR(a.b, std::min(255.0, b.b * kept + 86), 4) << "glyph " << k;
    }
    EXPECT_EQ(scene.scorePopups[0].active, 1);

    scene.scorePopups[0].progress = 1.0f;  // run out: freed, not drawn
    const Image after = renderFrame();
    EXPECT_EQ(scene.scorePopups[0].active, 0);
    EXPECT_LE(maxChannelDifference(after.at(tx(319.5), ty(229.5)), before.at(tx(319.5), ty(229.5))), 3);
}

TEST_P(Screens, BarLengthFollowsTheLevelProgress) {
    ui.screen = Screen::ContinuePrompt;  // keeps the board still
    game.level = 0;
    game.score = 250;  // half of level 0: 195.75 bar pixels
    for (int frame = 0; frame < 60; ++frame) renderFrame(10.0f);
    EXPECT_NEAR(game.barLength, 195.75f, 5.0f);
    const Image image = renderFrame(10.0f);
    const double scale = width / 800.0;
    const double end = (306 + game.barLength) * scale;
    const int y = static_cast<int>(17.5 * height / 600.0);
    expectColour(image, static_cast<int>(306 * scale) + 3, y, 37, "start of the bar");
    expectColour(image, static_cast<int>(end) - 3, y, 37, "end of the bar");
    EXPECT_GT(maxChannelDifference(image.at(static_cast<int>(end) + 3, y), syntheticColour(37)), 20);
}

// Whatever the screen, a frame leaves the matrix stacks as it found them, no
// GL error, lighting and blending off and the colour opaque white.
TEST_P(Screens, EveryScreenLeavesTheGlStateClean) {
    fillBoard();
    game.boardEvent = BoardEvent::Excellent;
    scene.bannerProgress = 0.2f;
    scene.scorePopups[3] = ScorePopup{1, 200, 200, 30, 0.5f};
    const Screen screens[] = {Screen::Playing,        Screen::ConfirmNewGame, Screen::Options, Screen::ConfirmQuit,
                              Screen::ContinuePrompt, Screen::HighScores,     Screen::NameEntry};
    for (Screen screen : screens) {
        ui.screen = screen;
        for (int frame = 0; frame < 3; ++frame) renderFrame(1.0f);
        GLint projectionDepth = 0, modelviewDepth = 0;
        glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &projectionDepth);
        glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &modelviewDepth);
        EXPECT_EQ(projectionDepth, 1) << static_cast<int>(screen);
        EXPECT_EQ(modelviewDepth, 1) << static_cast<int>(screen);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << static_cast<int>(screen);
        EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
        EXPECT_FALSE(glIsEnabled(GL_LIGHT3));
        EXPECT_FALSE(glIsEnabled(GL_BLEND));
        GLfloat colour[4];
        glGetFloatv(GL_CURRENT_COLOR, colour);
        EXPECT_FLOAT_EQ(colour[0] + colour[1] + colour[2] + colour[3], 4.0f);
        GLdouble modelview[16];
        glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
        for (int i = 0; i < 16; ++i) EXPECT_NEAR(modelview[i], i % 5 == 0 ? 1.0 : 0.0, 1e-9);
    }
}

INSTANTIATE_TEST_SUITE_P(BothLayouts, Screens, ::testing::Values(false, true), LayoutName());

}  // namespace
