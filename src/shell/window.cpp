// The game window and its rendering context.
#include <GL/gl.h>
#include <GL/glu.h>

#include "assets/assets.h"
#include "game/game.h"
#include "shell/shell.h"

namespace {

void creationError(const char* text) {
    messageBox(text, "ERROR", MessageButtons::Ok, MessageIcon::Exclamation);
}

const char* openFailureText(OpenFailure failure) {
    switch (failure) {
        case OpenFailure::NoPixelFormat: return "Can't Find A Suitable PixelFormat.";
        case OpenFailure::NoContext: return "Can't Create A GL Rendering Context.";
        case OpenFailure::NotCurrent: return "Can't Activate The GL Rendering Context.";
        default: return "Window Creation Error.";
    }
}

// From the window on, a failure tears down what was made before it is reported.
bool failAfterWindow(const char* text) {
    destroyGameWindow();
    creationError(text);
    return false;
}

}  // namespace

// The framebuffer is the one the first window asked for: `bits` colour bits
// (16 in this program) and 16 depth bits, double buffered.
bool createGameWindow(const char* title, int width, int height, int bits, bool fullscreen) {
    static const int colourBits = bits;
    ui.fullScreenActive = fullscreen ? 1 : 0;
    if (!startVideo(windowProcedure)) {
        creationError("Failed To Register The Window Class.");
        return false;
    }
    WindowRequest request = {title, width, height, colourBits, 16, fullscreen};
    OpenFailure failure = openWindow(request);
    if (failure == OpenFailure::NoDisplayMode) {
        const MessageAnswer answer = messageBox(
            "The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use Windowed Mode Instead?",
            "Tarn GL", MessageButtons::YesNo, MessageIcon::Exclamation);
        if (answer != MessageAnswer::Yes) {
            messageBox("Program Will Now Close.", "ERROR", MessageButtons::Ok, MessageIcon::Stop);
            return false;
        }
        ui.fullScreenActive = 0;
        request.fullScreen = false;
        failure = openWindow(request);
    }
    if (failure != OpenFailure::None) return failAfterWindow(openFailureText(failure));
    if (shellWatch.contextMade) shellWatch.contextMade();
    showWindow();
    resizeViewport(width, height);
    if (!initAtStartUp()) return failAfterWindow("Initialization Failed.");
    return true;
}

// Only releasing the context can really fail; its message does not stop the rest.
void destroyGameWindow() {
    if (!hasWindow()) return;
    // The font lists belong to this context: they go while it is still current.
    if (contextIsCurrent()) deleteFontLists();
    if (!closeWindow())
        messageBox("Release Of DC And RC Failed.", "SHUTDOWN ERROR", MessageButtons::Ok, MessageIcon::Information);
}

void resizeViewport(int width, int height) {
    if (height == 0) height = 1;
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, static_cast<GLdouble>(width) / static_cast<GLdouble>(height), static_cast<GLdouble>(0.1f),
                   100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}
