// The BMP reader, on files composed here in every form it takes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "assets/bitmap_samples.h"

namespace {

using namespace bitmaps;

TEST(BitmapReader, BottomRowComesFirstInRgbOrder) {
    BmpLayout layout;
    layout.width = 4;
    layout.height = 2;
    auto file = composeBmp(layout, packRows(4, 2, 24, [](int x, int row) {
                               return row == 0 && x == 0 ? 0x0000FFu : 0xFFFFFFu;  // bottom-left is blue
                           }));
    Image image = decode(file);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, 4);
    EXPECT_EQ(image->height, 2);
    EXPECT_EQ(image->pixels[0], 0);
    EXPECT_EQ(image->pixels[1], 0);
    EXPECT_EQ(image->pixels[2], 255);
    EXPECT_EQ(image->pixels[3], 255);
}

TEST(BitmapReader, PaddedRowsArePackedTightly) {
    BmpLayout layout;
    layout.width = 3;
    layout.height = 2;
    auto file = pictureFile(layout, 16, asIs);
    ASSERT_EQ(file.size(), 54u + 2 * 12);  // rows padded to 12 bytes in the file
    Image image = decode(file);
    expectPicture(image.get(), 3, 2, 16);  // rows of 9 bytes
}

TEST(BitmapReader, TwentyFourBitTopDown) {
    BmpLayout layout;
    layout.width = 5;
    layout.height = 3;
    expectPicture(decode(pictureFile(layout, 16, asIs, true)).get(), 5, 3, 16);
}

TEST(BitmapReader, ThirtyTwoBitWithoutMasks) {
    BmpLayout layout = layoutOf(3, 3, 32);
    // Blue, green, red and an unused byte that must not leak in.
    expectPicture(decode(pictureFile(layout, 16, [](uint32_t c) { return c | 0xAB000000u; })).get(), 3, 3, 16);
}

TEST(BitmapReader, SixteenBitFiveFiveFive) {
    BmpLayout layout = layoutOf(7, 2, 16);
    // Only the first eight colours have exact 5-bit forms (0 or 31 in each channel).
    auto encode = [](uint32_t c) {
        return ((c >> 19) & 31) << 10 | ((c >> 11) & 31) << 5 | ((c >> 3) & 31) | 0x8000u;
    };
    expectPicture(decode(pictureFile(layout, 8, encode)).get(), 7, 2, 8);
}

TEST(BitmapReader, SixteenBitFiveSixFiveMasksAfterAFortyByteHeader) {
    BmpLayout layout = layoutOf(3, 2, 16, 3);
    layout.masks[0] = 0xF800, layout.masks[1] = 0x07E0, layout.masks[2] = 0x001F;
    layout.masksAfterHeader = true;
    auto encode = [](uint32_t c) { return ((c >> 19) & 31) << 11 | ((c >> 10) & 63) << 5 | ((c >> 3) & 31); };
    expectPicture(decode(pictureFile(layout, 8, encode)).get(), 3, 2, 8);

    // Middle values are widened to the full 0..255 range: 6-bit 32 is 130, 5-bit 16 is 132.
    layout.width = layout.height = 1;
    auto file = composeBmp(layout, packRows(1, 1, 16, [](int, int) { return 16u << 11 | 32u << 5 | 31u; }));
    std::string problem;
    Image image = decode(file, &problem);
    ASSERT_NE(image, nullptr) << problem;
    EXPECT_EQ(image->pixels[0], 132);
    EXPECT_EQ(image->pixels[1], 130);
    EXPECT_EQ(image->pixels[2], 255);
}

TEST(BitmapReader, ThirtyTwoBitMasksInVersionFourAndFiveHeaders) {
    for (uint32_t headerSize : {108u, 124u}) {
        BmpLayout layout;
        layout.headerSize = headerSize;
        layout.width = 4;
        layout.height = 3;
        layout.bitCount = 32;
        layout.compression = 3;
        // Red in the lowest byte, then green, then blue, alpha on top.
        layout.masks[0] = 0x000000FF, layout.masks[1] = 0x0000FF00, layout.masks[2] = 0x00FF0000;
        layout.masks[3] = 0xFF000000;
        auto encode = [](uint32_t c) { return (c >> 16) | (c & 0xFF00) | (c & 0xFF) << 16 | 0x7F000000u; };
        expectPicture(decode(pictureFile(layout, 16, encode, headerSize == 124)).get(), 4, 3, 16);
    }
}

