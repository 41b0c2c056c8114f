// The files the player owns: high scores, the saved game, the settings.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "game/game.h"

void loadHighScores();
void insertHighScore(GameMode mode);
void refreshHighScores();
void writeHighScoreFile();
void readHighScoreFile();

void saveGame();
bool restoreGame();
// Whether base/data.inf holds a game to continue: one of this program with
// gems on its board. Its mode goes into lastMode when the file is one of this
// program, running or not; otherwise lastMode is untouched.
bool savedGameRunning(GameMode* lastMode);

void loadSettings();
void saveSettings();

// While held no file is written, silently: watching a replay leaves every
// file of the player's as it was.
void holdPlayerFiles(bool held);

// Removes what an interrupted save left behind: the scratch files
// base/<file>.XXXXXX of the three player files and replays/<name>.vqr.XXXXXX
// of the replays, and nothing else.
void removeStaleScratchFiles();

// ---------------------------------------------------------------------------
// Replays: a game kept as the state it began in and the time and commands of
// each frame it was stepped, in replays/ beside base/ (*.vqr).

constexpr int ReplayFrameCommands = 64;  // the most commands one frame carries

struct ReplayCommand {
    uint8_t kind;
    int32_t x;
    int32_t y;
};

// One stepped frame: its time, the commands applied before its rules, and
// the game's mark when the frame changed it (what --check compares).
struct ReplayFrame {
    int64_t ticks;           // microseconds on the game's clock
    uint8_t clockRestarted;  // the clock started again before this frame
    uint8_t exactTime;       // its time is kept to the microsecond, else to the millisecond
    uint8_t marked;          // the mark changed on this frame...
    uint16_t mark;           // ...to this
    int32_t count;
    ReplayCommand commands[ReplayFrameCommands];
};

enum class ReplayOrigin : uint8_t { NewGame = 0, SavedGame = 1 };
enum class ReplayEnding : uint8_t { GameOver = 0, NewGame = 1, Quit = 2 };

// The state a recorded game began in: every record the rules play on, as it
// stood after the frame that began the game.
struct ReplayStart {
    ReplayOrigin origin;
    GameState game;
    TurnState turn;
    SceneState scene;
    UiState ui;  // but its window fit: the watching window has its own
    ScoreBook scoreBook;
    Settings settings;
};

// Where it ended.
struct ReplayEnd {
    ReplayEnding ending;
    GameMode mode;
    int32_t level;
    int32_t score;
    uint32_t boardDigest;
};

struct ReplayHeader {
    uint16_t rulesVersion;
    uint32_t seed;          // the run's seed of rand()
    uint64_t numbersDrawn;  // rand() numbers the run had drawn when the game began
    ReplayStart start;
    ReplayEnd end;
    uint32_t frameCount;
};

// What coding a frame carries over from the frame before it.
struct ReplayCoding {
    int64_t ticks;
    int64_t delta;
    int64_t deltaMillis;  // delta in whole milliseconds
    int32_t x;
    int32_t y;
};

// A game being recorded: its frames coded as they come.
struct ReplayRecording {
    ReplayHeader header;
    ReplayCoding coding;
    std::vector<uint8_t> frames;
    uint8_t tooLong;  // the frames outgrew the largest replay: nothing is kept
};

// A replay read from its file, checked whole; its frames are decoded in turn.
struct Replay {
    ReplayHeader header;
    std::vector<uint8_t> bytes;
    size_t framesAt;
};

struct ReplayCursor {
    size_t at;
    uint32_t frame;  // frames decoded so far
    ReplayCoding coding;
};

void startRecording(ReplayRecording* recording, const ReplayHeader& header);
void recordFrame(ReplayRecording* recording, const ReplayFrame& frame);
// The whole file of a recording whose end is set.
std::vector<uint8_t> encodeReplay(const ReplayRecording& recording);
// Replaces the file at `path` (making its folder) as the other files are
// replaced; false, with one message on stderr, when it cannot be written.
bool writeReplay(const char* path, const ReplayRecording& recording);

// False with what is wrong in `problem` ("<path>: <what>") for a file that
// cannot be read, is no replay, was made by a newer game or under other
// rules, is cut short or damaged.
bool readReplay(const char* path, Replay* replay, std::string* problem);
bool decodeReplay(std::vector<uint8_t> bytes, Replay* replay, std::string* problem);
ReplayCursor firstReplayFrame(const Replay& replay);
// The CRC-32 (as zlib's) of `size` bytes.
uint32_t checksum32(const uint8_t* bytes, size_t size);
// The next frame of a replay that was read; false after the last one.
bool nextReplayFrame(const Replay& replay, ReplayCursor* cursor, ReplayFrame* frame);
