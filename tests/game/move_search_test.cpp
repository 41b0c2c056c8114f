// The search for a swap that completes a line, and the hint that names its gem.
#include <gtest/gtest.h>

#include "driver.h"

namespace {

void fillWithoutMoves() {
    drive::setQuietField();
    for (int c = 0; c < BoardColumns; ++c) game.board[SpawnRow][c] = 7;
}

struct Shape {
    const char* name;
    int pairRow, pairColumn;            // second gem of the pair, relative to the base gem
    int candidateRow, candidateColumn;  // the gem that moves in
};

// Every way in which one swap of neighbours completes a line of three.
const Shape Shapes[] = {
    {"A1", 0, 1, -1, -1}, {"A2", 0, 1, 1, -1}, {"A3", 0, 1, 0, -2}, {"A4", 0, 1, -1, 2},
    {"A5", 0, 1, 1, 2},   {"A6", 0, 1, 0, 3},  {"B1", 0, 2, -1, 1}, {"B2", 0, 2, 1, 1},
    {"C1", 2, 0, 1, 1},   {"C2", 2, 0, 1, -1}, {"D1", 1, 0, -2, 0}, {"D2", 1, 0, -1, -1},
    {"D3", 1, 0, -1, 1},  {"D4", 1, 0, 3, 0},  {"D5", 1, 0, 2, -1}, {"D6", 1, 0, 2, 1},
};

// A vertical pair in column 0 (rows 6 and 8) with its gem at (1,7).
void placeBottomLeftMove() {
    game.board[6][0] = 7;
    game.board[8][0] = 7;
    game.board[7][1] = 7;
}

class MoveSearch : public ::testing::Test {
protected:
    void SetUp() override {
        drive::start();
        fillWithoutMoves();
    }
};

TEST_F(MoveSearch, AFieldWithoutPairsHasNoMove) {
    game.hintCell[0] = 3;
    game.hintCell[1] = 5;
    EXPECT_FALSE(findMove());
    EXPECT_EQ(game.hintCell[0], 3.0f);  // the last hint stays
    EXPECT_EQ(game.hintCell[1], 5.0f);
}

TEST_F(MoveSearch, EachShapeIsFoundAndNamesTheGemThatMoves) {
    const int baseRow = 4, baseColumn = 3;
    for (const Shape& shape : Shapes) {
        SCOPED_TRACE(shape.name);
        fillWithoutMoves();
        game.board[baseRow][baseColumn] = 7;
        game.board[baseRow + shape.pairRow][baseColumn + shape.pairColumn] = 7;
        EXPECT_FALSE(findMove()) << "a pair alone is no move";
        game.board[baseRow + shape.candidateRow][baseColumn + shape.candidateColumn] = 7;
        ASSERT_TRUE(findMove());
        EXPECT_EQ(game.hintCell[0], static_cast<float>(baseColumn + shape.candidateColumn));
        EXPECT_EQ(game.hintCell[1], static_cast<float>(baseRow + shape.candidateRow));
    }
}

TEST_F(MoveSearch, HorizontalPairWithGapOnTheLeftWinsOverGapBetweenAtTheSameCell) {
    // Base (4,3): (4,4) completes the pair of A, (4,5) the pair of B.
    // A3 names (4,1); B1 would name (3,4).
    for (int c : {1, 3, 4, 5}) game.board[4][c] = 7;
    game.board[3][4] = 7;
    ASSERT_TRUE(findMove());
    EXPECT_EQ(game.hintCell[0], 1.0f);
    EXPECT_EQ(game.hintCell[1], 4.0f);
}

TEST_F(MoveSearch, TheTopmostThenLeftmostMoveWins) {
    // Two moves: a vertical gap at the bottom left, and a pair with its gem to
    // the right further up but further right.
    placeBottomLeftMove();
    game.board[2][6] = 7;
    game.board[2][7] = 7;
    game.board[1][5] = 7;  // A1 at base (2,6)
    ASSERT_TRUE(findMove());
    EXPECT_EQ(game.hintCell[0], 5.0f);
    EXPECT_EQ(game.hintCell[1], 1.0f);
}

TEST_F(MoveSearch, AMoveOnlyAtTheBottomLeftIsFound) {
    placeBottomLeftMove();
    ASSERT_TRUE(findMove());
    EXPECT_EQ(game.hintCell[0], 1.0f);
    EXPECT_EQ(game.hintCell[1], 7.0f);
}

TEST_F(MoveSearch, TheSpawnRowTakesNoPart) {
    // A pair in the top field row whose completing gem waits in the spawn row.
    for (int c = 0; c < BoardColumns; ++c) game.board[SpawnRow][c] = 1;
    game.board[1][3] = 7;
    game.board[1][4] = 7;
    game.board[SpawnRow][2] = 7;  // A1's candidate, above the field
    game.board[SpawnRow][5] = 7;  // A4's candidate
    EXPECT_FALSE(findMove());
    // A vertical pair under the spawn row: the gap above lies outside.
    fillWithoutMoves();
    game.board[2][6] = 7;
    game.board[3][6] = 7;
    game.board[SpawnRow][6] = 7;  // D1 would take row 0
    EXPECT_FALSE(findMove());
}

TEST_F(MoveSearch, TheFloorRowTakesNoPart) {
    // A vertical pair on rows 6 and 7 over a floor cell that equals its kind.
    game.board[6][2] = 7;
    game.board[7][2] = 7;
    for (int c = 0; c < BoardColumns; ++c) game.board[FloorRow][c] = 7;
    EXPECT_FALSE(findMove());
    // An open floor under a pair of empty cells: the floor cell that would
    // complete them lies outside the field.
    fillWithoutMoves();
    for (int c = 0; c < BoardColumns; ++c) game.board[FloorRow][c] = 0;
    game.board[8][0] = 0;
    game.board[8][1] = 0;
    EXPECT_FALSE(findMove());
    game.board[7][2] = 0;
    ASSERT_TRUE(findMove()) << "empty field cells pair with each other";
    EXPECT_EQ(game.hintCell[0], 2.0f);
    EXPECT_EQ(game.hintCell[1], 7.0f);
}

TEST_F(MoveSearch, NoMoveAtTheFieldEdges) {
    // Shapes whose cells would leave the field at the left or right edge.
    // A pair at the left edge; the cells left of it would be the previous
    // row's last ones if columns ran over.
    game.board[3][0] = 7;
    game.board[3][1] = 7;
    game.board[2][6] = 7;
    game.board[3][7] = 7;
    EXPECT_FALSE(findMove());
    // A pair at the right edge; the cells right of it would be the next row's first.
    fillWithoutMoves();
    game.board[5][6] = 7;
    game.board[5][7] = 7;
    game.board[6][1] = 7;
    game.board[5][0] = 7;
    EXPECT_FALSE(findMove());
}

}  // namespace
