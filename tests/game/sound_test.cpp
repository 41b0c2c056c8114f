// The sound requests: their files, their guards, the record and the backend.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "driver.h"

namespace {

std::vector<int> played;
int stops = 0;
void backendSample(Sample sample) { played.push_back(static_cast<int>(sample)); }
void backendModule(Module module) { played.push_back(100 + static_cast<int>(module)); }
void backendStop() { ++stops; }

// A quiet board with a line one swap away (column 2, rows 3 and 4) and a
// spare move at the bottom, so the game goes on after the line.
void setLineAndSpareMove() {
    drive::setQuietField();
    drive::addLineOneSwapAway();
    drive::addSpareMove();
}

class Sound : public ::testing::Test {
protected:
    void SetUp() override {
        drive::start();
        played.clear();
        stops = 0;
    }
    void TearDown() override { setSoundBackend(nullptr); }
};

TEST_F(Sound, SamplesAndModulesHaveTheirFiles) {
    const char* files[] = {"base/select.wav",  "base/bad.wav",      "base/new.wav",  "base/combo.wav",
                           "base/menu.wav",    "base/levelup.wav",  "base/hint.wav", "base/gameover.wav",
                           "base/exel.wav",    "base/combo2.wav",   "base/combo3.wav"};
    for (int i = 0; i < static_cast<int>(Sample::Count); ++i)
        EXPECT_STREQ(samplePath(static_cast<Sample>(i)), files[i]);
    EXPECT_STREQ(modulePath(Module::Theme1), "base/theme1.xm");
    EXPECT_STREQ(modulePath(Module::Theme2), "base/theme2.xm");
}

TEST_F(Sound, SamplesPlayOnlyWhileSoundIsOne) {
    for (int setting : {0, 2, -1}) {
        settings.soundOn = setting;
        playSample(Sample::Menu);
    }
    EXPECT_EQ(soundLog.count, 0);
    settings.soundOn = 1;
    playSample(Sample::Menu);
    ASSERT_EQ(soundLog.count, 1);
    EXPECT_EQ(soundLog.records[0].kind, SoundRecord::SampleRequest);
    EXPECT_EQ(soundLog.records[0].what, static_cast<int>(Sample::Menu));
}

TEST_F(Sound, APlayedMoveIsSilentWithSoundOff) {
    for (int setting : {0, 2}) {
        SCOPED_TRACE(setting);
        drive::start();
        settings.soundOn = setting;
        setLineAndSpareMove();
        drive::swapByClicks(2, 3, 2, 4);  // a line
        ASSERT_TRUE(drive::settle());
        drive::swapByClicks(5, 5, 6, 5);  // a swap that goes back
        drive::runUntil([] { return turn.swapActive == 0; });
        EXPECT_GT(game.score, 0);
        EXPECT_EQ(soundLog.count, 0);
    }
}

TEST_F(Sound, APlayedMoveAsksForItsSamplesInOrder) {
    setLineAndSpareMove();
    drive::swapByClicks(2, 3, 2, 4);
    drive::runUntil([] { return turn.removing != 0; });
    drive::runUntil([] { return turn.removing == 0; });
    drive::runUntil([] { return game.fallOffset == 0.0f; });
    ASSERT_GE(soundLog.count, 3);
    EXPECT_EQ(soundLog.records[0].what, static_cast<int>(Sample::Select));
    EXPECT_EQ(soundLog.records[1].what, static_cast<int>(Sample::Combo));
    EXPECT_EQ(soundLog.records[2].what, static_cast<int>(Sample::New));
}

// The running mode picks the music; the buttons' looks do not.
TEST_F(Sound, TheRunningModesMusicPlaysWhileMusicIsOne) {
    settings.musicOn = 1;
    playModeMusic();
    game.gameMode = GameMode::Timed;
    playModeMusic();
    ui.modeAButton = ButtonPressed;  // a look out of step with the mode
    ui.modeBButton = ButtonHighlighted;
    playModeMusic();
    settings.musicOn = 2;
    playModeMusic();
    ASSERT_EQ(soundLog.count, 3);
    EXPECT_EQ(soundLog.records[0].kind, SoundRecord::ModuleRequest);
    EXPECT_EQ(soundLog.records[0].what, static_cast<int>(Module::Theme1));
    EXPECT_EQ(soundLog.records[1].what, static_cast<int>(Module::Theme2));
    EXPECT_EQ(soundLog.records[2].what, static_cast<int>(Module::Theme2));
}

TEST_F(Sound, TheBackendGetsWhatPassesTheGuards) {
    SoundBackend backend{backendSample, backendModule, backendStop};
    setSoundBackend(&backend);
    settings.musicOn = 1;
    playSample(Sample::Hint);
    playModeMusic();
    stopMusic();
    settings.soundOn = 0;
    playSample(Sample::Bad);
    EXPECT_EQ(played, (std::vector<int>{static_cast<int>(Sample::Hint), 100}));
    EXPECT_EQ(stops, 1);
    EXPECT_EQ(soundLog.count, 3);
    EXPECT_EQ(soundLog.records[2].kind, SoundRecord::StopRequest);

    setSoundBackend(nullptr);
    settings.soundOn = 1;
    playSample(Sample::Bad);
    EXPECT_EQ(played.size(), 2u);
    EXPECT_EQ(soundLog.count, 4);
}

TEST_F(Sound, TheRecordKeepsTheOldestAndCountsTheRest) {
    for (int i = 0; i < SoundRecordCapacity + 6; ++i) playSample(i % 2 ? Sample::Combo : Sample::New);
    EXPECT_EQ(soundLog.count, SoundRecordCapacity);
    EXPECT_EQ(soundLog.dropped, 6);
    EXPECT_EQ(countSampleRequests(Sample::New), SoundRecordCapacity / 2);
    clearSoundLog();
    EXPECT_EQ(soundLog.count, 0);
    EXPECT_EQ(soundLog.dropped, 0);
}

}  // namespace
