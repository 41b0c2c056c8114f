// Replays: a recorded game reads back frame for frame, and every bad file is
// refused with a message that names it and says what is wrong.

#include <cstdlib>
#include <functional>

#include "persist/persist_local.h"
#include "persist_fixture.h"

namespace {

const char* const Path = "replays/game.vqr";

// Frame i of ten minutes of play at 60 frames a second with 0.3 ms of jitter
// (two frames in eleven kept to the microsecond), a click every two seconds,
// a mark every fifth frame, and the clock started again once.
ReplayFrame frameOf(int i, int64_t* ticks) {
    ReplayFrame frame{};
    *ticks += 16667 + (i * 7919) % 601 - 300 + (i == 1000 ? 3000000 : 0);
    frame.ticks = *ticks;
    frame.exactTime = i % 11 < 2;
    frame.clockRestarted = i == 1000;
    frame.marked = i % 5 == 0;
    frame.mark = frame.marked ? static_cast<uint16_t>(i * 31) : 0;
    if (i % 120 == 0) frame.commands[frame.count++] = ReplayCommand{1, i % 8, 1 + i % 7};
    if (i % 240 == 0) frame.commands[frame.count++] = ReplayCommand{2, -i, 1 << 30};
    return frame;
}

// A timed game continued at level 3.
ReplayRecording tenMinutes(int frames = 36000) {
    ReplayHeader header{};
    header.rulesVersion = RulesVersion;
    resetGameState();
    game.gameMode = GameMode::Timed;
    game.level = 3;
    scene.measureStart = -5;
    for (int row = 0; row < BoardRows; ++row)
        for (int column = 0; column < BoardColumns; ++column)
            game.board[row][column] = row == FloorRow ? ClosedFloor : (row * 3 + column) % 8;
    header.start = ReplayStart{ReplayOrigin::SavedGame, game, turn, scene, ui, scoreBook, settings};
    header.end = ReplayEnd{ReplayEnding::GameOver, GameMode::Timed, 5, 9000, 0xdeadbeef};
    ReplayRecording recording;
    startRecording(&recording, header);
    int64_t ticks = 5000000000;
    for (int i = 0; i < frames; ++i) recordFrame(&recording, frameOf(i, &ticks));
    return recording;
}

TEST_F(PersistTest, TenMinutesOfPlayReadBackFrameForFrameInUnder100KB) {
    const ReplayRecording recording = tenMinutes();
    ASSERT_TRUE(writeReplay(Path, recording));
    EXPECT_LT(readBytes(Path).size(), 100u * 1000);

    Replay replay;
    std::string problem;
    ASSERT_TRUE(readReplay(Path, &replay, &problem)) << problem;
    EXPECT_TRUE(replayLayoutsHold());
    EXPECT_EQ(replay.header.start.game.board[2][5], 3);
    EXPECT_EQ(replay.header.start.scene.measureStart, -5);
    EXPECT_EQ(replay.header.end.boardDigest, 0xdeadbeef);
    ReplayCursor cursor = firstReplayFrame(replay);
    ReplayFrame frame;
    int64_t ticks = 5000000000;
    for (int i = 0; i < 36000; ++i) {
        const ReplayFrame expected = frameOf(i, &ticks);
        ASSERT_TRUE(nextReplayFrame(replay, &cursor, &frame));
        ASSERT_LE(std::abs(frame.ticks - expected.ticks), expected.exactTime ? 0 : 500) << i;
        ASSERT_EQ(frame.exactTime, expected.exactTime);
        ASSERT_EQ(frame.clockRestarted, expected.clockRestarted);
        ASSERT_EQ(frame.mark, expected.mark);
        ASSERT_EQ(frame.count, expected.count) << i;
        for (int c = 0; c < frame.count; ++c)
            ASSERT_EQ(frame.commands[c].y, expected.commands[c].y) << i;
    }
    EXPECT_FALSE(nextReplayFrame(replay, &cursor, &frame));
}

struct BadFile {
    const char* what;
    std::function<void(ReplayRecording&)> recorded;  // a change before the file is made
    std::function<void(Bytes&)> written;             // a change after
    const char* message;
};

void reseal(Bytes& bytes) { sealReplay(&bytes); }

TEST_F(PersistTest, EveryBadReplayIsRefusedWithItsNameAndWhatIsWrong) {
    const BadFile rows[] = {
        {"empty", nullptr, [](Bytes& b) { b.clear(); }, "is empty"},
        {"cut short", nullptr, [](Bytes& b) { b.resize(b.size() - 9); }, "is cut short: it holds"},
        {"only a start", nullptr, [](Bytes& b) { b.resize(12); }, "is cut short: 12 bytes"},
        {"longer", nullptr, [](Bytes& b) { b.push_back(0); }, "has 1 bytes more than"},
        {"wrong magic", nullptr, [](Bytes& b) { b[0] = 'P'; }, "is not a Vortiq replay"},
        {"newer format", nullptr, [](Bytes& b) { b[4] = ReplayFormatVersion + 1; }, "newer Vortiq (replay format 2"},
        {"older rules", nullptr, [](Bytes& b) { b[6] = RulesVersion - 1; }, "older rules (version 1"},
        {"newer rules", nullptr, [](Bytes& b) { b[6] = RulesVersion + 1; }, "newer rules"},
        {"flipped byte", nullptr, [](Bytes& b) { b[b.size() / 2] ^= 4; }, "checksum does not match"},
        {"noise", nullptr, [](Bytes& b) { for (size_t i = 0; i < b.size(); ++i) b[i] = uint8_t(i * 13 ^ 0x5a); },
         "is not a Vortiq replay"},
        {"noise behind the header", nullptr,
         [](Bytes& b) { for (size_t i = 24; i < b.size(); ++i) b[i] = uint8_t(i * 13); reseal(b); }, "is damaged"},
        {"frames beyond the file", [](ReplayRecording& r) { r.header.frameCount = r.frames.size() + 1; }, nullptr,
         "frames, more than its"},
        {"a frame beyond the file", [](ReplayRecording& r) { r.header.frameCount += 1; }, nullptr,
         "runs past the end"},
        {"bytes after the frames", [](ReplayRecording& r) { r.header.frameCount -= 1; }, nullptr, "follow its last"},
        {"no gem", [](ReplayRecording& r) { r.header.start.game.board[3][4] = 12; }, nullptr, "starting state is not"},
        {"no screen", [](ReplayRecording& r) { r.header.start.ui.screen = Screen(4); }, nullptr, "starting state is not"},
        {"numbers drawn", [](ReplayRecording& r) { r.header.numbersDrawn = ~0ull; }, nullptr, "numbers were drawn"},
    };
    for (const BadFile& row : rows) {
        ReplayRecording recording = tenMinutes(50);
        if (row.recorded) row.recorded(recording);
        ASSERT_TRUE(writeReplay(Path, recording));
        Bytes bytes = readBytes(Path);
        if (row.written) row.written(bytes);
        ASSERT_TRUE(writeBytes(Path, bytes));
        Replay replay;
        std::string problem;
        EXPECT_FALSE(readReplay(Path, &replay, &problem)) << row.what;
        EXPECT_EQ(problem.rfind(std::string(Path) + ": ", 0), 0u) << problem;
        EXPECT_NE(problem.find(row.message), std::string::npos) << row.what << ": " << problem;
    }
    Replay replay;
    std::string problem;
    EXPECT_FALSE(readReplay("replays", &replay, &problem));
    EXPECT_NE(problem.find("cannot be read"), std::string::npos) << problem;
    ASSERT_EQ(truncate(Path, MaxReplayBytes + 1), 0);  // sparse: no room taken
    EXPECT_FALSE(readReplay(Path, &replay, &problem));
    EXPECT_NE(problem.find("is larger than any replay"), std::string::npos) << problem;
    EXPECT_TRUE(baseEntries().empty());
}

TEST_F(PersistTest, AReplayThatCannotBeWrittenSaysSoOnceAndTouchesNothingElse) {
    ASSERT_TRUE(writeBytes("replays", Bytes{1, 2, 3}));  // a file where the folder goes
    ASSERT_EQ(mkdir("base/last.vqr", 0755), 0);           // a folder where the file goes
    testing::internal::CaptureStderr();
    EXPECT_FALSE(writeReplay("replays/last.vqr", tenMinutes(10)));
    EXPECT_FALSE(writeReplay("base/last.vqr", tenMinutes(10)));
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 2) << said;
    EXPECT_NE(said.find("replays/last.vqr was not saved: the folder replays cannot be made"), std::string::npos);
    EXPECT_NE(said.find("base/last.vqr was not saved"), std::string::npos) << said;
    EXPECT_EQ(readBytes("replays"), (Bytes{1, 2, 3}));
    EXPECT_EQ(baseEntries(), std::vector<std::string>{"last.vqr"});
}

}  // namespace
