// The mixer library on SDL2_mixer, heard through SDL's disk audio driver.

#include <gtest/gtest.h>

#include <SDL_mixer.h>

#include <cstdio>

#include "imx/imx.h"
#include "sound_files.h"
#include "support/scratch.h"

namespace {

using namespace soundfiles;

constexpr long BytesPerMs = 44100 * 4 / 1000;  // 16-bit stereo at 44.1 kHz

class Mixer : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.ok()) << folder_.why();
        capture_ = folder_ / "heard.raw";
        captureAudioIn(capture_);
        ASSERT_TRUE(writeWav(path("quiet.wav"), 2000, 0.5));
        ASSERT_TRUE(writeWav(path("loud.wav"), 20000, 0.5));
        ASSERT_TRUE(writeWav(path("long.wav"), 20000, 3.0));
        ASSERT_TRUE(writeXm(path("tune.xm")));
    }
    void TearDown() override {
        ImixUninit();
    }
    std::string path(const char* name) const { return folder_ / name; }

    // The loudness of what is heard over the next `milliseconds`.
    Loudness listen(int milliseconds) {
        long from = fileSize(capture_);
        wait(milliseconds);
        return loudnessFrom(capture_, from);
    }
    // The loudness of the last `milliseconds` of the capture.
    Loudness lastHeard(int milliseconds) {
        long size = fileSize(capture_);
        return loudnessFrom(capture_, size - milliseconds * BytesPerMs);
    }
    void startMixer() {
        ImixInit(15, 15, 15);
        ASSERT_TRUE(ImixStartMixer(nullptr));
        wait(100);  // the device is writing
        ASSERT_GT(fileSize(capture_), 0);
    }

    ScratchFolder folder_{ScratchFolder::StayOutside};
    std::string capture_;
};

TEST_F(Mixer, APlayedSampleIsHeardAtItsLoadedLoudness) {
    ImixInit(15, 15, 15);
    int quiet = ImixLoadSample(path("quiet.wav").c_str(), 0);
    int loud = ImixLoadSample(path("loud.wav").c_str(), 0);
    ImixSetFXVolume(255);
    ASSERT_TRUE(ImixStartMixer(nullptr));  // named before the start, as the game does
    ASSERT_NE(quiet, loud);

    long from = fileSize(capture_);
    EXPECT_GE(ImixPlaySample(loud, 64, 128, 0), 0);
    wait(300);
    Loudness heard = loudnessFrom(capture_, from);
    EXPECT_GT(heard.left, 15000);
    EXPECT_GT(heard.right, 15000);

    wait(400);  // the half-second sample has ended
    from = fileSize(capture_);
    EXPECT_GE(ImixPlaySample(quiet, 64, 128, 0), 0);
    wait(300);
    heard = loudnessFrom(capture_, from);
    EXPECT_GT(heard.most(), 1000);
    EXPECT_LT(heard.most(), 4000);
}

TEST_F(Mixer, ASampleLoadedAfterTheStartPlaysToo) {
    startMixer();
    int loud = ImixLoadSample(path("loud.wav").c_str(), 0);
    long from = fileSize(capture_);
    EXPECT_GE(ImixPlaySample(loud, 64, 128, 0), 0);
    wait(300);
    EXPECT_GT(loudnessFrom(capture_, from).most(), 15000);
}

// A sample is read from its file when it is first played, and kept: gone
// before that it plays nothing, gone after it the sample plays again.
TEST_F(Mixer, ASampleIsReadAtItsFirstPlayAndKept) {
    int loud = ImixLoadSample(path("loud.wav").c_str(), 0);
    int quiet = ImixLoadSample(path("quiet.wav").c_str(), 0);
    startMixer();
    ASSERT_GE(ImixPlaySample(loud, 64, 128, 0), 0);
    wait(600);  // the half-second sample has ended
    ASSERT_EQ(std::remove(path("loud.wav").c_str()), 0);
    ASSERT_EQ(std::remove(path("quiet.wav").c_str()), 0);

    EXPECT_LT(ImixPlaySample(quiet, 64, 128, 0), 0) << "read before it was played";
    long from = fileSize(capture_);
    EXPECT_GE(ImixPlaySample(loud, 64, 128, 0), 0);
    wait(300);
    EXPECT_GT(loudnessFrom(capture_, from).most(), 15000);
}

TEST_F(Mixer, PanningToTheLeftSilencesTheRight) {
    int loud = ImixLoadSample(path("loud.wav").c_str(), 0);
    startMixer();
    long from = fileSize(capture_);
    ImixPlaySample(loud, 64, 0, 0);
    wait(300);
    Loudness heard = loudnessFrom(capture_, from);
    EXPECT_GT(heard.left, 15000);
    EXPECT_EQ(heard.right, 0);
}

TEST_F(Mixer, TheEffectsVolumeScalesEverySample) {
    int loud = ImixLoadSample(path("loud.wav").c_str(), 0);
    startMixer();
    ImixSetFXVolume(0);
    ImixPlaySample(loud, 64, 128, 0);
    EXPECT_EQ(listen(300).most(), 0);
}

