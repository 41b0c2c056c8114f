// The window system, on SDL2: what the shell needs of a desktop.
//
// A window with its GL context is opened and closed in one call each; an open
// that fails says which part failed, so the shell can report it. Events come
// out of peekMessage as WindowMessage records with Windows virtual-key codes.
#pragma once

#include <cstdint>

// ---------------------------------------------------------------------------
// Message boxes

enum class MessageButtons { Ok, YesNo };
enum class MessageIcon { Exclamation, Stop, Information };
enum class MessageAnswer { Ok, Yes, No };

// Shows a message box with no owner and waits for the answer.
//
// Who answers, first match wins: the handler set with setMessageBoxHandler;
// the environment variable VORTIQ_MESSAGEBOX ("print": the box goes to
// standard error and is given its default answer, Ok or Yes; "yes" or "no":
// printed, and a Yes/No question gets that answer); a desktop message box;
// where no box can be shown, standard error and the default answer.
MessageAnswer messageBox(const char* text, const char* caption, MessageButtons buttons, MessageIcon icon);

using MessageBoxHandler = MessageAnswer (*)(const char* text, const char* caption, MessageButtons buttons,
                                            MessageIcon icon);
void setMessageBoxHandler(MessageBoxHandler handler);  // nullptr: the normal way

// ---------------------------------------------------------------------------
// The frame clock, started once per run: milliseconds since clockStart, from the performance
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
// Whole microseconds since clockStart, exact for as long as a run lasts.
int64_t clockMicros();

// ---------------------------------------------------------------------------
// Window messages

enum class MessageKind : int32_t {
    None,
    Create,          // sent to the window procedure while openWindow runs
    Size,            // width, height: the new client size
    Activate,        // minimised: the window is minimised
    Close,           // the window's close box, the desktop's logout, SIGTERM, SIGINT
    KeyDown,         // key: virtual-key code; repeat: sent by the keyboard's auto-repeat
    KeyUp,           // key: virtual-key code
    SystemKeyDown,   // key, repeat: a key pressed with Alt (not AltGr), F10 or Alt itself
    MouseMove,       // x, y: client pixels
    LeftButtonDown,  // x, y
    LeftButtonUp,    // x, y
    PadButtonDown,   // key: a PadButton of any game controller; repeat: a held direction repeating
    PadButtonUp,     // key: a PadButton
    Quit,            // code: posted by postQuitMessage; never dispatched
    Other,           // anything else the window system reports
};

struct WindowMessage {
    MessageKind kind;
    int32_t key;
    uint8_t repeat;
    int32_t x, y;
    int32_t width, height;
    uint8_t minimised;
    int32_t code;
};

using WindowProcedure = void (*)(const WindowMessage& message);

// A mouse message (MouseMove, LeftButtonDown, LeftButtonUp) at client pixel (x, y).
inline WindowMessage mouseMessage(MessageKind kind, int x, int y) {
    WindowMessage message = {};
    message.kind = kind;
    message.x = x;
    message.y = y;
    return message;
}

// The buttons of a game controller the game reads, in the standard layout
// (A at the bottom of the four face buttons). The d-pad and the left stick
// are the four directions.
enum class PadButton : int32_t { A, B, X, Y, Back, Start, Up, Down, Left, Right };

// A direction held on a controller repeats after this delay, at this interval.
constexpr uint32_t PadRepeatDelayMs = 350;
constexpr uint32_t PadRepeatIntervalMs = 110;

// Virtual-key codes the game reads (letters are 'A'..'Z', digits '0'..'9').
constexpr int VkBack = 8;
constexpr int VkReturn = 13;
constexpr int VkEscape = 27;
constexpr int VkSpace = 32;
constexpr int VkLeft = 37;
constexpr int VkUp = 38;
constexpr int VkRight = 39;
constexpr int VkDown = 40;

// Takes one waiting message off the queue: a posted quit first, then the
// controllers' messages and repeats, then the window system's events.
// Controllers are opened as they connect (those present at start too) and
// closed as they go. Returns false when nothing is waiting.
bool peekMessage(WindowMessage* message);
// Hands a message to the registered window procedure.
void dispatchMessage(const WindowMessage& message);
// The next peekMessage returns a Quit message with this code.
void postQuitMessage(int code);

// Waits until a message arrives or timeoutMs has passed; true when one waits
// (a held pad direction's repeat falling due counts). The frame pacing starts
// a new grid after it.
bool waitForMessage(int timeoutMs);

