// Scores and levels at the ends of the 32-bit range, as a damaged saved game
// can bring them back: the rules stop at the ends instead of wrapping around.
#include <gtest/gtest.h>

#include <climits>

#include "driver.h"

namespace {

// A board without a line whose one move raises the 7 at (2,2) into row 1.
void startWithOneMove(GameMode mode) {
    drive::startQuiet(mode);
    drive::addMoveIntoRowOne();
}

class Extremes : public ::testing::Test {
protected:
    void SetUp() override { startWithOneMove(GameMode::Levels); }
};

TEST_F(Extremes, ALineAtTheHighestLevelScoresTheHighestScore) {
    game.level = INT_MAX;
    game.score = 0;
    drive::swapByClicks(2, 2, 2, 1);
    ASSERT_GT(drive::runUntil([] { return game.score != 0; }), 0);
    EXPECT_EQ(game.score, INT_MAX);
    EXPECT_EQ(game.lastPassPoints, INT_MAX);
    // The level is complete, and stays so at the top: its banners (about 320
    // frames each) run out without a level past the last.
    EXPECT_EQ(game.boardEvent, BoardEvent::LevelComplete);
    for (int frame = 0; frame < 1000; ++frame) drive::frame();
    EXPECT_EQ(game.level, INT_MAX);
    EXPECT_EQ(game.score, INT_MAX);
}

TEST_F(Extremes, AHintOnTheLowestScoreRaisesItToTheLevelBase) {
    game.level = 3;
    updateLevelBounds();
    game.score = INT_MIN;
    useHint();
    EXPECT_EQ(game.score, game.levelBase);
}

TEST_F(Extremes, TheLowestScoreShowsAnEmptyBarAndCompletesNoLevel) {
    game.level = 3;
    game.score = INT_MIN;
    for (int frame = 0; frame < 50; ++frame) drive::frame();
    EXPECT_EQ(game.boardEvent, BoardEvent::None);
    EXPECT_LE(game.barLength, 0.0f);
}

TEST_F(Extremes, TimeRunsDownFastestAtTheHighestLevel) {
    startWithOneMove(GameMode::Timed);
    game.level = INT_MAX;
    game.timeLeft = 50.0f;
    drive::frame();
    EXPECT_LT(game.timeLeft, 0.0f) << "the time left at the highest level lasts less than a frame";
}

}  // namespace
