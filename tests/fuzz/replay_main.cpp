// Runs a fuzz target's entry point over stored inputs, without the fuzzer:
// each argument is a file or a folder of files (not descending further);
// "--suffix=.bmp" limits the folders named after it to files ending so.
// Fails when no input was found, so that a lost corpus does not pass.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include <dirent.h>
#include <sys/stat.h>

#include "support/byte_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

bool isFile(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

int main(int argc, char** argv) {
    std::string suffix;
    std::vector<std::string> inputs;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg.rfind("--suffix=", 0) == 0) {
            suffix = arg.substr(9);
            continue;
        }
        if (isFile(arg)) {
            inputs.push_back(arg);
            continue;
        }
        DIR* dir = opendir(arg.c_str());
        if (!dir) {
            std::fprintf(stderr, "%s: no such file or folder\n", arg.c_str());
            return 1;
        }
        std::vector<std::string> found;
        while (dirent* entry = readdir(dir)) {
            std::string path = arg + "/" + entry->d_name;
            if (entry->d_name[0] != '.' && endsWith(path, suffix) && isFile(path)) found.push_back(path);
        }
        closedir(dir);
        std::sort(found.begin(), found.end());
        inputs.insert(inputs.end(), found.begin(), found.end());
    }
    if (inputs.empty()) {
        std::fprintf(stderr, "no inputs to replay\n");
        return 1;
    }
    for (const std::string& path : inputs) {
        const Bytes bytes = readBytes(path);
        std::fprintf(stderr, "replay %s (%zu bytes)\n", path.c_str(), bytes.size());
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    std::printf("replayed %zu inputs\n", inputs.size());
    return 0;
}
