// Writes that stop half way: a read-only game folder, a disk that fills in
// the middle of a file, and a game killed while it writes. Every file the
// player had is afterwards whole, either as it was or as it was to become.

#include <csignal>
#include <random>

#include "persist_fixture.h"

namespace {

const std::vector<std::string> PlayerFiles = {"data.inf", "hiscores", "menu.inf"};

// One of two complete versions of every file, told apart by `version`.
void setState(int version) {
    for (int table = 0; table < 2; ++table)
        for (int i = 0; i < HighScoreEntries; ++i) {
            HighScoreEntry& entry = scoreBook.highScores[table].entries[i];
            std::memset(entry.name, 0, sizeof entry.name);
            std::memcpy(entry.name, version ? "Newer$$$$" : "Older$$$$", 9);
            entry.score = (version ? 9000 : 500) - 10 * i;
        }
    game.gameMode = version ? GameMode::Timed : GameMode::Levels;
    ui.modeAButton = version ? ButtonNormal : ButtonPressed;
    ui.modeBButton = version ? ButtonPressed : ButtonNormal;
    game.level = version ? 7 : 2;
    game.timeLeft = version ? 30.0f : 0.0f;
    game.score = version ? 77777 : 1234;
    for (int r = SpawnRow; r <= LastFieldRow; ++r)
        for (int c = 0; c < BoardColumns; ++c) game.board[r][c] = (r * 3 + c + version) % GemKinds + 1;
    for (int c = 0; c < BoardColumns; ++c) game.board[FloorRow][c] = ClosedFloor;
    settings = version ? Settings{1, 0, 0} : Settings{0, 1, 1};
}

void saveAll() {
    writeHighScoreFile();
    saveGame();
    saveSettings();
}

struct Files {
    Bytes scores, saved, settings;
};

Files readFiles() { return {readBytes("base/hiscores"), readBytes("base/data.inf"), readBytes("base/menu.inf")}; }

// The player's files are these, and nothing else lies in base/.
void expectOnDisk(const Bytes& scores, const Bytes& saved, const Bytes& settings) {
    const Files after = readFiles();
    EXPECT_EQ(after.scores, scores);
    EXPECT_EQ(after.saved, saved);
    EXPECT_EQ(after.settings, settings);
    EXPECT_EQ(baseEntries(), PlayerFiles);
}

Files filesOfVersion(int version) {
    resetGameState();
    setState(version);
    saveAll();
    return readFiles();
}

// Runs `body` in a child that plays as an ordinary user (root may write
// anywhere); returns its exit status, or -1.
int runAsOtherUser(const std::function<int()>& body) {
    std::fflush(nullptr);
    pid_t child = fork();
    if (child == 0) {
        if (getuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(2);
        _exit(body());
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class InterruptedWritesTest : public PersistTest {
protected:
    void SetUp() override {
        PersistTest::SetUp();
        newer_ = filesOfVersion(1);
        older_ = filesOfVersion(0);  // what the player has on disk
        resetGameState();
    }
    Files older_, newer_;
};

TEST_F(InterruptedWritesTest, TheTwoVersionsDiffer) {
    EXPECT_NE(older_.scores, newer_.scores);
    EXPECT_NE(older_.saved, newer_.saved);
    EXPECT_NE(older_.settings, newer_.settings);
    EXPECT_EQ(older_.scores.size(), 130u);
    EXPECT_EQ(older_.saved.size(), 340u);
    EXPECT_EQ(older_.settings.size(), 12u);
}

// A game folder that takes no new file: the files the player may write are
// written where they are, and no scratch file is left.
TEST_F(InterruptedWritesTest, AReadOnlyGameFolderHasTheFilesWrittenInPlace) {
    for (const std::string& name : PlayerFiles) ASSERT_EQ(chmod(("base/" + name).c_str(), 0666), 0);
    ASSERT_EQ(chmod(".", 0777), 0);
    ASSERT_EQ(chmod("base", 0555), 0);

    int result = runAsOtherUser([] {
        loadSettings();
        loadHighScores();
        if (!restoreGame() || game.score != 1234) return 1;
        setState(1);
        saveAll();
        refreshHighScores();
        // The tables in memory keep the new scores for the rest of the run.
        return scoreBook.highScores[0].entries[0].score == 9000 ? 0 : 3;
    });

    ASSERT_EQ(chmod("base", 0755), 0);
    EXPECT_EQ(result, 0);
    expectOnDisk(newer_.scores, newer_.saved, newer_.settings);
}

// The same folder on a disk that fills during the writes in place (room for
// `room` bytes a file): each file is the new one or the old one, never a mix,
// and one that was cut short keeps its old length.
TEST_F(InterruptedWritesTest, ADiskThatFillsDuringAWriteInPlaceLeavesEachFileWhole) {
    const struct {
        rlim_t room;
        size_t oldScoreBytes;
        bool newScores, newSaved, newSettings;
    } rows[] = {{0, 130, false, false, false}, {64, 130, false, false, true}, {200, 130, true, false, true},
                {100, 60, false, false, true}, {400, 60, true, true, true}};
    for (const auto& row : rows) {
        const Bytes oldScores(older_.scores.begin(), older_.scores.begin() + row.oldScoreBytes);
        ASSERT_TRUE(writeBytes("base/hiscores", oldScores) && writeBytes("base/data.inf", older_.saved) &&
                    writeBytes("base/menu.inf", older_.settings));
        ASSERT_EQ(std::system("chmod 666 base/* && chmod 777 . && chmod 555 base"), 0);
        const int result = runWithoutDiskSpace([] { return runAsOtherUser([] { setState(1); saveAll(); return 0; }); },
                                               row.room);
        ASSERT_EQ(chmod("base", 0755), 0);
        SCOPED_TRACE(testing::Message() << "room " << row.room << ", old scores " << row.oldScoreBytes);
        EXPECT_EQ(result, 0) << "the game did not go on";
        expectOnDisk(row.newScores ? newer_.scores : oldScores, row.newSaved ? newer_.saved : older_.saved,
                     row.newSettings ? newer_.settings : older_.settings);
    }
}

TEST_F(InterruptedWritesTest, ADiskThatFillsDuringAWriteLeavesNoPartOfTheNewFile) {
    // Room for 64 bytes a file: the settings fit, the high scores and the
    // saved game are cut off in the middle of their write.
    const int result = runWithoutDiskSpace(
        [] {
            setState(1);
            saveAll();
            refreshHighScores();
            return scoreBook.highScores[1].entries[0].score == 9000 ? 0 : 1;
        },
        64);
    ASSERT_NE(result, -1) << "the game ended on the full disk";
    EXPECT_EQ(result, 0);
    expectOnDisk(older_.scores, older_.saved, newer_.settings);
}

TEST_F(InterruptedWritesTest, AGameKilledWhileWritingLeavesEachFileWhole) {
    std::mt19937 random(20240611);
    int killedMidWay = 0;
    for (int round = 0; round < 60; ++round) {
        std::fflush(nullptr);
        pid_t child = fork();
        if (child == 0) {
            for (int version = 1;; version ^= 1) {
                setState(version);
                saveAll();
            }
        }
        usleep(std::uniform_int_distribution<int>(0, 30000)(random));
        ASSERT_EQ(kill(child, SIGKILL), 0);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status));

        const Files after = readFiles();
        EXPECT_TRUE(after.scores == older_.scores || after.scores == newer_.scores) << "round " << round;
        EXPECT_TRUE(after.saved == older_.saved || after.saved == newer_.saved) << "round " << round;
        EXPECT_TRUE(after.settings == older_.settings || after.settings == newer_.settings) << "round " << round;

        // The next start finds the files it needs, whichever version they hold.
        resetGameState();
        loadSettings();
        loadHighScores();
        EXPECT_TRUE(restoreGame()) << "round " << round;
        EXPECT_TRUE(game.score == 1234 || game.score == 77777);
        EXPECT_EQ(scoreBook.highScores[0].entries[0].score == 9000, readBytes("base/hiscores") == newer_.scores);

        // A write cut off by the kill leaves its temporary file, never in the
        // place of a player's file; the next start's writes do not mind it.
        std::vector<std::string> names = baseEntries();
        if (names.size() > PlayerFiles.size()) ++killedMidWay;
        for (const std::string& name : names) {
            if (name == "data.inf" || name == "hiscores" || name == "menu.inf") continue;
            EXPECT_TRUE(name.rfind("data.inf.", 0) == 0 || name.rfind("hiscores.", 0) == 0 ||
                        name.rfind("menu.inf.", 0) == 0)
                << name;
            unlink(("base/" + name).c_str());
        }
    }
    std::printf("%d of 60 kills came in the middle of a write\n", killedMidWay);
}

}  // namespace
