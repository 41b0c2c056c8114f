// The application shell: the program's entry and main loop, the game window
// with its GL context, the window procedure and the screen buttons.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/platform.h"

// What the shell keeps between messages and frames.
struct ShellState {
    uint8_t keys[256];       // 1 while the key with that virtual-key code is down
    uint8_t windowActive;    // cleared while the window is minimised; 1 at load
    int32_t quitRequested;   // ends the main loop
    uint8_t letterLatch;     // a pass over the letter keys was taken; wait until all are up
    uint8_t backspaceLatch;  // Backspace was taken; wait until it is up
    int32_t exitCode;        // the code of the quit message that ended the loop
    uint8_t keysUnseen[256];  // pressed since the last frame's key work
    uint8_t keysLetGo[256];   // released before any frame's key work saw the press
    int32_t windowedWidth;    // the last windowed window's size in points, 0 before one was left
    int32_t windowedHeight;
    uint8_t resting;          // the last frame drawn is what the next would show: wait for input
    uint8_t rested;           // the loop waited since the last frame: 1, then 2 while input is gathered
    float gatherUntilMs;      // on clockMillis: the first frame after a rest waits for input until then
    float pagesFreedMs;       // on clockMillis: when the heap's free pages last went back to the system
};
extern ShellState shell;

// Puts the shell's state back to its program-load value.
void resetShellState();

// ---------------------------------------------------------------------------
// The window

// Makes the window and its rendering context, runs the start-up
// initialisation, and reports every failure in a message box.
bool createGameWindow(const char* title, int width, int height, int bits, bool fullscreen);
// Releases everything createGameWindow made; safe on a half-made window.
void destroyGameWindow();
// The layout fitted into a window of width x height points: the viewport
// (the picture, centred in the drawable) and the 45-degree perspective of
// the board; asks for the large pictures from this scale on.
void resizeViewport(int width, int height);
constexpr float SharpPicturesFrom = 1.5f;
// The size a windowed window opens at: the last one's, or the windowed
// layout times the largest whole factor that fits the usable desktop.
void windowedSize(int* width, int* height);
// After a resize: the other picture set, when the scale crossed SharpPicturesFrom.
void refreshPictureSet();

// ---------------------------------------------------------------------------
// Messages and buttons

void windowProcedure(const WindowMessage& message);

// Highlights of the side panel (on the board screen).
void sidePanelHover();
// Highlights of the dialog, high-score and options screens.
void otherScreensHover();
// A left click at the mouse position on whatever screen shows. Returns false
// when the full-screen switch replaced the window: the click ends there.
bool screenButtonsClick();
// The buttons that keys and controllers press.
enum class ScreenButton {
    NewGame, TimedMode, LevelsMode, Hint, Options, Quit,  // side panel
    DialogFirst, DialogSecond,                           // yes / continue, no / new game
    HighScoresDone,                                      // the high-score screen's button
    OptionsBack,                                         // the options screen's back button
};
// A click on that button, wherever the mouse is: exactly what a left click
// inside it does on the screen showing (nothing where it is not shown).
bool pressScreenButton(ScreenButton button);
// Windowed to full screen or back: the window is made again.
void switchFullScreen();
// F11 or Alt+Enter, on any screen: the switch as the options screen's button makes it.
void fullScreenKey();

// ---------------------------------------------------------------------------
// The command line

enum class CommandAction { Play, Help, Version, Refuse };
struct CommandLine {
    CommandAction action;
    std::string complaint;  // why the line was refused
};
// What the arguments ask for; the first option that is not understood refuses them.
CommandLine readCommandLine(int argc, const char* const* argv);
// Prints the help or the version to out, or a refusal to err, and gives the
// exit status (0, or 2 for a refusal; 1 when out cannot be written).
int answerCommandLine(const CommandLine& line, std::FILE* out, std::FILE* err);

// ---------------------------------------------------------------------------
// Keys and controllers: the board's cursor, the dialogs and the side panel

// A key press (virtual-key code; repeat: the keyboard's auto-repeat).
void keyCommand(int key, bool repeat);
// A controller button press (repeat: a held direction repeating).
void padCommand(PadButton button, bool repeat);
// The name entry's confirmation, as Enter or Space held on that screen.
void confirmName();
// Pauses or resumes the timed mode on the board screen; false elsewhere.
bool togglePause();

// ---------------------------------------------------------------------------
// The main loop

// The work of the held keys after each frame: pause, the name letters,
// Backspace, confirming the name, and the latches.
void heldKeyWork();
// Whether the heap's free pages are due to go back to the system after the
// frame drawn at nowMs: a second after they last went, or at once when the
// clock has started again (a new window). Notes the time when they are.
bool freePagesDue(float nowMs);
// One pass of the main loop: one message; or, while the picture stands still
// (or the window is minimised), a wait for input; or one frame, paced, and
// the key work.
void mainLoopPass();
// Saves what the player owns, tears the window down and stops the sound.
void shutdownGame();
// Start-up, the main loop and the shutdown; the program's exit code.
int runGame();

// ---------------------------------------------------------------------------
// What a program built around the shell (the benchmark) watches: each is
// called when set; the game sets none.

struct ShellWatch {
    void (*contextMade)();     // the GL context of a window is current
    void (*framePresented)();  // a frame was just presented
    bool (*wantsFrames)();     // true: frames must keep coming (no rest yet)
    void (*loopEnded)();       // the main loop has ended, before the shutdown
};
extern ShellWatch shellWatch;
