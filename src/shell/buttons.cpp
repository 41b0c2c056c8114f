// The screen buttons: hit rectangles in both layouts, highlights, clicks.
#include "audio/audio.h"
#include "game/game.h"
#include "persist/persist.h"
#include "shell/shell.h"

namespace {

struct ButtonLayout {
    // side panel
    HitRect newGame, timedMode, levelsMode, hint, options, quit;
    // dialogs: the first and second button
    HitRect dialogFirst, dialogSecond;
    // the high-score screen's button
    HitRect highScoresDone;
    // options rows
    HitRect highScores, fullScreen, music, sound, help, back;
};

const ButtonLayout windowedLayout = {
    {45, 165, 60, 100},   {50, 155, 145, 175},  {50, 155, 110, 140},  {85, 165, 220, 325},
    {45, 165, 380, 420},  {45, 165, 420, 460},  {287, 410, 195, 225}, {417, 540, 195, 225},
    {340, 470, 390, 420}, {286, 545, 60, 95},   {286, 545, 97, 130},  {286, 545, 132, 165},
    {286, 545, 167, 200}, {286, 545, 202, 235}, {350, 478, 282, 315},
};

const ButtonLayout fullScreenLayout = {
    {65, 200, 75, 125},   {65, 195, 180, 220},  {65, 195, 135, 175},  {107, 207, 275, 406},
    {60, 200, 475, 525},  {60, 200, 530, 580},  {287, 410, 310, 345}, {417, 540, 310, 345},
    {380, 510, 485, 515}, {286, 545, 180, 216}, {286, 545, 217, 249}, {286, 545, 252, 284},
    {286, 545, 287, 319}, {286, 545, 322, 354}, {350, 478, 402, 435},
};

const ButtonLayout& layout() { return ui.fullScreenActive ? fullScreenLayout : windowedLayout; }

bool hit(HitRect ButtonLayout::*button) { return insideRect(layout().*button, ui.mouseX, ui.mouseY); }

int32_t lit(HitRect ButtonLayout::*button) { return hit(button) ? 1 : 0; }

void menuSound() { playSample(Sample::Menu); }

void startMode(GameMode mode) {
    ui.modeAButton = mode == GameMode::Levels ? ButtonPressed : ButtonNormal;
    ui.modeBButton = mode == GameMode::Timed ? ButtonPressed : ButtonNormal;
    game.gameMode = mode;
    newGame();
    playModeMusic();
    menuSound();
}

// The running mode's button keeps its pressed look; the other lights under the mouse.
int32_t modeButtonLook(int32_t current, HitRect ButtonLayout::*button, GameMode mode) {
    if (current != ButtonPressed && hit(button)) return ButtonHighlighted;
    return game.gameMode == mode ? ButtonPressed : ButtonNormal;
}

void sidePanelClick() {
    if (ui.screen == Screen::Playing && hit(&ButtonLayout::newGame)) {
        ui.newGameButton = ButtonPressed;
        ui.screen = Screen::ConfirmNewGame;
        menuSound();
    }
    if (ui.screen == Screen::Playing && hit(&ButtonLayout::timedMode)) startMode(GameMode::Timed);
    if (ui.screen == Screen::Playing && hit(&ButtonLayout::levelsMode)) startMode(GameMode::Levels);
    if (ui.screen == Screen::Playing && hit(&ButtonLayout::hint)) useHint();
    if (ui.screen == Screen::Playing && hit(&ButtonLayout::options)) {
        ui.optionsButton = ButtonPressed;
        ui.screen = Screen::Options;
        menuSound();
    }
    if (ui.screen == Screen::Playing && hit(&ButtonLayout::quit)) {
        ui.quitButton = ButtonPressed;
        ui.screen = Screen::ConfirmQuit;
        menuSound();
    }
}

void continueSavedGame() {
    // Without a readable saved game there is nothing to continue: a new game
    // of the levels mode starts instead.
    if (!restoreGame()) {
        ui.modeAButton = ButtonPressed;
        ui.modeBButton = ButtonNormal;
        game.gameMode = GameMode::Levels;
        newGame();
    }
}

void dialogClick() {
    if (ui.screen == Screen::ConfirmNewGame && hit(&ButtonLayout::dialogFirst)) {
        newGame();
        ui.screen = Screen::Playing;
        ui.confirmLit = 0;
        ui.newGameButton = ButtonNormal;
        playModeMusic();
        menuSound();
    }
    if (ui.screen == Screen::ConfirmNewGame && hit(&ButtonLayout::dialogSecond)) {
        ui.screen = Screen::Playing;
        ui.cancelLit = 0;
        ui.newGameButton = ButtonNormal;
        menuSound();
    }
    if (ui.screen == Screen::ContinuePrompt && hit(&ButtonLayout::dialogFirst)) {
        ui.screen = Screen::Playing;
        ui.confirmLit = 0;
        ui.newGameButton = ButtonNormal;
        continueSavedGame();
        playModeMusic();
        menuSound();
    }
    if (ui.screen == Screen::ContinuePrompt && hit(&ButtonLayout::dialogSecond)) {
        ui.screen = Screen::Playing;
        ui.cancelLit = 0;
        ui.newGameButton = ButtonNormal;
        newGame();
        playModeMusic();
        menuSound();
    }
    if (ui.screen == Screen::ConfirmQuit && hit(&ButtonLayout::dialogFirst)) {
        shell.quitRequested = 1;
        ui.screen = Screen::Playing;
        ui.confirmLit = 0;
    }
    if (ui.screen == Screen::ConfirmQuit && hit(&ButtonLayout::dialogSecond)) {
        ui.screen = Screen::Playing;
        ui.cancelLit = 0;
        ui.quitButton = ButtonNormal;
        menuSound();
    }
    if (ui.screen == Screen::HighScores && hit(&ButtonLayout::highScoresDone)) {
        ui.screen = Screen::Playing;
        newGame();
        ui.confirmLit = 0;
        menuSound();
    }
}

// Returns false when the full-screen switch replaced the window.
bool optionsClick() {
    if (ui.screen != Screen::Options) return true;
    if (hit(&ButtonLayout::highScores)) {
        ui.screen = Screen::HighScores;
        ui.confirmLit = 0;
        ui.highScoresLit = 0;
        if (!ui.fullScreenActive) ui.optionsButton = ButtonNormal;
        menuSound();
    }
    if (ui.screen == Screen::Options && hit(&ButtonLayout::fullScreen)) {
        menuSound();
        switchFullScreen();
        return false;
    }
    if (ui.screen == Screen::Options && hit(&ButtonLayout::music)) {
        if (settings.musicOn != 0) {
            settings.musicOn = 0;
            stopMusic();
        } else {
            settings.musicOn = 1;
            playModeMusic();
        }
        menuSound();
    }
    if (ui.screen == Screen::Options && hit(&ButtonLayout::sound)) {
        settings.soundOn = settings.soundOn == 0 ? 1 : 0;
        menuSound();
    }
    if (ui.screen == Screen::Options && hit(&ButtonLayout::help)) {
        ui.helpLit = 0;
        ui.optionsButton = ButtonNormal;
        shell.quitRequested = 1;
        openDocument("help.htm");
    }
    if (ui.screen == Screen::Options && hit(&ButtonLayout::back)) {
        ui.screen = Screen::Playing;
        ui.confirmLit = 0;
        if (!ui.fullScreenActive) ui.optionsButton = ButtonNormal;
        menuSound();
    }
    return true;
}

}  // namespace

