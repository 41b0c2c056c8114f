// The game window, its GL context, the full-screen display mode and the
// message queue, on SDL2.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/platform_local.h"

namespace {

struct PlatformState {
    WindowProcedure procedure;
    uint8_t videoStarted;
    SDL_Window* window;
    SDL_Window* fullScreenWindow;  // made by the display-mode switch, handed out by createWindow
    SDL_GLContext context;
    uint8_t deviceContextHeld;
    uint8_t modeChanged;
    int colourBits;
    int depthBits;
    uint8_t quitPosted;
    int32_t quitCode;
    PlatformStep failingStep;
    std::vector<uint8_t> icon;
    int iconWidth;
    int iconHeight;
};

PlatformState platform = {nullptr, 0, nullptr, nullptr, nullptr, 0, 0, 16, 16, 0, 0, PlatformStep::None, {}, 0, 0};

bool failing(PlatformStep step) { return platform.failingStep == step; }

void applyPixelFormat() {
    // 16 colour bits are 5-6-5; more bits are taken as 8 per channel.
    const int channel = platform.colourBits <= 16 ? 5 : 8;
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, channel);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, platform.colourBits <= 16 ? 6 : 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, channel);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, platform.depthBits);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
}

void applyIcon(SDL_Window* window) {
    if (!window || platform.icon.empty()) return;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(platform.icon.data(), platform.iconWidth,
                                                              platform.iconHeight, 32, platform.iconWidth * 4,
                                                              SDL_PIXELFORMAT_RGBA32);
    if (!surface) return;
    SDL_SetWindowIcon(window, surface);
    SDL_FreeSurface(surface);
}

bool displayOffersMode(int width, int height) {
    const int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(0, i, &mode) == 0 && mode.w == width && mode.h == height) return true;
    }
    return false;
}

bool coversDisplayAt(SDL_Window* window, int width, int height) {
    if (!(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN)) return false;
    int w = 0, h = 0;
    SDL_GetWindowSize(window, &w, &h);
    SDL_DisplayMode current;
    if (SDL_GetCurrentDisplayMode(SDL_GetWindowDisplayIndex(window), &current) != 0) return false;
    return w == width && h == height && current.w == width && current.h == height;
}

}  // namespace

// ---------------------------------------------------------------------------

void setFailingStep(PlatformStep step) { platform.failingStep = step; }

bool registerWindowClass(const char* /*className*/, WindowProcedure procedure) {
    if (failing(PlatformStep::RegisterClass)) return false;
    if (!platform.videoStarted) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
            std::fprintf(stderr, "vortiq: no display to open a window on: %s\n", SDL_GetError());
            return false;
        }
        // Without a display SDL falls back to drivers that draw where nobody
        // sees it; the game would run on, unseen. Only when asked for.
        const char* driver = SDL_GetCurrentVideoDriver();
        const bool unseen = driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
        if (unseen && !std::getenv("SDL_VIDEODRIVER")) {
            SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
            std::fprintf(stderr, "vortiq: no display to open a window on (is DISPLAY or WAYLAND_DISPLAY set?)\n");
            return false;
        }
        platform.videoStarted = 1;
        // The game keeps the screen awake: no screen saver, no monitor power-down.
        SDL_DisableScreenSaver();
        startControllers();
    }
    platform.procedure = procedure;
    return true;
}

bool unregisterWindowClass(const char* /*className*/) {
    platform.procedure = nullptr;
    return !failing(PlatformStep::UnregisterClass);
}

void describePixelFormat(int colourBits, int depthBits) {
    platform.colourBits = colourBits;
    platform.depthBits = depthBits;
}

bool changeDisplayMode(int width, int height, int /*bits*/) {
    if (failing(PlatformStep::DisplayMode) || !platform.videoStarted) return false;
    if (!displayOffersMode(width, height)) return false;
    if (platform.fullScreenWindow) SDL_DestroyWindow(platform.fullScreenWindow);
    applyPixelFormat();
    SDL_Window* window = SDL_CreateWindow("", 0, 0, width, height,
                                          SDL_WINDOW_OPENGL | SDL_WINDOW_FULLSCREEN | SDL_WINDOW_HIDDEN);
    if (!window) return false;
    SDL_DisplayMode mode = {};
    mode.w = width;
    mode.h = height;
    SDL_SetWindowDisplayMode(window, &mode);
    SDL_ShowWindow(window);
    // The mode switch takes a moment; wait for it, but not for ever.
    const uint32_t start = SDL_GetTicks();
    while (!coversDisplayAt(window, width, height) && SDL_GetTicks() - start < 2000) {
        SDL_PumpEvents();
        SDL_Delay(10);
    }
    if (!coversDisplayAt(window, width, height)) {
        SDL_DestroyWindow(window);
        return false;
    }
    platform.fullScreenWindow = window;
    platform.modeChanged = 1;
    return true;
}

void restoreDisplayMode() {
    if (platform.window && (SDL_GetWindowFlags(platform.window) & SDL_WINDOW_FULLSCREEN))
        SDL_SetWindowFullscreen(platform.window, 0);
    if (platform.fullScreenWindow) {
        SDL_DestroyWindow(platform.fullScreenWindow);
        platform.fullScreenWindow = nullptr;
    }
    platform.modeChanged = 0;
}

void showCursor() {
    if (platform.videoStarted) SDL_ShowCursor(SDL_ENABLE);
}

