// Input that arrives while the board is busy with a swap.
#include <gtest/gtest.h>

#include "driver.h"

namespace {

class BusyBoard : public ::testing::Test {
protected:
    void SetUp() override {
        drive::start();
        drive::setQuietField();
        // One move: the 7 at (2,2) raised into row 1 next to the two 7s there.
        game.board[1][0] = 7;
        game.board[1][1] = 7;
        game.board[2][2] = 7;
    }
};

bool swapRunning() { return turn.swapActive || turn.swapReturning; }

TEST_F(BusyBoard, AHintDuringASwapThatMakesNoLineLetsTheSwapGoBack) {
    const std::vector<std::string> before = drive::field();
    drive::swapByClicks(5, 5, 6, 5);  // two quiet gems: no line, the swap goes back
    ASSERT_TRUE(turn.swapActive);
    ASSERT_GT(drive::runUntil([] { return turn.firstMotion.x > 0.5f; }), 0);
    useHint();
    ASSERT_GT(drive::runUntil([] { return !swapRunning(); }, 2000), 0) << "the swap never ended";
    EXPECT_EQ(drive::field(), before) << "gems changed places without a line";
    // The board takes the next move.
    drive::swapByClicks(2, 2, 2, 1);
    EXPECT_TRUE(turn.swapActive);
}

TEST_F(BusyBoard, AHintDuringASwapThatMakesALineScoresThatLine) {
    // A second move lower down: the 7 at (6,5) raised next to the 7s at (4,4), (5,4).
    game.board[4][4] = 7;
    game.board[4][5] = 7;
    game.board[5][6] = 7;
    drive::swapByClicks(6, 5, 6, 4);
    ASSERT_TRUE(turn.swapActive);
    ASSERT_GT(drive::runUntil([] { return turn.firstMotion.y > 0.5f; }), 0);
    useHint();  // names the gem of the move in row 1
    EXPECT_EQ(turn.spinCell.column, 2);
    EXPECT_EQ(turn.spinCell.row, 2);
    ASSERT_GT(drive::runUntil([] { return !swapRunning(); }, 2000), 0);
    EXPECT_TRUE(turn.removing) << "the line of 7s in row 4 goes";
    for (int c = 4; c <= 6; ++c) EXPECT_EQ(game.board[4][c], 7) << c;
    EXPECT_EQ(game.board[5][6], drive::quietKind(6, 4));
    EXPECT_EQ(game.board[2][2], 7) << "the hinted gem stays where it is";
}

}  // namespace
