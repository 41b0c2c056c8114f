// Every game is recorded from the state it stood in after the frame that
// began it (a new game, or the saved game continued) to where it ended: the
// high-score screen after its game over, the frame before the next game
// began, or the last frame before the program ended. The last game goes to
// replays/last.vqr; a game that put a name into a high-score table also to
// the file of that entry, kept while the entry stays in the table.
#include <cstdio>
#include <cstring>
#include <string>

#include <dirent.h>
#include <unistd.h>

#include "replay/replay.h"

namespace {

struct Recorder {
    ReplayRecording recording;
    uint8_t running;         // a game is being recorded
    uint8_t continued;       // the game being begun continues the saved game
    uint8_t gameOverSeen;    // its game over has come
    uint8_t entryMade;       // its score went into a table...
    GameMode entryMode;
    HighScoreEntry entry;    // ...as this entry
    ReplayFrame held;        // the last frame, kept until the next says how exact its time must be
    uint8_t holding;
    int64_t lastTicks;       // the last frame's time as it came
    uint32_t gamesBegun;     // the rules' count after the last frame
    uint16_t mark;           // the mark after the last frame
    ReplayEnd lastEnd;       // where the game stood after the last frame
};
Recorder recorder;

ReplayEnd endNow(ReplayEnding ending) {
    return ReplayEnd{ending, game.gameMode, game.level, game.score, boardDigest()};
}

void begin() {
    ReplayHeader header{};
    header.rulesVersion = RulesVersion;
    header.seed = dice.seed;
    header.numbersDrawn = dice.drawn;
    header.start = ReplayStart{recorder.continued ? ReplayOrigin::SavedGame : ReplayOrigin::NewGame,
                               game, turn, scene, ui, scoreBook, settings};
    startRecording(&recorder.recording, header);
    recorder.running = 1;
    recorder.gameOverSeen = 0;
    recorder.entryMade = 0;
    recorder.mark = stateMark();
    recorder.lastEnd = endNow(ReplayEnding::Quit);
}

std::string modeName(GameMode mode) { return mode == GameMode::Timed ? "timed" : "levels"; }

bool isEntryReplay(const char* name) {
    const size_t length = std::strlen(name);
    return length > 4 && std::strcmp(name + length - 4, ".vqr") == 0 &&
           (std::strncmp(name, "levels-", 7) == 0 || std::strncmp(name, "timed-", 6) == 0);
}

// Entry files whose entry left the tables go with it.
void removeReplaysOfLostEntries() {
    DIR* folder = opendir("replays");
    if (!folder) return;
    while (const dirent* file = readdir(folder)) {
        if (!isEntryReplay(file->d_name)) continue;
        const std::string path = std::string("replays/") + file->d_name;
        bool kept = false;
        for (int mode = 0; mode < 2 && !kept; ++mode)
            for (const HighScoreEntry& entry : scoreBook.highScores[mode].entries)
                if (entryReplayPath(static_cast<GameMode>(mode), entry) == path) kept = true;
        if (!kept) unlink(path.c_str());
    }
    closedir(folder);
}

void finish(const ReplayEnd& end) {
    if (recorder.holding) recordFrame(&recorder.recording, recorder.held);
    recorder.holding = 0;
    recorder.running = 0;
    recorder.recording.header.end = end;
    writeReplay(LastReplayPath, recorder.recording);
    if (recorder.entryMade) {
        writeReplay(entryReplayPath(recorder.entryMode, recorder.entry).c_str(), recorder.recording);
        removeReplaysOfLostEntries();
    }
    startRecording(&recorder.recording, ReplayHeader{});  // its memory goes
    recorder.recording.frames.shrink_to_fit();
}

// The rules read a frame's time to the microsecond only where a speed
// measurement begins or ends, and where a frame is long enough to count for
// less than it took (its own time and the one before it). Every other
// frame's time is kept to the millisecond: most frames then take a byte.
constexpr int64_t NearlyLongest = LongestFrameTicks - 5000;

void addFrame(const FrameInput& input) {
    ReplayFrame frame;
    frame.ticks = input.ticks;
    frame.clockRestarted = input.clockRestarted;
    const bool first = recorder.recording.header.frameCount == 0 && !recorder.holding;
    const bool longFrame = !first && input.ticks - recorder.lastTicks > NearlyLongest;
    recorder.lastTicks = input.ticks;
    frame.exactTime = first || longFrame || input.clockRestarted || scene.measureCount <= 1;
    if (recorder.holding) {
        if (longFrame) recorder.held.exactTime = 1;
        recordFrame(&recorder.recording, recorder.held);
    }
    const uint16_t mark = stateMark();
    frame.marked = mark != recorder.mark;
    frame.mark = mark;
    recorder.mark = mark;
    frame.count = input.count < ReplayFrameCommands ? input.count : ReplayFrameCommands;
    for (int i = 0; i < frame.count; ++i)
        frame.commands[i] = ReplayCommand{static_cast<uint8_t>(input.commands[i].kind), input.commands[i].x,
                                          input.commands[i].y};
    recorder.held = frame;
    recorder.holding = 1;
}

}  // namespace

std::string entryReplayPath(GameMode mode, const HighScoreEntry& entry) {
    // The name without its free places; any character but a letter or a
    // digit as %XX, so that every name makes a file name of its own.
    std::string name;
    size_t length = strnlen(entry.name, sizeof entry.name);
    while (length > 0 && entry.name[length - 1] == FreeNamePlace) --length;
    for (size_t i = 0; i < length; ++i) {
        const unsigned char c = static_cast<unsigned char>(entry.name[i]);
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        char escaped[4];
        std::snprintf(escaped, sizeof escaped, "%%%02X", c);
        name += plain ? std::string(1, static_cast<char>(c)) : std::string(escaped);
    }
    return "replays/" + modeName(mode) + "-" + std::to_string(entry.score) + "-" + name + ".vqr";
}

bool continueRecordedGame() {
    if (!restoreGame()) return false;
    recorder.continued = 1;
    return true;
}

void enterRecordedHighScore(GameMode mode) {
    const HighScoreTable before = scoreBook.highScores[static_cast<int>(mode) & 1];
    insertHighScore(mode);
    refreshHighScores();
    // The entry made is the first place where the table changed.
    const HighScoreTable& after = scoreBook.highScores[static_cast<int>(mode) & 1];
    for (int i = 0; i < HighScoreEntries; ++i) {
        const HighScoreEntry& was = before.entries[i];
        const HighScoreEntry& is = after.entries[i];
        if (was.score == is.score && std::strcmp(was.name, is.name) == 0) continue;
        recorder.entryMade = 1;
        recorder.entryMode = mode;
        recorder.entry = is;
        return;
    }
}

void recordStep(const FrameInput& input) {
    const bool begun = game.gamesBegun != recorder.gamesBegun;
    recorder.gamesBegun = game.gamesBegun;
    if (recorder.running && begun) finish(recorder.lastEnd);  // ended by the next game, before this frame
    if (recorder.running) {
        addFrame(input);
        if (gameOverRunning()) recorder.gameOverSeen = 1;
        recorder.lastEnd = endNow(ReplayEnding::NewGame);
        if (recorder.gameOverSeen && ui.screen == Screen::HighScores) finish(endNow(ReplayEnding::GameOver));
    }
    if (begun) {
        begin();
        recorder.continued = 0;
    }
}

void finishRecordingAtQuit() {
    if (!recorder.running) return;
    ReplayEnd end = recorder.lastEnd;
    end.ending = ReplayEnding::Quit;
    finish(end);
}
