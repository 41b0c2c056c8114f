// The main loop on an X server of its own: it rests while the picture stands
// still or the window is minimised, input wakes it, and the frame after a
// rest does not take the rest for game time.
#include <SDL.h>

#include <chrono>

#include "platform/x_display.h"
#include "shell/shell_fixture.h"
#include "support/board.h"

namespace {

class RestingLoop : public ShellTest {
protected:
    RestingLoop() : server_(1024, 768), display_(server_.display()) {}
    void SetUp() override {
        ShellTest::SetUp();
        ASSERT_TRUE(server_.running());
        ASSERT_TRUE(provideGameData());
        ASSERT_TRUE(createGameWindow("Vortiq", 640, 480, 16, false));
        presetStartUp();
    }
    void TearDown() override {
        destroyGameWindow();
        platformQuit();
        ShellTest::TearDown();
    }

    // Passes of the loop for the given time; the frames drawn among them
    // (each takes a frame-time reading).
    static int framesDrawnIn(double seconds) {
        int frames = 0;
        const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        while (std::chrono::steady_clock::now() < end && !shell.quitRequested) {
            const int64_t before = scene.lastFrameTime;
            mainLoopPass();
            if (scene.lastFrameTime != before) ++frames;
        }
        return frames;
    }

    // Runs the loop until it rests (the window's first events handled).
    static bool settleIntoRest() {
        for (int n = 0; n < 20; ++n) {
            framesDrawnIn(0.25);
            if (shell.resting) return true;
        }
        return false;
    }

    // A new levels game on a full, still board with one move, the floor closed.
    static void startStillGame() {
        ui.screen = Screen::Playing;
        newGame();
        boards::setQuietField();
        boards::closeFloor();
        game.board[8][6] = game.board[8][7] = game.board[7][5] = 7;  // a spare move
    }
    // Passes of the loop until `done` holds; false when it did not in `seconds`.
    static bool passUntil(bool (*done)(), double seconds) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        while (!done()) {
            if (std::chrono::steady_clock::now() >= end) return false;
            mainLoopPass();
        }
        return true;
    }

private:
    PrivateXServer server_;
    DisplayOverride display_;
};

}  // namespace

TEST_F(RestingLoop, AStillScreenIsDrawnOnceAndThenWaitsForInput) {
    ui.screen = Screen::HighScores;
    ASSERT_TRUE(settleIntoRest());
    EXPECT_LE(framesDrawnIn(1.0), 1) << "a screen that does not change is not drawn again";
    EXPECT_EQ(shell.resting, 1);

    // The mouse over the screen: frames again, until it stands still once more.
    ASSERT_EQ(runCommand("xdotool mousemove 300 200"), 0);
    bool woke = false;
    for (int n = 0; n < 20 && !woke; ++n) woke = framesDrawnIn(0.25) > 0;
    EXPECT_TRUE(woke) << "input wakes the loop";
    EXPECT_TRUE(settleIntoRest());
}

TEST_F(RestingLoop, TheFrameAfterARestStartsANewTimeMeasurement) {
    ui.screen = Screen::HighScores;
    ASSERT_TRUE(settleIntoRest());
    scene.measureCount = 6;  // as if the rest came in the middle of a measurement
    scene.measureStart = -1000.0f;
    framesDrawnIn(0.3);
    ASSERT_EQ(runCommand("xdotool mousemove 310 210"), 0);
    const int64_t before = scene.lastFrameTime;
    for (int n = 0; n < 200 && scene.lastFrameTime == before; ++n) mainLoopPass();
    ASSERT_NE(scene.lastFrameTime, before) << "the mouse woke no frame";
    EXPECT_EQ(scene.measureStart, scene.lastFrameTime) << "the rest's time is left out of the measurement";
}

TEST_F(RestingLoop, WhateverMovesIsDrawnFrameAfterFrame) {
    ui.screen = Screen::Playing;  // an empty board: the gems fall in
    int frames = 0;
    for (int n = 0; n < 30; ++n) {
        const int64_t before = scene.lastFrameTime;
        mainLoopPass();
        if (scene.lastFrameTime != before) ++frames;
        EXPECT_EQ(shell.resting, 0);
    }
    EXPECT_GE(frames, 10);
}

TEST_F(RestingLoop, AMinimisedWindowDrawsNothing) {
    ui.screen = Screen::Playing;
    framesDrawnIn(0.5);  // the window's first events (shown, focus) are handled
    WindowMessage minimise = {};
    minimise.kind = MessageKind::Activate;
    minimise.minimised = 1;
    windowProcedure(minimise);
    EXPECT_EQ(framesDrawnIn(0.5), 0);
}

