// A real window on the X server: its size and title, real input, close
// requests, and full screen on the desktop as it is, on screens of any size.
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "platform/platform_local.h"
#include "platform/x_display.h"
#include "support/platform_faults.h"

namespace {

std::vector<WindowMessage> received;
void recordMessage(const WindowMessage& message) { received.push_back(message); }

OpenFailure openGameSized(int width, int height, bool fullscreen) {
    return openWindow(WindowRequest{"Vortiq", width, height, 16, 16, fullscreen});
}

// Opens the window as the game does.
bool makeWindow(int width, int height, bool fullscreen) {
    if (!startVideo(recordMessage) || openGameSized(width, height, fullscreen) != OpenFailure::None) return false;
    showWindow();
    return true;
}

void tearDownWindow() {
    closeWindow();
    platformQuit();
}

// Takes messages for up to `seconds` until one satisfies `done`.
template <typename Done>
bool pumpUntil(Done done, double seconds = 5.0) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        WindowMessage message;
        while (peekMessage(&message)) {
            dispatchMessage(message);
            if (message.kind == MessageKind::Quit) received.push_back(message);
            if (done()) return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

bool receivedMessage(MessageKind kind, int key = -1) {
    for (const WindowMessage& message : received)
        if (message.kind == kind && (key < 0 || message.key == key)) return true;
    return false;
}

// Each test has an X server of its own, so that its input reaches no other
// test's window when tests run side by side.
class RealWindow : public testing::Test {
protected:
    RealWindow() : server_(1024, 768), display_(server_.display()) {}
    void SetUp() override {
        ASSERT_TRUE(server_.running());
        received.clear();
        ASSERT_TRUE(makeWindow(640, 480, false));
        // Wait for the window to be mapped so input reaches it.
        pumpUntil([] { return false; }, 0.3);
    }
    void TearDown() override { tearDownWindow(); }

private:
    PrivateXServer server_;
    DisplayOverride display_;
};

}  // namespace

TEST_F(RealWindow, TitleAndClientArea) {
    EXPECT_TRUE(receivedMessage(MessageKind::Create));
    EXPECT_EQ(received.front().kind, MessageKind::Create);
    int width = 0, height = 0;
    windowClientSize(&width, &height);
    EXPECT_EQ(width, 640);
    EXPECT_EQ(height, 480);
    EXPECT_FALSE(windowIsFullScreen());
    windowDrawableSize(&width, &height);
    EXPECT_EQ(width, 640);
    EXPECT_EQ(height, 480);
    EXPECT_EQ(commandOutput("xdotool search --name '^Vortiq$' getwindowgeometry 2>/dev/null | grep Geometry"),
              "  Geometry: 640x480");
    EXPECT_TRUE(contextIsCurrent());
}

// The player can drag the window to any size: the size message follows, and
// the drawable with it.
TEST_F(RealWindow, ResizedWindowReportsItsNewSize) {
    ASSERT_EQ(runCommand("xdotool search --name '^Vortiq$' windowsize --sync 1000 700"), 0);
    EXPECT_TRUE(pumpUntil([] {
        const WindowMessage& last = received.back();
        return last.kind == MessageKind::Size && last.width == 1000 && last.height == 700;
    }));
    int width = 0, height = 0;
    windowDrawableSize(&width, &height);
    EXPECT_EQ(width, 1000);
    EXPECT_EQ(height, 700);
    EXPECT_FALSE(windowIsFullScreen());
}

TEST_F(RealWindow, RealMouseAndKeys) {
    ASSERT_EQ(runCommand("xdotool mousemove 300 200"), 0);
    EXPECT_TRUE(pumpUntil([] {
        const WindowMessage& last = received.back();
        return last.kind == MessageKind::MouseMove && last.x == 300 && last.y == 200;
    }));

    ASSERT_EQ(runCommand("xdotool click 1"), 0);
    EXPECT_TRUE(pumpUntil([] { return receivedMessage(MessageKind::LeftButtonUp); }));
    EXPECT_TRUE(receivedMessage(MessageKind::LeftButtonDown));

    ASSERT_EQ(runCommand("xdotool keydown a"), 0);
    EXPECT_TRUE(pumpUntil([] { return receivedMessage(MessageKind::KeyDown, 65); }));
    ASSERT_EQ(runCommand("xdotool keyup a"), 0);
    EXPECT_TRUE(pumpUntil([] { return receivedMessage(MessageKind::KeyUp, 65); }));

    ASSERT_EQ(runCommand("xdotool key Escape Return BackSpace"), 0);
    EXPECT_TRUE(pumpUntil([] { return receivedMessage(MessageKind::KeyUp, 8); }));
    EXPECT_TRUE(receivedMessage(MessageKind::KeyDown, 27));
    EXPECT_TRUE(receivedMessage(MessageKind::KeyDown, 13));
}

TEST_F(RealWindow, TheLogoKeyTypesNothing) {
    ASSERT_EQ(runCommand("xdotool key super+x Super_L"), 0);
    ASSERT_EQ(runCommand("xdotool key b"), 0);
    EXPECT_TRUE(pumpUntil([] { return receivedMessage(MessageKind::KeyUp, 'B'); }));
    EXPECT_FALSE(receivedMessage(MessageKind::KeyDown, 91));
    EXPECT_FALSE(receivedMessage(MessageKind::KeyDown, 92));
}

TEST_F(RealWindow, CloseRequestArrivesAsClose) {
    ASSERT_TRUE(requestWindowClose("Vortiq"));
    EXPECT_TRUE(pumpUntil([] { return receivedMessage(MessageKind::Close); }));
}

TEST_F(RealWindow, TerminationSignalsArriveAsClose) {
    raise(SIGTERM);
    EXPECT_TRUE(pumpUntil([] { return receivedMessage(MessageKind::Close); }));
    received.clear();
    raise(SIGINT);
    EXPECT_TRUE(pumpUntil([] { return receivedMessage(MessageKind::Close); }));
}

TEST(FullScreenMode, CoversAnEightHundredByASixHundredScreen) {
    PrivateXServer server(800, 600);
    ASSERT_TRUE(server.running());
    DisplayOverride display(server.display());
    received.clear();
    ASSERT_TRUE(makeWindow(800, 600, true));
    EXPECT_TRUE(windowIsFullScreen());
    int width = 0, height = 0;
    windowClientSize(&width, &height);
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 600);
    EXPECT_TRUE(receivedMessage(MessageKind::Create));
    tearDownWindow();
}

