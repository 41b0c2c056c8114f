// vortiq-bench: the game, built from the game's own libraries, with timing.
// With VORTIQ_BENCH=<file> it notes when the GL context exists, when the
// first frame is presented and when the first frame showing a full board is
// presented, in milliseconds since the process started, and writes them to
// <file> when the game ends. Without the variable it is the game as shipped.
//
// VORTIQ_BENCH_SCRIPT drives the game without a player: "new:N" answers the
// start-up prompt with a new game, "continue:N" with the saved game; once the
// board is full and still, a gem is selected (it spins), a score popup is
// kept on screen, N frames are timed one by one, and the game quits.
// With VORTIQ_BENCH_WHOLE_FRAMES=1 every frame is drawn whole, as it would
// be without the kept picture. "timed:N" starts a game of the timed mode and
// times N frames of it once the board is full and still, nothing selected:
// only the time bar drains. "still:SCREEN" starts a new game and, once the board is full and still,
// shows SCREEN (board, options, highscores, confirm, paused) and writes
// "still" to the file: the runner then measures the processor time the
// game takes on its own and ends it.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include <unistd.h>

#include "game/game.h"
#include "render/render_local.h"
#include "shell/shell.h"
#include "support/board.h"
#include "support/screen_points.h"

namespace {

struct BenchState {
    bool enabled = false;
    bool checked = false;
    const char* path = nullptr;
    double contextMs = -1.0, firstFrameMs = -1.0, filledFrameMs = -1.0;
    bool scripted = false;
    bool continueGame = false;
    bool timedGame = false;  // a "timed:" script
    bool timedStarted = false;
    const char* stillScreen = nullptr;  // the screen of a "still:" script
    bool stillShown = false;
    bool stillTold = false;  // the frame showing it was presented
    int framesWanted = 0;
    int settledFrames = 0;  // frames seen with a full, still board
    bool measuring = false;
    double lastPresentMs = 0.0, measureStartMs = 0.0, cpuStartMs = 0.0, cpuMs = 0.0;
    std::vector<float> frameMs;
    int wholeFrames = 0;  // of the timed frames, those drawn whole
    int presented = 0;
};
BenchState bench;

double monotonicMs() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// Process start on the monotonic clock: the launcher's VORTIQ_BENCH_T0
// (nanoseconds), else the start time the kernel keeps (boot-time clock ticks).
double processStartMs() {
    if (const char* t0 = std::getenv("VORTIQ_BENCH_T0")) return std::strtod(t0, nullptr) / 1e6;
    double startMs = monotonicMs();
    if (FILE* stat = std::fopen("/proc/self/stat", "r")) {
        char text[1024];
        const size_t n = std::fread(text, 1, sizeof text - 1, stat);
        std::fclose(stat);
        text[n] = 0;
        // Field 22, counted after the command name's closing parenthesis.
        const char* p = std::strrchr(text, ')');
        for (int field = 2; p && field < 22; ++field) p = std::strchr(p + 1, ' ');
        if (p) {
            timespec boot, mono;
            clock_gettime(CLOCK_BOOTTIME, &boot);
            clock_gettime(CLOCK_MONOTONIC, &mono);
            const double bootMs = boot.tv_sec * 1e3 + boot.tv_nsec / 1e6;
            const double monoMs = mono.tv_sec * 1e3 + mono.tv_nsec / 1e6;
            startMs = std::strtod(p + 1, nullptr) * 1e3 / sysconf(_SC_CLK_TCK) - (bootMs - monoMs);
        }
    }
    return startMs;
}

double startMs = 0.0;

bool active() {
    if (!bench.checked) {
        bench.checked = true;
        bench.path = std::getenv("VORTIQ_BENCH");
        bench.enabled = bench.path && *bench.path;
        if (bench.enabled) {
            startMs = processStartMs();
            const char* script = std::getenv("VORTIQ_BENCH_SCRIPT");
            if (script) {
                bench.continueGame = std::strncmp(script, "continue:", 9) == 0;
                bench.timedGame = std::strncmp(script, "timed:", 6) == 0;
                const char* count = std::strchr(script, ':');
                bench.framesWanted = count ? std::atoi(count + 1) : 0;
                if (std::strncmp(script, "still:", 6) == 0) bench.stillScreen = script + 6;
                bench.scripted =
                    std::strncmp(script, "new:", 4) == 0 || bench.continueGame || bench.stillScreen || bench.timedGame;
                bench.frameMs.reserve(bench.framesWanted > 0 ? bench.framesWanted : 0);
            }
            const char* whole = std::getenv("VORTIQ_BENCH_WHOLE_FRAMES");
            if (whole && std::strcmp(whole, "1") == 0) frameCacheUsed = false;
        }
    }
    return bench.enabled;
}

double sinceStart() { return monotonicMs() - startMs; }

// Processor time of every thread of the process (the renderer's too).
double processCpuMs() {
    timespec used;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used);
    return used.tv_sec * 1e3 + used.tv_nsec / 1e6;
}

// A click on layout pixel (x, y), where the window shows it.
void click(int x, int y) {
    const WindowPoint point = ui.fit.layoutWidth > 0 ? drawnAt(ui.fit, x, y) : WindowPoint{x, y};
    for (MessageKind kind : {MessageKind::MouseMove, MessageKind::LeftButtonDown, MessageKind::LeftButtonUp})
        dispatchMessage(mouseMessage(kind, point.x, point.y));
}

