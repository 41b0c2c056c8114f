// The two high-score tables and their 130-byte file.

#include <algorithm>

#include "persist_fixture.h"

namespace {

// One 13-byte record: nine name bytes and the score.
void appendRecord(Bytes& bytes, const char* name, int32_t score) {
    ASSERT_EQ(std::strlen(name), 9u);
    bytes.insert(bytes.end(), name, name + 9);
    appendInt32(bytes, score);
}

struct Row {
    const char* name;
    int32_t score;
};

Bytes fileOf(const Row (&levels)[5], const Row (&timed)[5]) {
    Bytes bytes;
    for (const Row& row : levels) appendRecord(bytes, row.name, row.score);
    for (const Row& row : timed) appendRecord(bytes, row.name, row.score);
    return bytes;
}

const Row SortedLevels[5] = {
    {"Dora$$$$$", 50}, {"Emil$$$$$", 40}, {"Bea$$$$$$", 30}, {"Cid$$$$$$", 20}, {"Ann$$$$$$", 10}};
const Row SortedTimed[5] = {
    {"Tim$$$$$$", 900}, {"Tom$$$$$$", 800}, {"Tia$$$$$$", 700}, {"Ted$$$$$$", 600}, {"Tara$$$$$", 500}};

void expectTable(GameMode mode, const Row (&rows)[5]) {
    const HighScoreTable& table = scoreBook.highScores[static_cast<int>(mode)];
    for (int i = 0; i < 5; ++i) {
        EXPECT_STREQ(table.entries[i].name, rows[i].name) << "entry " << i;
        EXPECT_EQ(table.entries[i].score, rows[i].score) << "entry " << i;
    }
}

// Types a name the way the main loop stores letters: the first upper case.
void typeName(const char* letters) {
    scoreBook.entryCursor = 1;
    for (const char* c = letters; *c; ++c) scoreBook.entryName[scoreBook.entryCursor++ - 1] = *c;
}

class HighScores : public PersistTest {
protected:
    void installSortedFile() {
        ASSERT_TRUE(writeBytes("base/hiscores", fileOf(SortedLevels, SortedTimed)));
        loadHighScores();
    }
    // The sorted tables, then a levels game of this score ends with this name typed.
    void insertIntoSortedTables(int32_t score, const char* name) {
        installSortedFile();
        game.score = score;
        typeName(name);
        insertHighScore(GameMode::Levels);
    }
};

TEST_F(HighScores, StartUpSortsEachTableBestFirstAndWritesItBack) {
    const Row levels[5] = {
        {"Ann$$$$$$", 10}, {"Bea$$$$$$", 30}, {"Cid$$$$$$", 20}, {"Dora$$$$$", 50}, {"Emil$$$$$", 40}};
    const Row timed[5] = {
        {"Tara$$$$$", 500}, {"Tim$$$$$$", 900}, {"Ted$$$$$$", 600}, {"Tom$$$$$$", 800}, {"Tia$$$$$$", 700}};
    ASSERT_TRUE(writeBytes("base/hiscores", fileOf(levels, timed)));

    loadHighScores();

    expectTable(GameMode::Levels, SortedLevels);
    expectTable(GameMode::Timed, SortedTimed);
    EXPECT_EQ(readBytes("base/hiscores"), fileOf(SortedLevels, SortedTimed));
}

TEST_F(HighScores, TheSortExchangesOnlyALowerScoreWithAHigherOne) {
    const Row levels[5] = {
        {"First$$$$", 20}, {"Low$$$$$$", 5}, {"Second$$$", 20}, {"Top$$$$$$", 90}, {"Third$$$$", 20}};
    ASSERT_TRUE(writeBytes("base/hiscores", fileOf(levels, SortedTimed)));

    loadHighScores();

    // The exchange sort moves First down through its swaps with Top and Low;
    // the three twenties are never exchanged with one another directly.
    const Row sorted[5] = {
        {"Top$$$$$$", 90}, {"Second$$$", 20}, {"First$$$$", 20}, {"Third$$$$", 20}, {"Low$$$$$$", 5}};
    expectTable(GameMode::Levels, sorted);
}

TEST_F(HighScores, TwoLettersAreStoredAsNineBytesWithTheirFill) {
    insertIntoSortedTables(60, "Ab");
    refreshHighScores();

    Bytes file = readBytes("base/hiscores");
    ASSERT_EQ(file.size(), 130u);
    EXPECT_EQ(std::string(file.begin(), file.begin() + 9), "Ab$$$$$$$");
    EXPECT_EQ(int32At(file, 9), 60);
    EXPECT_STREQ(scoreBook.highScores[0].entries[0].name, "Ab$$$$$$$");
}

TEST_F(HighScores, InsertingAtTheTopMovesTheOthersDownAndDropsTheFifth) {
    insertIntoSortedTables(51, "Zed");

    const Row expected[5] = {
        {"Zed$$$$$$", 51}, {"Dora$$$$$", 50}, {"Emil$$$$$", 40}, {"Bea$$$$$$", 30}, {"Cid$$$$$$", 20}};
    expectTable(GameMode::Levels, expected);
    refreshHighScores();
    expectTable(GameMode::Levels, expected);
    EXPECT_EQ(readBytes("base/hiscores"), fileOf(expected, SortedTimed));
}

TEST_F(HighScores, AnEqualScoreGoesBelowTheEntryItTies) {
    insertIntoSortedTables(40, "Eve");

    const Row expected[5] = {
        {"Dora$$$$$", 50}, {"Emil$$$$$", 40}, {"Eve$$$$$$", 40}, {"Bea$$$$$$", 30}, {"Cid$$$$$$", 20}};
    expectTable(GameMode::Levels, expected);
}

TEST_F(HighScores, AScoreThatBeatsNoEntryChangesNothingButClearsTheName) {
    insertIntoSortedTables(10, "Abc");  // equal to the fifth: does not qualify

    expectTable(GameMode::Levels, SortedLevels);
    EXPECT_STREQ(scoreBook.entryName, "$$$$$$$$$");
    EXPECT_EQ(scoreBook.entryCursor, 1);
}

TEST_F(HighScores, ANegativeScoreNeverBeatsAnEmptyEntry) {
    loadHighScores();  // no file: empty tables, score 0
    game.score = -5;

    insertHighScore(GameMode::Levels);

    for (const HighScoreEntry& entry : scoreBook.highScores[0].entries) EXPECT_EQ(entry.score, 0);
}

TEST_F(HighScores, NothingTypedIsStoredAsNineFreePlacesFirstTimeAndLater) {
    installSortedFile();
    // The first entry of a run: the buffer is still all zero bytes.
    ASSERT_EQ(scoreBook.entryName[0], '\0');
    game.score = 1000;
    insertHighScore(GameMode::Levels);
    refreshHighScores();
    EXPECT_STREQ(scoreBook.highScores[0].entries[0].name, "$$$$$$$$$");
    EXPECT_STREQ(scoreBook.entryName, "$$$$$$$$$");

    // A later entry: the buffer now holds free places.
    game.score = 2000;
    insertHighScore(GameMode::Levels);
    refreshHighScores();
    EXPECT_STREQ(scoreBook.highScores[0].entries[0].name, "$$$$$$$$$");
    Bytes file = readBytes("base/hiscores");
    ASSERT_EQ(file.size(), 130u);
    EXPECT_EQ(std::string(file.begin(), file.begin() + 9), "$$$$$$$$$");
    EXPECT_EQ(int32At(file, 9), 2000);
    EXPECT_EQ(std::string(file.begin() + 13, file.begin() + 22), "$$$$$$$$$");
    EXPECT_EQ(int32At(file, 22), 1000);
}

TEST_F(HighScores, ATimedGameChangesOnlyTheSecondHalfOfTheFile) {
    installSortedFile();
    Bytes before = readBytes("base/hiscores");
    game.gameMode = GameMode::Timed;
    game.score = 750;
    typeName("Quick");

    insertHighScore(GameMode::Timed);
    refreshHighScores();

    Bytes after = readBytes("base/hiscores");
    ASSERT_EQ(after.size(), 130u);
    EXPECT_TRUE(std::equal(before.begin(), before.begin() + 65, after.begin()));
    EXPECT_EQ(std::string(after.begin() + 65 + 2 * 13, after.begin() + 65 + 2 * 13 + 9), "Quick$$$$");
    EXPECT_EQ(int32At(after, 65 + 2 * 13 + 9), 750);
    expectTable(GameMode::Levels, SortedLevels);
}

TEST_F(HighScores, AMissingFileLeavesUsableTablesAndTheFirstWriteMakesIt) {
    loadHighScores();

    Bytes file = readBytes("base/hiscores");
    ASSERT_EQ(file.size(), 130u);
    for (int record = 0; record < 10; ++record) {
        EXPECT_EQ(std::string(file.begin() + 13 * record, file.begin() + 13 * record + 9), "$$$$$$$$$");
        EXPECT_EQ(int32At(file, 13 * record + 9), 0);
    }
    game.score = 10;
    typeName("New");
    insertHighScore(GameMode::Levels);
    refreshHighScores();
    EXPECT_STREQ(scoreBook.highScores[0].entries[0].name, "New$$$$$$");
    EXPECT_EQ(int32At(readBytes("base/hiscores"), 9), 10);
}

// A record the file does not hold whole keeps the entry it had, as with no
// file at all; no score of -1 is ever shown or written back.
TEST_F(HighScores, AShortOrEmptyFileKeepsTheEntriesItCutsOff) {
    for (HighScoreEntry& entry : scoreBook.highScores[1].entries) std::strcpy(entry.name, "Kept$$$$$");
    Bytes bytes;
    appendRecord(bytes, "Whole$$$$", 70);
    bytes.insert(bytes.end(), {'H', 'a', 'l', 'f', '$', '$', '$', '$', '$', 1, 0});  // record 2 ends inside its score
    ASSERT_TRUE(writeBytes("base/hiscores", bytes));

    readHighScoreFile();

    const HighScoreTable& levels = scoreBook.highScores[0];
    EXPECT_STREQ(levels.entries[0].name, "Whole$$$$");
    EXPECT_EQ(levels.entries[0].score, 70);
    EXPECT_STREQ(levels.entries[1].name, "");
    for (int i = 1; i < 5; ++i) EXPECT_EQ(levels.entries[i].score, 0);
    for (const HighScoreEntry& entry : scoreBook.highScores[1].entries) {
        EXPECT_STREQ(entry.name, "Kept$$$$$");
        EXPECT_EQ(entry.score, 0);
    }

    for (const Bytes& file : {Bytes{}, Bytes{'A', 'b'}}) {
        resetGameState();
        ASSERT_TRUE(writeBytes("base/hiscores", file));
        loadHighScores();
        const Bytes written = readBytes("base/hiscores");
        ASSERT_EQ(written.size(), 130u);
        for (int record = 0; record < 10; ++record) {
            EXPECT_EQ(std::string(written.begin() + 13 * record, written.begin() + 13 * record + 9), "$$$$$$$$$");
            EXPECT_EQ(int32At(written, 13 * record + 9), 0);
        }
    }
}

TEST_F(HighScores, AGarbageFileNeverBreaksTheTablesOrTheNextFile) {
    Bytes garbage;
    unsigned state = 12345;
    for (int i = 0; i < 200; ++i) {
        state = state * 1103515245u + 12345u;
        garbage.push_back(static_cast<uint8_t>(state >> 16));
    }
    garbage[3] = '\n';  // a line feed ends the first name early
    garbage[40] = '\n';
    ASSERT_TRUE(writeBytes("base/hiscores", garbage));

    loadHighScores();

    // What was written must read back as the same tables: every record whole.
    Bytes written = readBytes("base/hiscores");
    ASSERT_EQ(written.size(), 130u);
    HighScoreTable before[2];
    std::memcpy(before, scoreBook.highScores, sizeof before);
    readHighScoreFile();
    for (int t = 0; t < 2; ++t) {
        for (int i = 0; i < 5; ++i) {
            EXPECT_STREQ(scoreBook.highScores[t].entries[i].name, before[t].entries[i].name);
            EXPECT_EQ(scoreBook.highScores[t].entries[i].score, before[t].entries[i].score);
            EXPECT_EQ(std::strlen(scoreBook.highScores[t].entries[i].name), 9u);
        }
        for (int i = 0; i < 4; ++i) {
            EXPECT_GE(scoreBook.highScores[t].entries[i].score, scoreBook.highScores[t].entries[i + 1].score);
        }
    }
}

}  // namespace
