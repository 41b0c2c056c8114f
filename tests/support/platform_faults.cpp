#include "support/platform_faults.h"

#include "platform/platform_local.h"

namespace {

const VideoCalls sdlCalls = {SDL_InitSubSystem, SDL_CreateWindow, SDL_GL_CreateContext, SDL_GL_MakeCurrent};

int failInit(Uint32) { return SDL_SetError("video refused by the test"); }

SDL_Window* failWindow(const char*, int, int, int, int, Uint32) {
    SDL_SetError("window refused by the test");
    return nullptr;
}

SDL_Window* failGlWindow(const char* title, int x, int y, int w, int h, Uint32 flags) {
    if (flags & SDL_WINDOW_OPENGL) {
        SDL_SetError("no GL visual (the test)");
        return nullptr;
    }
    return sdlCalls.createWindow(title, x, y, w, h, flags);
}

SDL_Window* failFullScreenWindow(const char* title, int x, int y, int w, int h, Uint32 flags) {
    if (flags & SDL_WINDOW_FULLSCREEN) {
        SDL_SetError("full screen refused by the test");
        return nullptr;
    }
    return sdlCalls.createWindow(title, x, y, w, h, flags);
}

SDL_GLContext failContext(SDL_Window*) {
    SDL_SetError("context refused by the test");
    return nullptr;
}

int failMakeCurrent(SDL_Window* window, SDL_GLContext context) {
    return context ? SDL_SetError("make-current refused by the test") : sdlCalls.makeCurrent(window, context);
}

int failRelease(SDL_Window* window, SDL_GLContext context) {
    if (context) return sdlCalls.makeCurrent(window, context);
    sdlCalls.makeCurrent(window, nullptr);  // released all the same, so nothing stays current
    return SDL_SetError("release refused by the test");
}

}  // namespace

void setFailingStep(PlatformStep step) {
    videoCalls = sdlCalls;
    switch (step) {
        case PlatformStep::None: break;
        case PlatformStep::StartVideo:
            platformQuit();
            videoCalls.initSubSystem = failInit;
            break;
        case PlatformStep::CreateWindow: videoCalls.createWindow = failWindow; break;
        case PlatformStep::FullScreen: videoCalls.createWindow = failFullScreenWindow; break;
        case PlatformStep::PixelFormat: videoCalls.createWindow = failGlWindow; break;
        case PlatformStep::CreateContext: videoCalls.createContext = failContext; break;
        case PlatformStep::MakeCurrent: videoCalls.makeCurrent = failMakeCurrent; break;
        case PlatformStep::ReleaseContext: videoCalls.makeCurrent = failRelease; break;
    }
}
