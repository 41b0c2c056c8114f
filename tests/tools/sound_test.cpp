// The music modules and sound effects as the generator wrote them into the run
// directory: valid files, played through libmodplug as the game's mixer plays them.
#include <gtest/gtest.h>
#include <libmodplug/modplug.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "support/byte_files.h"

namespace {

std::string readBase(const std::string& name) { return readText(std::string(VORTIQ_GAME_DIR) + "/base/" + name); }

uint32_t le16(const std::string& b, size_t at) {
    return static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8;
}

uint32_t le32(const std::string& b, size_t at) { return le16(b, at) | le16(b, at + 2) << 16; }

// --- Modules ---

struct XmLayout {
    uint32_t channels = 0, patterns = 0, instruments = 0, bpm = 0, orders = 0;
    size_t end = 0;  // where the walk over patterns and instruments stopped
    std::string problem;
};

// Walks the whole file as FastTracker 2 lays it out; every size field must
// lead exactly to the next block and the last block must end the file.
XmLayout walkXm(const std::string& b) {
    XmLayout x;
    if (b.size() < 336) return x.problem = "too short", x;
    if (b.compare(0, 17, "Extended Module: ") != 0) return x.problem = "no XM signature", x;
    if (static_cast<uint8_t>(b[37]) != 0x1a) return x.problem = "no 0x1A after the name", x;
    if (le16(b, 58) != 0x0104) return x.problem = "not version 1.04", x;
    if (le32(b, 60) != 276) return x.problem = "header size is not 276", x;
    x.orders = le16(b, 64);
    x.channels = le16(b, 68);
    x.patterns = le16(b, 70);
    x.instruments = le16(b, 72);
    x.bpm = le16(b, 78);
    for (uint32_t i = 0; i < x.orders; ++i)
        if (static_cast<uint8_t>(b[80 + i]) >= x.patterns) return x.problem = "order names a missing pattern", x;
    size_t at = 60 + 276;
    for (uint32_t p = 0; p < x.patterns; ++p) {
        if (at + 9 > b.size()) return x.problem = "pattern header cut off", x;
        const uint32_t rows = le16(b, at + 5), packed = le16(b, at + 7);
        at += le32(b, at);
        const size_t stop = at + packed;
        if (stop > b.size()) return x.problem = "pattern data cut off", x;
        uint32_t cells = 0;
        while (at < stop) {
            uint8_t flags = static_cast<uint8_t>(b[at]);
            if (flags & 0x80) ++at;
            else flags = 0x1f;
            const uint8_t note = (flags & 1) ? static_cast<uint8_t>(b[at]) : 0;
            const uint8_t instrument = (flags & 2) ? static_cast<uint8_t>(b[at + ((flags & 1) ? 1 : 0)]) : 0;
            if (note > 97) return x.problem = "a note beyond key-off", x;
            if (instrument > x.instruments) return x.problem = "a note names a missing instrument", x;
            for (int bit = 0; bit < 5; ++bit) at += (flags >> bit) & 1;
            ++cells;
        }
        if (at != stop || cells != rows * x.channels) return x.problem = "packed pattern does not fill its rows", x;
    }
    for (uint32_t i = 0; i < x.instruments; ++i) {
        if (at + 29 > b.size()) return x.problem = "instrument header cut off", x;
        const uint32_t size = le32(b, at), samples = le16(b, at + 27);
        const uint32_t sampleHeader = samples > 0 ? le32(b, at + 29) : 0;
        at += size;
        uint64_t data = 0;
        for (uint32_t s = 0; s < samples; ++s) {
            if (at + sampleHeader > b.size()) return x.problem = "sample header cut off", x;
            const uint32_t length = le32(b, at), loopStart = le32(b, at + 4), loopLength = le32(b, at + 8);
            const uint8_t type = static_cast<uint8_t>(b[at + 14]);
            if ((type & 3) && loopStart + loopLength > length) return x.problem = "loop beyond the sample", x;
            if ((type & 0x10) && length % 2) return x.problem = "odd byte count in a 16-bit sample", x;
            data += length;
            at += sampleHeader;
        }
        at += data;
    }
    x.end = at;
    if (at != b.size()) x.problem = "the blocks do not end where the file ends";
    return x;
}

struct Rendering {
    bool loaded = false;
    double seconds = 0;
    std::vector<double> windowRms;  // per three seconds
    double peak = 0;
    size_t clipped = 0;
};

Rendering render(const std::string& bytes) {
    ModPlug_Settings settings;
    ModPlug_GetSettings(&settings);
    settings.mChannels = 2;
    settings.mBits = 16;
    settings.mFrequency = 44100;
    settings.mLoopCount = 0;  // stop where the song would loop
    ModPlug_SetSettings(&settings);
    Rendering r;
    std::string copy = bytes;
    ModPlugFile* file = ModPlug_Load(copy.data(), static_cast<int>(copy.size()));
    if (!file) return r;
    r.loaded = true;
    const size_t window = 44100 * 2 * 3;
    std::vector<int16_t> buffer(8192);
    double sum = 0;
    size_t inWindow = 0, frames = 0;
    int got;
    // A ten-minute cap keeps a song that never ends from hanging the test.
    while (frames < 44100u * 600 && (got = ModPlug_Read(file, buffer.data(), static_cast<int>(buffer.size() * 2))) > 0) {
        for (int i = 0; i < got / 2; ++i) {
            const double v = buffer[i] / 32768.0;
            sum += v * v;
            r.peak = std::max(r.peak, std::fabs(v));
            if (buffer[i] == 32767 || buffer[i] == -32768) ++r.clipped;
            if (++inWindow == window) {
                r.windowRms.push_back(std::sqrt(sum / window));
                sum = 0;
                inWindow = 0;
            }
        }
        frames += got / 4;
    }
    r.seconds = frames / 44100.0;
    ModPlug_Unload(file);
    return r;
}

class MusicModule : public ::testing::TestWithParam<const char*> {};

TEST_P(MusicModule, IsAWellFormedFastTrackerModule) {
    const std::string bytes = readBase(GetParam());
    ASSERT_FALSE(bytes.empty()) << GetParam() << " is missing";
    EXPECT_LT(bytes.size(), 600u * 1024) << "keep the module small";
    const XmLayout layout = walkXm(bytes);
    EXPECT_EQ(layout.problem, "");
    EXPECT_GE(layout.channels, 4u);
    EXPECT_EQ(layout.channels % 2, 0u);
    EXPECT_GE(layout.instruments, 4u);
}

TEST_P(MusicModule, PlaysAudiblyForOverAMinuteBeforeItLoops) {
    const Rendering r = render(readBase(GetParam()));
    ASSERT_TRUE(r.loaded) << "libmodplug refused " << GetParam();
    EXPECT_GE(r.seconds, 60.0);
    EXPECT_LE(r.seconds, 240.0);
    ASSERT_FALSE(r.windowRms.empty());
    for (size_t i = 0; i < r.windowRms.size(); ++i)
        EXPECT_GT(r.windowRms[i], 0.02) << "near silence at " << 3 * i << " s";
    EXPECT_GT(r.peak, 0.15);
    EXPECT_EQ(r.clipped, 0u);
}

INSTANTIATE_TEST_SUITE_P(Themes, MusicModule, ::testing::Values("theme1.xm", "theme2.xm"));

TEST(MusicModules, TheTimedThemeIsTheFasterOne) {
    const XmLayout calm = walkXm(readBase("theme1.xm")), driving = walkXm(readBase("theme2.xm"));
    EXPECT_GT(driving.bpm, calm.bpm + 20);
}

// --- Sound effects ---

struct Wave {
    std::string problem;
    int rate = 0;
    std::vector<double> samples;  // -1 .. 1
};

Wave readWave(const std::string& name) {
    Wave w;
    const std::string b = readBase(name);
    if (b.size() < 44 || b.compare(0, 4, "RIFF") != 0 || b.compare(8, 4, "WAVE") != 0) return w.problem = "not RIFF/WAVE", w;
    if (le32(b, 4) + 8 != b.size()) return w.problem = "RIFF size does not match the file", w;
    size_t at = 12;
    bool format = false;
    while (at + 8 <= b.size()) {
        const std::string id = b.substr(at, 4);
        const uint32_t size = le32(b, at + 4);
        if (at + 8 + size > b.size()) return w.problem = "chunk " + id + " cut off", w;
        if (id == "fmt ") {
            if (le16(b, at + 8) != 1 || le16(b, at + 10) != 1 || le16(b, at + 22) != 16)
                return w.problem = "not 16-bit PCM mono", w;
            w.rate = static_cast<int>(le32(b, at + 12));
            if (le32(b, at + 16) != static_cast<uint32_t>(w.rate) * 2 || le16(b, at + 20) != 2)
                return w.problem = "inconsistent byte rate", w;
            format = true;
        } else if (id == "data") {
            if (!format) return w.problem = "data before fmt", w;
            for (uint32_t i = 0; i + 1 < size; i += 2)
                w.samples.push_back(static_cast<int16_t>(le16(b, at + 8 + i)) / 32768.0);
        }
        at += 8 + size + (size & 1);
    }
    if (!format || w.samples.empty()) w.problem = "no sound data";
    return w;
}

double rms(const std::vector<double>& s, size_t from, size_t to) {
    double sum = 0;
    for (size_t i = from; i < to; ++i) sum += s[i] * s[i];
    return to > from ? std::sqrt(sum / (to - from)) : 0;
}

double peak(const std::vector<double>& s) {
    double p = 0;
    for (double v : s) p = std::max(p, std::fabs(v));
    return p;
}

class SoundEffect : public ::testing::TestWithParam<const char*> {};

TEST_P(SoundEffect, IsAudible16BitMonoWithoutClipping) {
    const Wave w = readWave(std::string(GetParam()) + ".wav");
    ASSERT_EQ(w.problem, "");
    EXPECT_TRUE(w.rate == 22050 || w.rate == 44100) << w.rate;
    const double seconds = static_cast<double>(w.samples.size()) / w.rate;
    EXPECT_GE(seconds, 0.02);
    EXPECT_LE(seconds, 2.5);
    // Loudness over the first tenth of a second, or the whole sound if shorter.
    EXPECT_GT(rms(w.samples, 0, std::min(w.samples.size(), static_cast<size_t>(w.rate / 10))), 0.03);
    EXPECT_LT(peak(w.samples), 0.97);
    EXPECT_GT(peak(w.samples), 0.15);
    // No click at either end.
    EXPECT_LT(std::fabs(w.samples.front()), 0.02);
    EXPECT_LT(std::fabs(w.samples.back()), 0.02);
}

INSTANTIATE_TEST_SUITE_P(Events, SoundEffect,
                         ::testing::Values("select", "bad", "new", "combo", "menu", "levelup", "hint", "gameover",
                                           "exel", "combo2", "combo3"));

TEST(SoundEffects, TheFallTickIsShortAndQuietSinceItRepeatsEveryStep) {
    const Wave tick = readWave("new.wav"), combo = readWave("combo.wav");
    ASSERT_EQ(tick.problem, "");
    ASSERT_EQ(combo.problem, "");
    EXPECT_LT(static_cast<double>(tick.samples.size()) / tick.rate, 0.079);
    EXPECT_LT(peak(tick.samples), 0.6 * peak(combo.samples));
}

// How loud each sound is heard, by RMS over the whole sound: the frequent small
// sounds never above a reward, and the refused swap well below the chain sounds.
enum class Heard { Often, Reward, Chain };  // a chain sound is a reward too
const struct {
    const char* name;
    Heard heard;
    double belowChainsDb;
} Loudness[] = {{"select", Heard::Often, 0}, {"bad", Heard::Often, 6},      {"menu", Heard::Often, 0},
                {"new", Heard::Often, 0},    {"exel", Heard::Reward, 0},    {"levelup", Heard::Reward, 0},
                {"combo", Heard::Chain, 0},  {"combo2", Heard::Chain, 0},   {"combo3", Heard::Chain, 0}};

double rmsDb(const char* name) {
    const Wave w = readWave(std::string(name) + ".wav");
    if (!w.problem.empty()) ADD_FAILURE() << name << ": " << w.problem;
    return 20 * std::log10(rms(w.samples, 0, w.samples.size()));
}

TEST(SoundEffects, FrequentSoundsAreNoLouderThanAnyReward) {
    double quietestReward = 0, quietestChain = 0;
    for (const auto& row : Loudness) {
        if (row.heard != Heard::Often) quietestReward = std::min(quietestReward, rmsDb(row.name));
        if (row.heard == Heard::Chain) quietestChain = std::min(quietestChain, rmsDb(row.name));
    }
    for (const auto& row : Loudness) {
        if (row.heard != Heard::Often) continue;
        EXPECT_LE(rmsDb(row.name), std::min(quietestReward, quietestChain - row.belowChainsDb)) << row.name;
    }
}

// The strongest frequency between 150 Hz and 4 kHz from one time to another.
double dominantFrequency(const Wave& w, double fromSeconds, double toSeconds) {
    const size_t from = static_cast<size_t>(w.rate * fromSeconds);
    const size_t to = std::min(w.samples.size(), static_cast<size_t>(w.rate * toSeconds));
    double best = 0, bestPower = -1;
    for (double hz = 150; hz < 4000; hz += 2) {
        double re = 0, im = 0;
        for (size_t i = from; i < to; ++i) {
            const double phase = 6.283185307179586 * hz * static_cast<double>(i) / w.rate;
            re += w.samples[i] * std::cos(phase);
            im += w.samples[i] * std::sin(phase);
        }
        if (re * re + im * im > bestPower) bestPower = re * re + im * im, best = hz;
    }
    return best;
}

double seconds(const Wave& w) { return static_cast<double>(w.samples.size()) / w.rate; }

TEST(SoundEffects, ChainSoundsRiseWithTheChain) {
    // The ringing after the second note carries the pitch.
    const double one = dominantFrequency(readWave("combo.wav"), 0.12, 0.4);
    const double two = dominantFrequency(readWave("combo2.wav"), 0.12, 0.4);
    const double three = dominantFrequency(readWave("combo3.wav"), 0.12, 0.4);
    EXPECT_GT(two, one * 1.1);
    EXPECT_GT(three, two * 1.1);
}

TEST(SoundEffects, GameOverFallsAndLevelUpRises) {
    const Wave over = readWave("gameover.wav"), up = readWave("levelup.wav");
    ASSERT_EQ(over.problem, "");
    ASSERT_EQ(up.problem, "");
    EXPECT_LT(dominantFrequency(over, seconds(over) - 0.5, seconds(over)), dominantFrequency(over, 0, 0.2));
    EXPECT_GT(dominantFrequency(up, seconds(up) - 0.5, seconds(up)), dominantFrequency(up, 0, 0.1));
}

}  // namespace
