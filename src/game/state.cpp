// The shared state, its program-load values, the level table and the set-up
// of a new game.
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>

#include "game/game.h"

namespace {

GameState loadGameState() {
    GameState g{};
    g.fallOffset = -1.0f;
    return g;
}

ScoreBook loadScoreBook() {
    ScoreBook b{};
    b.entryCursor = 1;
    return b;
}

UiState loadUiState() {
    UiState u{};
    u.keyCursor = Cell{0, FirstFieldRow};
    return u;
}

}  // namespace

GameState game = loadGameState();
TurnState turn{};
SceneState scene{};
UiState ui = loadUiState();
ScoreBook scoreBook = loadScoreBook();
Settings settings{};
FrameView frameView{};
Dice dice{};
StepHooks stepHooks{};

const LevelBounds LevelTable[LevelCount] = {
    {0, 500},          {500, 1500},       {1500, 3000},      {3000, 5500},      {5500, 8000},
    {8000, 12000},     {12000, 16000},    {16000, 21000},    {21000, 27000},    {27000, 34000},
    {34000, 45000},    {45000, 55000},    {55000, 70000},    {70000, 90000},    {90000, 115000},
    {115000, 155000},  {155000, 190000},  {190000, 250000},  {250000, 350000},  {350000, 500000},
    {500000, 1000000},
};

void resetGameState() {
    game = loadGameState();
    turn = TurnState{};
    scene = SceneState{};
    ui = loadUiState();
    scoreBook = loadScoreBook();
    settings = Settings{};
    frameView = FrameView{};
    dice = Dice{};
}

void seedRandom() {
    unsigned seed = static_cast<unsigned>(time(nullptr));
    if (const char* text = getenv("VORTIQ_SEED")) {
        char* end = nullptr;
        errno = 0;
        long long value = strtoll(text, &end, 10);
        bool number = end != text && errno == 0;
        while (number && (*end == ' ' || *end == '\t' || *end == '\n')) ++end;
        if (number && *end == '\0') seed = static_cast<unsigned>(value);
    }
    seedDice(seed);
}

void seedDice(uint32_t seed) {
    srand(seed);
    dice = Dice{seed, 0, 0};
}

void restoreDice(uint32_t seed, uint64_t drawn) {
    seedDice(seed);
    for (uint64_t n = 0; n < drawn; ++n) drawRandom();
}

int drawRandom() {
    ++dice.drawn;
    return rand();
}

int32_t randomGem() { return drawRandom() % 7 + 1; }

// Above the last row of the table every level spans 500000 points, starting
// where the one before ended. The bounds stop growing where the target would
// no longer fit in 32 bits.
void updateLevelBounds() {
    if (!levelsModeRunning()) return;
    if (game.level < 0) return;
    if (game.level < LevelCount) {
        game.levelBase = LevelTable[game.level].levelBase;
        game.levelTarget = LevelTable[game.level].levelTarget;
        return;
    }
    const int64_t span = 500000;
    const int64_t lastTarget = LevelTable[LevelCount - 1].levelTarget;
    int64_t above = static_cast<int64_t>(game.level) - (LevelCount - 1);
    const int64_t mostAbove = (INT32_MAX - lastTarget) / span;
    if (above > mostAbove) above = mostAbove;
    game.levelBase = static_cast<int32_t>(lastTarget + (above - 1) * span);
    game.levelTarget = static_cast<int32_t>(lastTarget + above * span);
}

void chooseBackground() {
    game.backgroundKind = drawRandom() % 6;
    if (game.level >= 0 && game.level <= 5) game.backgroundKind = game.level;
}

void settleModeButtons() {
    ui.modeAButton = levelsModeRunning() ? ButtonPressed : ButtonNormal;
    ui.modeBButton = timedModeRunning() ? ButtonPressed : ButtonNormal;
}

void startLevel() {
    updateLevelBounds();
    game.playerMoved = 0;
    game.comboCount = 0;
    game.barLength = 0.0f;
    game.timeLeft = timedModeRunning() ? TimedModeTime : 0.0f;
    chooseBackground();
    placeKeyCursorAtStart();
}

void newGame() {
    dice.drawnAtNewGame = dice.drawn;
    ++game.gamesBegun;
    for (int r = SpawnRow; r <= LastFieldRow; ++r)
        for (int c = 0; c < BoardColumns; ++c) game.board[r][c] = 0;
    game.score = 0;
    scene.shownScore = 0.0f;
    game.level = 0;
    startLevel();
    // The selection and its spins end; a running swap or removal goes on.
    turn.firstSelected = turn.secondSelected = 0;
    turn.spinning = turn.prevSpinning = 0;
    // The old game's pause, banner and event end with it.
    ui.paused = 0;
    game.boardEvent = BoardEvent::None;
    game.gameOverDrain = 0;
    game.gameOverPending = 0;
    game.finished = 0;
    scene.bannerProgress = 0.0f;
    scene.bannerAlpha = 0.0f;
}

void noteEndedGame() {
    scoreBook.ended = EndedGame{1, game.gameMode, game.score, NoEnteredRow};
}

int32_t markedRow(GameMode mode) {
    const EndedGame& ended = scoreBook.ended;
    if (!ended.shown || ended.mode != mode || ended.enteredRow < 0 || ended.enteredRow >= HighScoreEntries)
        return NoEnteredRow;
    if (mode != GameMode::Levels && mode != GameMode::Timed) return NoEnteredRow;
    const HighScoreEntry& entry = scoreBook.highScores[static_cast<int>(mode)].entries[ended.enteredRow];
    return entry.score == ended.score ? ended.enteredRow : NoEnteredRow;
}

float counterShows() {
    if (ui.screen == Screen::HighScores && scoreBook.ended.shown) return static_cast<float>(scoreBook.ended.score);
    return scene.shownScore;
}

bool madeHighScore() {
    if (game.gameMode != GameMode::Levels && game.gameMode != GameMode::Timed) return false;
    const HighScoreTable& table = scoreBook.highScores[static_cast<int>(game.gameMode)];
    return game.score > table.entries[HighScoreEntries - 1].score;
}
