// The instruments of the music modules, sampled from the synthesiser: a lead
// (a soft flute in the calm tune), a pluck, a bass, a pad, three drums and a bell.
#include <cmath>
#include <vector>

#include "sound_local.h"

namespace {

// Instruments are sampled at twice 8363 Hz; a tone period of 64 samples is C-4.
constexpr int InstrumentRate = 16726;

XmInstrument sampled(const char* name, Signal sound, double pitchHz, uint8_t level) {
    XmInstrument instrument;
    instrument.name = name;
    normalizePeak(sound, 0.95);
    instrument.sound = sound;
    instrument.pitchHz = pitchHz;
    instrument.volume = level;
    return instrument;
}

void loopWhole(XmInstrument& instrument) {
    instrument.loopStart = 0;
    instrument.loopLength = static_cast<int>(instrument.sound.samples.size());
}

XmInstrument leadInstrument(bool driving) {
    if (!driving) {
        // The calm tune is carried by the bell; this slot holds a soft flute for the counter voice.
        return sampled("flute", softTone(InstrumentRate, InstrumentRate / 32.0, 0.8), InstrumentRate / 32.0, 40);
    }
    std::vector<double> pulse;
    for (int k = 1; k <= 10; ++k) pulse.push_back(std::fabs(std::sin(3.14159265358979 * k * 0.3)) / k);
    XmInstrument lead = sampled("lead", loopedHarmonics(InstrumentRate, 32, 64, pulse, 1), InstrumentRate / 32.0, 36);
    loopWhole(lead);
    lead.envelope = {{0, 0}, {2, 64}, {10, 46}, {24, 40}};
    lead.sustainPoint = 3;
    lead.fadeout = 0x0c00;
    return lead;
}

XmInstrument pluckInstrument() {
    const double pitch = InstrumentRate / 32.5;  // a loop of 32 samples plus the filter's half sample
    return sampled("pluck", pluckTone(InstrumentRate, pitch, 0.9, 0x51), pitch, 44);
}

XmInstrument bassInstrument(bool driving) {
    const std::vector<double> soft = {1, 0.35, 0.15, 0.08, 0.04};
    const std::vector<double> saw = {1, 0.5, 0.33, 0.25, 0.2, 0.16, 0.13, 0.1, 0.08, 0.06};
    XmInstrument bass =
        sampled("bass", loopedHarmonics(InstrumentRate, 128, 8, driving ? saw : soft, 0), InstrumentRate / 128.0, 48);
    loopWhole(bass);
    bass.envelope = {{0, 0}, {1, 64}, {8, 50}, {30, 42}};
    bass.sustainPoint = 3;
    bass.fadeout = 0x0800;
    return bass;
}

XmInstrument padInstrument() {
    XmInstrument pad = sampled("pad", loopedHarmonics(InstrumentRate, 64, 128, {1, 0.45, 0.28, 0.16, 0.1, 0.06}, 1),
                               InstrumentRate / 64.0, 40);
    loopWhole(pad);
    pad.envelope = {{0, 0}, {30, 56}, {80, 50}, {140, 46}};
    pad.sustainPoint = 3;
    pad.fadeout = 0x0300;
    return pad;
}

XmInstrument bellInstrument() {
    return sampled("bell", bellTone(InstrumentRate, InstrumentRate / 32.0, 1.1, 1.4), InstrumentRate / 32.0, 46);
}

}  // namespace

std::vector<XmInstrument> musicInstruments(bool driving) {
    return {leadInstrument(driving),
            pluckInstrument(),
            bassInstrument(driving),
            padInstrument(),
            sampled("kick", kickDrum(InstrumentRate), 261.6256, 56),
            sampled("snare", snareDrum(InstrumentRate), 261.6256, 44),
            sampled("hat", hiHat(InstrumentRate), 261.6256, 36),
            bellInstrument()};
}
