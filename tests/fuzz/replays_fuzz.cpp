// A replay file of any content: it is refused with a reason, or read whole,
// and the game it holds, recorded again, reads back frame for frame.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "persist/persist_local.h"
#include "scratch.h"

namespace {

bool sameFrame(const ReplayFrame& a, const ReplayFrame& b) {
    if (a.ticks != b.ticks || a.clockRestarted != b.clockRestarted || a.marked != b.marked || a.mark != b.mark ||
        a.count != b.count)
        return false;
    for (int i = 0; i < a.count; ++i)
        if (a.commands[i].kind != b.commands[i].kind || a.commands[i].x != b.commands[i].x ||
            a.commands[i].y != b.commands[i].y)
            return false;
    return true;
}

void readAndRecordAgain(std::vector<uint8_t> bytes) {
    Replay replay;
    std::string problem;
    if (!decodeReplay(std::move(bytes), &replay, &problem)) {
        FUZZ_EXPECT(!problem.empty());
        return;
    }
    ReplayRecording recording;
    startRecording(&recording, replay.header);
    ReplayCursor cursor = firstReplayFrame(replay);
    ReplayFrame frame;
    while (nextReplayFrame(replay, &cursor, &frame)) recordFrame(&recording, frame);
    FUZZ_EXPECT(cursor.frame == replay.header.frameCount);
    FUZZ_EXPECT(cursor.at + ReplayChecksumBytes == replay.bytes.size());

    Replay again;
    FUZZ_EXPECT(decodeReplay(encodeReplay(recording), &again, &problem));
    const ReplayHeader &a = replay.header, &b = again.header;
    FUZZ_EXPECT(a.seed == b.seed && a.numbersDrawn == b.numbersDrawn && a.frameCount == b.frameCount);
    FUZZ_EXPECT(a.start.level == b.start.level && a.start.score == b.start.score && a.start.mode == b.start.mode);
    FUZZ_EXPECT(std::memcmp(&a.start.timeLeft, &b.start.timeLeft, sizeof a.start.timeLeft) == 0);
    FUZZ_EXPECT(std::memcmp(a.start.board, b.start.board, sizeof a.start.board) == 0);
    FUZZ_EXPECT(a.end.score == b.end.score && a.end.boardDigest == b.end.boardDigest && a.end.ending == b.end.ending);
    ReplayCursor first = firstReplayFrame(replay), second = firstReplayFrame(again);
    ReplayFrame one, two;
    while (nextReplayFrame(replay, &first, &one)) {
        FUZZ_EXPECT(nextReplayFrame(again, &second, &two));
        FUZZ_EXPECT(sameFrame(one, two));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> bytes(data, data + size);
    readAndRecordAgain(bytes);
    // The same bytes with their length and checksum made to match, so that
    // what lies behind the checksum is tried as well.
    sealReplay(&bytes);
    readAndRecordAgain(bytes);
    return 0;
}
