// The saved game: 85 4-byte values, written at exit and read on continue.

#include <cstdlib>

#include "persist_fixture.h"

namespace {

int32_t& cellAt(int linear) { return game.board[linear / BoardColumns][linear % BoardColumns]; }

// A board in which every cell of rows 0..8 says where it is (kind 1..7).
void fillBoard() {
    for (int row = 0; row <= LastFieldRow; ++row)
        for (int column = 0; column < BoardColumns; ++column)
            game.board[row][column] = (row * 3 + column) % GemKinds + 1;
}

// A saved-game file as this game writes it: board values by the 9 runs of 9.
Bytes savedFile(int32_t mode, int32_t level, int32_t timeLeft, int32_t score, const int32_t (&board)[BoardRows][BoardColumns]) {
    Bytes bytes;
    appendInt32(bytes, mode);
    appendInt32(bytes, level);
    appendInt32(bytes, timeLeft);
    appendInt32(bytes, score);
    for (int run = 0; run < 9; ++run)
        for (int place = 0; place < 9; ++place) {
            int linear = 8 * run + place;
            appendInt32(bytes, board[linear / BoardColumns][linear % BoardColumns]);
        }
    return bytes;
}

// A timed game to save: the board of fillBoard() on a closed floor.
void timedGameToSave(int32_t level, int32_t score) {
    fillBoard();
    for (int column = 0; column < BoardColumns; ++column) game.board[FloorRow][column] = ClosedFloor;
    game.gameMode = GameMode::Timed;
    game.level = level;
    game.timeLeft = 37.9f;
    game.score = score;
}

// The restored mode, and the mode buttons' looks that follow it.
void expectModeAndButtons(GameMode mode) {
    EXPECT_EQ(game.gameMode, mode);
    EXPECT_EQ(ui.modeAButton, mode == GameMode::Levels ? ButtonPressed : ButtonNormal);
    EXPECT_EQ(ui.modeBButton, mode == GameMode::Timed ? ButtonPressed : ButtonNormal);
}

struct Snapshot {
    int32_t board[BoardRows][BoardColumns];
    int32_t score, level, levelBase, levelTarget, backgroundKind, modeA, modeB;
    float timeLeft, shownScore;
    GameMode mode;

