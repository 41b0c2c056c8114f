// The screen buttons: hit rectangles in both layouts, highlights, clicks.
#include "audio/audio.h"
#include "game/game.h"
#include "game/game_local.h"

namespace {

using Button = ButtonGeometry ScreenGeometry::*;

// A button pressed with a key or a controller hits alone, wherever the mouse is.
Button pressedByKey = nullptr;

bool hit(Button button) {
    if (pressedByKey) return pressedByKey == button;
    return insideRect((screenGeometry().*button).hit, ui.mouseX, ui.mouseY);
}

Button buttonFor(ScreenButton button) {
    switch (button) {
        case ScreenButton::NewGame: return &ScreenGeometry::newGame;
        case ScreenButton::TimedMode: return &ScreenGeometry::timedMode;
        case ScreenButton::LevelsMode: return &ScreenGeometry::levelsMode;
        case ScreenButton::Hint: return &ScreenGeometry::hint;
        case ScreenButton::Options: return &ScreenGeometry::options;
        case ScreenButton::Quit: return &ScreenGeometry::quit;
        case ScreenButton::DialogFirst: return &ScreenGeometry::dialogFirst;
        case ScreenButton::DialogSecond: return &ScreenGeometry::dialogSecond;
        case ScreenButton::HighScoresDone: return &ScreenGeometry::highScoresBack;
        case ScreenButton::OptionsBack: return &ScreenGeometry::optionsBack;
    }
    return nullptr;
}

int32_t lit(Button button) { return hit(button) ? 1 : 0; }

void menuSound() { playSample(Sample::Menu); }

void retrySound() {
    if (stepHooks.retrySound) stepHooks.retrySound();
}

void startMode(GameMode mode) {
    game.gameMode = mode;
    settleModeButtons();
    newGame();
    playModeMusic();
    menuSound();
}

// A mode button starts its mode at once while nothing would be lost; in a
// game under way it asks first, as NEW GAME does, and Yes starts that mode.
void chooseMode(GameMode mode) {
    if (!gameUnderWay()) {
        startMode(mode);
        return;
    }
    ui.modeAsked = 1;
    ui.askedMode = mode;
    ui.screen = Screen::ConfirmNewGame;
    menuSound();
}

// The running mode's button keeps its pressed look; the other lights under the mouse.
int32_t modeButtonLook(int32_t current, Button button, GameMode mode) {
    if (current != ButtonPressed && hit(button)) return ButtonHighlighted;
    return game.gameMode == mode ? ButtonPressed : ButtonNormal;
}

// A click on the pause picture goes on with the game.
bool onPausePicture() {
    if (pressedByKey) return false;
    const ScreenGeometry& g = screenGeometry();
    const Placement& at = g.pausePicture;
    const HitRect picture = {at.x, at.x + at.w, g.height - at.y - at.h, g.height - at.y};
    return insideRect(picture, ui.mouseX, ui.mouseY);
}

void sidePanelClick() {
    if (ui.screen == Screen::Playing && ui.paused && onPausePicture()) togglePause();
    // Until the game-over banner ends the finished game's score waits for its
    // chance at the table: nothing may start a new game before then, and the
    // new-game button does not even ask.
    const bool newGameAllowed = !gameOverRunning();
    if (newGameAllowed && ui.screen == Screen::Playing && hit(&ScreenGeometry::newGame)) {
        ui.newGameButton = ButtonPressed;
        ui.modeAsked = 0;
        ui.screen = Screen::ConfirmNewGame;
        menuSound();
    }
    if (newGameAllowed && ui.screen == Screen::Playing && hit(&ScreenGeometry::timedMode)) chooseMode(GameMode::Timed);
    if (newGameAllowed && ui.screen == Screen::Playing && hit(&ScreenGeometry::levelsMode)) chooseMode(GameMode::Levels);
    // A paused game shows no board to hint at, and its time stands still.
    if (ui.screen == Screen::Playing && !ui.paused && hit(&ScreenGeometry::hint)) useHint();
    if (ui.screen == Screen::Playing && hit(&ScreenGeometry::options)) {
        ui.optionsButton = ButtonPressed;
        ui.screen = Screen::Options;
        menuSound();
    }
    if (ui.screen == Screen::Playing && hit(&ScreenGeometry::quit)) {
        ui.quitButton = ButtonPressed;
        ui.screen = Screen::ConfirmQuit;
        menuSound();
    }
}

void continueSavedGame() {
    // Without a readable saved game there is nothing to continue: a new game
    // of the levels mode starts instead.
    if (stepHooks.restoreGame && stepHooks.restoreGame()) {
        ++game.gamesBegun;
    } else {
        game.gameMode = GameMode::Levels;
        settleModeButtons();
        newGame();
    }
    placeKeyCursorAtStart();
}

uint32_t dialogClick() {
    uint32_t requests = 0;
    // The yes of the new-game question and the high-score screen's button
    // wait for the end of a game-over banner; the banner then goes on to the
    // name entry (or the table) over them.
    const bool newGameAllowed = !gameOverRunning();
    if (newGameAllowed && ui.screen == Screen::ConfirmNewGame && hit(&ScreenGeometry::dialogFirst)) {
        if (ui.modeAsked) {
            game.gameMode = ui.askedMode;
            settleModeButtons();
        }
        ui.modeAsked = 0;
        newGame();
        ui.screen = Screen::Playing;
        ui.confirmLit = 0;
        ui.newGameButton = ButtonNormal;
        playModeMusic();
        menuSound();
    }
    if (ui.screen == Screen::ConfirmNewGame && hit(&ScreenGeometry::dialogSecond)) {
        ui.modeAsked = 0;
        ui.screen = Screen::Playing;
        ui.cancelLit = 0;
        ui.newGameButton = ButtonNormal;
        menuSound();
    }
    if (ui.screen == Screen::ContinuePrompt && hit(&ScreenGeometry::dialogFirst)) {
        ui.screen = Screen::Playing;
        ui.confirmLit = 0;
        ui.newGameButton = ButtonNormal;
        continueSavedGame();
        playModeMusic();
        menuSound();
    }
    if (ui.screen == Screen::ContinuePrompt && hit(&ScreenGeometry::dialogSecond)) {
        ui.screen = Screen::Playing;
        ui.cancelLit = 0;
        ui.newGameButton = ButtonNormal;
        newGame();
        playModeMusic();
        menuSound();
    }
    if (ui.screen == Screen::ConfirmQuit && hit(&ScreenGeometry::dialogFirst)) {
        requests |= RequestQuit;
        ui.screen = Screen::Playing;
        ui.confirmLit = 0;
    }
    if (ui.screen == Screen::ConfirmQuit && hit(&ScreenGeometry::dialogSecond)) {
        ui.screen = Screen::Playing;
        ui.cancelLit = 0;
        ui.quitButton = ButtonNormal;
        menuSound();
    }
    const int row = pressedByKey ? 0 : highScoreRowAt(screenGeometry(), ui.mouseX, ui.mouseY);
    if (ui.screen == Screen::HighScores && row) requests |= watchRow(row);
    // After a game's end the tables lead to a new game; opened from the
    // options they lead back to the game that runs.
    const bool afterGame = scoreBook.ended.shown != 0;
    if ((newGameAllowed || !afterGame) && ui.screen == Screen::HighScores && hit(&ScreenGeometry::highScoresBack)) {
        ui.screen = Screen::Playing;
        scoreBook.ended.shown = 0;
        if (afterGame) newGame();
        ui.confirmLit = 0;
        menuSound();
    }
    return requests;
}

// The help page opens beside the game, which goes back to the board; a timed
// game waits paused until the player comes back to it. The shell opens it.
uint32_t openHelpPage() {
    ui.helpLit = 0;
    ui.optionsButton = ButtonNormal;
    ui.screen = Screen::Playing;
    menuSound();
    if (!ui.paused) togglePause();  // the timed mode alone pauses
    return RequestHelp;
}

uint32_t optionsClick() {
    if (ui.screen != Screen::Options) return 0;
    if (hit(&ScreenGeometry::highScoresRow)) {
        ui.screen = Screen::HighScores;
        scoreBook.ended.shown = 0;
        ui.confirmLit = 0;
        ui.highScoresLit = 0;
        ui.optionsButton = ButtonNormal;
        menuSound();
    }
    // The window is made again at the top of the loop's next pass.
    if (ui.screen == Screen::Options && hit(&ScreenGeometry::fullScreenRow)) return askFullScreen();
    if (ui.screen == Screen::Options && hit(&ScreenGeometry::musicRow)) {
        if (settings.musicOn != 0) {
            settings.musicOn = 0;
            stopMusic();
        } else {
            settings.musicOn = 1;
            retrySound();
            playModeMusic();
        }
        menuSound();
    }
    if (ui.screen == Screen::Options && hit(&ScreenGeometry::soundRow)) {
        settings.soundOn = settings.soundOn == 0 ? 1 : 0;
        if (settings.soundOn == 1) retrySound();
        menuSound();
    }
    if (ui.screen == Screen::Options && hit(&ScreenGeometry::helpRow)) return openHelpPage();
    if (ui.screen == Screen::Options && hit(&ScreenGeometry::optionsBack)) {
        ui.screen = Screen::Playing;
        ui.confirmLit = 0;
        ui.optionsButton = ButtonNormal;
        menuSound();
    }
    return 0;
}

}  // namespace

