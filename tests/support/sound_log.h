// The record of the sound requests that passed their guard, oldest first.
#pragma once

#include "audio/audio.h"

struct SoundRecord {
    enum Kind { SampleRequest, ModuleRequest, StopRequest };
    Kind kind;
    int what;  // Sample or Module value
};
constexpr int SoundRecordCapacity = 1024;
struct SoundLog {
    SoundRecord records[SoundRecordCapacity];
    int count;    // records kept (at most the capacity)
    int dropped;  // requests past the capacity
};
extern SoundLog soundLog;
// Empties the record and makes sure it watches the requests.
void clearSoundLog();
// Requests of a kind in the record; what < 0: of any value.
int countRequests(SoundRecord::Kind kind, int what = -1);
int countSampleRequests(Sample sample);
