// SDL events in, window messages with virtual-key codes out.
#include <gtest/gtest.h>

#include "platform/platform_local.h"

namespace {

constexpr uint32_t GameWindow = 7;

SDL_Event keyEvent(uint32_t type, SDL_Keycode sym, SDL_Scancode scancode = SDL_SCANCODE_UNKNOWN,
                   uint16_t mod = KMOD_NONE, uint8_t repeat = 0) {
    SDL_Event event = {};
    event.type = type;
    event.key.windowID = GameWindow;
    event.key.keysym.sym = sym;
    event.key.keysym.scancode = scancode;
    event.key.keysym.mod = mod;
    event.key.repeat = repeat;
    return event;
}

WindowMessage translated(const SDL_Event& event, uint32_t flags = 0) {
    return translateEvent(event, GameWindow, flags);
}

int keyDownCode(SDL_Keycode sym) {
    const WindowMessage message = translated(keyEvent(SDL_KEYDOWN, sym));
    return message.kind == MessageKind::KeyDown ? message.key : -1;
}

SDL_Event windowEvent(uint8_t what, int32_t data1 = 0, int32_t data2 = 0, uint32_t window = GameWindow) {
    SDL_Event event = {};
    event.window = SDL_WindowEvent{SDL_WINDOWEVENT, 0, window, what, 0, 0, 0, data1, data2};
    return event;
}

SDL_Event mouseButton(uint32_t type, uint8_t button, int x, int y, uint32_t window = GameWindow) {
    SDL_Event event = {};
    event.button = SDL_MouseButtonEvent{type, 0, window, 0, button, 0, 0, 0, x, y};
    return event;
}

}  // namespace

TEST(KeyTranslation, VirtualKeyCodes) {
    const struct {
        SDL_Keycode sym;
        int code;
    } keys[] = {{SDLK_a, 65},      {SDLK_p, 80},        {SDLK_z, 90},         {SDLK_0, 48},     {SDLK_9, 57},
                {SDLK_RETURN, 13}, {SDLK_KP_ENTER, 13}, {SDLK_SPACE, 32},     {SDLK_BACKSPACE, 8},
                {SDLK_ESCAPE, 27}, {SDLK_LEFT, 37},     {SDLK_DOWN, 40},      {SDLK_KP_9, 105}, {SDLK_F1, 112},
                {SDLK_LSHIFT, 16}, {SDLK_LEFTBRACKET, 219}};
    for (const auto& key : keys) EXPECT_EQ(keyDownCode(key.sym), key.code) << SDL_GetKeyName(key.sym);
}

// No key but a letter may land in the letter range 65..91 the name entry reads.
TEST(KeyTranslation, KeysWithoutACodeAreNotReported) {
    for (SDL_Keycode sym : {SDLK_LGUI, SDLK_RGUI, SDLK_APPLICATION, SDLK_AUDIOPLAY, SDLK_VOLUMEUP, SDLK_MENU}) {
        const WindowMessage message = translated(keyEvent(SDL_KEYDOWN, sym));
        EXPECT_EQ(message.kind, MessageKind::Other) << SDL_GetKeyName(sym);
    }
}

TEST(KeyTranslation, OnlyLettersFallIntoTheLetterRange) {
    for (int sym = 0; sym < 0x80; ++sym) {
        const int code = keyDownCode(sym);
        if (code >= 65 && code <= 91) {
            EXPECT_TRUE(sym >= SDLK_a && sym <= SDLK_z) << sym;
        }
    }
    for (int scancode = SDL_SCANCODE_CAPSLOCK; scancode < SDL_NUM_SCANCODES; ++scancode) {
        const int code = keyDownCode(SDL_SCANCODE_TO_KEYCODE(scancode));
        EXPECT_FALSE(code >= 65 && code <= 91) << SDL_GetScancodeName(static_cast<SDL_Scancode>(scancode));
    }
}

TEST(KeyTranslation, LettersOfAnotherAlphabetKeepTheirLatinKey) {
    // The Cyrillic letter on the Latin F key.
    const WindowMessage message = translated(keyEvent(SDL_KEYDOWN, 0x0430, SDL_SCANCODE_F));
    EXPECT_EQ(message.kind, MessageKind::KeyDown);
    EXPECT_EQ(message.key, 'F');
}

TEST(KeyTranslation, AltCombinationsAndF10AreSystemKeys) {
    const struct {
        SDL_Keycode sym;
        SDL_Scancode scancode;
        uint16_t modifiers;
        int code;
    } systemKeys[] = {{SDLK_a, SDL_SCANCODE_A, KMOD_LALT, 'A'},
                      {SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_RALT, 13},
                      {SDLK_F10, SDL_SCANCODE_F10, KMOD_NONE, 121},
                      {SDLK_LALT, SDL_SCANCODE_LALT, KMOD_NONE, 18}};
    for (const auto& key : systemKeys) {
        const WindowMessage message = translated(keyEvent(SDL_KEYDOWN, key.sym, key.scancode, key.modifiers));
        EXPECT_EQ(message.kind, MessageKind::SystemKeyDown) << SDL_GetKeyName(key.sym);
        EXPECT_EQ(message.key, key.code) << SDL_GetKeyName(key.sym);
    }
    // Ctrl + Alt is AltGr, which types.
    EXPECT_EQ(translated(keyEvent(SDL_KEYDOWN, SDLK_a, SDL_SCANCODE_A, KMOD_LALT | KMOD_LCTRL)).kind,
              MessageKind::KeyDown);
}

