// A fresh run directory for each test: an empty base/ in a temporary folder
// that becomes the working directory, and byte helpers for the files in it.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <dirent.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "game/game.h"
#include "persist/persist.h"
#include "support/scratch.h"

using Bytes = std::vector<uint8_t>;

inline Bytes readBytes(const char* path) {
    Bytes bytes;
    FILE* f = std::fopen(path, "rb");
    if (!f) return bytes;
    int c;
    while ((c = std::fgetc(f)) != EOF) bytes.push_back(static_cast<uint8_t>(c));
    std::fclose(f);
    return bytes;
}

inline void writeBytes(const char* path, const Bytes& bytes) {
    FILE* f = std::fopen(path, "wb");
    ASSERT_NE(f, nullptr) << path;
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

inline void appendInt32(Bytes& bytes, int32_t value) {
    uint32_t bits = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(bits >> (8 * i)));
}

inline int32_t int32At(const Bytes& bytes, size_t offset) {
    uint32_t bits = 0;
    for (int i = 0; i < 4; ++i) bits |= static_cast<uint32_t>(bytes.at(offset + i)) << (8 * i);
    return static_cast<int32_t>(bits);
}

inline bool fileExists(const char* path) {
    struct stat st;
    return stat(path, &st) == 0;
}

// The names in base/, sorted, to see that no temporary file was left behind.
inline std::vector<std::string> baseEntries() {
    std::vector<std::string> names;
    if (DIR* dir = opendir("base")) {
        while (dirent* entry = readdir(dir)) {
            std::string name = entry->d_name;
            if (name != "." && name != "..") names.push_back(name);
        }
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Runs `body` in a child process that may not write a single byte (or not
// past `room` bytes) to any file: the way a full disk looks to the game, also
// when the tests run as root, who can write to read-only files. Returns the
// child's exit status: `body`'s result, or -1 when the child did not end normally.
inline int runWithoutDiskSpace(const std::function<int()>& body, rlim_t room = 0) {
    std::fflush(nullptr);
    pid_t child = fork();
    if (child == 0) {
        struct rlimit limit = {room, room};
        setrlimit(RLIMIT_FSIZE, &limit);
        _exit(body());
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class PersistTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.ok()) << folder_.why();
        resetGameState();
    }
    void TearDown() override {
        if (!folder_.remove()) ADD_FAILURE() << "could not remove " << folder_.path();
    }

private:
    ScratchFolder folder_;
};
