// 16-bit PCM mono RIFF/WAVE files.
#include <algorithm>
#include <cmath>

#include "sound_local.h"

namespace {

void put16(std::string& out, uint32_t v) {
    out += static_cast<char>(v & 0xff);
    out += static_cast<char>((v >> 8) & 0xff);
}

void put32(std::string& out, uint32_t v) {
    put16(out, v & 0xffff);
    put16(out, v >> 16);
}

}  // namespace

std::vector<int16_t> toPcm16(const Signal& signal) {
    std::vector<int16_t> pcm;
    pcm.reserve(signal.samples.size());
    for (float v : signal.samples) {
        const double clamped = std::max(-1.0, std::min(1.0, static_cast<double>(v)));
        pcm.push_back(static_cast<int16_t>(std::lround(clamped * 32767)));
    }
    return pcm;
}

std::string wavFile(const Signal& signal) {
    const std::vector<int16_t> pcm = toPcm16(signal);
    const uint32_t dataBytes = static_cast<uint32_t>(pcm.size() * 2);
    std::string out;
    out += "RIFF";
    put32(out, 36 + dataBytes);
    out += "WAVE";
    out += "fmt ";
    put32(out, 16);
    put16(out, 1);  // PCM
    put16(out, 1);  // mono
    put32(out, static_cast<uint32_t>(signal.rate));
    put32(out, static_cast<uint32_t>(signal.rate) * 2);
    put16(out, 2);   // bytes per frame
    put16(out, 16);  // bits per sample
    out += "data";
    put32(out, dataBytes);
    for (int16_t v : pcm) put16(out, static_cast<uint16_t>(v));
    return out;
}
