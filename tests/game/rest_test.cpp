// The rest: when sceneAtRest says the next frame would look like the last,
// frames of the rules must indeed change nothing that shows; whatever moves
// keeps the frames coming.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "driver.h"

namespace {

// What a frame shows, as the rules leave it.
struct Shown {
    int32_t board[BoardRows][BoardColumns];
    Screen screen;
    BoardEvent event;
    int32_t score, level;
    float shownScore, barLength, timeLeft, bannerProgress, spinAngle, prevSpinAngle;
    bool popups;
};

Shown shownNow() {
    Shown s;
    std::memcpy(s.board, game.board, sizeof s.board);
    s.screen = ui.screen;
    s.event = game.boardEvent;
    s.score = game.score;
    s.level = game.level;
    s.shownScore = scene.shownScore;
    s.barLength = game.barLength;
    s.timeLeft = game.timeLeft;
    s.bannerProgress = scene.bannerProgress;
    // The angle of a gem that no longer spins is not drawn.
    s.spinAngle = turn.spinning ? turn.spinAngle : 0.0f;
    s.prevSpinAngle = turn.prevSpinning ? turn.prevSpinAngle : 0.0f;
    s.popups = false;
    for (const ScorePopup& popup : scene.scorePopups) s.popups = s.popups || popup.active;
    return s;
}

std::string differences(const Shown& a, const Shown& b) {
    std::string d;
    if (std::memcmp(a.board, b.board, sizeof a.board) != 0) d += " board";
    if (a.screen != b.screen) d += " screen";
    if (a.event != b.event) d += " event";
    if (a.score != b.score || a.level != b.level) d += " score/level";
    if (a.shownScore != b.shownScore) d += " counter";
    if (a.barLength != b.barLength) d += " bar";
    if (a.timeLeft != b.timeLeft) d += " time";
    if (a.bannerProgress != b.bannerProgress) d += " banner";
    if (a.spinAngle != b.spinAngle || a.prevSpinAngle != b.prevSpinAngle) d += " spin";
    if (a.popups != b.popups) d += " popups";
    return d;
}

// A frame of the rules after a rest was decided: the next 200 change nothing.
void expectFramesChangeNothing() {
    const Shown before = shownNow();
    for (int n = 0; n < 200; ++n) {
        drive::frame();
        const std::string changed = differences(before, shownNow());
        ASSERT_EQ(changed, "") << "frame " << n << " after the rest changed:" << changed;
    }
}

// After a change the loop draws the frame that shows it; then it may rest.
bool restsAfterAFrame() {
    drive::frame();
    return sceneAtRest();
}

class Rest : public ::testing::Test {
protected:
    void SetUp() override { startSettled(GameMode::Levels); }
    static void startSettled(GameMode mode) {
        drive::start(mode);
        drive::setQuietField();
        game.board[8][6] = 7;  // a spare move
        game.board[8][7] = 7;
        game.board[7][5] = 7;
        ASSERT_TRUE(drive::settle());
        game.barLength = barGoalNow();
        scene.shownScore = static_cast<float>(game.score);
    }
    static float barGoalNow() {
        // The bar heads for 0 on a new level, and for the time left in the timed mode.
        return game.gameMode == GameMode::Timed ? game.timeLeft * 3.915f : 0.0f;
    }
    static void spinGem(int column, int row) {
        turn.spinning = 1;
        turn.spinCell = {column, row};
        turn.spinAngle = 30.0f;
    }
};

}  // namespace

TEST_F(Rest, ASettledBoardRestsOnEveryScreen) {
    for (Screen screen : {Screen::Playing, Screen::Options, Screen::ConfirmNewGame, Screen::ConfirmQuit,
                          Screen::HighScores, Screen::NameEntry}) {
        SCOPED_TRACE(static_cast<int>(screen));
        ui.screen = screen;
        EXPECT_TRUE(restsAfterAFrame());
        expectFramesChangeNothing();
    }
}

TEST_F(Rest, ASpinningGemKeepsTheBoardScreenAwakeButNotAScreenHidingIt) {
    spinGem(2, 3);
    EXPECT_FALSE(sceneAtRest());
    ui.paused = 1;
    EXPECT_TRUE(restsAfterAFrame()) << "the paused board hides the gems";
    expectFramesChangeNothing();
    ui.paused = 0;
    ui.screen = Screen::Options;
    EXPECT_TRUE(restsAfterAFrame());
    expectFramesChangeNothing();
    turn.spinning = 0;
    turn.prevSpinning = 1;
    turn.prevSpinCell = {4, 4};
    ui.screen = Screen::Playing;
    EXPECT_FALSE(sceneAtRest()) << "the gem selected before is still turning";
}

