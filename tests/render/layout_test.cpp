// The overlay's layouts without GL: which pictures the buttons and dialogs
// show for the state, where they go, and what the counters print.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "game/game.h"
#include "render/render_local.h"

namespace {

class LayoutTest : public ::testing::Test {
protected:
    void SetUp() override { resetGameState(); }

    OverlayLayout sidePanel() {
        OverlayLayout layout;
        layoutSidePanel(&layout);
        return layout;
    }
    OverlayLayout dialog(Screen screen) {
        ui.screen = screen;
        OverlayLayout layout;
        layoutDialog(screen, &layout);
        return layout;
    }
};

void expectSprite(const Sprite& s, Picture mask, Picture image, int x, int y, int w, int h) {
    EXPECT_EQ(s.mask, mask);
    EXPECT_EQ(s.image, image);
    EXPECT_EQ(s.x, x);
    EXPECT_EQ(s.y, y);
    EXPECT_EQ(s.w, w);
    EXPECT_EQ(s.h, h);
}

std::string counterText(float shown, int* x) {
    Caption caption{};
    if (!layoutScoreCounter(shown, &caption)) return "<nothing>";
    *x = caption.x;
    EXPECT_EQ(caption.y, 437);
    return caption.text;
}

// --- score counter and level number ---------------------------------------

// The counter's text and its left edge for a shown score.
struct Counted {
    float shown;
    const char* text;
    int x;
};
void expectCounters(std::initializer_list<Counted> cases) {
    for (const Counted& c : cases) {
        int x = 0;
        EXPECT_EQ(counterText(c.shown, &x), c.text);
        EXPECT_EQ(x, c.x) << c.text;
    }
}

TEST(ScoreCounter, PlacesEachRangeOfDigits) {
    expectCounters({{0.0f, " 0", 103}, {7.0f, " 7", 110}, {98.8f, "98", 110}, {100.3f, "100", 103},
                    {9999.0f, "9999", 96}, {10000.0f, "10000", 90}});
}

TEST(ScoreCounter, SixDigitsAndMoreKeepSteppingLeft) {
    // 99999999 is stored as the float's nearest value.
    expectCounters({{123456.0f, "123456", 83}, {1000000.0f, "1000000", 76}, {99999999.0f, "100000000", 62}});
    // Each added digit starts the counter further left, never off the window.
    const float samples[] = {50, 500, 5000, 50000, 500000, 5000000, 50000000, 500000000, 2000000000};
    int previous = 1000;
    for (float shown : samples) {
        Caption caption{};
        ASSERT_TRUE(layoutScoreCounter(shown, &caption)) << shown;
        EXPECT_LT(caption.x, previous) << shown;
        EXPECT_GE(caption.x, 0) << shown;
        previous = caption.x;
    }
}

TEST(ScoreCounter, PrintsNothingBetweenRangesOrBelowZero) {
    int x = 0;
    EXPECT_EQ(counterText(0.5f, &x), "<nothing>");
    EXPECT_EQ(counterText(99.4f, &x), "<nothing>");
    EXPECT_EQ(counterText(99.6f, &x), "<nothing>");
    EXPECT_EQ(counterText(999.5f, &x), "<nothing>");
    EXPECT_EQ(counterText(-0.7f, &x), "<nothing>");
    EXPECT_EQ(scoreCounterX(3.0e9f), -1);
}

TEST(LevelNumber, StepsRightForTwoDigitLevels) {
    Caption caption{};
    layoutLevelNumber(0, &caption);
    EXPECT_STREQ(caption.text, " 1");
    EXPECT_EQ(caption.x, 580);
    EXPECT_EQ(caption.y, 4);
    layoutLevelNumber(9, &caption);
    EXPECT_STREQ(caption.text, "10");
    EXPECT_EQ(caption.x, 580);
    layoutLevelNumber(10, &caption);
    EXPECT_STREQ(caption.text, "11");
    EXPECT_EQ(caption.x, 587);
    layoutLevelNumber(2147483647, &caption);
    EXPECT_STREQ(caption.text, "2147483648");
}

// --- side panel --------------------------------------------------------------

TEST_F(LayoutTest, LookOutsideTheButtonsPicturesShowsTheNormalOne) {
    ui.hintLit = 2;  // the hint has only two pictures
    ui.quitButton = 7;
    ui.newGameButton = -1;
    const OverlayLayout p = sidePanel();
    EXPECT_EQ(p.sprites[0].image, Picture::HintPicture);
    EXPECT_EQ(p.sprites[1].image, Picture::NewGameButton);
    EXPECT_EQ(p.sprites[5].image, Picture::QuitButton);
}

// --- dialogs -----------------------------------------------------------------

TEST_F(LayoutTest, OptionRowForAnOddSettingValueShowsOff) {
    settings.soundOn = 5;  // only 1 means on
    const OverlayLayout d = dialog(Screen::Options);
    EXPECT_EQ(d.sprites[5].image, Picture::SoundOffRow);
}

void fillTables() {
    const char* names[2][5] = {{"ANNA$$$$$", "BOB$$$$$$", "", "DORA$$$$$", "EVE$$$$$$"},
                               {"ZED$$$$$$", "YVES$$$$$", "XAVER$$$$", "WILMA$$$$", ""}};
    for (int mode = 0; mode < 2; ++mode)
        for (int i = 0; i < 5; ++i) {
            HighScoreEntry& e = scoreBook.highScores[mode].entries[i];
            std::strncpy(e.name, names[mode][i], sizeof e.name);
            e.score = names[mode][i][0] ? 5000 * (mode + 1) - 1000 * i : 0;
        }
}

TEST_F(LayoutTest, HighScoresWindowedPrintsBothTables) {
    fillTables();
    const OverlayLayout d = dialog(Screen::HighScores);
    ASSERT_EQ(d.spriteCount, 2);
    expectSprite(d.sprites[0], NoMask, Picture::HighScoresPanel, 230, 40, 345, 420);
    expectSprite(d.sprites[1], Picture::DialogButtonMask, Picture::BackButton, 340, 55, 128, 32);
    ASSERT_EQ(d.captionCount, 20);
    // Levels table first, a name then its score per entry.
    EXPECT_EQ(d.captions[0].x, 290);
    EXPECT_EQ(d.captions[0].y, 343);
    EXPECT_STREQ(d.captions[0].text, "ANNA$$$$$");
    // Scores end under the fifth digit of the column from x 460.
    EXPECT_EQ(d.captions[1].x, 474);
    EXPECT_EQ(d.captions[1].y, 343);
    EXPECT_STREQ(d.captions[1].text, "5000");
    EXPECT_EQ(d.captions[5].x, 502);
    EXPECT_EQ(d.captions[11].x, 460);
    EXPECT_EQ(d.captions[9].y, 263);
    EXPECT_STREQ(d.captions[9].text, "1000");
    // An empty entry prints no name and " 0".
    EXPECT_STREQ(d.captions[4].text, "");
    EXPECT_STREQ(d.captions[5].text, " 0");
    // Timed table.
    EXPECT_EQ(d.captions[10].y, 190);
    EXPECT_STREQ(d.captions[10].text, "ZED$$$$$$");
    EXPECT_STREQ(d.captions[11].text, "10000");
    EXPECT_EQ(d.captions[19].y, 110);
    EXPECT_STREQ(d.captions[19].text, " 0");
}

TEST_F(LayoutTest, DamagedNameWithoutEndPrintsOnlyItsField) {
    HighScoreEntry& e = scoreBook.highScores[0].entries[0];
    std::memset(e.name, 'Q', sizeof e.name);
    e.score = 12;
    const OverlayLayout d = dialog(Screen::HighScores);
    EXPECT_EQ(std::string(d.captions[0].text), std::string(sizeof e.name, 'Q'));
    EXPECT_STREQ(d.captions[1].text, "12");
}

TEST_F(LayoutTest, NameEntryPrintsTheTypedName) {
    const OverlayLayout fresh = dialog(Screen::NameEntry);
    ASSERT_EQ(fresh.spriteCount, 1);
    expectSprite(fresh.sprites[0], NoMask, Picture::NameEntryPanel, 265, 150, 300, 300);
    ASSERT_EQ(fresh.captionCount, 1);
    EXPECT_STREQ(fresh.captions[0].text, "");

    std::strcpy(scoreBook.entryName, "JO$$$$$$$");
    OverlayLayout d = dialog(Screen::NameEntry);
    EXPECT_STREQ(d.captions[0].text, "JO$$$$$$$");
    EXPECT_EQ(d.captions[0].x, 345);
    EXPECT_EQ(d.captions[0].y, 245);
    ui.fullScreenActive = 1;
    d = dialog(Screen::NameEntry);
    EXPECT_EQ(d.captions[0].x, 270);
    EXPECT_EQ(d.captions[0].y, 195);
}

}  // namespace

