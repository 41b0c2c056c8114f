// Screen buttons: where each one takes the mouse in both layouts, and what a
// click on it does.
#include "shell/shell_fixture.h"

namespace {

// A button and how a test sees that the mouse position was taken by it.
struct ButtonCase {
    const char* name;
    Screen screen;
    ButtonGeometry ScreenGeometry::*button;
    bool (*takes)(int x, int y);
};

bool hovered(int x, int y) {
    windowProcedure(mouseMessage(MessageKind::MouseMove, x, y));
    applyQueuedCommands();
    return true;
}

void clickAt(int x, int y) {
    windowProcedure(mouseMessage(MessageKind::LeftButtonDown, x, y));
    applyQueuedCommands();
}

const ButtonCase buttonCases[] = {
    {"new game", Screen::Playing, &ScreenGeometry::newGame,
     [](int x, int y) { return hovered(x, y) && ui.newGameButton == ButtonHighlighted; }},
    {"timed mode", Screen::Playing, &ScreenGeometry::timedMode,
     [](int x, int y) { return hovered(x, y) && ui.modeBButton == ButtonHighlighted; }},
    {"levels mode", Screen::Playing, &ScreenGeometry::levelsMode,
     [](int x, int y) {
         game.gameMode = GameMode::Timed;
         ui.modeAButton = ButtonNormal;
         ui.modeBButton = ButtonPressed;
         return hovered(x, y) && ui.modeAButton == ButtonHighlighted;
     }},
    {"hint", Screen::Playing, &ScreenGeometry::hint,
     [](int x, int y) { return hovered(x, y) && ui.hintLit == 1; }},
    {"options", Screen::Playing, &ScreenGeometry::options,
     [](int x, int y) { return hovered(x, y) && ui.optionsButton == ButtonHighlighted; }},
    {"quit", Screen::Playing, &ScreenGeometry::quit,
     [](int x, int y) { return hovered(x, y) && ui.quitButton == ButtonHighlighted; }},
    {"new game: yes", Screen::ConfirmNewGame, &ScreenGeometry::dialogFirst,
     [](int x, int y) { return hovered(x, y) && ui.confirmLit == 1; }},
    {"new game: no", Screen::ConfirmNewGame, &ScreenGeometry::dialogSecond,
     [](int x, int y) { return hovered(x, y) && ui.cancelLit == 1; }},
    {"prompt: continue", Screen::ContinuePrompt, &ScreenGeometry::dialogFirst,
     [](int x, int y) { return hovered(x, y) && ui.confirmLit == 1; }},
    {"prompt: new game", Screen::ContinuePrompt, &ScreenGeometry::dialogSecond,
     [](int x, int y) { return hovered(x, y) && ui.cancelLit == 1; }},
    {"quit: yes", Screen::ConfirmQuit, &ScreenGeometry::dialogFirst,
     [](int x, int y) {
         clickAt(x, y);
         return shell.quitRequested == 1;
     }},
    {"quit: no", Screen::ConfirmQuit, &ScreenGeometry::dialogSecond,
     [](int x, int y) { return hovered(x, y) && ui.cancelLit == 1; }},
    {"high scores: ok", Screen::HighScores, &ScreenGeometry::highScoresBack,
     [](int x, int y) { return hovered(x, y) && ui.confirmLit == 1; }},
    {"options: high scores", Screen::Options, &ScreenGeometry::highScoresRow,
     [](int x, int y) { return hovered(x, y) && ui.highScoresLit == 1; }},
    {"options: full screen", Screen::Options, &ScreenGeometry::fullScreenRow,
     [](int x, int y) {
         // The switch runs; the window cannot be made here, which ends the game.
         setFailingStep(PlatformStep::StartVideo);
         clickAt(x, y);
         setFailingStep(PlatformStep::None);
         return settings.fullScreen == 1;
     }},
    {"options: music", Screen::Options, &ScreenGeometry::musicRow,
     [](int x, int y) {
         clickAt(x, y);
         return settings.musicOn == 1;
     }},
    {"options: sound", Screen::Options, &ScreenGeometry::soundRow,
     [](int x, int y) {
         clickAt(x, y);
         return settings.soundOn == 1;
     }},
    {"options: help", Screen::Options, &ScreenGeometry::helpRow,
     [](int x, int y) { return hovered(x, y) && ui.helpLit == 1; }},
    {"options: back", Screen::Options, &ScreenGeometry::optionsBack,
     [](int x, int y) { return hovered(x, y) && ui.confirmLit == 1; }},
};

class ButtonRects : public ShellTest {
protected:
    // Fresh state on the button's screen, then asks whether it takes (x, y).
    bool takes(const ButtonCase& button, bool fullScreen, int x, int y) {
        resetGameState();
        resetShellState();
        presetStartUp();
        ui.screen = button.screen;
        ui.fullScreenActive = fullScreen ? 1 : 0;
        return button.takes(x, y);
    }

