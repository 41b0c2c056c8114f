// The turn sequence: the no-move tests, the fall clock, the swap, the removal
// and the spins of the selected gems, frame by frame.
#include <cmath>
#include <cstring>

#include "audio/audio.h"
#include "game/game.h"
#include "game/game_local.h"

namespace {

bool fieldDraining() {
    return game.boardEvent == BoardEvent::LevelComplete || game.timedDrain || game.gameOverDrain;
}

bool fieldEmpty() {
    for (int r = SpawnRow; r <= LastFieldRow; ++r)
        for (int c = 0; c < BoardColumns; ++c)
            if (game.board[r][c] != 0) return false;
    return true;
}

void noMoveTests(bool full) {
    auto stuck = [full] {
        return game.boardEvent == BoardEvent::None && ui.screen == Screen::Playing && full &&
               !turn.removing && !turn.swapActive;
    };
    if (stuck() && !timedModeRunning() && !game.gameOverDrain && !findMove()) {
        game.boardEvent = BoardEvent::NoMoves;
        game.gameOverDrain = 1;
        game.gameOverPending = 1;
        playSample(Sample::GameOver);
    }
    if (stuck() && timedModeRunning() && !findMove()) game.timedDrain = 1;
}

void advanceFallClock() {
    if (turn.removing) return;
    if (ui.screen == Screen::ContinuePrompt || ui.screen == Screen::HighScores ||
        ui.screen == Screen::NameEntry)
        return;
    game.fallOffset -= 0.12f * scene.speedFactor;
    if (game.fallOffset < -1.0f) {
        game.fallOffset = 0.0f;
        fallStep();
    }
}

bool onBoard(const Cell& cell) {
    return cell.row >= SpawnRow && cell.row <= LastFieldRow && cell.column >= 0 && cell.column < BoardColumns;
}

void moveSwappingGems() {
    SwapMotion& a = turn.firstMotion;
    SwapMotion& b = turn.secondMotion;
    const float pi = 3.14159f;
    a.x += a.vx * scene.speedFactor;
    a.y += a.vy * scene.speedFactor;
    if (a.vx > 0) a.z = std::sin(a.x * pi) * 0.5f;
    if (a.vx < 0) a.z = -std::sin(a.x * pi) * 0.5f;
    if (a.vy > 0) a.z = std::sin(a.y * pi) * 0.5f;
    if (a.vy < 0) a.z = -std::sin(a.y * pi) * 0.5f;
    b.x += b.vx * scene.speedFactor;
    b.y += b.vy * scene.speedFactor;
    b.z = -a.z;

    if (a.x < -1.0f || a.x > 1.0f || a.y < -1.0f || a.y > 1.0f) finishSwap();
}

bool isCell(const Cell& cell, int column, int row) { return cell.column == column && cell.row == row; }

void shrinkRemovedGems() {
    removalScale() -= 0.02f * scene.speedFactor;
    if (removalScale() >= 0.1f) return;
    for (int slot = 1; slot < RemovalSlots; ++slot) {
        RemovalEntry& entry = turn.removalList[slot];
        if (!entry.used) continue;
        entry.used = 0;
        const Cell cell{entry.column, entry.row};
        if (onBoard(cell)) game.board[entry.row][entry.column] = 0;
    }
    // A gem selected while the removal ran loses its selection here, and its
    // spin ends with it.
    if (turn.firstSelected && !turn.secondSelected && turn.spinning &&
        isCell(turn.spinCell, turn.firstCell.column, turn.firstCell.row))
        turn.spinStop = 1;
    turn.firstSelected = 0;
    turn.secondSelected = 0;
    turn.removing = 0;
}

// One spin of a shown gem: the angle runs up to a whole turn and starts again,
// and a spin told to stop ends at the end of its turn.
void advanceSpin(uint8_t& spinning, float& angle, uint8_t& stop) {
    if (angle < 360.0f) {
        angle += 5.0f * scene.speedFactor;
    } else {
        angle = 0.0f;
        if (stop) {
            stop = 0;
            spinning = 0;
        }
    }
}

}  // namespace

bool boardFull() {
    for (int r = SpawnRow; r <= LastFieldRow; ++r)
        for (int c = 0; c < BoardColumns; ++c)
            if (game.board[r][c] == 0) return false;
    return true;
}

bool inRemoval(const Cell& cell) {
    if (!turn.removing) return false;
    for (int slot = 1; slot < RemovalSlots; ++slot) {
        const RemovalEntry& entry = turn.removalList[slot];
        if (entry.used && entry.column == cell.column && entry.row == cell.row) return true;
    }
    return false;
}

