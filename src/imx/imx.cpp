// The mixer on SDL2_mixer. Modules (XM, through libmodplug) and samples (WAV)
// are named by handles: small numbers indexing two fixed tables. A load only
// records the file until the mixer has started; starting the mixer opens the
// audio device and loads every file recorded so far, so the loads may come
// before or after the start.
//
// Volumes: the music volume is 0..96 of full scale (more is full), so the
// game's 64 plays the music at two thirds: a module mixes a whole band at
// once and already sounds about as loud as an effect at full scale; the effects volume 0..255 scales every
// sample; a sample's own volume is 0..64 (64 plays it at the effects volume);
// a sample's pan is 0 (left) .. 255 (right), 128 the middle.

#include "imx/imx.h"

#include <cstring>

#include <SDL.h>
#include <SDL_mixer.h>

namespace {

constexpr int ModuleSlots = 8;
constexpr int SampleSlots = 32;
constexpr int PathBytes = 256;
constexpr int MostChannels = 64;
constexpr int OutputRate = 44100;
constexpr int OutputChunk = 1024;  // frames per mixing pass, about 23 ms

struct ModuleSlot {
    char path[PathBytes];
    Mix_Music* music;
};

struct SampleSlot {
    char path[PathBytes];
    Mix_Chunk* chunk;
};

struct Mixer {
    bool audioStarted;  // SDL's audio subsystem is up
    bool deviceOpen;
    int channels;
    unsigned char musicVolume;
    unsigned char fxVolume;
    ModuleSlot modules[ModuleSlots];
    int moduleCount;
    SampleSlot samples[SampleSlots];
    int sampleCount;
};

Mixer mixer = {false, false, 16, 255, 255, {}, 0, {}, 0};

bool startAudio() {
    if (!mixer.audioStarted) mixer.audioStarted = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    return mixer.audioStarted;
}

void applyMusicVolume() {
    if (!mixer.deviceOpen) return;
    int volume = mixer.musicVolume >= 96 ? MIX_MAX_VOLUME : mixer.musicVolume * MIX_MAX_VOLUME / 96;
    Mix_VolumeMusic(volume);
}

// A module is read when it is first played, and kept: a game plays one of
// its two (the theme of the levels or of the timed mode), and a module held
// in the mixer takes about a third of a MB.
void loadModule(ModuleSlot& slot) {
    if (mixer.deviceOpen && !slot.music) slot.music = Mix_LoadMUS(slot.path);
}

// A sample is read when it is first played, and kept: a game may never
// play some of them, and each held in the device's format takes four times
// its file's size. A converted sample keeps the buffer the conversion worked in, several times
// the sound's own length (22050 Hz mono grows fourfold to the device's
// format, and the converter asks for room beyond that); it is cut to the
// sound, which for our eleven samples gives back about 3.7 MB.
void loadSample(SampleSlot& slot) {
    if (!mixer.deviceOpen || slot.chunk) return;
    slot.chunk = Mix_LoadWAV(slot.path);
    if (slot.chunk && slot.chunk->allocated && slot.chunk->alen > 0) {
        if (void* fitted = SDL_realloc(slot.chunk->abuf, slot.chunk->alen))
            slot.chunk->abuf = static_cast<Uint8*>(fitted);
    }
}

bool copyPath(char (&to)[PathBytes], const char* path) {
    if (!path || std::strlen(path) >= PathBytes) return false;
    std::strcpy(to, path);
    return true;
}

}  // namespace

bool ImixInit(int a, int, int) {
    mixer.channels = a < 1 ? 1 : (a > MostChannels ? MostChannels : a);
    return startAudio();
}

int ImixLoadModule(const char* path, unsigned long) {
    if (mixer.moduleCount >= ModuleSlots) return -1;
    ModuleSlot& slot = mixer.modules[mixer.moduleCount];
    if (!copyPath(slot.path, path)) return -1;
    slot.music = nullptr;
    return mixer.moduleCount++;
}

int ImixLoadSample(const char* path, unsigned long) {
    if (mixer.sampleCount >= SampleSlots) return -1;
    SampleSlot& slot = mixer.samples[mixer.sampleCount];
    if (!copyPath(slot.path, path)) return -1;
    slot.chunk = nullptr;
    return mixer.sampleCount++;
}

void ImixSetMusicVolume(unsigned char volume) {
    mixer.musicVolume = volume;
    applyMusicVolume();
}

void ImixSetFXVolume(unsigned char volume) {
    mixer.fxVolume = volume;
}

bool ImixStartMixer(void*) {
    if (!mixer.deviceOpen) {
        if (!startAudio()) return false;
        Mix_Init(MIX_INIT_MOD);  // modules play through libmodplug, which needs no start
        if (Mix_OpenAudio(OutputRate, AUDIO_S16SYS, 2, OutputChunk) != 0) return false;
        mixer.deviceOpen = true;
        Mix_AllocateChannels(mixer.channels);
        applyMusicVolume();
    }
    return true;
}

bool ImixPlayModule(int module, bool loop) {
    if (!mixer.deviceOpen || module < 0 || module >= mixer.moduleCount) return false;
    ModuleSlot& slot = mixer.modules[module];
    loadModule(slot);
    if (!slot.music) return false;
    return Mix_PlayMusic(slot.music, loop ? -1 : 1) == 0;
}

int ImixPlaySample(int sample, unsigned char volume, unsigned char pan, unsigned short) {
    if (!mixer.deviceOpen || sample < 0 || sample >= mixer.sampleCount) return -1;
    SampleSlot& slot = mixer.samples[sample];
    loadSample(slot);
    Mix_Chunk* chunk = slot.chunk;
    if (!chunk) return -1;
    int own = volume > 64 ? 64 : volume;
    Mix_VolumeChunk(chunk, own * mixer.fxVolume * MIX_MAX_VOLUME / (64 * 255));
    int channel = Mix_PlayChannel(-1, chunk, 0);
    if (channel < 0) return -1;
    // Full on the near side, fading on the far one; 255 and 255 (the middle)
    // turns the panning off.
    int left = pan <= 128 ? 255 : (255 - pan) * 2;
    int right = pan >= 128 ? 255 : pan * 2;
    Mix_SetPanning(channel, static_cast<Uint8>(left), static_cast<Uint8>(right));
    return channel;
}

bool ImixStopModule() {
    if (!mixer.deviceOpen) return false;
    Mix_HaltMusic();
    return true;
}

bool ImixUninit() {
    if (mixer.deviceOpen) {
        Mix_HaltChannel(-1);
        Mix_HaltMusic();
    }
    for (int i = 0; i < mixer.moduleCount; ++i) {
        if (mixer.modules[i].music) Mix_FreeMusic(mixer.modules[i].music);
        mixer.modules[i].music = nullptr;
    }
    for (int i = 0; i < mixer.sampleCount; ++i) {
        if (mixer.samples[i].chunk) Mix_FreeChunk(mixer.samples[i].chunk);
        mixer.samples[i].chunk = nullptr;
    }
    mixer.moduleCount = 0;
    mixer.sampleCount = 0;
    if (mixer.deviceOpen) {
        Mix_CloseAudio();
        Mix_Quit();
        mixer.deviceOpen = false;
    }
    if (mixer.audioStarted) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        mixer.audioStarted = false;
    }
    return true;
}
