// The two high-score tables and base/hiscores: ten records of a nine-byte
// name and a 4-byte score, the levels table first.

#include <cstring>

#include "persist/persist_local.h"

namespace {


HighScoreEntry& entryAt(int record) {
    return scoreBook.highScores[record / HighScoreEntries].entries[record % HighScoreEntries];
}

void clearEntryName() {
    std::memset(scoreBook.entryName, FreeNamePlace, HighScoreNameBytes);
    scoreBook.entryName[HighScoreNameBytes] = '\0';
}

// Best first by exchange; equal scores keep their order against each other.
void sortTable(HighScoreTable& table) {
    for (int i = 0; i < HighScoreEntries - 1; ++i) {
        for (int j = i + 1; j < HighScoreEntries; ++j) {
            if (table.entries[i].score < table.entries[j].score) {
                HighScoreEntry swap = table.entries[i];
                table.entries[i] = table.entries[j];
                table.entries[j] = swap;
            }
        }
    }
}

}  // namespace

void encodeHighScores(uint8_t bytes[HighScoreFileBytes]) {
    for (int record = 0; record < 2 * HighScoreEntries; ++record) {
        const HighScoreEntry& entry = entryAt(record);
        uint8_t* out = bytes + record * HighScoreRecordBytes;
        // A name shorter than nine characters would shift every later record
        // on the next read, and a line feed would end the name early: both
        // are written as free places.
        bool ended = false;
        for (int i = 0; i < HighScoreNameBytes; ++i) {
            if (entry.name[i] == '\0') ended = true;
            char c = ended ? FreeNamePlace : entry.name[i];
            out[i] = static_cast<uint8_t>(c == '\n' ? FreeNamePlace : c);
        }
        putInt32(out + HighScoreNameBytes, entry.score);
    }
}

bool storeHighScores() {
    uint8_t bytes[HighScoreFileBytes];
    encodeHighScores(bytes);
    return replaceFile(HighScorePath, bytes, sizeof bytes);
}

void writeHighScoreFile() {
    storeHighScores();
}

void readHighScoreFile() {
    // No record takes more than 13 bytes, so the first 130 hold all ten.
    uint8_t bytes[HighScoreFileBytes];
    long size = readFileStart(HighScorePath, bytes, sizeof bytes);
    if (size < 0) return;  // no file: the tables stay as they are, the next write makes it

    // A record counts only when the file holds it whole: the name (up to nine
    // bytes, ending early after a line feed) and its 4-byte score. The
    // records that a short file cuts off keep the entries they had, as
    // with no file at all.
    long at = 0;
    for (int record = 0; record < 2 * HighScoreEntries; ++record) {
        char name[HighScoreNameBytes + 1] = {};
        int length = 0;
        while (length < HighScoreNameBytes && at < size) {
            char c = static_cast<char>(bytes[at++]);
            name[length++] = c;
            if (c == '\n') break;
        }
        if (at + 4 > size) return;
        HighScoreEntry& entry = entryAt(record);
        std::memset(entry.name, 0, sizeof entry.name);
        std::memcpy(entry.name, name, sizeof name);
        entry.score = getInt32(bytes + at);
        at += 4;
    }
}

void refreshHighScores() {
    sortTable(scoreBook.highScores[static_cast<int>(GameMode::Levels)]);
    sortTable(scoreBook.highScores[static_cast<int>(GameMode::Timed)]);
    // The tables are read back only from a file that now holds them: when the
    // write failed, the file is older than the tables and would undo a new entry.
    if (storeHighScores()) readHighScoreFile();
}

void loadHighScores() {
    readHighScoreFile();
    refreshHighScores();
}

void insertHighScore(GameMode mode) {
    int table = static_cast<int>(mode);
    if (table == 0 || table == 1) {
        HighScoreEntry* entries = scoreBook.highScores[table].entries;
        for (int i = 0; i < HighScoreEntries; ++i) {
            if (game.score <= entries[i].score) continue;
            for (int j = HighScoreEntries - 1; j > i; --j) entries[j] = entries[j - 1];

            HighScoreEntry& entry = entries[i];
            std::memset(entry.name, 0, sizeof entry.name);
            std::memcpy(entry.name, scoreBook.entryName, HighScoreNameBytes);
            // The places after the typed letters are free places, also when
            // they were typed into the zeroed buffer of the first entry of a run.
            int cursor = scoreBook.entryCursor;
            if (cursor < 1) cursor = 1;
            for (int k = cursor - 1; k < HighScoreNameBytes; ++k) entry.name[k] = FreeNamePlace;
            // Only letters up to the cursor count: a zero byte among them would
            // cut the name short on disk.
            for (int k = 0; k < HighScoreNameBytes; ++k) {
                if (entry.name[k] == '\0') entry.name[k] = FreeNamePlace;
            }
            entry.score = game.score;
            if (scoreBook.ended.shown && scoreBook.ended.mode == mode) scoreBook.ended.enteredRow = i;
            break;
        }
    }
    clearEntryName();
    scoreBook.entryCursor = 1;
    writeHighScoreFile();
}
