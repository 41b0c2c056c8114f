// Lines of three: scoring, the removal list, popups, combos and the swap back.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "driver.h"

namespace {

class Matches : public drive::QuietFieldTest {
protected:
    void SetUp() override {
        QuietFieldTest::SetUp();
        game.playerMoved = 1;
    }

    // Ends the running removal at once and puts the quiet field back.
    void clearPass() {
        for (RemovalEntry& entry : turn.removalList) entry.used = 0;
        turn.removing = 0;
        drive::setQuietField();
    }

    static void line(int row, int column, int length, int kind = 7) {
        for (int i = 0; i < length; ++i) game.board[row][column + i] = kind;
    }

    static std::set<std::pair<int, int>> recordedCells() {
        std::set<std::pair<int, int>> cells;
        for (int slot = 1; slot < RemovalSlots; ++slot)
            if (turn.removalList[slot].used)
                cells.insert({turn.removalList[slot].column, turn.removalList[slot].row});
        return cells;
    }
};


TEST_F(Matches, ALineOfThreeScoresTen) {
    line(4, 2, 3);
    game.timeLeft = 7.0f;
    resolveMatches(true);
    EXPECT_EQ(game.score, 10);
    EXPECT_EQ(game.lastPassPoints, 10);
    EXPECT_EQ(game.comboCount, 1);
    EXPECT_FLOAT_EQ(game.timeLeft, 9.5f);
    EXPECT_TRUE(turn.removing);
    EXPECT_FALSE(turn.swapActive) << "a swap that made a line is not sent back";
    EXPECT_FLOAT_EQ(removalScale(), 1.0f);
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(turn.removalList[1 + i].used);
        EXPECT_EQ(turn.removalList[1 + i].column, 2 + i);
        EXPECT_EQ(turn.removalList[1 + i].row, 4);
    }
    EXPECT_FALSE(turn.removalList[0].used);
    EXPECT_FALSE(turn.removalList[4].used);
    ASSERT_TRUE(scene.scorePopups[0].active);
    EXPECT_EQ(scene.scorePopups[0].points, 10);
    EXPECT_EQ(scene.scorePopups[0].x, 52 * 2 + 260);
    EXPECT_EQ(scene.scorePopups[0].y, 480 - 52 * 4);
    EXPECT_EQ(countSampleRequests(Sample::Combo), 1);
}


TEST_F(Matches, ALineOfFiveScoresThirtyWithRunningPopups) {
    line(6, 1, 5);
    resolveMatches(true);
    EXPECT_EQ(game.score, 30);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(scene.scorePopups[i].active);
        EXPECT_EQ(scene.scorePopups[i].points, 10 * (i + 1));
        EXPECT_EQ(scene.scorePopups[i].x, 52 * (1 + i) + 260);
    }
    EXPECT_FALSE(scene.scorePopups[3].active);

    // The next pass of the chain: each triple also carries the last pass.
    clearPass();
    line(2, 4, 3, 7);
    resolveMatches(false);
    EXPECT_EQ(game.lastPassPoints, 40);
    EXPECT_EQ(game.score, 70);
    EXPECT_EQ(game.comboCount, 2);
    EXPECT_EQ(countSampleRequests(Sample::Combo2), 1);
}

TEST_F(Matches, ALineOfFourAtLevelTwoScoresFortyAndRemovesFourCells) {
    game.level = 2;
    line(8, 3, 4);
    const auto before = drive::field();
    resolveMatches(true);
    EXPECT_EQ(game.score, 40);
    EXPECT_EQ(turn.removalCursor, 4);
    EXPECT_EQ(recordedCells(), (std::set<std::pair<int, int>>{{3, 8}, {4, 8}, {5, 8}, {6, 8}}));

    int frames = 0;
    while (turn.removing && frames < 100) {
        stepSwapAndRemoval();
        ++frames;
    }
    EXPECT_EQ(frames, 43) << "0.02 a frame from 1.0 to below 0.1";
    auto expected = before;
    expected[7].replace(3, 4, "....");
    EXPECT_EQ(drive::field(), expected);
    EXPECT_TRUE(recordedCells().empty());
}

TEST_F(Matches, LinesWhileTheBoardFillsScoreNothing) {
    game.playerMoved = 0;
    game.timeLeft = 20.0f;
    line(3, 0, 3);
    resolveMatches(false);
    EXPECT_TRUE(turn.removing);
    EXPECT_EQ(game.comboCount, 1);
    EXPECT_EQ(game.score, 0);
    EXPECT_FLOAT_EQ(game.timeLeft, 20.0f);
    EXPECT_FALSE(scene.scorePopups[0].active);
    EXPECT_EQ(countSampleRequests(Sample::Combo), 1);
}

