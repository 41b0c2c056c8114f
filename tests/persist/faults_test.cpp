// Files that cannot be written or read: the player keeps what they had and
// the game goes on.

#include "persist/persist_local.h"
#include "persist_fixture.h"

namespace {

const std::vector<std::string> PlayerFiles = {"data.inf", "hiscores", "menu.inf"};

Bytes sampleHighScores() {
    Bytes bytes;
    for (int record = 0; record < 10; ++record) {
        const char* name = record < 5 ? "Old$$$$$$" : "Timed$$$$";
        bytes.insert(bytes.end(), name, name + 9);
        appendInt32(bytes, 100 - 10 * (record % 5));
    }
    return bytes;
}

Bytes sampleSavedGame() {
    Bytes bytes;
    for (int i = 0; i < 85; ++i) appendInt32(bytes, i < 4 ? 1 : i % 8);
    return bytes;
}

const Bytes SampleSettings = {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};

class PlayerFilesTest : public PersistTest {
protected:
    void SetUp() override {
        PersistTest::SetUp();
        ASSERT_TRUE(writeBytes("base/hiscores", sampleHighScores()));
        ASSERT_TRUE(writeBytes("base/data.inf", sampleSavedGame()));
        ASSERT_TRUE(writeBytes("base/menu.inf", SampleSettings));
    }
    void expectFilesAsTheyWere() {
        EXPECT_EQ(readBytes("base/hiscores"), sampleHighScores());
        EXPECT_EQ(readBytes("base/data.inf"), sampleSavedGame());
        EXPECT_EQ(readBytes("base/menu.inf"), SampleSettings);
        EXPECT_EQ(baseEntries(), PlayerFiles);  // no temporary file left behind
    }
};

// A new best score, typed as "Win", once the tables are loaded.
void enterNewBest() {
    game.score = 500;
    std::strcpy(scoreBook.entryName, "Win$$$$$$");
    scoreBook.entryCursor = 4;
    insertHighScore(GameMode::Levels);
    refreshHighScores();
}

bool newBestIsInTheTable() {
    const HighScoreEntry& top = scoreBook.highScores[0].entries[0];
    return std::strcmp(top.name, "Win$$$$$$") == 0 && top.score == 500 &&
           scoreBook.highScores[0].entries[1].score == 100;
}

TEST_F(PlayerFilesTest, AFullDiskChangesNoFileAndTheNewScoreStaysOnScreen) {
    int result = runWithoutDiskSpace([] {
        loadHighScores();
        enterNewBest();
        settings = Settings{0, 0, 0};
        saveSettings();
        game.score = 999;
        saveGame();
        return newBestIsInTheTable() ? 0 : 1;
    });

    EXPECT_EQ(result, 0) << "the game did not go on, or lost the new score";
    expectFilesAsTheyWere();
}

TEST_F(PlayerFilesTest, AFolderInThePlaceOfAFileIsLeftAlone) {
    for (const std::string& name : PlayerFiles) {
        std::string path = "base/" + name;
        ASSERT_EQ(unlink(path.c_str()), 0);
        ASSERT_EQ(mkdir(path.c_str(), 0755), 0);
    }
    scoreBook.highScores[0].entries[1].score = 100;

    enterNewBest();
    saveGame();
    saveSettings();
    loadSettings();

    EXPECT_TRUE(newBestIsInTheTable());
    EXPECT_FALSE(restoreGame());
    EXPECT_EQ(settings.musicOn, 1);
    EXPECT_EQ(baseEntries(), PlayerFiles);
    for (const std::string& name : PlayerFiles) {
        struct stat st;
        ASSERT_EQ(stat(("base/" + name).c_str(), &st), 0);
        EXPECT_TRUE(S_ISDIR(st.st_mode)) << name;
    }
}

TEST_F(PlayerFilesTest, WithoutTheDataFolderNothingIsWrittenAndNothingBreaks) {
    ASSERT_EQ(std::system("rm -rf base && touch base"), 0);  // a file where the folder was

    loadSettings();
    loadHighScores();
    enterNewBest();
    saveGame();
    saveSettings();

    EXPECT_EQ(settings.soundOn, 1);
    EXPECT_STREQ(scoreBook.highScores[0].entries[0].name, "Win$$$$$$");
    EXPECT_EQ(scoreBook.highScores[0].entries[0].score, 500);
    EXPECT_FALSE(restoreGame());
    EXPECT_EQ(readBytes("base"), Bytes());
}

TEST_F(PlayerFilesTest, AFileThePlayerMadeReadOnlyIsNotReplaced) {
    // Root may write any file, so the game runs as another user here.
    for (const std::string& name : PlayerFiles) ASSERT_EQ(chmod(("base/" + name).c_str(), 0444), 0);
    ASSERT_EQ(chmod(".", 0777), 0);
    ASSERT_EQ(chmod("base", 0777), 0);

    std::fflush(nullptr);
    pid_t child = fork();
    if (child == 0) {
        if (getuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(2);
        loadHighScores();
        enterNewBest();
        saveGame();
        saveSettings();
        _exit(newBestIsInTheTable() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the new score was lost";
    expectFilesAsTheyWere();
}

TEST_F(PlayerFilesTest, AReplacedFileKeepsItsPermissions) {
    ASSERT_EQ(chmod("base/menu.inf", 0640), 0);
    settings = Settings{0, 1, 0};

    saveSettings();

    struct stat st;
    ASSERT_EQ(stat("base/menu.inf", &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(readBytes("base/menu.inf"), (Bytes{0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(baseEntries(), PlayerFiles);
}

TEST_F(PlayerFilesTest, ANewFileGetsTheUsualPermissions) {
    ASSERT_EQ(unlink("base/hiscores"), 0);
    mode_t previous = umask(022);

    writeHighScoreFile();

    umask(previous);
    struct stat st;
    ASSERT_EQ(stat("base/hiscores", &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
}

TEST_F(PlayerFilesTest, ATruncatedFileOfEachKindLeavesAPlayableGame) {
    Bytes scores = sampleHighScores();
    scores.resize(60);
    ASSERT_TRUE(writeBytes("base/hiscores", scores));
    Bytes saved = sampleSavedGame();
    saved.resize(200);
    ASSERT_TRUE(writeBytes("base/data.inf", saved));
    ASSERT_TRUE(writeBytes("base/menu.inf", Bytes{1, 0}));

    loadSettings();
    loadHighScores();
    bool restored = restoreGame();

    EXPECT_FALSE(restored);
    EXPECT_EQ(readBytes("base/data.inf"), saved);  // left for the player to look at
    EXPECT_EQ(settings.fullScreen, 0);             // two bytes are not a value
    EXPECT_EQ(settings.musicOn, 1);
    Bytes written = readBytes("base/hiscores");
    ASSERT_EQ(written.size(), 130u);
    // Four whole records survive; the fifth lost its score and the timed table
    // every record: those keep their empty entries, never a score of -1.
    EXPECT_EQ(scoreBook.highScores[0].entries[0].score, 100);
    EXPECT_EQ(scoreBook.highScores[0].entries[3].score, 70);
    EXPECT_EQ(scoreBook.highScores[0].entries[4].score, 0);
    EXPECT_EQ(scoreBook.highScores[1].entries[0].score, 0);
    for (int record = 0; record < 10; ++record) EXPECT_NE(int32At(written, 13 * record + 9), -1) << record;
}

// A save that fails says so on stderr, one line each, and reports no success.
TEST_F(PlayerFilesTest, EveryFailedSaveSaysSoOnce) {
    ASSERT_EQ(std::system("rm -rf base && touch base"), 0);  // a file where the folder was
    testing::internal::CaptureStderr();
    EXPECT_FALSE(storeHighScores());
    saveGame();
    saveSettings();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Vortiq: base/hiscores was not saved: Not a directory\n"
              "Vortiq: base/data.inf was not saved: Not a directory\n"
              "Vortiq: base/menu.inf was not saved: Not a directory\n");
}

// The scratch files of an interrupted save are removed at the start; names
// that only look like them are not ours and stay.
TEST_F(PlayerFilesTest, StaleScratchFilesOfThePlayerFilesAreRemoved) {
    const std::vector<std::string> stale = {"hiscores.a1B2c3", "data.inf.XyZ789", "menu.inf.000000"};
    const std::vector<std::string> others = {"hiscores.a1B2c", "hiscores.a1B2c34", "hiscores.a1-2c3",
                                             "notes.txt.a1B2c3", "data.infXa1B2c3", "menu.inf"};
    for (const std::string& name : stale) ASSERT_TRUE(writeBytes("base/" + name, {1}));
    for (const std::string& name : others) ASSERT_TRUE(writeBytes("base/" + name, {2}));

    removeStaleScratchFiles();

    std::vector<std::string> left = {"data.inf", "hiscores"};
    left.insert(left.end(), others.begin(), others.end());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(baseEntries(), left);
    EXPECT_EQ(readBytes("base/menu.inf"), Bytes{2});
}

}  // namespace
