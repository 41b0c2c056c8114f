// The one way in: a frame's commands, applied by its step in order before
// the rules, with no window; and the dice a game starts from.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "driver.h"
#include "game/game_local.h"

namespace {

// The layout point at the middle of a field cell, or of a button.
Command atCell(CommandKind kind, int column, int row, bool full = false) {
    return full ? Command{kind, 67 * column + 266, 67 * row - 12} : Command{kind, 54 * column + 212, 54 * row - 12};
}
Command atButton(ButtonGeometry ScreenGeometry::*button) {
    const HitRect& r = (layoutGeometry(Layout::Windowed).*button).hit;
    return Command{CommandKind::Press, hitCentreX(r), hitCentreY(r)};
}
Command key(CommandKind kind, int32_t x = 0, int32_t y = 0) { return Command{kind, x, y}; }

void nameEntry(const char* name, int cursor) {
    ui.screen = Screen::NameEntry;
    std::memcpy(scoreBook.entryName, name, 10);
    scoreBook.entryCursor = cursor;
}
bool nameIs(const char* name) { return std::strcmp(scoreBook.entryName, name) == 0; }
bool selected(int column, int row) {
    return turn.firstSelected && turn.firstCell.column == column && turn.firstCell.row == row;
}
void timed() {
    drive::newGameOf(GameMode::Timed);
    drive::setQuietField();
    drive::addSpareMove();
}
// The game-over banner of a score that reaches the table, ending in the next frame.
void bannerEnding() {
    game.score = 5000;
    game.boardEvent = BoardEvent::NoMoves;
    scene.bannerProgress = 1.0f;
}

using Row = drive::FrameRow;

const Row rows[] = {
    {"a press takes the cell under its own point in the layout then in force", [] {},
     {atCell(CommandKind::Point, 5, 5), key(CommandKind::Layout, 1), atCell(CommandKind::Press, 2, 3, true)}, 0,
     [] { return selected(2, 3) && ui.fullScreenActive == 1; }},
    {"a drag onto a neighbour swaps", [] {},
     {atCell(CommandKind::Press, 2, 3), atCell(CommandKind::Point, 3, 3)}, 0,
     [] { return turn.swapActive && turn.secondCell.column == 3 && turn.secondCell.row == 3; }},
    {"the key cursor moves and Space chooses there", [] {},
     {key(CommandKind::MoveCursor, 1, 0), key(CommandKind::MoveCursor, 0, 1), key(CommandKind::Choose)}, 0,
     [] { return selected(1, 2) && ui.keyCursorShown == 1; }},
    {"letters pressed one over the other are all typed, in order", [] { nameEntry("$$$$$$$$$", 1); },
     {key(CommandKind::Letter, 'A'), key(CommandKind::Letter, 'N'), key(CommandKind::Letter, 'N'),
      key(CommandKind::Letter, 'A')}, 0,
     [] { return nameIs("Anna$$$$$") && scoreBook.entryCursor == 5; }},
    {"Backspace frees the last letter and Return ends the entry", [] { nameEntry("Ab$$$$$$$", 3); },
     {key(CommandKind::Erase), key(CommandKind::Confirm)}, 0,
     [] { return nameIs("A$$$$$$$$") && ui.screen == Screen::HighScores; }},
    {"Return in the frame the game-over banner ends acts on the board, not the empty name", bannerEnding,
     {key(CommandKind::Confirm)}, 0,
     [] { return ui.screen == Screen::NameEntry && scoreBook.entryCursor == 1 && selected(0, 1); }},
    {"the new-game button asks nothing while the game-over banner runs",
     [] { game.boardEvent = BoardEvent::NoMoves, game.gameOverDrain = 1; },
     {atButton(&ScreenGeometry::newGame)}, 0,
     [] { return ui.screen == Screen::Playing && ui.newGameButton != ButtonPressed; }},
    {"Escape answers the dialog without pausing the game behind it",
     [] { timed(), ui.screen = Screen::ConfirmNewGame; },
     {key(CommandKind::Back)}, 0, [] { return ui.screen == Screen::Playing && !ui.paused; }},
    {"P pauses the timed game", timed, {key(CommandKind::Letter, 'P')}, 0, [] { return ui.paused == 1; }},
    {"the full-screen key asks for the other window; the layout stays until it comes", [] {},
     {key(CommandKind::FullScreen)}, RequestFullScreen,
     [] { return settings.fullScreen == 1 && ui.fullScreenActive == 0; }},
    {"a window that refused full screen: the settings say windowed", [] { settings.fullScreen = 1; },
     {key(CommandKind::Layout, 0, 1)}, 0, [] { return settings.fullScreen == 0 && ui.fullScreenActive == 0; }},
    {"the quit question's yes asks the shell to end", [] { ui.screen = Screen::ConfirmQuit; },
     {key(CommandKind::Confirm)}, RequestQuit, [] { return ui.screen == Screen::Playing; }},
    {"help asks for its page; the game goes on", [] { ui.screen = Screen::Options; },
     {atButton(&ScreenGeometry::helpRow)}, RequestHelp, [] { return ui.screen == Screen::Playing; }},
    {"a controller's Start on the levels board opens the options", [] {},
     {key(CommandKind::Start)}, 0, [] { return ui.screen == Screen::Options; }},
    {"a click on a high-score row asks for its game", [] { ui.screen = Screen::HighScores; },
     {Command{CommandKind::Press, 330, 480 - 178}}, RequestWatch, [] { return ui.watchedRow == 7; }},
    {"the arrows choose a row, across to the other table, and Return asks for its game",
     [] { ui.screen = Screen::HighScores; },
     {key(CommandKind::MoveCursor, 0, 1), key(CommandKind::MoveCursor, 0, 1), key(CommandKind::MoveCursor, 1, 0),
      key(CommandKind::Confirm)}, RequestWatch, [] { return ui.watchedRow == 7 && ui.screen == Screen::HighScores; }},
    // A rest keeps what the frame drew: the readouts are drawn on their goals.
    {"the counter one step short of the score is drawn on it before a rest",
     [] {
         game.score = 100;
         scene.shownScore = 99.5f;
         game.barLength = barGoal() - 0.3f;
     },
     {}, 0, [] { return scene.shownScore == 100.0f && game.barLength == barGoal() && sceneAtRest(); }},
    {"the board paused by a key rests at once", [] { timed(), game.barLength = barGoal(); },
     {key(CommandKind::Letter, 'P')}, 0, [] { return ui.paused && sceneAtRest(); }},
};

}  // namespace

TEST(Commands, EachFramesCommandsMeetTheStateTheyExpect) { drive::expectFrameRows(std::begin(rows), std::end(rows)); }

// The generator is the C library's: a game begins at (seed, numbers drawn),
// and from there it deals the same gems again.
TEST(Commands, AGameStartsFromItsSeedAndTheNumbersDrawnBeforeIt) {
    seedDice(4711);
    std::srand(4711);
    const int first = std::rand();
    seedDice(4711);
    EXPECT_EQ(drawRandom(), first);
    for (int n = 0; n < 9; ++n) randomGem();
    drive::newGameOf(GameMode::Levels);
    const uint64_t start = dice.drawnAtNewGame;
    EXPECT_EQ(start, 10u);
    std::vector<int> gems;
    for (int n = 0; n < 50; ++n) gems.push_back(randomGem());
    restoreDice(dice.seed, start);
    drive::newGameOf(GameMode::Levels);
    for (int gem : gems) EXPECT_EQ(randomGem(), gem);
    EXPECT_EQ(dice.drawn, start + 1 + 50) << "the backdrop's number and the gems'";
}