    void checkRect(const ButtonCase& button, bool fullScreen) {
        const HitRect r = (layoutGeometry(fullScreen ? Layout::FullScreen : Layout::Windowed).*button.button).hit;
        const int midX = (r.left + r.right) / 2;
        const int midY = (r.top + r.bottom) / 2;
        SCOPED_TRACE(std::string(button.name) + (fullScreen ? " (full screen)" : " (windowed)"));
        EXPECT_TRUE(takes(button, fullScreen, r.left + 1, r.top + 1));
        EXPECT_TRUE(takes(button, fullScreen, r.right - 1, r.bottom - 1));
        EXPECT_TRUE(takes(button, fullScreen, midX, midY));
        // The borders themselves are outside (x = 45 and x = 165 miss the windowed new-game button).
        EXPECT_FALSE(takes(button, fullScreen, r.left, midY));
        EXPECT_FALSE(takes(button, fullScreen, r.right, midY));
        EXPECT_FALSE(takes(button, fullScreen, midX, r.top));
        EXPECT_FALSE(takes(button, fullScreen, midX, r.bottom));
    }
};

}  // namespace

TEST_F(ButtonRects, WindowedLayout) {
    for (const ButtonCase& button : buttonCases) checkRect(button, false);
}

TEST_F(ButtonRects, FullScreenLayout) {
    for (const ButtonCase& button : buttonCases) checkRect(button, true);
}

// ---------------------------------------------------------------------------

class ButtonClicks : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        presetBoardScreen();
    }
};

TEST_F(ButtonClicks, NewGameAsksFirst) {
    game.score = 300;
    clickButton(&ScreenGeometry::newGame);
    EXPECT_EQ(ui.screen, Screen::ConfirmNewGame);
    EXPECT_EQ(ui.newGameButton, ButtonPressed);
    EXPECT_EQ(game.score, 300);
    EXPECT_EQ(countSampleRequests(Sample::Menu), 1);

    clickButton(&ScreenGeometry::dialogFirst);  // yes
    EXPECT_EQ(ui.screen, Screen::Playing);
    EXPECT_EQ(game.score, 0);
    EXPECT_EQ(ui.newGameButton, ButtonNormal);
    EXPECT_EQ(ui.confirmLit, 0);
    EXPECT_EQ(moduleRequests(Module::Theme1), 1);
    EXPECT_EQ(countSampleRequests(Sample::Menu), 2);
}

TEST_F(ButtonClicks, NewGameCancelledKeepsTheGame) {
    game.score = 300;
    clickButton(&ScreenGeometry::newGame);
    hoverButton(&ScreenGeometry::dialogSecond);
    EXPECT_EQ(ui.cancelLit, 1);
    clickButton(&ScreenGeometry::dialogSecond);
    EXPECT_EQ(ui.screen, Screen::Playing);
    EXPECT_EQ(game.score, 300);
    EXPECT_EQ(ui.cancelLit, 0);
    EXPECT_EQ(ui.newGameButton, ButtonNormal);
}

