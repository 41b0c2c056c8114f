// The game on screens of any size: clicks and board cells where they are
// drawn at odd scales, the mouse outside the picture, and, on real X servers,
// the window's opening size, resizing, full screen on the desktop's own
// mode, F11 and Alt+Enter, and the large pictures.
#include <GL/gl.h>

#include <chrono>
#include <string>

#include "assets/assets.h"
#include "support/screen_points.h"
#include "platform/x_display.h"
#include "shell/shell_fixture.h"

namespace {

class AnyScreen : public ShellTest {
protected:
    // Points at layout pixel (x, y) where the current fit draws it.
    static void moveTo(double x, double y) {
        const WindowPoint at = drawnAt(ui.fit, x, y);
        move(at.x, at.y);
    }
    static void clickAt(double x, double y) {
        const WindowPoint at = drawnAt(ui.fit, x, y);
        click(at.x, at.y);
    }
};

struct Fitting {
    int windowWidth, windowHeight, drawableWidth, drawableHeight;
};

// Odd scales, borders both ways, a high-DPI drawable.
const Fitting Fittings[] = {{1001, 700, 1001, 700}, {1000, 1200, 1000, 1200}, {1920, 1080, 1920, 1080},
                            {700, 500, 1400, 1000}, {517, 390, 517, 390}};

void fitTo(const Fitting& f) {
    ui.fit = fitLayout(screenGeometry().width, screenGeometry().height, f.windowWidth, f.windowHeight,
                       f.drawableWidth, f.drawableHeight);
}

}  // namespace

TEST_F(AnyScreen, SidePanelButtonsAreHitWhereTheyAreDrawn) {
    for (uint8_t full : {0, 1}) {
        for (const Fitting& f : Fittings) {
            SCOPED_TRACE(testing::Message() << (full ? "full screen " : "windowed ") << f.windowWidth << "x"
                                            << f.windowHeight);
            resetGameState();
            ui.fullScreenActive = full;
            fitTo(f);
            ui.screen = Screen::Playing;
            // The middle of the new-game and quit buttons of the layout in force.
            const double newGameY = full ? 100 : 80, quitY = full ? 555 : 440, x = full ? 130 : 105;
            moveTo(x, newGameY);
            EXPECT_EQ(ui.newGameButton, ButtonHighlighted);
            EXPECT_EQ(ui.quitButton, ButtonNormal);
            moveTo(x, quitY);
            EXPECT_EQ(ui.newGameButton, ButtonNormal);
            EXPECT_EQ(ui.quitButton, ButtonHighlighted);
            clickAt(x, quitY);
            EXPECT_EQ(ui.screen, Screen::ConfirmQuit);
            // NO on the dialog, then the options row that switches music.
            clickAt(480, full ? 327 : 210);
            EXPECT_EQ(ui.screen, Screen::Playing);
            clickAt(x, full ? 500 : 400);
            ASSERT_EQ(ui.screen, Screen::Options);
            const int32_t music = settings.musicOn;
            clickAt(400, full ? 268 : 148);
            EXPECT_NE(settings.musicOn, music);
        }
    }
}

// On the very border of a button nothing is hit, however the border is scaled.
TEST_F(AnyScreen, ButtonBordersStayOutsideAtOddScales) {
    fitTo({1001, 700, 1001, 700});
    ui.screen = Screen::Playing;
    for (double x : {45.0, 165.0}) {
        moveTo(x, 80);
        EXPECT_EQ(ui.mouseX, static_cast<int>(x));
        EXPECT_EQ(ui.newGameButton, ButtonNormal) << x;
    }
    moveTo(46, 61);
    EXPECT_EQ(ui.newGameButton, ButtonHighlighted);
}

TEST_F(AnyScreen, BoardCellsAreTheOnesUnderTheMouse) {
    for (uint8_t full : {0, 1}) {
        for (const Fitting& f : Fittings) {
            ui.fullScreenActive = full;
            fitTo(f);
            ui.screen = Screen::Playing;
            // Cell middles: 54-pixel cells from (188, 21) windowed, 67-pixel cells from (234, 22) full screen.
            const double size = full ? 67 : 54, left = full ? 234 : 188, top = full ? 22 : 21;
            for (int column : {0, 3, 7}) {
                for (int row : {1, 5, 8}) {
                    moveTo(left + (column + 0.5) * size, top + (row - 0.5) * size);
                    EXPECT_EQ(ui.cursorColumn, column) << f.windowWidth << " " << int(full);
                    EXPECT_EQ(ui.cursorRow, row) << f.windowWidth << " " << int(full);
                }
            }
        }
    }
}

TEST_F(AnyScreen, TheMouseOutsideThePictureHitsNothing) {
    ui.fullScreenActive = 1;
    fitTo({1920, 1080, 1920, 1080});  // borders of 240 pixels left and right
    ui.screen = Screen::Playing;
    moveTo(130, 100);
    EXPECT_EQ(ui.newGameButton, ButtonHighlighted);
    // Straight left of the new-game button, in the border.
    const WindowPoint beside = drawnAt(ui.fit, 130, 100);
    move(100, beside.y);
    EXPECT_EQ(ui.mouseX, MouseOutsidePicture);
    EXPECT_EQ(ui.newGameButton, ButtonNormal);
    EXPECT_EQ(ui.cursorColumn, NoCursorCell);
    click(100, beside.y);
    EXPECT_EQ(ui.screen, Screen::Playing);
    // Right of the board, in the border: no cell, no selection.
    move(1900, 540);
    EXPECT_EQ(ui.cursorColumn, NoCursorCell);
    EXPECT_EQ(ui.cursorRow, NoCursorCell);
    click(1900, 540);
    EXPECT_EQ(turn.firstSelected, 0);
}

