#include "support/sound_log.h"

SoundLog soundLog{};

namespace {

void record(SoundRequest request, int what) {
    if (soundLog.count >= SoundRecordCapacity) {
        soundLog.dropped += 1;
        return;
    }
    const SoundRecord::Kind kind = request == SoundRequest::Sample   ? SoundRecord::SampleRequest
                                   : request == SoundRequest::Module ? SoundRecord::ModuleRequest
                                                                     : SoundRecord::StopRequest;
    soundLog.records[soundLog.count] = SoundRecord{kind, what};
    soundLog.count += 1;
}

// Watching from the start, as the game's own record did.
const bool watching = (watchSoundRequests(record), true);

}  // namespace

void clearSoundLog() {
    (void)watching;
    watchSoundRequests(record);
    soundLog.count = 0;
    soundLog.dropped = 0;
}

int countRequests(SoundRecord::Kind kind, int what) {
    int count = 0;
    for (int i = 0; i < soundLog.count; ++i)
        if (soundLog.records[i].kind == kind && (what < 0 || soundLog.records[i].what == what)) ++count;
    return count;
}

int countSampleRequests(Sample sample) { return countRequests(SoundRecord::SampleRequest, static_cast<int>(sample)); }