// Full screen takes the display at its own mode, whatever its size: no mode
// is asked for, so none can be refused.
TEST(FullScreenMode, TakesTheDesktopAsItIsOnScreensOfAnySize) {
    for (const auto& size : {std::make_pair(640, 480), std::make_pair(1024, 768), std::make_pair(1920, 1080)}) {
        PrivateXServer server(size.first, size.second);
        ASSERT_TRUE(server.running());
        DisplayOverride display(server.display());
        ASSERT_TRUE(makeWindow(800, 600, true)) << size.first << "x" << size.second;
        EXPECT_TRUE(windowIsFullScreen());
        int width = 0, height = 0;
        windowClientSize(&width, &height);
        EXPECT_EQ(width, size.first);
        EXPECT_EQ(height, size.second);
        windowDrawableSize(&width, &height);
        EXPECT_EQ(width, size.first);
        EXPECT_EQ(height, size.second);
        SDL_DisplayMode desktop;
        ASSERT_EQ(SDL_GetCurrentDisplayMode(0, &desktop), 0);
        EXPECT_EQ(desktop.w, size.first) << "the display mode was left as it was";
        tearDownWindow();
        EXPECT_FALSE(windowIsFullScreen());
    }
}

// A window system that makes no full-screen window: the open says which part
// failed, and leaves nothing behind; the windowed fallback still works.
TEST(FullScreenMode, AFailingWindowSystemRefusesIt) {
    PrivateXServer server(1024, 768);
    ASSERT_TRUE(server.running());
    DisplayOverride display(server.display());
    ASSERT_TRUE(startVideo(recordMessage));
    received.clear();
    setFailingStep(PlatformStep::FullScreen);
    EXPECT_EQ(openGameSized(800, 600, true), OpenFailure::NoDisplayMode);
    setFailingStep(PlatformStep::None);
    EXPECT_FALSE(hasWindow());
    EXPECT_FALSE(receivedMessage(MessageKind::Create));
    EXPECT_EQ(openGameSized(640, 480, false), OpenFailure::None);
    EXPECT_FALSE(windowIsFullScreen());
    tearDownWindow();
}