TEST(BitmapReader, AlphaBitfieldsAndSmallerHeaders) {
    BmpLayout layout = layoutOf(3, 2, 32, 6);
    layout.masksAfterHeader = true;
    layout.masks[0] = 0xFF0000, layout.masks[1] = 0xFF00, layout.masks[2] = 0xFF, layout.masks[3] = 0xFF000000;
    expectPicture(decode(pictureFile(layout, 16, asIs)).get(), 3, 2, 16);

    for (uint32_t headerSize : {52u, 56u}) {
        BmpLayout inHeader = layout;
        inHeader.headerSize = headerSize;
        inHeader.compression = 3;
        inHeader.masksAfterHeader = false;
        expectPicture(decode(pictureFile(inHeader, 16, asIs)).get(), 3, 2, 16);
    }
}

// The alpha comes with the picture where it has one (the window icon reads
// it), bottom row first like the colours; elsewhere there is none.
TEST(BitmapReader, TheAlphaOfPicturesThatHaveOne) {
    BmpLayout layout = layoutOf(2, -2, 32);  // top-down rows
    // Each pixel's alpha byte tells its place in the file.
    auto alphaOf = [](int x, int row) { return uint32_t(0x10 * (2 * row + x) + 1); };
    const auto alphaOnly = [&](int x, int row) { return alphaOf(x, row) << 24; };
    Image image = decode(composeBmp(layout, packRows(2, 2, 32, alphaOnly)));
    ASSERT_NE(image, nullptr);
    ASSERT_NE(image->alpha, nullptr);
    EXPECT_EQ(image->alpha[0], alphaOf(0, 1)) << "the bottom row first";
    EXPECT_EQ(image->alpha[3], alphaOf(1, 0));

    BmpLayout sixteen;
    sixteen.headerSize = 56;  // red, green, blue and a one-bit alpha mask in the header
    sixteen.width = 2;
    sixteen.bitCount = 16;
    sixteen.compression = 3;
    sixteen.masks[0] = 0x7C00, sixteen.masks[1] = 0x03E0, sixteen.masks[2] = 0x001F, sixteen.masks[3] = 0x8000;
    image = decode(composeBmp(sixteen, packRows(2, 1, 16, [](int x, int) { return x ? 0x801Fu : 0x001Fu; })));
    ASSERT_NE(image, nullptr);
    ASSERT_NE(image->alpha, nullptr);
    EXPECT_EQ(image->alpha[0], 0);
    EXPECT_EQ(image->alpha[1], 255);
    EXPECT_EQ(image->pixels[5], 255) << "the colour is read as before";

    sixteen.masks[3] = 0x9000;  // holes: the picture stays, without alpha
    image = decode(composeBmp(sixteen, packRows(2, 1, 16, [](int, int) { return 0x001Fu; })));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->alpha, nullptr);

    BmpLayout plain;
    plain.width = 2;
    image = decode(composeBmp(plain, packRows(2, 1, 24, [](int, int) { return 0xFFFFFFu; })));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->alpha, nullptr) << "24 bits have no alpha";
    plain.bitCount = 32;
    plain.compression = 3;
    plain.masksAfterHeader = true;  // three masks after a 40-byte header: no alpha among them
    plain.masks[0] = 0xFF0000, plain.masks[1] = 0xFF00, plain.masks[2] = 0xFF;
    image = decode(composeBmp(plain, packRows(2, 1, 32, [](int, int) { return 0xFF000000u; })));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->alpha, nullptr);
}

class PaletteDepth : public ::testing::TestWithParam<int> {};

TEST_P(PaletteDepth, DecodesThroughThePalette) {
    const int bits = GetParam();
    const int colours = bits >= 4 ? 16 : 1 << bits;
    for (int width : {1, 13, 32}) {
        BmpLayout layout;
        layout.width = width;
        layout.height = 3;
        layout.bitCount = static_cast<uint16_t>(bits);
        layout.palette = palette(colours);
        layout.colorsUsed = bits == 8 ? colours : 0;
        expectPicture(decode(pictureFile(layout, colours, asIs)).get(), width, 3, colours);
        expectPicture(decode(pictureFile(layout, colours, asIs, true)).get(), width, 3, colours);
    }
}

