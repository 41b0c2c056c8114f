#include "driver.h"

#include <cstdlib>

namespace drive {

namespace {

float steadyClock() { return 0.0f; }

int32_t gemFromChar(char ch) { return ch == '.' ? 0 : ch - '0'; }

char charFromGem(int32_t value) { return value == 0 ? '.' : static_cast<char>('0' + value); }

}  // namespace

void start(GameMode mode) {
    resetGameState();
    clearSoundLog();
    setSoundBackend(nullptr);
    settings.soundOn = 1;
    srand(12345);
    ui.screen = Screen::Playing;
    ui.mouseButtonUp = 1;
    ui.cursorColumn = NoCursorCell;
    ui.cursorRow = NoCursorCell;
    game.gameMode = mode;
    ui.modeAButton = mode == GameMode::Levels ? ButtonPressed : ButtonNormal;
    ui.modeBButton = mode == GameMode::Timed ? ButtonPressed : ButtonNormal;
    newGame();
    for (int c = 0; c < BoardColumns; ++c) game.board[FloorRow][c] = ClosedFloor;
    scene.speedFactor = Speed;
}

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
    for (int r = FirstFieldRow; r <= LastFieldRow; ++r) {
        std::string row;
        for (int c = 0; c < BoardColumns; ++c) row += charFromGem(game.board[r][c]);
        rows.push_back(row);
    }
    return rows;
}

std::string spawnRow() {
    std::string row;
    for (int c = 0; c < BoardColumns; ++c) row += charFromGem(game.board[SpawnRow][c]);
    return row;
}

int columnCount(int column) {
    int count = 0;
    for (int r = SpawnRow; r <= LastFieldRow; ++r)
        if (game.board[r][column] != 0) ++count;
    return count;
}

bool boardFull() {
    for (int r = SpawnRow; r <= LastFieldRow; ++r)
        for (int c = 0; c < BoardColumns; ++c)
            if (game.board[r][c] == 0) return false;
    return true;
}

void frame() {
    scene.speedFactor = Speed;
    scene.measureCount = 1;  // keeps the clock measurement out of the way
    stepFrame(steadyClock);
}

int runUntil(const std::function<bool()>& done, int maxFrames) {
    for (int n = 1; n <= maxFrames; ++n) {
        frame();
        if (done()) return n;
    }
    return -1;
}

bool settle(int maxFrames) {
    // A fall step on a board that was already full moves nothing and looks
    // for lines; when it found none and no swap runs, the board is at rest.
    bool wasFull = boardFull();
    for (int n = 1; n <= maxFrames; ++n) {
        frame();
        const bool full = boardFull();
        if (wasFull && full && game.fallOffset == 0.0f && !turn.swapActive && !turn.removing) return true;
        wasFull = full;
    }
    return false;
}

void pointAt(int column, int row) {
    ui.cursorColumn = column;
    ui.cursorRow = row;
}

void press(int column, int row) {
    pointAt(column, row);
    boardButtonDownRules();
    ui.mouseButtonUp = 0;
}

void release() { ui.mouseButtonUp = 1; }

void click(int column, int row) {
    press(column, row);
    release();
}

void moveTo(int column, int row) {
    pointAt(column, row);
    boardMouseMoveRules();
}

void swapByClicks(int column, int row, int toColumn, int toRow) {
    click(column, row);
    click(toColumn, toRow);
}

void swapByDrag(int column, int row, int toColumn, int toRow) {
    press(column, row);
    moveTo(toColumn, toRow);
    release();
}

}  // namespace drive
