// The generator's sound kit: a few synthesis voices, and writers for the two
// sound file formats the game reads (16-bit WAV samples, FastTracker 2 modules).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A mono signal at a given rate, values nominally in -1 .. 1.
struct Signal {
    int rate = 22050;
    std::vector<float> samples;
};

Signal silence(int rate, double seconds);
// Adds source into target starting at the given time; target grows as needed.
void mixInto(Signal& target, const Signal& source, double atSeconds, double gain);
// Scales the signal so that its largest magnitude is peak.
void normalizePeak(Signal& signal, double peak);
// Short linear fades at both ends, so the sound starts and stops without a click.
void fadeEdges(Signal& signal, double inSeconds, double outSeconds);
void lowPass(Signal& signal, double cutoffHz);
void highPass(Signal& signal, double cutoffHz);

double midiFrequency(double note);  // 69 = A 440 Hz

// Deterministic white noise in -1 .. 1, the same sequence on every run.
struct NoiseSource {
    uint32_t state;
    float next();
};

// Voices. Frequencies in Hz, times in seconds.
// A struck bell: two-operator FM with an inharmonic ratio, the brightness fading first.
Signal bellTone(int rate, double frequency, double seconds, double brightness);
// A plucked string (Karplus-Strong), decaying by itself.
Signal pluckTone(int rate, double frequency, double seconds, uint32_t seed);
// Band-limited sawtooth mixed down into a mellow brass-like tone with attack and release.
Signal brassTone(int rate, double frequency, double seconds);
// A soft flute-like tone: sine with a little second harmonic and a gentle vibrato.
Signal softTone(int rate, double frequency, double seconds);
// A sine whose pitch glides exponentially from one frequency to another, decaying.
Signal sweptSine(int rate, double fromHz, double toHz, double seconds, double decaySeconds);
Signal kickDrum(int rate);
Signal snareDrum(int rate);
Signal hiHat(int rate);

// Exactly periodic tones for looping: harmonic amplitudes of a fundamental whose
// period is periodSamples, over a loop of loopPeriods periods. Each harmonic is
// also doubled by slightly detuned copies that complete a whole number of extra
// cycles per loop, for a slow, seamless chorus.
Signal loopedHarmonics(int rate, int periodSamples, int loopPeriods, const std::vector<double>& amplitudes,
                       int chorusCycles);

// A 16-bit PCM mono RIFF/WAVE file; values beyond -1 .. 1 are clamped.
std::string wavFile(const Signal& signal);
std::vector<int16_t> toPcm16(const Signal& signal);

// FastTracker 2 extended modules.
struct XmEnvelopePoint {
    uint16_t tick;
    uint16_t value;  // 0 .. 64
};

struct XmInstrument {
    std::string name;
    Signal sound;
    double pitchHz = 261.6256;  // pitch of the recorded tone; C-4 plays it at this pitch
    int loopStart = -1;         // in sample frames; -1: no loop
    int loopLength = 0;
    uint8_t volume = 64;
    uint8_t panning = 128;
    std::vector<XmEnvelopePoint> envelope;  // empty: no volume envelope
    int sustainPoint = -1;
    uint16_t fadeout = 0;
};

struct XmCell {
    uint8_t note = 0;  // 1 = C-0 .. 96 = B-7, 97 = key off
    uint8_t instrument = 0;
    uint8_t volume = 0;  // volume column; 0x10 + v sets volume v
    uint8_t effect = 0;
    uint8_t parameter = 0;
};

constexpr uint8_t XmKeyOff = 97;

struct XmPattern {
    int rows = 64;
    int channels = 8;
    std::vector<XmCell> cells;  // rows * channels, row after row
    XmCell& at(int row, int channel) { return cells[row * channels + channel]; }
};

struct XmModule {
    std::string name;
    int channels = 8;
    int speed = 6;  // ticks per row
    int bpm = 125;
    int restart = 0;
    std::vector<uint8_t> order;
    std::vector<XmPattern> patterns;
    std::vector<XmInstrument> instruments;
};

std::string xmFile(const XmModule& module);
// The XM note number of a MIDI note (60 = C-4 = XM 49).
uint8_t xmNote(int midiNote);
// The music's instruments in their slots, for the calm tune or the driving one.
std::vector<XmInstrument> musicInstruments(bool driving);