void finishSwap() {
    SwapMotion& a = turn.firstMotion;
    SwapMotion& b = turn.secondMotion;
    const Cell first = turn.firstCell;
    const Cell second = turn.secondCell;
    // A swap restored from a damaged saved game may name cells off the board,
    // and a gem that a cascade's removal took while it travelled is going:
    // those are not exchanged.
    const bool returning = turn.swapReturning != 0;
    const bool vanishing = inRemoval(first) || inRemoval(second);
    if (onBoard(first) && onBoard(second) && !vanishing) {
        int32_t& one = game.board[first.row][first.column];
        int32_t& other = game.board[second.row][second.column];
        const int32_t held = one;
        one = other;
        other = held;
    }
    turn.firstSelected = 0;
    turn.secondSelected = 0;
    turn.swapActive = 0;
    a = SwapMotion{};
    b = SwapMotion{};
    turn.swapReturning = 0;
    if (returning) return;
    if (vanishing) {
        playSample(Sample::Bad);
        return;
    }
    // The swap is judged on its own two gems; lines that a cascade made
    // elsewhere meanwhile are not its doing. While a removal runs, the
    // swap's line waits for the cascade's next pass.
    if (!inLine(first) && !inLine(second))
        startSwapBack();
    else if (!turn.removing)
        resolveMatches(true);
}

void fallStep() {
    bool moved = false;
    for (int c = 0; c < BoardColumns; ++c) {
        int lastMoved = -1;
        for (int r = SpawnRow; r <= LastFieldRow; ++r) {
            auto moveDown = [&] {
                game.board[r + 1][c] = game.board[r][c];
                game.board[r][c] = 0;
                lastMoved = r + 1;
                moved = true;
            };
            auto openBelow = [&] { return game.board[r + 1][c] == 0 && r != lastMoved; };
            if (openBelow() && game.boardEvent == BoardEvent::LevelComplete) moveDown();
            if (openBelow() && game.timedDrain) moveDown();
            if (openBelow() && game.gameOverDrain) moveDown();
            game.board[FloorRow][c] = fieldDraining() ? 0 : ClosedFloor;
            if (openBelow() && game.boardEvent != BoardEvent::LevelComplete && r < LastFieldRow) moveDown();
        }
        if (game.board[SpawnRow][c] == 0 &&
            (game.boardEvent == BoardEvent::None || game.boardEvent == BoardEvent::Excellent) &&
            !game.timedDrain)
            game.board[SpawnRow][c] = randomGem();
    }
    if (moved && game.boardEvent != BoardEvent::LevelComplete && !game.timedDrain) playSample(Sample::New);
    if (!moved) resolveMatches(false);
    // The drain ends when the field is empty, also when the player left the
    // timed mode while it ran (the floor would otherwise stay open for good).
    if (game.timedDrain && fieldEmpty()) {
        game.timedDrain = 0;
        game.playerMoved = 0;
    }
}

void stepNoMovesAndFall() {
    const bool full = boardFull();
    noMoveTests(full);
    advanceFallClock();
}

void stepSwapAndRemoval() {
    if (turn.swapActive) moveSwappingGems();
    if (turn.removing) shrinkRemovedGems();
}

bool gemsShown() { return ui.screen == Screen::Playing && !ui.paused; }

int advanceSpinsAt(int column, int row, float degrees[2]) {
    int count = 0;
    if (turn.spinning && isCell(turn.spinCell, column, row)) {
        advanceSpin(turn.spinning, turn.spinAngle, turn.spinStop);
        degrees[count++] = turn.spinAngle;
    }
    if (!turn.spinning) turn.spinAngle = 0.0f;
    if (turn.prevSpinning && isCell(turn.prevSpinCell, column, row)) {
        advanceSpin(turn.prevSpinning, turn.prevSpinAngle, turn.prevSpinStop);
        degrees[count++] = turn.prevSpinAngle;
    }
    if (!turn.prevSpinning) turn.prevSpinAngle = 0.0f;
    return count;
}

// A gem in the spawn row shows only while it can slide in.
void stepBoard() {
    stepNoMovesAndFall();
    stepSwapAndRemoval();
    FrameView& view = frameView;
    view.gemsShown = gemsShown() ? 1 : 0;
    std::memcpy(view.board, game.board, sizeof view.board);
    view.backgroundKind = game.backgroundKind;
    view.spinCount = 0;
    if (!view.gemsShown) return;
    for (int r = SpawnRow; r <= LastFieldRow; ++r) {
        for (int c = 0; c < BoardColumns; ++c) {
            if (r == SpawnRow && game.board[FirstFieldRow][c] != 0) continue;
            const int32_t kind = game.board[r][c];
            if (kind < 1 || kind > GemKinds) continue;
            float degrees[2];
            const int turns = advanceSpinsAt(c, r, degrees);
            for (int i = 0; i < turns && view.spinCount < 2; ++i) {
                view.spinCells[view.spinCount] = Cell{c, r};
                view.spinDegrees[view.spinCount] = degrees[i];
                ++view.spinCount;
            }
        }
    }
}
