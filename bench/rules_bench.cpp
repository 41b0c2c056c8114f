// The rules alone, without a window: one settled frame, one fall step, the
// move search, the match resolution, and loading the seven gem meshes.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "assets/assets.h"
#include "game/game.h"
#include "support/board.h"

namespace {

// A full board without a line, made from a fixed seed, with at least one move.
void settledBoard() { boards::settledBoard(7); }

// A full board on which no swap makes a line: the search runs over every cell.
void boardWithoutMoves() {
    settledBoard();
    for (int r = SpawnRow; r <= LastFieldRow; ++r)
        for (int c = 0; c < BoardColumns; ++c) game.board[r][c] = (c + 3 * r) % 7 + 1;
}

FrameInput fakeFrame{};  // 10 ms a frame over the 10-frame span

void BM_SettledFrameRules(benchmark::State& state) {
    settledBoard();
    for (auto _ : state) {
        fakeFrame.ticks += 100000;
        stepFrame(fakeFrame);
        benchmark::DoNotOptimize(game.board);
    }
    if (game.boardEvent != BoardEvent::None || turn.removing) state.SkipWithError("the board did not stay settled");
}
BENCHMARK(BM_SettledFrameRules);

void BM_FallStep(benchmark::State& state) {
    // Two holes in the field: the column above them falls one cell, the spawn row refills.
    settledBoard();
    int32_t start[BoardRows][BoardColumns];
    game.board[5][2] = 0;
    game.board[8][6] = 0;
    std::memcpy(start, game.board, sizeof start);
    for (auto _ : state) {
        std::memcpy(game.board, start, sizeof start);
        fallStep();
        benchmark::DoNotOptimize(game.board);
    }
}
BENCHMARK(BM_FallStep);

void BM_FindMoveSettled(benchmark::State& state) {
    settledBoard();
    for (auto _ : state) benchmark::DoNotOptimize(findMove());
}
BENCHMARK(BM_FindMoveSettled);

void BM_FindMoveNone(benchmark::State& state) {
    boardWithoutMoves();
    for (auto _ : state) benchmark::DoNotOptimize(findMove());
}
BENCHMARK(BM_FindMoveNone);

void BM_ResolveMatchesNone(benchmark::State& state) {
    settledBoard();
    for (auto _ : state) {
        resolveMatches(false);
        benchmark::DoNotOptimize(turn.removing);
    }
}
BENCHMARK(BM_ResolveMatchesNone);

void BM_LoadGemMeshes(benchmark::State& state) {
    if (chdir(VORTIQ_GAME_DIR) != 0) {
        state.SkipWithError("no game directory");
        return;
    }
    for (auto _ : state) {
        for (int kind = 1; kind <= GemKinds; ++kind) loadGemMesh(kind);
        benchmark::DoNotOptimize(gemMeshes[GemKinds].vertexCount);
    }
}
BENCHMARK(BM_LoadGemMeshes)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
