// The two music modules: base/theme1.xm, calm, for the levels mode, and
// base/theme2.xm, driving, for the timed mode. Both are composed here from
// chord progressions; melodies come from a seeded walk over the scale that
// lands on chord tones on the strong beats, so every run writes the same notes.
#include <algorithm>
#include <array>
#include <cmath>
#include <utility>
#include <vector>

#include "files_local.h"
#include "generator.h"
#include "sound_local.h"

namespace {

constexpr int RowsPerBar = 16;
constexpr int Bars = 4;
constexpr int Channels = 10;

enum Channel { Melody = 0, Arpeggio, Bass, PadLow, PadMiddle, PadHigh, Kick, Snare, Hat, Counter };

enum Instrument : uint8_t { Lead = 1, Pluck, BassVoice, Pad, KickDrum, SnareDrum, HiHat, Bell };

struct Chord {
    int root;   // pitch class, 0 = C
    int third;  // 3 minor, 4 major
};

struct Section {
    std::array<Chord, Bars> chords;
    uint32_t melodySeed;   // 0: no melody
    uint32_t variantSeed;  // non-zero: the second half of the melody takes this seed
    int drums;             // 0 none, 1 light, 2 full
    bool counter;          // bell answers over the melody
};

struct Style {
    bool driving;
    int tonic;               // pitch class of the key
    std::array<int, 7> scale;  // intervals from the tonic
    int melodyLow, melodyHigh;  // MIDI range of the tune
    int melodyVolume;
};

// A small deterministic generator for the composition choices.
struct Dice {
    uint32_t state;
    int roll(int sides) {
        state = state * 1103515245u + 12345u;
        return static_cast<int>((state >> 16) % static_cast<uint32_t>(sides));
    }
};

// Note volumes are written on a scale a little below the top, then lifted, so
// that the loudest notes just reach full volume.
uint8_t volume(int v) { return static_cast<uint8_t>(0x10 + std::clamp((v * 13 + 5) / 10, 0, 64)); }

void setNote(XmPattern& pattern, int row, int channel, int midi, uint8_t instrument, int level) {
    XmCell& cell = pattern.at(row, channel);
    cell.note = xmNote(midi);
    cell.instrument = instrument;
    cell.volume = volume(level);
}

void keyOff(XmPattern& pattern, int row, int channel) {
    if (row < pattern.rows && pattern.at(row, channel).note == 0) pattern.at(row, channel).note = XmKeyOff;
}

bool isChordTone(int midi, const Chord& chord) {
    const int pc = ((midi - chord.root) % 12 + 12) % 12;
    return pc == 0 || pc == chord.third || pc == 7;
}

// The lowest pitch of the pitch class at or above floor.
int pitchAtOrAbove(int pitchClass, int floor) {
    int midi = floor + ((pitchClass - floor) % 12 + 12) % 12;
    return midi;
}

struct Rhythm {
    std::vector<std::pair<int, int>> notes;  // row in the bar, length in rows
};

const std::vector<Rhythm>& rhythms(bool driving) {
    static const std::vector<Rhythm> calm = {
        {{{0, 6}, {6, 2}, {8, 8}}},
        {{{0, 4}, {4, 4}, {8, 4}, {12, 4}}},
        {{{0, 8}, {8, 4}, {12, 4}}},
        {{{0, 12}, {12, 4}}},
        {{{0, 2}, {2, 2}, {4, 4}, {8, 8}}},
        {{{0, 4}, {6, 2}, {8, 6}, {14, 2}}},
    };
    static const std::vector<Rhythm> drive = {
        {{{0, 2}, {2, 2}, {4, 2}, {6, 2}, {8, 4}, {12, 4}}},
        {{{0, 3}, {3, 3}, {6, 2}, {8, 2}, {10, 2}, {12, 4}}},
        {{{0, 4}, {4, 2}, {6, 2}, {8, 6}, {14, 2}}},
        {{{0, 2}, {2, 4}, {6, 2}, {8, 2}, {10, 6}}},
        {{{0, 6}, {6, 2}, {8, 2}, {10, 2}, {12, 2}, {14, 2}}},
    };
    return driving ? drive : calm;
}

// The scale's pitches inside the tune's range, low to high.
std::vector<int> scalePitches(const Style& style) {
    std::vector<int> pitches;
    for (int midi = style.melodyLow; midi <= style.melodyHigh; ++midi) {
        const int pc = ((midi - style.tonic) % 12 + 12) % 12;
        if (std::find(style.scale.begin(), style.scale.end(), pc) != style.scale.end()) pitches.push_back(midi);
    }
    return pitches;
}

int nearestChordTone(const std::vector<int>& pitches, int from, const Chord& chord, int reach, Dice& dice) {
    std::vector<int> candidates;
    for (int d = -reach; d <= reach; ++d) {
        const int i = from + d;
        if (i >= 0 && i < static_cast<int>(pitches.size()) && isChordTone(pitches[i], chord)) candidates.push_back(i);
    }
    if (candidates.empty()) {
        // Fall back to the chord tone nearest in the whole range.
        int best = from, bestDistance = 1000;
        for (int i = 0; i < static_cast<int>(pitches.size()); ++i)
            if (isChordTone(pitches[i], chord) && std::abs(i - from) < bestDistance) best = i, bestDistance = std::abs(i - from);
        return best;
    }
    return candidates[dice.roll(static_cast<int>(candidates.size()))];
}

void writeMelody(XmPattern& pattern, const Style& style, const Section& section) {
    const std::vector<int> pitches = scalePitches(style);
    const int middle = static_cast<int>(pitches.size()) / 2;
    Dice dice{section.melodySeed};
    int current = middle;
    for (int bar = 0; bar < Bars; ++bar) {
        if (bar == 2 && section.variantSeed != 0) dice.state = section.variantSeed;
        const Chord& chord = section.chords[bar];
        const bool phraseEnd = bar == Bars - 1;
        const std::vector<Rhythm>& choices = rhythms(style.driving);
        // The phrase closes on a long note.
        const Rhythm& rhythm = phraseEnd ? choices[style.driving ? 2 : 3] : choices[dice.roll(static_cast<int>(choices.size()))];
        for (size_t n = 0; n < rhythm.notes.size(); ++n) {
            const auto [offset, length] = rhythm.notes[n];
            const bool strong = offset % 8 == 0;
            const bool last = phraseEnd && n + 1 == rhythm.notes.size();
            if (last) {
                // End on the chord's root where the range allows.
                int best = current, bestDistance = 1000;
                for (int i = 0; i < static_cast<int>(pitches.size()); ++i) {
                    const bool root = ((pitches[i] - chord.root) % 12 + 12) % 12 == 0;
                    if (root && std::abs(i - current) < bestDistance) best = i, bestDistance = std::abs(i - current);
                }
                current = best;
            } else if (strong) {
                current = nearestChordTone(pitches, current, chord, 3, dice);
            } else {
                static const int steps[] = {-2, -1, -1, 1, 1, 2};
                int step = steps[dice.roll(6)];
                if (current > middle + 4 && step > 0) step = -step;
                if (current < middle - 4 && step < 0) step = -step;
                current = std::clamp(current + step, 0, static_cast<int>(pitches.size()) - 1);
            }
            const int row = bar * RowsPerBar + offset;
            const int level = style.melodyVolume + (strong ? 6 : 0) - (style.driving ? 0 : dice.roll(6));
            setNote(pattern, row, Melody, pitches[current], style.driving ? Lead : Bell, level);
            // The held lead is released a little before the next note, for phrasing.
            if (style.driving) keyOff(pattern, row + length - (length > 2 ? 1 : 0), Melody);
        }
    }
}

void writeCounterMelody(XmPattern& pattern, const Style& style, const Section& section) {
    // Bells answer the driving hook; a soft flute answers the calm one.
    const uint8_t voice = style.driving ? Bell : Lead;
    for (int bar = 0; bar < Bars; ++bar) {
        const Chord& chord = section.chords[bar];
        const int third = pitchAtOrAbove((chord.root + chord.third) % 12, 79);
        const int fifth = pitchAtOrAbove((chord.root + 7) % 12, 79);
        setNote(pattern, bar * RowsPerBar + 4, Counter, std::min(third, fifth), voice, style.driving ? 22 : 30);
        setNote(pattern, bar * RowsPerBar + 12, Counter, std::max(third, fifth), voice, style.driving ? 18 : 26);
    }
}

void writeArpeggio(XmPattern& pattern, const Style& style, const Section& section) {
    static const int calmOrder[] = {0, 1, 2, 3, 2, 1, 2, 1};
    static const int driveOrder[] = {0, 1, 2, 1, 3, 2, 1, 2, 0, 2, 1, 2, 3, 2, 1, 0};
    for (int bar = 0; bar < Bars; ++bar) {
        const Chord& chord = section.chords[bar];
        const int base = pitchAtOrAbove(chord.root, style.driving ? 64 : 55);
        const int tones[] = {base, base + chord.third, base + 7, base + 12};
        if (style.driving) {
            for (int step = 0; step < RowsPerBar; ++step)
                setNote(pattern, bar * RowsPerBar + step, Arpeggio, tones[driveOrder[step]], Pluck, step % 4 == 0 ? 26 : 18);
        } else {
            for (int step = 0; step < 8; ++step)
                setNote(pattern, bar * RowsPerBar + 2 * step, Arpeggio, tones[calmOrder[step]], Pluck, step % 4 == 0 ? 30 : 22);
        }
    }
}

void writeBass(XmPattern& pattern, const Style& style, const Section& section) {
    for (int bar = 0; bar < Bars; ++bar) {
        const Chord& chord = section.chords[bar];
        const int root = pitchAtOrAbove(chord.root, 33);  // A1 .. G#2
        const int row = bar * RowsPerBar;
        if (style.driving) {
            static const int line[] = {0, 0, 12, 0, 7, 0, 12, 7};
            for (int step = 0; step < 8; ++step) {
                setNote(pattern, row + 2 * step, Bass, root + line[step], BassVoice, step % 2 == 0 ? 50 : 40);
                keyOff(pattern, row + 2 * step + 1, Bass);
            }
        } else {
            setNote(pattern, row, Bass, root + 12, BassVoice, 50);
            setNote(pattern, row + 10, Bass, root + 7, BassVoice, 36);
            setNote(pattern, row + 12, Bass, root + 12, BassVoice, 40);
        }
    }
}

void writePad(XmPattern& pattern, const Section& section) {
    for (int bar = 0; bar < Bars; ++bar) {
        const Chord& chord = section.chords[bar];
        if (bar > 0 && chord.root == section.chords[bar - 1].root && chord.third == section.chords[bar - 1].third) continue;
        std::array<int, 3> voices = {pitchAtOrAbove(chord.root, 57), pitchAtOrAbove((chord.root + chord.third) % 12, 57),
                                     pitchAtOrAbove((chord.root + 7) % 12, 57)};
        std::sort(voices.begin(), voices.end());
        const int row = bar * RowsPerBar;
        setNote(pattern, row, PadLow, voices[0], Pad, 34);
        setNote(pattern, row, PadMiddle, voices[1], Pad, 30);
        setNote(pattern, row, PadHigh, voices[2], Pad, 30);
    }
}

void writeDrums(XmPattern& pattern, const Style& style, const Section& section) {
    const int kickNote = 60, drumNote = 60;
    for (int bar = 0; bar < Bars; ++bar) {
        const int row = bar * RowsPerBar;
        const bool fill = bar == Bars - 1 && section.drums == 2;
        if (style.driving) {
            for (int beat = 0; beat < 4; ++beat) {
                if (section.drums == 2 || beat % 2 == 0) setNote(pattern, row + 4 * beat, Kick, kickNote, KickDrum, 56);
            }
            if (section.drums == 2) {
                if (bar % 2 == 1) setNote(pattern, row + 14, Kick, kickNote, KickDrum, 44);
                setNote(pattern, row + 4, Snare, drumNote, SnareDrum, 48);
                setNote(pattern, row + 12, Snare, drumNote, SnareDrum, 50);
                if (fill) {
                    setNote(pattern, row + 13, Snare, drumNote, SnareDrum, 30);
                    setNote(pattern, row + 14, Snare, drumNote, SnareDrum, 38);
                    setNote(pattern, row + 15, Snare, drumNote, SnareDrum, 46);
                }
            }
            for (int step = 0; step < RowsPerBar; step += section.drums == 2 ? 1 : 2)
                setNote(pattern, row + step, Hat, drumNote, HiHat, step % 4 == 2 ? 40 : (step % 2 == 0 ? 26 : 16));
        } else {
            setNote(pattern, row, Kick, kickNote, KickDrum, 40);
            if (section.drums == 2) {
                setNote(pattern, row + 10, Kick, kickNote, KickDrum, 28);
                setNote(pattern, row + 8, Snare, drumNote, SnareDrum, 22);
            }
            for (int step = 2; step < RowsPerBar; step += 4) setNote(pattern, row + step, Hat, drumNote, HiHat, 20);
        }
    }
}

// Stereo placement, set again at the top of every pattern.
void writePanning(XmPattern& pattern) {
    const std::pair<int, uint8_t> places[] = {{Arpeggio, 0x60}, {PadLow, 0x50}, {PadMiddle, 0xb0},
                                              {PadHigh, 0x80}, {Hat, 0xa0}, {Counter, 0xa8}};
    for (const auto& [channel, pan] : places) {
        pattern.at(0, channel).effect = 0x08;
        pattern.at(0, channel).parameter = pan;
    }
}

XmPattern composePattern(const Style& style, const Section& section) {
    XmPattern pattern;
    pattern.rows = Bars * RowsPerBar;
    pattern.channels = Channels;
    pattern.cells.assign(static_cast<size_t>(pattern.rows) * Channels, XmCell{});
    writePanning(pattern);
    writePad(pattern, section);
    writeBass(pattern, style, section);
    writeArpeggio(pattern, style, section);
    if (section.melodySeed != 0) writeMelody(pattern, style, section);
    if (section.counter) writeCounterMelody(pattern, style, section);
    if (section.drums > 0) writeDrums(pattern, style, section);
    return pattern;
}

// --- The two songs ---

// A song of ten channels at speed 6, every section a pattern, that loops
// back to its second entry of the order.
XmModule song(const char* name, int bpm, const Style& style, const std::vector<Section>& sections,
              std::vector<uint8_t> order) {
    XmModule module;
    module.name = name;
    module.channels = Channels;
    module.speed = 6;
    module.bpm = bpm;
    for (const Section& section : sections) module.patterns.push_back(composePattern(style, section));
    module.order = std::move(order);
    module.restart = 1;
    module.instruments = musicInstruments(style.driving);
    return module;
}

constexpr Chord C{0, 4}, Dm{2, 3}, E{4, 4}, Em{4, 3}, F{5, 4}, G{7, 4}, Gm{7, 3}, Am{9, 3}, Bb{10, 4};

XmModule calmTheme() {
    const Style style{false, 5, {0, 2, 4, 5, 7, 9, 11}, 65, 84, 44};  // F major, tune F4 .. C6
    const std::vector<Section> sections = {
        {{F, Dm, Bb, C}, 0, 0, 0, false},          // 0 opening: pad, bass and harp
        {{F, Dm, Bb, C}, 11, 0, 0, false},         // 1 the tune
        {{F, Dm, Gm, C}, 11, 12, 1, false},        // 2 the tune, answered
        {{Dm, Bb, F, C}, 21, 0, 1, false},         // 3 second theme
        {{Bb, C, Am, Dm}, 31, 0, 2, true},         // 4 bridge
        {{Dm, Bb, Gm, C}, 21, 22, 2, false},       // 5 second theme again
        {{F, Dm, Bb, C}, 11, 0, 2, true},          // 6 the tune with its counter voice
        {{Bb, C, F, F}, 41, 0, 1, false},          // 7 close
    };
    return song("Vortiq: Still Water", 92, style, sections, {0, 1, 2, 3, 4, 5, 6, 7});
}

XmModule drivingTheme() {
    const Style style{true, 9, {0, 2, 3, 5, 7, 8, 10}, 69, 88, 46};  // A minor, tune A4 .. E6
    const std::vector<Section> sections = {
        {{Am, F, C, G}, 0, 0, 1, false},           // 0 opening groove
        {{Am, F, C, G}, 101, 0, 2, false},         // 1 the hook
        {{Am, F, C, E}, 101, 102, 2, false},       // 2 the hook, turned toward E
        {{F, G, Em, Am}, 111, 0, 2, false},        // 3 climb
        {{F, G, C, E}, 111, 112, 2, true},         // 4 climb, higher
        {{Dm, Am, Dm, E}, 121, 0, 1, false},       // 5 breather
        {{Am, G, F, E}, 131, 0, 2, true},          // 6 descent
        {{Am, F, C, G}, 101, 0, 2, true},          // 7 the hook with bells
    };
    return song("Vortiq: Against Time", 150, style, sections, {0, 1, 2, 3, 4, 5, 6, 7, 3, 4, 1, 2});
}

}  // namespace

bool writeMusic(const std::string& gameDir) {
    bool ok = writeFileSafely(gameDir + "/base/theme1.xm", xmFile(calmTheme()));
    ok = writeFileSafely(gameDir + "/base/theme2.xm", xmFile(drivingTheme())) && ok;
    return ok;
}
