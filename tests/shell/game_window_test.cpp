// The game window on real X servers: creation and teardown failures, the
// full-screen mode and its refusal, the switch on the options screen, real
// input, and a close request ending a running game.
#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <thread>

#include "platform/x_display.h"
#include "shell/shell_fixture.h"

namespace {

// Each test has an X server of its own with a screen of the given size.
template <int ScreenWidth, int ScreenHeight>
class GameWindowOn : public ShellTest {
protected:
    GameWindowOn() : server_(ScreenWidth, ScreenHeight), display_(server_.display()) {}
    void SetUp() override {
        ShellTest::SetUp();
        ASSERT_TRUE(server_.running());
    }
    void TearDown() override {
        destroyGameWindow();
        platformQuit();
        ShellTest::TearDown();
    }
    void expectNothingHeld() {
        EXPECT_FALSE(hasWindow());
        EXPECT_FALSE(contextIsCurrent());
    }
    static const ShownBox& lastBox() { return testRecord().boxes.back(); }

private:
    PrivateXServer server_;
    DisplayOverride display_;
};

using GameWindow = GameWindowOn<1024, 768>;
using EightHundredScreen = GameWindowOn<800, 600>;

template <typename Done>
bool runLoopUntil(Done done, double seconds = 5.0) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < deadline && !shell.quitRequested) {
        mainLoopPass();
        if (done()) return true;
    }
    return false;
}

}  // namespace

TEST_F(GameWindow, EveryCreationFailureIsReportedAndUndone) {
    const struct {
        PlatformStep step;
        const char* text;
    } failures[] = {
        {PlatformStep::CreateWindow, "Window Creation Error."},
        {PlatformStep::PixelFormat, "Can't Find A Suitable PixelFormat."},
        {PlatformStep::CreateContext, "Can't Create A GL Rendering Context."},
        {PlatformStep::MakeCurrent, "Can't Activate The GL Rendering Context."},
        {PlatformStep::StartVideo, "Failed To Register The Window Class."},
    };
    for (const auto& failure : failures) {
        SCOPED_TRACE(failure.text);
        testRecord().boxes.clear();
        setFailingStep(failure.step);
        EXPECT_FALSE(createGameWindow("Vortiq", 640, 480, 16, false));
        setFailingStep(PlatformStep::None);
        ASSERT_EQ(testRecord().boxes.size(), 1u);
        EXPECT_EQ(lastBox().text, failure.text);
        EXPECT_EQ(lastBox().caption, "ERROR");
        EXPECT_EQ(lastBox().buttons, MessageButtons::Ok);
        EXPECT_EQ(lastBox().icon, MessageIcon::Exclamation);
        expectNothingHeld();
    }
}

// Without its pictures the start-up initialisation fails after the context is made.
TEST_F(GameWindow, InitialisationFailureTearsTheWindowDown) {
    EXPECT_FALSE(createGameWindow("Vortiq", 640, 480, 16, false));
    ASSERT_FALSE(testRecord().boxes.empty());
    EXPECT_EQ(lastBox().text, "Initialization Failed.");
    EXPECT_EQ(lastBox().caption, "ERROR");
    expectNothingHeld();
}

// Releasing the context is the one part of the teardown that can fail.
TEST_F(GameWindow, TeardownFailureIsReportedAndTheTeardownGoesOn) {
    setFailingStep(PlatformStep::ReleaseContext);
    EXPECT_FALSE(createGameWindow("Vortiq", 640, 480, 16, false));  // no pictures here
    setFailingStep(PlatformStep::None);
    ASSERT_EQ(testRecord().boxes.size(), 2u);
    const ShownBox& shutdown = testRecord().boxes[0];
    EXPECT_EQ(shutdown.text, "Release Of DC And RC Failed.");
    EXPECT_EQ(shutdown.caption, "SHUTDOWN ERROR");
    EXPECT_EQ(shutdown.buttons, MessageButtons::Ok);
    EXPECT_EQ(shutdown.icon, MessageIcon::Information);
    EXPECT_EQ(lastBox().text, "Initialization Failed.");
    expectNothingHeld();
}

TEST_F(GameWindow, WindowedGameWindowTakesRealInput) {
    ASSERT_TRUE(provideGameData());
    ASSERT_TRUE(createGameWindow("Vortiq", 640, 480, 16, false));
    EXPECT_EQ(ui.screen, Screen::Playing) << "no saved game: a game at once";
    int width = 0, height = 0;
    windowClientSize(&width, &height);
    EXPECT_EQ(width, 640);
    EXPECT_EQ(height, 480);
    EXPECT_EQ(commandOutput("xdotool search --name '^Vortiq$' getwindowname 2>/dev/null"), "Vortiq");

    ui.screen = Screen::Playing;
    runLoopUntil([] { return false; }, 0.3);
    ASSERT_EQ(runCommand("xdotool mousemove 200 40"), 0);
    EXPECT_TRUE(runLoopUntil([] { return ui.cursorColumn == 0 && ui.cursorRow == 1; }));
    ASSERT_EQ(runCommand("xdotool mousemove 600 440"), 0);
    EXPECT_TRUE(runLoopUntil([] { return ui.cursorColumn == 7 && ui.cursorRow == 8; }));

    ASSERT_EQ(runCommand("xdotool keydown o"), 0);
    EXPECT_TRUE(runLoopUntil([] { return ui.screen == Screen::Options; }));
    ASSERT_EQ(runCommand("xdotool keyup o key Escape"), 0);
    EXPECT_TRUE(runLoopUntil([] { return ui.screen == Screen::Playing; }));
}