INSTANTIATE_TEST_SUITE_P(Bits, PaletteDepth, ::testing::Values(1, 2, 4, 8));

TEST(BitmapReader, CoreHeaderPicturesWithThreeBytePalettes) {
    for (int bits : {1, 4, 8, 24}) {
        const int colours = bits == 1 ? 2 : 16;
        BmpLayout layout;
        layout.headerSize = 12;
        layout.width = 6;
        layout.height = 4;
        layout.bitCount = static_cast<uint16_t>(bits);
        if (bits <= 8) {
            layout.palette = palette(colours);
            layout.palette.resize(1 << bits, 0);  // a core palette always has 2^bits entries
        }
        expectPicture(decode(pictureFile(layout, colours, asIs)).get(), 6, 4, colours);
    }
}

TEST(BitmapReader, IndexBeyondAShortPaletteIsBlack) {
    BmpLayout layout = layoutOf(2, 1, 8);
    layout.palette = {0x00FF00, 0xFF0000};
    layout.colorsUsed = 2;
    Image image = decode(composeBmp(layout, {1, 200, 0, 0}));
    ASSERT_NE(image, nullptr);
    const uint8_t want[6] = {255, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::vector<uint8_t>(image->pixels, image->pixels + 6), std::vector<uint8_t>(want, want + 6));
}

// ---------------------------------------------------------------------------
// Run-length encoding


std::vector<int> indices(const RgbImage* image) {
    std::vector<int> out;
    for (int i = 0; i < image->width * image->height; ++i) {
        uint32_t rgb = image->pixels[i * 3] << 16 | image->pixels[i * 3 + 1] << 8 | image->pixels[i * 3 + 2];
        int found = -1;
        for (int k = 0; k < 16 && found < 0; ++k)
            if (Colours[k] == rgb) found = k;
        out.push_back(found);
    }
    return out;
}


TEST(BitmapReader, RunLengthEightBit) {
    Image image = decode(composeBmp(runLengthLayout(8, 6, 3), Rle8Picture));
    ASSERT_NE(image, nullptr);
    // Pixels the jump passes over are black (index 0 of this palette).
    const std::vector<int> want = {1, 1, 1, 2, 3, 1,  //
                                   2, 2, 0, 0, 3, 3,  //
                                   4, 4, 4, 4, 4, 4};
    EXPECT_EQ(indices(image.get()), want);
}

TEST(BitmapReader, RunLengthFourBit) {
    const std::vector<uint8_t> data = {
        5, 0x12,                 // row 0: 1 2 1 2 1
        0, 0,                    //
        0, 3, 0x34, 0x50,        // row 1: 3 4 5 written out (two bytes, already even)
        2, 0x66,                 // then 6 6
        0, 0,                    //
        0, 2, 1, 1,              // jump to row 3, column 1
        4, 0xF8,                 // F 8 F 8
        0, 1,                    // end of picture: the rest stays black
    };
    Image image = decode(composeBmp(runLengthLayout(4, 5, 4), data));
    ASSERT_NE(image, nullptr);
    const std::vector<int> want = {1, 2, 1, 2, 1,  //
                                   3, 4, 5, 6, 6,  //
                                   0, 0, 0, 0, 0,  //
                                   0, 15, 8, 15, 8};
    EXPECT_EQ(indices(image.get()), want);
}

TEST(BitmapReader, RunLengthJumpsAndRunsBeyondThePictureAreClipped) {
    const std::vector<uint8_t> data = {
        0, 5, 1, 2, 3, 4, 5, 0,  // five written out in a picture two wide
        255, 7,                  // a long run past the edge
        0, 2, 255, 255,          // a jump far outside
        4, 4, 0, 1,
    };
    Image image = decode(composeBmp(runLengthLayout(8, 2, 2), data));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(indices(image.get()), (std::vector<int>{1, 2, 0, 0}));
}

// ---------------------------------------------------------------------------
// Short, lying and hostile files

}  // namespace
