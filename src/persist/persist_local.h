// What only the persistence folder uses: the paths of the player's files and
// the safe way of reading and replacing them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "persist/persist.h"

constexpr const char* HighScorePath = "base/hiscores";
constexpr const char* SavedGamePath = "base/data.inf";
constexpr const char* SettingsPath = "base/menu.inf";

constexpr int HighScoreNameBytes = 9;
constexpr int HighScoreRecordBytes = HighScoreNameBytes + 4;
constexpr int HighScoreFileBytes = 2 * HighScoreEntries * HighScoreRecordBytes;  // 130

constexpr int SavedGameValues = 85;
constexpr int SavedBoardValues = 81;
constexpr int SettingsValues = 3;

// Replaces the file at `path` with `size` bytes of `data` as one step: the
// bytes go to a new file in the same folder, are flushed to the disk, and
// the new file is renamed over the old one. Returns false, with the old file
// as it was, when any step fails (no room, no such folder, a folder in the
// way, a file the player made read-only). In a folder that takes no new file
// an existing file is written where it is, and its old bytes are put back
// when that write fails.
bool replaceFile(const char* path, const void* data, size_t size);

// Makes the folder `path` lies in when it is missing; false, with one
// message naming the file that cannot be saved, when it cannot be made.
bool makeFolderFor(const char* path);

// Reads at most `capacity` bytes from the start of the file at `path`.
// Returns how many were read, or -1 when the file cannot be opened or read
// (missing, a folder, no permission).
long readFileStart(const char* path, void* buffer, size_t capacity);

// The whole file at `path` when it holds at most `limit` bytes. False with
// errno's reason in `error` when it cannot be read, with EFBIG when it is longer.
bool readWholeFile(const char* path, size_t limit, std::vector<uint8_t>* bytes, int* error);

// 32-bit signed values, least significant byte first.
void putInt32(uint8_t* bytes, int32_t value);
int32_t getInt32(const uint8_t* bytes);

// The high-score tables as the file holds them, always 130 bytes: each name
// is written as exactly nine bytes, so that every record reads back whole.
void encodeHighScores(uint8_t bytes[HighScoreFileBytes]);
// Writes the tables; false when the file could not be replaced.
bool storeHighScores();

// A replay file, little-endian: "VQRP", the format and rules versions (2
// bytes each), the file's length and the seed (4 each), the numbers drawn
// (8), the start and the end, the frame count, the frames, and a CRC-32 of
// everything before it.
constexpr uint8_t ReplayMagic[4] = {'V', 'Q', 'R', 'P'};
constexpr uint16_t ReplayFormatVersion = 1;
constexpr size_t ReplayLengthAt = 8;
constexpr size_t ReplayFixedBytes = 24;  // up to the start
constexpr size_t ReplayChecksumBytes = 4;
constexpr size_t MaxReplayBytes = size_t{64} << 20;  // some 150 hours of play
// More would take the check too long to draw before the game's first frame.
constexpr uint64_t MaxNumbersDrawn = uint64_t{1} << 28;

// Whether the replay's record layouts still describe the rules' records.
bool replayLayoutsHold();

// Puts the file's length and its checksum into a replay's bytes.
void sealReplay(std::vector<uint8_t>* bytes);
