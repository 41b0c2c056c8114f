// Every game recorded, and recorded games played again: where a game begins
// and ends as the rules see it, the files in replays/ (the last game, and
// the game behind each high-score entry), the playback and the check.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "game/game.h"
#include "persist/persist.h"

constexpr const char* LastReplayPath = "replays/last.vqr";

// ---------------------------------------------------------------------------
// Recording: the shell reports each frame it stepped, and the files.

// After each frame's step, with the input it was given: a game that began in
// the frame starts a recording, a game that ended is written.
void recordStep(const FrameInput& input);
// What the rules reach through their hooks in a game that is recorded: the
// saved game continued (false when there is none), and the typed name put
// into its table and the file, the running game's replay kept with the entry.
bool continueRecordedGame();
void enterRecordedHighScore(GameMode mode);
// The program ends: the running game is written as it stood after the last frame.
void finishRecordingAtQuit();

// The file of a high-score entry's game (it may not exist).
std::string entryReplayPath(GameMode mode, const HighScoreEntry& entry);

// ---------------------------------------------------------------------------
// Playing back

// The rules' state and the dice as the recorded game began (the window's
// fit stays), with the player's files held: a name typed in the recorded game
// goes into the table shown, and into no file.
void startPlayback(const Replay& replay);
// The input of the next recorded frame; false after the last.
bool nextPlaybackInput(const Replay& replay, ReplayCursor* cursor, FrameInput* input, ReplayFrame* frame);

// What a recorded frame's mark compares: the board, score, level, mode and screen.
uint16_t stateMark();
// The board's cells, every row, as a CRC-32.
uint32_t boardDigest();

// Plays the file through the rules alone and prints where it ended to `out`:
// 0 when it ends where the file says, 1 when elsewhere, 2 when unreadable
// (what is wrong goes to `err`).
int checkReplay(const char* path, std::FILE* out, std::FILE* err);
