// A fresh run directory for each test: an empty base/ in a temporary folder
// that becomes the working directory (the files in it: support/byte_files.h).
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
#include "support/byte_files.h"
#include "support/scratch.h"

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
