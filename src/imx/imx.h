// The mixer library's calls, built on SDL2_mixer: XM modules and WAV
// samples, addressed by the handles that the load calls return.
#pragma once

bool ImixInit(int a, int b, int c);
int ImixLoadModule(const char* path, unsigned long flags);
int ImixLoadSample(const char* path, unsigned long flags);
void ImixSetMusicVolume(unsigned char volume);
void ImixSetFXVolume(unsigned char volume);
bool ImixStartMixer(void* window);
bool ImixPlayModule(int module, bool loop);
int ImixPlaySample(int sample, unsigned char volume, unsigned char pan, unsigned short flags);
bool ImixStopModule();
bool ImixUninit();
