// A replay file of any content: it is refused with a reason, or read whole,
// and the game it holds, recorded again, reads back to the same file.
#include <cstdint>
#include <string>
#include <vector>

#include "persist/persist_local.h"
#include "scratch.h"

namespace {

// The file of the game read from `bytes`, recorded again; empty when refused.
std::vector<uint8_t> recordedAgain(std::vector<uint8_t> bytes) {
    Replay replay;
    std::string problem;
    if (!decodeReplay(std::move(bytes), &replay, &problem)) {
        FUZZ_EXPECT(!problem.empty());
        return {};
    }
    ReplayRecording recording;
    startRecording(&recording, replay.header);
    recording.header.end = replay.header.end;
    ReplayCursor cursor = firstReplayFrame(replay);
    ReplayFrame frame;
    while (nextReplayFrame(replay, &cursor, &frame)) recordFrame(&recording, frame);
    FUZZ_EXPECT(cursor.frame == replay.header.frameCount);
    FUZZ_EXPECT(cursor.at + ReplayChecksumBytes == replay.bytes.size());
    return encodeReplay(recording);
}

void readAndRecordAgain(const std::vector<uint8_t>& bytes) {
    const std::vector<uint8_t> once = recordedAgain(bytes);
    if (!once.empty()) FUZZ_EXPECT(recordedAgain(once) == once);
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
