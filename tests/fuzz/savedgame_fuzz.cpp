// base/data.inf of any content: the game either refuses it (and stays as it
// was) or continues a game it can play; saving that game and continuing it
// again gives the same file.
#include <cstdint>
#include <cstring>
#include <string>

#include "game/game.h"
#include "persist/persist.h"
#include "scratch.h"

namespace {


void expectPlayableBoard() {
    for (int r = SpawnRow; r <= LastFieldRow; ++r)
        for (int c = 0; c < BoardColumns; ++c) FUZZ_EXPECT(game.board[r][c] >= 0 && game.board[r][c] <= GemKinds);
    for (int c = 0; c < BoardColumns; ++c) FUZZ_EXPECT(game.board[FloorRow][c] == 0 || game.board[FloorRow][c] == ClosedFloor);
}

void startOnBoardScreen() {
    resetGameState();
    ui.screen = Screen::Playing;
    ui.mouseButtonUp = 1;
    ui.cursorColumn = NoCursorCell;
    ui.cursorRow = NoCursorCell;
    settings.soundOn = 1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    enterScratchFolder();
    startOnBoardScreen();
    writeBaseFile("data.inf", data, size);
    srand(1);
    const GameState before = game;
    if (!restoreGame()) {
        FUZZ_EXPECT(std::memcmp(before.board, game.board, sizeof game.board) == 0);
        FUZZ_EXPECT(before.score == game.score && before.level == game.level && before.gameMode == game.gameMode);
        FUZZ_EXPECT(std::memcmp(&before.timeLeft, &game.timeLeft, sizeof game.timeLeft) == 0);
        return 0;
    }
    expectPlayableBoard();
    FUZZ_EXPECT(game.gameMode == GameMode::Levels || game.gameMode == GameMode::Timed);
    FUZZ_EXPECT(levelsModeRunning() != timedModeRunning());
    FUZZ_EXPECT(game.level >= 0);
    if (levelsModeRunning()) FUZZ_EXPECT(game.levelBase <= game.levelTarget);

    saveGame();
    const std::string saved = readBaseFile("data.inf");
    FUZZ_EXPECT(saved.size() == 85 * 4);
    const GameState restored = game;
    startOnBoardScreen();
    srand(1);
    FUZZ_EXPECT(restoreGame());
    saveGame();
    FUZZ_EXPECT(readBaseFile("data.inf") == saved);
    FUZZ_EXPECT(std::memcmp(game.board, restored.board, sizeof game.board) == 0);
    FUZZ_EXPECT(game.score == restored.score && game.level == restored.level);

    // The continued game plays on: a few hundred frames of the rules, with a
    // click on the first cell that the input names.
    scene.measureCount = 1;
    for (int frame = 0; frame < 300; ++frame) {
        scene.speedFactor = 1.05f;
        scene.measureCount = 1;
        if (frame == 100 && size > 0) {
            ui.cursorColumn = data[0] % BoardColumns;
            ui.cursorRow = FirstFieldRow + (data[0] / BoardColumns) % 8;
            boardButtonDownRules();
        }
        stepFrame(FrameInput{});
        expectPlayableBoard();
        if (ui.screen != Screen::Playing) break;
    }
    return 0;
}
