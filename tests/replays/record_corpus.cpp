// Records the corpus of games in tests/replays/games/: each played through
// the real rules and the game's own recorder, frame by frame at 60 frames a
// second, with the commands a player's mouse and keys give. Run it again
// (vortiq-record-corpus tests/replays) when a change means the rules to play
// differently, and say why in the commit.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <string>

#include "game/game.h"
#include "persist/persist_local.h"
#include "replay/replay.h"
#include "support/byte_files.h"
#include "support/scratch.h"

namespace {

struct Player {
    FrameInput input{};
    int64_t ticks = 5000000;
    int frames = 0;
    // What the game went through, for the line printed about it.
    int32_t longestChain = 0;
    bool paused = false, drained = false, gameOver = false, fullScreen = false;

    void command(CommandKind kind, int32_t x = 0, int32_t y = 0) { addCommand(input, kind, x, y); }
    void step() {
        // The loop rests while the picture stands still: the next frame
        // comes with the input that wakes it, on a clock started again.
        if (frames > 0 && sceneAtRest()) {
            input.clockRestarted = 1;
            ticks += 1500000;
        }
        ticks += 16667 + (frames * 7919) % 301 - 150;
        input.ticks = ticks;
        ++frames;
        stepFrame(input);
        recordStep(input);
        longestChain = std::max(longestChain, game.comboCount);
        paused |= ui.paused != 0;
        drained |= game.timedDrain != 0;
        gameOver |= gameOverRunning();
        fullScreen |= ui.fullScreenActive != 0;
        input.count = 0;
        input.clockRestarted = 0;
    }
    void run(int count) {
        for (int i = 0; i < count; ++i) step();
    }
    // A start without a saved game: a levels game at once, its board settled.
    void newGame() {
        startFirstGame(false, GameMode::Levels);
        wait(900);
    }
    void wait(int count) {
        for (int i = 0; i < count && !(i > 0 && sceneAtRest()); ++i) step();
    }
    void click(int32_t x, int32_t y) {
        command(CommandKind::Point, x, y);
        command(CommandKind::Press, x, y);
        step();
        command(CommandKind::Release);
        step();
    }
    void clickButton(const ButtonGeometry& button) { click(hitCentreX(button.hit), hitCentreY(button.hit)); }
    void clickCell(const Cell& cell) {
        const CellGrid& grid = screenGeometry().cells;
        click((cell.column + 4) * grid.pitch - grid.columnShift + grid.pitch / 2,
              (cell.row - 1) * grid.pitch - grid.rowShift + grid.pitch / 2);
    }
    void key(CommandKind kind, int32_t x = 0) {
        command(kind, x);
        step();
    }
    void swap(const Cell& a, const Cell& b) {
        clickCell(a);
        clickCell(b);
        wait(600);
    }
    void quit() {
        key(CommandKind::Letter, 'Q');
        key(CommandKind::Confirm);
        finishRecordingAtQuit();
    }
};

bool lineAt(const int32_t (&b)[BoardRows][BoardColumns], int row, int column) {
    const int32_t kind = b[row][column];
    int across = 1, down = 1;
    for (int c = column - 1; c >= 0 && b[row][c] == kind; --c) ++across;
    for (int c = column + 1; c < BoardColumns && b[row][c] == kind; ++c) ++across;
    for (int r = row - 1; r >= FirstFieldRow && b[r][column] == kind; --r) ++down;
    for (int r = row + 1; r <= LastFieldRow && b[r][column] == kind; ++r) ++down;
    return kind > 0 && (across >= 3 || down >= 3);
}

// The first swap of neighbours that makes a line (or, asked so, none).
bool findSwap(bool makingLine, Cell* a, Cell* b) {
    for (int row = FirstFieldRow; row <= LastFieldRow; ++row)
        for (int column = 0; column < BoardColumns; ++column)
            for (const Cell& next : {Cell{column + 1, row}, Cell{column, row + 1}}) {
                if (next.column >= BoardColumns || next.row > LastFieldRow) continue;
                int32_t board[BoardRows][BoardColumns];
                std::memcpy(board, game.board, sizeof board);
                std::swap(board[row][column], board[next.row][next.column]);
                const bool line = lineAt(board, row, column) || lineAt(board, next.row, next.column);
                if (line != makingLine || board[row][column] == board[next.row][next.column]) continue;
                *a = Cell{column, row};
                *b = next;
                return true;
            }
    return false;
}

bool playMove(Player& player) {
    Cell a, b;
    if (!findSwap(true, &a, &b)) return false;
    player.swap(a, b);
    return true;
}

// A saved game of the mode on a board where no swap makes a line.
void saveStuckGame(GameMode mode, int32_t score) {
    Bytes bytes;
    for (int32_t value : {static_cast<int32_t>(mode), 2, 30, score}) appendInt32(bytes, value);
    for (int i = 0; i < 81; ++i) {
        const int cell = 8 * (i / 9) + i % 9;  // nine runs of nine cells
        const int row = cell / 8, column = cell % 8;
        appendInt32(bytes, row == FloorRow ? ClosedFloor : 1 + (column % 2) + 2 * ((row + column / 2) % 3));
    }
    writeBytes("base/data.inf", bytes);
}

void startRun(Player& player, uint32_t seed) {
    resetGameState();
    seedDice(seed);
    stepHooks = StepHooks{continueRecordedGame, enterRecordedHighScore, nullptr};
    game.gameMode = GameMode::Levels;
    settleModeButtons();
    loadHighScores();
    settings = Settings{0, 1, 1};
    ui.screen = Screen::ContinuePrompt;
    player.key(CommandKind::Layout, 0);
}

using Scenario = void (*)(Player&);

struct Game {
    const char* name;
    uint32_t seed;
    Scenario play;
};

const Game Games[] = {
    {"levels_no_line_cascade_hint", 11, [](Player& p) {
         p.newGame();
         Cell a, b;
         if (findSwap(false, &a, &b)) p.swap(a, b);     // a swap that makes no line goes back
         for (int i = 0; i < 40 && playMove(p) && game.comboCount < 2; ++i) {
         }                                              // until a cascade came
         p.key(CommandKind::Letter, 'H');
         p.wait(600);
         playMove(p);
         p.quit();
     }},
    {"levels_level_complete", 12, [](Player& p) {
         p.newGame();
         for (int i = 0; i < 200 && game.level == 0; ++i) playMove(p);
         p.wait(900);
         playMove(p);
         p.quit();
     }},
    {"timed_hint_pause", 13, [](Player& p) {
         p.newGame();
         p.key(CommandKind::Letter, 'T');               // the timed mode
         p.run(120);
         p.key(CommandKind::Letter, 'H');
         p.run(60);
         playMove(p);
         p.key(CommandKind::Letter, 'P');
         p.run(90);
         p.key(CommandKind::Letter, 'P');
         for (int i = 0; i < 4; ++i) playMove(p);
         p.quit();
     }},
    {"timed_continued_drain", 14, [](Player& p) {
         saveStuckGame(GameMode::Timed, 700);
         p.clickButton(screenGeometry().dialogFirst);   // continue
         for (int i = 0; i < 900 && !game.timedDrain; ++i) p.step();
         for (int i = 0; i < 900 && game.timedDrain; ++i) p.step();
         p.run(240);  // the board fills again
         for (int i = 0; i < 3; ++i) playMove(p);
         p.quit();
     }},
    {"levels_game_over_name", 15, [](Player& p) {
         saveStuckGame(GameMode::Levels, 2000);  // within level 2: no level to complete
         p.clickButton(screenGeometry().dialogFirst);
         for (int i = 0; i < 3000 && ui.screen != Screen::NameEntry; ++i) p.step();
         for (int32_t letter : {'A', 'D', 'A'}) p.key(CommandKind::Letter, letter);
         p.key(CommandKind::Confirm);
     }},
    {"levels_full_screen_switch", 16, [](Player& p) {
         p.newGame();
         playMove(p);
         p.key(CommandKind::FullScreen);                // the window is made again...
         p.input.clockRestarted = 1;
         p.key(CommandKind::Layout, 1);                 // ...and its layout comes first
         for (int i = 0; i < 3; ++i) playMove(p);
         p.quit();
     }},
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    char* absolute = realpath(argv[1], nullptr);
    if (!absolute) {
        std::perror(argv[1]);
        return 1;
    }
    const std::string out = absolute;
    std::free(absolute);
    ScratchFolder folder;  // the games' own base/ and replays/
    if (!folder.ok()) return 1;
    for (const Game& g : Games) {
        Player player;
        startRun(player, g.seed);
        g.play(player);
        const std::string to = out + "/games/" + g.name + ".vqr";
        if (!copyFile(LastReplayPath, to)) {
            std::fprintf(stderr, "%s was not recorded\n", to.c_str());
            return 1;
        }
        std::printf("%s: %d frames, %zu bytes; mode %d, level %d, score %d; longest chain %d%s%s%s%s\n", g.name,
                    player.frames, readBytes(to).size(), static_cast<int>(game.gameMode), game.level, game.score,
                    player.longestChain, player.paused ? ", paused" : "", player.drained ? ", drained" : "",
                    player.gameOver ? ", game over" : "", player.fullScreen ? ", full screen" : "");
    }
    // Two that --check refuses: one recorded under older rules, one given
    // another seed (other gems fall: it ends elsewhere).
    Bytes bytes = readBytes(out + "/games/levels_full_screen_switch.vqr");
    bytes[6] = static_cast<uint8_t>(RulesVersion - 1);
    sealReplay(&bytes);
    writeBytes(out + "/refused/older_rules.vqr", bytes);
    bytes = readBytes(out + "/games/levels_no_line_cascade_hint.vqr");
    bytes[12] ^= 1;
    sealReplay(&bytes);
    writeBytes(out + "/refused/ends_elsewhere.vqr", bytes);
    return 0;
}