TEST_F(Rest, AnythingMovingOrAboutToMoveKeepsTheFramesComing) {
    struct Case {
        const char* what;
        void (*make)();
    };
    const Case cases[] = {
        {"no frame time measured yet", [] { scene.speedFactor = 0.0f; }},
        {"a screen the last frame did not show yet", [] { ui.screen = Screen::NameEntry; }},
        {"a board the last frame did not show yet", [] { game.board[3][3] = game.board[3][3] % 6 + 1; }},
        {"a score popup", [] { startScorePopup(100, 100, 15); }},
        {"a banner", [] { game.boardEvent = BoardEvent::Excellent; }},
        {"a game-over drain", [] { game.gameOverDrain = 1; }},
        {"a swap", [] { turn.swapActive = 1; }},
        {"a removal", [] { turn.removing = 1; }},
        {"a hole in the field", [] { game.board[5][3] = 0; }},
        {"an empty cell in the spawn row", [] { game.board[SpawnRow][6] = 0; }},
        {"a line the next fall step takes", [] {
             game.board[6][0] = 7;
             game.board[6][1] = 7;
             game.board[6][2] = 7;
         }},
        {"no move left", [] { drive::setQuietField(); }},
        {"the level's target reached", [] { game.score = game.levelTarget; }},
        {"the counter behind the score", [] { scene.shownScore -= 40.0f; }},
        {"the bar gliding", [] { game.barLength += 30.0f; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        startSettled(GameMode::Levels);
        ASSERT_TRUE(sceneAtRest());
        c.make();
        EXPECT_FALSE(sceneAtRest());
        settleReadouts();
        EXPECT_FALSE(sceneAtRest()) << "settling the readouts does not hide it";
    }
}

TEST_F(Rest, TheScreensWithoutAFallClockRestWithAnEmptyBoard) {
    for (int r = SpawnRow; r <= LastFieldRow; ++r)
        for (int c = 0; c < BoardColumns; ++c) game.board[r][c] = 0;
    EXPECT_FALSE(sceneAtRest());
    for (Screen screen : {Screen::ContinuePrompt, Screen::HighScores, Screen::NameEntry}) {
        SCOPED_TRACE(static_cast<int>(screen));
        ui.screen = screen;
        EXPECT_TRUE(restsAfterAFrame());
        expectFramesChangeNothing();
    }
    ui.screen = Screen::Options;
    EXPECT_FALSE(sceneAtRest()) << "the options screen lets the gems fall on";
}

TEST_F(Rest, TheTimedModeRestsOnlyWhileItsTimeStandsStill) {
    startSettled(GameMode::Timed);
    EXPECT_FALSE(sceneAtRest()) << "the time runs down";
    ui.paused = 1;
    EXPECT_TRUE(restsAfterAFrame());
    expectFramesChangeNothing();
    ui.paused = 0;
    ui.screen = Screen::Options;
    EXPECT_TRUE(restsAfterAFrame());
    expectFramesChangeNothing();
    ui.screen = Screen::Playing;
    ui.paused = 1;
    game.timeLeft = -1.0f;
    game.barLength = 0.0f;
    EXPECT_FALSE(sceneAtRest()) << "the time is out: the game ends";
}

// A readout within a step of its goal swings about it for ever; settling puts
// it there, and only when nothing else moves.
TEST_F(Rest, SettlingPutsASwingingReadoutOnItsGoal) {
    game.score = 300;
    const float goal = 60 * 3.915f;  // 300 of the level's 500 points
    scene.shownScore = 300.0f - 0.5f * scene.speedFactor;
    game.barLength = goal + 0.4f * scene.speedFactor;
    EXPECT_FALSE(sceneAtRest());
    spinGem(1, 1);
    settleReadouts();
    EXPECT_NE(scene.shownScore, 300.0f) << "a spinning gem keeps the frames coming: nothing settles";
    turn.spinning = 0;
    settleReadouts();
    EXPECT_EQ(scene.shownScore, 300.0f);
    EXPECT_EQ(game.barLength, goal);
    EXPECT_TRUE(restsAfterAFrame());
    expectFramesChangeNothing();
    // Off the board screen the counter stands where it is.
    ui.screen = Screen::Options;
    scene.shownScore = 299.0f;
    EXPECT_TRUE(restsAfterAFrame());
    settleReadouts();
    EXPECT_EQ(scene.shownScore, 299.0f);
}
