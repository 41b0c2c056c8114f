// A headless game for the rule tests: state a board, play a move through the
// board input, step frames at a fixed speed until the board settles.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "support/sound_log.h"
#include "game/game.h"
#include "support/board.h"

namespace drive {

constexpr float Speed = 1.05f;  // the speed factor of 100 frames per second

// Program-load state, sound on and recorded only, a new game of the mode on
// the board screen with the floor closed.
void start(GameMode mode = GameMode::Levels);
// A new game of the mode, the mode's button pressed and the other not.
void newGameOf(GameMode mode);
// The same on a quiet field: no line and no move.
void startQuiet(GameMode mode = GameMode::Levels);
// Three 7s on a quiet field, each set a move of its own:
// at the bottom right, a spare move that keeps the game from ending;
void addSpareMove();
// the 7 at (2,2) to be raised into row 1 next to the two 7s there;
void addMoveIntoRowOne();
// a line in row 4 when the 7 at (2,3) and the gem at (2,4) swap.
void addLineOneSwapAway();

// The board from strings and back (tests/support/board.h).
using boards::boardFull;
using boards::columnCount;
using boards::field;
using boards::quietKind;
using boards::setField;
using boards::setQuietField;
using boards::spawnRow;

// One frame of the scene's rules at the fixed speed (no clock measurement).
void frame();
// Frames until done() holds after a frame; the number of frames, or -1.
int runUntil(const std::function<bool()>& done, int maxFrames = 5000);
// Frames until a fall step found the full board at rest: no swap, no
// removal, nothing to fall. False when that did not happen in time.
bool settle(int maxFrames = 5000);

// A row of a table of frames: from a quiet levels game with a spare move and
// what `before` makes of it, one frame's commands; what the frame asks of the
// shell, and whether it leaves the state `expected` looks for.
struct FrameRow {
    const char* what;
    void (*before)();
    std::vector<Command> commands;
    uint32_t requests;
    bool (*expected)();
};
// Steps each row's frame and checks it; the rest test must leave the hint alone.
void expectFrameRows(const FrameRow* first, const FrameRow* end);

// The mouse over a cell, a press and a release, as the window handling does.
void pointAt(int column, int row);
void press(int column, int row);
void release();
void click(int column, int row);
void moveTo(int column, int row);  // a mouse move with the board rules
void swapByClicks(int column, int row, int toColumn, int toRow);
void swapByDrag(int column, int row, int toColumn, int toRow);

// Tests that start on the quiet field of a new levels game.
class QuietFieldTest : public ::testing::Test {
protected:
    void SetUp() override { startQuiet(); }
};

}  // namespace drive
