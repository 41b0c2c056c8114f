// Synthesis voices shared by the sound effects and the music instruments.
#include <algorithm>
#include <cmath>

#include "sound_local.h"

namespace {

constexpr double TwoPi = 6.28318530717958647692;

// Attack, hold at 1, then release to 0 at the end; all in samples.
double attackRelease(size_t i, size_t total, size_t attack, size_t release) {
    double gain = 1;
    if (attack > 0 && i < attack) gain = static_cast<double>(i) / attack;
    if (release > 0 && i + release > total) gain = std::min(gain, static_cast<double>(total - i) / release);
    return gain;
}

size_t sampleCount(int rate, double seconds) { return static_cast<size_t>(std::lround(rate * seconds)); }

}  // namespace

float NoiseSource::next() {
    state = state * 1664525u + 1013904223u;
    return static_cast<float>((state >> 8) / 8388608.0 - 1.0);
}

double midiFrequency(double note) { return 440.0 * std::pow(2.0, (note - 69) / 12); }

Signal silence(int rate, double seconds) {
    Signal signal;
    signal.rate = rate;
    signal.samples.assign(sampleCount(rate, seconds), 0.0f);
    return signal;
}

void mixInto(Signal& target, const Signal& source, double atSeconds, double gain) {
    const size_t start = sampleCount(target.rate, atSeconds);
    if (target.samples.size() < start + source.samples.size()) target.samples.resize(start + source.samples.size());
    for (size_t i = 0; i < source.samples.size(); ++i)
        target.samples[start + i] += static_cast<float>(source.samples[i] * gain);
}

void normalizePeak(Signal& signal, double peak) {
    float largest = 0;
    for (float v : signal.samples) largest = std::max(largest, std::fabs(v));
    if (largest <= 0) return;
    const double scale = peak / largest;
    for (float& v : signal.samples) v = static_cast<float>(v * scale);
}

void fadeEdges(Signal& signal, double inSeconds, double outSeconds) {
    const size_t total = signal.samples.size();
    const size_t in = std::min(total, sampleCount(signal.rate, inSeconds));
    const size_t out = std::min(total, sampleCount(signal.rate, outSeconds));
    for (size_t i = 0; i < total; ++i)
        signal.samples[i] = static_cast<float>(signal.samples[i] * attackRelease(i, total, in, out));
}

void lowPass(Signal& signal, double cutoffHz) {
    const double a = 1 - std::exp(-TwoPi * cutoffHz / signal.rate);
    double y = 0;
    for (float& v : signal.samples) {
        y += a * (v - y);
        v = static_cast<float>(y);
    }
}

void highPass(Signal& signal, double cutoffHz) {
    const double a = 1 - std::exp(-TwoPi * cutoffHz / signal.rate);
    double low = 0;
    for (float& v : signal.samples) {
        low += a * (v - low);
        v = static_cast<float>(v - low);
    }
}

Signal bellTone(int rate, double frequency, double seconds, double brightness) {
    Signal signal = silence(rate, seconds);
    const size_t total = signal.samples.size();
    const double ratio = 3.5;
    for (size_t i = 0; i < total; ++i) {
        const double t = static_cast<double>(i) / rate;
        const double index = brightness * std::exp(-t / (0.12 * seconds + 0.02));
        const double modulator = std::sin(TwoPi * frequency * ratio * t);
        const double body = std::sin(TwoPi * frequency * t + index * modulator);
        const double octave = 0.2 * std::sin(TwoPi * 2 * frequency * t) * std::exp(-t / (0.15 * seconds));
        const double level = std::exp(-t / (0.3 * seconds));
        signal.samples[i] = static_cast<float>((body + octave) * level * attackRelease(i, total, rate / 500, rate / 50));
    }
    return signal;
}

Signal pluckTone(int rate, double frequency, double seconds, uint32_t seed) {
    Signal signal = silence(rate, seconds);
    // The averaging filter adds half a sample of delay to the loop.
    const size_t period = std::max<size_t>(2, static_cast<size_t>(std::lround(rate / frequency - 0.5)));
    std::vector<double> line(period);
    NoiseSource noise{seed};
    double smooth = 0;
    for (double& v : line) {
        smooth += 0.5 * (noise.next() - smooth);  // a softer, rounder attack than raw noise
        v = smooth;
    }
    double mean = 0;
    for (double v : line) mean += v / period;
    for (double& v : line) v -= mean;
    // Loss per pass chosen so the note dies away over the requested time.
    const double passes = seconds * rate / period;
    const double loss = std::pow(0.001, 1.0 / std::max(1.0, passes));
    double previous = line[period - 1];
    const size_t total = signal.samples.size();
    for (size_t i = 0; i < total; ++i) {
        const size_t k = i % period;
        const double current = line[k];
        line[k] = loss * 0.5 * (current + previous);
        previous = current;
        signal.samples[i] = static_cast<float>(current * attackRelease(i, total, 0, rate / 100));
    }
    return signal;
}