TEST_F(ButtonClicks, TimedModeStartsATimedGame) {
    game.timeLeft = 3.0f;  // a levels game before its first move: nothing to ask about
    clickButton(&ScreenGeometry::timedMode);
    EXPECT_EQ(game.gameMode, GameMode::Timed);
    EXPECT_EQ(ui.modeBButton, ButtonPressed);
    EXPECT_EQ(ui.modeAButton, ButtonNormal);
    EXPECT_EQ(game.score, 0);
    EXPECT_FLOAT_EQ(game.timeLeft, 50.0f);
    EXPECT_EQ(moduleRequests(Module::Theme2), 1);
    EXPECT_EQ(countSampleRequests(Sample::Menu), 1);
}

TEST_F(ButtonClicks, RunningModeButtonRestartsItsMode) {
    game.score = 900;
    game.level = 4;
    clickButton(&ScreenGeometry::levelsMode);  // already running, and under way: asks first
    EXPECT_EQ(ui.screen, Screen::ConfirmNewGame);
    clickButton(&ScreenGeometry::dialogFirst);
    EXPECT_EQ(game.gameMode, GameMode::Levels);
    EXPECT_EQ(ui.modeAButton, ButtonPressed);
    EXPECT_EQ(game.score, 0);
    EXPECT_EQ(game.level, 0);
    EXPECT_EQ(moduleRequests(Module::Theme1), 1);
}

TEST_F(ButtonClicks, HintCostsPointsButNeverBelowTheLevelBase) {
    game.level = 0;
    updateLevelBounds();
    game.score = game.levelBase + 120;
    clickButton(&ScreenGeometry::hint);
    EXPECT_EQ(game.score, game.levelBase + 70);
    EXPECT_EQ(countSampleRequests(Sample::Hint), 1);
    game.score = game.levelBase + 20;
    clickButton(&ScreenGeometry::hint);
    EXPECT_EQ(game.score, game.levelBase);
}

TEST_F(ButtonClicks, HintCostsTimeInTheTimedMode) {
    clickButton(&ScreenGeometry::timedMode);
    game.timeLeft = 40.0f;
    click(150, 340);  // full-screen hint position, windowed: nothing
    EXPECT_FLOAT_EQ(game.timeLeft, 40.0f);
    ui.fullScreenActive = 1;
    click(150, 340);
    EXPECT_FLOAT_EQ(game.timeLeft, 30.0f);
}

TEST_F(ButtonClicks, SidePanelWorksWhilePaused) {
    clickButton(&ScreenGeometry::timedMode);
    ui.paused = 1;
    clickButton(&ScreenGeometry::options);
    EXPECT_EQ(ui.screen, Screen::Options);
    EXPECT_EQ(ui.optionsButton, ButtonPressed);
}

TEST_F(ButtonClicks, QuitAsksAndYesEndsWithoutASound) {
    clickButton(&ScreenGeometry::quit);
    EXPECT_EQ(ui.screen, Screen::ConfirmQuit);
    EXPECT_EQ(ui.quitButton, ButtonPressed);
    clearSoundLog();
    clickButton(&ScreenGeometry::dialogFirst);
    EXPECT_EQ(shell.quitRequested, 1);
    EXPECT_EQ(ui.screen, Screen::Playing);
    EXPECT_EQ(countSampleRequests(Sample::Menu), 0);
}

TEST_F(ButtonClicks, QuitNoGoesBack) {
    clickButton(&ScreenGeometry::quit);
    clickButton(&ScreenGeometry::dialogSecond);
    EXPECT_EQ(shell.quitRequested, 0);
    EXPECT_EQ(ui.screen, Screen::Playing);
    EXPECT_EQ(ui.quitButton, ButtonNormal);
}

