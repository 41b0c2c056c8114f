// The BMP reader on short, lying and hostile files, and reading from disk.
#include <gtest/gtest.h>

#include <cstdlib>

#include "assets/bitmap_samples.h"

namespace {

using namespace bitmaps;

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
    BmpLayout layout = layoutOf(2, 1, 8);
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
    ASSERT_TRUE(writeBytes("base/pic.bmp", pictureFile(layout, 16, asIs)));
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

    ASSERT_TRUE(writeText("base/tex06.bmp", "GIF89a and so on"));
    testing::internal::CaptureStderr();
    EXPECT_EQ(readBitmapFile("base/tex06.bmp"), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "vortiq: base/tex06.bmp: not a BMP file (no BM signature)\n");

    ASSERT_TRUE(writeText("base/tex07.bmp", ""));
    testing::internal::CaptureStderr();
    EXPECT_EQ(readBitmapFile("base/tex07.bmp"), nullptr);
    std::string empty = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(empty.begin(), empty.end(), '\n'), 1) << empty;
}

}  // namespace
