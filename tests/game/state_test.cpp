// Program-load state, the set-up of a new game and the seeding of rand().
#include <gtest/gtest.h>

#include <cstdlib>

#include "driver.h"
#include "support/field_changes.h"

namespace {

TEST(State, ResetGivesBackTheProgramLoadValues) {
    drive::start();
    FieldChange::expectStep(resetGameState, {
        {"score", game.score, 5, 0},
        {"fallOffset", game.fallOffset, 0.3, -1.0},
        {"removal slot 7", turn.removalList[7].used, 1, 0},
        {"speedFactor", scene.speedFactor, 3.0, 0.0},
        {"screen", ui.screen, static_cast<int>(Screen::Options), static_cast<int>(Screen::Playing)},
        {"entryCursor", scoreBook.entryCursor, 6, 1},
        {"entryName", scoreBook.entryName[0], 'A', '\0'},
        {"soundOn", settings.soundOn, 1, 0},
    });
    EXPECT_EQ(ui.modeAButton, 0);
    EXPECT_EQ(game.board[FloorRow][0], 0);
}

// The old game's banner, its event and its pause end with it; the
// animations of the turn run on.
TEST(State, ANewGameClearsTheFieldAndTheBannerButLeavesRunningAnimations) {
    drive::startQuiet(GameMode::Timed);
    FieldChange::expectStep(newGame, {
        {"score", game.score, 900, 0},
        {"shownScore", scene.shownScore, 899.5, 0.0},
        {"level", game.level, 6, 0},
        {"comboCount", game.comboCount, 2, 0},
        {"playerMoved", game.playerMoved, 1, 0},
        {"barLength", game.barLength, 40.0, 0.0},
        {"backgroundKind", game.backgroundKind, 4, 0},
        {"firstSelected", turn.firstSelected, 1, 0},
        {"spinning", turn.spinning, 1, 0},
        {"prevSpinning", turn.prevSpinning, 1, 0},
        {"boardEvent", game.boardEvent, static_cast<int>(BoardEvent::Excellent), 0},
        {"bannerProgress", scene.bannerProgress, 0.4, 0.0},
        {"paused", ui.paused, 1, 0},
        {"lastPassPoints", game.lastPassPoints, 30, 30},
        {"removing", turn.removing, 1, 1},
        {"swapActive", turn.swapActive, 1, 1},
    });
    for (int c = 0; c < BoardColumns; ++c) EXPECT_EQ(drive::columnCount(c), 0);
    EXPECT_EQ(game.board[FloorRow][2], ClosedFloor) << "the floor is not touched";
    EXPECT_EQ(game.timeLeft, 50.0f);
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
