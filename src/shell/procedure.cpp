// The window procedure: keys, controllers, activation, size, the mouse on the board.
#include "audio/audio.h"
#include "game/game.h"
#include "shell/shell.h"

namespace {

constexpr int VkF11 = 122;

// The mouse in layout pixels; outside the picture it is nowhere.
void mouseAt(int x, int y) { windowToLayout(ui.fit, x, y, &ui.mouseX, &ui.mouseY); }

void mouseMove(int x, int y) {
    // The keyboard's cursor hides once the mouse really moves (the window
    // system also reports the pointer where it already was).
    const int32_t lastX = ui.mouseX, lastY = ui.mouseY;
    mouseAt(x, y);
    if (ui.mouseX != lastX || ui.mouseY != lastY) ui.keyCursorShown = 0;
    x = ui.mouseX;
    y = ui.mouseY;
    if (ui.screen == Screen::Playing) {
        cursorCellAt(x, y, &ui.cursorColumn, &ui.cursorRow);
        sidePanelHover();
    }
    boardMouseMoveRules();
    otherScreensHover();
}

void leftButtonDown(int x, int y) {
    mouseAt(x, y);
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
            refreshPictureSet();
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
            if (message.key == VkF11 && !message.repeat) {
                fullScreenKey();
                break;
            }
            // The keyboard's auto-repeat is no new press: a key the loop has
            // taken (the pause keys) stays taken while it is held.
            if (!message.repeat) {
                shell.keys[message.key & 0xff] = 1;
                shell.keysUnseen[message.key & 0xff] = 1;
                shell.keysLetGo[message.key & 0xff] = 0;
            }
            keyCommand(message.key, message.repeat != 0);
            break;
        case MessageKind::SystemKeyDown:
            if (message.key == VkReturn && !message.repeat) fullScreenKey();
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
