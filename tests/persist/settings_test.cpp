// The settings file: full screen, music, sound as three 4-byte values.

#include "persist_fixture.h"

namespace {

Bytes settingsFile(int32_t fullScreen, int32_t musicOn, int32_t soundOn) {
    Bytes bytes;
    appendInt32(bytes, fullScreen);
    appendInt32(bytes, musicOn);
    appendInt32(bytes, soundOn);
    return bytes;
}

using SettingsFile = PersistTest;

TEST_F(SettingsFile, IsWrittenAsTwelveBytesInOrder) {
    settings = Settings{1, 0, 1};
    saveSettings();
    EXPECT_EQ(readBytes("base/menu.inf"), (Bytes{1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0}));
}

TEST_F(SettingsFile, ValuesAreKeptExactlyAsStored) {
    ASSERT_TRUE(writeBytes("base/menu.inf", settingsFile(1, 0, 2)));

    loadSettings();

    EXPECT_EQ(settings.fullScreen, 1);
    EXPECT_EQ(settings.musicOn, 0);
    EXPECT_EQ(settings.soundOn, 2);  // not 1: no sound plays
    saveSettings();
    EXPECT_EQ(readBytes("base/menu.inf"), settingsFile(1, 0, 2));
}

TEST_F(SettingsFile, WithoutAFileTheGameStartsWindowedWithMusicAndSound) {
    loadSettings();
    EXPECT_EQ(settings.fullScreen, 0);
    EXPECT_EQ(settings.musicOn, 1);
    EXPECT_EQ(settings.soundOn, 1);
    EXPECT_FALSE(fileExists("base/menu.inf"));  // only the exit writes it
}

TEST_F(SettingsFile, AShortFileKeepsTheWholeValuesItHolds) {
    Bytes file = settingsFile(1, 0, 0);
    file.resize(6);  // full screen whole, music cut short
    ASSERT_TRUE(writeBytes("base/menu.inf", file));

    loadSettings();

    EXPECT_EQ(settings.fullScreen, 1);
    EXPECT_EQ(settings.musicOn, 1);
    EXPECT_EQ(settings.soundOn, 1);
}

}  // namespace
