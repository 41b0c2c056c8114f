// The main loop's key work (pause, name entry) and the shutdown.
#include "shell/shell_fixture.h"

namespace {

class KeyWork : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        presetStartUp();
        ui.screen = Screen::NameEntry;
        std::memcpy(scoreBook.entryName, "$$$$$$$$$", 10);
        scoreBook.entryCursor = 1;
    }

    static void tap(int key) {
        keyDown(key);
        keyUp(key);
    }
    static std::string name() { return std::string(scoreBook.entryName); }
};

}  // namespace

// Each press is a letter of its own, in the order pressed.
TEST_F(KeyWork, TwoLettersHeldTogetherInTheOrderPressed) {
    keyDown('N');
    keyDown('E');
    EXPECT_EQ(name(), "Ne$$$$$$$");
    EXPECT_EQ(scoreBook.entryCursor, 3);
}

TEST_F(KeyWork, HeldLetterDoesNotRepeat) {
    keyDown('A');
    keyDown('A', true);
    EXPECT_EQ(name(), "A$$$$$$$$");
    keyUp('A');
    tap('A');
    EXPECT_EQ(name(), "Aa$$$$$$$");
}

// Typed fast, one key goes down before the last is up: no letter is lost.
TEST_F(KeyWork, NewLetterWhileAnotherIsHeldIsTyped) {
    keyDown('A');
    keyDown('B');
    EXPECT_EQ(name(), "Ab$$$$$$$");
}

// Taps quicker than the frames, as on a slow machine: each letter is typed.
TEST_F(KeyWork, TapsShorterThanAFrameAreTyped) {
    for (int key : {'J', 'O', 'E'}) {
        keyDown(key);
        keyUp(key);
    }
    EXPECT_EQ(name(), "Joe$$$$$$");
    keyDown(VkBack);
    keyUp(VkBack);
    keyDown(VkBack);
    keyUp(VkBack);
    EXPECT_EQ(name(), "J$$$$$$$$");
}

TEST_F(KeyWork, NineLettersAtMost) {
    for (int i = 0; i < 12; ++i) tap('K' + (i % 3));
    EXPECT_EQ(name(), "Klmklmklm");
    EXPECT_EQ(scoreBook.entryCursor, 10);
    tap(VkBack);
    EXPECT_EQ(name(), "Klmklmkl$");
    EXPECT_EQ(scoreBook.entryCursor, 9);
    tap('Z');
    EXPECT_EQ(name(), "Klmklmklz");
}

TEST_F(KeyWork, BackspaceOncePerPressAndNotPastTheStart) {
    tap('A');
    tap('B');
    keyDown(VkBack);
    EXPECT_EQ(name(), "A$$$$$$$$");
    keyUp(VkBack);
    tap(VkBack);
    EXPECT_EQ(scoreBook.entryCursor, 1);
    tap(VkBack);
    EXPECT_EQ(scoreBook.entryCursor, 1);
    EXPECT_EQ(name(), "$$$$$$$$$");
}

TEST_F(KeyWork, EnterStoresTheNameAndShowsTheTable) {
    game.score = 4200;
    tap('R');
    tap('O');
    keyDown(VkReturn);
    EXPECT_EQ(ui.screen, Screen::HighScores);
    EXPECT_EQ(std::string(scoreBook.highScores[0].entries[0].name), "Ro$$$$$$$");
    EXPECT_EQ(scoreBook.highScores[0].entries[0].score, 4200);
    EXPECT_EQ(scoreBook.entryCursor, 1);
}

TEST_F(KeyWork, LettersOnlyOnTheNameScreen) {
    ui.screen = Screen::Playing;
    tap('A');
    tap(VkBack);
    keyDown(VkSpace);
    EXPECT_EQ(name(), "$$$$$$$$$");
    EXPECT_EQ(ui.screen, Screen::Playing);
}

TEST_F(KeyWork, PauseOnlyInTheTimedModeOnTheBoard) {
    ui.screen = Screen::Playing;
    keyDown(VkEscape);
    EXPECT_EQ(ui.paused, 0);  // levels mode
    keyUp(VkEscape);

    ui.modeAButton = ButtonNormal;
    ui.modeBButton = ButtonPressed;
    game.gameMode = GameMode::Timed;
    ui.screen = Screen::Options;
    keyDown('P');
    EXPECT_EQ(ui.paused, 0);
    keyUp('P');

    ui.screen = Screen::Playing;
    keyDown('P');
    EXPECT_EQ(ui.paused, 1);
    keyDown('P', true);  // still held
    EXPECT_EQ(ui.paused, 1);
    keyUp('P');
    keyDown(VkEscape);
    EXPECT_EQ(ui.paused, 0);
    keyUp(VkEscape);

    // A tap between two frames pauses once.
    keyDown('P');
    keyUp('P');
    EXPECT_EQ(ui.paused, 1);
}

// ---------------------------------------------------------------------------

namespace {

class Shutdown : public ShellTest {};

}  // namespace

// Quitting at the start-up prompt must not put the empty board over the saved game.
TEST_F(Shutdown, AtThePromptTheSavedGameStays) {
    const std::string saved(340, '\x01');
    ASSERT_TRUE(writeText("base/data.inf", saved));
    presetStartUp();
    settings.musicOn = 1;
    shutdownGame();
    EXPECT_EQ(readText("base/data.inf"), saved);
    EXPECT_EQ(readText("base/menu.inf"), std::string("\0\0\0\0\1\0\0\0\0\0\0\0", 12));
}

TEST_F(Shutdown, AfterAGameItIsSaved) {
    presetStartUp();
    ui.screen = Screen::Playing;
    game.score = 0x0102;
    shutdownGame();
    const std::string saved = readText("base/data.inf");
    ASSERT_EQ(saved.size(), 340u);
    EXPECT_EQ(saved.substr(12, 4), std::string("\x02\x01\0\0", 4));
    EXPECT_EQ(readText("base/menu.inf").size(), 12u);
}

// The heap's free pages go back to the system at most once a second of the
// frame clock, and at once when the clock has started again with a new
// window (it counts from 0 again).
TEST(FreePages, GoBackAtMostOnceASecondOfTheFrameClock) {
    resetShellState();
    EXPECT_FALSE(freePagesDue(0.0f)) << "the clock has only just started";
    EXPECT_FALSE(freePagesDue(999.0f));
    EXPECT_TRUE(freePagesDue(1000.5f));
    EXPECT_FALSE(freePagesDue(1016.0f));
    EXPECT_FALSE(freePagesDue(1999.0f));
    EXPECT_TRUE(freePagesDue(2400.0f));
    EXPECT_TRUE(freePagesDue(16.0f)) << "a new window's clock";
    EXPECT_FALSE(freePagesDue(500.0f));
    EXPECT_TRUE(freePagesDue(1100.0f));
}
