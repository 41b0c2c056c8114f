// SDL's video: its start and end, and full screen on the desktop's own mode.
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

bool coversDisplay(SDL_Window* window) {
    if ((SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP) != SDL_WINDOW_FULLSCREEN_DESKTOP) return false;
    int w = 0, h = 0;
    SDL_GetWindowSize(window, &w, &h);
    SDL_DisplayMode desktop;
    if (SDL_GetDesktopDisplayMode(SDL_GetWindowDisplayIndex(window), &desktop) != 0) return false;
    return w == desktop.w && h == desktop.h;
}

SDL_Window* fullScreenWindow(const char* title, Uint32 flags) {
    // Made at the display's size from the start, so the GL drawable never has
    // to follow a change of size.
    SDL_DisplayMode desktop;
    if (SDL_GetDesktopDisplayMode(0, &desktop) != 0) return nullptr;
    SDL_Window* window =
        videoCalls.createWindow(title, 0, 0, desktop.w, desktop.h, flags | SDL_WINDOW_FULLSCREEN_DESKTOP);
    if (!window) return nullptr;
    SDL_ShowWindow(window);
    // The window manager takes a moment to give it the whole display; wait
    // for it, but not for ever.
    const uint32_t start = SDL_GetTicks();
    while (!coversDisplay(window) && SDL_GetTicks() - start < 2000) {
        SDL_PumpEvents();
        SDL_Delay(10);
    }
    if (coversDisplay(window)) return window;
    SDL_DestroyWindow(window);
    return nullptr;
}

void usableDesktopSize(int* width, int* height) {
    *width = 0;
    *height = 0;
    SDL_Rect usable;
    if (display.started && SDL_GetDisplayUsableBounds(0, &usable) == 0) {
        *width = usable.w;
        *height = usable.h;
    }
}
