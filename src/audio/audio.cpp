// The sound requests: guarded by the settings, shown to the watcher, and
// handed to the backend when one is set.
#include "audio/audio.h"

#include "game/game.h"

namespace {

SoundBackend backend{};
bool backendSet = false;
SoundWatcher watcher = nullptr;

const char* const SamplePaths[static_cast<int>(Sample::Count)] = {
    "base/select.wav", "base/bad.wav",      "base/new.wav",  "base/combo.wav",  "base/menu.wav",   "base/levelup.wav",
    "base/hint.wav",   "base/gameover.wav", "base/exel.wav", "base/combo2.wav", "base/combo3.wav",
};

const char* const ModulePaths[static_cast<int>(Module::Count)] = {"base/theme1.xm", "base/theme2.xm"};

void record(SoundRequest request, int what) {
    if (watcher) watcher(request, what);
}

void requestModule(Module module) {
    record(SoundRequest::Module, static_cast<int>(module));
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
    record(SoundRequest::Sample, index);
    if (backendSet && backend.playSample) backend.playSample(sample);
}

void playModeMusic() {
    if (settings.musicOn != 1) return;
    if (levelsModeRunning()) requestModule(Module::Theme1);
    if (timedModeRunning()) requestModule(Module::Theme2);
}

void stopMusic() {
    record(SoundRequest::Stop, 0);
    if (backendSet && backend.stopModule) backend.stopModule();
}

void setSoundBackend(const SoundBackend* newBackend) {
    backendSet = newBackend != nullptr;
    backend = newBackend ? *newBackend : SoundBackend{};
}

void watchSoundRequests(SoundWatcher newWatcher) { watcher = newWatcher; }
