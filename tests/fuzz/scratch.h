// The readers of the player's files and of the game data read from base/ in
// the working directory: each input goes into a scratch run directory first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Creates base/ in a fresh temporary folder and makes it the working
// directory (once per process); the folder is removed at exit.
void enterScratchFolder();

// Replaces base/<name> with the given bytes.
void writeBaseFile(const char* name, const uint8_t* data, size_t size);

// The whole of base/<name>; empty when it cannot be read.
std::string readBaseFile(const char* name);

// Stops the process with a message when an expectation does not hold, so
// that the fuzzer records the input (and a replay fails).
#define FUZZ_EXPECT(condition)                                                                         \
    do {                                                                                               \
        if (!(condition)) fuzzFailure(__FILE__, __LINE__, #condition);                                 \
    } while (0)
[[noreturn]] void fuzzFailure(const char* file, int line, const char* condition);
