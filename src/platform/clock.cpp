// The frame clock.
#include <cstring>

#include "platform/platform_local.h"

FrameClock frameClock;

namespace {

int64_t sdlFrequency() { return static_cast<int64_t>(SDL_GetPerformanceFrequency()); }
int64_t sdlCounter() { return static_cast<int64_t>(SDL_GetPerformanceCounter()); }
uint32_t sdlMilliseconds() { return SDL_GetTicks(); }

const ClockSources sdlSources = {sdlFrequency, sdlCounter, sdlMilliseconds};
const ClockSources* sources = &sdlSources;

}  // namespace

void setClockSources(const ClockSources* replacement) { sources = replacement ? replacement : &sdlSources; }

void clockStart() {
    std::memset(&frameClock, 0, sizeof frameClock);
    frameClock.ticksPerSecond = sources->counterFrequency();
    if (frameClock.ticksPerSecond <= 0) {
        frameClock.useCounter = 0;
        frameClock.msStart = sources->milliseconds();
        frameClock.secondsPerTick = 0.001f;
        frameClock.ticksPerSecond = 1000;
        frameClock.msLast = frameClock.msStart;
        return;
    }
    frameClock.counterStart = sources->counter();
    frameClock.useCounter = 1;
    frameClock.secondsPerTick = static_cast<float>(1.0 / static_cast<double>(frameClock.ticksPerSecond));
    frameClock.counterLast = frameClock.counterStart;
}

float clockMillis() {
    if (frameClock.useCounter) {
        const int64_t elapsed = sources->counter() - frameClock.counterStart;
        return static_cast<float>(elapsed) * frameClock.secondsPerTick * 1000.0f;
    }
    const uint32_t elapsed = sources->milliseconds() - frameClock.msStart;
    return static_cast<float>(elapsed) * frameClock.secondsPerTick * 1000.0f;
}

int64_t clockMicros() {
    if (frameClock.useCounter) {
        const int64_t elapsed = sources->counter() - frameClock.counterStart;
        const int64_t perSecond = frameClock.ticksPerSecond;
        return elapsed / perSecond * 1000000 + elapsed % perSecond * 1000000 / perSecond;
    }
    const uint32_t elapsed = sources->milliseconds() - frameClock.msStart;
    return static_cast<int64_t>(elapsed) * 1000;
}
