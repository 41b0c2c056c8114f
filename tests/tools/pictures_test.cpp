// The pictures the generator wrote into the run directory, read back with
// the game's reader.
#include <gtest/gtest.h>

#include "tools/picture_files.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "assets/assets.h"
#include "game/game.h"

namespace {

TEST(PictureFiles, AllEightyOneDecodeAtTheirSizes) {
    long texels = 0;
    for (int n = 0; n <= 80; ++n) {
        const Bitmap& bmp = picture(n);
        ASSERT_TRUE(bmp.ok) << "tex" << n << ": " << bmp.problem;
        EXPECT_EQ(bmp.width % 4, 0) << "tex" << n << ": rows must need no padding";
        EXPECT_EQ(bmp.width, expectedSize(n).width) << "tex" << n;
        EXPECT_EQ(bmp.height, expectedSize(n).height) << "tex" << n;
        EXPECT_EQ(bmp.fileSize, 54u + size_t(bmp.width) * 3 * bmp.height) << "tex" << n;
        texels += long(bmp.width) * bmp.height;
    }
    EXPECT_LT(texels, 2'000'000) << "every texel costs start-up time";
}

// --- sprites -------------------------------------------------------------------

struct SpriteFamily {
    int mask;
    std::vector<int> pictures;
};

const std::vector<SpriteFamily> Families = {
    {1, {2}}, {6, {7, 8, 9, 18, 19, 20, 21, 22, 23}}, {10, {24, 25, 26, 27, 28, 29}},
    {31, {32, 33, 34, 35, 5, 39}}, {51, {49, 50}},
};

TEST(SpriteMasks, PicturesArePremultipliedByTheirMasksAlpha) {
    for (int density : {1, 2}) {
        for (const SpriteFamily& family : Families) {
            SCOPED_TRACE(testing::Message() << "density " << density);
            const Bitmap& mask = picture(family.mask, density);
            int white = 0, black = 0;
            for (int y = 0; y < mask.height; ++y) {
                for (int x = 0; x < mask.width; ++x) {
                    const uint8_t* m = mask.at(x, y);
                    ASSERT_TRUE(m[0] == m[1] && m[1] == m[2]) << "mask " << family.mask << " is grey";
                    white += m[0] == 255;
                    black += m[0] == 0;
                }
            }
            EXPECT_GT(white, mask.width * mask.height / 20) << "mask " << family.mask << " keeps some background";
            EXPECT_GT(black, mask.width * mask.height / 5) << "mask " << family.mask << " covers the sprite";
            for (int number : family.pictures) {
                const Bitmap& bmp = picture(number, density);
                ASSERT_EQ(bmp.width, mask.width);
                ASSERT_EQ(bmp.height, mask.height);
                int faults = 0;
                for (int y = 0; y < bmp.height; ++y)
                    for (int x = 0; x < bmp.width; ++x)
                        for (int c = 0; c < 3; ++c)
                            if (bmp.at(x, y)[c] > 255 - mask.grey(x, y) + 1) ++faults;
                EXPECT_EQ(faults, 0) << "picture " << number << " is brighter than mask " << family.mask << " lets it be";
            }
        }
    }
}

// A point given in the units a sprite is shown at (origin top left).
int maskAt(int mask, float x, float y, float shownW, float shownH) {
    const Bitmap& bmp = picture(mask);
    return bmp.grey(static_cast<int>(x / shownW * bmp.width), static_cast<int>(y / shownH * bmp.height));
}

TEST(SpriteMasks, ButtonsAreSolidWhereTheyAreClicked) {
    // Hit rectangles relative to the 120 x 40 quads, with a margin for the
    // rounded corners.
    for (float x = 10; x <= 105; x += 5) {
        EXPECT_EQ(maskAt(6, x, 20, 120, 40), 0) << x;
        if (x <= 98) {
            EXPECT_EQ(maskAt(10, x, 15, 120, 40), 0) << x;
        }
        EXPECT_EQ(maskAt(31, x + 10, 16, 128, 32), 0) << x;
    }
    for (float y = 10; y <= 100; y += 10) EXPECT_EQ(maskAt(51, 40, y, 80, 120), 0) << y;
}

TEST(SpriteMasks, ModeButtonsLeaveTheirOverlapClear) {
    // The levels and timed quads overlap by their bottom five units.
    for (float x = 1; x < 120; x += 3) {
        EXPECT_EQ(maskAt(10, x, 36, 120, 40), 255) << x;
        EXPECT_EQ(maskAt(10, x, 39, 120, 40), 255) << x;
    }
}

TEST(FramePicture, OpeningShowsTheWholeFieldAndNothingElse) {
    // Points in the 640 x 480 window, top-down.
    auto frameMask = [](float x, float y) { return maskAt(1, x, y, 640, 480); };
    for (float x = 196; x <= 602; x += 29)
        for (float y = 30; y <= 434; y += 29) EXPECT_EQ(frameMask(x, y), 255) << x << "," << y;
    // The panel, the score and level readouts, the bar's trough.
    for (const auto& p : std::vector<std::pair<float, float>>{{20, 240}, {120, 33}, {600, 466}, {400, 466}, {625, 240},
                                                               {400, 8}, {180, 240}}) {
        EXPECT_EQ(frameMask(p.first, p.second), 0) << p.first << "," << p.second;
        const uint8_t* shown = picture(2).at(int(p.first * 0.8f), int(p.second * 512 / 480));
        EXPECT_GT(shown[0] + shown[1] + shown[2], 0) << p.first << "," << p.second;
    }
}

// --- font ------------------------------------------------------------------------

TEST(FontPicture, EveryPrintableCodeHasAGlyphInsideItsAdvance) {
    for (int d : {1, 2}) {
        SCOPED_TRACE(testing::Message() << "density " << d);
        const Bitmap& font = picture(0, d);
        ASSERT_TRUE(font.ok);
        const int side = 16 * d;
        for (int cell = 0; cell < 256; ++cell) {
            const int left = (cell % 16) * side, top = (cell / 16) * side;
            const int code = 32 + cell % 128;
            const bool printable = code > 32 && code < 127;
            int ink = 0, strayInk = 0, coloured = 0;
            for (int y = 0; y < side; ++y) {
                for (int x = 0; x < side; ++x) {
                    const uint8_t* p = font.at(left + x, top + y);
                    coloured += !(p[0] == p[1] && p[1] == p[2]);
                    ink += p[0] > 128;
                    // The next glyph starts 14/19 of a cell to the right, and
                    // filtering reaches into neighbouring cells.
                    if ((x >= 12 * d || y < d || y >= 15 * d) && p[0] > 48) ++strayInk;
                }
            }
            EXPECT_EQ(coloured, 0) << "cell " << cell << " is white on black";
            if (code == FreeNamePlace) {
                // The free place of a name: see below.
            } else if (printable) {
                EXPECT_GT(ink, code == '.' || code == '\'' || code == ',' || code == '`' || code == '-' ? 1 : 5) << "cell " << cell;
            } else {
                EXPECT_EQ(ink, 0) << "cell " << cell << " is reached by no character";
            }
            EXPECT_EQ(strayInk, 0) << "cell " << cell;
        }
    }
}

// FreeNamePlace fills the free places of a name ("GEM$$$$$$"); it shows as a
// small, faint dot on the baseline, centred under where a letter stands.
TEST(FontPicture, TheFreePlaceOfANameIsAFaintDotOnTheBaseline) {
    const Bitmap& font = picture(0);
    for (int set = 0; set < 2; ++set) {
        // Where the letters of this set stand: the columns of 'H' and 'M'.
        auto inkBox = [&](char c, int threshold, int box[4]) {
            const int cell = c - 32 + 128 * set;
            box[0] = box[2] = 16;
            box[1] = box[3] = -1;
            int brightest = 0;
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x) {
                    const int v = font.at((cell % 16) * 16 + x, (cell / 16) * 16 + y)[0];
                    brightest = std::max(brightest, v);
                    if (v <= threshold) continue;
                    box[0] = std::min(box[0], x), box[1] = std::max(box[1], x);
                    box[2] = std::min(box[2], y), box[3] = std::max(box[3], y);
                }
            return brightest;
        };
        int letter[4], dot[4];
        inkBox('H', 128, letter);
        const int brightest = inkBox(FreeNamePlace, 24, dot);
        ASSERT_GE(dot[1], 0) << "set " << set << ": the free place shows nothing";
        EXPECT_GT(brightest, 64) << "set " << set << ": too faint to see";
        EXPECT_LT(brightest, 160) << "set " << set << ": as bright as a letter";
        EXPECT_LE(dot[1] - dot[0], 3) << "set " << set << ": wider than a dot";
        EXPECT_LE(dot[3] - dot[2], 3) << "set " << set << ": taller than a dot";
        EXPECT_EQ(dot[3], letter[3]) << "set " << set << ": not on the baseline";
        EXPECT_LE(std::abs((dot[0] + dot[1]) - (letter[0] + letter[1])), 2) << "set " << set << ": off centre";
    }
}

