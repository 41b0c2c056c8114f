// Board input: the cell under the mouse, selection, deselection, swaps by
// click and by drag, and the hint.
#include <gtest/gtest.h>

#include "driver.h"

namespace {

using Input = drive::QuietFieldTest;

// The mouse at (x, y) and the cell the board input takes it for.
struct CellAt {
    int x, y, column, row;
    const char* why;
};

void expectCells(const std::vector<CellAt>& cells) {
    for (const CellAt& at : cells) {
        SCOPED_TRACE(testing::Message() << at.x << "," << at.y);
        int32_t column, row;
        cursorCellAt(at.x, at.y, &column, &row);
        EXPECT_EQ(column, at.column);
        EXPECT_EQ(row, at.row) << at.why;
    }
}

TEST_F(Input, TheWindowedLayoutHasCellsOf54Pixels) {
    expectCells({{181, 19, -1, 1, ""},
                 {180, 18, NoCursorCell, NoCursorCell, ""},
                 {239, 69, 1, 2, ""},
                 {614, 449, 7, 9, ""},
                 {615, 450, NoCursorCell, NoCursorCell, ""}});
}

TEST_F(Input, TheFullScreenLayoutHasCellsOf67Pixels) {
    ui.fullScreenActive = 1;
    expectCells({{211, 21, -1, 1, "(21 - 22) / 67 truncates toward zero"},
                 {789, 574, 8, 9, ""},
                 {300, 100, 1, 2, ""},
                 {210, 575, NoCursorCell, NoCursorCell, ""}});
}

TEST_F(Input, AFirstClickSelectsAGemAndStartsThePlayersTurn) {
    game.comboCount = 3;
    game.lastPassPoints = 70;
    drive::click(2, 5);
    EXPECT_TRUE(turn.firstSelected);
    EXPECT_EQ(turn.firstCell.column, 2);
    EXPECT_EQ(turn.firstCell.row, 5);
    EXPECT_TRUE(game.playerMoved);
    EXPECT_EQ(game.comboCount, 0);
    EXPECT_EQ(game.lastPassPoints, 0);
    EXPECT_TRUE(turn.spinning);
    EXPECT_FALSE(turn.spinStop);
    EXPECT_EQ(countSampleRequests(Sample::Select), 1);
}

TEST_F(Input, ClicksOffTheFieldOrOnEmptyCellsAreIgnored) {
    game.board[4][4] = 0;
    const int cells[][2] = {{4, 4}, {-1, 3}, {8, 3}, {3, 0}, {3, 9}, {NoCursorCell, NoCursorCell}};
    for (const auto& cell : cells) drive::click(cell[0], cell[1]);
    EXPECT_FALSE(turn.firstSelected);
    EXPECT_FALSE(game.playerMoved);
    EXPECT_EQ(soundLog.count, 0);
}

TEST_F(Input, AClickOnTheSelectedGemDeselectsItAndTheNextClickSelectsAgain) {
    drive::click(3, 3);
    drive::click(3, 3);
    EXPECT_FALSE(turn.firstSelected);
    EXPECT_EQ(turn.firstCell.column, NoCellColumn) << "the deselect marker lasts one click";
    EXPECT_TRUE(turn.spinStop);
    EXPECT_EQ(countSampleRequests(Sample::Select), 2);
    drive::click(3, 3);
    EXPECT_TRUE(turn.firstSelected);
    EXPECT_EQ(turn.firstCell.column, 3);
    EXPECT_EQ(countSampleRequests(Sample::Select), 3);
}

TEST_F(Input, AClickAwayFromTheSelectionMovesIt) {
    drive::click(3, 3);
    drive::click(4, 4);  // diagonal
    EXPECT_TRUE(turn.firstSelected);
    EXPECT_FALSE(turn.swapActive);
    EXPECT_EQ(turn.firstCell.column, 4);
    EXPECT_EQ(turn.firstCell.row, 4);
    drive::click(0, 8);  // far away
    EXPECT_EQ(turn.firstCell.column, 0);
    EXPECT_EQ(turn.firstCell.row, 8);
    drive::click(0, 9);  // the floor: the selection is kept
    EXPECT_TRUE(turn.firstSelected);
}

TEST_F(Input, AClickOnANeighbourStartsTheSwap) {
    struct Case {
        int column, row;
        float vx, vy;
    } cases[] = {{2, 4, -0.02f, 0.0f}, {4, 4, 0.02f, 0.0f}, {3, 3, 0.0f, 0.02f}, {3, 5, 0.0f, -0.02f}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.column * 10 + k.row);
        drive::startQuiet();
        drive::swapByClicks(3, 4, k.column, k.row);
        EXPECT_TRUE(turn.swapActive);
        EXPECT_TRUE(turn.secondSelected);
        EXPECT_EQ(turn.secondCell.column, k.column);
        EXPECT_EQ(turn.secondCell.row, k.row);
        EXPECT_FLOAT_EQ(turn.firstMotion.vx, k.vx);
        EXPECT_FLOAT_EQ(turn.firstMotion.vy, k.vy);
        EXPECT_FLOAT_EQ(turn.secondMotion.vx, -k.vx);
        EXPECT_FLOAT_EQ(turn.secondMotion.vy, -k.vy);
        EXPECT_TRUE(turn.firstSelected);
        // Further clicks wait for the swap.
        drive::click(0, 1);
        EXPECT_EQ(turn.firstCell.column, 3);
    }
}

