#include "driver.h"

#include <cstdlib>
#include <initializer_list>
#include <utility>

namespace drive {

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
    newGameOf(mode);
    boards::closeFloor();
    scene.speedFactor = Speed;
}

void newGameOf(GameMode mode) {
    game.gameMode = mode;
    ui.modeAButton = mode == GameMode::Levels ? ButtonPressed : ButtonNormal;
    ui.modeBButton = mode == GameMode::Timed ? ButtonPressed : ButtonNormal;
    newGame();
}

void startQuiet(GameMode mode) {
    start(mode);
    setQuietField();
}

namespace {

void putSevens(const std::initializer_list<std::pair<int, int>>& cells) {
    for (const auto& [row, column] : cells) game.board[row][column] = 7;
}

}  // namespace

void addSpareMove() { putSevens({{8, 6}, {8, 7}, {7, 5}}); }
void addMoveIntoRowOne() { putSevens({{1, 0}, {1, 1}, {2, 2}}); }
void addLineOneSwapAway() { putSevens({{4, 0}, {4, 1}, {3, 2}}); }

void frame() {
    scene.speedFactor = Speed;
    scene.measureCount = 1;  // keeps the clock measurement out of the way
    stepFrame(FrameInput{});
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

void expectFrameRows(const FrameRow* first, const FrameRow* end) {
    for (const FrameRow* row = first; row != end; ++row) {
        SCOPED_TRACE(row->what);
        startQuiet();
        addSpareMove();
        row->before();
        FrameInput input{};
        for (const Command& command : row->commands) ASSERT_TRUE(addCommand(input, command.kind, command.x, command.y));
        scene.speedFactor = Speed;
        scene.measureCount = 1;
        EXPECT_EQ(stepFrame(input), row->requests);
        game.hintCell[0] = game.hintCell[1] = -1.0f;
        EXPECT_TRUE(row->expected());
        EXPECT_EQ(game.hintCell[0], -1.0f) << "the rest test changed the hint";
    }
}

}  // namespace drive
