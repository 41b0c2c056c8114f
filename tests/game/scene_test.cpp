// The scene's rules: frame timing, level bounds, the level test, the bar, the
// event banner, popups and the score counter.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdlib>

#include "driver.h"
#include "support/field_changes.h"

namespace {

int64_t clockNow = 0;  // microseconds

// Runs the bar until its shown length comes to rest next to its goal.
float restingBarLength() {
    game.barLength = 0.0f;
    for (int n = 0; n < 2000; ++n) updateBarRules();
    return game.barLength;
}

void runBannerToItsEnd() {
    for (int n = 0; n < 1000 && static_cast<int>(game.boardEvent) > 0; ++n) advanceBanner();
}

class Scene : public drive::QuietFieldTest {
protected:
    void SetUp() override {
        QuietFieldTest::SetUp();
        drive::addSpareMove();
    }
};

TEST_F(Scene, TheFrameTimeOfTenFramesSetsTheSpeed) {
    scene = SceneState{};
    clockNow = 1000000;
    for (int frame = 0; frame < 11; ++frame) {
        measureFrameTime(clockNow);
        clockNow += 20000;  // 50 frames per second
        if (frame < 10) {
            EXPECT_EQ(scene.speedFactor, 0.0f) << "nothing moves before the first measurement";
        }
    }
    EXPECT_FLOAT_EQ(scene.frameSpan, 2.0f);
    EXPECT_FLOAT_EQ(scene.speedFactor, 2.1f);
    EXPECT_EQ(scene.measureCount, 0);
    clockNow += 1000000;  // a slow stretch between measurements does not count
    for (int frame = 0; frame < 11; ++frame) {
        measureFrameTime(clockNow);
        clockNow += 10000;
    }
    EXPECT_FLOAT_EQ(scene.speedFactor, 1.05f);
}

TEST_F(Scene, LevelBoundsFollowTheTableInTheLevelsModeOnly) {
    game.level = 4;
    updateLevelBounds();
    EXPECT_EQ(game.levelBase, 5500);
    EXPECT_EQ(game.levelTarget, 8000);
    game.level = 20;
    updateLevelBounds();
    EXPECT_EQ(game.levelBase, 500000);
    EXPECT_EQ(game.levelTarget, 1000000);
    game.gameMode = GameMode::Timed;
    settleModeButtons();
    game.level = 2;
    updateLevelBounds();
    EXPECT_EQ(game.levelBase, 500000) << "the timed mode keeps the last bounds";
}

TEST_F(Scene, LevelsAboveTheTableSpanHalfAMillionEach) {
    for (int level = 21; level <= 25; ++level) {
        game.level = level;
        updateLevelBounds();
        EXPECT_EQ(game.levelBase, 1000000 + (level - 21) * 500000);
        EXPECT_EQ(game.levelTarget, game.levelBase + 500000);
    }
    game.level = INT_MAX;
    updateLevelBounds();
    EXPECT_GT(game.levelTarget, game.levelBase);
    EXPECT_EQ((game.levelTarget - game.levelBase) % 100, 0);
}

TEST_F(Scene, AGameGoesOnAtLevelIndexTwentyOneAndTwentyTwo) {
    game.level = 20;
    game.score = 1000000;
    for (int expectedLevel : {21, 22}) {
        SCOPED_TRACE(expectedLevel);
        ASSERT_GT(drive::runUntil([] { return game.boardEvent == BoardEvent::LevelComplete; }, 50), 0);
        ASSERT_GT(drive::runUntil([] { return game.boardEvent == BoardEvent::None; }, 1000), 0);
        EXPECT_EQ(game.level, expectedLevel);
        EXPECT_EQ(game.levelBase, 1000000 + (expectedLevel - 21) * 500000);
        EXPECT_EQ(game.levelTarget, game.levelBase + 500000);
        // The new level is played, not completed again at once.
        ASSERT_TRUE(drive::settle());
        for (int n = 0; n < 100; ++n) drive::frame();
        EXPECT_EQ(game.level, expectedLevel);
        EXPECT_NE(game.boardEvent, BoardEvent::LevelComplete);
        game.score = game.levelTarget;
    }
    EXPECT_EQ(game.levelBase, 1500000);
    EXPECT_EQ(game.levelTarget, 2000000);
}

TEST_F(Scene, ALineAtLevelIndexTwentyOneIsWorth115) {
    game.level = 21;
    game.score = 1000000;
    drive::frame();
    drive::addLineOneSwapAway();
    drive::swapByClicks(2, 3, 2, 4);
    ASSERT_GT(drive::runUntil([] { return turn.removing != 0; }, 200), 0);
    EXPECT_EQ(game.score, 1000115);
    EXPECT_EQ(game.boardEvent, BoardEvent::None);
}

TEST_F(Scene, TheLevelTestWaitsForTheBoardScreen) {
    game.score = 500;
    ui.screen = Screen::Options;
    drive::frame();
    EXPECT_EQ(game.boardEvent, BoardEvent::None);
    ui.screen = Screen::Playing;
    drive::frame();
    EXPECT_EQ(game.boardEvent, BoardEvent::LevelComplete);
    EXPECT_EQ(countSampleRequests(Sample::LevelUp), 1);
}

TEST_F(Scene, TheLevelTestUsesTheBoundsOfTheRunningLevel) {
    game.level = 1;
    game.levelBase = 0;
    game.levelTarget = 500;  // stale bounds of level 0
    game.score = 600;
    drive::frame();
    EXPECT_EQ(game.boardEvent, BoardEvent::None);
    EXPECT_EQ(game.levelTarget, 1500);
}

TEST_F(Scene, TheBarShowsProgressThroughTheLevel) {
    game.score = 250;
    EXPECT_NEAR(restingBarLength(), 195.75f, 0.53f);
    EXPECT_LE(restingBarLength(), 195.76f);
    game.level = 1;
    updateLevelBounds();
    game.score = 999;
    EXPECT_NEAR(restingBarLength(), 49 * 3.915f, 0.53f) << "(999 - 500) / 10 on integers";
    EXPECT_LE(restingBarLength(), 49 * 3.915f + 0.01f);
    EXPECT_EQ(game.boardEvent, BoardEvent::None);
    game.score = 1500;
    updateBarRules();
    EXPECT_EQ(game.boardEvent, BoardEvent::LevelComplete) << "a full bar completes the level";
}


class TimedBar : public Scene {
protected:
    void SetUp() override {
        Scene::SetUp();
        drive::startQuiet(GameMode::Timed);
        drive::addSpareMove();
    }
};

TEST_F(TimedBar, AScoringPassAtNinetyNineFillsTheBarAndCompletesTheLevel) {
    game.timeLeft = 99.0f;
    updateBarRules();
    EXPECT_EQ(game.boardEvent, BoardEvent::None);
    game.playerMoved = 1;
    for (int c = 0; c < 3; ++c) game.board[2][c] = 7;
    resolveMatches(false);
    EXPECT_NEAR(game.timeLeft, 101.5f, 0.01f);
    updateBarRules();
    EXPECT_EQ(game.boardEvent, BoardEvent::LevelComplete);
    EXPECT_EQ(countSampleRequests(Sample::LevelUp), 1);
    EXPECT_GT(game.timeLeft, 101.0f) << "the time itself is not capped";
    EXPECT_NEAR(restingBarLength(), 391.5f, 0.53f);
}


TEST_F(TimedBar, TheTimeStandsStillWhilePausedOnOtherScreensAndDuringALevelEnd) {
    game.timeLeft = 50.0f;
    ui.paused = 1;
    updateBarRules();
    ui.paused = 0;
    ui.screen = Screen::Options;
    updateBarRules();
    ui.screen = Screen::Playing;
    game.boardEvent = BoardEvent::LevelComplete;
    updateBarRules();
    EXPECT_EQ(game.timeLeft, 50.0f);
}

TEST_F(TimedBar, RunningOutOfTimeEndsTheGameOnce) {
    game.timeLeft = 0.0005f;
    game.boardEvent = BoardEvent::Excellent;
    updateBarRules();
    EXPECT_EQ(game.boardEvent, BoardEvent::NoMoves);
    EXPECT_TRUE(game.gameOverDrain);
    EXPECT_FALSE(game.gameOverPending);
    EXPECT_EQ(countSampleRequests(Sample::GameOver), 1);
    for (int n = 0; n < 10; ++n) updateBarRules();
    EXPECT_EQ(countSampleRequests(Sample::GameOver), 1);
    EXPECT_EQ(bannerPicture(), Picture::GameOverBanner);
}

TEST_F(TimedBar, NoTimeOutOnTheScoreScreens) {
    game.timeLeft = -1.0f;
    ui.screen = Screen::HighScores;
    updateBarRules();
    ui.screen = Screen::NameEntry;
    updateBarRules();
    EXPECT_FALSE(game.gameOverDrain);
    ui.screen = Screen::Options;
    updateBarRules();
    EXPECT_TRUE(game.gameOverDrain);
}

// ---------------------------------------------------------------------------
// The event banner

TEST_F(Scene, TheBannerRisesAndFades) {
    game.boardEvent = BoardEvent::Excellent;
    advanceBanner();
    EXPECT_FLOAT_EQ(scene.bannerProgress, 0.00315f);
    EXPECT_FLOAT_EQ(scene.bannerAlpha, std::sin(0.00315f * 3.14f));
    EXPECT_EQ(bannerPicture(), Picture::ExcellentBanner);
    int frames = 1;
    while (game.boardEvent != BoardEvent::None && frames < 1000) {
        advanceBanner();
        ++frames;
    }
    EXPECT_EQ(frames, 319);  // 318 frames to reach 1, then the end
    EXPECT_EQ(scene.bannerProgress, 0.0f);
    EXPECT_EQ(scene.bannerAlpha, 0.0f);
}

TEST_F(Scene, TheEndOfLevelIndexTwoStartsLevelThreeOnBackgroundThree) {
    const std::vector<FieldChange> levelTwoPlayed = {
        {"level", game.level, 2, 3},
        {"score", game.score, 3000, 3000},
        {"playerMoved", game.playerMoved, 1, 0},
        {"comboCount", game.comboCount, 2, 0},
        {"lastPassPoints", game.lastPassPoints, 40, 0},
        {"barLength", game.barLength, 390.0, 0.0},
    };
    FieldChange::giveAll(levelTwoPlayed);
    game.boardEvent = BoardEvent::LevelComplete;
    EXPECT_EQ(bannerPicture(), Picture::LevelCompleteBanner);
    runBannerToItsEnd();
    FieldChange::expectAll(levelTwoPlayed);
    EXPECT_EQ(game.backgroundKind, 3);
    EXPECT_EQ(game.levelBase, 3000);
    EXPECT_EQ(game.levelTarget, 5500);
    EXPECT_EQ(game.timeLeft, 0.0f);
    EXPECT_EQ(ui.screen, Screen::Playing);
}

TEST_F(Scene, LaterLevelsTakeARandomBackground) {
    game.level = 7;
    game.boardEvent = BoardEvent::LevelComplete;
    srand(99);
    const int expected = rand() % 6;
    srand(99);
    runBannerToItsEnd();
    EXPECT_EQ(game.level, 8);
    EXPECT_EQ(game.backgroundKind, expected);
}

TEST_F(TimedBar, ATimedLevelStartsWithFiftyTimeUnits) {
    game.timeLeft = 101.5f;
    game.boardEvent = BoardEvent::LevelComplete;
    runBannerToItsEnd();
    EXPECT_EQ(game.level, 1);
    EXPECT_EQ(game.timeLeft, 50.0f);
}

// A levels game at level 1 out of moves with this score, against a table
// whose fifth entry holds 120.
void outOfMovesWith(int32_t score) {
    scoreBook.highScores[0].entries[4].score = 120;
    game.score = score;
    game.level = 1;
    game.boardEvent = BoardEvent::NoMoves;
    game.gameOverDrain = 1;
}

TEST_F(Scene, AGameOverThatQualifiesGoesToTheNameEntry) {
    outOfMovesWith(121);
    game.gameOverPending = 1;
    EXPECT_EQ(bannerPicture(), Picture::NoMoreMovesBanner) << "the no-moves picture of the levels mode";
    const auto board = drive::field();
    runBannerToItsEnd();
    EXPECT_EQ(ui.screen, Screen::NameEntry);
    EXPECT_EQ(game.score, 121) << "no new game yet";
    EXPECT_EQ(game.level, 1);
    EXPECT_EQ(drive::field(), board);
    EXPECT_FALSE(game.gameOverDrain);
    EXPECT_FALSE(game.gameOverPending);
    EXPECT_EQ(game.boardEvent, BoardEvent::None);
}

TEST_F(Scene, AGameOverEqualToTheFifthEntryStartsANewGame) {
    outOfMovesWith(120);
    runBannerToItsEnd();
    EXPECT_EQ(ui.screen, Screen::HighScores);
    EXPECT_EQ(game.score, 0);
    EXPECT_EQ(game.level, 0);
    EXPECT_EQ(drive::columnCount(3), 0);
}

TEST_F(Scene, TheTablesOfTheTwoModesAreApart) {
    scoreBook.highScores[0].entries[4].score = 1000;
    scoreBook.highScores[1].entries[4].score = 10;
    game.score = 500;
    game.gameMode = GameMode::Levels;
    EXPECT_FALSE(madeHighScore());
    game.gameMode = GameMode::Timed;
    EXPECT_TRUE(madeHighScore());
    game.score = -5;
    scoreBook.highScores[1].entries[4].score = 0;
    EXPECT_FALSE(madeHighScore());
}

TEST_F(Scene, ALevelsGameEndsThroughTheDrainAndTheBanner) {
    scoreBook.highScores[0].entries[4].score = 1000;
    drive::setQuietField();  // no move left
    ASSERT_GT(drive::runUntil([] { return ui.screen == Screen::HighScores; }, 2000), 0);
    EXPECT_EQ(game.boardEvent, BoardEvent::None);
    EXPECT_EQ(countSampleRequests(Sample::GameOver), 1);
    EXPECT_GT(countSampleRequests(Sample::New), 0) << "the game-over drain is heard";
}

// ---------------------------------------------------------------------------
// Popups and the score counter

TEST_F(Scene, APopupRunsTwoHundredSpeedUnitsAndTheEleventhIsNotStarted) {
    for (int i = 0; i < ScorePopupCount; ++i) EXPECT_TRUE(startScorePopup(100, 200, i));
    EXPECT_FALSE(startScorePopup(100, 200, 99));
    scene.speedFactor = 1.0f;
    int shown = 0;
    while (advanceScorePopup(0)) ++shown;
    EXPECT_NEAR(shown, 200, 1);  // 0.005 added up in floats may fall just short of 1
    EXPECT_FALSE(scene.scorePopups[0].active);
    EXPECT_EQ(scene.scorePopups[0].progress, 0.0f);
    EXPECT_TRUE(startScorePopup(1, 2, 3));
    EXPECT_EQ(scene.scorePopups[0].points, 3);
}

TEST_F(Scene, TheCounterChasesTheScoreOnTheBoardScreenOnly) {
    game.score = 2;
    chaseScore();
    EXPECT_FLOAT_EQ(scene.shownScore, 0.735f);
    ui.screen = Screen::Options;
    chaseScore();
    EXPECT_FLOAT_EQ(scene.shownScore, 0.735f);
    ui.screen = Screen::Playing;
    for (int n = 0; n < 10; ++n) chaseScore();
    EXPECT_GT(scene.shownScore, 2.0f);
    EXPECT_LE(scene.shownScore, 2.735f);
    game.score = 0;  // a score that drops runs down at the same rate
    chaseScore();
    EXPECT_LT(scene.shownScore, 2.01f);
}

}  // namespace
