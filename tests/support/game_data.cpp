#include "support/game_data.h"

#include <filesystem>
#include <system_error>

#include "support/byte_files.h"

namespace fs = std::filesystem;

bool linkGameData(const std::string& baseDir) {
    const fs::path generated = fs::path(VORTIQ_GAME_DIR) / "base";
    if (!fs::exists(generated / "tex80.bmp") || !fs::exists(generated / "s7.raw")) return false;
    bool all = true;
    for (const auto& entry : fs::directory_iterator(generated)) {
        const std::string name = entry.path().filename();
        if (name == "data.inf" || name == "menu.inf") continue;
        const fs::path to = fs::path(baseDir) / name;
        if (name == "hiscores") {
            all = copyFile(entry.path(), to) && all;
            continue;
        }
        std::error_code error;
        fs::create_symlink(entry.path(), to, error);
        all = !error && all;
    }
    return all;
}
