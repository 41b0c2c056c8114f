// Program-load state, the set-up of a new game and the seeding of rand().
#include <gtest/gtest.h>

#include <cstdlib>

#include "driver.h"

namespace {

TEST(State, ResetGivesBackTheProgramLoadValues) {
    drive::start();
    game.score = 5;
    game.fallOffset = 0.3f;
    turn.removalList[7].used = 1;
    scene.speedFactor = 3.0f;
    ui.screen = Screen::Options;
    scoreBook.entryCursor = 6;
    scoreBook.entryName[0] = 'A';
    settings.soundOn = 1;
    resetGameState();
    EXPECT_EQ(game.score, 0);
    EXPECT_EQ(game.fallOffset, -1.0f);
    EXPECT_FALSE(turn.removalList[7].used);
    EXPECT_EQ(scene.speedFactor, 0.0f);
    EXPECT_EQ(ui.screen, Screen::Playing);
    EXPECT_EQ(ui.modeAButton, 0);
    EXPECT_EQ(scoreBook.entryCursor, 1);
    EXPECT_EQ(scoreBook.entryName[0], '\0');
    EXPECT_EQ(settings.soundOn, 0);
    EXPECT_EQ(game.board[FloorRow][0], 0);
}

// The old game's banner, its event and its pause end with it; the
// animations of the turn run on.
TEST(State, ANewGameClearsTheFieldAndTheBannerButLeavesRunningAnimations) {
    drive::start(GameMode::Timed);
    drive::setQuietField();
    game.score = 900;
    game.level = 6;
    game.comboCount = 2;
    game.playerMoved = 1;
    game.barLength = 40.0f;
    game.backgroundKind = 4;
    game.boardEvent = BoardEvent::Excellent;
    game.lastPassPoints = 30;
    scene.shownScore = 899.5f;
    scene.bannerProgress = 0.4f;
    ui.paused = 1;
    turn.firstSelected = 1;
    turn.spinning = 1;
    turn.prevSpinning = 1;
    turn.removing = 1;
    turn.swapActive = 1;
    newGame();
    for (int c = 0; c < BoardColumns; ++c) EXPECT_EQ(drive::columnCount(c), 0);
    EXPECT_EQ(game.board[FloorRow][2], ClosedFloor) << "the floor is not touched";
    EXPECT_EQ(game.score, 0);
    EXPECT_EQ(scene.shownScore, 0.0f);
    EXPECT_EQ(game.level, 0);
    EXPECT_EQ(game.comboCount, 0);
    EXPECT_EQ(game.timeLeft, 50.0f);
    EXPECT_FALSE(game.playerMoved);
    EXPECT_EQ(game.barLength, 0.0f);
    EXPECT_EQ(game.backgroundKind, 0);
    EXPECT_FALSE(turn.firstSelected);
    EXPECT_FALSE(turn.spinning);
    EXPECT_FALSE(turn.prevSpinning);
    EXPECT_EQ(game.boardEvent, BoardEvent::None);
    EXPECT_EQ(scene.bannerProgress, 0.0f);
    EXPECT_EQ(ui.paused, 0);
    EXPECT_EQ(game.lastPassPoints, 30);
    EXPECT_TRUE(turn.removing);
    EXPECT_TRUE(turn.swapActive);
}

TEST(State, ANewLevelsGameHasNoTimeAndTheFirstBounds) {
    drive::start(GameMode::Levels);
    game.level = 9;
    game.timeLeft = 12.0f;
    newGame();
    EXPECT_EQ(game.timeLeft, 0.0f);
    EXPECT_EQ(game.levelBase, 0);
    EXPECT_EQ(game.levelTarget, 500);
}

TEST(State, TheBackgroundIsFixedForTheFirstSixLevels) {
    drive::start();
    for (int level = 0; level <= 5; ++level) {
        game.level = level;
        chooseBackground();
        EXPECT_EQ(game.backgroundKind, level);
    }
    game.level = 6;
    srand(3);
    const int expected = rand() % 6;
    const int following = rand();
    srand(3);
    chooseBackground();
    EXPECT_EQ(game.backgroundKind, expected);
    game.level = 2;
    srand(3);
    chooseBackground();
    EXPECT_EQ(rand(), following) << "the random number is drawn at every level";
}


TEST(State, TheSeedComesFromTheEnvironmentWhenItHoldsANumber) {
    setenv("VORTIQ_SEED", "4711", 1);
    seedRandom();
    const int first = rand();
    srand(4711);
    EXPECT_EQ(first, rand());
    setenv("VORTIQ_SEED", "47x11", 1);
    seedRandom();
    const int second = rand();
    srand(47);
    const int fromPrefix = rand();
    srand(4711);
    EXPECT_NE(second, fromPrefix);
    EXPECT_NE(second, rand());
    unsetenv("VORTIQ_SEED");
}

}  // namespace
