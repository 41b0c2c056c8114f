// Whether the next frame would look exactly like the last one: nothing the
// rules move is moving. The loop then waits for input instead of drawing.
#include <cmath>
#include <cstring>

#include "game/game.h"
#include "game/game_local.h"

namespace {

// A line of three anywhere on the field: the next fall step would take it.
bool lineOnField() {
    for (int r = FirstFieldRow; r <= LastFieldRow; ++r)
        for (int c = 0; c < BoardColumns; ++c)
            if (inLine(Cell{c, r})) return true;
    return false;
}

bool fallClockRuns() {
    return ui.screen != Screen::ContinuePrompt && ui.screen != Screen::HighScores && ui.screen != Screen::NameEntry;
}

// Everything but the two readouts (the score counter and the bar) is still.
bool stillButReadouts() {
    // Until the first frame-time measurement nothing moves at all: frames
    // must come to measure it, or whatever starts later would stand still.
    if (scene.speedFactor <= 0.0f) return false;
    // The last frame showed what its step left; a step that ended with a
    // change (a banner that ended on the name entry) has one more to show.
    if (frameView.dialog != ui.screen || frameView.bannerShown || frameView.gemsShown != (gemsShown() ? 1 : 0) ||
        frameView.backgroundKind != game.backgroundKind ||
        std::memcmp(frameView.board, game.board, sizeof game.board) != 0)
        return false;
    if (turn.swapActive || turn.removing) return false;
    if (game.boardEvent != BoardEvent::None || game.gameOverDrain || game.gameOverPending || game.timedDrain)
        return false;
    for (const ScorePopup& popup : scene.scorePopups)
        if (popup.active) return false;
    if (gemsShown() && (turn.spinning || turn.prevSpinning)) return false;
    // A full board with no line lets the fall clock run on without moving a gem.
    if (fallClockRuns() && (!boardFull() || lineOnField())) return false;
    if (ui.screen != Screen::Playing) return true;
    // On the board screen: the tests that end a level or a game, and the time.
    if (!moveExists()) return false;
    if (levelsModeRunning() && game.score >= game.levelTarget) return false;
    if (timedModeRunning() && !ui.paused) return false;
    const float value = barValueNow();
    return value <= 99.9f && !(value < 0.0f && timedModeRunning());
}

bool counterChases() { return ui.screen == Screen::Playing; }

// The bar is drawn as at its goal, to the pixel: a length a fraction of a
// pixel away asks for no frame.
bool barShowsGoal() {
    const int width = ui.fit.pictureWidth > 0 ? ui.fit.pictureWidth : screenGeometry().width;
    return barPixelsShown(barLengthShown(), width) == barPixelsShown(barGoal(), width);
}

}  // namespace

bool sceneAtRest() {
    if (!stillButReadouts()) return false;
    if (counterChases() && scene.shownScore != static_cast<float>(game.score)) return false;
    return barShowsGoal();
}

float barLengthShown() {
    const float goal = barGoal();
    return std::fabs(game.barLength - goal) <= 0.5f * scene.speedFactor ? goal : game.barLength;
}

void settleReadouts() {
    if (!stillButReadouts()) return;
    // Each readout steps towards its goal and, once within a step, swings
    // about it; a rest stops the swing on the goal itself.
    const float score = static_cast<float>(game.score);
    if (counterChases() && std::fabs(scene.shownScore - score) <= 0.7f * scene.speedFactor) scene.shownScore = score;
    const float goal = barGoal();
    if (std::fabs(game.barLength - goal) <= 0.5f * scene.speedFactor) game.barLength = goal;
}
