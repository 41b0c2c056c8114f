// Keys and game controllers: the board's cursor, the dialogs, the side panel.
//
// Every press goes the mouse's way: a choice on the board is the left click's
// board rules at the cursor's cell, a button is a click inside that button.
// On the name entry the letters type the name, so no letter is a command there.
#include "game/game.h"
#include "shell/shell.h"

namespace {

constexpr int KeyH = 'H', KeyL = 'L', KeyN = 'N', KeyO = 'O', KeyQ = 'Q', KeyT = 'T', KeyY = 'Y';

bool dialogShowing() {
    return ui.screen == Screen::ConfirmNewGame || ui.screen == Screen::ContinuePrompt ||
           ui.screen == Screen::ConfirmQuit;
}

// The first button of whatever screen shows: yes, continue, ok, back.
void firstButton() {
    if (dialogShowing()) pressScreenButton(ScreenButton::DialogFirst);
    if (ui.screen == Screen::HighScores) pressScreenButton(ScreenButton::HighScoresDone);
    if (ui.screen == Screen::Options) pressScreenButton(ScreenButton::OptionsBack);
}

// The second button where there is one (no, new game); elsewhere back.
void secondButton() {
    if (dialogShowing()) pressScreenButton(ScreenButton::DialogSecond);
    if (ui.screen == Screen::HighScores) pressScreenButton(ScreenButton::HighScoresDone);
    if (ui.screen == Screen::Options) pressScreenButton(ScreenButton::OptionsBack);
}

bool moveFor(int key, int* dColumn, int* dRow) {
    *dColumn = key == VkLeft ? -1 : key == VkRight ? 1 : 0;
    *dRow = key == VkUp ? -1 : key == VkDown ? 1 : 0;
    return *dColumn != 0 || *dRow != 0;
}

// The board's own keys; true when the key was one of them.
bool boardKey(int key) {
    int dColumn, dRow;
    if (moveFor(key, &dColumn, &dRow)) {
        moveKeyCursor(dColumn, dRow);
    } else if (key == VkSpace || key == VkReturn) {
        chooseAtKeyCursor();
    } else if (key == KeyH) {
        pressScreenButton(ScreenButton::Hint);
    } else {
        return false;
    }
    ui.keyCursorShown = 1;
    return true;
}

bool sidePanelKey(int key) {
    switch (key) {
        case KeyN: return pressScreenButton(ScreenButton::NewGame);
        case KeyO: return pressScreenButton(ScreenButton::Options);
        case KeyQ: return pressScreenButton(ScreenButton::Quit);
        case KeyL: return pressScreenButton(ScreenButton::LevelsMode);
        case KeyT: return pressScreenButton(ScreenButton::TimedMode);
        default: return false;
    }
}

// Whether the key did something; only the arrows act on the auto-repeat.
bool keyAction(int key, bool repeat) {
    int dColumn, dRow;
    if (repeat && !moveFor(key, &dColumn, &dRow)) return false;
    switch (ui.screen) {
        case Screen::Playing:
            return boardKey(key) || (!repeat && sidePanelKey(key));
        case Screen::NameEntry:
            return false;
        default:
            if (repeat) return false;
            if (key == VkReturn || key == KeyY) {
                firstButton();
                return true;
            }
            if (key == KeyN || key == VkEscape) {
                secondButton();
                return true;
            }
            return false;
    }
}

void padOnBoard(PadButton button, bool repeat) {
    switch (button) {
        case PadButton::Up: moveKeyCursor(0, -1); break;
        case PadButton::Down: moveKeyCursor(0, 1); break;
        case PadButton::Left: moveKeyCursor(-1, 0); break;
        case PadButton::Right: moveKeyCursor(1, 0); break;
        case PadButton::A:
            if (!repeat) chooseAtKeyCursor();
            break;
        case PadButton::X:
            if (!repeat) pressScreenButton(ScreenButton::Hint);
            break;
        case PadButton::Y:
            if (!repeat) pressScreenButton(ScreenButton::Options);
            return;
        case PadButton::Start:
            if (!repeat && !togglePause()) pressScreenButton(ScreenButton::Options);
            return;
        case PadButton::Back:
            if (!repeat) pressScreenButton(ScreenButton::Quit);
            return;
        case PadButton::B:
            return;
    }
    ui.keyCursorShown = 1;
}

}  // namespace

void keyCommand(int key, bool repeat) {
    // Escape that answered a dialog is taken: the frame's key work must not
    // also pause the game behind it. Every other key stays held as it is.
    if (keyAction(key & 0xff, repeat) && (key & 0xff) == VkEscape) shell.keys[VkEscape] = 0;
}

void padCommand(PadButton button, bool repeat) {
    if (ui.screen == Screen::Playing) {
        padOnBoard(button, repeat);
        return;
    }
    if (repeat) return;
    if (ui.screen == Screen::NameEntry) {
        if (button == PadButton::A || button == PadButton::Start) confirmName();
        return;
    }
    if (button == PadButton::A) firstButton();
    if (button == PadButton::B) secondButton();
    // Start leaves the options and the high-score table as their button does.
    if (button == PadButton::Start && !dialogShowing()) firstButton();
}
