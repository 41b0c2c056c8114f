// SDL events as window messages with Windows virtual-key codes.
#include <cstring>

#include "platform/platform_local.h"

int virtualKeyFor(SDL_Keycode sym, SDL_Scancode scancode) {
    if (sym >= SDLK_a && sym <= SDLK_z) return 'A' + (sym - SDLK_a);
    if (sym >= SDLK_0 && sym <= SDLK_9) return '0' + (sym - SDLK_0);
    // A layout of another alphabet: its letters sit on the Latin keys, and
    // those keep their Latin codes.
    if (sym >= 128 && !(sym & SDLK_SCANCODE_MASK) && scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z)
        return 'A' + (scancode - SDL_SCANCODE_A);
    if (sym >= SDLK_F1 && sym <= SDLK_F12) return 112 + (sym - SDLK_F1);
    if (sym >= SDLK_KP_1 && sym <= SDLK_KP_9) return 97 + (sym - SDLK_KP_1);
    switch (sym) {
        case SDLK_BACKSPACE: return 8;
        case SDLK_TAB: return 9;
        case SDLK_RETURN:
        case SDLK_KP_ENTER: return 13;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT: return 16;
        case SDLK_LCTRL:
        case SDLK_RCTRL: return 17;
        case SDLK_LALT:
        case SDLK_RALT: return 18;
        case SDLK_PAUSE: return 19;
        case SDLK_CAPSLOCK: return 20;
        case SDLK_ESCAPE: return 27;
        case SDLK_SPACE: return 32;
        case SDLK_PAGEUP: return 33;
        case SDLK_PAGEDOWN: return 34;
        case SDLK_END: return 35;
        case SDLK_HOME: return 36;
        case SDLK_LEFT: return 37;
        case SDLK_UP: return 38;
        case SDLK_RIGHT: return 39;
        case SDLK_DOWN: return 40;
        case SDLK_PRINTSCREEN: return 44;
        case SDLK_INSERT: return 45;
        case SDLK_DELETE: return 46;
        case SDLK_KP_0: return 96;
        case SDLK_KP_MULTIPLY: return 106;
        case SDLK_KP_PLUS: return 107;
        case SDLK_KP_MINUS: return 109;
        case SDLK_KP_PERIOD: return 110;
        case SDLK_KP_DIVIDE: return 111;
        case SDLK_NUMLOCKCLEAR: return 144;
        case SDLK_SCROLLLOCK: return 145;
        case SDLK_SEMICOLON: return 186;
        case SDLK_EQUALS: return 187;
        case SDLK_COMMA: return 188;
        case SDLK_MINUS: return 189;
        case SDLK_PERIOD: return 190;
        case SDLK_SLASH: return 191;
        case SDLK_BACKQUOTE: return 192;
        case SDLK_LEFTBRACKET: return 219;
        case SDLK_BACKSLASH: return 220;
        case SDLK_RIGHTBRACKET: return 221;
        case SDLK_QUOTE: return 222;
        default: return 0;
    }
}

bool isSystemKey(SDL_Keycode sym, uint16_t modifiers) {
    if (sym == SDLK_F10 || sym == SDLK_LALT || sym == SDLK_RALT) return true;
    // Alt held without Ctrl (Ctrl + Alt is AltGr, which types characters).
    return (modifiers & KMOD_ALT) && !(modifiers & KMOD_CTRL);
}

namespace {

bool fromOtherWindow(uint32_t eventWindow, uint32_t windowId) { return eventWindow != 0 && eventWindow != windowId; }

WindowMessage windowEvent(const SDL_WindowEvent& event, uint32_t windowFlags) {
    WindowMessage message = {};
    message.kind = MessageKind::Other;
    switch (event.event) {
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            message.kind = MessageKind::Size;
            message.width = event.data1;
            message.height = event.data2;
            break;
        case SDL_WINDOWEVENT_MINIMIZED:
            message.kind = MessageKind::Activate;
            message.minimised = 1;
            break;
        case SDL_WINDOWEVENT_RESTORED:
            message.kind = MessageKind::Activate;
            message.minimised = 0;
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
        case SDL_WINDOWEVENT_FOCUS_LOST:
            message.kind = MessageKind::Activate;
            message.minimised = (windowFlags & SDL_WINDOW_MINIMIZED) ? 1 : 0;
            break;
        case SDL_WINDOWEVENT_CLOSE:
            message.kind = MessageKind::Close;
            break;
        default:
            break;
    }
    return message;
}

}  // namespace

WindowMessage translateEvent(const SDL_Event& event, uint32_t windowId, uint32_t windowFlags) {
    WindowMessage message = {};
    message.kind = MessageKind::Other;
    switch (event.type) {
        case SDL_QUIT:
            message.kind = MessageKind::Close;
            break;
        case SDL_WINDOWEVENT:
            if (fromOtherWindow(event.window.windowID, windowId)) break;
            message = windowEvent(event.window, windowFlags);
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            const int key = virtualKeyFor(event.key.keysym.sym, event.key.keysym.scancode);
            if (key == 0) break;
            if (event.type == SDL_KEYUP) {
                // A key released while Alt is held still comes up, so no flag stays set.
                message.kind = MessageKind::KeyUp;
                message.key = key;
                break;
            }
            message.kind = isSystemKey(event.key.keysym.sym, event.key.keysym.mod) ? MessageKind::SystemKeyDown
                                                                                  : MessageKind::KeyDown;
            message.key = key;
            message.repeat = event.key.repeat ? 1 : 0;
            break;
        }
        case SDL_MOUSEMOTION:
            if (fromOtherWindow(event.motion.windowID, windowId)) break;
            message.kind = MessageKind::MouseMove;
            message.x = event.motion.x;
            message.y = event.motion.y;
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            if (event.button.button != SDL_BUTTON_LEFT) break;
            if (fromOtherWindow(event.button.windowID, windowId)) break;
            message.kind = event.type == SDL_MOUSEBUTTONDOWN ? MessageKind::LeftButtonDown : MessageKind::LeftButtonUp;
            message.x = event.button.x;
            message.y = event.button.y;
            break;
        default:
            break;
    }
    return message;
}
