// Board input: the cell under the mouse, selecting gems and starting swaps.
#include <cstdlib>

#include "audio/audio.h"
#include "game/game.h"
#include "game/game_local.h"

namespace {

bool inField(int32_t column, int32_t row) {
    return column >= 0 && column < BoardColumns && row >= FirstFieldRow && row <= LastFieldRow;
}

bool neighbours(const Cell& a, int32_t column, int32_t row) {
    return (a.row == row && std::abs(a.column - column) == 1) ||
           (a.column == column && std::abs(a.row - row) == 1);
}

bool holdsGem(int32_t column, int32_t row) { return inField(column, row) && game.board[row][column] > 0; }

bool swapRunning() { return turn.swapReturning || turn.swapActive; }

}  // namespace

void cursorCellAt(int x, int y, int32_t* column, int32_t* row) { cellAt(screenGeometry().cells, x, y, column, row); }

void startSwap(Cell partner) {
    turn.secondSelected = 1;
    turn.secondCell = partner;
    turn.swapActive = 1;
    setSwapVelocities(partner, 0.02f);
}

void setSwapVelocities(Cell partner, float speed) {
    const Cell& first = turn.firstCell;
    if (first.column == partner.column + 1) {
        turn.firstMotion.vx = -speed;
        turn.secondMotion.vx = speed;
    }
    if (first.column == partner.column - 1) {
        turn.firstMotion.vx = speed;
        turn.secondMotion.vx = -speed;
    }
    if (first.row == partner.row + 1) {
        turn.firstMotion.vy = speed;
        turn.secondMotion.vy = -speed;
    }
    if (first.row == partner.row - 1) {
        turn.firstMotion.vy = -speed;
        turn.secondMotion.vy = speed;
    }
}

// The pause is not consulted: a gem selected before the pause can still be
// dragged onto its neighbour.
void boardMouseMoveRules() {
    const int32_t column = ui.cursorColumn;
    const int32_t row = ui.cursorRow;
    if (ui.screen != Screen::Playing || turn.swapReturning || turn.removing || turn.swapActive ||
        ui.mouseButtonUp || !turn.firstSelected || turn.secondSelected)
        return;
    if (column == turn.firstCell.column && row == turn.firstCell.row) return;
    if (neighbours(turn.firstCell, column, row) && holdsGem(column, row)) startSwap(Cell{column, row});
    turn.spinStop = 1;
    turn.prevSpinStop = 1;
}

void boardButtonDownRules() { boardClickRules(ui.cursorColumn, ui.cursorRow); }

void boardClickRules(int32_t column, int32_t row) {
    const bool boardTakesClicks = !ui.paused && ui.screen == Screen::Playing && !swapRunning();

    // A second click: swap with a neighbour, or drop the selection.
    if (boardTakesClicks && turn.firstSelected && !turn.secondSelected && inField(column, row)) {
        if (neighbours(turn.firstCell, column, row) && holdsGem(column, row))
            startSwap(Cell{column, row});
        else
            turn.firstSelected = 0;
        if (column == turn.firstCell.column && row == turn.firstCell.row && holdsGem(column, row)) {
            turn.firstSelected = 0;
            turn.firstCell.column = DeselectedColumn;
            playSample(Sample::Select);
        }
        turn.spinStop = 1;
        turn.prevSpinStop = 1;
    }

    // A first click: select the gem and hand the spin over to it.
    if (boardTakesClicks && !turn.firstSelected && turn.firstCell.column != DeselectedColumn &&
        !turn.secondSelected && holdsGem(column, row)) {
        turn.firstSelected = 1;
        turn.firstCell = Cell{column, row};
        playSample(Sample::Select);
        game.playerMoved = 1;
        game.comboCount = 0;
        game.lastPassPoints = 0;
        if (turn.spinning && !(turn.spinCell.column == column && turn.spinCell.row == row)) turn.prevSpinning = 1;
        turn.prevSpinCell = turn.spinCell;
        turn.prevSpinAngle = turn.spinAngle;
        turn.prevSpinStop = 1;
        turn.spinning = 1;
        turn.spinCell = turn.firstCell;
        turn.spinStop = 0;
    }

    if (turn.firstCell.column == DeselectedColumn) turn.firstCell.column = NoCellColumn;
}

void placeKeyCursorAtStart() { ui.keyCursor = Cell{0, FirstFieldRow}; }

void moveKeyCursor(int dColumn, int dRow) {
    const int32_t column = ui.keyCursor.column + dColumn;
    const int32_t row = ui.keyCursor.row + dRow;
    if (inField(column, row)) ui.keyCursor = Cell{column, row};
}

void keyCursorFollowsClick() {
    if (ui.screen == Screen::Playing && inField(ui.cursorColumn, ui.cursorRow))
        ui.keyCursor = Cell{ui.cursorColumn, ui.cursorRow};
}

void chooseAtKeyCursor() { boardClickRules(ui.keyCursor.column, ui.keyCursor.row); }