TEST(Desktop, UsableSizeIsTheScreensWithoutPanels) {
    PrivateXServer server(1920, 1080);
    ASSERT_TRUE(server.running());
    DisplayOverride display(server.display());
    int width = -1, height = -1;
    usableDesktopSize(&width, &height);
    EXPECT_EQ(width, 0) << "nothing is known before the window system starts";
    ASSERT_TRUE(startVideo(recordMessage));
    usableDesktopSize(&width, &height);
    EXPECT_EQ(width, 1920);
    EXPECT_EQ(height, 1080);
    platformQuit();
}

// An open that fails at any of its calls leaves no window and no context
// behind; only releasing the context can fail a close, which closes all the same.
TEST(OpenAndClose, FailuresLeaveNothingBehind) {
    PrivateXServer server(1024, 768);
    ASSERT_TRUE(server.running());
    DisplayOverride display(server.display());
    ASSERT_TRUE(startVideo(recordMessage));
    const std::pair<PlatformStep, OpenFailure> failures[] = {
        {PlatformStep::CreateWindow, OpenFailure::NoWindow},
        {PlatformStep::PixelFormat, OpenFailure::NoPixelFormat},
        {PlatformStep::CreateContext, OpenFailure::NoContext},
        {PlatformStep::MakeCurrent, OpenFailure::NotCurrent},
    };
    for (const auto& [step, failure] : failures) {
        SCOPED_TRACE(static_cast<int>(failure));
        setFailingStep(step);
        EXPECT_EQ(openGameSized(640, 480, false), failure);
        setFailingStep(PlatformStep::None);
        EXPECT_FALSE(hasWindow());
        EXPECT_EQ(SDL_GL_GetCurrentContext(), nullptr);
        EXPECT_EQ(commandOutput("xdotool search --name '^Vortiq$' 2>/dev/null"), "");
    }
    ASSERT_EQ(openGameSized(640, 480, false), OpenFailure::None) << "a later open still works";
    EXPECT_TRUE(contextIsCurrent());
    setFailingStep(PlatformStep::ReleaseContext);
    EXPECT_FALSE(closeWindow());
    setFailingStep(PlatformStep::None);
    EXPECT_FALSE(hasWindow());
    EXPECT_EQ(SDL_GL_GetCurrentContext(), nullptr);
    EXPECT_TRUE(closeWindow()) << "nothing left to close";
    tearDownWindow();
}

// With no display to go to, SDL would fall back to a driver that draws where
// nobody sees it; the video start is refused instead, and the reason said.
TEST(NoDisplay, VideoIsRefusedWithTheReason) {
    struct Unset {
        std::string name, old;
        bool had;
        explicit Unset(const char* variable) : name(variable), had(std::getenv(variable) != nullptr) {
            if (had) old = std::getenv(variable);
            unsetenv(variable);
        }
        ~Unset() {
            if (had) setenv(name.c_str(), old.c_str(), 1);
        }
    } display("DISPLAY"), wayland("WAYLAND_DISPLAY"), driver("SDL_VIDEODRIVER");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(startVideo(recordMessage));
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("vortiq: no display to open a window on"), std::string::npos) << said;
    EXPECT_EQ(openGameSized(640, 480, false), OpenFailure::NoWindow) << "nothing to make a window with";
    platformQuit();
}
