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

void loadSettings();
void saveSettings();
