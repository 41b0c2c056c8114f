#include "scratch.h"

#include "support/byte_files.h"
#include "support/scratch.h"

#include <cstdio>
#include <cstdlib>
#include <string>

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
    const std::string path = std::string("base/") + name;
    if (!writeBytes(path, Bytes(data, data + size))) fail(path);
}

std::string readBaseFile(const char* name) { return readText(std::string("base/") + name); }

void fuzzFailure(const char* file, int line, const char* condition) {
    std::fprintf(stderr, "%s:%d: expectation failed: %s\n", file, line, condition);
    std::fflush(stderr);
    std::abort();
}
