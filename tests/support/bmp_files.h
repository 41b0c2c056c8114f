// BMP files composed field by field, for the readers' tests and for pictures
// made up on the spot.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

struct BmpLayout {
    uint32_t headerSize = 40;   // 12, 40, 108, 124 ...
    int32_t width = 1;
    int32_t height = 1;         // negative: top-down rows
    uint16_t bitCount = 24;
    uint32_t compression = 0;
    std::vector<uint32_t> palette;  // 0xRRGGBB per entry
    uint32_t colorsUsed = 0;
    uint32_t masks[4] = {0, 0, 0, 0};  // red, green, blue, alpha (BITFIELDS)
    bool masksAfterHeader = false;     // a 40-byte header's masks follow it
};

// The whole file: file header, information header, masks, palette, then the
// pixel data exactly as given (the offset field points at it).
std::vector<uint8_t> composeBmp(const BmpLayout& layout, const std::vector<uint8_t>& pixelData);

// Rows in file order, each padded to 4 bytes. value(x, row) is the raw pixel:
// a palette index, a 16- or 32-bit word, or 0xRRGGBB for 24 bits. Row 0 is
// the first row stored.
std::vector<uint8_t> packRows(int width, int height, int bits, const std::function<uint32_t(int, int)>& value);
