// base/menu.inf of any content: the settings read from it are written back
// as three values that read back to the same settings.
#include <cstdint>
#include <cstring>

#include "game/game.h"
#include "persist/persist.h"
#include "scratch.h"
#include "support/byte_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    enterScratchFolder();
    resetGameState();
    writeBaseFile("menu.inf", data, size);
    loadSettings();
    const Settings read = settings;
    // A file that holds all three values gives exactly them.
    if (size >= 12) {
        const Bytes file(data, data + size);
        FUZZ_EXPECT(read.fullScreen == int32At(file, 0) && read.musicOn == int32At(file, 4) &&
                    read.soundOn == int32At(file, 8));
    }
    saveSettings();
    FUZZ_EXPECT(readBaseFile("menu.inf").size() == 12);
    settings = Settings{-7, -7, -7};
    loadSettings();
    FUZZ_EXPECT(std::memcmp(&settings, &read, sizeof read) == 0);
    return 0;
}
