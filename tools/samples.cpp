// The eleven sound effects of base/: short 16-bit mono sounds, each shaped for
// the moment the game plays it.
#include <cmath>
#include <functional>
#include <initializer_list>
#include <utility>
#include <vector>

#include "files_local.h"
#include "generator.h"
#include "sound_local.h"

namespace {

constexpr int Rate = 22050;
constexpr double TwoPi = 6.28318530717958647692;

Signal noiseBurst(double seconds, uint32_t seed, double highPassHz) {
    Signal burst = silence(Rate, seconds);
    NoiseSource noise{seed};
    for (float& v : burst.samples) v = noise.next();
    highPass(burst, highPassHz);
    for (size_t i = 0; i < burst.samples.size(); ++i)
        burst.samples[i] *= static_cast<float>(1.0 - static_cast<double>(i) / burst.samples.size());
    return burst;
}

// The end of every effect: soft edges (no click), then the loudness it is heard at.
Signal finished(Signal s, double fadeInSeconds, double fadeOutSeconds, double peak) {
    fadeEdges(s, fadeInSeconds, fadeOutSeconds);
    normalizePeak(s, peak);
    return s;
}

// A plain tone (brass, soft) at a MIDI note, mixed in at `at` seconds.
using Tone = Signal (*)(int rate, double frequency, double seconds);

void playNote(Signal& s, Tone tone, int note, double seconds, double at, double gain) {
    mixInto(s, tone(Rate, midiFrequency(note), seconds), at, gain);
}

// Notes one after the other, `step` seconds apart, all alike.
void playRun(Signal& s, Tone tone, std::initializer_list<int> notes, double seconds, double step, double gain) {
    int i = 0;
    for (int note : notes) playNote(s, tone, note, seconds, step * i++, gain);
}

// A reedy buzz: odd harmonics of two slightly detuned tones, sagging in pitch
// and dying away over `decaySeconds` (the time to fall to about a third).
Signal buzz(double frequency, double seconds, double decaySeconds) {
    Signal signal = silence(Rate, seconds);
    double phaseA = 0, phaseB = 0;
    for (size_t i = 0; i < signal.samples.size(); ++i) {
        const double t = static_cast<double>(i) / Rate;
        const double sag = 1 - 0.08 * t / seconds;
        phaseA += TwoPi * frequency * sag / Rate;
        phaseB += TwoPi * frequency * 1.03 * sag / Rate;
        double value = 0;
        for (int k = 1; k <= 15; k += 2) value += (std::sin(k * phaseA) + std::sin(k * phaseB)) / k;
        signal.samples[i] = static_cast<float>(value * std::exp(-t / decaySeconds));
    }
    lowPass(signal, 1800);
    fadeEdges(signal, 0.005, 0.04);
    return signal;
}

Signal selectSound() {
    Signal s = sweptSine(Rate, 3200, 2300, 0.04, 0.006);
    mixInto(s, sweptSine(Rate, 1500, 1300, 0.04, 0.01), 0, 0.5);
    mixInto(s, noiseBurst(0.003, 0x5e1, 2000), 0, 0.4);
    return finished(std::move(s), 0.0005, 0.003, 0.6);
}

// Heard at every wrong swap: two short low thuds, clearly below the chain
// sounds, so that a miss never sounds bigger than a match.
Signal badSound() {
    Signal s = silence(Rate, 0.33);
    mixInto(s, buzz(110, 0.13, 0.035), 0, 1);
    mixInto(s, buzz(98, 0.15, 0.035), 0.17, 1);
    normalizePeak(s, 0.22);
    return s;
}

Signal newSound() {
    Signal s = sweptSine(Rate, 620, 300, 0.06, 0.016);
    Signal thud = noiseBurst(0.02, 0x7a11, 80);
    lowPass(thud, 900);
    mixInto(s, thud, 0, 0.5);
    return finished(std::move(s), 0.001, 0.01, 0.28);
}

// Two quick rising bell notes; the higher the chain, the higher the pair.
Signal comboSound(int firstNote, int secondNote) {
    Signal s = silence(Rate, 0.5);
    mixInto(s, bellTone(Rate, midiFrequency(firstNote), 0.35, 1.2), 0, 0.7);
    mixInto(s, pluckTone(Rate, midiFrequency(firstNote), 0.2, 0xc0 + firstNote), 0, 0.3);
    mixInto(s, bellTone(Rate, midiFrequency(secondNote), 0.42, 1.2), 0.07, 1.0);
    mixInto(s, pluckTone(Rate, midiFrequency(secondNote), 0.2, 0xc0 + secondNote), 0.07, 0.3);
    return finished(std::move(s), 0.001, 0.03, 0.8);
}

Signal menuSound() {
    Signal s = sweptSine(Rate, 1400, 1000, 0.05, 0.012);
    mixInto(s, sweptSine(Rate, 2800, 2000, 0.03, 0.006), 0, 0.3);
    normalizePeak(s, 0.45);
    return s;
}

Signal levelUpSound() {
    Signal s = silence(Rate, 1.1);
    playRun(s, brassTone, {72, 76, 79}, 0.13, 0.12, 0.8);
    // The last note held over its chord.
    playNote(s, brassTone, 84, 0.72, 0.36, 1.0);
    playNote(s, brassTone, 79, 0.7, 0.38, 0.5);
    playNote(s, brassTone, 76, 0.7, 0.38, 0.45);
    mixInto(s, bellTone(Rate, midiFrequency(96), 0.6, 0.8), 0.36, 0.25);
    return finished(std::move(s), 0.001, 0.05, 0.85);
}

Signal hintSound() {
    Signal s = silence(Rate, 0.95);
    mixInto(s, bellTone(Rate, midiFrequency(88), 0.8, 2.0), 0, 0.8);
    mixInto(s, bellTone(Rate, midiFrequency(95), 0.8, 2.0), 0.13, 0.7);
    return finished(std::move(s), 0.001, 0.05, 0.7);
}

Signal gameOverSound() {
    Signal s = silence(Rate, 1.75);
    playRun(s, softTone, {67, 63, 60}, 0.26, 0.27, 1.0);
    playNote(s, softTone, 55, 0.9, 0.81, 1.0);
    playNote(s, softTone, 48, 0.9, 0.81, 0.6);
    lowPass(s, 3000);
    return finished(std::move(s), 0.002, 0.1, 0.8);
}

Signal excellentSound() {
    Signal s = silence(Rate, 1.3);
    const int run[] = {72, 76, 79, 84, 88, 91};
    for (int i = 0; i < 6; ++i) {
        mixInto(s, pluckTone(Rate, midiFrequency(run[i]), 0.3, 0xe0 + i), 0.05 * i, 0.6);
        mixInto(s, bellTone(Rate, midiFrequency(run[i]), 0.3, 1.0), 0.05 * i, 0.35);
    }
    const int chord[] = {72, 79, 84, 88};
    for (int note : chord) playNote(s, brassTone, note, 0.85, 0.32, 0.45);
    mixInto(s, bellTone(Rate, midiFrequency(96), 0.8, 1.5), 0.32, 0.35);
    mixInto(s, bellTone(Rate, midiFrequency(103), 0.6, 1.5), 0.45, 0.2);
    return finished(std::move(s), 0.001, 0.08, 0.85);
}

}  // namespace

bool writeSamples(const std::string& gameDir) {
    const std::vector<std::pair<const char*, std::function<Signal()>>> sounds = {
        {"select", selectSound},
        {"bad", badSound},
        {"new", newSound},
        {"combo", [] { return comboSound(76, 83); }},
        {"menu", menuSound},
        {"levelup", levelUpSound},
        {"hint", hintSound},
        {"gameover", gameOverSound},
        {"exel", excellentSound},
        {"combo2", [] { return comboSound(81, 88); }},
        {"combo3", [] { return comboSound(86, 93); }},
    };
    bool ok = true;
    for (const auto& [name, make] : sounds)
        ok = writeFileSafely(gameDir + "/base/" + name + ".wav", wavFile(make())) && ok;
    return ok;
}