void sidePanelHover() {
    ui.newGameButton = lit(&ScreenGeometry::newGame);
    ui.optionsButton = lit(&ScreenGeometry::options);
    ui.quitButton = lit(&ScreenGeometry::quit);
    ui.hintLit = lit(&ScreenGeometry::hint);
    ui.modeBButton = modeButtonLook(ui.modeBButton, &ScreenGeometry::timedMode, GameMode::Timed);
    ui.modeAButton = modeButtonLook(ui.modeAButton, &ScreenGeometry::levelsMode, GameMode::Levels);
}

void otherScreensHover() {
    switch (ui.screen) {
        case Screen::ConfirmNewGame:
        case Screen::ContinuePrompt:
        case Screen::ConfirmQuit:
            ui.confirmLit = lit(&ScreenGeometry::dialogFirst);
            ui.cancelLit = lit(&ScreenGeometry::dialogSecond);
            break;
        case Screen::HighScores:
            ui.confirmLit = lit(&ScreenGeometry::highScoresBack);
            break;
        case Screen::Options:
            ui.highScoresLit = lit(&ScreenGeometry::highScoresRow);
            ui.helpLit = lit(&ScreenGeometry::helpRow);
            ui.confirmLit = lit(&ScreenGeometry::optionsBack);
            break;
        default:
            break;
    }
}

uint32_t screenButtonsClick() {
    sidePanelClick();
    const uint32_t requests = dialogClick();
    return requests | optionsClick();
}

uint32_t pressScreenButton(ScreenButton button) {
    pressedByKey = buttonFor(button);
    const uint32_t requests = screenButtonsClick();
    pressedByKey = nullptr;
    return requests;
}

uint32_t watchRow(int32_t row) {
    ui.watchedRow = row;
    playSample(Sample::Menu);
    return RequestWatch;
}

void startFirstGame(bool savedGameWaits, GameMode lastMode) {
    if (savedGameWaits) {
        ui.screen = Screen::ContinuePrompt;
        return;
    }
    ui.screen = Screen::Playing;
    game.gameMode = lastMode == GameMode::Timed ? GameMode::Timed : GameMode::Levels;
    settleModeButtons();
    newGame();
    playModeMusic();
}

uint32_t askFullScreen() {
    playSample(Sample::Menu);
    settings.fullScreen = settings.fullScreen == 0 ? 1 : 0;
    return RequestFullScreen;
}
