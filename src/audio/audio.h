// Sound requests of the game. The rules ask for a sample or the music by
// name; the requests are guarded by the settings and handed to a backend.
// With no backend set (tests, a machine without sound) requests go nowhere.
#pragma once

// The eleven samples, in the order they are loaded.
enum class Sample : int {
    Select,    // select.wav
    Bad,       // bad.wav
    New,       // new.wav
    Combo,     // combo.wav
    Menu,      // menu.wav
    LevelUp,   // levelup.wav
    Hint,      // hint.wav
    GameOver,  // gameover.wav
    Excel,     // exel.wav
    Combo2,    // combo2.wav
    Combo3,    // combo3.wav
    Count
};

enum class Module : int { Theme1, Theme2, Count };  // theme1.xm (levels), theme2.xm (timed)

const char* samplePath(Sample sample);  // "base/select.wav" ...
const char* modulePath(Module module);  // "base/theme1.xm" ...

// Plays a sample, only while settings.soundOn is 1.
void playSample(Sample sample);
// The mode music: while settings.musicOn is 1, the running mode's module.
void playModeMusic();
// Stops the module that plays.
void stopMusic();

// Where requests go once they pass their guard.
struct SoundBackend {
    void (*playSample)(Sample sample);
    void (*playModule)(Module module);
    void (*stopModule)();
};
void setSoundBackend(const SoundBackend* backend);  // nullptr: record only

// Whoever watches the requests that passed their guard (the tests' record);
// nullptr: nobody.
enum class SoundRequest { Sample, Module, Stop };
using SoundWatcher = void (*)(SoundRequest request, int what);  // what: the Sample or Module value
void watchSoundRequests(SoundWatcher watcher);

// The window's create handling for sound: starts the mixer and loads the two
// modules and eleven samples (once per run, however often the window is
// made), then routes the requests above to them. Shows the "DirectSound"
// message when no audio device can be opened; the game then runs silently.
void startSound(void* window);
// When no audio device could be opened at the start, tries again, quietly;
// the switches of the sound and the music call it when they turn on.
void retrySound();
// Shuts the mixer down at exit.
void stopSound();
