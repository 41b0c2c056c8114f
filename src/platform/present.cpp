// Presenting a frame: whole, or only the boxes that changed where the window
// system can, and what the back buffer holds afterwards (its age).
//
// On X the GL goes through GLX: GLX_MESA_copy_sub_buffer copies boxes of the
// back buffer to the window and leaves the back buffer as it is (so it still
// holds the frame just shown); GLX_EXT_buffer_age tells what a swap leaves.
// Under Wayland SDL makes an EGL context: EGL_KHR_swap_buffers_with_damage
// (or its EXT twin) swaps and tells the compositor which boxes changed, and
// EGL_EXT_buffer_age tells the age.
//
// A copy of boxes does not wait for the display: it is used only where the
// swap does not pace the frames (vertical sync refused, off, or not keeping
// the frames to the display's rate). Where the swap paces them the frame is
// swapped whole, as it always was. A context's first frame is swapped too:
// the GL takes the window's size anew only after a swap, and a window resized
// since the context was made would be copied from a smaller back buffer.
#include <GL/gl.h>

#include <cstring>
#include <initializer_list>

#include "platform/platform_local.h"

namespace {

// The few GLX and EGL types and names used, as their headers give them (the
// X headers themselves define words such as None that clash with ours).
using Display = struct _XDisplay;
using GLXContext = void*;
using GLXDrawable = unsigned long;
using EGLDisplay = void*;
using EGLSurface = void*;
using EGLContext = void*;
using EGLint = int32_t;
using EGLBoolean = unsigned int;
constexpr int GLX_SCREEN = 0x800C;
constexpr int GLX_BACK_BUFFER_AGE_EXT = 0x20F4;
constexpr EGLint EGL_EXTENSIONS = 0x3055;
constexpr EGLint EGL_DRAW = 0x3059;
constexpr EGLint EGL_BUFFER_AGE_EXT = 0x313D;

enum class Api { None, Glx, Egl };

// What the context's window system offers, looked up once per context.
struct Presenter {
    uint32_t context = ~0u;  // contextSerial() it was looked up for
    Api api = Api::None;
    bool ageOffered = false, copyOffered = false, damageOffered = false, software = false;
    // GLX
    Display* (*glxDisplay)() = nullptr;
    GLXDrawable (*glxDrawable)() = nullptr;
    void (*glxQueryDrawable)(Display*, GLXDrawable, int, unsigned int*) = nullptr;
    void (*glxCopySubBuffer)(Display*, GLXDrawable, int, int, int, int) = nullptr;
    // EGL
    EGLDisplay (*eglDisplay)() = nullptr;
    EGLSurface (*eglSurface)(EGLint) = nullptr;
    EGLBoolean (*eglQuerySurface)(EGLDisplay, EGLSurface, EGLint, EGLint*) = nullptr;
    EGLBoolean (*eglSwapWithDamage)(EGLDisplay, EGLSurface, const EGLint*, EGLint) = nullptr;
    // What the last present left.
    bool swapped = false;       // the context has swapped (and so taken the window's size since it was made)
    bool copied = false;        // boxes were copied: the back buffer is as it was drawn
    int swapsSinceCopy = 1 << 30;  // swaps since boxes were last copied (many when never)
    bool frontLost = false;     // the window's picture was lost (exposed): the next present shows it all
    int width = 0, height = 0;  // the drawable at the last present
};

Presenter presenter;

template <typename F>
F lookUp(const char* name) {
    return reinterpret_cast<F>(SDL_GL_GetProcAddress(name));
}

// Whether a space-separated extension list names `name` exactly.
bool listed(const char* list, const char* name) {
    if (!list) return false;
    const size_t length = std::strlen(name);
    for (const char* p = list; (p = std::strstr(p, name)) != nullptr; p += length)
        if ((p == list || p[-1] == ' ') && (p[length] == ' ' || p[length] == '\0')) return true;
    return false;
}

bool softwareRendererNamed(const char* renderer) {
    if (!renderer) return false;
    for (const char* name : {"llvmpipe", "softpipe", "Software Rasterizer", "swrast"})
        if (std::strstr(renderer, name)) return true;
    return false;
}

bool lookUpGlx(Presenter* p) {
    auto currentContext = lookUp<GLXContext (*)()>("glXGetCurrentContext");
    p->glxDisplay = lookUp<Display* (*)()>("glXGetCurrentDisplay");
    p->glxDrawable = lookUp<GLXDrawable (*)()>("glXGetCurrentDrawable");
    auto extensions = lookUp<const char* (*)(Display*, int)>("glXQueryExtensionsString");
    auto queryContext = lookUp<int (*)(Display*, GLXContext, int, int*)>("glXQueryContext");
    if (!currentContext || !p->glxDisplay || !p->glxDrawable || !extensions || !queryContext) return false;
    const GLXContext context = currentContext();
    Display* display = p->glxDisplay();
    int screen = 0;
    if (!context || !display || queryContext(display, context, GLX_SCREEN, &screen) != 0) return false;
    const char* list = extensions(display, screen);
    p->api = Api::Glx;
    p->glxQueryDrawable =
        lookUp<void (*)(Display*, GLXDrawable, int, unsigned int*)>("glXQueryDrawable");
    p->glxCopySubBuffer = lookUp<void (*)(Display*, GLXDrawable, int, int, int, int)>("glXCopySubBufferMESA");
    p->ageOffered = listed(list, "GLX_EXT_buffer_age") && p->glxQueryDrawable;
    p->copyOffered = listed(list, "GLX_MESA_copy_sub_buffer") && p->glxCopySubBuffer;
    return true;
}

bool lookUpEgl(Presenter* p) {
    auto currentContext = lookUp<EGLContext (*)()>("eglGetCurrentContext");
    p->eglDisplay = lookUp<EGLDisplay (*)()>("eglGetCurrentDisplay");
    p->eglSurface = lookUp<EGLSurface (*)(EGLint)>("eglGetCurrentSurface");
    auto query = lookUp<const char* (*)(EGLDisplay, EGLint)>("eglQueryString");
    if (!currentContext || !p->eglDisplay || !p->eglSurface || !query) return false;
    if (!currentContext() || !p->eglDisplay()) return false;
    const char* list = query(p->eglDisplay(), EGL_EXTENSIONS);
    p->api = Api::Egl;
    p->eglQuerySurface = lookUp<EGLBoolean (*)(EGLDisplay, EGLSurface, EGLint, EGLint*)>("eglQuerySurface");
    p->ageOffered = (listed(list, "EGL_EXT_buffer_age") || listed(list, "EGL_KHR_partial_update")) &&
                    p->eglQuerySurface;
    using SwapWithDamage = EGLBoolean (*)(EGLDisplay, EGLSurface, const EGLint*, EGLint);
    if (listed(list, "EGL_KHR_swap_buffers_with_damage"))
        p->eglSwapWithDamage = lookUp<SwapWithDamage>("eglSwapBuffersWithDamageKHR");
    else if (listed(list, "EGL_EXT_swap_buffers_with_damage"))
        p->eglSwapWithDamage = lookUp<SwapWithDamage>("eglSwapBuffersWithDamageEXT");
    p->damageOffered = p->eglSwapWithDamage != nullptr;
    return true;
}

// The window system's side of the context now current.
Presenter& current() {
    const uint32_t context = contextSerial();
    if (presenter.context == context) return presenter;
    presenter = Presenter{};
    presenter.context = context;
    if (context == 0 || !contextIsCurrent()) return presenter;
    presenter.software = softwareRendererNamed(reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    if (!lookUpGlx(&presenter)) {
        presenter = Presenter{};
        presenter.context = context;
        presenter.software = softwareRendererNamed(reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
        lookUpEgl(&presenter);
    }
    return presenter;
}

int queryAge() {
    Presenter& p = current();
    if (!p.ageOffered) return BufferAgeUnknown;
    if (p.api == Api::Glx) {
        unsigned int age = 0;
        p.glxQueryDrawable(p.glxDisplay(), p.glxDrawable(), GLX_BACK_BUFFER_AGE_EXT, &age);
        return static_cast<int>(age);
    }
    EGLint age = 0;
    if (!p.eglQuerySurface(p.eglDisplay(), p.eglSurface(EGL_DRAW), EGL_BUFFER_AGE_EXT, &age)) return 0;
    return age;
}

bool copyOffered() { return current().copyOffered; }

void copyBoxes(const WindowBox* boxes, int count) {
    Presenter& p = current();
    Display* display = p.glxDisplay();
    const GLXDrawable drawable = p.glxDrawable();
    for (int i = 0; i < count; ++i)
        if (boxes[i].w > 0 && boxes[i].h > 0)
            p.glxCopySubBuffer(display, drawable, boxes[i].x, boxes[i].y, boxes[i].w, boxes[i].h);
}

void swapWhole(const WindowBox* damage, int count) {
    Presenter& p = current();
    if (damage && p.damageOffered) {
        EGLint rects[4 * 16];
        if (count <= 16) {
            for (int i = 0; i < count; ++i) {
                rects[4 * i] = damage[i].x, rects[4 * i + 1] = damage[i].y;
                rects[4 * i + 2] = damage[i].w, rects[4 * i + 3] = damage[i].h;
            }
            if (p.eglSwapWithDamage(p.eglDisplay(), p.eglSurface(EGL_DRAW), rects, count)) return;
        }
    }
    SDL_GL_SwapWindow(static_cast<SDL_Window*>(windowHandle()));
}

bool softwareNamed() { return current().software; }

// The swap paces the frames: vertical sync granted and, as far as the pacing
// has judged, keeping them to the display's rate.
bool swapPaces() { return SDL_GL_GetSwapInterval() != 0 && !framesPacedBySleep(); }

}  // namespace

PresentCalls presentCalls = {queryAge, copyOffered, copyBoxes, swapWhole, softwareNamed};

void frontBufferLost() { presenter.frontLost = true; }

int backBufferAge() {
    Presenter& p = current();
    int width = 0, height = 0;
    windowDrawableSize(&width, &height);
    if (p.copied && (width != p.width || height != p.height)) {
        // The GL takes the window's size anew after a swap only: while boxes
        // were copied it went on drawing at the old one. The swap shows the
        // last frame again (the back buffer held what the window showed);
        // the back buffer it leaves is of no use.
        presentCalls.swap(nullptr, -1);
        p.copied = false;
        p.swapsSinceCopy = 0;
        return 0;
    }
    // Boxes copied out of the back buffer left it holding the frame shown.
    if (p.copied) return 1;
    // A swap counts swaps only: a buffer last shown before frames were
    // copied holds a picture older than its age says.
    const int age = presentCalls.bufferAge();
    return age > p.swapsSinceCopy ? 0 : age;
}

bool softwareRenderer() { return presentCalls.software(); }

void presentFrame(const WindowBox* boxes, int count) {
    int width = 0, height = 0;
    windowDrawableSize(&width, &height);
    Presenter& p = current();
    const bool resized = width != p.width || height != p.height;
    p.width = width, p.height = height;
    const bool whole = count < 0 || p.frontLost || resized;
    p.frontLost = false;
    if (presentCalls.copyOffered() && !swapPaces() && p.swapped) {
        const WindowBox all = {0, 0, width, height};
        if (whole)
            presentCalls.copyBoxes(&all, 1);
        else
            presentCalls.copyBoxes(boxes, count);
        p.copied = true;
        p.swapsSinceCopy = 0;
        return;
    }
    p.copied = false;
    p.swapped = true;
    if (p.swapsSinceCopy < (1 << 30)) ++p.swapsSinceCopy;
    // The damage is named only where the swap does not pace the frames: the
    // swap that takes it goes round SDL's own, which keeps the vertical sync.
    if (whole || swapPaces())
        presentCalls.swap(nullptr, -1);
    else
        presentCalls.swap(boxes, count);
}
