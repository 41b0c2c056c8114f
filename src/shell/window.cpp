// The game window and its rendering context.
#include <GL/gl.h>
#include <GL/glu.h>

#include "assets/assets.h"
#include "game/game.h"
#include "shell/shell.h"

namespace {

const char* const WindowClass = "OpenGL";

struct PixelFormatDescriptor {
    uint8_t filled;
    int32_t colourBits;
    int32_t depthBits;
};
PixelFormatDescriptor pixelFormat = {0, 0, 0};

void creationError(const char* text) {
    messageBox(text, "ERROR", MessageButtons::Ok, MessageIcon::Exclamation);
}

void shutdownError(const char* text) {
    messageBox(text, "SHUTDOWN ERROR", MessageButtons::Ok, MessageIcon::Information);
}

// From the window on, a failure tears down what was made before it is reported.
bool failAfterWindow(const char* text) {
    destroyGameWindow();
    creationError(text);
    return false;
}

}  // namespace

bool createGameWindow(const char* title, int width, int height, int bits, bool fullscreen) {
    ui.fullScreenActive = fullscreen ? 1 : 0;
    if (!registerWindowClass(WindowClass, windowProcedure)) {
        creationError("Failed To Register The Window Class.");
        return false;
    }
    if (!pixelFormat.filled) {
        pixelFormat.filled = 1;
        pixelFormat.colourBits = bits;
        pixelFormat.depthBits = 16;
    }
    describePixelFormat(pixelFormat.colourBits, pixelFormat.depthBits);

    if (fullscreen && !changeDisplayMode(width, height, bits)) {
        const MessageAnswer answer = messageBox(
            "The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use Windowed Mode Instead?",
            "Tarn GL", MessageButtons::YesNo, MessageIcon::Exclamation);
        if (answer != MessageAnswer::Yes) {
            messageBox("Program Will Now Close.", "ERROR", MessageButtons::Ok, MessageIcon::Stop);
            return false;
        }
        ui.fullScreenActive = 0;
    }

    if (!createWindow(title, width, height, ui.fullScreenActive != 0)) return failAfterWindow("Window Creation Error.");
    if (!getDeviceContext()) return failAfterWindow("Can't Create A GL Device Context.");
    const int format = choosePixelFormat();
    if (format == 0) return failAfterWindow("Can't Find A Suitable PixelFormat.");
    if (!setPixelFormat(format)) return failAfterWindow("Can't Set The PixelFormat.");
    if (!createRenderingContext()) return failAfterWindow("Can't Create A GL Rendering Context.");
    if (!makeContextCurrent()) return failAfterWindow("Can't Activate The GL Rendering Context.");
    benchContextMade();
    showWindow();
    resizeViewport(width, height);
    if (!initAtStartUp()) return failAfterWindow("Initialization Failed.");
    return true;
}

void destroyGameWindow() {
    if (ui.fullScreenActive) {
        restoreDisplayMode();
        showCursor();
    }
    if (hasRenderingContext()) {
        // The font lists belong to this context: they go while it is still current.
        if (contextIsCurrent()) deleteFontLists();
        if (!releaseCurrentContext()) shutdownError("Release Of DC And RC Failed.");
        if (!deleteRenderingContext()) shutdownError("Release Rendering Context Failed.");
    }
    if (hasDeviceContext() && !releaseDeviceContext()) shutdownError("Release Device Context Failed.");
    if (hasWindow() && !destroyWindow()) shutdownError("Could Not Release hWnd.");
    if (!unregisterWindowClass(WindowClass)) shutdownError("Could Not Unregister Class.");
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
