// A headless game for the rule tests: state a board, play a move through the
// board input, step frames at a fixed speed until the board settles.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "audio/audio.h"
#include "game/game.h"

namespace drive {

constexpr float Speed = 1.05f;  // the speed factor of 100 frames per second

// Program-load state, sound on and recorded only, a new game of the mode on
// the board screen with the floor closed.
void start(GameMode mode = GameMode::Levels);

// Sets the field from eight rows of eight characters, top row first: '1'..'7'
// a gem of that kind, '.' an empty cell. The spawn row, when given, likewise;
// otherwise it stays as it is.
void setField(const std::vector<std::string>& rows, const std::string& spawn = "");
// A full board, spawn row included, on which no two cells that a line or a
// move could use hold the same kind (kinds 1..6; 7 is left for the tests).
// A column that sinks by one cell keeps that property.
void setQuietField();
// The kind that setQuietField puts at a cell.
int32_t quietKind(int column, int row);
std::vector<std::string> field();   // rows 1..8 as set by setField
std::string spawnRow();
int columnCount(int column);        // gems in rows 0..8 of one column
bool boardFull();                   // no empty cell in rows 0..8

// One frame of the scene's rules at the fixed speed (no clock measurement).
void frame();
// Frames until done() holds after a frame; the number of frames, or -1.
int runUntil(const std::function<bool()>& done, int maxFrames = 5000);
// Frames until a fall step found the full board at rest: no swap, no
// removal, nothing to fall. False when that did not happen in time.
bool settle(int maxFrames = 5000);

// The mouse over a cell, a press and a release, as the window handling does.
void pointAt(int column, int row);
void press(int column, int row);
void release();
void click(int column, int row);
void moveTo(int column, int row);  // a mouse move with the board rules
void swapByClicks(int column, int row, int toColumn, int toRow);
void swapByDrag(int column, int row, int toColumn, int toRow);

}  // namespace drive