// The cursor's ring covers the pixels a click picks its cell from, and no
// other cell's, in both layouts; it shows on the board screen once a key showed it.
TEST_F(LayoutTest, KeyCursorCoversTheCellAClickPicks) {
    Sprite ring;
    EXPECT_FALSE(layoutKeyCursor(&ring)) << "hidden until a key is pressed";
    ui.keyCursorShown = 1;
    for (uint8_t full : {0, 1})
        for (const Cell cell : {Cell{0, 1}, Cell{7, 8}, Cell{3, 5}}) {
            ui.fullScreenActive = full;
            ui.keyCursor = cell;
            ASSERT_TRUE(layoutKeyCursor(&ring));
            expectSprite(ring, Picture::KeyCursorMask, Picture::KeyCursor, ring.x, ring.y, full ? 67 : 54, full ? 67 : 54);
            const int top = (full ? 600 : 480) - ring.y - ring.h;  // window pixels, top down
            for (int x = ring.x; x < ring.x + ring.w; ++x)
                for (int y = top; y < top + ring.h; ++y) {
                    int32_t column, row;
                    cursorCellAt(x, y, &column, &row);
                    // The field's outermost pixels pick no cell at all; the middle always does.
                    const bool middle = x == ring.x + ring.w / 2 && y == top + ring.h / 2;
                    if (middle || (column != NoCursorCell && row != NoCursorCell)) {
                        ASSERT_TRUE(column == cell.column && row == cell.row) << x << "," << y << " " << int(full);
                    }
                }
        }
    ui.screen = Screen::Options;
    EXPECT_FALSE(layoutKeyCursor(&ring));
}
