// Test helpers: a scratch working directory, BMP files composed field by
// field, and a message-box catcher (whole files: support/byte_files.h).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "support/byte_files.h"
#include "support/scratch.h"

// Makes a fresh directory with an empty base/ in it and works there until destroyed.
class ScratchDirectory : public ScratchFolder {
public:
    ScratchDirectory() {
        if (!ok()) ADD_FAILURE() << "cannot make a scratch directory: " << why();
    }
};


// ---------------------------------------------------------------------------
// BMP files

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

// ---------------------------------------------------------------------------
// A full set of 81 small pictures in base/: tex00 is a font whose 16 x 16
// cells each have one colour, fontCellColour(cell); every other picture is
// 8 x 8 of pictureColour(NN), and the first gem's (tex11) is pure red.

constexpr int RedPicture = 11;
uint32_t fontCellColour(int cell);
uint32_t pictureColour(int nn);
std::vector<uint8_t> plainPicture(uint32_t colour, int width, int height);
void writePictureSet(int missing = -1);  // leaves out base/texNN.bmp for NN == missing

// ---------------------------------------------------------------------------
// Message boxes

struct ShownMessage {
    std::string text;
    std::string caption;
    MessageButtons buttons;
};

// Answers every message box with its default and keeps what was shown.
class MessageCatcher {
public:
    MessageCatcher();
    ~MessageCatcher();
    static std::vector<ShownMessage> shown;
};
