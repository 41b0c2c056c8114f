// Watching a recorded game: its frames stepped at their recorded times with
// pictures, sounds and banners, in a window of the recorded layout. Space
// pauses, Right or + plays two, four, then again one times as fast; Escape or
// closing the window ends it, and so does the end of the game, a little after.
// Nothing of the player's is written, and the player's input never reaches
// the game shown.
#include <string>

#include "audio/audio.h"
#include "game/game.h"
#include "persist/persist.h"
#include "render/render.h"
#include "replay/replay.h"
#include "shell/shell.h"

namespace {

constexpr int64_t FramePeriodMicros = 16667;    // after a rest or a new window: the next frame at once
constexpr int64_t LingerMicros = 2000000;       // the last picture stays this long
constexpr int KeyPadPlus = 107, KeyPlus = 187;  // + on the keypad, and the key of = and +

struct Watch {
    int speed = 1;
    bool paused = false;
    bool done = false;
};

void fitWindow() {
    shell.fullScreenWindow = ui.fullScreenActive;
    int width = 0, height = 0;
    windowClientSize(&width, &height);
    resizeViewport(width, height);
    refreshPictureSet();
}

void watchMessage(const WindowMessage& message, Watch* watch) {
    switch (message.kind) {
        case MessageKind::Quit:
        case MessageKind::Close: watch->done = true; break;
        case MessageKind::Size:
            resizeViewport(message.width, message.height);
            refreshPictureSet();
            break;
        case MessageKind::KeyDown:
            if (message.repeat) break;
            if (message.key == VkEscape) watch->done = true;
            if (message.key == VkSpace) watch->paused = !watch->paused;
            if (message.key == VkRight || message.key == KeyPadPlus || message.key == KeyPlus)
                watch->speed = watch->speed == 4 ? 1 : watch->speed * 2;
            break;
        default: break;
    }
}

// Plays the replay in the window there is; false when the window was closed.
bool playRecordedGame(const Replay& replay) {
    startPlayback(replay);
    shell.input.count = 0;  // the window's own layout is not the recorded one's
    fitWindow();
    stopMusic();
    playModeMusic();

    Watch watch;
    ReplayCursor cursor = firstReplayFrame(replay);
    FrameInput input;
    ReplayFrame frame;
    bool pending = false, ended = false, first = true, closed = false;
    int64_t due = clockMicros(), lastTicks = 0, endAt = 0;
    while (!watch.done) {
        WindowMessage message;
        if (peekMessage(&message)) {
            const bool wasPaused = watch.paused;
            watchMessage(message, &watch);
            closed |= message.kind == MessageKind::Close || message.kind == MessageKind::Quit;
            if (wasPaused && !watch.paused) due = clockMicros();
            continue;
        }
        const int64_t now = clockMicros();
        if (ended && now >= endAt) break;
        if (watch.paused || ended) {
            waitForMessage(100);
            continue;
        }
        if (!pending) {
            if (!nextPlaybackInput(replay, &cursor, &input, &frame)) {
                ended = true;
                endAt = now + LingerMicros;
                continue;
            }
            const int64_t step = first || input.clockRestarted ? FramePeriodMicros : input.ticks - lastTicks;
            due += (step < 0 ? 0 : step) / watch.speed;
            lastTicks = input.ticks;
            first = false;
            pending = true;
        }
        if (now < due) {
            waitForMessage(static_cast<int>((due - now) / 1000) + 1);
            continue;
        }
        if (now - due > 250000) due = now;  // far behind (a slow machine): no hurrying to catch up
        stepFrame(input);  // what it asks of the shell (a new window, the end) is not for a watcher
        pending = false;
        if (ui.fullScreenActive != shell.fullScreenWindow) fitWindow();
        drawScene();
        swapBuffers();
    }
    return !closed;
}

}  // namespace

int watchReplay(const char* path) {
    Replay replay;
    std::string problem;
    if (!readReplay(path, &replay, &problem)) {
        std::fprintf(stderr, "vortiq: %s\n", problem.c_str());
        return 2;
    }
    holdPlayerFiles(true);
    ui.fullScreenActive = replay.header.start.ui.fullScreenActive;
    const ScreenGeometry& g = screenGeometry();
    if (!createGameWindow("Vortiq replay", g.width, g.height, 16, false)) {
        platformQuit();
        return 1;
    }
    playRecordedGame(replay);
    destroyGameWindow();
    stopSound();
    platformQuit();
    return 0;
}

void watchEntryReplay(const char* path) {
    Replay replay;
    std::string problem;
    if (!readReplay(path, &replay, &problem)) {
        std::fprintf(stderr, "vortiq: %s\n", problem.c_str());
        return;
    }
    // The game shown is put back as it was, dice and all.
    const GameState keptGame = game;
    const TurnState keptTurn = turn;
    const SceneState keptScene = scene;
    const UiState keptUi = ui;
    const ScoreBook keptScoreBook = scoreBook;
    const Settings keptSettings = settings;
    const Dice keptDice = dice;
    const StepHooks keptHooks = stepHooks;
    const uint8_t keptWindow = shell.fullScreenWindow;
    const bool open = playRecordedGame(replay);
    game = keptGame;
    turn = keptTurn;
    scene = keptScene;
    ui = keptUi;
    scoreBook = keptScoreBook;
    settings = keptSettings;
    restoreDice(keptDice.seed, keptDice.drawn);
    dice = keptDice;
    stepHooks = keptHooks;
    holdPlayerFiles(false);
    ui.fullScreenActive = keptUi.fullScreenActive;
    fitWindow();
    shell.fullScreenWindow = keptWindow;
    stopMusic();
    playModeMusic();
    shell.input = FrameInput{};
    shell.input.clockRestarted = 1;
    shell.resting = 0;  // the game shown is drawn again
    if (!open) postQuitMessage(0);
}