    static Snapshot take() {
        Snapshot s;
        std::memcpy(s.board, game.board, sizeof s.board);
        s.score = game.score;
        s.level = game.level;
        s.levelBase = game.levelBase;
        s.levelTarget = game.levelTarget;
        s.backgroundKind = game.backgroundKind;
        s.modeA = ui.modeAButton;
        s.modeB = ui.modeBButton;
        s.timeLeft = game.timeLeft;
        s.shownScore = scene.shownScore;
        s.mode = game.gameMode;
        return s;
    }
    void expectUnchanged() const {
        EXPECT_EQ(std::memcmp(board, game.board, sizeof board), 0);
        EXPECT_EQ(score, game.score);
        EXPECT_EQ(level, game.level);
        EXPECT_EQ(levelBase, game.levelBase);
        EXPECT_EQ(levelTarget, game.levelTarget);
        EXPECT_EQ(backgroundKind, game.backgroundKind);
        EXPECT_EQ(modeA, ui.modeAButton);
        EXPECT_EQ(modeB, ui.modeBButton);
        EXPECT_EQ(timeLeft, game.timeLeft);
        EXPECT_EQ(shownScore, scene.shownScore);
        EXPECT_EQ(mode, game.gameMode);
    }
};

using SavedGame = PersistTest;

TEST_F(SavedGame, IsWrittenAs85ValuesWithColumnZeroStoredTwice) {
    timedGameToSave(4, 12345);

    saveGame();

    Bytes file = readBytes("base/data.inf");
    ASSERT_EQ(file.size(), 85u * 4);
    EXPECT_EQ(int32At(file, 0), 1);
    EXPECT_EQ(int32At(file, 4), 4);
    EXPECT_EQ(int32At(file, 8), 37);  // truncated, not rounded
    EXPECT_EQ(int32At(file, 12), 12345);
    for (int run = 0; run < 9; ++run)
        for (int place = 0; place < 9; ++place)
            EXPECT_EQ(int32At(file, 16 + 4 * (9 * run + place)), cellAt(8 * run + place)) << run << "," << place;
    // The end of run 0 and the start of run 1 both hold row 1, column 0.
    EXPECT_EQ(int32At(file, 16 + 4 * 8), game.board[1][0]);
    EXPECT_EQ(int32At(file, 16 + 4 * 9), game.board[1][0]);
    EXPECT_EQ(int32At(file, 16 + 4 * 80), ClosedFloor);  // the floor cell of column 0
}

TEST_F(SavedGame, ALevelsGameComesBackWithItsBoardBoundsAndBackground) {
    fillBoard();
    game.board[FloorRow][0] = 0;  // saved while the field drained
    ASSERT_TRUE(writeBytes("base/data.inf", savedFile(0, 3, 0, 4200, game.board)));
    int32_t expected[BoardRows][BoardColumns];
    std::memcpy(expected, game.board, sizeof expected);
    resetGameState();

    ASSERT_TRUE(restoreGame());

    for (int row = 0; row <= LastFieldRow; ++row)
        for (int column = 0; column < BoardColumns; ++column)
            EXPECT_EQ(game.board[row][column], expected[row][column]) << row << "," << column;
    for (int column = 0; column < BoardColumns; ++column) EXPECT_EQ(game.board[FloorRow][column], ClosedFloor);
    expectModeAndButtons(GameMode::Levels);
    EXPECT_EQ(game.level, 3);
    EXPECT_EQ(game.score, 4200);
    EXPECT_FLOAT_EQ(scene.shownScore, 4200.0f);
    EXPECT_EQ(game.levelBase, 3000);
    EXPECT_EQ(game.levelTarget, 5500);
    EXPECT_EQ(game.backgroundKind, 3);
}

TEST_F(SavedGame, ATimedGameKeepsItsStoredTime) {
    timedGameToSave(0, 800);
    saveGame();
    resetGameState();
    game.levelBase = 1500;  // left from an earlier levels game
    game.levelTarget = 3000;

    ASSERT_TRUE(restoreGame());

    expectModeAndButtons(GameMode::Timed);
    EXPECT_FLOAT_EQ(game.timeLeft, 37.0f);
    EXPECT_EQ(game.levelBase, 1500);
    EXPECT_EQ(game.levelTarget, 3000);
}

TEST_F(SavedGame, AboveLevelFiveTheBackgroundIsTheRandomOne) {
    fillBoard();
    ASSERT_TRUE(writeBytes("base/data.inf", savedFile(0, 7, 0, 17000, game.board)));
    srand(99);
    int expected = rand() % 6;
    srand(99);

    ASSERT_TRUE(restoreGame());

    EXPECT_EQ(game.backgroundKind, expected);
    EXPECT_EQ(game.levelBase, 16000);
    EXPECT_EQ(game.levelTarget, 21000);
    int next = rand();  // exactly one number was drawn: this is the second
    srand(99);
    rand();
    EXPECT_EQ(next, rand());
}

TEST_F(SavedGame, WhereACellIsStoredTwiceTheLaterValueStays) {
    fillBoard();
    Bytes file = savedFile(0, 0, 0, 0, game.board);
    // Row 2, column 0 ends run 1 and starts run 2.
    std::memcpy(&file[16 + 4 * (9 * 1 + 8)], "\x03\0\0\0", 4);
    std::memcpy(&file[16 + 4 * (9 * 2 + 0)], "\x06\0\0\0", 4);
    ASSERT_TRUE(writeBytes("base/data.inf", file));

    ASSERT_TRUE(restoreGame());

    EXPECT_EQ(game.board[2][0], 6);
}

// Files that cannot be a game of ours: nothing changes and the file stays.
class BrokenSavedGame : public SavedGame {
protected:
    void expectRefused(const Bytes& file) {
        ASSERT_TRUE(writeBytes("base/data.inf", file));
        newGame();
        game.score = 77;
        game.board[4][4] = 5;
        Snapshot before = Snapshot::take();

        EXPECT_FALSE(restoreGame());

        before.expectUnchanged();
        EXPECT_EQ(readBytes("base/data.inf"), file);
    }
    Bytes good() {
        int32_t board[BoardRows][BoardColumns] = {};
        for (int i = 0; i < 72; ++i) board[i / 8][i % 8] = i % 8;
        return savedFile(1, 2, 40, 900, board);
    }
};

TEST_F(BrokenSavedGame, AMissingFileRestoresNothing) {
    newGame();
    Snapshot before = Snapshot::take();
    EXPECT_FALSE(restoreGame());
    before.expectUnchanged();
    EXPECT_FALSE(fileExists("base/data.inf"));
}

TEST_F(BrokenSavedGame, AFileOfAnotherSizeIsRefused) {
    Bytes file = good();
    file.push_back(0);
    expectRefused(file);
    file.resize(file.size() - 2);
    expectRefused(file);
    expectRefused(Bytes());
}

TEST_F(BrokenSavedGame, AnUnknownModeIsRefused) {
    Bytes file = good();
    file[0] = 2;
    expectRefused(file);
    file[0] = 0xff, file[1] = 0xff, file[2] = 0xff, file[3] = 0xff;  // -1
    expectRefused(file);
}

TEST_F(BrokenSavedGame, ANegativeLevelIsRefused) {
    Bytes file = good();
    std::memcpy(&file[4], "\xff\xff\xff\xff", 4);
    expectRefused(file);
}

TEST_F(BrokenSavedGame, ACellThatIsNoGemIsRefused) {
    for (int value : {8, -1, 555}) {
        for (int index : {4, 40, 83}) {  // the spawn row, the field, the last field cell
            Bytes file = good();
            std::memset(&file[4 * index], 0, 4);
            Bytes number;
            appendInt32(number, value);
            std::memcpy(&file[4 * index], number.data(), 4);
            SCOPED_TRACE(testing::Message() << "value " << value << " at " << index);
            expectRefused(file);
        }
    }
}

TEST_F(BrokenSavedGame, ASavedGameFolderIsRefused) {
    ASSERT_EQ(mkdir("base/data.inf", 0755), 0);
    newGame();
    Snapshot before = Snapshot::take();
    EXPECT_FALSE(restoreGame());
    before.expectUnchanged();
}

}  // namespace
