// The window procedure: keys, controllers, activation, size, the mouse on the board.
#include "audio/audio.h"
#include "game/game.h"
#include "shell/shell.h"

namespace {

void mouseMove(int x, int y) {
    // The keyboard's cursor hides once the mouse really moves (the window
    // system also reports the pointer where it already was).
    if (x != ui.mouseX || y != ui.mouseY) ui.keyCursorShown = 0;
    ui.mouseX = x;
    ui.mouseY = y;
    if (ui.screen == Screen::Playing) {
        cursorCellAt(x, y, &ui.cursorColumn, &ui.cursorRow);
        sidePanelHover();
    }
    boardMouseMoveRules();
    otherScreensHover();
}

void leftButtonDown(int x, int y) {
    ui.mouseX = x;
    ui.mouseY = y;
    ui.keyCursorShown = 0;
    keyCursorFollowsClick();
    boardButtonDownRules();
    // After the full-screen switch the click belongs to a window that is gone.
    if (!screenButtonsClick()) return;
    ui.mouseButtonUp = 0;
}

}  // namespace

void windowProcedure(const WindowMessage& message) {
    switch (message.kind) {
        case MessageKind::Create:
            startSound(windowHandle());
            break;
        case MessageKind::Size:
            resizeViewport(message.width, message.height);
            break;
        case MessageKind::Activate:
            // The time spent minimised drew no frames and does not count.
            if (!shell.windowActive && !message.minimised) restartFrameMeasurement();
            shell.windowActive = message.minimised ? 0 : 1;
            break;
        case MessageKind::Close:
            postQuitMessage(0);
            break;
        case MessageKind::KeyDown:
            // The keyboard's auto-repeat is no new press: a key the loop has
            // taken (the pause keys) stays taken while it is held.
            if (!message.repeat) {
                shell.keys[message.key & 0xff] = 1;
                shell.keysUnseen[message.key & 0xff] = 1;
                shell.keysLetGo[message.key & 0xff] = 0;
            }
            keyCommand(message.key, message.repeat != 0);
            break;
        case MessageKind::KeyUp:
            // A tap shorter than a frame stays down until the frame's key
            // work has seen it; otherwise a slow frame would lose it.
            if (shell.keysUnseen[message.key & 0xff])
                shell.keysLetGo[message.key & 0xff] = 1;
            else
                shell.keys[message.key & 0xff] = 0;
            break;
        case MessageKind::MouseMove:
            mouseMove(message.x, message.y);
            break;
        case MessageKind::LeftButtonDown:
            leftButtonDown(message.x, message.y);
            break;
        case MessageKind::LeftButtonUp:
            ui.mouseButtonUp = 1;
            break;
        case MessageKind::PadButtonDown:
            padCommand(static_cast<PadButton>(message.key), message.repeat != 0);
            break;
        default:
            break;
    }
}
