// What only the rules use.
#pragma once

#include <cstdint>

#include "game/game.h"

// A score or level from a damaged saved game may sit at either end of the
// 32-bit range: sums over them stop at the ends instead of wrapping around.
inline int32_t clampedSum(int64_t a, int64_t b) {
    const int64_t sum = a + b;
    if (sum > INT32_MAX) return INT32_MAX;
    if (sum < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(sum);
}

// Gives the two swapping gems opposite velocities of the given speed, from
// the position of the partner cell relative to firstCell.
void setSwapVelocities(Cell partner, float speed);

// Sends the two gems of a swap that made no line back to their cells.
void startSwapBack();
// A swap that ends: the gems change places and are judged on their own lines.
void finishSwap();
// True when the gem at the cell stands in a line of three or more (field rows only).
bool inLine(const Cell& cell);
// True when the cell is one of the running removal's.
bool inRemoval(const Cell& cell);
// Rows 0..8 hold a gem everywhere.
bool boardFull();

// The value the bar shows, up to 100: the level's progress in the levels
// mode, the time left in the timed mode. Below 0 when the time has run out.
float barValueNow();
// Where the bar's shown length heads, 800 x 600 bar pixels.
inline float barGoal() {
    const float value = barValueNow();
    return (value < 0.0f ? 0.0f : value) * 3.915f;
}

// Asks for the other window: the setting turns over, the menu sound plays,
// and the shell makes the window again.
uint32_t askFullScreen();
