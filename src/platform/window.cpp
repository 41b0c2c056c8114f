// The game window with its GL context, and the message queue, on SDL2.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/platform_local.h"

namespace {

struct WindowState {
    SDL_Window* window;
    SDL_GLContext context;
    uint8_t quitPosted;
    int32_t quitCode;
    std::vector<uint8_t> icon;
    int iconWidth;
    int iconHeight;
    uint32_t contextSerial;  // of the context now made; 0 without one
};

WindowState state = {nullptr, nullptr, 0, 0, {}, 0, 0, 0};
uint32_t contextsMade = 0;

void askPixelFormat(int colourBits, int depthBits) {
    // 16 colour bits are 5-6-5; more bits are taken as 8 per channel.
    const int channel = colourBits <= 16 ? 5 : 8;
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, channel);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, colourBits <= 16 ? 6 : 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, channel);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, depthBits);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
}

void applyIcon(SDL_Window* window) {
    if (!window || state.icon.empty()) return;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(state.icon.data(), state.iconWidth, state.iconHeight,
                                                              32, state.iconWidth * 4, SDL_PIXELFORMAT_RGBA32);
    if (!surface) return;
    SDL_SetWindowIcon(window, surface);
    SDL_FreeSurface(surface);
}

// The window may not be made smaller than minWidth x minHeight drawable
// pixels; on a high-DPI desktop a point holds more than one of them.
void keepAtLeast(SDL_Window* window, int minWidth, int minHeight) {
    if (minWidth <= 0 || minHeight <= 0) return;
    int pointsW = 0, pointsH = 0, pixelsW = 0, pixelsH = 0;
    SDL_GetWindowSize(window, &pointsW, &pointsH);
    SDL_GL_GetDrawableSize(window, &pixelsW, &pixelsH);
    const double ratio = pointsW > 0 && pixelsW > pointsW ? static_cast<double>(pixelsW) / pointsW : 1.0;
    const int minPointsW = static_cast<int>(std::ceil(minWidth / ratio));
    const int minPointsH = static_cast<int>(std::ceil(minHeight / ratio));
    SDL_SetWindowMinimumSize(window, minPointsW, minPointsH);
    if (pointsW < minPointsW || pointsH < minPointsH)
        SDL_SetWindowSize(window, std::max(pointsW, minPointsW), std::max(pointsH, minPointsH));
}

// The windowed window: with the framebuffer asked for, else with whatever the
// driver has. Where neither comes, a window without GL tells a display that
// has no GL framebuffer from one that makes no windows at all.
OpenFailure makeWindowed(const WindowRequest& request) {
    const Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
    state.window = videoCalls.createWindow(request.title, 0, 0, request.width, request.height, flags);
    if (!state.window) {
        SDL_GL_ResetAttributes();
        state.window = videoCalls.createWindow(request.title, 0, 0, request.width, request.height, flags);
    }
    if (state.window) {
        keepAtLeast(state.window, request.minWidth, request.minHeight);
        return OpenFailure::None;
    }
    SDL_Window* plain =
        videoCalls.createWindow(request.title, 0, 0, request.width, request.height, SDL_WINDOW_HIDDEN);
    if (!plain) return OpenFailure::NoWindow;
    SDL_DestroyWindow(plain);
    return OpenFailure::NoPixelFormat;
}

OpenFailure makeWindow(const WindowRequest& request) {
    askPixelFormat(request.colourBits, request.depthBits);
    if (!request.fullScreen) return makeWindowed(request);
    state.window = fullScreenWindow(request.title, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI);
    return state.window ? OpenFailure::None : OpenFailure::NoDisplayMode;
}

OpenFailure makeContext() {
    state.context = videoCalls.createContext(state.window);
    if (!state.context) return OpenFailure::NoContext;
    state.contextSerial = ++contextsMade;
    if (videoCalls.makeCurrent(state.window, state.context) != 0) return OpenFailure::NotCurrent;
    const char* noVsync = std::getenv("VORTIQ_NO_VSYNC");
    bool vsync = false;
    if (noVsync && std::strcmp(noVsync, "1") == 0) {
        SDL_GL_SetSwapInterval(0);
    } else {
        // Adaptive sync lets a late frame show at once instead of a whole period later.
        vsync = SDL_GL_SetSwapInterval(-1) == 0 || SDL_GL_SetSwapInterval(1) == 0;
    }
    SDL_DisplayMode mode = {};
    const int display = SDL_GetWindowDisplayIndex(state.window);
    const int refreshHz = display >= 0 && SDL_GetCurrentDisplayMode(display, &mode) == 0 ? mode.refresh_rate : 0;
    startFramePacing(refreshHz, vsync);
    return OpenFailure::None;
}

