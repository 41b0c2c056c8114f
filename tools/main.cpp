// vortiq-data GAME_DIR [CONTACT_SHEET.png]: writes the game's data into GAME_DIR.
#include <cstdio>
#include <filesystem>
#include <string>

#include "generator.h"

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: vortiq-data GAME_DIR [CONTACT_SHEET.png]\n");
        return 2;
    }
    const std::string gameDir = argv[1];
    std::error_code error;
    std::filesystem::create_directories(gameDir + "/base", error);
    if (error) {
        std::fprintf(stderr, "vortiq-data: cannot make %s/base: %s\n", gameDir.c_str(), error.message().c_str());
        return 1;
    }
    const std::string sheet = argc == 3 ? argv[2] : gameDir + "/contact-sheet.png";
    bool ok = writePictures(gameDir);
    ok = writeContactSheet(gameDir, sheet) && ok;
    ok = writeMeshes(gameDir) && ok;
    ok = writeMusic(gameDir) && ok;
    ok = writeSamples(gameDir) && ok;
    ok = writeHelpPage(gameDir) && ok;
    ok = writeIcons(gameDir) && ok;
    ok = writePlayerDefaults(gameDir) && ok;
    return ok ? 0 : 1;
}
