// base/hiscores of any content: the tables read from it are sorted and
// written back as a file that reads back to the same tables.
#include <cstdint>
#include <string>

#include "game/game.h"
#include "persist/persist.h"
#include "scratch.h"

namespace {

bool tablesSorted() {
    for (const HighScoreTable& table : scoreBook.highScores)
        for (int i = 1; i < HighScoreEntries; ++i)
            if (table.entries[i - 1].score < table.entries[i].score) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    enterScratchFolder();
    resetGameState();
    writeBaseFile("hiscores", data, size);
    loadHighScores();
    FUZZ_EXPECT(tablesSorted());
    const std::string written = readBaseFile("hiscores");
    FUZZ_EXPECT(written.size() == 2 * HighScoreEntries * 13);

    // What the game wrote reads back to the same file.
    readHighScoreFile();
    FUZZ_EXPECT(tablesSorted());
    writeHighScoreFile();
    FUZZ_EXPECT(readBaseFile("hiscores") == written);

    // A new entry of the score 0 into the levels table keeps the order.
    game.score = 0;
    scoreBook.entryCursor = 1 + static_cast<int32_t>(size % 10);
    insertHighScore(GameMode::Levels);
    FUZZ_EXPECT(tablesSorted());
    FUZZ_EXPECT(readBaseFile("hiscores").size() == written.size());
    return 0;
}
