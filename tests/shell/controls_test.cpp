// Playing with keys and a controller: SDL key and controller events through
// the window system's queue into the window procedure, checked in the game.
#include <SDL.h>

#include <map>
#include <sstream>

#include "game/driver.h"
#include "shell/shell_fixture.h"

namespace {

class Controls : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        ASSERT_TRUE(startVideo(windowProcedure));
        startOn(GameMode::Levels);
    }
    void TearDown() override {
        if (device_ >= 0) SDL_JoystickDetachVirtual(device_);
        platformQuit();
        ShellTest::TearDown();
    }

    // A full board where the 7 at (2, 5) moved up to (2, 4) lines up three
    // 7s; a spare move at the bottom right keeps the game going after it.
    static void startOn(GameMode mode) {
        drive::start(mode);
        settings.soundOn = 0;
        drive::setQuietField();
        game.board[4][0] = game.board[4][1] = game.board[5][2] = 7;
        game.board[8][6] = game.board[8][7] = game.board[7][5] = 7;
    }
    static void pump() {
        WindowMessage message;
        while (peekMessage(&message)) dispatchMessage(message);
        applyQueued();
    }
    static void push(uint32_t type, SDL_Keycode sym = 0, int x = 0, int y = 0, bool repeat = false) {
        SDL_Event event = {};
        event.type = type;
        if (type == SDL_KEYDOWN || type == SDL_KEYUP) {
            event.key.repeat = repeat ? 1 : 0;
            event.key.keysym.sym = sym;
            event.key.keysym.scancode = SDL_GetScancodeFromKey(sym);
        } else if (type == SDL_MOUSEMOTION) {
            event.motion.x = x, event.motion.y = y;
        } else {
            event.button.button = SDL_BUTTON_LEFT, event.button.x = x, event.button.y = y;
        }
        SDL_PushEvent(&event);
        pump();
    }
    // Taps, one a word: a letter, left/right/up/down, space, enter, esc; a
    // controller's button as pad-a, pad-b, pad-x, pad-y, pad-start, pad-back, pad-right.
    void play(const std::string& script) {
        static const std::map<std::string, SDL_Keycode> keys = {
            {"left", SDLK_LEFT}, {"right", SDLK_RIGHT}, {"up", SDLK_UP},       {"down", SDLK_DOWN},
            {"space", SDLK_SPACE}, {"enter", SDLK_RETURN}, {"esc", SDLK_ESCAPE}};
        static const std::map<std::string, SDL_GameControllerButton> pad = {
            {"pad-a", SDL_CONTROLLER_BUTTON_A},         {"pad-b", SDL_CONTROLLER_BUTTON_B},
            {"pad-x", SDL_CONTROLLER_BUTTON_X},         {"pad-y", SDL_CONTROLLER_BUTTON_Y},
            {"pad-start", SDL_CONTROLLER_BUTTON_START}, {"pad-back", SDL_CONTROLLER_BUTTON_BACK},
            {"pad-right", SDL_CONTROLLER_BUTTON_DPAD_RIGHT}};
        std::istringstream words(script);
        for (std::string word; words >> word;) {
            if (pad.count(word)) {
                for (int down : {1, 0}) SDL_JoystickSetVirtualButton(controller(), pad.at(word), down), pump();
                continue;
            }
            const SDL_Keycode sym = word.size() == 1 ? SDLK_a + (word[0] - 'a') : keys.at(word);
            push(SDL_KEYDOWN, sym);
            push(SDL_KEYUP, sym);
        }
    }
    // A click in the middle of a field cell, windowed layout.
    static void clickCell(int column, int row) {
        const int x = 185 + 54 * column + 27, y = 15 + 54 * (row - 1) + 27;
        for (uint32_t type : {SDL_MOUSEMOTION, SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) push(type, 0, x, y);
    }
    static bool cursorAt(int column, int row) { return ui.keyCursor.column == column && ui.keyCursor.row == row; }
    // SDL's virtual controller, connected on first use.
    SDL_Joystick* controller() {
        if (device_ < 0) {
            device_ = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                                SDL_CONTROLLER_BUTTON_MAX, 0);
            pump();
        }
        return SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(device_));
    }

private:
    int device_ = -1;
};

}  // namespace

TEST_F(Controls, TheCursorMovesByArrowsClicksAndTheHintOnly) {
    EXPECT_TRUE(cursorAt(0, FirstFieldRow));
    EXPECT_EQ(ui.keyCursorShown, 0);
    play("left up right down");
    push(SDL_KEYDOWN, SDLK_DOWN, 0, 0, true);  // the keyboard's auto-repeat
    EXPECT_TRUE(cursorAt(1, 3));
    play("right right right right right right right right");
    EXPECT_TRUE(cursorAt(7, 3)) << "stops at the edge";
    EXPECT_EQ(ui.keyCursorShown, 1);

    push(SDL_MOUSEMOTION, 0, 0, 0);  // reported where it already is
    EXPECT_EQ(ui.keyCursorShown, 1);
    push(SDL_MOUSEMOTION, 0, 300, 300);
    EXPECT_EQ(ui.keyCursorShown, 0);
    EXPECT_TRUE(cursorAt(7, 3)) << "moving the mouse does not move it";
    clickCell(5, 6);
    EXPECT_TRUE(cursorAt(5, 6));
    play("h");
    EXPECT_TRUE(cursorAt(static_cast<int>(game.hintCell[0]), static_cast<int>(game.hintCell[1])));
    EXPECT_EQ(turn.firstCell.column, ui.keyCursor.column);
    play("l y");  // the hint made a move: the new game is asked for
    EXPECT_TRUE(cursorAt(0, FirstFieldRow)) << "a new game";
    play("right");
    game.boardEvent = BoardEvent::LevelComplete;
    scene.bannerProgress = 1.0f;
    advanceBanner();
    EXPECT_TRUE(cursorAt(0, FirstFieldRow)) << "a new level";
    saveGame();
    play("right");
    ui.screen = Screen::ContinuePrompt;
    play("enter");
    EXPECT_TRUE(cursorAt(0, FirstFieldRow)) << "a game continued";
}

