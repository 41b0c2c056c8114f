// Sound files made on the spot for the mixer tests, and the captured output
// of SDL's `disk` audio driver, which writes what would have been heard to a
// file as raw 16-bit stereo frames.
#pragma once

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include <sys/stat.h>

#include "support/byte_files.h"

namespace soundfiles {

inline void putText(std::vector<uint8_t>& out, const char* text, size_t width) {
    for (size_t i = 0; i < width; ++i) out.push_back(*text ? static_cast<uint8_t>(*text++) : 0);
}

// A mono 16-bit 22050 Hz WAV: a 440 Hz sine of the given peak and length.
inline bool writeWav(const std::string& path, int peak, double seconds) {
    const int rate = 22050;
    const int frames = static_cast<int>(rate * seconds);
    std::vector<uint8_t> bytes;
    putText(bytes, "RIFF", 4);
    appendUint32(bytes, 36 + 2 * frames);
    putText(bytes, "WAVE", 4);
    putText(bytes, "fmt ", 4);
    appendUint32(bytes, 16);
    appendUint16(bytes, 1);  // PCM
    appendUint16(bytes, 1);  // mono
    appendUint32(bytes, rate);
    appendUint32(bytes, rate * 2);
    appendUint16(bytes, 2);
    appendUint16(bytes, 16);
    putText(bytes, "data", 4);
    appendUint32(bytes, 2 * frames);
    for (int i = 0; i < frames; ++i) {
        double value = peak * std::sin(2.0 * M_PI * 440.0 * i / rate);
        appendUint16(bytes, static_cast<uint16_t>(static_cast<int16_t>(std::lround(value))));
    }
    return writeBytes(path, bytes);
}

// A two-channel XM module of one 8-row pattern (speed 3, 150 BPM: 0.4 s a
// pass) that holds one note of a looping square-wave instrument.
inline bool writeXm(const std::string& path) {
    std::vector<uint8_t> bytes;
    putText(bytes, "Extended Module: ", 17);
    putText(bytes, "test tune", 20);
    bytes.push_back(0x1a);
    putText(bytes, "vortiq tests", 20);
    appendUint16(bytes, 0x0104);
    appendUint32(bytes, 276);  // header size from this field on
    appendUint16(bytes, 1);    // song length
    appendUint16(bytes, 0);    // restart position
    appendUint16(bytes, 2);    // channels
    appendUint16(bytes, 1);    // patterns
    appendUint16(bytes, 1);    // instruments
    appendUint16(bytes, 1);    // linear frequencies
    appendUint16(bytes, 3);    // speed
    appendUint16(bytes, 150);  // BPM
    for (int i = 0; i < 256; ++i) bytes.push_back(0);  // order table: pattern 0

    std::vector<uint8_t> rows = {49, 1, 0, 0, 0, 0x80};  // C-4 with instrument 1, then an empty cell
    for (int row = 1; row < 8; ++row) rows.insert(rows.end(), {0x80, 0x80});
    appendUint32(bytes, 9);
    bytes.push_back(0);  // packing type
    appendUint16(bytes, 8);     // rows
    appendUint16(bytes, static_cast<unsigned>(rows.size()));
    bytes.insert(bytes.end(), rows.begin(), rows.end());

    const int sampleLength = 256;
    size_t instrumentStart = bytes.size();
    appendUint32(bytes, 263);
    putText(bytes, "square", 22);
    bytes.push_back(0);
    appendUint16(bytes, 1);   // samples
    appendUint32(bytes, 40);  // sample header size
    while (bytes.size() < instrumentStart + 263) bytes.push_back(0);  // key map, envelopes, vibrato
    appendUint32(bytes, sampleLength);
    appendUint32(bytes, 0);             // loop start
    appendUint32(bytes, sampleLength);  // loop length
    bytes.push_back(64);         // volume
    bytes.push_back(0);          // finetune
    bytes.push_back(1);          // forward loop, 8-bit
    bytes.push_back(128);        // panning
    bytes.push_back(0);          // relative note
    bytes.push_back(0);
    putText(bytes, "square", 22);
    int previous = 0;
    for (int i = 0; i < sampleLength; ++i) {
        int value = (i / 16) % 2 ? -100 : 100;
        bytes.push_back(static_cast<uint8_t>(value - previous));  // stored as differences
        previous = value;
    }
    return writeBytes(path, bytes);
}

inline long fileSize(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? static_cast<long>(st.st_size) : -1;
}

inline void wait(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

// The loudest frame of the captured output from byte `from` on, per side.
struct Loudness {
    int left = 0;
    int right = 0;
    int most() const { return left > right ? left : right; }
};

inline Loudness loudnessFrom(const std::string& capture, long from) {
    Loudness loudness;
    FILE* f = std::fopen(capture.c_str(), "rb");
    if (!f) return loudness;
    std::fseek(f, from - from % 4, SEEK_SET);
    uint8_t frame[4];
    while (std::fread(frame, 1, 4, f) == 4) {
        int left = std::abs(static_cast<int16_t>(frame[0] | frame[1] << 8));
        int right = std::abs(static_cast<int16_t>(frame[2] | frame[3] << 8));
        if (left > loudness.left) loudness.left = left;
        if (right > loudness.right) loudness.right = right;
    }
    std::fclose(f);
    return loudness;
}

// Sends SDL's audio to `capture` instead of a sound card, whatever driver
// the environment asks for (make check asks for the dummy one).
inline void captureAudioIn(const std::string& capture) {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", capture.c_str(), 1);
}

}  // namespace soundfiles