// The start-up prompt's two buttons, in the layout on screen.
void answerPrompt() {
    const ScreenGeometry& g = screenGeometry();
    const HitRect& button = bench.continueGame ? g.dialogFirst.hit : g.dialogSecond.hit;
    click(hitCentreX(button), hitCentreY(button));
}

void selectGem(int column, int row) {
    const ScreenGeometry& g = screenGeometry();
    for (int y = 0; y < g.height; y += 2)
        for (int x = 0; x < g.width; x += 2) {
            int32_t c, r;
            cursorCellAt(x, y, &c, &r);
            if (c == column && r == row) {
                click(x + 8, y + 8);
                return;
            }
        }
}

void keepPopup() {
    for (const ScorePopup& popup : scene.scorePopups)
        if (popup.active) return;
    startScorePopup(300, 240, 1230);
}

// Shows the screen of a "still:" script and tells the runner.
void showStillScreen() {
    const char* name = bench.stillScreen;
    if (std::strcmp(name, "options") == 0) {
        ui.screen = Screen::Options;
        ui.optionsButton = ButtonPressed;
    } else if (std::strcmp(name, "highscores") == 0) {
        ui.screen = Screen::HighScores;
    } else if (std::strcmp(name, "confirm") == 0) {
        ui.screen = Screen::ConfirmNewGame;
    } else if (std::strcmp(name, "paused") == 0) {
        ui.paused = 1;
    }
    bench.stillShown = true;
}

// The frame showing the still screen is presented: the runner may measure.
void tellStillShown() {
    bench.stillTold = true;
    if (FILE* out = std::fopen(bench.path, "w")) {
        std::fputs("still\n", out);
        std::fclose(out);
    }
}

void script(double now) {
    if (bench.presented == 1) {
        answerPrompt();
        return;
    }
    if (bench.timedGame && !bench.timedStarted && ui.screen == Screen::Playing) {
        const HitRect& button = screenGeometry().timedMode.hit;
        click(hitCentreX(button), hitCentreY(button));
        bench.timedStarted = true;
        return;
    }
    const bool still = ui.screen == Screen::Playing && boards::fieldFull() && !turn.removing && !turn.swapActive &&
                       game.boardEvent == BoardEvent::None;
    if (bench.stillScreen) {
        bench.settledFrames = still ? bench.settledFrames + 1 : 0;
        if (bench.stillShown && !bench.stillTold) tellStillShown();
        if (!bench.stillShown && bench.settledFrames >= 30) showStillScreen();
        return;
    }
    if (!bench.measuring) {
        bench.settledFrames = still ? bench.settledFrames + 1 : 0;
        if (bench.settledFrames < 30) return;
        if (!bench.timedGame) {
            selectGem(3, 4);
            keepPopup();
        }
        bench.measuring = true;
        bench.lastPresentMs = bench.measureStartMs = now;
        bench.cpuStartMs = processCpuMs();
        return;
    }
    bench.frameMs.push_back(static_cast<float>(now - bench.lastPresentMs));
    bench.lastPresentMs = now;
    if (lastFrameDrawing == WholeFrame) ++bench.wholeFrames;
    if (!bench.timedGame) keepPopup();
    if (static_cast<int>(bench.frameMs.size()) >= bench.framesWanted) {
        bench.cpuMs = processCpuMs() - bench.cpuStartMs;
        postQuitMessage(0);
    }
}

void contextMade() {
    if (!active() || bench.contextMs >= 0.0) return;
    bench.contextMs = sinceStart();
}

void framePresented() {
    if (!active()) return;
    const double now = sinceStart();
    ++bench.presented;
    if (bench.firstFrameMs < 0.0) bench.firstFrameMs = now;
    if (bench.filledFrameMs < 0.0 && ui.screen == Screen::Playing && boards::fieldFull()) bench.filledFrameMs = now;
    if (bench.scripted) script(now);
}

// The loop may rest only once the script has what it waits for.
bool wantsFrames() {
    if (!bench.scripted) return false;
    return !bench.stillScreen || !bench.stillTold;
}

void loopEnded() {
    if (!active()) return;
    FILE* out = std::fopen(bench.path, "w");
    if (!out) {
        std::fprintf(stderr, "vortiq: cannot write the benchmark times to %s\n", bench.path);
        return;
    }
    std::fprintf(out, "context_ms %.3f\nfirst_frame_ms %.3f\nfilled_frame_ms %.3f\n", bench.contextMs,
                 bench.firstFrameMs, bench.filledFrameMs);
    const double span = bench.frameMs.empty() ? 0.0 : bench.lastPresentMs - bench.measureStartMs;
    std::fprintf(out, "measured_frames %zu\nwhole_frames %d\nmeasured_ms %.3f\ncpu_ms %.3f\nframe_ms",
                 bench.frameMs.size(), bench.wholeFrames, span, bench.cpuMs);
    for (float ms : bench.frameMs) std::fprintf(out, " %.3f", ms);
    std::fprintf(out, "\n");
    std::fclose(out);
}

}  // namespace

int main() {
    if (active()) shellWatch = ShellWatch{contextMade, framePresented, wantsFrames, loopEnded};
    return runGame();
}
