// The rules that the scene drives once per frame: frame timing, the level
// test, the event banner, the score popups, the score counter and the bar.
#include <cmath>

#include "audio/audio.h"
#include "game/game.h"
#include "game/game_local.h"

namespace {

// The measurement's unit: 100 ms, in microseconds of the frame clock.
constexpr double TicksPerUnit = 100000.0;

}  // namespace

void measureFrameTime(int64_t ticks) {
    if (scene.measureCount > 0) {
        const int64_t frame = ticks - scene.lastFrameTime;
        if (frame > LongestFrameTicks) scene.measureStart += frame - LongestFrameTicks;
    }
    scene.lastFrameTime = ticks;
    if (scene.measureCount == 0) {
        scene.measureStart = ticks;
    } else if (scene.measureCount == 10) {
        scene.measureEnd = ticks;
        const int64_t span = scene.measureEnd - scene.measureStart;
        scene.frameSpan = static_cast<float>(static_cast<double>(span < 0 ? -span : span) / TicksPerUnit);
        scene.speedFactor = scene.frameSpan * 1.05f;
        scene.measureCount = -1;
    }
    scene.measureCount += 1;
}

void restartFrameMeasurement() { scene.measureCount = 0; }

void levelCompleteTest() {
    if (game.score >= game.levelTarget && game.boardEvent == BoardEvent::None && ui.screen == Screen::Playing &&
        levelsModeRunning()) {
        game.boardEvent = BoardEvent::LevelComplete;
        playSample(Sample::LevelUp);
    }
}

float barValueNow() {
    float value;
    if (levelsModeRunning()) {
        // A level spans a multiple of 100 points; a span under 100 (bounds
        // from a damaged saved game) shows an empty bar instead of dividing by 0.
        const int64_t step = (static_cast<int64_t>(game.levelTarget) - game.levelBase) / 100;
        value = step != 0 ? static_cast<float>((static_cast<int64_t>(game.score) - game.levelBase) / step) : 0.0f;
    } else {
        value = game.timeLeft;
    }
    return value > 100.0f ? 100.0f : value;
}

void updateBarRules() {
    if (timedModeRunning() && ui.screen == Screen::Playing && game.boardEvent != BoardEvent::LevelComplete)
        game.timeLeft -= (ui.paused ? 0.0f : 1.0f) * 0.001f * static_cast<float>(static_cast<int64_t>(game.level) + 1) * scene.speedFactor;

    float barValue = barValueNow();

    if (barValue < 0.0f && timedModeRunning() && !game.gameOverDrain && ui.screen != Screen::HighScores &&
        ui.screen != Screen::NameEntry) {
        game.gameOverDrain = 1;
        game.boardEvent = BoardEvent::NoMoves;
        playSample(Sample::GameOver);
    }
    if (barValue < 0.0f) barValue = 0.0f;

    if (barValue > 99.9f && game.boardEvent == BoardEvent::None && ui.screen == Screen::Playing) {
        game.boardEvent = BoardEvent::LevelComplete;
        playSample(Sample::LevelUp);
    }

    const float goal = barValue * BarLengthPerPercent;
    if (game.barLength < goal) game.barLength += 0.5f * scene.speedFactor;
    if (game.barLength > goal) game.barLength -= 0.5f * scene.speedFactor;
}

bool barWarns() { return timedModeRunning() && game.barLength < 20.0f * BarLengthPerPercent; }

void advanceBanner() {
    if (scene.bannerProgress < 1.0f) {
        scene.bannerProgress += 0.003f * scene.speedFactor;
    } else {
        scene.bannerProgress = 0.0f;
        if (game.boardEvent == BoardEvent::LevelComplete && !game.gameOverDrain) {
            if (game.level < INT32_MAX) game.level += 1;
            game.boardEvent = BoardEvent::None;
            game.lastPassPoints = 0;
            startLevel();
        }
        if (game.boardEvent == BoardEvent::NoMoves || game.gameOverDrain) {
            game.boardEvent = BoardEvent::None;
            game.gameOverDrain = 0;
            game.gameOverPending = 0;
            noteEndedGame();
            if (madeHighScore()) {
                ui.screen = Screen::NameEntry;
                game.finished = 1;
            } else {
                newGame();
                ui.screen = Screen::HighScores;
            }
        }
        if (game.boardEvent == BoardEvent::Excellent) game.boardEvent = BoardEvent::None;
    }
    scene.bannerAlpha = std::sin(scene.bannerProgress * 3.14f);
}

Picture bannerPicture() {
    Picture picture = Picture::None;
    if (game.boardEvent == BoardEvent::LevelComplete && !game.gameOverDrain) picture = Picture::LevelCompleteBanner;
    if (game.boardEvent == BoardEvent::NoMoves || game.gameOverDrain) picture = Picture::GameOverBanner;
    if (game.boardEvent == BoardEvent::Excellent) picture = Picture::ExcellentBanner;
    if (game.gameOverPending) picture = Picture::NoMoreMovesBanner;
    return picture;
}

bool startScorePopup(int x, int y, int points) {
    for (ScorePopup& popup : scene.scorePopups) {
        if (popup.active) continue;
        popup.active = 1;
        popup.x = x;
        popup.y = y;
        popup.points = points;
        return true;
    }
    return false;
}

bool advanceScorePopup(int index) {
    if (index < 0 || index >= ScorePopupCount) return false;
    ScorePopup& popup = scene.scorePopups[index];
    if (!popup.active) return false;
    if (popup.progress >= 1.0f) {
        popup.active = 0;
        popup.progress = 0.0f;
        popup.points = 0;
        return false;
    }
    popup.progress += 0.005f * scene.speedFactor;
    return true;
}

void chaseScore() {
    if (ui.screen != Screen::Playing) return;
    const float score = static_cast<float>(game.score);
    if (score < scene.shownScore) scene.shownScore -= 0.7f * scene.speedFactor;
    if (score > scene.shownScore) scene.shownScore += 0.7f * scene.speedFactor;
}

bool addCommand(FrameInput& input, CommandKind kind, int32_t x, int32_t y) {
    if (input.count < 0 || input.count >= MostFrameCommands) return false;
    input.commands[input.count++] = Command{kind, x, y};
    return true;
}

uint32_t stepFrame(const FrameInput& input) {
    uint32_t requests = 0;
    const int count = input.count < MostFrameCommands ? input.count : MostFrameCommands;
    for (int i = 0; i < count; ++i) requests |= applyCommand(input.commands[i]);
    if (input.clockRestarted) restartFrameMeasurement();
    measureFrameTime(input.ticks);
    updateLevelBounds();
    levelCompleteTest();
    stepBoard();
    // The dialog is drawn as the screen stands before a banner that ends
    // changes it; the banner as its event stands after its step.
    frameView.dialog = ui.screen;
    frameView.bannerShown = game.boardEvent != BoardEvent::None;
    frameView.banner = Picture::None;
    if (frameView.bannerShown) {
        advanceBanner();
        frameView.banner = bannerPicture();
    }
    chaseScore();
    for (int i = 0; i < ScorePopupCount; ++i) advanceScorePopup(i);
    updateBarRules();
    // A readout that swings about its goal while all else is still is put on
    // it now, so that the frame drawn next shows what a rest would keep.
    settleReadouts();
    if (ui.screen != Screen::HighScores) ui.chosenRow = 0;
    return requests;
}
