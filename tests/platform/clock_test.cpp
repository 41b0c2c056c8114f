// The frame clock on its two sources.
#include <gtest/gtest.h>

#include "platform/platform_local.h"

namespace {

int64_t fakeFrequency = 0;
int64_t fakeCounter = 0;
uint32_t fakeMillis = 0;

const ClockSources fakeSources = {[] { return fakeFrequency; }, [] { return fakeCounter; },
                                  [] { return fakeMillis; }};

class FrameClockTest : public testing::Test {
protected:
    void SetUp() override { setClockSources(&fakeSources); }
    void TearDown() override { setClockSources(nullptr); }
};

}  // namespace

TEST_F(FrameClockTest, PerformanceCounter) {
    fakeFrequency = 3579545;
    fakeCounter = 1000000000000LL;
    clockStart();
    EXPECT_EQ(frameClock.useCounter, 1);
    EXPECT_EQ(frameClock.counterStart, 1000000000000LL);
    EXPECT_EQ(frameClock.counterLast, frameClock.counterStart);
    EXPECT_FLOAT_EQ(frameClock.secondsPerTick, static_cast<float>(1.0 / 3579545.0));
    EXPECT_FLOAT_EQ(clockMillis(), 0.0f);
    fakeCounter += 3579545 / 2;  // half a second
    EXPECT_NEAR(clockMillis(), 500.0f, 0.01f);
}

TEST_F(FrameClockTest, MillisecondTimerWhenThereIsNoCounter) {
    fakeFrequency = 0;
    fakeMillis = 5000;
    clockStart();
    EXPECT_EQ(frameClock.useCounter, 0);
    EXPECT_EQ(frameClock.ticksPerSecond, 1000);
    EXPECT_FLOAT_EQ(frameClock.secondsPerTick, 0.001f);
    EXPECT_EQ(frameClock.msStart, 5000u);
    EXPECT_EQ(frameClock.msLast, 5000u);
    fakeMillis = 5017;
    EXPECT_NEAR(clockMillis(), 17.0f, 1e-4f);
}

TEST_F(FrameClockTest, MillisecondTimerWrapsAround) {
    fakeFrequency = 0;
    fakeMillis = 0xFFFFFFF0u;
    clockStart();
    fakeMillis = 0x10u;  // 32 ms later, past the wrap
    EXPECT_NEAR(clockMillis(), 32.0f, 1e-4f);
}

// The window is made again on the full-screen switch: the clock starts again from 0.
TEST_F(FrameClockTest, RestartBeginsAtZero) {
    fakeFrequency = 1000000;
    fakeCounter = 0;
    clockStart();
    fakeCounter = 7000000;
    EXPECT_NEAR(clockMillis(), 7000.0f, 0.01f);
    clockStart();
    EXPECT_FLOAT_EQ(clockMillis(), 0.0f);
}

TEST(FrameClockReal, AdvancesWithTime) {
    clockStart();
    const float before = clockMillis();
    SDL_Delay(20);
    const float after = clockMillis();
    EXPECT_GE(after - before, 15.0f);
    EXPECT_LT(after - before, 2000.0f);
}

// The game's time: whole microseconds, exact after days of running on either source.
TEST_F(FrameClockTest, MicrosecondsStayExactForDays) {
    const int64_t sixDays = 6LL * 24 * 3600;
    fakeFrequency = 3579545;
    fakeCounter = 1000000000000LL;
    clockStart();
    fakeCounter += sixDays * 3579545 + 3579545 / 1000;  // six days and a millisecond
    EXPECT_EQ(clockMicros(), sixDays * 1000000 + 999);
    fakeFrequency = 0;
    fakeMillis = 0xFFFFFFF0u;
    clockStart();
    fakeMillis = 0x10u;
    EXPECT_EQ(clockMicros(), 32000);
}