TEST(FontPicture, DigitsShareOneBaselineWithRoomForDescenders) {
    const Bitmap& font = picture(0);
    for (int set = 0; set < 2; ++set) {
        for (char c : std::string("0123456789Hg")) {
            const int cell = c - 32 + 128 * set;
            int lowest = -1;
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x)
                    if (font.at((cell % 16) * 16 + x, (cell / 16) * 16 + y)[0] > 128) lowest = y;
            if (c == 'g')
                EXPECT_GT(lowest, 12) << "descender of set " << set;
            else
                EXPECT_EQ(lowest, 11) << c << " in set " << set;
        }
    }
}

// --- board pictures ------------------------------------------------------------

struct Mean {
    double r = 0, g = 0, b = 0;
};

Mean meanOf(const Bitmap& bmp) {
    Mean m;
    for (int y = 0; y < bmp.height; ++y)
        for (int x = 0; x < bmp.width; ++x) {
            m.r += bmp.at(x, y)[0];
            m.g += bmp.at(x, y)[1];
            m.b += bmp.at(x, y)[2];
        }
    const double n = double(bmp.width) * bmp.height;
    return {m.r / n, m.g / n, m.b / n};
}

TEST(BoardPictures, GemsAreBrightAndEasyToTellApart) {
    std::vector<Mean> means;
    for (int n = 11; n <= 17; ++n) {
        means.push_back(meanOf(picture(n)));
        EXPECT_GT(std::max({means.back().r, means.back().g, means.back().b}), 150) << "gem " << n;
    }
    for (size_t i = 0; i < means.size(); ++i)
        for (size_t j = i + 1; j < means.size(); ++j) {
            const double d = std::sqrt(std::pow(means[i].r - means[j].r, 2) + std::pow(means[i].g - means[j].g, 2) +
                                       std::pow(means[i].b - means[j].b, 2));
            EXPECT_GT(d, 70) << "gems " << 11 + i << " and " << 11 + j;
        }
}

