// The program's start, main loop and shutdown.
#include <cstring>

#include "audio/audio.h"
#include "game/game.h"
#include "persist/persist.h"
#include "render/render.h"
#include "shell/shell.h"
#include "shell/window_icon.h"

ShellState shell = {{0}, 1, 0, 0, 0, 0, {0}, {0}};

void resetShellState() {
    std::memset(&shell, 0, sizeof shell);
    shell.windowActive = 1;
}

namespace {

constexpr int FirstLetterCode = 65;
constexpr int LastLetterCode = 91;
constexpr int KeyP = 80;

void pauseKeys() {
    if ((shell.keys[VkEscape] || shell.keys[KeyP]) && ui.modeBButton == ButtonPressed &&
        ui.screen == Screen::Playing) {
        shell.keys[VkEscape] = 0;
        shell.keys[KeyP] = 0;
        ui.paused = ui.paused ? 0 : 1;
    }
}

// Every letter key held is taken in one pass, the lower code first; the
// first letter of the name is upper case, the others lower case.
void nameLetters() {
    if (shell.letterLatch || ui.screen != Screen::NameEntry) return;
    shell.letterLatch = 1;
    for (int k = FirstLetterCode; k <= LastLetterCode; ++k) {
        if (!shell.keys[k] || scoreBook.entryCursor > 9) continue;
        scoreBook.entryName[scoreBook.entryCursor - 1] = static_cast<char>(scoreBook.entryCursor == 1 ? k : k + 32);
        ++scoreBook.entryCursor;
    }
}

void nameBackspace() {
    if (shell.backspaceLatch || !shell.keys[VkBack] || ui.screen != Screen::NameEntry || scoreBook.entryCursor <= 1)
        return;
    shell.backspaceLatch = 1;
    --scoreBook.entryCursor;
    scoreBook.entryName[scoreBook.entryCursor - 1] = FreeNamePlace;
}

void nameConfirm() {
    if ((shell.keys[VkSpace] || shell.keys[VkReturn]) && ui.screen == Screen::NameEntry) {
        ui.screen = Screen::HighScores;
        insertHighScore(game.gameMode);
        refreshHighScores();
    }
}

void releaseLatches() {
    if (!shell.keys[VkBack]) shell.backspaceLatch = 0;
    int up = 0;
    for (int k = FirstLetterCode; k <= LastLetterCode; ++k)
        if (!shell.keys[k]) ++up;
    if (up == LastLetterCode - FirstLetterCode + 1) shell.letterLatch = 0;
}

// The keys released before this frame saw them go up now.
void releaseSeenKeys() {
    for (int k = 0; k < 256; ++k) {
        if (shell.keysLetGo[k]) shell.keys[k] = 0;
        shell.keysLetGo[k] = 0;
        shell.keysUnseen[k] = 0;
    }
}

bool openWindow() {
    const ScreenGeometry& g = screenGeometry();
    return createGameWindow("Vortiq", g.width, g.height, 16, ui.fullScreenActive != 0);
}

}  // namespace

void heldKeyWork() {
    pauseKeys();
    nameLetters();
    nameBackspace();
    nameConfirm();
    releaseSeenKeys();
    releaseLatches();
}

void mainLoopPass() {
    WindowMessage message;
    if (peekMessage(&message)) {
        if (message.kind == MessageKind::Quit) {
            shell.quitRequested = 1;
            shell.exitCode = message.code;
        } else {
            dispatchMessage(message);
        }
        return;
    }
    bool present = true;
    if (shell.windowActive && !drawScene()) {
        shell.quitRequested = 1;
        present = false;
    }
    if (present) {
        swapBuffers();
        benchFramePresented();
    }
    heldKeyWork();
}

void shutdownGame() {
    // Until the start-up prompt is answered no game has been started or
    // restored: the board in memory is empty and the saved game stays as it is.
    if (ui.screen != Screen::ContinuePrompt) saveGame();
    saveSettings();
    destroyGameWindow();
    stopSound();
}

int runGame() {
    ui.fullScreenActive = 0;
    loadSettings();
    if (settings.fullScreen == 1) ui.fullScreenActive = 1;
    applyWindowIcon();
    if (!openWindow()) {
        platformQuit();
        return 1;  // the reason is already shown; a script sees the failure too
    }
    while (!shell.quitRequested) mainLoopPass();
    benchFinish();
    shutdownGame();
    platformQuit();
    return shell.exitCode;
}
