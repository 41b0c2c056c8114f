// Pictures the BMP reader tests compose: a 16-colour test picture in every
// form the reader takes, and decoding into an image that frees itself.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "assets/assets.h"
#include "assets/support.h"

namespace bitmaps {

struct ImageFree {
    void operator()(RgbImage* image) const { freeRgbImage(image); }
};
using Image = std::unique_ptr<RgbImage, ImageFree>;

inline Image decode(const std::vector<uint8_t>& file, std::string* problem = nullptr) {
    char text[200] = "unset";
    Image image(decodeBitmap(file.data(), file.size(), text, sizeof text));
    if (problem) *problem = text;
    return image;
}

// A 16-colour test palette, 0xRRGGBB.
inline const uint32_t Colours[16] = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF,
                                     0x00FFFF, 0xFFFFFF, 0x102030, 0x405060, 0x708090, 0xA0B0C0,
                                     0xD0E0F0, 0x123456, 0x789ABC, 0xFEDCBA};

// The picture every format encodes: a colour index per pixel, y counted from the bottom.
inline int indexAt(int x, int y, int colours) { return (x + 3 * y) % colours; }

inline void expectPicture(const RgbImage* image, int width, int height, int colours) {
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(image->width, width);
    ASSERT_EQ(image->height, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint8_t* p = image->pixels + (y * width + x) * 3;
            uint32_t want = Colours[indexAt(x, y, colours)];
            ASSERT_EQ(uint32_t(p[0] << 16 | p[1] << 8 | p[2]), want) << "at " << x << "," << y;
        }
    }
}

inline std::vector<uint32_t> palette(int count) { return std::vector<uint32_t>(Colours, Colours + count); }

// A file of the test picture: rows bottom-up, or top-down when asked.
inline std::vector<uint8_t> pictureFile(BmpLayout layout, int colours, const std::function<uint32_t(uint32_t)>& encode,
                                 bool topDown = false) {
    const int height = layout.height;
    if (topDown) layout.height = -height;
    auto value = [&](int x, int row) {
        int y = topDown ? height - 1 - row : row;
        uint32_t colour = Colours[indexAt(x, y, colours)];
        return layout.bitCount <= 8 ? static_cast<uint32_t>(indexAt(x, y, colours)) : encode(colour);
    };
    return composeBmp(layout, packRows(layout.width, height, layout.bitCount, value));
}

inline uint32_t asIs(uint32_t rgb) { return rgb; }

// ---------------------------------------------------------------------------

// A width x height picture of `bits` bits a pixel with the given compression.
inline BmpLayout layoutOf(int width, int height, uint16_t bits, uint32_t compression = 0) {
    BmpLayout layout;
    layout.width = width;
    layout.height = height;
    layout.bitCount = bits;
    layout.compression = compression;
    return layout;
}

inline BmpLayout runLengthLayout(int bits, int width, int height) {
    BmpLayout layout;
    layout.width = width;
    layout.height = height;
    layout.bitCount = static_cast<uint16_t>(bits);
    layout.compression = bits == 8 ? 1 : 2;
    layout.palette = palette(16);
    layout.colorsUsed = 16;
    return layout;
}

inline const std::vector<uint8_t> Rle8Picture = {
    3, 1, 0, 3, 2, 3, 1, 0,  // row 0: run of three 1s, then 2, 3, 1 written out (padded)
    0, 0,                    // end of line
    2, 2, 0, 2, 2, 0, 2, 3,  // row 1: two 2s, jump right by two, two 3s
    0, 0,                    //
    9, 4,                    // row 2: nine 4s, clipped at the right edge
    0, 1,                    // end of picture
};

}  // namespace bitmaps