TEST(BoardPictures, BackdropsAreDarkAndTileWithoutSeams) {
    for (int n : {36, 61, 62, 63, 64, 65}) {
        const Bitmap& bmp = picture(n);
        const Mean m = meanOf(bmp);
        EXPECT_LT((m.r + m.g + m.b) / 3, 50) << "backdrop " << n;
        // The step across the wrap must be like any step inside the picture.
        auto columnStep = [&](int a, int b) {
            double sum = 0;
            for (int y = 0; y < bmp.height; ++y)
                for (int c = 0; c < 3; ++c) sum += std::abs(bmp.at(a, y)[c] - bmp.at(b, y)[c]);
            return sum / bmp.height;
        };
        auto rowStep = [&](int a, int b) {
            double sum = 0;
            for (int x = 0; x < bmp.width; ++x)
                for (int c = 0; c < 3; ++c) sum += std::abs(bmp.at(x, a)[c] - bmp.at(x, b)[c]);
            return sum / bmp.width;
        };
        double inside = 0;
        for (int i = 0; i + 1 < bmp.width; ++i) inside = std::max(inside, std::max(columnStep(i, i + 1), rowStep(i, i + 1)));
        EXPECT_LE(columnStep(bmp.width - 1, 0), inside + 1) << "backdrop " << n;
        EXPECT_LE(rowStep(bmp.height - 1, 0), inside + 1) << "backdrop " << n;
    }
}

TEST(BoardPictures, BannersAreLightOnBlack) {
    for (int n : {58, 59, 60, 74}) {
        const Bitmap& bmp = picture(n);
        for (int x = 0; x < bmp.width; ++x) {
            EXPECT_EQ(bmp.at(x, 0)[0] + bmp.at(x, 0)[1] + bmp.at(x, 0)[2], 0) << "banner " << n;
            EXPECT_EQ(bmp.at(x, bmp.height - 1)[0] + bmp.at(x, bmp.height - 1)[1], 0) << "banner " << n;
        }
        int bright = 0;
        for (int y = 0; y < bmp.height; ++y)
            for (int x = 0; x < bmp.width; ++x) bright += std::max({bmp.at(x, y)[0], bmp.at(x, y)[1], bmp.at(x, y)[2]}) > 200;
        EXPECT_GT(bright, 400) << "banner " << n;
    }
}

TEST(DialogPictures, OptionRowsBlendIntoThePanelBehindThem) {
    // Rows sit at x 22 and y 63 + 35 i of the 300 x 330 panel; their corners
    // show the panel's own ground.
    const Bitmap& panel = picture(4);
    const int rows[5][2] = {{79, 80}, {40, 41}, {42, 43}, {44, 45}, {71, 72}};
    for (int i = 0; i < 5; ++i) {
        for (int number : rows[i]) {
            const Bitmap& row = picture(number);
            const uint8_t* corner = row.at(0, 0);
            const uint8_t* behind = panel.at(int(22.5f * 256 / 300), int((63.5f + 35 * i) * 256 / 330));
            for (int c = 0; c < 3; ++c) EXPECT_NEAR(corner[c], behind[c], 10) << "row " << number;
        }
    }
}