TEST_F(RestingLoop, ABannerThatEndsOnTheNameEntryShowsItBeforeTheRest) {
    startStillGame();
    ASSERT_TRUE(settleIntoRest());
    // The game-over banner in its last moments, with a score for the table
    // at the start of a level (the bar stays where it is).
    game.level = LevelCount - 1;
    game.score = LevelTable[game.level].levelBase;
    ASSERT_TRUE(madeHighScore());
    game.gameOverDrain = 1;
    game.boardEvent = BoardEvent::NoMoves;
    scene.bannerProgress = 0.995f;
    shell.resting = 0;
    ASSERT_TRUE(passUntil([] { return ui.screen == Screen::NameEntry && shell.resting == 1; }, 10.0));
    EXPECT_EQ(frameView.dialog, Screen::NameEntry) << "the loop rested on a frame that did not show the name entry";
    EXPECT_EQ(frameView.bannerShown, 0) << "the loop rested on the banner's last frame";
}

TEST_F(RestingLoop, AKeyOrAControllerWakesTheRestAndAHeldDirectionRepeatsInIt) {
    startStillGame();
    ASSERT_TRUE(settleIntoRest());
    // Whether `done` came to hold in a frame drawn after the input: a rest
    // that merely timed out would draw none.
    static int64_t seenFrame;
    static bool (*wanted)();
    const auto drawnAfter = [](bool (*done)()) {
        seenFrame = scene.lastFrameTime;
        wanted = done;
        return passUntil([] { return wanted() && scene.lastFrameTime != seenFrame; }, 5.0);
    };

    ASSERT_EQ(runCommand("xdotool key Right"), 0);
    EXPECT_TRUE(drawnAfter([] { return ui.keyCursor.column == 1; })) << "the key's cursor move was not drawn";
    EXPECT_EQ(ui.keyCursorShown, 1);
    ASSERT_TRUE(settleIntoRest());

    const int device = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                                 SDL_CONTROLLER_BUTTON_MAX, 0);
    ASSERT_GE(device, 0) << SDL_GetError();
    SDL_Joystick* pad = nullptr;
    for (int n = 0; n < 100 && !pad; ++n) {
        mainLoopPass();
        pad = SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(device));
    }
    ASSERT_NE(pad, nullptr);
    ASSERT_TRUE(settleIntoRest());
    // Held to the right: the press and its repeats carry the cursor to the edge.
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 1);
    EXPECT_TRUE(drawnAfter([] { return ui.keyCursor.column == 2; })) << "the pad's press was not drawn";
    EXPECT_TRUE(drawnAfter([] { return ui.keyCursor.column == BoardColumns - 1; })) << "the held direction stopped";
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 0);
    EXPECT_TRUE(settleIntoRest());
    SDL_JoystickDetachVirtual(device);
}

// A window switch waits for the release of the press that asked for it:
// under a held button the new window would lose the release (and SDL the next
// press), under a held F11 or Alt+Enter the key would come down again in it
// and switch back. Each press is held past the keyboard's auto-repeat.
TEST_F(RestingLoop, AWindowSwitchWaitsForTheReleaseOfItsPress) {
    startStillGame();
    pressScreenButton(ScreenButton::Options);
    const HitRect& row = layoutGeometry(Layout::Windowed).fullScreenRow.hit;
    const std::string onRow = "mousemove " + std::to_string(hitCentreX(row)) + " " + std::to_string(hitCentreY(row));
    const std::string holds[][3] = {{"keydown F11", "keyup F11", "1"},
                                    {"keydown alt+Return", "keyup alt+Return", "0"},
                                    {onRow + " mousedown 1", "mouseup 1", "1"}};
    static uint8_t wanted;
    for (const auto& hold : holds) {
        SCOPED_TRACE(hold[0]);
        wanted = hold[2] == "1" ? 1 : 0;
        ASSERT_EQ(runCommand("xdotool " + hold[0]), 0);
        EXPECT_TRUE(passUntil([] { return settings.fullScreen == wanted; }, 20.0));
        framesDrawnIn(1.0);
        EXPECT_NE(shell.fullScreenWindow, wanted) << "the window was made again under the held press";
        ASSERT_EQ(runCommand("xdotool " + hold[1]), 0);
        EXPECT_TRUE(passUntil([] { return shell.fullScreenWindow == wanted && hasWindow(); }, 20.0));
        framesDrawnIn(1.0);
        EXPECT_EQ(settings.fullScreen, wanted) << "the press switched more than once";
    }
}
