#include "scratch.h"

#include "support/scratch.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

[[noreturn]] void fail(const std::string& what) {
    std::perror(what.c_str());
    std::abort();
}

}  // namespace

// Entered on the first input, removed when the program ends.
void enterScratchFolder() {
    static ScratchFolder folder;
    if (!folder.ok()) fail(folder.why());
}

void writeBaseFile(const char* name, const uint8_t* data, size_t size) {
    std::string path = std::string("base/") + name;
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) fail(path);
    while (size > 0) {
        ssize_t written = write(fd, data, size);
        if (written <= 0) fail(path);
        data += written;
        size -= static_cast<size_t>(written);
    }
    close(fd);
}

std::string readBaseFile(const char* name) {
    std::string bytes;
    std::string path = std::string("base/") + name;
    int fd = open(path.c_str(), O_RDONLY);
    if (fd < 0) return bytes;
    char buffer[4096];
    ssize_t got;
    while ((got = read(fd, buffer, sizeof buffer)) > 0) bytes.append(buffer, static_cast<size_t>(got));
    close(fd);
    return bytes;
}

void fuzzFailure(const char* file, int line, const char* condition) {
    std::fprintf(stderr, "%s:%d: expectation failed: %s\n", file, line, condition);
    std::fflush(stderr);
    std::abort();
}