// ---------------------------------------------------------------------------
// Real windows

namespace {

template <int ScreenWidth, int ScreenHeight>
class ScreenOf : public AnyScreen {
protected:
    ScreenOf() : server_(ScreenWidth, ScreenHeight), display_(server_.display()) {}
    void SetUp() override {
        AnyScreen::SetUp();
        ASSERT_TRUE(server_.running());
        ASSERT_TRUE(provideGameData());
    }
    void TearDown() override {
        destroyGameWindow();
        platformQuit();
        AnyScreen::TearDown();
    }
    static void expectPicture(int x, int y, int width, int height) {
        EXPECT_EQ(ui.fit.pictureX, x);
        EXPECT_EQ(ui.fit.pictureY, y);
        EXPECT_EQ(ui.fit.pictureWidth, width);
        EXPECT_EQ(ui.fit.pictureHeight, height);
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_EQ(viewport[0], x);
        EXPECT_EQ(viewport[1], y);
        EXPECT_EQ(viewport[2], width);
        EXPECT_EQ(viewport[3], height);
    }
    // The window dragged to a new size, and the game's loop run until it has seen it.
    static void resizeTo(int width, int height) {
        ASSERT_EQ(runCommand("xdotool search --name '^Vortiq$' windowsize --sync " + std::to_string(width) + " " +
                             std::to_string(height)),
                  0);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (std::chrono::steady_clock::now() < deadline &&
               (ui.fit.windowWidth != width || ui.fit.windowHeight != height))
            mainLoopPass();
        ASSERT_EQ(ui.fit.windowWidth, width);
        ASSERT_EQ(ui.fit.windowHeight, height);
    }
    static void altEnter() {
        WindowMessage message = {};
        message.kind = MessageKind::SystemKeyDown;
        message.key = VkReturn;
        deliver(message);
    }

private:
    PrivateXServer server_;
    DisplayOverride display_;
};

using FullHdScreen = ScreenOf<1920, 1080>;
using SmallScreen = ScreenOf<640, 480>;

}  // namespace

// A 1080p desktop: the window opens at twice the layout with the large
// pictures; F11 takes the whole display, Alt+Enter comes back to the window
// as it was.
TEST_F(FullHdScreen, OpensAtTwiceTheLayoutAndTogglesWithTheKeys) {
    ASSERT_TRUE(createGameWindow("Vortiq", 640, 480, 16, false));
    expectWindow(1280, 960, false);
    expectPicture(0, 0, 1280, 960);
    EXPECT_EQ(pictureDensityLoaded, 2);

    keyDown(122);  // F11
    keyUp(122);
    expectWindow(1920, 1080, true);
    expectPicture(240, 0, 1440, 1080);
    EXPECT_EQ(pictureDensityLoaded, 2);
    EXPECT_EQ(ui.screen, Screen::Playing) << "no saved game: a game at once";
    EXPECT_EQ(shell.requests, 0u) << "the switch was made, nothing more is asked";

    altEnter();
    expectWindow(1280, 960, false);
    expectPicture(0, 0, 1280, 960);
    EXPECT_TRUE(testRecord().boxes.empty());
}

// Dragged smaller than 1.5 times the layout the game shows the pictures of
// base/, larger again those of base/2x/; the border goes where the shape differs.
TEST_F(FullHdScreen, ResizingRefitsAndSwapsThePictureSets) {
    ASSERT_TRUE(createGameWindow("Vortiq", 640, 480, 16, false));
    resizeTo(700, 700);
    expectPicture(0, 87, 700, 525);
    EXPECT_EQ(pictureDensityLoaded, 1);
    EXPECT_TRUE(glIsTexture(textures[0]));
    resizeTo(1500, 1000);
    expectPicture(83, 0, 1333, 1000);
    EXPECT_EQ(pictureDensityLoaded, 2);
    // The layout is clicked where it now is: YES on the start-up prompt.
    clickAt(340, 210);
    EXPECT_EQ(ui.screen, Screen::Playing);
}

// Without base/2x/ the game goes on with base/, once told.
TEST_F(FullHdScreen, MissingLargePicturesLeaveTheOrdinaryOnes) {
    ASSERT_EQ(std::system("rm -rf base/2x"), 0);
    testing::internal::CaptureStderr();
    ASSERT_TRUE(createGameWindow("Vortiq", 640, 480, 16, false));
    resizeTo(1400, 1000);
    resizeTo(1500, 1100);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(pictureDensityLoaded, 1);
    const size_t first = said.find("base/2x cannot be read");
    EXPECT_NE(first, std::string::npos) << said;
    EXPECT_EQ(said.find("base/2x cannot be read", first + 1), std::string::npos) << "said once: " << said;
}

// A screen smaller than the full-screen layout shows it scaled down.
TEST_F(SmallScreen, FullScreenFitsTheLargerLayoutIntoASmallDisplay) {
    settings.fullScreen = 1;
    ASSERT_TRUE(createGameWindow("Vortiq", 800, 600, 16, true));
    expectWindow(640, 480, true);
    expectPicture(0, 0, 640, 480);
    EXPECT_EQ(pictureDensityLoaded, 1);
    ui.screen = Screen::Playing;
    clickAt(130, 555);  // QUIT of the full-screen layout
    EXPECT_EQ(ui.screen, Screen::ConfirmQuit);
}