TEST_F(Controls, ASwapWithKeysScoresAsTheSameSwapWithClicks) {
    srand(99);
    clickCell(2, 5);
    clickCell(2, 4);
    ASSERT_TRUE(drive::settle());
    const int32_t clickScore = game.score;
    const auto clickField = drive::field();
    EXPECT_GT(clickScore, 0);

    // Space and Enter go the click's way: pick up, put down, pick up, swap,
    // and nothing while the board is busy.
    startOn(GameMode::Levels);
    srand(99);
    play("right right down down down down space enter");
    EXPECT_EQ(turn.firstSelected, 0);
    play("space up enter");
    EXPECT_EQ(turn.swapActive, 1);
    play("left space");
    EXPECT_EQ(turn.secondCell.column, 2);
    EXPECT_EQ(turn.firstSelected, 1);
    ASSERT_TRUE(drive::settle());
    EXPECT_EQ(game.score, clickScore);
    EXPECT_EQ(drive::field(), clickField);
}

TEST_F(Controls, KeysAndButtonsAnswerDialogsAndPressThePanel) {
    const struct {
        GameMode mode;
        Screen from;
        const char* script;
        Screen to;
        uint8_t paused;
        GameMode modeAfter;
    } steps[] = {
        {GameMode::Timed, Screen::Playing, "n", Screen::ConfirmNewGame, 0, GameMode::Timed},
        {GameMode::Timed, Screen::Playing, "n esc", Screen::Playing, 0, GameMode::Timed},  // no pause behind it
        {GameMode::Timed, Screen::Playing, "esc", Screen::Playing, 1, GameMode::Timed},
        {GameMode::Timed, Screen::Playing, "p", Screen::Playing, 1, GameMode::Timed},
        {GameMode::Levels, Screen::Playing, "esc", Screen::Playing, 0, GameMode::Levels},
        {GameMode::Levels, Screen::Playing, "o", Screen::Options, 0, GameMode::Levels},
        {GameMode::Levels, Screen::Options, "esc", Screen::Playing, 0, GameMode::Levels},
        {GameMode::Levels, Screen::Playing, "q n", Screen::Playing, 0, GameMode::Levels},
        {GameMode::Levels, Screen::Playing, "t", Screen::Playing, 0, GameMode::Timed},
        {GameMode::Timed, Screen::Playing, "l", Screen::Playing, 0, GameMode::Levels},
        {GameMode::Levels, Screen::HighScores, "y", Screen::Playing, 0, GameMode::Levels},
        {GameMode::Levels, Screen::NameEntry, "q n o", Screen::NameEntry, 0, GameMode::Levels},  // letters type
        {GameMode::Timed, Screen::Playing, "pad-start", Screen::Playing, 1, GameMode::Timed},
        {GameMode::Levels, Screen::Playing, "pad-start", Screen::Options, 0, GameMode::Levels},
        {GameMode::Timed, Screen::Playing, "pad-y pad-start", Screen::Playing, 0, GameMode::Timed},
        {GameMode::Timed, Screen::Playing, "pad-back", Screen::ConfirmQuit, 0, GameMode::Timed},
        {GameMode::Timed, Screen::ConfirmQuit, "pad-b", Screen::Playing, 0, GameMode::Timed},
        {GameMode::Timed, Screen::ContinuePrompt, "pad-a", Screen::Playing, 0, GameMode::Levels},  // nothing saved
        {GameMode::Levels, Screen::NameEntry, "pad-a", Screen::HighScores, 0, GameMode::Levels},
    };
    for (const auto& step : steps) {
        startOn(step.mode);
        ui.screen = step.from;
        play(step.script);
        EXPECT_EQ(ui.screen, step.to) << step.script;
        EXPECT_EQ(ui.paused, step.paused) << step.script;
        EXPECT_EQ(game.gameMode, step.modeAfter) << step.script;
    }
    push(SDL_KEYDOWN, SDLK_RETURN, 0, 0, true);
    EXPECT_EQ(ui.screen, Screen::HighScores) << "Enter held on from the name entry presses nothing";
    startOn(GameMode::Levels);
    game.score = 700;
    play("n y");
    EXPECT_EQ(game.score, 0) << "a new game";
    play("q enter");
    EXPECT_EQ(shell.quitRequested, 1);
}

TEST_F(Controls, AControllerMovesChoosesAndHints) {
    startOn(GameMode::Timed);
    play("pad-right pad-right");
    for (int16_t value : {32767, 0}) SDL_JoystickSetVirtualAxis(controller(), SDL_CONTROLLER_AXIS_LEFTY, value), pump();
    EXPECT_TRUE(cursorAt(2, 2));
    EXPECT_EQ(ui.keyCursorShown, 1);
    play("pad-a");
    EXPECT_EQ(turn.firstCell.column, 2);
    EXPECT_EQ(turn.firstCell.row, 2);
    const float time = game.timeLeft;
    play("pad-x");
    EXPECT_FLOAT_EQ(game.timeLeft, time - 10.0f) << "the hint";
}