TEST_F(EightHundredScreen, FullScreenWindowCoversTheScreen) {
    ASSERT_TRUE(provideGameData());
    ASSERT_TRUE(createGameWindow("Vortiq", 800, 600, 16, true));
    applyQueued();
    EXPECT_TRUE(testRecord().boxes.empty());
    EXPECT_EQ(ui.fullScreenActive, 1);
    EXPECT_TRUE(windowIsFullScreen());
    int width = 0, height = 0;
    windowClientSize(&width, &height);
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 600);
}

// Both ways through the options screen; the second click lies where the
// windowed layout has its help button, which must not be pressed by it.
TEST_F(EightHundredScreen, OptionsSwitchMakesTheWindowAgain) {
    ASSERT_TRUE(provideGameData());
    ASSERT_TRUE(createGameWindow("Vortiq", 640, 480, 16, false));
    ui.screen = Screen::Options;
    clickButton(&ScreenGeometry::fullScreenRow);
    EXPECT_EQ(shell.quitRequested, 0);
    EXPECT_EQ(ui.fullScreenActive, 1);
    EXPECT_EQ(settings.fullScreen, 1);
    EXPECT_EQ(ui.screen, Screen::Options);
    EXPECT_TRUE(windowIsFullScreen());

    click(400, 230);
    EXPECT_EQ(shell.quitRequested, 0);
    EXPECT_TRUE(testRecord().documents.empty());
    expectWindow(640, 480, false);
    EXPECT_TRUE(testRecord().boxes.empty());
}

// Full screen is refused only when even the desktop's own mode cannot be had.
TEST_F(GameWindow, RefusedFullScreenAnsweredNoEndsTheProgram) {
    testRecord().questionAnswer = MessageAnswer::No;
    setFailingStep(PlatformStep::FullScreen);
    EXPECT_FALSE(createGameWindow("Vortiq", 800, 600, 16, true));
    ASSERT_EQ(testRecord().boxes.size(), 2u);
    const ShownBox& question = testRecord().boxes[0];
    EXPECT_EQ(question.text,
              "The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use Windowed Mode Instead?");
    EXPECT_EQ(question.caption, "Tarn GL");
    EXPECT_EQ(question.buttons, MessageButtons::YesNo);
    EXPECT_EQ(question.icon, MessageIcon::Exclamation);
    EXPECT_EQ(lastBox().text, "Program Will Now Close.");
    EXPECT_EQ(lastBox().caption, "ERROR");
    EXPECT_EQ(lastBox().icon, MessageIcon::Stop);
    EXPECT_FALSE(hasWindow());
}

// Yes gives the windowed game whole: its size, its layout, its hit tests, and
// the settings saying what is shown.
TEST_F(GameWindow, RefusedFullScreenAnsweredYesGivesTheWindowedGame) {
    ASSERT_TRUE(provideGameData());
    settings.fullScreen = 1;
    testRecord().questionAnswer = MessageAnswer::Yes;
    setFailingStep(PlatformStep::FullScreen);
    ASSERT_TRUE(createGameWindow("Vortiq", 800, 600, 16, true));
    ASSERT_EQ(testRecord().boxes.size(), 1u);
    EXPECT_EQ(testRecord().boxes[0].caption, "Tarn GL");
    expectWindow(640, 480, false);
    // The windowed prompt's YES, where it is drawn.
    click(340, 210);
    EXPECT_EQ(ui.screen, Screen::Playing);
}

// The game itself, closed by the desktop while the start-up prompt shows:
// the settings are written, the saved game is left alone.
TEST_F(GameWindow, CloseRequestEndsTheGameThroughItsShutdown) {
    ASSERT_TRUE(provideGameData());
    // A levels game on level 2 with 1200 points: the start-up prompt asks about it.
    std::string saved;
    for (int32_t value : {0, 1, 0, 1200})
        for (int shift = 0; shift < 32; shift += 8) saved += static_cast<char>((value >> shift) & 0xff);
    for (int cell = 0; cell < 81; ++cell) saved += std::string(1, static_cast<char>(cell % 7 + 1)) + std::string(3, '\0');
    ASSERT_TRUE(writeText("base/data.inf", saved));
    const std::string program = std::string(VORTIQ_GAME_DIR) + "/vortiq";
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        setenv("VORTIQ_MESSAGEBOX", "print", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    bool closeSent = false;
    int status = 0;
    pid_t done = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < deadline && done == 0) {
        if (!closeSent) closeSent = requestWindowClose("Vortiq");
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        done = waitpid(child, &status, WNOHANG);
    }
    if (done == 0) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
        FAIL() << "the game did not end after the close request";
    }
    EXPECT_TRUE(closeSent);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    ASSERT_TRUE(fileExists("base/menu.inf")) << "the settings were not written";
    EXPECT_EQ(readBytes("base/menu.inf").size(), 12u);
    EXPECT_EQ(readText("base/data.inf"), saved);
}
