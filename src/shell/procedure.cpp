// The window procedure: the window's own work (sound start-up, size,
// activation, close), and every key, mouse and controller message turned
// into the next frame's commands. Nothing here changes the game's state: the
// commands are applied by the frame's step.
#include "audio/audio.h"
#include "game/game.h"
#include "shell/shell.h"

namespace {

constexpr int VkF11 = 122;

void queue(CommandKind kind, int32_t x = 0, int32_t y = 0) {
    if (addCommand(shell.input, kind, x, y)) shell.woken = 1;
}

// The mouse in layout points of the window's own layout; outside the
// picture it is nowhere. A report of the point already queued changes nothing.
void mouseCommand(CommandKind kind, int x, int y) {
    int32_t layoutX = 0, layoutY = 0;
    windowToLayout(ui.fit, x, y, &layoutX, &layoutY);
    if (kind == CommandKind::Point && layoutX == shell.lastPointX && layoutY == shell.lastPointY) return;
    shell.lastPointX = layoutX;
    shell.lastPointY = layoutY;
    queue(kind, layoutX, layoutY);
}

bool arrow(int key) { return key == VkLeft || key == VkRight || key == VkUp || key == VkDown; }

// Keys: only the arrows act on the keyboard's auto-repeat; a key already
// down when a screen opens does nothing there until it is pressed again.
void keyDown(int key, bool repeat) {
    if (key == VkReturn) shell.held |= HeldReturn;
    if (key == VkF11) {
        shell.held |= HeldF11;
        if (!repeat) queue(CommandKind::FullScreen);
        return;
    }
    if (arrow(key)) {
        queue(CommandKind::MoveCursor, key == VkLeft ? -1 : key == VkRight ? 1 : 0,
              key == VkUp ? -1 : key == VkDown ? 1 : 0);
        return;
    }
    if (repeat) return;
    if (key >= 'A' && key <= 'Z') queue(CommandKind::Letter, key);
    if (key == VkBack) queue(CommandKind::Erase);
    if (key == VkReturn) queue(CommandKind::Confirm);
    if (key == VkSpace) queue(CommandKind::Choose);
    if (key == VkEscape) queue(CommandKind::Back);
}

// A controller: the directions repeat while held, the other buttons do not.
void padDown(PadButton button, bool repeat) {
    switch (button) {
        case PadButton::Up: queue(CommandKind::MoveCursor, 0, -1); return;
        case PadButton::Down: queue(CommandKind::MoveCursor, 0, 1); return;
        case PadButton::Left: queue(CommandKind::MoveCursor, -1, 0); return;
        case PadButton::Right: queue(CommandKind::MoveCursor, 1, 0); return;
        default: break;
    }
    if (repeat) return;
    switch (button) {
        case PadButton::A: queue(CommandKind::Confirm); break;
        case PadButton::B: queue(CommandKind::Cancel); break;
        case PadButton::X: queue(CommandKind::Hint); break;
        case PadButton::Y: queue(CommandKind::Button, static_cast<int32_t>(ScreenButton::Options)); break;
        case PadButton::Back: queue(CommandKind::Button, static_cast<int32_t>(ScreenButton::Quit)); break;
        case PadButton::Start: queue(CommandKind::Start); break;
        default: break;
    }
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
            shell.woken = 1;
            break;
        case MessageKind::Activate:
            // The time spent minimised drew no frames and does not count.
            if (!shell.windowActive && !message.minimised) shell.input.clockRestarted = 1;
            if (shell.windowActive != (message.minimised ? 0 : 1)) shell.woken = 1;
            shell.windowActive = message.minimised ? 0 : 1;
            break;
        case MessageKind::Close:
            postQuitMessage(0);
            break;
        case MessageKind::KeyDown:
            keyDown(message.key & 0xff, message.repeat != 0);
            break;
        case MessageKind::SystemKeyDown:
            if (message.key != VkReturn) break;
            shell.held |= HeldReturn;
            if (!message.repeat) queue(CommandKind::FullScreen);
            break;
        case MessageKind::KeyUp:
            if (message.key == VkF11) shell.held &= ~HeldF11;
            if (message.key == VkReturn) shell.held &= ~HeldReturn;
            break;
        case MessageKind::MouseMove:
            mouseCommand(CommandKind::Point, message.x, message.y);
            break;
        case MessageKind::LeftButtonDown:
            shell.held |= HeldButton;
            mouseCommand(CommandKind::Press, message.x, message.y);
            break;
        case MessageKind::LeftButtonUp:
            shell.held &= ~HeldButton;
            queue(CommandKind::Release);
            break;
        case MessageKind::PadButtonDown:
            padDown(static_cast<PadButton>(message.key), message.repeat != 0);
            break;
        case MessageKind::Other:
            // The window system's own events (the window uncovered, moved):
            // the picture is drawn again.
            shell.woken = 1;
            break;
        default:
            break;
    }
}