TEST_F(Mixer, AnXmModuleLoopsUntilStopped) {
    int tune = ImixLoadModule(path("tune.xm").c_str(), 0);
    startMixer();
    ImixSetMusicVolume(255);

    ASSERT_TRUE(ImixPlayModule(tune, true));
    wait(1500);  // more than three passes of the 0.4-second song
    EXPECT_TRUE(Mix_PlayingMusic());
    EXPECT_GT(lastHeard(200).most(), 1000);

    EXPECT_TRUE(ImixStopModule());
    wait(200);
    EXPECT_EQ(listen(200).most(), 0);
}

// A module is read from its file when it is first played, and kept: gone
// before that it plays nothing, gone after it the module plays again.
TEST_F(Mixer, AModuleIsReadAtItsFirstPlayAndKept) {
    ASSERT_TRUE(writeXm(path("other.xm")));
    int tune = ImixLoadModule(path("tune.xm").c_str(), 0);
    int other = ImixLoadModule(path("other.xm").c_str(), 0);
    startMixer();
    ImixSetMusicVolume(255);
    ASSERT_TRUE(ImixPlayModule(tune, true));
    ASSERT_EQ(std::remove(path("tune.xm").c_str()), 0);
    ASSERT_EQ(std::remove(path("other.xm").c_str()), 0);

    EXPECT_FALSE(ImixPlayModule(other, true)) << "read before it was played";
    ASSERT_TRUE(ImixPlayModule(tune, true));
    wait(300);
    EXPECT_GT(lastHeard(200).most(), 1000);
}

TEST_F(Mixer, AModuleWithoutTheLoopFlagEndsAfterOnePass) {
    int tune = ImixLoadModule(path("tune.xm").c_str(), 0);
    startMixer();
    ImixSetMusicVolume(255);

    ASSERT_TRUE(ImixPlayModule(tune, false));
    wait(1500);
    EXPECT_FALSE(Mix_PlayingMusic());
    EXPECT_EQ(lastHeard(200).most(), 0);
}

TEST_F(Mixer, MusicAtVolume64IsQuieterThanEffects) {
    // The same recording as a module and as a sample, at the game's volumes.
    int asMusic = ImixLoadModule(path("long.wav").c_str(), 0);
    int asSample = ImixLoadSample(path("loud.wav").c_str(), 0);
    startMixer();
    ImixSetMusicVolume(64);
    ImixSetFXVolume(255);

    ASSERT_TRUE(ImixPlayModule(asMusic, true));
    int music = listen(300).most();
    ImixStopModule();
    wait(100);
    ImixPlaySample(asSample, 64, 128, 0);
    int effect = listen(300).most();

    EXPECT_GT(music, 1000);
    // Two thirds of full scale for the same recording.
    EXPECT_GT(effect * 10, 14 * music);
    EXPECT_LT(effect * 10, 16 * music);
}

TEST_F(Mixer, HandlesThatNameNothingPlayNothing) {
    int missing = ImixLoadSample(path("nothing-here.wav").c_str(), 0);
    int missingModule = ImixLoadModule(path("nothing-here.xm").c_str(), 0);
    startMixer();
    EXPECT_LT(ImixPlaySample(missing, 64, 128, 0), 0);
    EXPECT_LT(ImixPlaySample(57, 64, 128, 0), 0);
    EXPECT_LT(ImixPlaySample(-1, 64, 128, 0), 0);
    EXPECT_FALSE(ImixPlayModule(missingModule, true));
    EXPECT_FALSE(ImixPlayModule(9, true));
    EXPECT_EQ(listen(200).most(), 0);
}

TEST_F(Mixer, WithoutAnAudioDeviceTheStartFailsAndNothingPlays) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    ImixInit(15, 15, 15);
    int loud = ImixLoadSample(path("loud.wav").c_str(), 0);
    int tune = ImixLoadModule(path("tune.xm").c_str(), 0);

    EXPECT_FALSE(ImixStartMixer(nullptr));
    EXPECT_LT(ImixPlaySample(loud, 64, 128, 0), 0);
    EXPECT_FALSE(ImixPlayModule(tune, true));
    EXPECT_FALSE(ImixStopModule());
    EXPECT_TRUE(ImixUninit());
}

TEST_F(Mixer, AfterUninitTheMixerStartsAfreshWithNewHandles) {
    int first = ImixLoadSample(path("quiet.wav").c_str(), 0);
    startMixer();
    ImixUninit();
    EXPECT_LT(ImixPlaySample(first, 64, 128, 0), 0);

    int again = ImixLoadSample(path("loud.wav").c_str(), 0);
    EXPECT_EQ(again, first);
    startMixer();
    long from = fileSize(capture_);
    ImixPlaySample(again, 64, 128, 0);
    wait(300);
    EXPECT_GT(loudnessFrom(capture_, from).most(), 15000);
}

}  // namespace
