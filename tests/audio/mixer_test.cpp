// The game's sound requests played through the mixer, heard through SDL's
// disk audio driver, in a run directory of made-up sound files.

#include <gtest/gtest.h>

#include <string>
#include <unistd.h>

#include "support/scratch.h"
#include "support/sound_log.h"
#include "game/game.h"
#include "imx/imx.h"
#include "imx/sound_files.h"
#include "platform/platform.h"

namespace {

using namespace soundfiles;

constexpr long BytesPerMs = 44100 * 4 / 1000;

struct ShownBox {
    std::string text;
    std::string caption;
    MessageButtons buttons;
    MessageIcon icon;
};
std::vector<ShownBox> shownBoxes;

MessageAnswer answerBox(const char* text, const char* caption, MessageButtons buttons, MessageIcon icon) {
    shownBoxes.push_back({text, caption, buttons, icon});
    return MessageAnswer::Ok;
}

// Each sample's file has its own loudness, so what is heard tells which
// file played: sample k peaks at 1500 * (k + 1).
int peakOf(Sample sample) { return 1500 * (static_cast<int>(sample) + 1); }

class SoundBackendTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.ok()) << folder_.why();
        for (int i = 0; i < static_cast<int>(Sample::Count); ++i)
            ASSERT_TRUE(writeWav(samplePath(static_cast<Sample>(i)), peakOf(static_cast<Sample>(i)), 0.15));
        for (int i = 0; i < static_cast<int>(Module::Count); ++i)
            ASSERT_TRUE(writeXm(modulePath(static_cast<Module>(i))));
        capture_ = folder_ / "heard.raw";
        captureAudioIn(capture_);
        shownBoxes.clear();
        setMessageBoxHandler(answerBox);
        resetGameState();
        clearSoundLog();
    }
    void TearDown() override {
        stopSound();
        setMessageBoxHandler(nullptr);
        ASSERT_TRUE(folder_.leave());
    }

    void start() {
        startSound(nullptr);
        wait(100);
        ASSERT_TRUE(shownBoxes.empty()) << shownBoxes[0].text;
    }
    int loudestDuring(void (*request)(), int milliseconds = 250) {
        long from = fileSize(capture_);
        request();
        wait(milliseconds);
        return loudnessFrom(capture_, from).most();
    }
    int lastHeard(int milliseconds) {
        return loudnessFrom(capture_, fileSize(capture_) - milliseconds * BytesPerMs).most();
    }

    ScratchFolder folder_;
    std::string capture_;
};

TEST_F(SoundBackendTest, EachSampleRequestPlaysItsOwnFile) {
    settings.soundOn = 1;
    start();
    for (int i = 0; i < static_cast<int>(Sample::Count); ++i) {
        Sample sample = static_cast<Sample>(i);
        long from = fileSize(capture_);
        playSample(sample);
        wait(220);  // the sample lasts 0.15 s
        int heard = loudnessFrom(capture_, from).most();
        EXPECT_NEAR(heard, peakOf(sample), 300) << samplePath(sample);
    }
}

TEST_F(SoundBackendTest, WithTheSoundSwitchOffNothingIsHeard) {
    start();
    settings.soundOn = 0;
    EXPECT_EQ(loudestDuring([] { playSample(Sample::Combo3); }), 0);
    settings.soundOn = 2;  // a stored 2 is not "on" either
    EXPECT_EQ(loudestDuring([] { playSample(Sample::Combo3); }), 0);
    settings.soundOn = 1;
    EXPECT_GT(loudestDuring([] { playSample(Sample::Combo3); }), 10000);
}

TEST_F(SoundBackendTest, TheModeMusicLoopsUntilSwitchedOff) {
    settings.musicOn = 1;
    ui.modeAButton = ButtonPressed;
    start();

    playModeMusic();
    wait(1500);  // the test tune is 0.4 s long
    EXPECT_GT(lastHeard(200), 100);

    stopMusic();
    wait(200);
    EXPECT_EQ(loudestDuring([] {}, 200), 0);
}

TEST_F(SoundBackendTest, MakingTheWindowAgainLoadsNothingTwice) {
    settings.soundOn = 1;
    start();
    startSound(nullptr);  // the full-screen switch: created again, no uninit between

    // The mixer's tables hold the two modules and eleven samples once.
    EXPECT_EQ(ImixLoadSample("base/select.wav", 0), static_cast<int>(Sample::Count));
    EXPECT_EQ(ImixLoadModule("base/theme1.xm", 0), static_cast<int>(Module::Count));
    EXPECT_GT(loudestDuring([] { playSample(Sample::Combo3); }), 10000);
    EXPECT_TRUE(shownBoxes.empty());
}

TEST_F(SoundBackendTest, StoppingFreesEverythingAndANewStartWorks) {
    settings.soundOn = 1;
    start();
    stopSound();
    EXPECT_EQ(ImixLoadSample("base/select.wav", 0), 0);  // the tables are empty again
    ImixUninit();

    start();
    EXPECT_GT(loudestDuring([] { playSample(Sample::Combo3); }), 10000);
}

TEST_F(SoundBackendTest, WithoutAnAudioDeviceThePlayerIsToldOnceAndTheGameGoesOn) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    settings.soundOn = 1;
    settings.musicOn = 1;
    ui.modeAButton = ButtonPressed;

    startSound(nullptr);

    ASSERT_EQ(shownBoxes.size(), 1u);
    EXPECT_EQ(shownBoxes[0].text, "ERROR: Device is not found or busy.");
    EXPECT_EQ(shownBoxes[0].caption, "DirectSound");
    EXPECT_EQ(shownBoxes[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(shownBoxes[0].icon, MessageIcon::Stop);

    playSample(Sample::Select);
    playModeMusic();
    stopMusic();
    EXPECT_EQ(countSampleRequests(Sample::Select), 1);  // the requests still run their course

    startSound(nullptr);  // the window made again
    EXPECT_EQ(shownBoxes.size(), 1u);
}

// A device that was busy at the start is tried again when the player
// switches sound or music on: quietly while it stays busy, heard once free.
TEST_F(SoundBackendTest, ABusyDeviceIsTriedAgainWhenSoundIsSwitchedOn) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    settings.soundOn = 1;
    startSound(nullptr);
    ASSERT_EQ(shownBoxes.size(), 1u);
    retrySound();
    EXPECT_EQ(shownBoxes.size(), 1u);

    captureAudioIn(capture_);  // the device is free again
    retrySound();
    wait(100);
    EXPECT_GT(loudestDuring([] { playSample(Sample::Combo3); }), 10000);
    EXPECT_EQ(shownBoxes.size(), 1u);
}

}  // namespace
