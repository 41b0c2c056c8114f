// The window system, on SDL2: what the shell needs of a desktop.
// (The shell's helper extends this header with the window, context, message
// and display-mode calls.)
#pragma once

#include <cstdint>

enum class MessageButtons { Ok, YesNo };
enum class MessageIcon { Exclamation, Stop, Information };
enum class MessageAnswer { Ok, Yes, No };

// Shows a message box with no owner and waits for the answer.
MessageAnswer messageBox(const char* text, const char* caption, MessageButtons buttons, MessageIcon icon);

// The frame clock: milliseconds since clockStart, from the performance
// counter, or from the millisecond timer where there is none.
struct FrameClock {
    int64_t ticksPerSecond;
    float secondsPerTick;
    uint32_t msStart;
    uint32_t msLast;
    uint8_t useCounter;
    int64_t counterStart;
    int64_t counterLast;
};
extern FrameClock frameClock;
void clockStart();
float clockMillis();
