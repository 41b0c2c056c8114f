// The search for a swap that makes a line, and the hint built on it.
#include "audio/audio.h"
#include "game/game.h"
#include "game/game_local.h"

namespace {

bool inField(int row, int column) {
    return row >= FirstFieldRow && row <= LastFieldRow && column >= 0 && column < BoardColumns;
}

// A pair or a candidate counts only while every cell it names lies in the field.
bool sameAs(int value, int row, int column) {
    return inField(row, column) && game.board[row][column] == value;
}

struct Pattern {
    int dRow, dColumn;  // the candidate cell relative to the base cell
};

struct Group {
    int pairRow, pairColumn;  // the base pair's second cell relative to the base cell
    int count;
    Pattern patterns[6];
};

// Horizontal pair with the gap left or right, horizontal pair with a gap
// between, vertical pair with a gap between, vertical pair with the gap above
// or below; each pattern names the gem that would complete the line.
const Group Groups[4] = {
    {0, 1, 6, {{-1, -1}, {1, -1}, {0, -2}, {-1, 2}, {1, 2}, {0, 3}}},
    {0, 2, 2, {{-1, 1}, {1, 1}}},
    {2, 0, 2, {{1, 1}, {1, -1}}},
    {1, 0, 6, {{-2, 0}, {-1, -1}, {-1, 1}, {3, 0}, {2, -1}, {2, 1}}},
};

}  // namespace

namespace {

// The first swap found that makes a line: the cell of the gem to move.
bool searchMove(int* foundColumn, int* foundRow) {
    for (int r = FirstFieldRow; r <= LastFieldRow; ++r) {
        for (int c = 0; c < BoardColumns; ++c) {
            const int value = game.board[r][c];
            for (const Group& group : Groups) {
                if (!sameAs(value, r + group.pairRow, c + group.pairColumn)) continue;
                for (int p = 0; p < group.count; ++p) {
                    const int row = r + group.patterns[p].dRow;
                    const int column = c + group.patterns[p].dColumn;
                    if (sameAs(value, row, column)) {
                        *foundColumn = column;
                        *foundRow = row;
                        return true;
                    }
                }
            }
        }
    }
    return false;
}

}  // namespace

bool moveExists() {
    int column, row;
    return searchMove(&column, &row);
}

bool findMove() {
    int column, row;
    if (!searchMove(&column, &row)) return false;
    game.hintCell[0] = static_cast<float>(column);
    game.hintCell[1] = static_cast<float>(row);
    return true;
}

void useHint() {
    // On a board that is still falling or vanishing a move named now may be
    // gone a frame later: the hint finds nothing there.
    const bool settled = boardFull() && !turn.removing;
    if (settled && findMove()) {
        turn.spinning = 1;
        turn.spinCell.column = static_cast<int32_t>(game.hintCell[0]);
        turn.spinCell.row = static_cast<int32_t>(game.hintCell[1]);
        // A running swap keeps its two gems (it exchanges and sends back the
        // cells it names); the hinted gem then only spins.
        if (!turn.swapActive && !turn.swapReturning) {
            turn.firstCell = turn.spinCell;
            turn.firstSelected = 1;
        }
        ui.keyCursor = turn.spinCell;
        // The hinted gem is the player's selection: the move it leads to
        // scores, and its chain counts from the start like a clicked one.
        game.playerMoved = 1;
        game.comboCount = 0;
        game.lastPassPoints = 0;
    }
    // The hint is paid for whether or not it found a move: points in the levels
    // mode (never below the level's base), time in the timed mode. The score of
    // a timed game is not charged and so is not raised to a base that belongs
    // to an earlier levels game either.
    if (game.gameMode == GameMode::Levels) {
        game.score = clampedSum(game.score, -50);
        if (game.score < game.levelBase) game.score = game.levelBase;
    } else if (game.gameMode == GameMode::Timed) {
        game.timeLeft -= 10.0f;
    }
    playSample(Sample::Hint);
}
