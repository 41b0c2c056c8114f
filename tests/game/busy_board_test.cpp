// Input that arrives while the board is busy with a swap or a cascade.
#include <gtest/gtest.h>

#include "driver.h"

namespace {

class BusyBoard : public drive::QuietFieldTest {
protected:
    void SetUp() override {
        QuietFieldTest::SetUp();
        drive::addMoveIntoRowOne();  // the one move
    }
};

bool swapRunning() { return turn.swapActive || turn.swapReturning; }

// Three 7s at the foot of columns 0..2: the next fall step finds the line and
// its removal starts, as in the second pass of a cascade.
void startCascadeRemoval() {
    for (int c = 0; c <= 2; ++c) game.board[LastFieldRow][c] = 7;
    ASSERT_GT(drive::runUntil([] { return turn.removing != 0; }, 100), 0);
}

struct RemovalCells {
    uint8_t used[RemovalSlots];
    Cell cells[RemovalSlots];
    bool operator==(const RemovalCells& other) const {
        for (int i = 0; i < RemovalSlots; ++i)
            if (used[i] != other.used[i] || (used[i] && (cells[i].column != other.cells[i].column ||
                                                        cells[i].row != other.cells[i].row)))
                return false;
        return true;
    }
};

RemovalCells removalCells() {
    RemovalCells r{};
    for (int i = 0; i < RemovalSlots; ++i) {
        r.used[i] = turn.removalList[i].used;
        r.cells[i] = Cell{turn.removalList[i].column, turn.removalList[i].row};
    }
    return r;
}

int comboSounds() {
    return countSampleRequests(Sample::Combo) + countSampleRequests(Sample::Combo2) +
           countSampleRequests(Sample::Combo3);
}

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

// A swap without a line of its own that ends while a cascade's removal runs
// goes back; the removal, the score, the time and the sounds stay the
// cascade's own.
TEST_F(BusyBoard, ASwapEndingDuringACascadeIsJudgedOnItsOwnGems) {
    drive::swapByClicks(5, 5, 6, 5);
    ASSERT_GT(drive::runUntil([] { return turn.firstMotion.x > 0.6f; }), 0);
    startCascadeRemoval();
    const RemovalCells removal = removalCells();
    const float scale = removalScale();
    const int32_t score = game.score;
    const float timeLeft = game.timeLeft;
    const int combos = comboSounds();
    const int bad = countSampleRequests(Sample::Bad);

    ASSERT_GT(drive::runUntil([] { return turn.swapReturning || !turn.swapActive; }), 0);
    ASSERT_TRUE(turn.removing) << "the removal must outlast the swap for this case";
    EXPECT_TRUE(turn.swapReturning) << "the swap made no line and goes back";
    EXPECT_TRUE(removalCells() == removal);
    EXPECT_LE(removalScale(), scale) << "the shrinking gems started over";
    EXPECT_EQ(game.score, score);
    EXPECT_EQ(game.timeLeft, timeLeft);
    EXPECT_EQ(comboSounds(), combos);
    EXPECT_EQ(countSampleRequests(Sample::Bad), bad + 1);

    ASSERT_GT(drive::runUntil([] { return !swapRunning() && !turn.removing; }), 0);
    EXPECT_EQ(game.board[5][5], drive::quietKind(5, 5));
    EXPECT_EQ(game.board[5][6], drive::quietKind(6, 5));
}

// A gem that the cascade's removal took while it was swapping does not
// change places: the removal takes the gem it named.
TEST_F(BusyBoard, ASwappingGemTakenByTheRemovalStaysForIt) {
    drive::swapByClicks(2, 8, 3, 8);
    ASSERT_GT(drive::runUntil([] { return turn.firstMotion.x > 0.6f; }), 0);
    startCascadeRemoval();  // (2,8) is in the line
    const RemovalCells removal = removalCells();
    ASSERT_GT(drive::runUntil([] { return !swapRunning(); }), 0);
    ASSERT_TRUE(turn.removing);
    EXPECT_TRUE(removalCells() == removal);
    EXPECT_EQ(game.board[8][2], 7);
    EXPECT_EQ(game.board[8][3], drive::quietKind(3, 8));
}

// A gem selected while a removal runs: when the removal ends and drops the
// selection, the gem's spin ends too instead of going on for ever.
TEST_F(BusyBoard, ASelectionDroppedAtTheEndOfARemovalStopsItsSpin) {
    startCascadeRemoval();
    drive::click(5, 5);
    ASSERT_TRUE(turn.firstSelected);
    ASSERT_TRUE(turn.spinning);
    ASSERT_GT(drive::runUntil([] { return !turn.removing; }), 0);
    EXPECT_FALSE(turn.firstSelected);
    EXPECT_GT(drive::runUntil([] { return !turn.spinning; }, 200), 0) << "the gem spins on unselected";
}

// The hint names only a cell that holds a gem, and on a board that still
// falls or vanishes it finds nothing and costs as usual.
TEST_F(BusyBoard, TheHintWaitsForASettledBoard) {
    game.score = 300;
    for (int c = 0; c < BoardColumns; ++c) game.board[FirstFieldRow][c] = 0;  // a falling board
    useHint();
    EXPECT_FALSE(turn.firstSelected);
    EXPECT_FALSE(turn.spinning);
    EXPECT_EQ(game.score, 250);

    SetUp();
    game.score = 300;
    startCascadeRemoval();
    useHint();
    EXPECT_FALSE(turn.firstSelected);
    EXPECT_EQ(game.score, 250);

    ASSERT_TRUE(drive::settle());
    game.board[1][0] = game.board[1][1] = game.board[2][2] = 7;
    useHint();
    ASSERT_TRUE(turn.firstSelected);
    EXPECT_EQ(turn.firstCell.column, 2);
    EXPECT_EQ(turn.firstCell.row, 2);
    EXPECT_EQ(game.board[2][2], 7);
}

}  // namespace
