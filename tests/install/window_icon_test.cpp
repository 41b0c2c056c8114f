// Reading the window icon: the generator's picture, the BMP variants a
// painter program may save, and every kind of damaged file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "shell/window_icon.h"
#include "support/bmp_files.h"
#include "support/byte_files.h"
#include "support/scratch.h"

namespace {

// A picture for the icon reader: 2 x 2 at 32 bits unless said otherwise, its
// pixels in file order, one value each (24 bits: the low three bytes).
struct BmpShape : BmpLayout {
    BmpShape() {
        width = 2;
        height = 2;
        bitCount = 32;
    }
    // Bit-field masks: inside a header longer than 40 bytes, else after it.
    void setMasks(std::initializer_list<uint32_t> given) {
        std::copy(given.begin(), given.end(), masks);
        masksAfterHeader = headerSize == 40;
    }
    std::vector<uint32_t> pixels;
};

std::string makeBmp(const BmpShape& shape) {
    const int rows = std::abs(shape.height);
    const Bytes bytes = composeBmp(shape, packRows(shape.width, rows, shape.bitCount, [&](int x, int row) {
        const size_t at = static_cast<size_t>(row) * shape.width + x;
        return at < shape.pixels.size() ? shape.pixels[at] : 0u;
    }));
    return std::string(bytes.begin(), bytes.end());
}

class WindowIconTest : public ::testing::Test {
protected:
    ScratchFolder scratch{ScratchFolder::StayOutside};
    const std::string path = scratch / "icon.bmp";
    void SetUp() override { ASSERT_TRUE(scratch.ok()) << scratch.why(); }
    void write(const std::string& bytes) { ASSERT_TRUE(writeText(path, bytes)); }
    // The pixel at (x, y), top row 0, as 0xRRGGBBAA.
    static uint32_t pixel(int x, int y) {
        const uint8_t* p = windowIconImage.rgba + (size_t(y) * windowIconImage.width + x) * 4;
        return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
    }
    // Loads a good 2 x 2 picture first, so that a failure must also clear it.
    void loadSomethingFirst() {
        BmpShape good;
        good.pixels = {0xFF112233, 0xFF112233, 0xFF112233, 0xFF112233};
        write(makeBmp(good));
        ASSERT_TRUE(loadWindowIcon(path.c_str()));
    }
    void expectRejected(const std::string& bytes) {
        loadSomethingFirst();
        write(bytes);
        EXPECT_FALSE(loadWindowIcon(path.c_str()));
        EXPECT_EQ(windowIconImage.width, 0);
        EXPECT_EQ(windowIconImage.height, 0);
    }
};

TEST_F(WindowIconTest, TheGeneratedIconIsAGemOnATransparentGround) {
    ASSERT_TRUE(loadWindowIcon(VORTIQ_GAME_DIR "/base/icon.bmp"));
    ASSERT_EQ(windowIconImage.width, 64);
    ASSERT_EQ(windowIconImage.height, 64);
    for (const auto& corner : {std::pair{0, 0}, std::pair{63, 0}, std::pair{0, 63}, std::pair{63, 63}})
        EXPECT_EQ(pixel(corner.first, corner.second) & 0xFF, 0u) << corner.first << "," << corner.second;
    const uint32_t centre = pixel(32, 32);
    EXPECT_EQ(centre & 0xFF, 255u);
    // Violet: more blue than red, more red than green.
    EXPECT_GT((centre >> 8) & 0xFF, centre >> 24);
    EXPECT_GT(centre >> 24, (centre >> 16) & 0xFF);
    // Antialiased: the rim has partly covered pixels.
    int partial = 0;
    for (int x = 0; x < 64; ++x) {
        const uint32_t alpha = pixel(x, 32) & 0xFF;
        partial += alpha > 0 && alpha < 255;
    }
    EXPECT_GE(partial, 2);
}

TEST_F(WindowIconTest, BottomUpRowsArriveTopRowFirst) {
    BmpShape shape;
    shape.pixels = {0xFF0000FF, 0xFF00FF00, 0xFFFF0000, 0x80FFFFFF};  // file order: bottom row first, BGRA
    write(makeBmp(shape));
    ASSERT_TRUE(loadWindowIcon(path.c_str()));
    EXPECT_EQ(pixel(0, 0), 0xFF0000FFu);  // red
    EXPECT_EQ(pixel(1, 0), 0xFFFFFF80u);  // white, half transparent
    EXPECT_EQ(pixel(0, 1), 0x0000FFFFu);  // blue
    EXPECT_EQ(pixel(1, 1), 0x00FF00FFu);  // green
}

TEST_F(WindowIconTest, TopDownRowsKeepTheirOrder) {
    BmpShape shape;
    shape.height = -2;
    shape.pixels = {0xFF0000FF, 0xFF00FF00, 0xFFFF0000, 0xFFFFFFFF};
    write(makeBmp(shape));
    ASSERT_TRUE(loadWindowIcon(path.c_str()));
    EXPECT_EQ(pixel(0, 0), 0x0000FFFFu);
    EXPECT_EQ(pixel(1, 1), 0xFFFFFFFFu);
}

TEST_F(WindowIconTest, TwentyFourBitRowsSkipTheirPaddingAndAreOpaque) {
    BmpShape shape;
    shape.width = 3;  // 9 bytes a row, padded to 12
    shape.height = 2;
    shape.bitCount = 24;
    shape.pixels = {0x000001, 0x000002, 0x000003, 0x0000FF, 0x00FF00, 0xFF0000};
    write(makeBmp(shape));
    ASSERT_TRUE(loadWindowIcon(path.c_str()));
    EXPECT_EQ(pixel(0, 0), 0x0000FFFFu);
    EXPECT_EQ(pixel(1, 0), 0x00FF00FFu);
    EXPECT_EQ(pixel(2, 0), 0xFF0000FFu);
    EXPECT_EQ(pixel(2, 1), 0x000003FFu);
}

TEST_F(WindowIconTest, ThirtyTwoBitsWithoutAnyAlphaAreOpaque) {
    BmpShape shape;
    shape.pixels = {0x00102030, 0x00405060, 0x00708090, 0x00A0B0C0};
    write(makeBmp(shape));
    ASSERT_TRUE(loadWindowIcon(path.c_str()));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x) EXPECT_EQ(pixel(x, y) & 0xFF, 255u);
    EXPECT_EQ(pixel(0, 1), 0x102030FFu);  // stored as blue, green, red
}

