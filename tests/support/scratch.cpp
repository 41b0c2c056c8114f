#include "support/scratch.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

ScratchFolder::ScratchFolder(Mode mode) {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/vortiq-test-XXXXXX";
    if (!mkdtemp(&pattern[0])) {
        why_ = "cannot make " + pattern + ": " + std::strerror(errno);
        return;
    }
    path_ = pattern;
    if (mkdir((path_ + "/base").c_str(), 0755) != 0) {
        why_ = "cannot make " + path_ + "/base: " + std::strerror(errno);
        return;
    }
    if (mode == Enter) {
        char here[PATH_MAX];
        if (!getcwd(here, sizeof here) || chdir(path_.c_str()) != 0) {
            why_ = "cannot work in " + path_ + ": " + std::strerror(errno);
            return;
        }
        previous_ = here;
    }
    ok_ = true;
}

bool ScratchFolder::leave() {
    if (previous_.empty()) return true;
    const bool back = chdir(previous_.c_str()) == 0;
    previous_.clear();
    return back;
}

bool ScratchFolder::remove() {
    const bool left = leave();
    if (path_.empty()) return left;
    std::error_code error;
    std::filesystem::remove_all(path_, error);
    path_.clear();
    return left && !error;
}

ScratchFolder::~ScratchFolder() { remove(); }

const std::string& lastingScratchFolder() {
    static std::vector<std::unique_ptr<ScratchFolder>> folders;
    folders.push_back(std::make_unique<ScratchFolder>(ScratchFolder::StayOutside));
    return folders.back()->path();
}
