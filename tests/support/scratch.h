// A fresh folder for a test (or a program run) with an empty base/ in it,
// removed with all it holds when the object goes. Entered, it is the working
// directory while it lives and the previous one comes back when it goes.
#pragma once

#include <string>

class ScratchFolder {
public:
    enum Mode { Enter, StayOutside };
    explicit ScratchFolder(Mode mode = Enter);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    bool ok() const { return ok_; }  // made (and entered when asked); else why() says what failed
    const std::string& why() const { return why_; }
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }
    // Back to the previous working directory now; false when that failed.
    bool leave();
    // Leaves it and removes it with all it holds now; false when either failed.
    bool remove();

private:
    std::string path_;
    std::string previous_;
    std::string why_;
    bool ok_ = false;
};

// A scratch folder that lasts until the program ends; its path.
const std::string& lastingScratchFolder();