// ---------------------------------------------------------------------------
// Frame pacing. Where vertical sync is refused or switched off, or granted
// but frames still come much faster than the display refreshes, paceFrame
// sleeps after each present until the next frame is due, on a steady grid of
// refresh periods (60 Hz when the rate is unknown). The environment variable
// VORTIQ_NO_FRAME_CAP=1 lifts this cap (the benchmark's uncapped runs).

// A new window's pacing: the display's refresh rate (0: unknown) and whether
// vertical sync was granted.
void startFramePacing(int refreshHz, bool vsyncGranted);
// After each present.
void paceFrame();
// Frames were not presented for a while (a wait, a hidden window): the next
// paced frame starts a new grid.
void framePacingInterrupted();
bool framesPacedBySleep();
int64_t framePeriodNanos();

// ---------------------------------------------------------------------------
// The window and its GL context

// Starts SDL's video and events and names the procedure the window's events
// go to. False when there is no display to open a window on; the reason goes
// to standard error.
bool startVideo(WindowProcedure procedure);
// Ends SDL's video at program exit.
void platformQuit();

struct WindowRequest {
    const char* title;
    int width, height;          // the client size
    int colourBits, depthBits;  // asked of the double-buffered RGBA framebuffer; the driver may grant more
    bool fullScreen;            // cover the whole display at the desktop's own mode (no mode switch)
    // The smallest drawable, in pixels, the player may shrink the windowed
    // window to (0 x 0: no limit); it opens at least this large.
    int minWidth = 0, minHeight = 0;
};
enum class OpenFailure {
    None,
    NoDisplayMode,  // a full-screen window did not cover the display
    NoWindow,       // the window system made no window at all
    NoPixelFormat,  // windows, but none that takes a GL framebuffer
    NoContext,      // no GL context for the window
    NotCurrent,     // the context could not be made current
};
// Opens the hidden window at (0, 0), resizable and with a high-DPI drawable
// where the desktop has one (full screen: covering the display at its own
// mode; width and height are then only the layout's), sends it the Create
// message, makes its GL context and makes that current with vertical sync,
// adaptive first, then plain (none while the environment variable
// VORTIQ_NO_VSYNC is 1), and starts the frame pacing at the display's
// refresh rate.
// A failure closes whatever the call had made and leaves the display as it was.
OpenFailure openWindow(const WindowRequest& request);
// Shows the window, raises it and gives it the keyboard focus.
void showWindow();
// Leaves full screen (back to the desktop's mode, the mouse cursor shown),
// releases and deletes the context and destroys the window. False when the
// context could not be released; the rest is closed all the same.
bool closeWindow();

bool hasWindow();
bool contextIsCurrent();
// A number of its own for each GL context made (1, 2, ...), so that what
// belongs to one context is not taken for another's; 0 without a context.
uint32_t contextSerial();
void* windowHandle();  // the SDL window, for the sound start-up; nullptr without one
void windowClientSize(int* width, int* height);    // points: what mouse positions are given in
void windowDrawableSize(int* width, int* height);  // pixels of the GL drawable; 0 x 0 without a window
// The desktop's room for windows (without panels and docks); 0 x 0 when unknown.
void usableDesktopSize(int* width, int* height);
bool windowIsFullScreen();  // full screen, covering the display at its own mode
void swapBuffers();

// ---------------------------------------------------------------------------
// Presenting a frame

// A box of window pixels: x, y from the bottom left, width, height.
struct WindowBox {
    int x, y, w, h;
};

// What the back buffer holds for the frame about to be drawn, as the last
// present left it: the picture presented that many frames ago (1: the last
// one's), 0 when its content is undefined, BufferAgeUnknown where the window
// system does not say.
constexpr int BufferAgeUnknown = -1;
int backBufferAge();
// Presents the frame drawn in the back buffer: only the boxes that changed
// (count of them) where the window system can show boxes alone and the swap
// does not pace the frames, else the whole frame, with the damage named to
// the window system where it takes it. A count below zero presents it whole.
void presentFrame(const WindowBox* boxes, int count);
// Whether the GL draws in software (Mesa's llvmpipe and its kind), where
// reading the picture back costs little.
bool softwareRenderer();

// The window icon for this window and every later one: width x height pixels,
// 4 bytes each (red, green, blue, alpha), top row first. The data is copied.
void setWindowIcon(const uint8_t* rgba, int width, int height);

// ---------------------------------------------------------------------------
// The desktop

// Opens a file of the working directory with the desktop's default program
// (xdg-open), detached from the game. Returns false when the file is not
// there, xdg-open cannot run, or it refuses the document (within a moment:
// a program still running then counts as showing it).
bool openDocument(const char* path);
using DocumentOpener = bool (*)(const char* path);
void setDocumentOpener(DocumentOpener opener);  // nullptr: xdg-open
