#include "support/board.h"

#include <cstdlib>

namespace boards {

namespace {

int32_t gemFromChar(char ch) { return ch == '.' ? 0 : ch - '0'; }

char charFromGem(int32_t value) { return value == 0 ? '.' : static_cast<char>('0' + value); }

std::string rowText(int row) {
    std::string text;
    for (int c = 0; c < BoardColumns; ++c) text += charFromGem(game.board[row][c]);
    return text;
}

bool rowsFull(int firstRow) {
    for (int r = firstRow; r <= LastFieldRow; ++r)
        for (int c = 0; c < BoardColumns; ++c)
            if (game.board[r][c] == 0) return false;
    return true;
}

}  // namespace

void setField(const std::vector<std::string>& rows, const std::string& spawn) {
    for (int r = 0; r < 8 && r < static_cast<int>(rows.size()); ++r)
        for (int c = 0; c < BoardColumns; ++c) game.board[FirstFieldRow + r][c] = gemFromChar(rows[r][c]);
    if (!spawn.empty())
        for (int c = 0; c < BoardColumns; ++c) game.board[SpawnRow][c] = gemFromChar(spawn[c]);
}

int32_t quietKind(int column, int row) { return (2 * row + column) % 6 + 1; }

void setQuietField() {
    for (int r = SpawnRow; r <= LastFieldRow; ++r)
        for (int c = 0; c < BoardColumns; ++c) game.board[r][c] = quietKind(c, r);
}

std::vector<std::string> field() {
    std::vector<std::string> rows;
    for (int r = FirstFieldRow; r <= LastFieldRow; ++r) rows.push_back(rowText(r));
    return rows;
}

std::string spawnRow() { return rowText(SpawnRow); }

int columnCount(int column) {
    int count = 0;
    for (int r = SpawnRow; r <= LastFieldRow; ++r)
        if (game.board[r][column] != 0) ++count;
    return count;
}

bool boardFull() { return rowsFull(SpawnRow); }
bool fieldFull() { return rowsFull(FirstFieldRow); }

void closeFloor() {
    for (int c = 0; c < BoardColumns; ++c) game.board[FloorRow][c] = ClosedFloor;
}

void settledBoard(unsigned seed) {
    resetGameState();
    ui.screen = Screen::Playing;
    ui.modeAButton = ButtonPressed;
    ui.modeBButton = ButtonNormal;
    game.gameMode = GameMode::Levels;
    updateLevelBounds();
    std::srand(seed);
    for (;;) {
        for (int r = SpawnRow; r <= LastFieldRow; ++r)
            for (int c = 0; c < BoardColumns; ++c) {
                int kind;
                do {
                    kind = randomGem();
                } while ((c >= 2 && game.board[r][c - 1] == kind && game.board[r][c - 2] == kind) ||
                         (r >= 2 && game.board[r - 1][c] == kind && game.board[r - 2][c] == kind));
                game.board[r][c] = kind;
            }
        closeFloor();
        if (findMove()) return;
    }
}

}  // namespace boards
