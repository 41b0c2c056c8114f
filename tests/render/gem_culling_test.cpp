// The gems' back faces are culled. Their meshes are closed and wound
// counter-clockwise seen from outside, so the board must look as when every
// face is drawn: the only pixels allowed to differ are single ones on a
// gem's outline, where a back face drawn last won an equal-depth tie or
// showed through a seam between two front faces.
#include <gtest/gtest.h>

#include <string>

#include "game/game.h"
#include "support/gl_harness.h"
#include "render/render_local.h"

using namespace harness;

namespace {

class GemCulling : public ::testing::TestWithParam<bool> {
protected:
    // The board screen in the layout of the parameter, with the real pictures and meshes.
    void SetUp() override {
        const bool full = GetParam();
        const std::string data = realDataDir();
        if (data.empty()) GTEST_SKIP() << "the game data has not been generated yet (build the game_data target)";
        std::string why;
        const ScreenGeometry& g = layoutGeometry(full ? Layout::FullScreen : Layout::Windowed);
        ASSERT_TRUE(openTestWindow(g.width, g.height, &why)) << why;
        ASSERT_TRUE(startUp(data));
        ui.fullScreenActive = full;
        renderFrame();
        game.fallOffset = 0.0f;
        ui.screen = Screen::Playing;
    }
    void TearDown() override {
        gemBackFacesCulled = true;
        gemsBeforeBackdrop = true;
        cursorLightKeptOn = true;
        ui.cursorColumn = NoCursorCell;
        ui.cursorRow = NoCursorCell;
        closeTestWindow();
    }
};

// Every gem kind in every column, one of them turned by the spin.
void setBoard(int angle) {
    fillBoard();
    for (int row = FirstFieldRow; row <= LastFieldRow; ++row)
        for (int column = 0; column < BoardColumns; ++column)
            game.board[row][column] = 1 + (column + 2 * row + angle) % GemKinds;
    turn.spinning = 1;
    turn.spinCell = Cell{angle % BoardColumns, FirstFieldRow + angle % 7};
    turn.spinAngle = static_cast<float>(angle);
    turn.spinStop = 1;
    turn.prevSpinning = 0;
}

TEST_P(GemCulling, TheBoardLooksTheSame) {
    int frames = 0, differing = 0, clustered = 0;
    for (int angle = 0; angle < 360; angle += 11, ++frames) {
        setBoard(angle);
        gemBackFacesCulled = true;
        const Image culled = renderFrame();
        setBoard(angle);
        gemBackFacesCulled = false;
        const Image drawn = renderFrame();
        differing += countDifferences(culled, drawn, 0);
        // A differing pixel with a differing neighbour on each side of it
        // along a row or a column would be part of a surface, not an outline.
        for (int y = 1; y + 1 < drawn.height; ++y)
            for (int x = 1; x + 1 < drawn.width; ++x) {
                auto differs = [&](int px, int py) { return maxChannelDifference(culled.at(px, py), drawn.at(px, py)) > 0; };
                if (!differs(x, y)) continue;
                if ((differs(x - 1, y) && differs(x + 1, y)) || (differs(x, y - 1) && differs(x, y + 1))) ++clustered;
            }
    }
    EXPECT_EQ(clustered, 0);
    EXPECT_LE(differing, 10 * frames) << "more than a few outline pixels a frame";

    // The gems are there to be compared: an empty field differs everywhere they are.
    setBoard(0);
    gemBackFacesCulled = true;
    const Image culled = renderFrame();
    for (int row = FirstFieldRow; row <= LastFieldRow; ++row)
        for (int column = 0; column < BoardColumns; ++column) game.board[row][column] = 0;
    EXPECT_GT(countDifferences(culled, renderFrame(), 0), 64 * 200);
}

// The gems are drawn before the backdrop behind them, so that the depth test
// spares shading the backdrop under them: the picture must be the one drawn
// the other way round, also while a swap carries gems back towards the
// backdrop and a gem spins.
TEST_P(GemCulling, TheBackdropDrawnAfterTheGemsChangesNoPixel) {
    int differing = 0;
    for (int angle = 0; angle < 360; angle += 23) {
        setBoard(angle);
        // A swap of two neighbours, half-way: one gem nearer, one farther.
        turn.swapActive = 1;
        turn.firstCell = Cell{3, 4};
        turn.secondCell = Cell{4, 4};
        turn.firstMotion = SwapMotion{};
        turn.secondMotion = SwapMotion{};
        turn.firstMotion.x = 0.5f;
        turn.firstMotion.z = 0.5f * static_cast<float>(angle % 3 - 1);
        turn.secondMotion.x = -0.5f;
        turn.secondMotion.z = -turn.firstMotion.z;
        gemsBeforeBackdrop = true;
        const Image gemsFirst = renderFrame();
        gemsBeforeBackdrop = false;
        differing += countDifferences(gemsFirst, renderFrame(), 0);
    }
    EXPECT_EQ(differing, 0);
}

// The cursor's light stays on through the gems, black away from the cursor:
// the gem under the cursor must look as when the light is switched on for it
// alone, and every other gem as when it is off, for each gem kind, turning or
// not. And the light shows: the gem under the cursor is not drawn as unlit.
TEST_P(GemCulling, TheCursorLightKeptOnChangesNoPixel) {
    int differing = 0, lightShown = 0;
    for (int angle = 0; angle < 7 * 11; angle += 11) {
        setBoard(angle);
        ui.cursorColumn = angle % BoardColumns;
        ui.cursorRow = FirstFieldRow + (angle / 11) % 8;
        cursorLightKeptOn = true;
        const Image keptOn = renderFrame();
        cursorLightKeptOn = false;
        differing += countDifferences(keptOn, renderFrame(), 0);
        ui.cursorColumn = NoCursorCell;
        lightShown += countDifferences(keptOn, renderFrame(), 0) > 100;
    }
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(lightShown, 7);
}

INSTANTIATE_TEST_SUITE_P(BothLayouts, GemCulling, ::testing::Bool(), LayoutName());

}  // namespace
