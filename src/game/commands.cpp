// The frame's commands: the mouse, the keys and the controllers, applied in
// order at the start of the frame's step.
//
// Every press goes the mouse's way: a choice on the board is the left click's
// board rules at the cursor's cell, a button is a click inside that button.
// What a key does depends on the screen showing when its command is applied;
// on the name entry the letters type the name, so no letter is a command there.
#include "game/game.h"
#include "game/game_local.h"

namespace {

constexpr int KeyH = 'H', KeyL = 'L', KeyN = 'N', KeyO = 'O', KeyP = 'P', KeyQ = 'Q', KeyT = 'T', KeyY = 'Y';

bool dialogShowing() {
    return ui.screen == Screen::ConfirmNewGame || ui.screen == Screen::ContinuePrompt ||
           ui.screen == Screen::ConfirmQuit;
}

// The first button of whatever screen shows: yes, continue, ok, back.
uint32_t firstButton() {
    if (dialogShowing()) return pressScreenButton(ScreenButton::DialogFirst);
    if (ui.screen == Screen::HighScores) return pressScreenButton(ScreenButton::HighScoresDone);
    if (ui.screen == Screen::Options) return pressScreenButton(ScreenButton::OptionsBack);
    return 0;
}

// The second button where there is one (no, new game); elsewhere back.
uint32_t secondButton() {
    if (dialogShowing()) return pressScreenButton(ScreenButton::DialogSecond);
    if (ui.screen == Screen::HighScores) return pressScreenButton(ScreenButton::HighScoresDone);
    if (ui.screen == Screen::Options) return pressScreenButton(ScreenButton::OptionsBack);
    return 0;
}

// The board's own choices show the key cursor.
void chooseOnBoard() {
    chooseAtKeyCursor();
    ui.keyCursorShown = 1;
}

uint32_t hintOnBoard() {
    if (ui.paused) return 0;  // no hint while the board is hidden
    ui.keyCursorShown = 1;
    return pressScreenButton(ScreenButton::Hint);
}

uint32_t letterOnBoard(int32_t key) {
    switch (key) {
        case KeyH: return hintOnBoard();
        case KeyN: return pressScreenButton(ScreenButton::NewGame);
        case KeyO: return pressScreenButton(ScreenButton::Options);
        case KeyQ: return pressScreenButton(ScreenButton::Quit);
        case KeyL: return pressScreenButton(ScreenButton::LevelsMode);
        case KeyT: return pressScreenButton(ScreenButton::TimedMode);
        case KeyP: togglePause(); return 0;
        default: return 0;
    }
}

uint32_t letter(int32_t key) {
    switch (ui.screen) {
        case Screen::Playing: return letterOnBoard(key);
        case Screen::NameEntry:
            if (key >= 'A' && key <= 'Z') typeNameLetter(key);
            return 0;
        default:
            if (key == KeyY) return firstButton();
            if (key == KeyN) return secondButton();
            return 0;
    }
}

// The mouse at a layout point: the board cell under it on the board screen.
void pointerAt(int32_t x, int32_t y) {
    ui.mouseX = x;
    ui.mouseY = y;
    if (ui.screen == Screen::Playing) cursorCellAt(x, y, &ui.cursorColumn, &ui.cursorRow);
}

void point(int32_t x, int32_t y) {
    // The keyboard's cursor hides once the mouse really moves (the window
    // system also reports the pointer where it already was).
    if (x != ui.mouseX || y != ui.mouseY) ui.keyCursorShown = 0;
    pointerAt(x, y);
    if (ui.screen == Screen::Playing) sidePanelHover();
    boardMouseMoveRules();
    otherScreensHover();
}

// The cell of a click is the one under its own point in the layout in force.
uint32_t press(int32_t x, int32_t y) {
    pointerAt(x, y);
    ui.keyCursorShown = 0;
    keyCursorFollowsClick();
    boardButtonDownRules();
    const uint32_t requests = screenButtonsClick();
    ui.mouseButtonUp = 0;
    return requests;
}

// The arrows choose a row of the tables: up and down within a table, left
// and right to the same place of the other.
void chooseHighScoreRow(int32_t dColumn, int32_t dRow) {
    if (ui.chosenRow == 0) {
        ui.chosenRow = 1;
        return;
    }
    int table = (ui.chosenRow - 1) / HighScoreRows, row = (ui.chosenRow - 1) % HighScoreRows + dRow;
    if (dColumn) table = 1 - table;
    row = row < 0 ? 0 : row >= HighScoreRows ? HighScoreRows - 1 : row;
    ui.chosenRow = table * HighScoreRows + row + 1;
}

void layout(int32_t fullScreen, int32_t refused) {
    ui.fullScreenActive = fullScreen ? 1 : 0;
    if (refused) settings.fullScreen = 0;
}

}  // namespace

bool togglePause() {
    if (!timedModeRunning() || ui.screen != Screen::Playing) return false;
    ui.paused = ui.paused ? 0 : 1;
    return true;
}

void confirmName() {
    if (!finishNameEntry()) return;
    if (stepHooks.enterHighScore) stepHooks.enterHighScore(game.gameMode);
}

uint32_t applyCommand(const Command& command) {
    const bool board = ui.screen == Screen::Playing;
    const bool naming = ui.screen == Screen::NameEntry;
    switch (command.kind) {
        case CommandKind::Point: point(command.x, command.y); return 0;
        case CommandKind::Press: return press(command.x, command.y);
        case CommandKind::Release: ui.mouseButtonUp = 1; return 0;
        case CommandKind::Letter: return letter(command.x);
        case CommandKind::Erase: eraseNameLetter(); return 0;
        case CommandKind::Confirm:
            if (board) chooseOnBoard();
            if (naming) confirmName();
            if (ui.screen == Screen::HighScores && ui.chosenRow) return watchRow(ui.chosenRow);
            return board || naming ? 0 : firstButton();
        case CommandKind::Choose:
            if (board) chooseOnBoard();
            if (naming) confirmName();
            return 0;
        case CommandKind::Back:
            if (board) togglePause();
            return board || naming ? 0 : secondButton();
        case CommandKind::Cancel: return board || naming ? 0 : secondButton();
        case CommandKind::Start:
            if (board) return togglePause() ? 0 : pressScreenButton(ScreenButton::Options);
            if (naming) confirmName();
            // Start leaves the options and the high-score table as their button does.
            return naming || dialogShowing() ? 0 : firstButton();
        case CommandKind::MoveCursor:
            if (ui.screen == Screen::HighScores) chooseHighScoreRow(command.x, command.y);
            if (!board) return 0;
            moveKeyCursor(command.x, command.y);
            ui.keyCursorShown = 1;
            return 0;
        case CommandKind::Hint: return board ? hintOnBoard() : 0;
        case CommandKind::Button:
            if (command.x < 0 || command.x > static_cast<int32_t>(ScreenButton::OptionsBack)) return 0;
            return pressScreenButton(static_cast<ScreenButton>(command.x));
        case CommandKind::FullScreen: return askFullScreen();
        case CommandKind::Layout: layout(command.x, command.y); return 0;
        case CommandKind::None: return 0;
    }
    return 0;
}
