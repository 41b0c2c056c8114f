// Where a layout pixel shows on the screen: the inverse of windowToLayout,
// worked out independently for the tests that point at things where they are drawn.
#pragma once

#include "game/game.h"

struct WindowPoint {
    int x, y;  // window points, origin top left
};

// The window point at the middle of where layout pixel (x, y) is drawn.
inline WindowPoint drawnAt(const ScreenFit& fit, double x, double y) {
    const double px = fit.pictureX + (x + 0.5) * fit.pictureWidth / fit.layoutWidth;
    const double top = fit.drawableHeight - fit.pictureY - fit.pictureHeight;
    const double py = top + (y + 0.5) * fit.pictureHeight / fit.layoutHeight;
    return {static_cast<int>(px * fit.windowWidth / fit.drawableWidth),
            static_cast<int>(py * fit.windowHeight / fit.drawableHeight)};
}
