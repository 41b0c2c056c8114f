// The game window and its rendering context.
#include <GL/gl.h>
#include <GL/glu.h>

#include <cstring>

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
//
// The window's layout reaches the rules as the first command of the next
// frame; until then the shell fits the window's own layout.
bool createGameWindow(const char* title, int width, int height, int bits, bool fullscreen) {
    static const int colourBits = bits;
    shell.fullScreenWindow = fullscreen ? 1 : 0;
    bool refused = false;
    if (!startVideo(windowProcedure)) {
        creationError("Failed To Register The Window Class.");
        return false;
    }
    // Full screen takes the desktop as it is, with no mode switch; the
    // question comes only when even that fails. Yes gives the window and its
    // layout, and the settings say so.
    int windowWidth = width, windowHeight = height;
    if (!fullscreen) windowedSize(&windowWidth, &windowHeight);
    // The smallest window shows the windowed layout at its own size.
    const ScreenGeometry& smallest = layoutGeometry(Layout::Windowed);
    WindowRequest request = {title, windowWidth, windowHeight, colourBits, 16, fullscreen, smallest.width, smallest.height};
    OpenFailure failure = openWindow(request);
    if (failure == OpenFailure::NoDisplayMode) {
        const MessageAnswer answer = messageBox(
            "The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use Windowed Mode Instead?",
            "Tarn GL", MessageButtons::YesNo, MessageIcon::Exclamation);
        if (answer != MessageAnswer::Yes) {
            messageBox("Program Will Now Close.", "ERROR", MessageButtons::Ok, MessageIcon::Stop);
            return false;
        }
        shell.fullScreenWindow = 0;
        refused = true;
        windowedSize(&request.width, &request.height);
        request.fullScreen = false;
        failure = openWindow(request);
    }
    if (failure != OpenFailure::None) return failAfterWindow(openFailureText(failure));
    // The new layout comes before anything the new window reports, and the
    // time without frames is no game time.
    addCommand(shell.input, CommandKind::Layout, shell.fullScreenWindow, refused ? 1 : 0);
    shell.input.clockRestarted = 1;
    shell.windowOpenedMs = clockMillis();
    shell.lastPointX = shell.lastPointY = NoCursorCell;
    if (shellWatch.contextMade) shellWatch.contextMade();
    showWindow();
    windowClientSize(&windowWidth, &windowHeight);
    resizeViewport(windowWidth, windowHeight);
    if (!initAtStartUp()) return failAfterWindow("Initialization Failed.");
    return true;
}

// Only releasing the context can really fail; its message does not stop the rest.
void destroyGameWindow() {
    if (!hasWindow()) return;
    // The window's size is kept for the next windowed one.
    if (!windowIsFullScreen()) windowClientSize(&shell.windowedWidth, &shell.windowedHeight);
    // The font lists belong to this context: they go while it is still current.
    if (contextIsCurrent()) deleteFontLists();
    if (!closeWindow())
        messageBox("Release Of DC And RC Failed.", "SHUTDOWN ERROR", MessageButtons::Ok, MessageIcon::Information);
}

// The layout is fitted into the drawable here, once: the viewport is the
// picture, and every drawing in layout or board units lands in it. The
// perspective keeps the layout's own shape.
void resizeViewport(int width, int height) {
    if (height == 0) height = 1;
    int drawableWidth = 0, drawableHeight = 0;
    windowDrawableSize(&drawableWidth, &drawableHeight);
    if (drawableWidth <= 0 || drawableHeight <= 0) {
        drawableWidth = width;
        drawableHeight = height;
    }
    const ScreenGeometry& layout = layoutGeometry(shell.fullScreenWindow ? Layout::FullScreen : Layout::Windowed);
    ui.fit = fitLayout(layout.width, layout.height, width, height, drawableWidth, drawableHeight);
    pictureDensityWanted = ui.fit.scale >= SharpPicturesFrom ? 2 : 1;
    pictureLayoutScale = ui.fit.scale;
    glViewport(ui.fit.pictureX, ui.fit.pictureY, ui.fit.pictureWidth, ui.fit.pictureHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, static_cast<GLdouble>(layout.width) / static_cast<GLdouble>(layout.height),
                   static_cast<GLdouble>(0.1f), 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void windowedSize(int* width, int* height) {
    if (shell.windowedWidth > 0 && shell.windowedHeight > 0) {
        *width = shell.windowedWidth;
        *height = shell.windowedHeight;
        return;
    }
    int usableWidth = 0, usableHeight = 0;
    usableDesktopSize(&usableWidth, &usableHeight);
    const ScreenGeometry& windowed = layoutGeometry(Layout::Windowed);
    const int factor = wholeWindowFactor(windowed.width, windowed.height, usableWidth, usableHeight);
    *width = windowed.width * factor;
    *height = windowed.height * factor;
}

void refreshPictureSet() {
    if (!contextIsCurrent() || !pictureSetOutdated()) return;
    uint32_t previous[TextureCount];
    std::memcpy(previous, textures, sizeof previous);
    // On failure the table keeps the set it has.
    if (createTextures()) glDeleteTextures(TextureCount, previous);
}

void switchFullScreen() {
    const bool full = settings.fullScreen == 1;
    if (hasWindow() && full == (shell.fullScreenWindow != 0)) return;
    destroyGameWindow();
    const ScreenGeometry& g = layoutGeometry(full ? Layout::FullScreen : Layout::Windowed);
    const bool made = createGameWindow("Vortiq", g.width, g.height, 16, full);
    // The window code has said why; the normal shutdown follows.
    if (!made) shell.quitRequested = 1;
}
