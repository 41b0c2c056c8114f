// A newcomer's screens: where the high scores lead back to, the mode buttons'
// question, no hint while paused, the pause plate, the help page, and the
// first start. Each row: a screen and game, one frame's commands, what the
// frame asks of the shell, and the screen and game it leaves.
#include <gtest/gtest.h>

#include <vector>

#include "driver.h"

namespace {

Command click(ButtonGeometry ScreenGeometry::*button) {
    const HitRect& r = (layoutGeometry(Layout::Windowed).*button).hit;
    return Command{CommandKind::Press, hitCentreX(r), hitCentreY(r)};
}
Command key(CommandKind kind, int32_t x = 0) { return Command{kind, x, 0}; }
Command onPausePlate() {
    const ScreenGeometry& g = layoutGeometry(Layout::Windowed);
    const Placement& at = g.pausePicture;
    return Command{CommandKind::Press, at.x + at.w / 2, g.height - at.y - at.h / 2};
}

// A levels game under way: a move made, 510 points.
void underWay() {
    game.playerMoved = 1;
    game.score = 510;
}
void pausedTimed() {
    drive::newGameOf(GameMode::Timed);
    drive::setQuietField();
    drive::addSpareMove();
    game.timeLeft = 40.0f;
    ui.paused = 1;
}
void endedGame() {
    underWay();
    noteEndedGame();
    ui.screen = Screen::HighScores;
}

bool on(Screen screen, GameMode mode, int32_t score) {
    return ui.screen == screen && game.gameMode == mode && game.score == score;
}
bool freshGame(GameMode mode) { return on(Screen::Playing, mode, 0) && !game.playerMoved && game.level == 0; }
bool stillPaused() { return on(Screen::Playing, GameMode::Timed, 0) && ui.paused && game.timeLeft == 40.0f; }

const drive::FrameRow rows[] = {
    {"BACK on the high scores opened from the options returns to the game", underWay,
     {click(&ScreenGeometry::options), click(&ScreenGeometry::highScoresRow), click(&ScreenGeometry::highScoresBack)},
     0, [] { return on(Screen::Playing, GameMode::Levels, 510); }},
    {"Escape there does the same", underWay,
     {key(CommandKind::Letter, 'O'), click(&ScreenGeometry::highScoresRow), key(CommandKind::Back)}, 0,
     [] { return on(Screen::Playing, GameMode::Levels, 510); }},
    {"BACK on the high scores after a game's end starts a new game", endedGame,
     {click(&ScreenGeometry::highScoresBack)}, 0, [] { return freshGame(GameMode::Levels); }},
    {"LEVELS in a game under way asks first", underWay, {click(&ScreenGeometry::levelsMode)}, 0,
     [] { return on(Screen::ConfirmNewGame, GameMode::Levels, 510); }},
    {"T in a game under way asks, and Yes starts the timed mode", underWay,
     {key(CommandKind::Letter, 'T'), click(&ScreenGeometry::dialogFirst)}, 0,
     [] { return freshGame(GameMode::Timed); }},
    {"TIMED asked, No: the game goes on", underWay,
     {click(&ScreenGeometry::timedMode), click(&ScreenGeometry::dialogSecond)}, 0,
     [] { return on(Screen::Playing, GameMode::Levels, 510); }},
    {"NEW GAME after a mode was asked and refused starts the running mode", underWay,
     {key(CommandKind::Letter, 'T'), key(CommandKind::Back), key(CommandKind::Letter, 'N'), key(CommandKind::Confirm)},
     0, [] { return freshGame(GameMode::Levels); }},
    {"TIMED before the first move starts at once", [] {}, {click(&ScreenGeometry::timedMode)}, 0,
     [] { return freshGame(GameMode::Timed); }},
    {"no hint by its picture while paused", pausedTimed, {click(&ScreenGeometry::hint)}, 0, stillPaused},
    {"no hint by H while paused", pausedTimed, {key(CommandKind::Letter, 'H')}, 0,
     [] { return stillPaused() && !turn.firstSelected && !ui.keyCursorShown; }},
    {"a click on the pause plate goes on", pausedTimed, {onPausePlate()}, 0,
     [] { return on(Screen::Playing, GameMode::Timed, 0) && !ui.paused; }},
    {"HELP: its page beside the game, back on the board, the timed game paused",
     [] { pausedTimed(), ui.paused = 0, ui.screen = Screen::Options; }, {click(&ScreenGeometry::helpRow)},
     RequestHelp, stillPaused},
    {"the first start without a game to continue plays the last mode at once",
     [] { resetGameState(), startFirstGame(false, GameMode::Timed); }, {}, 0,
     [] { return freshGame(GameMode::Timed) && ui.modeBButton == ButtonPressed; }},
    {"the first start with one asks", [] { resetGameState(), startFirstGame(true, GameMode::Timed); }, {}, 0,
     [] { return ui.screen == Screen::ContinuePrompt; }},
};

}  // namespace

TEST(ScreenFlow, EachRowsFrameLeavesTheScreenAndGameItExpects) { drive::expectFrameRows(std::begin(rows), std::end(rows)); }