TEST_F(WindowIconTest, BitFieldsInAnyOrderAreFollowed) {
    BmpShape shape;
    shape.compression = 3;
    shape.headerSize = 56;  // red, green, blue and alpha masks inside the header
    shape.setMasks({0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000});  // RGBA byte order
    shape.width = 1;
    shape.height = 1;
    shape.pixels = {0x40302010};
    write(makeBmp(shape));
    ASSERT_TRUE(loadWindowIcon(path.c_str()));
    EXPECT_EQ(pixel(0, 0), 0x10203040u);
}

TEST_F(WindowIconTest, NarrowBitFieldsAreScaledToFullRange) {
    BmpShape shape;
    shape.compression = 3;  // masks after a 40-byte header, no alpha: opaque
    shape.setMasks({0x7C00, 0x03E0, 0x001F});
    shape.width = 1;
    shape.height = 1;
    shape.pixels = {0x7C00 | 0x001F};  // full red, full blue, no green
    write(makeBmp(shape));
    ASSERT_TRUE(loadWindowIcon(path.c_str()));
    EXPECT_EQ(pixel(0, 0), 0xFF00FFFFu);
}

TEST_F(WindowIconTest, EveryShortenedFileIsRefused) {
    BmpShape shape;
    shape.width = 3;
    shape.height = 3;
    shape.pixels.assign(9, 0xFF808080);
    const std::string bmp = makeBmp(shape);
    for (size_t length = 0; length < bmp.size(); ++length) {
        SCOPED_TRACE(length);
        expectRejected(bmp.substr(0, length));
    }
}