bool createWindow(const char* title, int width, int height, bool fullscreen) {
    if (failing(PlatformStep::CreateWindow) || !platform.videoStarted || platform.window) return false;
    if (fullscreen && platform.fullScreenWindow) {
        platform.window = platform.fullScreenWindow;
        platform.fullScreenWindow = nullptr;
        SDL_SetWindowTitle(platform.window, title);
    } else {
        applyPixelFormat();
        platform.window = SDL_CreateWindow(title, 0, 0, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        if (!platform.window) {
            // Take whatever framebuffer the driver has.
            SDL_GL_ResetAttributes();
            platform.window = SDL_CreateWindow(title, 0, 0, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        }
        if (!platform.window) return false;
    }
    applyIcon(platform.window);
    WindowMessage create = {};
    create.kind = MessageKind::Create;
    dispatchMessage(create);
    return true;
}

bool getDeviceContext() {
    if (failing(PlatformStep::DeviceContext) || !platform.window) return false;
    platform.deviceContextHeld = 1;
    return true;
}

int choosePixelFormat() {
    if (failing(PlatformStep::ChoosePixelFormat) || !platform.deviceContextHeld) return 0;
    return (SDL_GetWindowFlags(platform.window) & SDL_WINDOW_OPENGL) ? 1 : 0;
}

bool setPixelFormat(int format) {
    if (failing(PlatformStep::SetPixelFormat)) return false;
    return format == 1 && platform.window;
}

bool createRenderingContext() {
    if (failing(PlatformStep::CreateContext) || !platform.window) return false;
    platform.context = SDL_GL_CreateContext(platform.window);
    return platform.context != nullptr;
}

bool makeContextCurrent() {
    if (failing(PlatformStep::MakeCurrent) || !platform.context) return false;
    if (SDL_GL_MakeCurrent(platform.window, platform.context) != 0) return false;
    const char* noVsync = std::getenv("VORTIQ_NO_VSYNC");
    SDL_GL_SetSwapInterval(noVsync && std::strcmp(noVsync, "1") == 0 ? 0 : 1);
    return true;
}

void showWindow() {
    if (!platform.window) return;
    SDL_ShowWindow(platform.window);
    SDL_RaiseWindow(platform.window);
}

// A release that fails still drops its handle: the teardown goes on without it.
bool releaseCurrentContext() {
    const bool released = platform.videoStarted && SDL_GL_MakeCurrent(platform.window, nullptr) == 0;
    return released && !failing(PlatformStep::ReleaseContext);
}

bool deleteRenderingContext() {
    if (platform.context) SDL_GL_DeleteContext(platform.context);
    platform.context = nullptr;
    return !failing(PlatformStep::DeleteContext);
}

bool releaseDeviceContext() {
    platform.deviceContextHeld = 0;
    return !failing(PlatformStep::ReleaseDeviceContext);
}

bool destroyWindow() {
    if (platform.window) SDL_DestroyWindow(platform.window);
    platform.window = nullptr;
    platform.deviceContextHeld = 0;
    return !failing(PlatformStep::DestroyWindow);
}

bool contextIsCurrent() { return platform.context != nullptr && SDL_GL_GetCurrentContext() == platform.context; }
bool hasRenderingContext() { return platform.context != nullptr; }
bool hasDeviceContext() { return platform.deviceContextHeld != 0; }
bool hasWindow() { return platform.window != nullptr; }
void* windowHandle() { return platform.window; }

void windowClientSize(int* width, int* height) {
    *width = 0;
    *height = 0;
    if (platform.window) SDL_GetWindowSize(platform.window, width, height);
}

bool windowIsFullScreen() {
    if (!platform.window) return false;
    int width = 0, height = 0;
    SDL_GetWindowSize(platform.window, &width, &height);
    return coversDisplayAt(platform.window, width, height);
}

void swapBuffers() {
    if (platform.window) SDL_GL_SwapWindow(platform.window);
}

void setWindowIcon(const uint8_t* rgba, int width, int height) {
    if (!rgba || width <= 0 || height <= 0) return;
    platform.icon.assign(rgba, rgba + static_cast<size_t>(width) * height * 4);
    platform.iconWidth = width;
    platform.iconHeight = height;
    applyIcon(platform.window);
}

void platformQuit() {
    if (platform.fullScreenWindow) SDL_DestroyWindow(platform.fullScreenWindow);
    platform.fullScreenWindow = nullptr;
    stopControllers();
    if (platform.videoStarted) SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    platform.videoStarted = 0;
}

// ---------------------------------------------------------------------------
// The queue

void postQuitMessage(int code) {
    platform.quitPosted = 1;
    platform.quitCode = code;
}

bool peekMessage(WindowMessage* message) {
    if (platform.quitPosted) {
        platform.quitPosted = 0;
        *message = WindowMessage{};
        message->kind = MessageKind::Quit;
        message->code = platform.quitCode;
        return true;
    }
    if (!platform.videoStarted) return false;
    if (nextPadMessage(message)) return true;
    SDL_Event event;
    if (!SDL_PollEvent(&event)) return false;
    if (padEvent(event)) {
        if (nextPadMessage(message)) return true;
        *message = WindowMessage{};
        message->kind = MessageKind::Other;
        return true;
    }
    const uint32_t windowId = platform.window ? SDL_GetWindowID(platform.window) : 0;
    const uint32_t flags = platform.window ? SDL_GetWindowFlags(platform.window) : 0;
    *message = translateEvent(event, windowId, flags);
    return true;
}

void dispatchMessage(const WindowMessage& message) {
    if (platform.procedure && message.kind != MessageKind::Quit) platform.procedure(message);
}
