// The sound requests: guarded by the settings, recorded, and handed to the
// backend when one is set.
#include "audio/audio.h"

#include "game/game.h"

SoundLog soundLog{};

namespace {

SoundBackend backend{};
bool backendSet = false;

const char* const SamplePaths[static_cast<int>(Sample::Count)] = {
    "base/select.wav", "base/bad.wav",      "base/new.wav",  "base/combo.wav",  "base/menu.wav",   "base/levelup.wav",
    "base/hint.wav",   "base/gameover.wav", "base/exel.wav", "base/combo2.wav", "base/combo3.wav",
};

const char* const ModulePaths[static_cast<int>(Module::Count)] = {"base/theme1.xm", "base/theme2.xm"};

void record(SoundRecord::Kind kind, int what) {
    if (soundLog.count < SoundRecordCapacity) {
        soundLog.records[soundLog.count].kind = kind;
        soundLog.records[soundLog.count].what = what;
        soundLog.count += 1;
    } else {
        soundLog.dropped += 1;
    }
}

void requestModule(Module module) {
    record(SoundRecord::ModuleRequest, static_cast<int>(module));
    if (backendSet && backend.playModule) backend.playModule(module);
}

}  // namespace

const char* samplePath(Sample sample) {
    const int index = static_cast<int>(sample);
    if (index < 0 || index >= static_cast<int>(Sample::Count)) return "";
    return SamplePaths[index];
}

const char* modulePath(Module module) {
    const int index = static_cast<int>(module);
    if (index < 0 || index >= static_cast<int>(Module::Count)) return "";
    return ModulePaths[index];
}

void playSample(Sample sample) {
    if (settings.soundOn != 1) return;
    const int index = static_cast<int>(sample);
    if (index < 0 || index >= static_cast<int>(Sample::Count)) return;
    record(SoundRecord::SampleRequest, index);
    if (backendSet && backend.playSample) backend.playSample(sample);
}

void playModeMusic() {
    if (settings.musicOn != 1) return;
    if (levelsModeRunning()) requestModule(Module::Theme1);
    if (timedModeRunning()) requestModule(Module::Theme2);
}

void stopMusic() {
    record(SoundRecord::StopRequest, 0);
    if (backendSet && backend.stopModule) backend.stopModule();
}

void setSoundBackend(const SoundBackend* newBackend) {
    backendSet = newBackend != nullptr;
    backend = newBackend ? *newBackend : SoundBackend{};
}

void clearSoundLog() {
    soundLog.count = 0;
    soundLog.dropped = 0;
}

int countSampleRequests(Sample sample) {
    int count = 0;
    for (int i = 0; i < soundLog.count; ++i)
        if (soundLog.records[i].kind == SoundRecord::SampleRequest &&
            soundLog.records[i].what == static_cast<int>(sample))
            ++count;
    return count;
}
