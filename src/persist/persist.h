// The files the player owns: high scores, the saved game, the settings.
#pragma once

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

// Removes what an interrupted save left behind: the scratch files
// base/<file>.XXXXXX of the three player files, and nothing else.
void removeStaleScratchFiles();
