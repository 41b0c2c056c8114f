// The turn sequence: falling, refilling, draining, swapping and settling.
#include <gtest/gtest.h>

#include "driver.h"

namespace {

std::string column(int c) {
    std::string text;
    for (int r = SpawnRow; r <= LastFieldRow; ++r)
        text += game.board[r][c] == 0 ? '.' : static_cast<char>('0' + game.board[r][c]);
    return text;
}

void setColumn(int c, const std::string& text) {
    for (int r = SpawnRow; r <= LastFieldRow; ++r) game.board[r][c] = text[r] == '.' ? 0 : text[r] - '0';
}

using Falling = drive::QuietFieldTest;

TEST_F(Falling, AStackComesDownBottomGemFirstOneGemMorePerStep) {
    setColumn(3, "12345....");
    const char* steps[] = {"1234.5...", "123.4.5..", "12.3.4.5.", "1.2.3.4.5"};
    for (const char* expected : steps) {
        fallStep();
        EXPECT_EQ(column(3), expected);
    }
    fallStep();
    EXPECT_EQ(column(3).substr(1), "1.2.3.45") << "the gem on the floor stays";
    EXPECT_NE(game.board[SpawnRow][3], 0) << "the emptied spawn cell takes a new gem";
    for (int r = SpawnRow; r <= LastFieldRow; ++r) EXPECT_EQ(game.board[r][2], drive::quietKind(2, r));
    EXPECT_EQ(game.board[FloorRow][3], ClosedFloor);
}


TEST_F(Falling, AFullColumnDrainsInSeventeenStepsWithTheFloorOpen) {
    game.boardEvent = BoardEvent::LevelComplete;
    for (int step = 1; step <= 16; ++step) fallStep();
    EXPECT_EQ(drive::columnCount(2), 1) << "the top gem is still on its way";
    EXPECT_NE(game.board[LastFieldRow][2], 0);
    fallStep();
    for (int c = 0; c < BoardColumns; ++c) EXPECT_EQ(drive::columnCount(c), 0);
    EXPECT_FALSE(turn.removing);
    EXPECT_EQ(countSampleRequests(Sample::New), 0) << "no fall sound while a level drains";
    // The field stays empty while the event lasts.
    for (int step = 0; step < 5; ++step) fallStep();
    for (int c = 0; c < BoardColumns; ++c) EXPECT_EQ(drive::columnCount(c), 0);
}

TEST_F(Falling, NewGemsAppearOnlyWithoutAnEventOrWithExcellent) {
    struct Case {
        BoardEvent event;
        bool timedDrain;
        bool spawns;
    } cases[] = {
        {BoardEvent::None, false, true},         {BoardEvent::Excellent, false, true},
        {BoardEvent::LevelComplete, false, false}, {BoardEvent::NoMoves, false, false},
        {BoardEvent::None, true, false},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(static_cast<int>(k.event) * 10 + k.timedDrain);
        drive::setQuietField();
        game.board[SpawnRow][4] = 0;
        game.boardEvent = k.event;
        game.timedDrain = k.timedDrain;
        fallStep();
        EXPECT_EQ(game.board[SpawnRow][4] != 0, k.spawns);
    }
}

TEST_F(Falling, TheFallSoundPlaysExceptWhileALevelOrTheTimedFieldDrains) {
    struct Case {
        BoardEvent event;
        uint8_t timedDrain, gameOverDrain;
        int sounds;
    } cases[] = {
        {BoardEvent::None, 0, 0, 1},
        {BoardEvent::LevelComplete, 0, 0, 0},
        {BoardEvent::None, 1, 0, 0},
        {BoardEvent::NoMoves, 0, 1, 1},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(static_cast<int>(k.event) * 100 + k.timedDrain * 10 + k.gameOverDrain);
        drive::setQuietField();
        game.board[6][1] = 0;
        game.boardEvent = k.event;
        game.timedDrain = k.timedDrain;
        game.gameOverDrain = k.gameOverDrain;
        clearSoundLog();
        fallStep();
        EXPECT_EQ(countSampleRequests(Sample::New), k.sounds);
    }
}

TEST_F(Falling, ANewGameFillsTheFieldFromTheSpawnRow) {
    newGame();
    fallStep();
    EXPECT_EQ(drive::spawnRow().find('.'), std::string::npos);
    for (int r = FirstFieldRow; r <= LastFieldRow; ++r)
        for (int c = 0; c < BoardColumns; ++c) EXPECT_EQ(game.board[r][c], 0);
    ASSERT_TRUE(drive::settle());
    EXPECT_EQ(game.score, 0) << "the lines of a filling board score nothing";
    for (int r = FirstFieldRow; r <= LastFieldRow - 2; ++r)
        for (int c = 0; c < BoardColumns; ++c) {
            const int v = game.board[r][c];
            EXPECT_FALSE(v == game.board[r + 1][c] && v == game.board[r + 2][c]) << "a settled board has no line";
        }
}

// ---------------------------------------------------------------------------
// The frame steps

class Turn : public drive::QuietFieldTest {
protected:
    void SetUp() override {
        QuietFieldTest::SetUp();
        drive::addSpareMove();
    }
};

TEST_F(Turn, ASwapWithoutALineTravelsBackAndLeavesTheBoardAsItWas) {
    const auto before = drive::field();
    drive::swapByClicks(2, 3, 3, 3);
    ASSERT_TRUE(turn.swapActive);
    const int forward = drive::runUntil([] { return turn.swapReturning != 0; }, 200);
    EXPECT_GT(forward, 40);
    EXPECT_LT(forward, 52);
    EXPECT_EQ(game.board[3][2], drive::quietKind(3, 3)) << "the cells are exchanged at the turn";
    EXPECT_EQ(countSampleRequests(Sample::Bad), 1);
    const int back = drive::runUntil([] { return turn.swapActive == 0; }, 200);
    EXPECT_GT(back, 55);
    EXPECT_LT(back, 70);
    EXPECT_EQ(drive::field(), before);
    EXPECT_FALSE(turn.swapReturning);
    EXPECT_FALSE(turn.firstSelected);
    EXPECT_EQ(turn.firstMotion.x, 0.0f);
    EXPECT_EQ(turn.secondMotion.vy, 0.0f);
    EXPECT_EQ(game.score, 0);
    EXPECT_EQ(game.comboCount, 0);
    EXPECT_EQ(game.boardEvent, BoardEvent::None);
}

TEST_F(Turn, ALineOfFiveThenACascadeScoresThirtyThenForty) {
    // Row 6: 7 7 _ 7 7 with the missing 7 above the gap; column 0 holds
    // 5 5 over the line and a 5 under it, which meet once the line is gone.
    for (int c : {0, 1, 3, 4}) game.board[6][c] = 7;
    game.board[5][2] = 7;
    game.board[4][0] = 5;
    game.board[5][0] = 5;
    game.board[7][0] = 5;
    game.board[8][0] = 1;
    drive::swapByClicks(2, 5, 2, 6);
    EXPECT_TRUE(game.playerMoved);

    ASSERT_GT(drive::runUntil([] { return turn.removing != 0; }, 200), 0);
    EXPECT_EQ(game.score, 30);
    for (int c = 0; c < 5; ++c) EXPECT_EQ(game.board[6][c], 7);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(scene.scorePopups[i].points, 10 * (i + 1));

    ASSERT_GT(drive::runUntil([] { return turn.removing == 0; }, 200), 0);
    for (int c = 0; c < 5; ++c) EXPECT_EQ(game.board[6][c], 0);
    EXPECT_EQ(game.score, 30);

    ASSERT_GT(drive::runUntil([] { return turn.removing != 0; }, 200), 0);
    EXPECT_EQ(game.lastPassPoints, 40);
    EXPECT_EQ(game.score, 70);
    EXPECT_EQ(game.comboCount, 2);
    EXPECT_EQ(countSampleRequests(Sample::Combo2), 1);
    for (int r = 5; r <= 7; ++r) EXPECT_EQ(game.board[r][0], 5);

    ASSERT_TRUE(drive::settle());
    EXPECT_GE(game.score, 70);
}


TEST_F(Turn, TheFallClockStopsOnThePromptAndTheScoreScreens) {
    struct Case {
        Screen screen;
        bool runs;
    } cases[] = {{Screen::Playing, true},         {Screen::Options, true},
                 {Screen::ConfirmNewGame, true},  {Screen::ConfirmQuit, true},
                 {Screen::ContinuePrompt, false}, {Screen::HighScores, false},
                 {Screen::NameEntry, false}};
    for (const Case& k : cases) {
        SCOPED_TRACE(static_cast<int>(k.screen));
        game.fallOffset = -0.5f;
        ui.screen = k.screen;
        drive::frame();
        EXPECT_EQ(game.fallOffset != -0.5f, k.runs);
    }
}

TEST_F(Turn, AFallStepComesEveryEighthFrame) {
    game.fallOffset = 0.0f;
    int steps = 0;
    for (int n = 0; n < 90; ++n) {
        drive::frame();
        if (game.fallOffset == 0.0f) ++steps;
    }
    EXPECT_EQ(steps, 11);  // 0.126 a frame: eight frames from 0 to below -1
}

TEST_F(Turn, WhilePausedTheGemsAreHiddenButTheSwapRunsOn) {
    drive::swapByClicks(2, 3, 3, 3);
    ui.paused = 1;
    EXPECT_FALSE(gemsShown());
    const float angle = turn.spinAngle;
    ASSERT_GT(drive::runUntil([] { return turn.swapActive == 0; }, 300), 0);
    EXPECT_EQ(turn.spinAngle, angle) << "spins advance only while the gem is drawn";
    ui.paused = 0;
    ui.screen = Screen::Options;
    EXPECT_FALSE(gemsShown());
    ui.screen = Screen::Playing;
    EXPECT_TRUE(gemsShown());
}

TEST_F(Turn, NoMoveLeftEndsALevelsGame) {
    drive::setQuietField();
    drive::frame();
    EXPECT_EQ(game.boardEvent, BoardEvent::NoMoves);
    EXPECT_TRUE(game.gameOverDrain);
    EXPECT_TRUE(game.gameOverPending);
    EXPECT_EQ(countSampleRequests(Sample::GameOver), 1);
    drive::frame();
    EXPECT_EQ(countSampleRequests(Sample::GameOver), 1);
}

TEST_F(Turn, NoMoveTestWaitsForAFullBoardAndTheBoardScreen) {
    drive::setQuietField();
    game.board[SpawnRow][5] = 0;
    ui.screen = Screen::Playing;
    game.fallOffset = 0.0f;  // no fall step in this frame
    drive::frame();
    EXPECT_EQ(game.boardEvent, BoardEvent::None);
    drive::setQuietField();
    ui.screen = Screen::Options;
    drive::frame();
    EXPECT_EQ(game.boardEvent, BoardEvent::None);
}

TEST_F(Turn, TheTimedFieldDrainsAndRefillsWithoutScoring) {
    drive::start(GameMode::Timed);
    drive::setQuietField();
    game.playerMoved = 1;
    drive::frame();
    EXPECT_TRUE(game.timedDrain);
    EXPECT_EQ(game.boardEvent, BoardEvent::None);
    EXPECT_EQ(countSampleRequests(Sample::GameOver), 0);
    ASSERT_GT(drive::runUntil([] { return game.timedDrain == 0; }, 1000), 0);
    for (int c = 0; c < BoardColumns; ++c) EXPECT_EQ(drive::columnCount(c), 0);
    EXPECT_FALSE(game.playerMoved);
    EXPECT_EQ(countSampleRequests(Sample::New), 0);
    ASSERT_TRUE(drive::settle());
    EXPECT_EQ(game.score, 0);
}

TEST_F(Turn, LeavingTheTimedModeDuringItsDrainStillRefillsTheField) {
    drive::start(GameMode::Timed);
    drive::setQuietField();
    drive::frame();
    ASSERT_TRUE(game.timedDrain);
    drive::runUntil([] { return drive::columnCount(0) < 5; }, 200);
    // The player picks the levels mode while the field runs out.
    ui.modeAButton = ButtonPressed;
    ui.modeBButton = ButtonNormal;
    game.gameMode = GameMode::Levels;
    newGame();
    ASSERT_TRUE(drive::settle(3000));
    EXPECT_FALSE(game.timedDrain);
}

// ---------------------------------------------------------------------------
// Spins of the selected gems

TEST_F(Turn, TheSelectedGemSpinsWhileDrawnAndStopsAtTheEndOfItsTurn) {
    drive::click(4, 4);
    ASSERT_TRUE(turn.spinning);
    float degrees[2];
    ASSERT_EQ(advanceSpinsAt(4, 4, degrees), 1);
    EXPECT_FLOAT_EQ(degrees[0], 5.25f);
    EXPECT_EQ(advanceSpinsAt(4, 5, degrees), 0);
    drive::click(4, 4);  // deselect: the spin ends at its next whole turn
    EXPECT_TRUE(turn.spinStop);
    int frames = 0;
    while (turn.spinning && frames < 200) {
        drive::frame();
        ++frames;
    }
    EXPECT_EQ(frames, 69);  // 68 frames to pass 360, one more to stop
    EXPECT_EQ(turn.spinAngle, 0.0f);
}

TEST_F(Turn, SelectingAnotherGemHandsTheSpinOver) {
    drive::click(4, 4);
    for (int n = 0; n < 10; ++n) drive::frame();
    const float angle = turn.spinAngle;
    EXPECT_GT(angle, 50.0f);
    drive::click(1, 1);  // not a neighbour: drops the first, selects this one
    EXPECT_TRUE(turn.firstSelected);
    EXPECT_EQ(turn.firstCell.column, 1);
    EXPECT_TRUE(turn.prevSpinning);
    EXPECT_EQ(turn.prevSpinCell.column, 4);
    EXPECT_FLOAT_EQ(turn.prevSpinAngle, angle);
    EXPECT_TRUE(turn.prevSpinStop);
    EXPECT_EQ(turn.spinCell.column, 1);
    EXPECT_EQ(turn.spinAngle, angle) << "the new spin goes on from the running angle";
    drive::frame();
    EXPECT_FLOAT_EQ(turn.spinAngle, angle + 5.25f);
}

TEST_F(Turn, AnAngleWithoutItsSpinIsClearedAtTheNextDrawnGem) {
    turn.spinning = 0;
    turn.spinAngle = 100.0f;
    turn.prevSpinning = 0;
    turn.prevSpinAngle = 80.0f;
    ui.paused = 1;
    stepBoard();
    EXPECT_EQ(turn.spinAngle, 100.0f) << "no gem is drawn while paused";
    ui.paused = 0;
    stepBoard();
    EXPECT_EQ(turn.spinAngle, 0.0f);
    EXPECT_EQ(turn.prevSpinAngle, 0.0f);
}

TEST_F(Turn, ASpawnRowGemSpinsOnlyWhileTheCellBelowIsEmpty) {
    game.fallOffset = 0.0f;  // no fall step in these frames
    turn.spinning = 1;
    turn.spinCell = {3, SpawnRow};
    stepBoard();
    EXPECT_EQ(turn.spinAngle, 0.0f) << "hidden behind the top field gem";
    game.board[FirstFieldRow][3] = 0;
    game.fallOffset = 0.0f;
    stepBoard();
    EXPECT_FLOAT_EQ(turn.spinAngle, 5.25f);
    game.board[SpawnRow][3] = 0;
    game.fallOffset = 0.0f;
    stepBoard();
    EXPECT_FLOAT_EQ(turn.spinAngle, 5.25f) << "an empty cell is not drawn";
}

}  // namespace
