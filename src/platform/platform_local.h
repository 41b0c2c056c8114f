// What only the platform folder (and its tests) sees: the SDL side of the
// message translation and the clock's sources.
#pragma once

#include <SDL.h>

#include "platform/platform.h"

// The Windows virtual-key code of a key, or 0 for a key the game has no code
// for (the logo keys, the menu key, media keys, letters of other alphabets
// that sit on no Latin key).
int virtualKeyFor(SDL_Keycode sym, SDL_Scancode scancode);

// Alt combinations and F10 are the desktop's system keys: reported as
// SystemKeyDown, never as key presses.
bool isSystemKey(SDL_Keycode sym, uint16_t modifiers);

// Turns one SDL event into a window message. Window and mouse events of
// another window than `windowId` (a window already destroyed) become Other.
// `windowFlags` are the flags of the game window (for the minimised state of
// activation changes).
WindowMessage translateEvent(const SDL_Event& event, uint32_t windowId, uint32_t windowFlags);

// Where the frame clock reads its time.
struct ClockSources {
    int64_t (*counterFrequency)();  // 0: no performance counter
    int64_t (*counter)();
    uint32_t (*milliseconds)();
};
void setClockSources(const ClockSources* sources);  // nullptr: SDL's timers

// The SDL calls of opening and closing a window that can fail, in one table.
// The game runs with SDL's own; tests put stand-ins in it that fail as a
// driver would, to see each failure handled (tests/support).
struct VideoCalls {
    int (*initSubSystem)(Uint32 flags);
    SDL_Window* (*createWindow)(const char* title, int x, int y, int w, int h, Uint32 flags);
    SDL_GLContext (*createContext)(SDL_Window* window);
    int (*makeCurrent)(SDL_Window* window, SDL_GLContext context);  // context nullptr: release
};
extern VideoCalls videoCalls;

// True while SDL's video runs.
bool videoStarted();
// Sends a window message to the procedure startVideo named.
void sendToProcedure(const WindowMessage& message);
// A full-screen window of the given flags covering the display at the
// desktop's own mode (no mode switch), or nullptr where it does not come.
SDL_Window* fullScreenWindow(const char* title, Uint32 flags);
// Full screen and covering the whole display at the desktop's mode.
bool coversDisplay(SDL_Window* window);

// Game controllers (controllers.cpp). startControllers starts SDL's
// controller subsystem with the window system; without it the game goes on
// with keys and mouse.
void startControllers();
void stopControllers();
int openControllerCount();
// Takes a controller event (connection, button, stick); false for any other event.
bool padEvent(const SDL_Event& event);
// The next pad message: queued ones first, then the repeat of a held direction.
bool nextPadMessage(WindowMessage* message);
// Milliseconds until nextPadMessage has a message: 0 when one waits now, -1
// when none will come without an event (no direction held).
int padRepeatDueInMs();
// Where the repeat reads its time (milliseconds); nullptr: SDL's ticks.
void setPadClock(uint32_t (*milliseconds)());

// Where the frame pacing reads the time and sleeps: nanoseconds on a
// monotonic clock, and a sleep until such a time.
struct PacingSources {
    int64_t (*nowNs)();
    void (*sleepUntilNs)(int64_t deadline);
};
void setPacingSources(const PacingSources* sources);  // nullptr: the system's clock

// The window system's side of presenting (present.cpp), in one table: SDL's
// GLX or EGL functions, looked up for the context; tests put a simulated
// chain of buffers in it.
struct PresentCalls {
    int (*bufferAge)();  // BufferAgeUnknown where the window system does not say
    bool (*copyOffered)();  // boxes can be copied to the window, leaving the back buffer as it is
    void (*copyBoxes)(const WindowBox* boxes, int count);
    void (*swap)(const WindowBox* damage, int count);  // damage nullptr: the whole frame changed
    bool (*software)();
};
extern PresentCalls presentCalls;
// The window's picture was lost (exposed, shown again, resized): the next
// present shows the whole frame.
void frontBufferLost();
