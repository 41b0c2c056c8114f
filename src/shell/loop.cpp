// The program's start, main loop and shutdown.
#include <cstring>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "audio/audio.h"
#include "game/game.h"
#include "persist/persist.h"
#include "render/render.h"
#include "shell/shell.h"
#include "shell/window_icon.h"

ShellState shell = {{0}, 1, 0, 0, 0, 0, {0}, {0}, 0, 0, 0, 0, 0.0f, 0.0f};
ShellWatch shellWatch = {nullptr, nullptr, nullptr, nullptr};

void resetShellState() {
    std::memset(&shell, 0, sizeof shell);
    shell.windowActive = 1;
}

namespace {

constexpr int FirstLetterCode = 65;
constexpr int LastLetterCode = 91;
constexpr int KeyP = 80;

void pauseKeys() {
    if ((shell.keys[VkEscape] || shell.keys[KeyP]) && togglePause()) {
        shell.keys[VkEscape] = 0;
        shell.keys[KeyP] = 0;
    }
}

// Every letter key held is taken in one pass, the lower code first; then no
// letter is taken until all of them are up.
void nameLetters() {
    if (shell.letterLatch || ui.screen != Screen::NameEntry) return;
    shell.letterLatch = 1;
    for (int k = FirstLetterCode; k <= LastLetterCode; ++k)
        if (shell.keys[k]) typeNameLetter(k);
}

void nameBackspace() {
    if (shell.backspaceLatch || !shell.keys[VkBack]) return;
    if (eraseNameLetter()) shell.backspaceLatch = 1;
}

void nameConfirm() {
    if (shell.keys[VkSpace] || shell.keys[VkReturn]) confirmName();
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

bool openGameWindow() {
    const ScreenGeometry& g = screenGeometry();
    return createGameWindow("Vortiq", g.width, g.height, 16, ui.fullScreenActive != 0);
}

}  // namespace

bool togglePause() {
    if (!timedModeRunning() || ui.screen != Screen::Playing) return false;
    ui.paused = ui.paused ? 0 : 1;
    return true;
}

void confirmName() {
    if (!finishNameEntry()) return;
    insertHighScore(game.gameMode);
    refreshHighScores();
}

void heldKeyWork() {
    pauseKeys();
    nameLetters();
    nameBackspace();
    nameConfirm();
    releaseSeenKeys();
    releaseLatches();
}

namespace {

// A rest wakes this often even without input, in milliseconds.
constexpr int RestWakeMs = 100;
// Input that ends a rest may come as a few messages close together (two keys
// pressed at once): the first frame after it waits up to this long for the
// rest of them, in milliseconds (a frame at 60 Hz), so that one frame's key
// work sees them all, as when the frames run.
constexpr float GatherInputMs = 16.0f;
// The free pages of the heap go back to the system at most this often, in
// milliseconds. The GL's software renderer allocates and frees a few MB
// while it draws, and the allocator would keep the pages it freed.
constexpr float FreePagesEveryMs = 1000.0f;
// For this long after a window opens, in milliseconds, they go back after
// every frame: the software renderer compiles its shaders then, and frees
// most of what compiling took.
constexpr float FreePagesEachFrameForMs = 3000.0f;

void giveBackFreePages() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

// Blocks of 128 KB or more are mapped on their own and unmapped when freed,
// and the heap's free top is given back past 16 MB (else by
// giveBackFreePages, once a second). Left to itself glibc raises both limits
// (up to 32 MB) each time a large block is freed, and the software renderer
// frees large blocks as it compiles and draws: the game would keep several
// MB it no longer uses. The free top is not given back after every frame:
// the software renderer takes and frees a few hundred KB each frame, and
// shrinking the heap (which flushes every core's address cache) and faulting
// the pages in again cost more than drawing a frame of a few boxes.
void keepHeapTight() {
#if defined(__GLIBC__)
    mallopt(M_TRIM_THRESHOLD, 16 * 1024 * 1024);
#endif
}

bool keyHeld() {
    for (uint8_t down : shell.keys)
        if (down) return true;
    return false;
}

// After a frame: whether the next would show the same picture. A key held
// down still has work to do (the pause keys, the name letters).
bool frameCanRest() {
    if (keyHeld() || (shellWatch.wantsFrames && shellWatch.wantsFrames())) return false;
    settleReadouts();
    return sceneAtRest();
}

}  // namespace

bool freePagesDue(float nowMs) {
    if (nowMs >= shell.pagesFreedMs && nowMs - shell.pagesFreedMs < FreePagesEveryMs) return false;
    shell.pagesFreedMs = nowMs;
    return true;
}

// A frame flows one way:
//   input      the waiting messages, one a pass (the mouse's rules run as
//              they come), then the frame:
//   stepFrame  every rule step of the frame (src/game), in order;
//   drawScene  draws what the step left, changing no state (src/render);
//   present    swaps the buffers;
//   key work   the held keys: pause and the name entry, for the next frame;
//   pace       waits until the next frame is due where nothing else paces
//              the frames.
// While the picture stands still (the next frame would look like the last)
// or the window is minimised, the loop steps and draws nothing: it waits
// for input.
void mainLoopPass() {
    WindowMessage message;
    if (peekMessage(&message)) {
        if (message.kind == MessageKind::Quit) {
            shell.quitRequested = 1;
            shell.exitCode = message.code;
        } else {
            dispatchMessage(message);
        }
        // Whatever came in may change the picture: the next frame is drawn.
        shell.resting = 0;
        return;
    }
    if (shell.resting || !shell.windowActive) {
        // Nothing to draw: sleep until input comes, waking now and then.
        waitForMessage(RestWakeMs);
        shell.rested = 1;
        return;
    }
    if (shell.rested == 1) {
        shell.rested = 2;
        shell.gatherUntilMs = clockMillis() + GatherInputMs;
    }
    const float gatherLeft = shell.rested == 2 ? shell.gatherUntilMs - clockMillis() : 0.0f;
    if (gatherLeft >= 1.0f && waitForMessage(static_cast<int>(gatherLeft))) return;
    // The time of the rest drew no frames and is no game time.
    if (shell.rested) restartFrameMeasurement();
    shell.rested = 0;
    stepFrame(clockMillis);
    drawScene();
    presentScene();
    if (shellWatch.framePresented) shellWatch.framePresented();
    heldKeyWork();
    const float now = clockMillis();
    if (now < FreePagesEachFrameForMs || freePagesDue(now)) giveBackFreePages();
    shell.resting = frameCanRest() ? 1 : 0;
    // A rest waits for input instead.
    if (!shell.resting) paceFrame();
}

namespace {

// A game that ended is not kept to be continued: a score still waiting at the
// name entry or under the game-over banner goes to the table (with the name
// typed so far), and the new game that would have followed is saved instead.
void settleEndedGame() {
    const bool scoreWaits = ui.screen == Screen::NameEntry || gameOverRunning();
    if (scoreWaits && madeHighScore()) {
        insertHighScore(game.gameMode);
        refreshHighScores();
    }
    if (scoreWaits || game.finished) newGame();
}

}  // namespace

void shutdownGame() {
    // Until the start-up prompt is answered no game has been started or
    // restored: the board in memory is empty and the saved game stays as it is.
    if (ui.screen != Screen::ContinuePrompt) {
        settleEndedGame();
        saveGame();
    }
    saveSettings();
    destroyGameWindow();
    stopSound();
}

int runGame() {
    keepHeapTight();
    ui.fullScreenActive = 0;
    removeStaleScratchFiles();
    loadSettings();
    if (settings.fullScreen == 1) ui.fullScreenActive = 1;
    applyWindowIcon();
    if (!openGameWindow()) {
        platformQuit();
        return 1;  // the reason is already shown; a script sees the failure too
    }
    while (!shell.quitRequested) mainLoopPass();
    if (shellWatch.loopEnded) shellWatch.loopEnded();
    shutdownGame();
    platformQuit();
    return shell.exitCode;
}