// --- text printed over pictures ---------------------------------------------------

// Text is added onto the pictures, so where the game prints, the ground must
// stay dark. Boxes are in the units a picture is shown at, top-down.
// The brightest luma within a box.
double brightestIn(int number, float shownW, float shownH, float x0, float y0, float x1, float y1) {
    const Bitmap& bmp = picture(number);
    int best = 0;
    for (int y = int(y0 / shownH * bmp.height); y < int(y1 / shownH * bmp.height); ++y)
        for (int x = int(x0 / shownW * bmp.width); x < int(x1 / shownW * bmp.width); ++x)
            best = std::max(best, (299 * bmp.at(x, y)[0] + 587 * bmp.at(x, y)[1] + 114 * bmp.at(x, y)[2]) / 1000);
    return best;
}

TEST(TextGround, ScoreAndLevelPrintIntoDarkWells) {
    EXPECT_LT(brightestIn(2, 640, 480, 88, 25, 168, 43), 60);
    EXPECT_LT(brightestIn(2, 640, 480, 582, 458, 617, 476), 60);
}

TEST(TextGround, HighScoreRowsAndTheTypedNameStayReadable) {
    // Both tables, from the name column to the end of a six-digit score, in
    // the windowed layout's units of the panel.
    for (float top : {98.0f, 251.0f}) EXPECT_LT(brightestIn(78, 345, 420, 60, top + 2, 320, top + 98), 110) << top;
    EXPECT_LT(brightestIn(38, 300, 300, 72, 181, 240, 212), 70);
}

TEST(TextGround, ButtonLooksDifferFromOneAnother) {
    for (int first : {7, 18, 21, 24, 27}) {
        for (int a = first; a < first + 3; ++a)
            for (int b = a + 1; b < first + 3; ++b) {
                const Mean ma = meanOf(picture(a)), mb = meanOf(picture(b));
                EXPECT_GT(std::fabs(ma.r - mb.r) + std::fabs(ma.g - mb.g) + std::fabs(ma.b - mb.b), 4) << a << " " << b;
            }
    }
    for (int normal : {32, 34, 5, 49, 79, 71}) {
        const int lit = normal == 5 ? 39 : normal + 1;
        EXPECT_NE(picture(normal).rgb, picture(lit).rgb) << normal;
    }
}

TEST(BoardPictures, BannerTextSitsInTheMiddle) {
    for (int n : {58, 59, 60, 74}) {
        const Bitmap& bmp = picture(n);
        double sx = 0, sy = 0, count = 0;
        for (int y = 0; y < bmp.height; ++y)
            for (int x = 0; x < bmp.width; ++x)
                if (std::max({bmp.at(x, y)[0], bmp.at(x, y)[1], bmp.at(x, y)[2]}) > 200) {
                    sx += x;
                    sy += y;
                    ++count;
                }
        ASSERT_GT(count, 0) << n;
        EXPECT_NEAR(sx / count, 128, 10) << n;
        EXPECT_NEAR(sy / count, 32, 5) << n;
    }
}

TEST(BoardPictures, SparePicturesAreQuiet) {
    for (int n : {46, 47, 48, 53, 54, 55, 56, 57, 66, 67, 68, 69, 70, 73})
        EXPECT_LT(brightestIn(n, 1, 1, 0, 0, 1, 1), 80) << n;
}

// The cursor's ring: the mask clears it to black at its dark edges and the
// picture adds a bright core, so it shows over light and dark gems alike;
// inside the ring the gem is left as it is.
TEST(BoardPictures, KeyCursorRingsTheCellAndLeavesTheGemAlone) {
    const Bitmap& picture76 = picture(76);
    const Bitmap& mask = picture(77);
    for (const auto& at : {std::pair<int, int>{32, 7}, {7, 32}, {56, 32}, {32, 56}}) {
        EXPECT_GT(picture76.at(at.first, at.second)[0], 180) << at.first << "," << at.second;
        EXPECT_LT(mask.grey(at.first, at.second), 20) << at.first << "," << at.second;
    }
    for (const auto& at : {std::pair<int, int>{32, 4}, {32, 9}}) {
        EXPECT_LT(picture76.at(at.first, at.second)[0], 60) << "dark edge at " << at.second;
        EXPECT_LT(mask.grey(at.first, at.second), 60) << at.second;
    }
    for (int y = 14; y < 50; ++y)
        for (int x = 14; x < 50; ++x) {
            ASSERT_EQ(mask.grey(x, y), 255) << x << "," << y;
            ASSERT_EQ(picture76.at(x, y)[0] + picture76.at(x, y)[1] + picture76.at(x, y)[2], 0) << x << "," << y;
        }
}

}  // namespace
