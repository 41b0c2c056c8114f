// The application shell: the program's entry and main loop, the game window
// with its GL context, the window procedure and the screen buttons.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "game/game.h"
#include "platform/platform.h"

// What the shell keeps between messages and frames.
struct ShellState {
    uint8_t windowActive;    // cleared while the window is minimised; 1 at load
    int32_t quitRequested;   // ends the main loop
    int32_t exitCode;        // the code of the quit message that ended the loop
    int32_t windowedWidth;    // the last windowed window's size in points, 0 before one was left
    int32_t windowedHeight;
    uint8_t resting;          // the last frame drawn is what the next would show: wait for input
    uint8_t rested;           // the loop waited since the last frame: 1, then 2 while input is gathered
    int64_t gatherUntil;      // on clockMicros: the first frame after a rest waits for input until then
    float pagesFreedMs;       // on clockMillis: when the heap's free pages last went back to the system
    float windowOpenedMs;     // on clockMillis: when the last window was made
    FrameInput input;         // the next frame's input, gathered from the messages
    uint32_t requests;        // what the last step asked of the shell (ShellRequest flags)
    uint8_t woken;            // the message just handled queued a command or changed the window
    uint8_t fullScreenWindow; // the window on screen is full screen (its layout)
    int32_t lastPointX;       // the layout point of the last mouse command queued
    int32_t lastPointY;
    uint8_t held;             // Held flags: what went down on this window and has not come up
};

// What a window switch waits for: made again under a held button or key, the
// window would lose its release, and the key would come down again in the new
// window (the window system presses held keys anew there).
enum Held : uint8_t { HeldButton = 1, HeldF11 = 2, HeldReturn = 4 };
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
// Messages

// Turns a message into the next frame's commands (the keys, the mouse, the
// controllers), or does the window's own work (size, activation, close).
// Changes no game state.
void windowProcedure(const WindowMessage& message);
// Makes the window again in the layout the settings ask for.
void switchFullScreen();
// The files and the sound device, as the rules reach them inside a step.
void connectStepHooks();
// Carries out what the last step asked for: the full-screen switch, the help
// page, the end of the loop.
void carryOutRequests();

// ---------------------------------------------------------------------------
// The command line

enum class CommandAction { Play, Help, Version, Refuse, Watch, Check };
struct CommandLine {
    CommandAction action;
    std::string complaint;  // why the line was refused
    std::string replay;     // the file to watch or check
};
// What the arguments ask for; the first option that is not understood refuses them.
CommandLine readCommandLine(int argc, const char* const* argv);
// Prints the help or the version to out, or a refusal to err, and gives the
// exit status (0, or 2 for a refusal; 1 when out cannot be written).
int answerCommandLine(const CommandLine& line, std::FILE* out, std::FILE* err);

// ---------------------------------------------------------------------------
// The main loop

// Whether the heap's free pages are due to go back to the system after the
// frame drawn at nowMs: a second after they last went, or at once when the
// clock reads earlier than then. Notes the time when they are.
bool freePagesDue(float nowMs);
// One pass of the main loop: one message, turned into commands; or what the
// last steps asked for, once no click or full-screen key is held; or, while
// the picture stands still (or the window is minimised), a wait for input; or
// one frame with the commands gathered, paced.
void mainLoopPass();
// Saves what the player owns, tears the window down and stops the sound.
void shutdownGame();
// Start-up, the main loop and the shutdown; the program's exit code.
int runGame();
// Shows the game recorded in the file at its recorded speed, touching none
// of the player's files; 0, or 2 when the file cannot be read.
int watchReplay(const char* path);
// From the high-score screen: shows the game of an entry in the game's own
// window, then puts the game shown back as it was.
void watchEntryReplay(const char* path);

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
