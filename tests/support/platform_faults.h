// Failures of the window system on demand: the SDL calls that open and close
// the window fail as a driver would, with an SDL error set.
#pragma once

enum class PlatformStep {
    None,
    StartVideo,      // SDL's video does not start (it is ended first: set it with no window open)
    CreateWindow,    // no window at all
    FullScreen,      // no full-screen window (windowed ones still come)
    PixelFormat,     // windows, but none with a GL framebuffer
    CreateContext,   // no GL context
    MakeCurrent,     // the context cannot be made current
    ReleaseContext,  // the context cannot be released
};
// The step fails until set back to PlatformStep::None.
void setFailingStep(PlatformStep step);