TEST_F(Matches, ThePassFillsNineteenSlotsAndWritesNothingBeyond) {
    // Rows 1..3 all one kind: eight vertical triples and eighteen horizontal ones.
    for (int r = 1; r <= 3; ++r) line(r, 0, 8);
    resolveMatches(false);
    EXPECT_EQ(game.score, 26 * 10) << "every triple is scored";
    EXPECT_EQ(turn.removalCursor, 3 * 26 - 2);
    EXPECT_FALSE(turn.removalList[0].used);
    // Six whole vertical triples, then the first cell of the seventh.
    for (int slot = 1; slot <= 18; ++slot) {
        SCOPED_TRACE(slot);
        EXPECT_TRUE(turn.removalList[slot].used);
        EXPECT_EQ(turn.removalList[slot].column, (slot - 1) / 3);
        EXPECT_EQ(turn.removalList[slot].row, 1 + (slot - 1) % 3);
    }
    EXPECT_TRUE(turn.removalList[19].used);
    EXPECT_EQ(turn.removalList[19].column, 6);
    EXPECT_EQ(turn.removalList[19].row, 1);
    // Ten popups at most; the rest are skipped.
    for (const ScorePopup& popup : scene.scorePopups) EXPECT_TRUE(popup.active);

    while (turn.removing) stepSwapAndRemoval();
    for (int c = 0; c < 6; ++c)
        for (int r = 1; r <= 3; ++r) EXPECT_EQ(game.board[r][c], 0);
    EXPECT_EQ(game.board[1][6], 0);
    EXPECT_EQ(game.board[2][6], 7) << "cells past the list stay for the next pass";
    EXPECT_EQ(game.board[3][6], 7);
    for (int r = 1; r <= 3; ++r) EXPECT_EQ(game.board[r][7], 7);
    EXPECT_EQ(game.board[4][0], drive::quietKind(0, 4));
}

TEST_F(Matches, TheFourthScoringPassIsExcellent) {
    const int expected[] = {10, 20, 30, 40, 10};
    const Sample sounds[] = {Sample::Combo, Sample::Combo2, Sample::Combo3, Sample::Combo3, Sample::Combo};
    for (int pass = 0; pass < 5; ++pass) {
        SCOPED_TRACE(pass);
        clearPass();
        clearSoundLog();
        line(5, 2, 3);
        resolveMatches(false);
        EXPECT_EQ(game.lastPassPoints, expected[pass]);
        EXPECT_EQ(countSampleRequests(sounds[pass]), 1);
        if (pass == 3) {
            EXPECT_EQ(game.boardEvent, BoardEvent::Excellent);
            EXPECT_EQ(game.comboCount, 0);
            EXPECT_EQ(countSampleRequests(Sample::Excel), 1);
        } else {
            EXPECT_EQ(game.comboCount, pass == 4 ? 1 : pass + 1);
            EXPECT_EQ(countSampleRequests(Sample::Excel), 0);
        }
    }
    EXPECT_EQ(game.score, 110);
}

TEST_F(Matches, ExcellentReplacesAnyEventButNeedsThePlayer) {
    game.boardEvent = BoardEvent::LevelComplete;
    game.comboCount = 3;
    line(5, 2, 3);
    resolveMatches(false);
    EXPECT_EQ(game.boardEvent, BoardEvent::Excellent);

    clearPass();
    game.boardEvent = BoardEvent::None;
    game.playerMoved = 0;
    game.comboCount = 3;
    line(5, 2, 3);
    resolveMatches(false);
    EXPECT_EQ(game.boardEvent, BoardEvent::None);
    EXPECT_EQ(game.comboCount, 4);
}

TEST_F(Matches, ASwapWithoutALineIsSentBack) {
    struct Case {
        Cell first, second;
        float firstVx, firstVy;
    } cases[] = {
        {{3, 4}, {2, 4}, -0.015f, 0.0f},
        {{3, 4}, {4, 4}, 0.015f, 0.0f},
        {{3, 4}, {3, 3}, 0.0f, 0.015f},
        {{3, 4}, {3, 5}, 0.0f, -0.015f},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.second.column * 10 + k.second.row);
        drive::startQuiet();
        game.playerMoved = 1;
        turn.firstCell = k.first;
        turn.secondCell = k.second;
        resolveMatches(true);
        EXPECT_TRUE(turn.swapActive);
        EXPECT_TRUE(turn.swapReturning);
        EXPECT_FLOAT_EQ(turn.firstMotion.vx, k.firstVx);
        EXPECT_FLOAT_EQ(turn.firstMotion.vy, k.firstVy);
        EXPECT_FLOAT_EQ(turn.secondMotion.vx, -k.firstVx);
        EXPECT_FLOAT_EQ(turn.secondMotion.vy, -k.firstVy);
        EXPECT_EQ(countSampleRequests(Sample::Bad), 1);
        EXPECT_EQ(game.score, 0);
        EXPECT_EQ(game.comboCount, 0);
    }
}


TEST_F(Matches, ASwapEndingDuringARemovalCountsAsAScoringPass) {
    turn.removing = 1;
    turn.firstCell = {3, 4};
    turn.secondCell = {4, 4};
    resolveMatches(true);
    EXPECT_FALSE(turn.swapActive);
    EXPECT_EQ(game.comboCount, 1);
    EXPECT_EQ(game.score, 0);
    EXPECT_EQ(countSampleRequests(Sample::Combo), 1);
    EXPECT_EQ(countSampleRequests(Sample::Bad), 0);
}

}  // namespace