// Events after which the window's picture must be shown again whole.
bool windowShowsAgain(uint8_t event) {
    return event == SDL_WINDOWEVENT_EXPOSED || event == SDL_WINDOWEVENT_SHOWN || event == SDL_WINDOWEVENT_RESTORED ||
           event == SDL_WINDOWEVENT_SIZE_CHANGED || event == SDL_WINDOWEVENT_MAXIMIZED;
}

}  // namespace

OpenFailure openWindow(const WindowRequest& request) {
    if (!videoStarted() || state.window) return OpenFailure::NoWindow;
    OpenFailure failure = makeWindow(request);
    if (failure != OpenFailure::None) return failure;
    applyIcon(state.window);
    WindowMessage create = {};
    create.kind = MessageKind::Create;
    sendToProcedure(create);
    failure = makeContext();
    if (failure != OpenFailure::None) closeWindow();
    return failure;
}

void showWindow() {
    if (!state.window) return;
    SDL_ShowWindow(state.window);
    SDL_RaiseWindow(state.window);
}

bool closeWindow() {
    if (!state.window) return true;
    if (SDL_GetWindowFlags(state.window) & SDL_WINDOW_FULLSCREEN) {
        SDL_SetWindowFullscreen(state.window, 0);
        SDL_ShowCursor(SDL_ENABLE);
    }
    bool released = true;
    if (state.context) {
        released = videoCalls.makeCurrent(state.window, nullptr) == 0;
        SDL_GL_DeleteContext(state.context);
        state.context = nullptr;
        state.contextSerial = 0;
    }
    SDL_DestroyWindow(state.window);
    state.window = nullptr;
    return released;
}

bool contextIsCurrent() { return state.context != nullptr && SDL_GL_GetCurrentContext() == state.context; }
bool hasWindow() { return state.window != nullptr; }
uint32_t contextSerial() { return state.contextSerial; }
void* windowHandle() { return state.window; }

void windowClientSize(int* width, int* height) {
    *width = 0;
    *height = 0;
    if (state.window) SDL_GetWindowSize(state.window, width, height);
}

void windowDrawableSize(int* width, int* height) {
    *width = 0;
    *height = 0;
    if (state.window) SDL_GL_GetDrawableSize(state.window, width, height);
}

bool windowIsFullScreen() { return state.window && coversDisplay(state.window); }

void swapBuffers() {
    if (state.window) SDL_GL_SwapWindow(state.window);
}

void setWindowIcon(const uint8_t* rgba, int width, int height) {
    if (!rgba || width <= 0 || height <= 0) return;
    state.icon.assign(rgba, rgba + static_cast<size_t>(width) * height * 4);
    state.iconWidth = width;
    state.iconHeight = height;
    applyIcon(state.window);
}

// ---------------------------------------------------------------------------
// The queue

void postQuitMessage(int code) {
    state.quitPosted = 1;
    state.quitCode = code;
}

bool peekMessage(WindowMessage* message) {
    if (state.quitPosted) {
        state.quitPosted = 0;
        *message = WindowMessage{};
        message->kind = MessageKind::Quit;
        message->code = state.quitCode;
        return true;
    }
    if (!videoStarted()) return false;
    if (nextPadMessage(message)) return true;
    SDL_Event event;
    for (;;) {
        if (!SDL_PollEvent(&event)) return false;
        if (!padEvent(event)) break;
        // A controller's event that changes no button or direction (a stick's
        // jitter, a pad plugged in) is no message at all: it wakes nothing.
        if (nextPadMessage(message)) return true;
    }
    const uint32_t windowId = state.window ? SDL_GetWindowID(state.window) : 0;
    const uint32_t flags = state.window ? SDL_GetWindowFlags(state.window) : 0;
    *message = translateEvent(event, windowId, flags);
    if (event.type == SDL_WINDOWEVENT && windowShowsAgain(event.window.event)) frontBufferLost();
    return true;
}

bool waitForMessage(int timeoutMs) {
    if (state.quitPosted) return true;
    if (!videoStarted()) return false;
    // A held pad direction repeats on time, not on an event: wake for it.
    const int repeatMs = padRepeatDueInMs();
    if (repeatMs == 0) return true;
    if (repeatMs > 0 && repeatMs < timeoutMs) timeoutMs = repeatMs;
    const bool arrived = SDL_WaitEventTimeout(nullptr, timeoutMs) == 1;
    framePacingInterrupted();
    return arrived || padRepeatDueInMs() == 0;
}

void dispatchMessage(const WindowMessage& message) { sendToProcedure(message); }
