// The pictures the generator wrote, read back with the game's reader:
// base/texNN.bmp (density 1) and the same pictures drawn twice as large in
// base/2x/ (density 2).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "assets/assets.h"
#include "support/byte_files.h"

struct Bitmap {
    bool ok = false;
    std::string problem;
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;  // row 0 at the top
    size_t fileSize = 0;

    const uint8_t* at(int x, int y) const { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
    int grey(int x, int y) const { return at(x, y)[0]; }
};

inline uint32_t le32(const std::string& b, size_t at) {
    return uint8_t(b[at]) | uint8_t(b[at + 1]) << 8 | uint8_t(b[at + 2]) << 16 | uint32_t(uint8_t(b[at + 3])) << 24;
}


inline std::string picturePath(const std::string& gameDir, int number, int density = 1) {
    char name[32];
    std::snprintf(name, sizeof name, density == 2 ? "/base/2x/tex%02d.bmp" : "/base/tex%02d.bmp", number);
    return gameDir + name;
}

// Read by the game's own reader; the generator writes every picture the one
// way: a 40-byte header, 24 bits, uncompressed, bottom row first.
inline Bitmap decode(const std::string& bytes) {
    Bitmap bmp;
    bmp.fileSize = bytes.size();
    char problem[160] = "";
    RgbImage* image = decodeBitmap(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), problem, sizeof problem);
    if (!image) {
        bmp.problem = problem;
        return bmp;
    }
    const int bits = uint8_t(bytes[28]) | uint8_t(bytes[29]) << 8;
    if (le32(bytes, 14) != 40 || bits != 24 || le32(bytes, 30) != 0 || static_cast<int32_t>(le32(bytes, 22)) <= 0)
        bmp.problem = "not an uncompressed bottom-up 24-bit picture with a 40-byte header";
    bmp.width = image->width;
    bmp.height = image->height;
    const size_t rowBytes = static_cast<size_t>(bmp.width) * 3;
    for (int y = bmp.height - 1; y >= 0; --y)
        bmp.rgb.insert(bmp.rgb.end(), image->pixels + y * rowBytes, image->pixels + (y + 1) * rowBytes);
    freeRgbImage(image);
    bmp.ok = bmp.problem.empty();
    return bmp;
}

inline const Bitmap& picture(int number, int density = 1) {
    static std::map<std::pair<int, int>, Bitmap> cache;
    const auto key = std::make_pair(number, density);
    auto found = cache.find(key);
    if (found == cache.end())
        found = cache.emplace(key, decode(readText(picturePath(VORTIQ_GAME_DIR, number, density)))).first;
    return found->second;
}

struct Size {
    int width, height;
};

// The size each picture is drawn at: close to the size it is shown at, in
// powers of two, so that the mipmap level the game samples is the full one.
inline Size expectedSize(int n) {
    if (n == 0) return {256, 256};
    if (n == 1 || n == 2) return {512, 512};
    if ((n >= 5 && n <= 10) || (n >= 18 && n <= 29) || (n >= 31 && n <= 35) || n == 39) return {128, 32};
    if (n == 3 || n == 30 || n == 52) return {256, 128};
    if (n == 4 || n == 38) return {256, 256};
    if (n >= 11 && n <= 17) return {64, 64};
    if (n == 36 || (n >= 61 && n <= 65)) return {128, 128};
    if (n == 37) return {256, 8};
    if ((n >= 40 && n <= 45) || n == 71 || n == 72 || n == 79 || n == 80) return {256, 32};
    if (n >= 49 && n <= 51) return {64, 128};
    if (n == 58 || n == 59 || n == 60 || n == 74 || n == 75) return {256, 64};
    if (n == 78) return {256, 512};
    if (n == 76 || n == 77) return {64, 64};  // the keyboard's cursor and its mask, over one cell
    return {32, 32};  // the spares nothing shows
}

