// Finding and scoring the lines of three, and sending back a swap that made none.
#include "audio/audio.h"
#include "game/game.h"
#include "game/game_local.h"

namespace {

void recordTriple(const Cell cells[3], int popupX, int popupY, int32_t& passPoints) {
    turn.removing = 1;
    turn.removalCursor += 3;
    const int first = turn.removalCursor;

    passPoints = clampedSum(passPoints, 5 * static_cast<int64_t>(game.level) + 10);
    if (game.comboCount > 0) passPoints = clampedSum(passPoints, game.lastPassPoints);

    // Slots 1..19 only: the cells of a seventh and later triple that do not
    // fit stay on the board for the next pass.
    for (int i = 0; i < 3; ++i) {
        const int slot = first + i;
        if (slot < 1 || slot >= RemovalSlots) continue;
        turn.removalList[slot].used = 1;
        turn.removalList[slot].column = cells[i].column;
        turn.removalList[slot].row = cells[i].row;
    }
    removalScale() = 1.0f;

    if (game.playerMoved) startScorePopup(popupX, popupY, passPoints);
}

int runOf(int value, int row, int column, int dRow, int dColumn) {
    int length = 0;
    row += dRow;
    column += dColumn;
    while (row >= FirstFieldRow && row <= LastFieldRow && column >= 0 && column < BoardColumns &&
           game.board[row][column] == value) {
        ++length;
        row += dRow;
        column += dColumn;
    }
    return length;
}

}  // namespace

void startSwapBack() {
    // The same directions as the swap, slower: the cells are already exchanged.
    setSwapVelocities(turn.secondCell, 0.015f);
    turn.swapActive = 1;
    turn.swapReturning = 1;
    playSample(Sample::Bad);
}

bool inLine(const Cell& cell) {
    const int row = cell.row;
    const int column = cell.column;
    if (row < FirstFieldRow || row > LastFieldRow || column < 0 || column >= BoardColumns) return false;
    const int value = game.board[row][column];
    if (value == 0) return false;
    return runOf(value, row, column, -1, 0) + 1 + runOf(value, row, column, 1, 0) >= 3 ||
           runOf(value, row, column, 0, -1) + 1 + runOf(value, row, column, 0, 1) >= 3;
}

void resolveMatches(bool afterSwap) {
    turn.removalCursor = -2;
    int32_t passPoints = 0;
    const auto& b = game.board;

    for (int r = FirstFieldRow; r <= LastFieldRow - 2; ++r) {
        for (int c = 0; c < BoardColumns; ++c) {
            const int v = b[r][c];
            if (v != 0 && v == b[r + 1][c] && v == b[r + 2][c]) {
                const Cell cells[3] = {{c, r}, {c, r + 1}, {c, r + 2}};
                recordTriple(cells, 52 * c + 200, 450 - 52 * r, passPoints);
            }
        }
    }
    for (int r = FirstFieldRow; r <= LastFieldRow; ++r) {
        for (int c = 0; c < BoardColumns - 2; ++c) {
            const int v = b[r][c];
            if (v != 0 && v == b[r][c + 1] && v == b[r][c + 2]) {
                const Cell cells[3] = {{c, r}, {c + 1, r}, {c + 2, r}};
                recordTriple(cells, 52 * c + 260, 480 - 52 * r, passPoints);
            }
        }
    }

    if (turn.removing) {
        if (game.playerMoved) {
            game.score = clampedSum(game.score, passPoints);
            game.timeLeft += 2.5f;
        }
        game.comboCount += 1;
        if (game.comboCount <= 1)
            playSample(Sample::Combo);
        else if (game.comboCount == 2)
            playSample(Sample::Combo2);
        else
            playSample(Sample::Combo3);
        game.lastPassPoints = passPoints;
        if (game.comboCount > 3 && game.playerMoved) {
            game.comboCount = 0;
            game.boardEvent = BoardEvent::Excellent;
            playSample(Sample::Excel);
        }
    } else if (afterSwap) {
        startSwapBack();
    }
}
