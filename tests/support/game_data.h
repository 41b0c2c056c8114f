// The game's generated data in a test's own base/ folder.
#pragma once

#include <string>

// Every file and folder of the build's base/ linked into baseDir, but the
// player's files, which the game writes: the high-score table is copied, the
// saved game and the settings are left out. False when the data has not been
// generated or a link or the copy could not be made.
bool linkGameData(const std::string& baseDir);