TEST_F(ButtonClicks, PromptNewGameStartsTheLevelsMusic) {
    ui.screen = Screen::ContinuePrompt;
    clickButton(&ScreenGeometry::dialogSecond);
    EXPECT_EQ(ui.screen, Screen::Playing);
    EXPECT_EQ(game.gameMode, GameMode::Levels);
    EXPECT_EQ(moduleRequests(Module::Theme1), 1);
    EXPECT_EQ(moduleRequests(Module::Theme2), 0);
}

TEST_F(ButtonClicks, PromptContinueRestoresTheSavedGame) {
    game.gameMode = GameMode::Timed;
    ui.modeAButton = ButtonNormal;
    ui.modeBButton = ButtonPressed;
    game.level = 3;
    game.timeLeft = 37.9f;
    game.score = 1234;
    for (int c = 0; c < BoardColumns; ++c) game.board[4][c] = c % 7 + 1;
    saveGame();
    resetGameState();
    presetStartUp();
    settings.musicOn = 1;

    clickButton(&ScreenGeometry::dialogFirst);
    EXPECT_EQ(ui.screen, Screen::Playing);
    EXPECT_EQ(game.gameMode, GameMode::Timed);
    EXPECT_EQ(ui.modeBButton, ButtonPressed);
    EXPECT_EQ(game.score, 1234);
    EXPECT_EQ(game.level, 3);
    EXPECT_FLOAT_EQ(game.timeLeft, 37.0f);
    EXPECT_EQ(game.board[4][5], 6);
    EXPECT_EQ(moduleRequests(Module::Theme2), 1);
}

// Nothing to continue: a new game of the levels mode instead of an empty board.
TEST_F(ButtonClicks, PromptContinueWithoutASavedGameStartsANewOne) {
    ui.screen = Screen::ContinuePrompt;
    game.score = 777;
    clickButton(&ScreenGeometry::dialogFirst);
    EXPECT_EQ(ui.screen, Screen::Playing);
    EXPECT_EQ(game.gameMode, GameMode::Levels);
    EXPECT_EQ(ui.modeAButton, ButtonPressed);
    EXPECT_EQ(ui.modeBButton, ButtonNormal);
    EXPECT_EQ(game.score, 0);
    EXPECT_EQ(moduleRequests(Module::Theme1), 1);

    // A file cut short counts as missing.
    ASSERT_TRUE(writeText("base/data.inf", "short"));
    presetStartUp();
    game.score = 555;
    clickButton(&ScreenGeometry::dialogFirst);
    EXPECT_EQ(game.score, 0);
    EXPECT_EQ(game.gameMode, GameMode::Levels);
}

TEST_F(ButtonClicks, HighScoresButtonStartsANewGameWithoutMusic) {
    game.score = 50;
    noteEndedGame();
    ui.screen = Screen::HighScores;
    hoverButton(&ScreenGeometry::highScoresBack);
    EXPECT_EQ(ui.confirmLit, 1);
    clickButton(&ScreenGeometry::highScoresBack);
    EXPECT_EQ(ui.screen, Screen::Playing);
    EXPECT_EQ(game.score, 0);
    EXPECT_EQ(ui.confirmLit, 0);
    EXPECT_EQ(moduleRequests(Module::Theme1), 0);
    EXPECT_EQ(countSampleRequests(Sample::Menu), 1);
}

TEST_F(ButtonClicks, OptionsBackWindowedReleasesTheOptionsButton) {
    clickButton(&ScreenGeometry::options);
    clickButton(&ScreenGeometry::optionsBack);
    EXPECT_EQ(ui.screen, Screen::Playing);
    EXPECT_EQ(ui.optionsButton, ButtonNormal);
}

