// base/menu.inf of any content: the settings read from it are written back
// as three values that read back to the same settings.
#include <cstdint>
#include <cstring>

#include "game/game.h"
#include "persist/persist.h"
#include "scratch.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    enterScratchFolder();
    resetGameState();
    writeBaseFile("menu.inf", data, size);
    loadSettings();
    const Settings read = settings;
    // A file that holds all three values gives exactly them.
    if (size >= 12) {
        int32_t stored[3];
        for (int i = 0; i < 3; ++i)
            stored[i] = static_cast<int32_t>(static_cast<uint32_t>(data[4 * i]) | static_cast<uint32_t>(data[4 * i + 1]) << 8 |
                                             static_cast<uint32_t>(data[4 * i + 2]) << 16 |
                                             static_cast<uint32_t>(data[4 * i + 3]) << 24);
        FUZZ_EXPECT(read.fullScreen == stored[0] && read.musicOn == stored[1] && read.soundOn == stored[2]);
    }
    saveSettings();
    FUZZ_EXPECT(readBaseFile("menu.inf").size() == 12);
    settings = Settings{-7, -7, -7};
    loadSettings();
    FUZZ_EXPECT(std::memcmp(&settings, &read, sizeof read) == 0);
    return 0;
}