TEST_F(Input, ANeighbourWithoutAGemIsNoPartner) {
    game.board[4][4] = 0;
    drive::swapByClicks(3, 4, 4, 4);
    EXPECT_FALSE(turn.swapActive);
    EXPECT_FALSE(turn.firstSelected);
}

TEST_F(Input, DraggingOntoANeighbourStartsTheSwapWithTheButtonHeld) {
    drive::press(3, 4);
    drive::moveTo(3, 4);
    EXPECT_FALSE(turn.swapActive);
    drive::moveTo(4, 4);
    EXPECT_TRUE(turn.swapActive);
    EXPECT_FLOAT_EQ(turn.firstMotion.vx, 0.02f);
    EXPECT_TRUE(turn.spinStop);
    EXPECT_TRUE(turn.prevSpinStop);
}

TEST_F(Input, DraggingOntoTheFloorEdgeOrADiagonalDoesNothing) {
    drive::press(3, 8);
    drive::moveTo(3, 9);
    EXPECT_FALSE(turn.swapActive);
    EXPECT_TRUE(turn.spinStop) << "any move off the gem tells the spin to stop";
    drive::moveTo(4, 7);
    EXPECT_FALSE(turn.swapActive);
    drive::release();
    drive::moveTo(3, 7);
    EXPECT_FALSE(turn.swapActive) << "a released button drags nothing";
}

TEST_F(Input, WhilePausedClicksDoNothingButADragStillSwaps) {
    drive::press(3, 4);
    ui.paused = 1;
    drive::moveTo(3, 5);
    EXPECT_TRUE(turn.swapActive);

    drive::startQuiet();
    ui.paused = 1;
    drive::click(3, 4);
    EXPECT_FALSE(turn.firstSelected);
    ui.paused = 0;
    drive::click(3, 4);
    ui.paused = 1;
    drive::click(4, 4);
    EXPECT_FALSE(turn.swapActive);
    EXPECT_TRUE(turn.firstSelected);
    EXPECT_EQ(countSampleRequests(Sample::Select), 1);
}



// ---------------------------------------------------------------------------
// The hint

TEST_F(Input, TheHintSelectsTheGemToMoveAndCostsFiftyPoints) {
    game.board[6][0] = 7;
    game.board[8][0] = 7;
    game.board[7][1] = 7;
    game.score = 120;
    drive::click(5, 2);  // another gem selected: the hint replaces it
    useHint();
    EXPECT_TRUE(turn.firstSelected);
    EXPECT_TRUE(turn.spinning);
    EXPECT_EQ(turn.firstCell.column, 1);
    EXPECT_EQ(turn.firstCell.row, 7);
    EXPECT_EQ(turn.spinCell.column, 1);
    EXPECT_EQ(turn.prevSpinCell.column, 0) << "the old spin is not handed over";
    EXPECT_EQ(game.score, 70);
    EXPECT_EQ(countSampleRequests(Sample::Hint), 1);
}

TEST_F(Input, AMoveMadeFromTheHintScoresAsTheFirstMoveOfALevel) {
    game.board[6][0] = 7;
    game.board[8][0] = 7;
    game.board[7][1] = 7;
    game.playerMoved = 0;  // a fresh level: nothing selected by a click yet
    game.comboCount = 2;   // left by the lines of the refill
    game.lastPassPoints = 30;
    game.score = 200;
    useHint();
    ASSERT_EQ(turn.firstCell.column, 1);
    drive::click(0, 7);
    drive::runUntil([] { return turn.removing != 0; });
    EXPECT_EQ(game.score, 150 + 10) << "one triple, no bonus from the refill's chain";
    EXPECT_EQ(game.comboCount, 1);
}

TEST_F(Input, AHintWithoutAMoveStillCostsButNeverBelowTheLevelBase) {
    game.level = 1;
    updateLevelBounds();
    game.score = 520;
    useHint();
    EXPECT_FALSE(turn.firstSelected);
    EXPECT_EQ(game.score, 500);
}

TEST_F(Input, AHintInTheTimedModeCostsTimeOnly) {
    // Bounds left over from a levels game at level 5.
    game.level = 5;
    updateLevelBounds();
    ASSERT_EQ(game.levelBase, 8000);
    drive::start(GameMode::Timed);
    game.levelBase = 8000;
    game.levelTarget = 12000;
    drive::setQuietField();
    game.score = 40;
    game.timeLeft = 50.0f;
    useHint();
    EXPECT_FLOAT_EQ(game.timeLeft, 40.0f);
    EXPECT_EQ(game.score, 40) << "the hint does not hand out the old level's base";
}

}  // namespace