// A letter pressed before Alt and released while Alt is held must not stay down.
TEST(KeyTranslation, KeyUpIsReportedWhileAltIsHeld) {
    const WindowMessage message = translated(keyEvent(SDL_KEYUP, SDLK_a, SDL_SCANCODE_A, KMOD_LALT));
    EXPECT_EQ(message.kind, MessageKind::KeyUp);
    EXPECT_EQ(message.key, 65);
}

TEST(KeyTranslation, AutoRepeatIsMarked) {
    EXPECT_EQ(translated(keyEvent(SDL_KEYDOWN, SDLK_p)).repeat, 0);
    const WindowMessage repeated = translated(keyEvent(SDL_KEYDOWN, SDLK_p, SDL_SCANCODE_P, KMOD_NONE, 1));
    EXPECT_EQ(repeated.kind, MessageKind::KeyDown);
    EXPECT_EQ(repeated.repeat, 1);
}

TEST(MouseTranslation, MovesAndLeftButton) {
    SDL_Event move = {};
    move.type = SDL_MOUSEMOTION;
    move.motion.windowID = GameWindow;
    move.motion.x = 321;
    move.motion.y = 45;
    WindowMessage message = translated(move);
    EXPECT_EQ(message.kind, MessageKind::MouseMove);
    EXPECT_EQ(message.x, 321);
    EXPECT_EQ(message.y, 45);

    message = translated(mouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 10, 20));
    EXPECT_EQ(message.kind, MessageKind::LeftButtonDown);
    EXPECT_EQ(message.x, 10);
    EXPECT_EQ(message.y, 20);
    EXPECT_EQ(translated(mouseButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 10, 20)).kind, MessageKind::LeftButtonUp);
    EXPECT_EQ(translated(mouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 10, 20)).kind, MessageKind::Other);
}

// Events still queued for a window already destroyed (the full-screen switch)
// do not reach the new one.
TEST(MouseTranslation, EventsOfAnotherWindow) {
    SDL_Event move = {};
    move.type = SDL_MOUSEMOTION;
    move.motion.windowID = GameWindow + 1;
    EXPECT_EQ(translated(move).kind, MessageKind::Other);
    EXPECT_EQ(translated(mouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1, 1, GameWindow + 1)).kind,
              MessageKind::Other);
    EXPECT_EQ(translated(mouseButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 1, 1, GameWindow + 1)).kind,
              MessageKind::Other);
    EXPECT_EQ(translated(windowEvent(SDL_WINDOWEVENT_CLOSE, 0, 0, GameWindow + 1)).kind, MessageKind::Other);
}

TEST(WindowTranslation, SizeActivateClose) {
    WindowMessage message = translated(windowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, 800, 600));
    EXPECT_EQ(message.kind, MessageKind::Size);
    EXPECT_EQ(message.width, 800);
    EXPECT_EQ(message.height, 600);

    message = translated(windowEvent(SDL_WINDOWEVENT_MINIMIZED));
    EXPECT_EQ(message.kind, MessageKind::Activate);
    EXPECT_EQ(message.minimised, 1);
    message = translated(windowEvent(SDL_WINDOWEVENT_RESTORED));
    EXPECT_EQ(message.kind, MessageKind::Activate);
    EXPECT_EQ(message.minimised, 0);

    // Losing the focus without being minimised leaves the window active.
    message = translated(windowEvent(SDL_WINDOWEVENT_FOCUS_LOST));
    EXPECT_EQ(message.kind, MessageKind::Activate);
    EXPECT_EQ(message.minimised, 0);
    message = translated(windowEvent(SDL_WINDOWEVENT_FOCUS_LOST), SDL_WINDOW_MINIMIZED);
    EXPECT_EQ(message.minimised, 1);

    EXPECT_EQ(translated(windowEvent(SDL_WINDOWEVENT_CLOSE)).kind, MessageKind::Close);
    EXPECT_EQ(translated(windowEvent(SDL_WINDOWEVENT_EXPOSED)).kind, MessageKind::Other);
}

TEST(WindowTranslation, TheDesktopsQuitIsAClose) {
    SDL_Event quit = {};
    quit.type = SDL_QUIT;
    EXPECT_EQ(translated(quit).kind, MessageKind::Close);
}

TEST(MessageQueue, PostedQuitComesFirstWithItsCode) {
    postQuitMessage(3);
    WindowMessage message;
    ASSERT_TRUE(peekMessage(&message));
    EXPECT_EQ(message.kind, MessageKind::Quit);
    EXPECT_EQ(message.code, 3);
}
