// The name entry of a new high score: letters into the free places of the
// name, Backspace, and the end of the entry.
#include "game/game.h"

namespace {

constexpr int NamePlaces = 9;     // the places of a name; the tenth byte ends it
constexpr int LowerCaseStep = 32;  // from an upper-case letter's code to its lower-case one

bool entryRuns() { return ui.screen == Screen::NameEntry; }

}  // namespace

bool typeNameLetter(int code) {
    if (!entryRuns() || scoreBook.entryCursor > NamePlaces) return false;
    const bool first = scoreBook.entryCursor == 1;
    scoreBook.entryName[scoreBook.entryCursor - 1] = static_cast<char>(first ? code : code + LowerCaseStep);
    ++scoreBook.entryCursor;
    return true;
}

bool eraseNameLetter() {
    if (!entryRuns() || scoreBook.entryCursor <= 1) return false;
    --scoreBook.entryCursor;
    scoreBook.entryName[scoreBook.entryCursor - 1] = FreeNamePlace;
    return true;
}

bool finishNameEntry() {
    if (!entryRuns()) return false;
    ui.screen = Screen::HighScores;
    return true;
}
