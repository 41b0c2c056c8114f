// base/data.inf: the running game as 85 4-byte values: mode, level, whole
// seconds left, score, then 9 runs of 9 board cells, each run starting where
// the last one ended less one cell (so column 0 of rows 1..8 is there twice
// and the last value is the floor cell of column 0).

#include <cmath>
#include <cstdint>

#include "persist/persist_local.h"

namespace {

constexpr int BoardRuns = 9;
constexpr int FirstBoardValue = 4;  // 0-based index of the first board value
constexpr int32_t* const boardCells = &game.board[0][0];

int cellOfValue(int run, int place) { return BoardColumns * run + place; }

// timeLeft without its fraction, as a 32-bit value even when it is not a number.
int32_t wholeTime(float time) {
    if (std::isnan(time)) return 0;
    if (time >= 2147483520.0f) return INT32_MAX;
    if (time <= -2147483520.0f) return INT32_MIN;
    return static_cast<int32_t>(time);  // toward zero
}

bool isGemOrEmpty(int32_t cell) { return cell >= 0 && cell <= GemKinds; }

}  // namespace

void saveGame() {
    int32_t values[SavedGameValues];
    values[0] = static_cast<int32_t>(game.gameMode);
    values[1] = game.level;
    values[2] = wholeTime(game.timeLeft);
    values[3] = game.score;
    for (int run = 0; run < BoardRuns; ++run) {
        for (int place = 0; place < BoardRuns; ++place) {
            values[FirstBoardValue + BoardRuns * run + place] = boardCells[cellOfValue(run, place)];
        }
    }

    uint8_t bytes[SavedGameValues * 4];
    for (int i = 0; i < SavedGameValues; ++i) putInt32(bytes + 4 * i, values[i]);
    replaceFile(SavedGamePath, bytes, sizeof bytes);  // on failure the last saved game stays
}

namespace {

// The values of the saved game when the file holds a game of this program.
bool readSavedGame(int32_t values[SavedGameValues]) {
    // Exactly 85 values; one byte more shows it is not a file of this game.
    uint8_t bytes[SavedGameValues * 4 + 1];
    if (readFileStart(SavedGamePath, bytes, sizeof bytes) != SavedGameValues * 4) return false;
    for (int i = 0; i < SavedGameValues; ++i) values[i] = getInt32(bytes + 4 * i);

    const int32_t mode = values[0];
    if (mode != static_cast<int32_t>(GameMode::Levels) && mode != static_cast<int32_t>(GameMode::Timed)) return false;
    if (values[1] < 0) return false;
    // Every stored cell above the floor must be empty or a gem; the floor cell
    // (the last value) is replaced by a closed floor, so any value there will do.
    for (int i = FirstBoardValue; i < SavedGameValues - 1; ++i) {
        if (!isGemOrEmpty(values[i])) return false;
    }
    return true;
}

}  // namespace

bool savedGameRunning(GameMode* lastMode) {
    int32_t values[SavedGameValues];
    if (!readSavedGame(values)) return false;
    *lastMode = static_cast<GameMode>(values[0]);
    bool gems = false;
    for (int i = FirstBoardValue; i < SavedGameValues - 1; ++i) gems = gems || values[i] != 0;
    return gems;
}

bool restoreGame() {
    int32_t values[SavedGameValues];
    if (!readSavedGame(values)) return false;
    const int32_t mode = values[0];
    const int32_t level = values[1];

    game.gameMode = static_cast<GameMode>(mode);
    settleModeButtons();
    game.level = level;
    game.timeLeft = static_cast<float>(values[2]);
    game.score = values[3];
    scene.shownScore = static_cast<float>(game.score);
    // Where a cell is stored twice the later value stays.
    for (int run = 0; run < BoardRuns; ++run) {
        for (int place = 0; place < BoardRuns; ++place) {
            boardCells[cellOfValue(run, place)] = values[FirstBoardValue + BoardRuns * run + place];
        }
    }
    for (int column = 0; column < BoardColumns; ++column) game.board[FloorRow][column] = ClosedFloor;

    chooseBackground();
    updateLevelBounds();
    return true;
}