Signal brassTone(int rate, double frequency, double seconds) {
    Signal signal = silence(rate, seconds);
    const size_t total = signal.samples.size();
    const int harmonics = std::max(1, std::min(24, static_cast<int>(0.45 * rate / frequency)));
    std::vector<double> phase(harmonics + 1, 0.0);
    for (size_t i = 0; i < total; ++i) {
        const double t = static_cast<double>(i) / rate;
        // Brightness swells during the attack and settles a little.
        const double bright = t < 0.04 ? 0.35 + 16 * t : std::max(0.75, 1.0 - (t - 0.04) * 0.8);
        const double vibrato = t > 0.15 ? 1 + 0.004 * std::sin(TwoPi * 5.5 * (t - 0.15)) : 1;
        double value = 0;
        for (int k = 1; k <= harmonics; ++k) {
            phase[k] += TwoPi * frequency * k * vibrato / rate;
            value += std::sin(phase[k]) / k * std::exp(-(k - 1) * (1.2 - bright) * 0.9);
        }
        signal.samples[i] = static_cast<float>(0.5 * value * attackRelease(i, total, rate / 60, rate / 12));
    }
    return signal;
}

Signal softTone(int rate, double frequency, double seconds) {
    Signal signal = silence(rate, seconds);
    const size_t total = signal.samples.size();
    double phase = 0;
    for (size_t i = 0; i < total; ++i) {
        const double t = static_cast<double>(i) / rate;
        const double vibrato = t > 0.1 ? 1 + 0.005 * std::sin(TwoPi * 5 * (t - 0.1)) : 1;
        phase += TwoPi * frequency * vibrato / rate;
        const double value = std::sin(phase) + 0.25 * std::sin(2 * phase) + 0.08 * std::sin(3 * phase);
        signal.samples[i] = static_cast<float>(value * attackRelease(i, total, rate / 30, rate / 8));
    }
    return signal;
}

Signal sweptSine(int rate, double fromHz, double toHz, double seconds, double decaySeconds) {
    Signal signal = silence(rate, seconds);
    const size_t total = signal.samples.size();
    double phase = 0;
    for (size_t i = 0; i < total; ++i) {
        const double t = static_cast<double>(i) / rate;
        phase += TwoPi * fromHz * std::pow(toHz / fromHz, t / seconds) / rate;
        signal.samples[i] = static_cast<float>(std::sin(phase) * std::exp(-t / decaySeconds) *
                                               attackRelease(i, total, rate / 1000, rate / 200));
    }
    return signal;
}

Signal kickDrum(int rate) {
    Signal kick = sweptSine(rate, 160, 42, 0.32, 0.11);
    NoiseSource noise{0x4b1c};
    const size_t click = static_cast<size_t>(rate / 330);
    for (size_t i = 0; i < click && i < kick.samples.size(); ++i)
        kick.samples[i] += 0.4f * noise.next() * (1.0f - static_cast<float>(i) / click);
    return kick;
}

Signal snareDrum(int rate) {
    Signal snare = silence(rate, 0.22);
    NoiseSource noise{0x5a4e};
    for (float& v : snare.samples) v = noise.next();
    highPass(snare, 900);
    for (size_t i = 0; i < snare.samples.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        snare.samples[i] = static_cast<float>(snare.samples[i] * 0.8 * std::exp(-t / 0.06) +
                                              0.6 * std::sin(TwoPi * 185 * t) * std::exp(-t / 0.04) +
                                              0.3 * std::sin(TwoPi * 330 * t) * std::exp(-t / 0.03));
    }
    fadeEdges(snare, 0.0005, 0.01);
    return snare;
}

Signal hiHat(int rate) {
    Signal hat = silence(rate, 0.07);
    NoiseSource noise{0x4a7};
    for (float& v : hat.samples) v = noise.next();
    highPass(hat, 0.3 * rate);
    highPass(hat, 0.3 * rate);
    for (size_t i = 0; i < hat.samples.size(); ++i)
        hat.samples[i] = static_cast<float>(hat.samples[i] * std::exp(-static_cast<double>(i) / rate / 0.018));
    fadeEdges(hat, 0.0005, 0.005);
    return hat;
}

Signal loopedHarmonics(int rate, int periodSamples, int loopPeriods, const std::vector<double>& amplitudes,
                       int chorusCycles) {
    Signal signal;
    signal.rate = rate;
    const size_t length = static_cast<size_t>(periodSamples) * loopPeriods;
    signal.samples.assign(length, 0.0f);
    NoiseSource phases{0x9e37};
    for (size_t h = 0; h < amplitudes.size(); ++h) {
        const double cycles = static_cast<double>((h + 1) * loopPeriods);
        const double phase = TwoPi * (phases.next() + 1) / 2;
        for (size_t i = 0; i < length; ++i) {
            const double x = TwoPi * static_cast<double>(i) / length;
            double value = std::sin(cycles * x + phase);
            if (chorusCycles > 0)
                value += 0.5 * std::sin((cycles + chorusCycles) * x + 2 * phase) +
                         0.5 * std::sin((cycles - chorusCycles) * x + 3 * phase);
            signal.samples[i] += static_cast<float>(amplitudes[h] * value);
        }
    }
    return signal;
}
