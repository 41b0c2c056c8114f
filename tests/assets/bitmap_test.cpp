// The BMP reader, on files composed here in every form it takes, and on
// short, lying and hostile ones.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "assets/assets.h"
#include "assets/support.h"

namespace {

struct ImageFree {
    void operator()(RgbImage* image) const { freeRgbImage(image); }
};
using Image = std::unique_ptr<RgbImage, ImageFree>;

Image decode(const std::vector<uint8_t>& file, std::string* problem = nullptr) {
    char text[200] = "unset";
    Image image(decodeBitmap(file.data(), file.size(), text, sizeof text));
    if (problem) *problem = text;
    return image;
}

// A 16-colour test palette, 0xRRGGBB.
const uint32_t Colours[16] = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
                              0x102030, 0x405060, 0x708090, 0xA0B0C0, 0xD0E0F0, 0x123456, 0x789ABC, 0xFEDCBA};

// The picture every format encodes: a colour index per pixel, y counted from the bottom.
int indexAt(int x, int y, int colours) { return (x + 3 * y) % colours; }

void expectPicture(const RgbImage* image, int width, int height, int colours) {
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

std::vector<uint32_t> palette(int count) { return std::vector<uint32_t>(Colours, Colours + count); }

// A file of the test picture: rows bottom-up, or top-down when asked.
std::vector<uint8_t> pictureFile(BmpLayout layout, int colours, const std::function<uint32_t(uint32_t)>& encode,
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

uint32_t asIs(uint32_t rgb) { return rgb; }

// ---------------------------------------------------------------------------

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
    BmpLayout layout;
    layout.width = 3;
    layout.height = 3;
    layout.bitCount = 32;
    // Blue, green, red and an unused byte that must not leak in.
    expectPicture(decode(pictureFile(layout, 16, [](uint32_t c) { return c | 0xAB000000u; })).get(), 3, 3, 16);
}

TEST(BitmapReader, SixteenBitFiveFiveFive) {
    BmpLayout layout;
    layout.width = 7;
    layout.height = 2;
    layout.bitCount = 16;
    // Only the first eight colours have exact 5-bit forms (0 or 31 in each channel).
    auto encode = [](uint32_t c) {
        return ((c >> 19) & 31) << 10 | ((c >> 11) & 31) << 5 | ((c >> 3) & 31) | 0x8000u;
    };
    expectPicture(decode(pictureFile(layout, 8, encode)).get(), 7, 2, 8);
}

TEST(BitmapReader, SixteenBitFiveSixFiveMasksAfterAFortyByteHeader) {
    BmpLayout layout;
    layout.width = 3;
    layout.height = 2;
    layout.bitCount = 16;
    layout.compression = 3;
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
    BmpLayout layout;
    layout.width = 3;
    layout.height = 2;
    layout.bitCount = 32;
    layout.compression = 6;
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
    BmpLayout layout;
    layout.width = 2;
    layout.height = 1;
    layout.bitCount = 8;
    layout.palette = {0x00FF00, 0xFF0000};
    layout.colorsUsed = 2;
    Image image = decode(composeBmp(layout, {1, 200, 0, 0}));
    ASSERT_NE(image, nullptr);
    const uint8_t want[6] = {255, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::vector<uint8_t>(image->pixels, image->pixels + 6), std::vector<uint8_t>(want, want + 6));
}

// ---------------------------------------------------------------------------
// Run-length encoding

BmpLayout runLengthLayout(int bits, int width, int height) {
    BmpLayout layout;
    layout.width = width;
    layout.height = height;
    layout.bitCount = static_cast<uint16_t>(bits);
    layout.compression = bits == 8 ? 1 : 2;
    layout.palette = palette(16);
    layout.colorsUsed = 16;
    return layout;
}

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

const std::vector<uint8_t> Rle8Picture = {
    3, 1, 0, 3, 2, 3, 1, 0,  // row 0: run of three 1s, then 2, 3, 1 written out (padded)
    0, 0,                    // end of line
    2, 2, 0, 2, 2, 0, 2, 3,  // row 1: two 2s, jump right by two, two 3s
    0, 0,                    //
    9, 4,                    // row 2: nine 4s, clipped at the right edge
    0, 1,                    // end of picture
};

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

std::vector<std::vector<uint8_t>> sampleFiles() {
    std::vector<std::vector<uint8_t>> files;
    BmpLayout rgb;
    rgb.width = 5;
    rgb.height = 3;
    files.push_back(pictureFile(rgb, 16, asIs));
    BmpLayout indexed = rgb;
    indexed.bitCount = 8;
    indexed.palette = palette(16);
    indexed.colorsUsed = 16;
    files.push_back(pictureFile(indexed, 16, asIs));
    files.push_back(composeBmp(runLengthLayout(8, 6, 3), Rle8Picture));
    BmpLayout fields;
    fields.headerSize = 124;
    fields.width = 3;
    fields.height = 2;
    fields.bitCount = 16;
    fields.compression = 3;
    fields.masks[0] = 0xF800, fields.masks[1] = 0x07E0, fields.masks[2] = 0x001F;
    files.push_back(pictureFile(fields, 8, [](uint32_t) { return 0u; }));
    BmpLayout core = indexed;
    core.headerSize = 12;
    core.palette.resize(256, 0);
    core.colorsUsed = 0;
    files.push_back(pictureFile(core, 16, asIs));
    return files;
}

TEST(BitmapReader, EveryShortenedFileGivesNoImage) {
    for (const auto& file : sampleFiles()) {
        std::string whole;
        ASSERT_NE(decode(file, &whole), nullptr) << whole;
        for (size_t size = 0; size < file.size(); ++size) {
            std::vector<uint8_t> cut(file.begin(), file.begin() + size);
            std::string problem;
            EXPECT_EQ(decode(cut, &problem), nullptr) << "cut to " << size << " of " << file.size();
            EXPECT_FALSE(problem.empty() || problem == "unset") << size;
        }
    }
}

TEST(BitmapReader, NoSignatureIsNamed) {
    std::string problem;
    auto file = sampleFiles()[0];
    file[0] = 'P';
    EXPECT_EQ(decode(file, &problem), nullptr);
    EXPECT_EQ(problem, "not a BMP file (no BM signature)");
    EXPECT_EQ(decodeBitmap(nullptr, 0, nullptr, 0), nullptr);
}

void setWord(std::vector<uint8_t>& file, size_t at, uint32_t value) {
    for (int k = 0; k < 4; ++k) file[at + k] = (value >> (8 * k)) & 0xFF;
}

TEST(BitmapReader, LyingHeadersGiveNoImage) {
    const auto good = sampleFiles()[0];  // 40-byte header, 24 bits, 5 x 3
    struct Lie {
        size_t at;
        uint32_t value;
        const char* what;
    };
    const Lie lies[] = {
        {14, 20, "unsupported header size"},
        {14, 0xFFFFFFFF, "unsupported header size"},
        {14, 200, "unsupported header size"},
        {18, 0, "empty picture"},
        {18, static_cast<uint32_t>(-5), "empty picture"},
        {22, 0, "empty picture"},
        {22, 0x80000000u, "larger than"},
        {18, 100000, "larger than"},
        {18, 8193, "larger than"},
        {22, 4097, "larger than"},  // with a width of 4097: too many pixels in all
        {18, 6, "pixel data too short"},
        {22, static_cast<uint32_t>(-4), "pixel data too short"},
        {10, 0xFFFFFF00u, "past the end"},
        {10, 80, "pixel data too short"},
        {28, 7, "unsupported"},       // bit depth
        {30, 4, "unsupported compression"},  // JPEG inside
        {30, 1, "unsupported"},       // run-length with 24 bits
    };
    for (const Lie& lie : lies) {
        auto file = good;
        setWord(file, lie.at, lie.value);
        if (lie.at == 22 && lie.value == 4097) setWord(file, 18, 4097);
        std::string problem;
        EXPECT_EQ(decode(file, &problem), nullptr) << lie.what;
        EXPECT_NE(problem.find(lie.what), std::string::npos) << problem;
    }
}

TEST(BitmapReader, LyingPaletteAndMasksGiveNoImage) {
    BmpLayout layout;
    layout.width = 2;
    layout.height = 1;
    layout.bitCount = 8;
    layout.palette = palette(4);
    layout.colorsUsed = 0xFFFFFFFF;  // claims more than 256: capped, and still the file is too short
    std::string problem;
    EXPECT_EQ(decode(composeBmp(layout, {0, 1, 0, 0}), &problem), nullptr);
    EXPECT_NE(problem.find("palette"), std::string::npos) << problem;

    BmpLayout fields;
    fields.width = 1;
    fields.height = 1;
    fields.bitCount = 16;
    fields.compression = 3;
    fields.masksAfterHeader = true;
    fields.masks[0] = 0xF00F, fields.masks[1] = 0x0FF0, fields.masks[2] = 0;  // holes
    EXPECT_EQ(decode(composeBmp(fields, {0, 0, 0, 0}), &problem), nullptr);
    EXPECT_NE(problem.find("mask"), std::string::npos) << problem;
    fields.masks[0] = 0xFF0000, fields.masks[1] = 0xFF00, fields.masks[2] = 0xFF;  // wider than 16 bits
    EXPECT_EQ(decode(composeBmp(fields, {0, 0, 0, 0}), &problem), nullptr);
    EXPECT_NE(problem.find("mask"), std::string::npos) << problem;
}

TEST(BitmapReader, RunLengthThatRunsOutGivesNoImage) {
    for (const std::vector<uint8_t>& data : {
             std::vector<uint8_t>{2, 1, 0, 0},              // one row of two
             std::vector<uint8_t>{0, 6, 1, 2, 3},           // written-out run cut short
             std::vector<uint8_t>{0, 2, 1},                 // jump cut short
             std::vector<uint8_t>{},                        // nothing at all
         }) {
        std::string problem;
        EXPECT_EQ(decode(composeBmp(runLengthLayout(8, 6, 2), data), &problem), nullptr);
        EXPECT_NE(problem.find("run-length"), std::string::npos) << problem;
    }
}

TEST(BitmapReader, HostileBytesNeverBreakTheReader) {
    std::srand(12345);
    for (const auto& file : sampleFiles()) {
        for (int round = 0; round < 3000; ++round) {
            auto bent = file;
            int changes = 1 + std::rand() % 4;
            for (int c = 0; c < changes; ++c) {
                // Mostly the headers, sometimes the data.
                size_t at = std::rand() % 3 ? std::rand() % std::min<size_t>(bent.size(), 70) : std::rand() % bent.size();
                bent[at] = static_cast<uint8_t>(std::rand());
            }
            Image image = decode(bent);
            if (image) {
                ASSERT_GT(image->width, 0);
                ASSERT_GT(image->height, 0);
                ASSERT_LE(static_cast<int64_t>(image->width) * image->height, MaxBitmapPixels);
            }
        }
    }
}

// ---------------------------------------------------------------------------
// Files

TEST(BitmapFile, ReadsAPictureFromDisk) {
    ScratchDirectory dir;
    BmpLayout layout;
    layout.width = 3;
    layout.height = 5;
    writeFile("base/pic.bmp", pictureFile(layout, 16, asIs));
    Image image(readBitmapFile("base/pic.bmp"));
    expectPicture(image.get(), 3, 5, 16);
}

TEST(BitmapFile, FailuresNameTheFileOnOneLine) {
    ScratchDirectory dir;
    testing::internal::CaptureStderr();
    EXPECT_EQ(readBitmapFile(nullptr), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

    testing::internal::CaptureStderr();
    EXPECT_EQ(readBitmapFile("base/tex05.bmp"), nullptr);
    std::string missing = testing::internal::GetCapturedStderr();
    EXPECT_EQ(missing.rfind("vortiq: base/tex05.bmp: cannot open", 0), 0u) << missing;

    writeText("base/tex06.bmp", "GIF89a and so on");
    testing::internal::CaptureStderr();
    EXPECT_EQ(readBitmapFile("base/tex06.bmp"), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "vortiq: base/tex06.bmp: not a BMP file (no BM signature)\n");

    writeText("base/tex07.bmp", "");
    testing::internal::CaptureStderr();
    EXPECT_EQ(readBitmapFile("base/tex07.bmp"), nullptr);
    std::string empty = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(empty.begin(), empty.end(), '\n'), 1) << empty;
}

}  // namespace
