// Whole files as bytes or text, and the little-endian numbers of the game's
// binary files, for the tests that write inputs and read back what was written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

// The whole file; empty when it cannot be read.
Bytes readBytes(const std::string& path);
std::string readText(const std::string& path);

// Replaces the file with these bytes; false when it could not be written in full.
bool writeBytes(const std::string& path, const Bytes& bytes);
bool writeText(const std::string& path, const std::string& text);
bool copyFile(const std::string& from, const std::string& to);

bool fileExists(const std::string& path);

// Little-endian values of `size` bytes (1 to 4) added to the end.
void appendLittle(Bytes& bytes, uint32_t value, int size);
inline void appendUint16(Bytes& bytes, uint32_t value) { appendLittle(bytes, value, 2); }
inline void appendUint32(Bytes& bytes, uint32_t value) { appendLittle(bytes, value, 4); }
inline void appendInt32(Bytes& bytes, int32_t value) { appendLittle(bytes, static_cast<uint32_t>(value), 4); }

// The little-endian 4-byte value at `offset` (bounds checked).
int32_t int32At(const Bytes& bytes, size_t offset);
int32_t int32At(const std::string& bytes, size_t offset);