TEST_F(WindowIconTest, ImpossibleHeadersAreRefused) {
    BmpShape good;
    good.pixels.assign(4, 0xFF808080);
    struct Damage {
        const char* what;
        size_t at;
        uint32_t value;
        int bytes;
    };
    const Damage damages[] = {
        {"not BM", 0, 'X', 1},
        {"zero width", 18, 0, 4},
        {"negative width", 18, uint32_t(-2), 4},
        {"zero height", 22, 0, 4},
        {"most negative height", 22, 0x80000000u, 4},
        {"larger than an icon", 18, WindowIconMaxSide + 1, 4},
        {"two planes", 26, 2, 2},
        {"eight bits a pixel", 28, 8, 2},
        {"run-length compressed", 30, 1, 4},
        {"pixels past the end", 10, 0xFFFFFFF0u, 4},
        {"pixels inside the header", 10, 20, 4},
        {"header longer than the file", 14, 0xFFFFFF00u, 4},
    };
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.what);
        std::string bmp = makeBmp(good);
        for (int i = 0; i < damage.bytes; ++i) bmp[damage.at + i] = char((damage.value >> (8 * i)) & 0xFF);
        expectRejected(bmp);
    }
}

TEST_F(WindowIconTest, BrokenColourMasksAreRefused) {
    BmpShape shape;
    shape.compression = 3;
    shape.setMasks({0x00FF00FF, 0x0000FF00, 0x000000FF});  // red split in two runs
    shape.pixels.assign(4, 0);
    expectRejected(makeBmp(shape));
    shape.setMasks({0, 0x0000FF00, 0x000000FF});  // no red at all
    expectRejected(makeBmp(shape));
}

TEST_F(WindowIconTest, AMissingFileOrAFolderIsRefused) {
    loadSomethingFirst();
    EXPECT_FALSE(loadWindowIcon("/nonexistent/vortiq/icon.bmp"));
    EXPECT_EQ(windowIconImage.width, 0);
    EXPECT_FALSE(loadWindowIcon("/tmp"));
    EXPECT_EQ(windowIconImage.width, 0);
}

TEST_F(WindowIconTest, BytesAfterThePixelsAreIgnored) {
    BmpShape shape;
    shape.pixels = {0xFF0000FF, 0xFF00FF00, 0xFFFF0000, 0xFFFFFFFF};
    std::string bmp = makeBmp(shape);
    bmp.append(1 << 20, '\x7F');
    write(bmp);
    ASSERT_TRUE(loadWindowIcon(path.c_str()));
    EXPECT_EQ(pixel(0, 0), 0xFF0000FFu);
    EXPECT_EQ(pixel(1, 1), 0x00FF00FFu);
}

TEST_F(WindowIconTest, PixelsBeyondTheLargestIconFileAreRefused) {
    BmpShape shape;
    shape.pixels.assign(4, 0xFF808080);
    std::string bmp = makeBmp(shape);
    const uint32_t farOffset = 1 << 20;
    for (int i = 0; i < 4; ++i) bmp[10 + i] = char((farOffset >> (8 * i)) & 0xFF);
    bmp.resize(farOffset, '\0');
    bmp.append(16, '\x7F');
    expectRejected(bmp);
}

TEST_F(WindowIconTest, ApplyingWithoutAFileLeavesNoIconAndCarriesOn) {
    ScratchFolder folder;
    ASSERT_TRUE(folder.ok()) << folder.why();
    loadSomethingFirst();
    applyWindowIcon();
    EXPECT_EQ(windowIconImage.width, 0);
    ASSERT_TRUE(folder.leave());
}

}  // namespace