// The full-screen layout (where a full-screen switch leaves the options) lets
// the button go as the windowed one does.
TEST_F(ButtonClicks, OptionsReturnInFullScreenReleasesTheButton) {
    ui.fullScreenActive = 1;
    clickButton(&ScreenGeometry::options);
    EXPECT_EQ(ui.screen, Screen::Options);
    clickButton(&ScreenGeometry::optionsBack);
    EXPECT_EQ(ui.screen, Screen::Playing);
    EXPECT_EQ(ui.optionsButton, ButtonNormal);

    clickButton(&ScreenGeometry::options);
    clickButton(&ScreenGeometry::highScoresRow);
    EXPECT_EQ(ui.screen, Screen::HighScores);
    EXPECT_EQ(ui.optionsButton, ButtonNormal);
}

TEST_F(ButtonClicks, OptionsHighScoresWindowed) {
    clickButton(&ScreenGeometry::options);
    clickButton(&ScreenGeometry::highScoresRow);
    EXPECT_EQ(ui.screen, Screen::HighScores);
    EXPECT_EQ(ui.optionsButton, ButtonNormal);
    EXPECT_EQ(ui.highScoresLit, 0);
}

TEST_F(ButtonClicks, MusicSwitch) {
    ui.screen = Screen::Options;
    clickButton(&ScreenGeometry::musicRow);
    EXPECT_EQ(settings.musicOn, 0);
    EXPECT_EQ(stopRequests(), 1);
    clickButton(&ScreenGeometry::musicRow);
    EXPECT_EQ(settings.musicOn, 1);
    EXPECT_EQ(moduleRequests(Module::Theme1), 1);
    settings.musicOn = 2;  // any value but 0 counts as on for the switch
    clickButton(&ScreenGeometry::musicRow);
    EXPECT_EQ(settings.musicOn, 0);
}

TEST_F(ButtonClicks, SoundSwitchIsHeardOnlyWhenOn) {
    ui.screen = Screen::Options;
    settings.soundOn = 2;
    clickButton(&ScreenGeometry::soundRow);
    EXPECT_EQ(settings.soundOn, 0);
    EXPECT_EQ(countSampleRequests(Sample::Menu), 0);
    clickButton(&ScreenGeometry::soundRow);
    EXPECT_EQ(settings.soundOn, 1);
    EXPECT_EQ(countSampleRequests(Sample::Menu), 1);
}

TEST_F(ButtonClicks, HelpOpensThePageBesideTheGame) {
    clickButton(&ScreenGeometry::options);
    hoverButton(&ScreenGeometry::helpRow);
    EXPECT_EQ(ui.helpLit, 1);
    clickButton(&ScreenGeometry::helpRow);
    EXPECT_EQ(shell.quitRequested, 0);
    EXPECT_EQ(ui.screen, Screen::Playing);
    EXPECT_EQ(ui.paused, 0);  // the levels mode does not pause
    EXPECT_EQ(ui.helpLit, 0);
    EXPECT_EQ(ui.optionsButton, ButtonNormal);
    ASSERT_EQ(testRecord().documents.size(), 1u);
    EXPECT_EQ(testRecord().documents[0], "help.htm");
    EXPECT_TRUE(testRecord().boxes.empty());
}

// A window that cannot be made again ends the game after its message.
TEST_F(ButtonClicks, FullScreenSwitchThatFailsEndsTheGame) {
    ui.screen = Screen::Options;
    settings.fullScreen = 0;
    setFailingStep(PlatformStep::StartVideo);
    clickButton(&ScreenGeometry::fullScreenRow);
    EXPECT_EQ(settings.fullScreen, 1);
    EXPECT_EQ(ui.fullScreenActive, 0) << "no new window, so no new layout";
    EXPECT_EQ(shell.quitRequested, 1);
    EXPECT_EQ(ui.screen, Screen::Options);
    ASSERT_EQ(testRecord().boxes.size(), 1u);
    EXPECT_EQ(testRecord().boxes[0].text, "Failed To Register The Window Class.");
    EXPECT_EQ(testRecord().boxes[0].caption, "ERROR");
}
