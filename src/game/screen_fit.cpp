// The layout on the screen: scaled by one factor to the largest size that
// fits the window's drawable, centred, and mouse points taken back to it.
#include <cmath>

#include "game/screen_geometry.h"

ScreenFit fitLayout(int layoutWidth, int layoutHeight, int windowWidth, int windowHeight, int drawableWidth,
                    int drawableHeight) {
    ScreenFit fit = {};
    fit.layoutWidth = layoutWidth;
    fit.layoutHeight = layoutHeight;
    fit.windowWidth = windowWidth > 0 ? windowWidth : 0;
    fit.windowHeight = windowHeight > 0 ? windowHeight : 0;
    fit.drawableWidth = drawableWidth > 0 ? drawableWidth : 0;
    fit.drawableHeight = drawableHeight > 0 ? drawableHeight : 0;
    if (layoutWidth <= 0 || layoutHeight <= 0) return fit;
    const double across = static_cast<double>(fit.drawableWidth) / layoutWidth;
    const double down = static_cast<double>(fit.drawableHeight) / layoutHeight;
    const double scale = across < down ? across : down;
    // The side that decides the scale fills the drawable exactly.
    fit.pictureWidth = across <= down ? fit.drawableWidth : static_cast<int32_t>(std::lround(layoutWidth * scale));
    fit.pictureHeight = down <= across ? fit.drawableHeight : static_cast<int32_t>(std::lround(layoutHeight * scale));
    fit.pictureX = (fit.drawableWidth - fit.pictureWidth) / 2;
    fit.pictureY = (fit.drawableHeight - fit.pictureHeight) / 2;
    fit.scale = static_cast<float>(scale);
    return fit;
}

bool windowToLayout(const ScreenFit& fit, int x, int y, int32_t* layoutX, int32_t* layoutY) {
    *layoutX = MouseOutsidePicture;
    *layoutY = MouseOutsidePicture;
    // Nothing fitted yet: the layout is shown at its own size.
    if (fit.layoutWidth <= 0) {
        *layoutX = x;
        *layoutY = y;
        return true;
    }
    if (fit.pictureWidth <= 0 || fit.pictureHeight <= 0 || fit.windowWidth <= 0 || fit.windowHeight <= 0) return false;
    // The middle of the point's area in drawable pixels, top-down.
    const double px = (x + 0.5) * fit.drawableWidth / fit.windowWidth;
    const double py = (y + 0.5) * fit.drawableHeight / fit.windowHeight;
    const double top = fit.drawableHeight - fit.pictureY - fit.pictureHeight;
    const double lx = std::floor((px - fit.pictureX) * fit.layoutWidth / fit.pictureWidth);
    const double ly = std::floor((py - top) * fit.layoutHeight / fit.pictureHeight);
    if (lx < 0 || ly < 0 || lx >= fit.layoutWidth || ly >= fit.layoutHeight) return false;
    *layoutX = static_cast<int32_t>(lx);
    *layoutY = static_cast<int32_t>(ly);
    return true;
}

int wholeWindowFactor(int layoutWidth, int layoutHeight, int usableWidth, int usableHeight) {
    int factor = 1;
    while (layoutWidth * (factor + 1) <= usableWidth && layoutHeight * (factor + 1) <= usableHeight) ++factor;
    return factor;
}
