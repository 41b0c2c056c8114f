// Frame pacing and waiting for messages.
//
// Vertical sync paces the frames where the driver gives it. Where it is
// refused, switched off, or granted but not pacing (frames come much faster
// than the display refreshes, as with Mesa's software renderer), the loop
// sleeps until the next frame is due. The due times lie on one steady grid of
// refresh periods from the first paced frame, on the monotonic clock to the
// nanosecond: no drift from rounded sleeps, no beat against a millisecond
// timer. Frames that fall more than a period behind start a new grid instead
// of hurrying to catch up.
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "platform/platform_local.h"

namespace {

constexpr int64_t NanosPerSecond = 1000000000;
constexpr int DefaultRefreshHz = 60;
// Frames counted before judging whether vertical sync paces them, and the
// share of the refresh period below which it does not.
constexpr int JudgedFrames = 30;
constexpr double TooFast = 0.75;

int64_t monotonicNanos() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * NanosPerSecond + now.tv_nsec;
}

void sleepUntilNanos(int64_t deadline) {
    timespec until;
    until.tv_sec = static_cast<time_t>(deadline / NanosPerSecond);
    until.tv_nsec = static_cast<long>(deadline % NanosPerSecond);
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
    }
}

const PacingSources systemSources = {monotonicNanos, sleepUntilNanos};
const PacingSources* sources = &systemSources;

struct Pacing {
    int64_t periodNs = NanosPerSecond / DefaultRefreshHz;
    bool capLifted = false;
    bool sleeping = false;     // the loop paces itself
    int64_t due = 0;           // on the grid of due times; 0: no grid yet
    int judged = 0;            // frames since the judgement of vertical sync began
    int64_t judgeStart = 0;
};
Pacing pacing;

bool environmentSays(const char* name) {
    const char* value = std::getenv(name);
    return value && std::strcmp(value, "1") == 0;
}

}  // namespace

void setPacingSources(const PacingSources* replacement) { sources = replacement ? replacement : &systemSources; }

void startFramePacing(int refreshHz, bool vsyncGranted) {
    pacing = Pacing{};
    if (refreshHz <= 0) refreshHz = DefaultRefreshHz;
    pacing.periodNs = NanosPerSecond / refreshHz;
    pacing.capLifted = environmentSays("VORTIQ_NO_FRAME_CAP");
    pacing.sleeping = !vsyncGranted;
}

void paceFrame() {
    if (pacing.capLifted) return;
    const int64_t now = sources->nowNs();
    if (!pacing.sleeping) {
        // Vertical sync was granted: watch whether the frames really wait for it.
        if (pacing.judged == 0) pacing.judgeStart = now;
        if (++pacing.judged <= JudgedFrames) return;
        const double mean = static_cast<double>(now - pacing.judgeStart) / JudgedFrames;
        pacing.judged = 0;
        if (mean >= TooFast * static_cast<double>(pacing.periodNs)) return;
        pacing.sleeping = true;
    }
    // `due` is when the frame just presented was due; the next is due a
    // period later. Far behind, a new grid starts from now: no burst of
    // frames to catch up.
    if (pacing.due == 0) pacing.due = now;
    pacing.due += pacing.periodNs;
    if (pacing.due < now - pacing.periodNs) pacing.due = now;
    if (pacing.due > now) sources->sleepUntilNs(pacing.due);
}

void framePacingInterrupted() {
    pacing.due = 0;
    pacing.judged = 0;
}

bool framesPacedBySleep() { return pacing.sleeping && !pacing.capLifted; }
int64_t framePeriodNanos() { return pacing.periodNs; }
