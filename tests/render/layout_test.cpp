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
        layoutDialog(&layout);
        return layout;
    }
};

void expectSprite(const Sprite& s, int mask, int image, int x, int y, int w, int h) {
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

TEST(ScoreCounter, PlacesEachRangeOfDigits) {
    int x = 0;
    EXPECT_EQ(counterText(0.0f, &x), " 0");
    EXPECT_EQ(x, 103);
    EXPECT_EQ(counterText(7.0f, &x), " 7");
    EXPECT_EQ(x, 110);
    EXPECT_EQ(counterText(98.8f, &x), "98");
    EXPECT_EQ(x, 110);
    EXPECT_EQ(counterText(100.3f, &x), "100");
    EXPECT_EQ(x, 103);
    EXPECT_EQ(counterText(9999.0f, &x), "9999");
    EXPECT_EQ(x, 96);
    EXPECT_EQ(counterText(10000.0f, &x), "10000");
    EXPECT_EQ(x, 90);
}

TEST(ScoreCounter, SixDigitsAndMoreKeepSteppingLeft) {
    int x = 0;
    EXPECT_EQ(counterText(123456.0f, &x), "123456");
    EXPECT_EQ(x, 83);
    EXPECT_EQ(counterText(1000000.0f, &x), "1000000");
    EXPECT_EQ(x, 76);
    EXPECT_EQ(counterText(99999999.0f, &x), "100000000");  // the float's nearest value
    EXPECT_EQ(x, 62);
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

TEST_F(LayoutTest, SidePanelShowsEachButtonsPictureForItsLook) {
    ui.hintLit = 1;
    ui.newGameButton = ButtonPressed;
    ui.modeBButton = ButtonHighlighted;
    ui.modeAButton = ButtonPressed;
    ui.optionsButton = ButtonNormal;
    ui.quitButton = ButtonHighlighted;
    const OverlayLayout p = sidePanel();
    ASSERT_EQ(p.spriteCount, 6);
    EXPECT_EQ(p.captionCount, 0);
    expectSprite(p.sprites[0], 51, 50, 85, 140, 80, 120);
    expectSprite(p.sprites[1], 6, 9, 50, 380, 120, 40);
    expectSprite(p.sprites[2], 10, 25, 55, 295, 120, 40);
    expectSprite(p.sprites[3], 10, 29, 55, 330, 120, 40);
    expectSprite(p.sprites[4], 6, 18, 50, 60, 120, 40);
    expectSprite(p.sprites[5], 6, 22, 50, 20, 120, 40);
}

TEST_F(LayoutTest, SidePanelFullScreenPlacement) {
    ui.fullScreenActive = 1;
    ui.modeBButton = ButtonPressed;
    const OverlayLayout p = sidePanel();
    ASSERT_EQ(p.spriteCount, 6);
    expectSprite(p.sprites[0], 51, 49, 108, 175, 100, 150);
    expectSprite(p.sprites[1], 6, 7, 65, 475, 150, 50);
    expectSprite(p.sprites[2], 10, 26, 65, 370, 150, 50);
    expectSprite(p.sprites[3], 10, 27, 65, 415, 150, 50);
    expectSprite(p.sprites[4], 6, 18, 60, 75, 150, 50);
    expectSprite(p.sprites[5], 6, 21, 60, 20, 150, 50);
}

TEST_F(LayoutTest, LookOutsideTheButtonsPicturesShowsTheNormalOne) {
    ui.hintLit = 2;  // the hint has only two pictures
    ui.quitButton = 7;
    ui.newGameButton = -1;
    const OverlayLayout p = sidePanel();
    EXPECT_EQ(p.sprites[0].image, 49);
    EXPECT_EQ(p.sprites[1].image, 7);
    EXPECT_EQ(p.sprites[5].image, 21);
}

// --- dialogs -----------------------------------------------------------------

TEST_F(LayoutTest, PlayingScreenHasNoDialog) {
    const OverlayLayout d = dialog(Screen::Playing);
    EXPECT_EQ(d.spriteCount, 0);
    EXPECT_EQ(d.captionCount, 0);
}

TEST_F(LayoutTest, ConfirmationsDifferOnlyInTheirPanel) {
    ui.confirmLit = 1;
    const Screen screens[3] = {Screen::ConfirmNewGame, Screen::ContinuePrompt, Screen::ConfirmQuit};
    const int panels[3] = {30, 52, 3};
    for (int i = 0; i < 3; ++i) {
        const OverlayLayout d = dialog(screens[i]);
        ASSERT_EQ(d.spriteCount, 3);
        expectSprite(d.sprites[0], NoMask, panels[i], 265, 240, 300, 150);
        expectSprite(d.sprites[1], 31, 33, 283, 255, 128, 32);
        expectSprite(d.sprites[2], 31, 34, 420, 255, 128, 32);
    }
    ui.confirmLit = 0;
    ui.cancelLit = 1;
    const OverlayLayout d = dialog(Screen::ConfirmQuit);
    EXPECT_EQ(d.sprites[1].image, 32);
    EXPECT_EQ(d.sprites[2].image, 35);
}

TEST_F(LayoutTest, DialogsKeepTheirOverlayPlaceInFullScreen) {
    ui.fullScreenActive = 1;
    const OverlayLayout d = dialog(Screen::ContinuePrompt);
    expectSprite(d.sprites[0], NoMask, 52, 265, 240, 300, 150);
    expectSprite(d.sprites[2], 31, 34, 420, 255, 128, 32);
}

TEST_F(LayoutTest, OptionRowsShowTheSettings) {
    settings.musicOn = 1;
    settings.soundOn = 0;
    const OverlayLayout d = dialog(Screen::Options);
    ASSERT_EQ(d.spriteCount, 7);
    expectSprite(d.sprites[0], NoMask, 4, 265, 150, 300, 330);
    expectSprite(d.sprites[1], 31, 5, 350, 165, 128, 32);
    expectSprite(d.sprites[2], NoMask, 79, 287, 385, 256, 32);
    expectSprite(d.sprites[3], NoMask, 40, 287, 350, 256, 32);
    expectSprite(d.sprites[4], NoMask, 43, 287, 315, 256, 32);
    expectSprite(d.sprites[5], NoMask, 44, 287, 280, 256, 32);
    expectSprite(d.sprites[6], NoMask, 71, 287, 245, 256, 32);

    settings = Settings{1, 0, 1};
    ui.highScoresLit = 1;
    ui.helpLit = 1;
    ui.confirmLit = 1;
    const OverlayLayout lit = dialog(Screen::Options);
    EXPECT_EQ(lit.sprites[1].image, 39);
    EXPECT_EQ(lit.sprites[2].image, 80);
    EXPECT_EQ(lit.sprites[3].image, 41);
    EXPECT_EQ(lit.sprites[4].image, 42);
    EXPECT_EQ(lit.sprites[5].image, 45);
    EXPECT_EQ(lit.sprites[6].image, 72);
}

TEST_F(LayoutTest, OptionRowForAnOddSettingValueShowsOff) {
    settings.soundOn = 5;  // only 1 means on
    const OverlayLayout d = dialog(Screen::Options);
    EXPECT_EQ(d.sprites[5].image, 44);
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
    expectSprite(d.sprites[0], NoMask, 78, 230, 40, 345, 420);
    expectSprite(d.sprites[1], 31, 5, 340, 55, 128, 32);
    ASSERT_EQ(d.captionCount, 20);
    // Levels table first, a name then its score per entry.
    EXPECT_EQ(d.captions[0].x, 290);
    EXPECT_EQ(d.captions[0].y, 343);
    EXPECT_STREQ(d.captions[0].text, "ANNA$$$$$");
    EXPECT_EQ(d.captions[1].x, 460);
    EXPECT_EQ(d.captions[1].y, 343);
    EXPECT_STREQ(d.captions[1].text, "5000");
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

TEST_F(LayoutTest, HighScoresFullScreenUsesTheLargerPanelAndColumns) {
    fillTables();
    ui.fullScreenActive = 1;
    ui.confirmLit = 1;
    const OverlayLayout d = dialog(Screen::HighScores);
    expectSprite(d.sprites[0], NoMask, 78, 230, 60, 420, 510);
    expectSprite(d.sprites[1], 31, 39, 380, 80, 128, 32);
    EXPECT_EQ(d.captions[0].x, 240);
    EXPECT_EQ(d.captions[1].x, 415);
    EXPECT_EQ(d.captions[10].y, 195);
    EXPECT_EQ(d.captions[18].y, 115);
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
    expectSprite(fresh.sprites[0], NoMask, 38, 265, 150, 300, 300);
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
