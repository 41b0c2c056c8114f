// base/menu.inf: full screen, music, sound, three 4-byte values.

#include <cstdint>

#include "persist/persist_local.h"

namespace {

// What a player without a settings file gets: the same as the installed file,
// a window with music and sound.
constexpr Settings FreshSettings = {0, 1, 1};

}  // namespace

void loadSettings() {
    uint8_t bytes[SettingsValues * 4];
    long size = readFileStart(SettingsPath, bytes, sizeof bytes);
    int32_t* fields[SettingsValues] = {&settings.fullScreen, &settings.musicOn, &settings.soundOn};
    const int32_t fresh[SettingsValues] = {FreshSettings.fullScreen, FreshSettings.musicOn, FreshSettings.soundOn};
    // Values are kept exactly as stored (a 2 counts as off); a field the file
    // does not reach takes its fresh value.
    for (int i = 0; i < SettingsValues; ++i) {
        *fields[i] = (size >= 4L * (i + 1)) ? getInt32(bytes + 4 * i) : fresh[i];
    }
}

void saveSettings() {
    uint8_t bytes[SettingsValues * 4];
    putInt32(bytes, settings.fullScreen);
    putInt32(bytes + 4, settings.musicOn);
    putInt32(bytes + 8, settings.soundOn);
    replaceFile(SettingsPath, bytes, sizeof bytes);  // on failure the old settings stay
}
