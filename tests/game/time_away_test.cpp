// Time that passes without frames (a stopped process, a minimised window, a
// window made again) does not advance the rules: one frame counts for 100 ms
// at most, and a restarted measurement keeps the speed measured before.
#include <gtest/gtest.h>

#include "driver.h"

namespace {

float clockNow = 0.0f;  // milliseconds

// Frames of the scene's rules that take `ms` each on the test clock.
void framesOf(float ms, int count) {
    for (int n = 0; n < count; ++n) {
        FrameInput input{};
        input.ticks = static_cast<int64_t>(clockNow) * 1000;
        stepFrame(input);
        clockNow += ms;
    }
}

class TimeAway : public ::testing::Test {
protected:
    void SetUp() override {
        drive::startQuiet(GameMode::Timed);
        drive::addSpareMove();
        scene = SceneState{};
        clockNow = 5000.0f;
        framesOf(20.0f, 11);  // one whole measurement: 50 frames per second
        EXPECT_FLOAT_EQ(scene.speedFactor, 2.1f);
    }
};

}  // namespace

TEST_F(TimeAway, AStopInsideAMeasurementCountsAsOneLongestFrame) {
    framesOf(20.0f, 4);
    clockNow += 30000.0f;  // the process was stopped for half a minute
    framesOf(20.0f, 7);
    // Nine frames of 20 ms and one of 100 ms.
    EXPECT_NEAR(scene.frameSpan, 2.8f, 1e-4f);
    EXPECT_NEAR(scene.speedFactor, 2.94f, 1e-4f);
    framesOf(20.0f, 11);
    EXPECT_FLOAT_EQ(scene.speedFactor, 2.1f) << "the next measurement is as before";
}

TEST_F(TimeAway, NoFrameAdvancesTheRulesByMoreThanAHundredMilliseconds) {
    for (float ms : {150.0f, 1000.0f, 60000.0f}) {
        SCOPED_TRACE(ms);
        framesOf(ms, 11);
        EXPECT_FLOAT_EQ(scene.speedFactor, 10.5f);
    }
    // Slow frames under the limit are measured as they are.
    framesOf(80.0f, 11);
    EXPECT_FLOAT_EQ(scene.speedFactor, 8.4f);
}

TEST_F(TimeAway, TheTimedBarAndABannerSurviveALongStop) {
    const float timeBefore = game.timeLeft;
    game.boardEvent = BoardEvent::Excellent;
    scene.bannerProgress = 0.0f;
    for (int stop = 0; stop < 5; ++stop) {
        framesOf(20.0f, 3);
        clockNow += 3600000.0f;  // an hour away, five times
    }
    framesOf(20.0f, 20);
    EXPECT_GT(game.timeLeft, timeBefore - 1.0f) << "the bar lost no more than the frames' own time";
    EXPECT_GE(game.barLength, 0.0f);
    EXPECT_EQ(game.boardEvent, BoardEvent::Excellent) << "the banner did not end in a frame or two";
    EXPECT_LT(scene.bannerProgress, 1.0f);
}

TEST_F(TimeAway, ARestartedMeasurementLeavesTheGapOutAndKeepsTheSpeed) {
    framesOf(20.0f, 6);
    restartFrameMeasurement();
    clockNow += 10000.0f;  // minimised for ten seconds
    EXPECT_FLOAT_EQ(scene.speedFactor, 2.1f);
    framesOf(10.0f, 10);
    EXPECT_FLOAT_EQ(scene.speedFactor, 2.1f) << "the speed measured before holds until the new measurement ends";
    framesOf(10.0f, 1);
    EXPECT_FLOAT_EQ(scene.speedFactor, 1.05f) << "ten frames of 10 ms, the gap left out";
}

// The clock itself starts again from 0 with a new window; a measurement
// begun on the old clock is restarted with it, not ended with a negative span.
TEST_F(TimeAway, AClockStartedAgainDoesNotMeetAnOldMeasurement) {
    framesOf(20.0f, 5);
    clockNow = 0.0f;
    restartFrameMeasurement();
    framesOf(10.0f, 11);
    EXPECT_FLOAT_EQ(scene.speedFactor, 1.05f);
}
