// FastTracker 2 extended modules (version 1.04): header, packed patterns,
// instruments with one 16-bit delta-encoded sample each.
#include <algorithm>
#include <cmath>

#include "sound_local.h"

namespace {

void put8(std::string& out, uint32_t v) { out += static_cast<char>(v & 0xff); }

void put16(std::string& out, uint32_t v) {
    put8(out, v);
    put8(out, v >> 8);
}

void put32(std::string& out, uint32_t v) {
    put16(out, v & 0xffff);
    put16(out, v >> 16);
}

void putText(std::string& out, const std::string& text, size_t width) {
    std::string field = text.substr(0, width);
    field.resize(width, '\0');
    out += field;
}

std::string packedPattern(const XmPattern& pattern) {
    std::string data;
    for (const XmCell& cell : pattern.cells) {
        uint8_t present = 0;
        if (cell.note) present |= 1;
        if (cell.instrument) present |= 2;
        if (cell.volume) present |= 4;
        if (cell.effect) present |= 8;
        if (cell.parameter) present |= 16;
        if (present == 31) {
            // Everything present: the unpacked form is as short.
            put8(data, cell.note);
        } else {
            put8(data, 0x80 | present);
            if (cell.note) put8(data, cell.note);
        }
        if (cell.instrument) put8(data, cell.instrument);
        if (cell.volume) put8(data, cell.volume);
        if (cell.effect) put8(data, cell.effect);
        if (cell.parameter) put8(data, cell.parameter);
    }
    return data;
}

// The relative note and finetune that make C-4 sound at the instrument's pitch:
// C-4 with relative note 0 plays at 8363 Hz.
void tuning(const XmInstrument& instrument, int& relativeNote, int& finetune) {
    const double semitones = 12 * std::log2(261.6256 * instrument.sound.rate / (8363.0 * instrument.pitchHz));
    relativeNote = static_cast<int>(std::lround(semitones));
    finetune = std::clamp(static_cast<int>(std::lround((semitones - relativeNote) * 128)), -128, 127);
}

std::string instrumentBlock(const XmInstrument& instrument) {
    constexpr uint32_t HeaderSize = 263;
    constexpr uint32_t SampleHeaderSize = 40;
    std::string out;
    put32(out, HeaderSize);
    putText(out, instrument.name, 22);
    put8(out, 0);   // type
    put16(out, 1);  // one sample
    put32(out, SampleHeaderSize);
    for (int note = 0; note < 96; ++note) put8(out, 0);  // every note plays sample 0
    for (size_t point = 0; point < 12; ++point) {
        const XmEnvelopePoint p = point < instrument.envelope.size() ? instrument.envelope[point] : XmEnvelopePoint{0, 0};
        put16(out, p.tick);
        put16(out, p.value);
    }
    for (int i = 0; i < 48; ++i) put8(out, 0);  // no panning envelope
    const size_t points = std::min<size_t>(12, instrument.envelope.size());
    put8(out, static_cast<uint32_t>(points));
    put8(out, 0);
    put8(out, instrument.sustainPoint < 0 ? 0 : instrument.sustainPoint);
    put8(out, 0);  // volume loop start
    put8(out, 0);  // volume loop end
    put8(out, 0);
    put8(out, 0);
    put8(out, 0);
    put8(out, (points > 0 ? 1 : 0) | (points > 0 && instrument.sustainPoint >= 0 ? 2 : 0));
    put8(out, 0);  // panning envelope off
    put8(out, 0);  // vibrato type, sweep, depth, rate
    put8(out, 0);
    put8(out, 0);
    put8(out, 0);
    put16(out, instrument.fadeout);
    while (out.size() < HeaderSize) put8(out, 0);  // reserved

    const std::vector<int16_t> pcm = toPcm16(instrument.sound);
    const bool looped = instrument.loopStart >= 0 && instrument.loopLength > 0;
    int relativeNote = 0, finetune = 0;
    tuning(instrument, relativeNote, finetune);
    put32(out, static_cast<uint32_t>(pcm.size() * 2));  // lengths are in bytes
    put32(out, looped ? static_cast<uint32_t>(instrument.loopStart * 2) : 0);
    put32(out, looped ? static_cast<uint32_t>(instrument.loopLength * 2) : 0);
    put8(out, instrument.volume);
    put8(out, static_cast<uint8_t>(static_cast<int8_t>(finetune)));
    put8(out, 0x10 | (looped ? 1 : 0));  // 16-bit, forward loop
    put8(out, instrument.panning);
    put8(out, static_cast<uint8_t>(static_cast<int8_t>(relativeNote)));
    put8(out, 0);  // delta-encoded
    putText(out, instrument.name, 22);

    int16_t previous = 0;
    for (int16_t value : pcm) {
        put16(out, static_cast<uint16_t>(static_cast<int16_t>(value - previous)));
        previous = value;
    }
    return out;
}

}  // namespace

uint8_t xmNote(int midiNote) { return static_cast<uint8_t>(std::clamp(midiNote - 11, 1, 96)); }

std::string xmFile(const XmModule& module) {
    std::string out;
    out += "Extended Module: ";
    putText(out, module.name, 20);
    put8(out, 0x1a);
    putText(out, "vortiq-data", 20);
    put16(out, 0x0104);
    put32(out, 276);  // header size, counted from this field
    put16(out, static_cast<uint32_t>(module.order.size()));
    put16(out, static_cast<uint32_t>(module.restart));
    put16(out, static_cast<uint32_t>(module.channels));
    put16(out, static_cast<uint32_t>(module.patterns.size()));
    put16(out, static_cast<uint32_t>(module.instruments.size()));
    put16(out, 1);  // linear frequency table
    put16(out, static_cast<uint32_t>(module.speed));
    put16(out, static_cast<uint32_t>(module.bpm));
    for (size_t i = 0; i < 256; ++i) put8(out, i < module.order.size() ? module.order[i] : 0);

    for (const XmPattern& pattern : module.patterns) {
        const std::string data = packedPattern(pattern);
        put32(out, 9);  // pattern header length
        put8(out, 0);   // packing type
        put16(out, static_cast<uint32_t>(pattern.rows));
        put16(out, static_cast<uint32_t>(data.size()));
        out += data;
    }
    for (const XmInstrument& instrument : module.instruments) out += instrumentBlock(instrument);
    return out;
}
