// The screen buttons: hit rectangles in both layouts, highlights, clicks.
#include "audio/audio.h"
#include "game/game.h"
#include "persist/persist.h"
#include "shell/shell.h"

namespace {

using Button = ButtonGeometry ScreenGeometry::*;

constexpr const char* HelpPage = "help.htm";

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

void startMode(GameMode mode) {
    game.gameMode = mode;
    settleModeButtons();
    newGame();
    playModeMusic();
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
    if (ui.screen == Screen::Playing && hit(&ScreenGeometry::newGame)) {
        ui.newGameButton = ButtonPressed;
        ui.screen = Screen::ConfirmNewGame;
        menuSound();
    }
    // Until the game-over banner ends the finished game's score waits for its
    // chance at the table: nothing may start a new game before then.
    const bool newGameAllowed = !gameOverRunning();
    if (newGameAllowed && ui.screen == Screen::Playing && hit(&ScreenGeometry::timedMode)) startMode(GameMode::Timed);
    if (newGameAllowed && ui.screen == Screen::Playing && hit(&ScreenGeometry::levelsMode)) startMode(GameMode::Levels);
    if (ui.screen == Screen::Playing && hit(&ScreenGeometry::hint)) useHint();
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
    if (!restoreGame()) {
        game.gameMode = GameMode::Levels;
        settleModeButtons();
        newGame();
    }
    placeKeyCursorAtStart();
}

void dialogClick() {
    // The yes of the new-game question and the high-score screen's button
    // wait for the end of a game-over banner; the banner then goes on to the
    // name entry (or the table) over them.
    const bool newGameAllowed = !gameOverRunning();
    if (newGameAllowed && ui.screen == Screen::ConfirmNewGame && hit(&ScreenGeometry::dialogFirst)) {
        newGame();
        ui.screen = Screen::Playing;
        ui.confirmLit = 0;
        ui.newGameButton = ButtonNormal;
        playModeMusic();
        menuSound();
    }
    if (ui.screen == Screen::ConfirmNewGame && hit(&ScreenGeometry::dialogSecond)) {
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
        shell.quitRequested = 1;
        ui.screen = Screen::Playing;
        ui.confirmLit = 0;
    }
    if (ui.screen == Screen::ConfirmQuit && hit(&ScreenGeometry::dialogSecond)) {
        ui.screen = Screen::Playing;
        ui.cancelLit = 0;
        ui.quitButton = ButtonNormal;
        menuSound();
    }
    if (newGameAllowed && ui.screen == Screen::HighScores && hit(&ScreenGeometry::highScoresBack)) {
        ui.screen = Screen::Playing;
        scoreBook.ended.shown = 0;
        newGame();
        ui.confirmLit = 0;
        menuSound();
    }
}

// The help page opens beside the game, which goes back to the board; a timed
// game waits paused until the player comes back to it.
void openHelpPage() {
    ui.helpLit = 0;
    ui.optionsButton = ButtonNormal;
    ui.screen = Screen::Playing;
    menuSound();
    if (!ui.paused) togglePause();  // the timed mode alone pauses
    if (!openDocument(HelpPage))
        messageBox("The help page (help.htm) could not be opened.\nYour game goes on.", "Vortiq", MessageButtons::Ok,
                   MessageIcon::Information);
}

// Returns false when the full-screen switch replaced the window.
bool optionsClick() {
    if (ui.screen != Screen::Options) return true;
    if (hit(&ScreenGeometry::highScoresRow)) {
        ui.screen = Screen::HighScores;
        scoreBook.ended.shown = 0;
        ui.confirmLit = 0;
        ui.highScoresLit = 0;
        ui.optionsButton = ButtonNormal;
        menuSound();
    }
    if (ui.screen == Screen::Options && hit(&ScreenGeometry::fullScreenRow)) {
        menuSound();
        switchFullScreen();
        return false;
    }
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
    if (ui.screen == Screen::Options && hit(&ScreenGeometry::helpRow)) openHelpPage();
    if (ui.screen == Screen::Options && hit(&ScreenGeometry::optionsBack)) {
        ui.screen = Screen::Playing;
        ui.confirmLit = 0;
        ui.optionsButton = ButtonNormal;
        menuSound();
    }
    return true;
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

bool screenButtonsClick() {
    sidePanelClick();
    dialogClick();
    return optionsClick();
}

bool pressScreenButton(ScreenButton button) {
    pressedByKey = buttonFor(button);
    const bool kept = screenButtonsClick();
    pressedByKey = nullptr;
    return kept;
}

void fullScreenKey() {
    playSample(Sample::Menu);
    switchFullScreen();
}

void switchFullScreen() {
    settings.fullScreen = settings.fullScreen == 0 ? 1 : 0;
    destroyGameWindow();
    ui.fullScreenActive = ui.fullScreenActive ? 0 : 1;
    const ScreenGeometry& g = screenGeometry();
    const bool made = createGameWindow("Vortiq", g.width, g.height, 16, ui.fullScreenActive != 0);
    // The window code has said why; the normal shutdown follows.
    if (!made) shell.quitRequested = 1;
}
