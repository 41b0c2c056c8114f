// Frame pacing on a stand-in clock: the sleeps land on a steady grid of
// refresh periods, a late frame starts a new grid, vertical sync that does not
// pace is found out, and the cap can be lifted.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "platform/platform_local.h"

namespace {

int64_t nowNs = 0;
std::vector<int64_t> sleeps;  // the deadlines slept until

const PacingSources fakeSources = {[] { return nowNs; },
                                   [](int64_t deadline) {
                                       sleeps.push_back(deadline);
                                       if (deadline > nowNs) nowNs = deadline;
                                   }};

class Pacing : public testing::Test {
protected:
    void SetUp() override {
        unsetenv("VORTIQ_NO_FRAME_CAP");
        setPacingSources(&fakeSources);
        nowNs = 1000000000000LL;
        sleeps.clear();
    }
    void TearDown() override {
        setPacingSources(nullptr);
        unsetenv("VORTIQ_NO_FRAME_CAP");
    }
    // One frame that takes `workNs` to draw and present, then the pacing.
    static void frame(int64_t workNs) {
        nowNs += workNs;
        paceFrame();
    }
};

constexpr int64_t Period60 = 1000000000 / 60;

}  // namespace

TEST_F(Pacing, WithoutVerticalSyncFramesKeepASteadyGrid) {
    startFramePacing(60, false);
    EXPECT_TRUE(framesPacedBySleep());
    frame(3000000);
    const int64_t grid = nowNs - Period60;  // the first frame's due time
    const int64_t work[] = {2000000, 7000000, 12500000, 500000, 16000000};
    for (int n = 0; n < 1000; ++n) frame(work[n % 5]);
    ASSERT_EQ(sleeps.size(), 1001u);
    for (size_t k = 0; k < sleeps.size(); ++k)
        ASSERT_EQ(sleeps[k], grid + static_cast<int64_t>(k + 1) * Period60) << "frame " << k << " drifted";
}

TEST_F(Pacing, LateFramesAreNotHeldBackAndFarBehindStartANewGrid) {
    startFramePacing(60, false);
    frame(1000000);
    frame(1000000);
    ASSERT_EQ(sleeps.size(), 2u);
    frame(Period60 + 5000000);  // late: the next frame starts at once, on the same grid
    EXPECT_EQ(sleeps.size(), 2u);
    frame(1000000);
    EXPECT_EQ(sleeps.back() - sleeps[1], 2 * Period60);
    // Frames slower than the period are never slept after.
    for (int n = 0; n < 20; ++n) frame(Period60 * 6 / 5);
    EXPECT_EQ(sleeps.size(), 3u);
    frame(500000000);  // half a second: a new grid from here
    const int64_t restart = nowNs;
    frame(1000000);
    EXPECT_EQ(sleeps.back(), restart + Period60);
    frame(1000000);
    EXPECT_EQ(sleeps.back(), restart + 2 * Period60) << "no burst of frames to catch up";
}

TEST_F(Pacing, TheRefreshRateSetsThePeriodAndAnUnknownRateIsSixty) {
    startFramePacing(0, false);
    EXPECT_EQ(framePeriodNanos(), Period60);
    startFramePacing(75, false);
    EXPECT_EQ(framePeriodNanos(), 1000000000 / 75);
    frame(1000000);
    frame(1000000);
    EXPECT_EQ(sleeps[1] - sleeps[0], 1000000000 / 75);
}

TEST_F(Pacing, VerticalSyncThatPacesIsLeftAlone) {
    startFramePacing(60, true);
    for (int n = 0; n < 200; ++n) frame(Period60);  // the swap waited for the display
    EXPECT_TRUE(sleeps.empty());
    EXPECT_FALSE(framesPacedBySleep());
}

TEST_F(Pacing, VerticalSyncGrantedButNotPacingIsFoundOut) {
    startFramePacing(60, true);
    for (int n = 0; n < 30; ++n) frame(2000000);  // 500 frames a second
    EXPECT_TRUE(sleeps.empty()) << "judged only after the frames are counted";
    frame(2000000);
    EXPECT_TRUE(framesPacedBySleep());
    for (int n = 0; n < 100; ++n) frame(2000000);
    ASSERT_GE(sleeps.size(), 100u);
    EXPECT_EQ(sleeps.back() - sleeps[sleeps.size() - 2], Period60);
}

TEST_F(Pacing, AWaitBetweenFramesStartsANewGridAndANewJudgement) {
    startFramePacing(60, true);
    for (int n = 0; n < 20; ++n) frame(2000000);
    framePacingInterrupted();
    nowNs += 3000000000LL;  // resting
    for (int n = 0; n < 20; ++n) frame(2000000);
    EXPECT_FALSE(framesPacedBySleep()) << "twenty frames are not yet a judgement";
    startFramePacing(60, false);
    frame(1000000);
    framePacingInterrupted();
    nowNs += 40000000;
    const int64_t after = nowNs + 1000000;
    frame(1000000);
    EXPECT_EQ(sleeps.back(), after + Period60) << "the grid starts again at the frame after the wait";
}

TEST_F(Pacing, TheCapCanBeLiftedForTheBenchmark) {
    setenv("VORTIQ_NO_FRAME_CAP", "1", 1);
    startFramePacing(60, false);
    for (int n = 0; n < 100; ++n) frame(1000000);
    EXPECT_TRUE(sleeps.empty());
    EXPECT_FALSE(framesPacedBySleep());
    setenv("VORTIQ_NO_FRAME_CAP", "0", 1);
    startFramePacing(60, false);
    frame(1000000);
    frame(1000000);
    EXPECT_EQ(sleeps.size(), 2u);
}
