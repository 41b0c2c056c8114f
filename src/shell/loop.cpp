// The program's start, main loop and shutdown.
#include <cstring>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "audio/audio.h"
#include "game/game.h"
#include "persist/persist.h"
#include "render/render.h"
#include "replay/replay.h"
#include "shell/shell.h"
#include "shell/window_icon.h"

ShellState shell = {1, 0, 0, 0, 0, 0, 0, 0, 0.0f, 0.0f, {}, 0, 0, 0, 0, 0, 0};
ShellWatch shellWatch = {nullptr, nullptr, nullptr, nullptr};

void resetShellState() {
    shell = ShellState{};
    shell.windowActive = 1;
}

namespace {

bool openGameWindow() {
    const ScreenGeometry& g = screenGeometry();
    return createGameWindow("Vortiq", g.width, g.height, 16, ui.fullScreenActive != 0);
}


}  // namespace

void connectStepHooks() { stepHooks = StepHooks{continueRecordedGame, enterRecordedHighScore, retrySound}; }

namespace {

// A rest wakes this often even without input, in milliseconds.
constexpr int RestWakeMs = 100;
// Input that ends a rest may come as a few messages close together (a press
// and its release): the first frame after it waits up to this long for the
// rest of them, in microseconds (a frame at 60 Hz), so that one frame takes
// them all, as when the frames run.
constexpr int64_t GatherInputMicros = 16000;
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

// After a frame: whether the next would show the same picture. The step has
// already put the readouts on their goals, and the frame drawn showed them.
bool frameCanRest() {
    if (shellWatch.wantsFrames && shellWatch.wantsFrames()) return false;
    return sceneAtRest();
}

}  // namespace

bool freePagesDue(float nowMs) {
    if (nowMs >= shell.pagesFreedMs && nowMs - shell.pagesFreedMs < FreePagesEveryMs) return false;
    shell.pagesFreedMs = nowMs;
    return true;
}

void carryOutRequests() {
    const uint32_t requests = shell.requests;
    shell.requests = 0;
    if (requests & RequestFullScreen) switchFullScreen();
    // The page opens beside the game; when it cannot, the player hears why
    // and the game goes on.
    if ((requests & RequestHelp) && !openDocument("help.htm"))
        messageBox("The help page (help.htm) could not be opened.\nYour game goes on.", "Vortiq", MessageButtons::Ok,
                   MessageIcon::Information);
    if (requests & RequestQuit) shell.quitRequested = 1;
    if ((requests & RequestWatch) && ui.watchedRow >= 1 && ui.watchedRow <= 2 * HighScoreRows) {
        const int table = (ui.watchedRow - 1) / HighScoreRows;
        const HighScoreEntry& entry = scoreBook.highScores[table].entries[(ui.watchedRow - 1) % HighScoreRows];
        watchEntryReplay(entryReplayPath(static_cast<GameMode>(table), entry).c_str());
    }
}

// A frame flows one way:
//   input      the waiting messages, one a pass, turned into commands;
//   requests   what the last steps asked of the shell (a new window, the
//              help page, the end), once every message sent to the window
//              is taken and neither the button nor a full-screen key that
//              went down on it is still held;
//   stepFrame  the frame's time and commands, then every rule step of the
//              frame (src/game), in order;
//   drawScene  draws what the step left, changing no state (src/render);
//   present    swaps the buffers;
//   pace       waits until the next frame is due where nothing else paces
//              the frames.
// While the picture stands still (the next frame would look like the last)
// or the window is minimised, the loop steps and draws nothing: it waits
// for input.
void mainLoopPass() {
    const bool full = shell.input.count >= MostFrameCommands;
    WindowMessage message;
    if (!full && peekMessage(&message)) {
        if (message.kind == MessageKind::Quit) {
            shell.quitRequested = 1;
            shell.exitCode = message.code;
            return;
        }
        shell.woken = 0;
        dispatchMessage(message);
        // What came in may change the picture: the next frame is drawn.
        if (shell.woken) shell.resting = 0;
        return;
    }
    // A new window queues its layout: a full input is stepped first.
    if (shell.requests && !shell.held && !full) {
        carryOutRequests();
        return;
    }
    if (!full && (shell.resting || !shell.windowActive)) {
        // Nothing to draw: sleep until input comes, waking now and then.
        waitForMessage(RestWakeMs);
        shell.rested = 1;
        return;
    }
    if (shell.rested == 1) {
        shell.rested = 2;
        shell.gatherUntil = clockMicros() + GatherInputMicros;
    }
    const int64_t gatherLeft = shell.rested == 2 && !full ? shell.gatherUntil - clockMicros() : 0;
    if (gatherLeft >= 1000 && waitForMessage(static_cast<int>(gatherLeft / 1000))) return;
    // The time of the rest drew no frames and is no game time.
    if (shell.rested) shell.input.clockRestarted = 1;
    shell.rested = 0;
    shell.input.ticks = clockMicros();
    shell.requests |= stepFrame(shell.input);
    recordStep(shell.input);
    shell.input.count = 0;
    shell.input.clockRestarted = 0;
    drawScene();
    presentScene();
    if (shellWatch.framePresented) shellWatch.framePresented();
    const float now = clockMillis();
    if (now - shell.windowOpenedMs < FreePagesEachFrameForMs || freePagesDue(now)) giveBackFreePages();
    // Requests waiting for a release wait in a rest as well as in frames.
    shell.resting = (!shell.requests || shell.held) && frameCanRest() ? 1 : 0;
    // A rest waits for input instead.
    if (!shell.resting) paceFrame();
}

namespace {

// A game that ended is not kept to be continued: a score still waiting at the
// name entry or under the game-over banner goes to the table (with the name
// typed so far), and the new game that would have followed is saved instead.
void settleEndedGame() {
    const bool scoreWaits = ui.screen == Screen::NameEntry || gameOverRunning();
    if (scoreWaits && madeHighScore()) enterRecordedHighScore(game.gameMode);
    if (scoreWaits || game.finished) newGame();
}

}  // namespace

void shutdownGame() {
    // Until the start-up prompt is answered no game has been started or
    // restored: the board in memory is empty and the saved game stays as it is.
    if (ui.screen != Screen::ContinuePrompt) {
        settleEndedGame();
        finishRecordingAtQuit();
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
    connectStepHooks();
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
