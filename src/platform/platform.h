// The window system, on SDL2: what the shell needs of a desktop.
//
// The calls follow the steps of making a window with a GL context one by one
// (class, display mode, window, device context, pixel format, context), so the
// shell can report each failure on its own. Window-system events come out of
// peekMessage as WindowMessage records with Windows virtual-key codes.
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

// ---------------------------------------------------------------------------
// Window messages

enum class MessageKind : int32_t {
    None,
    Create,          // sent to the window procedure while createWindow runs
    Size,            // width, height: the new client size
    Activate,        // minimised: the window is minimised
    Close,           // the window's close box, the desktop's logout, SIGTERM, SIGINT
    KeyDown,         // key: virtual-key code; repeat: sent by the keyboard's auto-repeat
    KeyUp,           // key: virtual-key code
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

// ---------------------------------------------------------------------------
// The window and its GL context, step by step. Every call that can fail
// returns false (or 0) and leaves what was made before it in place.

// Starts the window system and binds the window procedure.
bool registerWindowClass(const char* className, WindowProcedure procedure);
bool unregisterWindowClass(const char* className);

// The colour and depth bits asked of the GL framebuffer for every window made
// after this call; the driver may grant more. Double buffered, RGBA.
void describePixelFormat(int colourBits, int depthBits);

// Switches the display to width x height for full screen. Succeeds only when
// the display offers exactly that mode and a full-screen window really
// covers it at that size; the window made for the switch is then the one that
// createWindow with fullscreen set hands out.
bool changeDisplayMode(int width, int height, int bits);
// Back to the desktop's own mode (and the full-screen window leaves it).
void restoreDisplayMode();
void showCursor();

// Makes the (hidden) window with the given client size at (0, 0), without a
// sizing border, and sends it the Create message before returning.
bool createWindow(const char* title, int width, int height, bool fullscreen);
bool getDeviceContext();
int choosePixelFormat();  // 0: the window cannot take a GL framebuffer
bool setPixelFormat(int format);
bool createRenderingContext();
// Makes the context current and asks for vertical sync (unless the
// environment variable VORTIQ_NO_VSYNC is 1).
bool makeContextCurrent();
// Shows the window, raises it and gives it the keyboard focus.
void showWindow();

// The releases drop their handle even when they report a failure.
bool releaseCurrentContext();  // no context current afterwards
bool deleteRenderingContext();
bool releaseDeviceContext();
bool destroyWindow();

bool hasRenderingContext();
bool hasDeviceContext();
bool hasWindow();
bool contextIsCurrent();

void* windowHandle();  // the SDL window, for the sound start-up; nullptr without one
void windowClientSize(int* width, int* height);
bool windowIsFullScreen();  // full screen, at the size of the display's current mode
void swapBuffers();

// The window icon for this window and every later one: width x height pixels,
// 4 bytes each (red, green, blue, alpha), top row first. The data is copied.
void setWindowIcon(const uint8_t* rgba, int width, int height);

// For tests: makes the named step fail (as the window system would) until
// set back to PlatformStep::None.
enum class PlatformStep {
    None,
    RegisterClass,
    DisplayMode,
    CreateWindow,
    DeviceContext,
    ChoosePixelFormat,
    SetPixelFormat,
    CreateContext,
    MakeCurrent,
    ReleaseContext,
    DeleteContext,
    ReleaseDeviceContext,
    DestroyWindow,
    UnregisterClass,
};
void setFailingStep(PlatformStep step);

// Ends the window system at program exit.
void platformQuit();

// ---------------------------------------------------------------------------
// The desktop

// Opens a file of the working directory with the desktop's default program
// (xdg-open), detached from the game. Returns false when it could not be started.
bool openDocument(const char* path);
using DocumentOpener = bool (*)(const char* path);
void setDocumentOpener(DocumentOpener opener);  // nullptr: xdg-open