void sidePanelHover() {
    ui.newGameButton = lit(&ButtonLayout::newGame);
    ui.optionsButton = lit(&ButtonLayout::options);
    ui.quitButton = lit(&ButtonLayout::quit);
    ui.hintLit = lit(&ButtonLayout::hint);
    ui.modeBButton = modeButtonLook(ui.modeBButton, &ButtonLayout::timedMode, GameMode::Timed);
    ui.modeAButton = modeButtonLook(ui.modeAButton, &ButtonLayout::levelsMode, GameMode::Levels);
}

void otherScreensHover() {
    switch (ui.screen) {
        case Screen::ConfirmNewGame:
        case Screen::ContinuePrompt:
        case Screen::ConfirmQuit:
            ui.confirmLit = lit(&ButtonLayout::dialogFirst);
            ui.cancelLit = lit(&ButtonLayout::dialogSecond);
            break;
        case Screen::HighScores:
            ui.confirmLit = lit(&ButtonLayout::highScoresDone);
            break;
        case Screen::Options:
            ui.highScoresLit = lit(&ButtonLayout::highScores);
            ui.helpLit = lit(&ButtonLayout::help);
            ui.confirmLit = lit(&ButtonLayout::back);
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

void switchFullScreen() {
    settings.fullScreen = settings.fullScreen == 0 ? 1 : 0;
    destroyGameWindow();
    ui.fullScreenActive = ui.fullScreenActive ? 0 : 1;
    const bool made = ui.fullScreenActive ? createGameWindow("Vortiq", 800, 600, 16, true)
                                          : createGameWindow("Vortiq", 640, 480, 16, false);
    // The window code has said why; the normal shutdown follows.
    if (!made) shell.quitRequested = 1;
}
