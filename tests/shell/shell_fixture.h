// Every shell test starts from the program-load state in a run directory of
// its own (an empty base/ in a temporary folder), with message boxes and the
// help page caught instead of shown.
#pragma once

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "support/sound_log.h"
#include "game/game.h"
#include "persist/persist.h"
#include "shell/shell.h"
#include "support/byte_files.h"
#include "support/game_data.h"
#include "support/platform_faults.h"
#include "support/scratch.h"

struct ShownBox {
    std::string text;
    std::string caption;
    MessageButtons buttons;
    MessageIcon icon;
};

struct ShellTestRecord {
    std::vector<ShownBox> boxes;
    MessageAnswer questionAnswer = MessageAnswer::Yes;
    std::vector<std::string> documents;
};
inline ShellTestRecord& testRecord() {
    static ShellTestRecord record;
    return record;
}

inline MessageAnswer recordBox(const char* text, const char* caption, MessageButtons buttons, MessageIcon icon) {
    testRecord().boxes.push_back({text, caption, buttons, icon});
    return buttons == MessageButtons::YesNo ? testRecord().questionAnswer : MessageAnswer::Ok;
}

inline bool recordDocument(const char* path) {
    testRecord().documents.push_back(path);
    return true;
}

// The commands the window procedure queued, applied as the next frame's step
// applies them, and what they ask of the shell done (which may queue more).
inline void applyQueuedCommands() {
    while (shell.input.count > 0 || shell.requests) {
        for (int i = 0; i < shell.input.count; ++i) shell.requests |= applyCommand(shell.input.commands[i]);
        shell.input.count = 0;
        if (shell.requests) carryOutRequests();
    }
}

class ShellTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(runDir_.ok()) << runDir_.why();

        // Sound is not what these tests look at: no device, no "DirectSound" box.
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        resetGameState();
        resetShellState();
        connectStepHooks();
        clearSoundLog();
        setSoundBackend(nullptr);
        testRecord() = ShellTestRecord{};
        setMessageBoxHandler(recordBox);
        setDocumentOpener(recordDocument);
        setFailingStep(PlatformStep::None);
    }

    void TearDown() override {
        setFailingStep(PlatformStep::None);
        setMessageBoxHandler(nullptr);
        setDocumentOpener(nullptr);
        const std::string path = runDir_.path();
        if (!runDir_.remove()) ADD_FAILURE() << "cannot return from or remove " << path;
    }

    const std::string& runDir() const { return runDir_.path(); }

    // The game's data, as the build made it, in this run directory.
    static bool provideGameData() { return linkGameData("base"); }

    // Messages as the window system would deliver them.
    static void move(int x, int y) { send(MessageKind::MouseMove, x, y); }
    static void press(int x, int y) { send(MessageKind::LeftButtonDown, x, y); }
    static void release(int x, int y) { send(MessageKind::LeftButtonUp, x, y); }
    static void click(int x, int y) {
        press(x, y);
        release(x, y);
    }
    // The middle of a screen button's hit rectangle, in the layout on screen.
    using Button = ButtonGeometry ScreenGeometry::*;
    static void clickButton(Button button) {
        const HitRect& r = (screenGeometry().*button).hit;
        click(hitCentreX(r), hitCentreY(r));
    }
    static void hoverButton(Button button) {
        const HitRect& r = (screenGeometry().*button).hit;
        move(hitCentreX(r), hitCentreY(r));
    }
    static void keyDown(int key, bool repeat = false) {
        WindowMessage message = {};
        message.kind = MessageKind::KeyDown;
        message.key = key;
        message.repeat = repeat ? 1 : 0;
        deliver(message);
    }
    static void keyUp(int key) {
        WindowMessage message = {};
        message.kind = MessageKind::KeyUp;
        message.key = key;
        deliver(message);
    }
    static void send(MessageKind kind, int x, int y) { deliver(mouseMessage(kind, x, y)); }
    // A message through the window procedure, its commands applied as the
    // next frame's step applies them, and what they ask of the shell done.
    static void deliver(const WindowMessage& message) {
        windowProcedure(message);
        applyQueued();
    }
    static void applyQueued() { applyQueuedCommands(); }

    static int moduleRequests(Module module) {
        return countRequests(SoundRecord::ModuleRequest, static_cast<int>(module));
    }
    static int stopRequests() { return countRequests(SoundRecord::StopRequest); }

    // The window's client size and whether it is full screen, with the game
    // and the settings saying the same.
    static void expectWindow(int width, int height, bool full) {
        applyQueuedCommands();  // the new window's layout, as the next frame takes it
        int w = 0, h = 0;
        windowClientSize(&w, &h);
        EXPECT_EQ(w, width);
        EXPECT_EQ(h, height);
        EXPECT_EQ(windowIsFullScreen(), full);
        EXPECT_EQ(ui.fullScreenActive, full ? 1 : 0);
        EXPECT_EQ(settings.fullScreen, full ? 1 : 0);
    }

    // The state the first start-up leaves: levels mode preset, prompt showing.
    static void presetStartUp() {
        game.gameMode = GameMode::Levels;
        ui.modeAButton = ButtonPressed;
        ui.modeBButton = ButtonNormal;
        ui.screen = Screen::ContinuePrompt;
    }
    // The board screen of a levels game after the prompt, sound and music on.
    static void presetBoardScreen() {
        presetStartUp();
        ui.screen = Screen::Playing;
        settings.soundOn = 1;
        settings.musicOn = 1;
    }

private:
    ScratchFolder runDir_;
};
