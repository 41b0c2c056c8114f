#include "support/byte_files.h"

#include <sys/stat.h>

#include <cstdio>

namespace {

template <typename Container>
Container readWhole(const std::string& path) {
    Container bytes;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return bytes;
    char buffer[65536];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.insert(bytes.end(), buffer, buffer + got);
    std::fclose(file);
    return bytes;
}

bool writeWhole(const std::string& path, const void* data, size_t size) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

int32_t littleInt32(const uint8_t* p) {
    uint32_t bits = 0;
    for (int i = 0; i < 4; ++i) bits |= static_cast<uint32_t>(p[i]) << (8 * i);
    return static_cast<int32_t>(bits);
}

}  // namespace

Bytes readBytes(const std::string& path) { return readWhole<Bytes>(path); }
std::string readText(const std::string& path) { return readWhole<std::string>(path); }

bool writeBytes(const std::string& path, const Bytes& bytes) { return writeWhole(path, bytes.data(), bytes.size()); }
bool writeText(const std::string& path, const std::string& text) { return writeWhole(path, text.data(), text.size()); }

bool copyFile(const std::string& from, const std::string& to) {
    FILE* in = std::fopen(from.c_str(), "rb");
    if (!in) return false;
    std::fclose(in);
    return writeBytes(to, readBytes(from));
}

bool fileExists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

void appendLittle(Bytes& bytes, uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

int32_t int32At(const Bytes& bytes, size_t offset) {
    return littleInt32(&bytes.at(offset + 3) - 3);
}

int32_t int32At(const std::string& bytes, size_t offset) {
    return littleInt32(reinterpret_cast<const uint8_t*>(&bytes.at(offset + 3)) - 3);
}
