// The test GL context: GLX 1.3 pbuffer, legacy (compatibility) context.
#include "assets/gl_context.h"

#include <GL/gl.h>
#include <GL/glx.h>
#include <X11/Xlib.h>

namespace {
// One connection for the whole run: opening and closing one per test runs
// into the server's client limit, since the driver keeps connections of its own.
Display* sharedDisplay() {
    static Display* display = XOpenDisplay(nullptr);
    return display;
}
}  // namespace

TestGlContext::TestGlContext(int width, int height) : width_(width), height_(height) {
    Display* display = sharedDisplay();
    if (!display) {
        problem_ = "no X display (run the tests under xvfb-run)";
        return;
    }
    display_ = display;
    const int attributes[] = {GLX_DRAWABLE_TYPE, GLX_PBUFFER_BIT, GLX_RENDER_TYPE, GLX_RGBA_BIT,
                              GLX_RED_SIZE, 8, GLX_GREEN_SIZE, 8, GLX_BLUE_SIZE, 8,
                              GLX_DEPTH_SIZE, 16, GLX_DOUBLEBUFFER, False, None};
    int count = 0;
    GLXFBConfig* configs = glXChooseFBConfig(display, DefaultScreen(display), attributes, &count);
    if (!configs || count == 0) {
        problem_ = "no GLX pbuffer configuration";
        if (configs) XFree(configs);
        return;
    }
    GLXFBConfig config = configs[0];
    XFree(configs);
    const int pbufferAttributes[] = {GLX_PBUFFER_WIDTH, width, GLX_PBUFFER_HEIGHT, height, None};
    pbuffer_ = glXCreatePbuffer(display, config, pbufferAttributes);
    if (!pbuffer_) {
        problem_ = "cannot create a GLX pbuffer";
        return;
    }
    GLXContext context = glXCreateNewContext(display, config, GLX_RGBA_TYPE, nullptr, True);
    if (!context) {
        problem_ = "cannot create a GLX context";
        return;
    }
    context_ = context;
    if (!glXMakeContextCurrent(display, pbuffer_, pbuffer_, context)) {
        problem_ = "cannot make the GLX context current";
        return;
    }
    current_ = true;
    glViewport(0, 0, width, height);
}

TestGlContext::~TestGlContext() {
    Display* display = static_cast<Display*>(display_);
    if (!display) return;
    if (current_) glXMakeContextCurrent(display, None, None, nullptr);
    if (context_) glXDestroyContext(display, static_cast<GLXContext>(context_));
    if (pbuffer_) glXDestroyPbuffer(display, pbuffer_);
}

std::vector<uint8_t> TestGlContext::readPixels() const {
    std::vector<uint8_t> pixels(static_cast<size_t>(width_) * height_ * 3);
    glFinish();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width_, height_, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}
