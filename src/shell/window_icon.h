// The game window's icon: the gem picture of base/icon.bmp.
#pragma once

#include <cstdint>

constexpr int WindowIconMaxSide = 256;

// The icon as the window system takes it: width x height pixels, 4 bytes each
// (red, green, blue, alpha), top row first. width is 0 while none is loaded.
struct WindowIconImage {
    int32_t width;
    int32_t height;
    uint8_t rgba[WindowIconMaxSide * WindowIconMaxSide * 4];
};
extern WindowIconImage windowIconImage;

// Reads an uncompressed 24- or 32-bit BMP (plain or with bit fields, bottom-up
// or top-down, at most WindowIconMaxSide on a side) into windowIconImage.
// Anything else, or a file cut short, gives false and an empty image.
bool loadWindowIcon(const char* path);

// Gives base/icon.bmp to the window system for the game window (the one that
// exists and every one made later). Without a usable file the desktop's
// default icon stays and the game goes on.
void applyWindowIcon();
