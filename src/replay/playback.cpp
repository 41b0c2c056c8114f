// A recorded game played again: its start put into the rules' state and the
// dice, then each recorded frame's time and commands stepped in turn.
#include <cstring>
#include <string>
#include <vector>

#include "replay/replay.h"

namespace {

void enterHighScoreShown(GameMode mode) {
    insertHighScore(mode);
    refreshHighScores();
}

const char* modeName(GameMode mode) { return mode == GameMode::Timed ? "timed" : "levels"; }

void printEnd(std::FILE* out, const char* what, const ReplayEnd& end) {
    std::fprintf(out, "%s: mode %s, level %d, score %d, board %08x\n", what, modeName(end.mode), end.level, end.score,
                 end.boardDigest);
}

}  // namespace

uint16_t stateMark() {
    std::vector<uint8_t> bytes(sizeof game.board + 4 * sizeof(int32_t));
    std::memcpy(bytes.data(), game.board, sizeof game.board);
    const int32_t more[4] = {game.score, game.level, static_cast<int32_t>(game.gameMode), static_cast<int32_t>(ui.screen)};
    std::memcpy(bytes.data() + sizeof game.board, more, sizeof more);
    return static_cast<uint16_t>(checksum32(bytes.data(), bytes.size()));
}

uint32_t boardDigest() {
    return checksum32(reinterpret_cast<const uint8_t*>(game.board), sizeof game.board);
}

void startPlayback(const Replay& replay) {
    const ReplayStart& start = replay.header.start;
    const ScreenFit fit = ui.fit;
    game = start.game;
    turn = start.turn;
    scene = start.scene;
    ui = start.ui;
    ui.fit = fit;
    scoreBook = start.scoreBook;
    settings = start.settings;
    frameView = FrameView{};
    restoreDice(replay.header.seed, replay.header.numbersDrawn);
    holdPlayerFiles(true);
    stepHooks = StepHooks{nullptr, enterHighScoreShown, nullptr};
}

bool nextPlaybackInput(const Replay& replay, ReplayCursor* cursor, FrameInput* input, ReplayFrame* frame) {
    if (!nextReplayFrame(replay, cursor, frame)) return false;
    input->ticks = frame->ticks;
    input->clockRestarted = frame->clockRestarted;
    input->count = frame->count < MostFrameCommands ? frame->count : MostFrameCommands;
    for (int i = 0; i < input->count; ++i) {
        const ReplayCommand& command = frame->commands[i];
        // A kind this game does not know does nothing.
        const bool known = command.kind <= static_cast<uint8_t>(CommandKind::Layout);
        input->commands[i] = Command{known ? static_cast<CommandKind>(command.kind) : CommandKind::None, command.x,
                                     command.y};
    }
    return true;
}

int checkReplay(const char* path, std::FILE* out, std::FILE* err) {
    Replay replay;
    std::string problem;
    if (!readReplay(path, &replay, &problem)) {
        std::fprintf(err, "vortiq: %s\n", problem.c_str());
        return 2;
    }
    resetGameState();
    startPlayback(replay);
    uint16_t expected = stateMark();
    uint32_t frames = 0, firstDiffering = 0;
    int64_t playedMicros = 0, lastTicks = 0;  // microseconds of play: the rests between frames left out
    ReplayCursor cursor = firstReplayFrame(replay);
    FrameInput input;
    ReplayFrame frame;
    while (nextPlaybackInput(replay, &cursor, &input, &frame)) {
        if (frames++ > 0 && !input.clockRestarted) playedMicros += input.ticks - lastTicks;
        lastTicks = input.ticks;
        stepFrame(input);
        if (frame.marked) expected = frame.mark;
        if (!firstDiffering && stateMark() != expected) firstDiffering = frames;
    }
    const ReplayEnd& recorded = replay.header.end;
    const ReplayEnd played{recorded.ending, game.gameMode, game.level, game.score, boardDigest()};
    printEnd(out, "ended", played);
    std::fprintf(out, "%u frames, %.1f s of play\n", frames, static_cast<double>(playedMicros) / 1e6);
    const bool sameEnd = played.mode == recorded.mode && played.level == recorded.level &&
                         played.score == recorded.score && played.boardDigest == recorded.boardDigest;
    if (sameEnd && !firstDiffering) return 0;
    printEnd(out, "recorded", recorded);
    std::fprintf(out, "%s: the game ends elsewhere than recorded; frame %u of %u is the first that differs\n", path,
                 firstDiffering ? firstDiffering : frames, frames);
    return 1;
}
