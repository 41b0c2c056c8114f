// SDL's video: its start and end, and the display modes for full screen.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/platform_local.h"

VideoCalls videoCalls = {SDL_InitSubSystem, SDL_CreateWindow, SDL_GL_CreateContext, SDL_GL_MakeCurrent};

namespace {

struct Display {
    WindowProcedure procedure;
    uint8_t started;
};
Display display = {nullptr, 0};

bool offersMode(int width, int height) {
    const int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(0, i, &mode) == 0 && mode.w == width && mode.h == height) return true;
    }
    return false;
}

}  // namespace

bool startVideo(WindowProcedure procedure) {
    if (!display.started) {
        if (videoCalls.initSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
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
        display.started = 1;
        // The game keeps the screen awake: no screen saver, no monitor power-down.
        SDL_DisableScreenSaver();
        startControllers();
    }
    display.procedure = procedure;
    return true;
}

bool videoStarted() { return display.started != 0; }

void sendToProcedure(const WindowMessage& message) {
    if (display.procedure && message.kind != MessageKind::Quit) display.procedure(message);
}

void platformQuit() {
    stopControllers();
    if (display.started) SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    display.started = 0;
    display.procedure = nullptr;
}

bool coversDisplayAt(SDL_Window* window, int width, int height) {
    if (!(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN)) return false;
    int w = 0, h = 0;
    SDL_GetWindowSize(window, &w, &h);
    SDL_DisplayMode current;
    if (SDL_GetCurrentDisplayMode(SDL_GetWindowDisplayIndex(window), &current) != 0) return false;
    return w == width && h == height && current.w == width && current.h == height;
}

SDL_Window* fullScreenWindow(const char* title, int width, int height, Uint32 flags) {
    if (!offersMode(width, height)) return nullptr;
    SDL_Window* window = videoCalls.createWindow(title, 0, 0, width, height, flags | SDL_WINDOW_FULLSCREEN);
    if (!window) return nullptr;
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
    if (coversDisplayAt(window, width, height)) return window;
    SDL_DestroyWindow(window);
    return nullptr;
}
