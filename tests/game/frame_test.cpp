// One frame's rules step: what it leaves for the drawing (the board as the
// gems were shown, the dialog's screen, the banner, the spins), the state of
// a new level, the running mode as the truth behind the buttons' looks, and
// the name entry.
#include <gtest/gtest.h>

#include <cstring>

#include "driver.h"
#include "support/field_changes.h"

namespace {

class Frame : public drive::QuietFieldTest {
protected:
    void SetUp() override {
        QuietFieldTest::SetUp();
        game.fallOffset = 0.0f;  // no fall step in the next frames
    }
};

bool sameBoard(const int32_t a[BoardRows][BoardColumns], const int32_t b[BoardRows][BoardColumns]) {
    return std::memcmp(a, b, sizeof(int32_t) * BoardRows * BoardColumns) == 0;
}

// In the frame in which the game-over banner ends, the new game and the
// high-score screen begin in the state; the frame still shows the board,
// the backdrop and the screen that the banner ran over.
TEST_F(Frame, TheEndOfAGameShowsInTheNextFrame) {
    game.level = 3;
    game.backgroundKind = 3;
    game.boardEvent = BoardEvent::NoMoves;
    game.gameOverDrain = 1;
    scene.bannerProgress = 1.0f;
    int32_t before[BoardRows][BoardColumns];
    std::memcpy(before, game.board, sizeof before);

    drive::frame();
    EXPECT_EQ(ui.screen, Screen::HighScores);
    EXPECT_EQ(game.backgroundKind, 0);
    EXPECT_EQ(game.board[4][4], 0) << "a new game starts on an empty field";
    EXPECT_EQ(frameView.dialog, Screen::Playing);
    EXPECT_EQ(frameView.backgroundKind, 3);
    EXPECT_TRUE(sameBoard(frameView.board, before));
    EXPECT_TRUE(frameView.bannerShown);
    EXPECT_EQ(frameView.banner, Picture::None) << "the event is over as the banner ends";

    drive::frame();
    EXPECT_EQ(frameView.dialog, Screen::HighScores);
    EXPECT_FALSE(frameView.gemsShown);
    EXPECT_FALSE(frameView.bannerShown);
}

// The bar's step comes after the banner's: a time-out starts its banner in
// the next frame.
TEST_F(Frame, ATimeOutsBannerStartsInTheNextFrame) {
    drive::startQuiet(GameMode::Timed);
    game.fallOffset = 0.0f;
    game.timeLeft = 0.0001f;
    drive::frame();
    EXPECT_EQ(game.boardEvent, BoardEvent::NoMoves);
    EXPECT_FALSE(frameView.bannerShown);
    drive::frame();
    EXPECT_TRUE(frameView.bannerShown);
    EXPECT_EQ(frameView.banner, Picture::GameOverBanner);
}

TEST_F(Frame, TheSpinsOfTheShownGemsAreKept) {
    drive::click(4, 4);
    drive::frame();
    EXPECT_TRUE(frameView.gemsShown);
    ASSERT_EQ(frameView.spinCount, 1);
    EXPECT_EQ(frameView.spinCells[0].column, 4);
    EXPECT_EQ(frameView.spinCells[0].row, 4);
    EXPECT_FLOAT_EQ(frameView.spinDegrees[0], turn.spinAngle);

    // The spin handed over: both gems turn, in the order they are drawn.
    drive::click(1, 1);
    drive::frame();
    ASSERT_EQ(frameView.spinCount, 2);
    EXPECT_EQ(frameView.spinCells[0].column, 1);
    EXPECT_EQ(frameView.spinCells[1].column, 4);
    EXPECT_FLOAT_EQ(frameView.spinDegrees[1], turn.prevSpinAngle);

    ui.paused = 1;
    const float angle = turn.spinAngle;
    drive::frame();
    EXPECT_FALSE(frameView.gemsShown);
    EXPECT_EQ(frameView.spinCount, 0);
    EXPECT_EQ(turn.spinAngle, angle);
}

// ---------------------------------------------------------------------------
// A new level, and the mode behind the buttons

TEST_F(Frame, ANewLevelStartsFromWhatItsModeGives) {
    FieldChange::expectStep(startLevel, {
        {"level", game.level, 1, 1},
        {"playerMoved", game.playerMoved, 1, 0},
        {"comboCount", game.comboCount, 3, 0},
        {"barLength", game.barLength, 200.0, 0.0},
    });
    EXPECT_EQ(game.levelBase, 500);
    EXPECT_EQ(game.levelTarget, 1500);
    EXPECT_EQ(game.backgroundKind, 1);
    EXPECT_EQ(game.timeLeft, 0.0f);

    game.gameMode = GameMode::Timed;
    startLevel();
    EXPECT_EQ(game.timeLeft, TimedModeTime);
    EXPECT_EQ(game.levelBase, 500) << "the timed mode keeps the bounds it has";
}

// The timed button lit under the mouse gives a levels game no time.
TEST_F(Frame, OnlyTheTimedModeGetsTime) {
    ui.modeBButton = ButtonHighlighted;
    newGame();
    EXPECT_EQ(game.timeLeft, 0.0f);
    game.boardEvent = BoardEvent::LevelComplete;
    scene.bannerProgress = 1.0f;
    advanceBanner();
    EXPECT_EQ(game.level, 1);
    EXPECT_EQ(game.timeLeft, 0.0f);
}

TEST_F(Frame, TheModeIsTheTruthAndTheLooksFollowIt) {
    ui.modeAButton = ButtonNormal;  // looks out of step with the mode
    ui.modeBButton = ButtonPressed;
    EXPECT_TRUE(levelsModeRunning());
    EXPECT_FALSE(timedModeRunning());
    settleModeButtons();
    EXPECT_EQ(ui.modeAButton, ButtonPressed);
    EXPECT_EQ(ui.modeBButton, ButtonNormal);
    game.gameMode = GameMode::Timed;
    settleModeButtons();
    EXPECT_EQ(ui.modeAButton, ButtonNormal);
    EXPECT_EQ(ui.modeBButton, ButtonPressed);
}

// ---------------------------------------------------------------------------
// The name entry

TEST(NameEntry, LettersFillTheFreePlacesUpperCaseFirst) {
    resetGameState();
    std::memset(scoreBook.entryName, FreeNamePlace, 9);
    EXPECT_FALSE(typeNameLetter('A')) << "only on the name-entry screen";
    ui.screen = Screen::NameEntry;
    EXPECT_FALSE(eraseNameLetter()) << "nothing typed yet";
    EXPECT_TRUE(typeNameLetter('J'));
    EXPECT_TRUE(typeNameLetter('O'));
    EXPECT_STREQ(scoreBook.entryName, "Jo$$$$$$$");
    EXPECT_EQ(scoreBook.entryCursor, 3);
    EXPECT_TRUE(eraseNameLetter());
    EXPECT_STREQ(scoreBook.entryName, "J$$$$$$$$");
    for (int k = 0; k < 8; ++k) EXPECT_TRUE(typeNameLetter('Z'));
    EXPECT_FALSE(typeNameLetter('Q')) << "nine places";
    EXPECT_STREQ(scoreBook.entryName, "Jzzzzzzzz");
    EXPECT_EQ(scoreBook.entryCursor, 10);

    EXPECT_TRUE(finishNameEntry());
    EXPECT_EQ(ui.screen, Screen::HighScores);
    EXPECT_FALSE(finishNameEntry());
    EXPECT_FALSE(eraseNameLetter());
}

}  // namespace
