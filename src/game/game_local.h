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
