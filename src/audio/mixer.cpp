// The sound backend: the game's requests played through the mixer library.

#include "audio/audio.h"
#include "imx/imx.h"
#include "platform/platform.h"

namespace {

constexpr int SampleCount = static_cast<int>(Sample::Count);
constexpr int ModuleCount = static_cast<int>(Module::Count);

struct MixerSound {
    bool started;  // loaded for this run; later window creations find it done
    bool heard;    // the device is open and the requests go to it
    void* window;
    int moduleHandles[ModuleCount];
    int sampleHandles[SampleCount];
};

MixerSound mixerSound = {};

void playLoadedSample(Sample sample) {
    int index = static_cast<int>(sample);
    if (index < 0 || index >= SampleCount) return;
    ImixPlaySample(mixerSound.sampleHandles[index], 64, 128, 0);
}

void playLoadedModule(Module module) {
    int index = static_cast<int>(module);
    if (index < 0 || index >= ModuleCount) return;
    ImixPlayModule(mixerSound.moduleHandles[index], true);
}

void stopLoadedModule() {
    ImixStopModule();
}

const SoundBackend MixerBackend = {playLoadedSample, playLoadedModule, stopLoadedModule};

}  // namespace

void startSound(void* window) {
    // The full-screen switch makes the window again without shutting the
    // mixer down: what was loaded for the first window serves the new one.
    if (mixerSound.started) return;
    mixerSound.started = true;
    mixerSound.window = window;

    ImixInit(15, 15, 15);
    for (int i = 0; i < ModuleCount; ++i)
        mixerSound.moduleHandles[i] = ImixLoadModule(modulePath(static_cast<Module>(i)), 0);
    for (int i = 0; i < SampleCount; ++i)
        mixerSound.sampleHandles[i] = ImixLoadSample(samplePath(static_cast<Sample>(i)), 0);
    ImixSetMusicVolume(64);
    ImixSetFXVolume(255);
    if (!ImixStartMixer(window)) {
        messageBox("ERROR: Device is not found or busy.", "DirectSound", MessageButtons::Ok, MessageIcon::Stop);
        setSoundBackend(nullptr);  // the game goes on without sound
        return;
    }
    mixerSound.heard = true;
    setSoundBackend(&MixerBackend);
}

void retrySound() {
    if (!mixerSound.started || mixerSound.heard) return;
    if (!ImixStartMixer(mixerSound.window)) return;  // still busy: no second message
    mixerSound.heard = true;
    setSoundBackend(&MixerBackend);
}

void stopSound() {
    setSoundBackend(nullptr);
    ImixUninit();
    mixerSound = MixerSound{};
}
