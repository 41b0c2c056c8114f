// The bare baseline beside which the game is measured: the same window and GL
// context, made through the same platform layer, that only clears and swaps.
// It writes the same timing file as the game's VORTIQ_BENCH hooks, and paces
// its frames as the game does.
//
//   vortiq-baseline <times-file> <frames> [fullscreen|WIDTHxHEIGHT]
#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "platform/platform.h"

namespace {

double monotonicMs() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

bool quit = false;
void procedure(const WindowMessage& message) {
    if (message.kind == MessageKind::Close) postQuitMessage(0);
}

double processCpuMs() {
    timespec used;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used);
    return used.tv_sec * 1e3 + used.tv_nsec / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <times-file> <frames> [fullscreen|WIDTHxHEIGHT]\n", argv[0]);
        return 2;
    }
    const char* t0 = std::getenv("VORTIQ_BENCH_T0");
    const double startMs = t0 ? std::strtod(t0, nullptr) / 1e6 : monotonicMs();
    const int frames = std::atoi(argv[2]);
    const bool fullscreen = argc > 3 && std::strcmp(argv[3], "fullscreen") == 0;
    int width = fullscreen ? 800 : 640, height = fullscreen ? 600 : 480;
    // A windowed size of its own: WIDTHxHEIGHT.
    if (argc > 3 && !fullscreen && std::sscanf(argv[3], "%dx%d", &width, &height) != 2) {
        std::fprintf(stderr, "usage: %s <times-file> <frames> [fullscreen|WIDTHxHEIGHT]\n", argv[0]);
        return 2;
    }

    // The game's window: 16 colour bits, 16 depth bits, double buffered.
    if (!startVideo(procedure)) return 1;
    const OpenFailure failure = openWindow(WindowRequest{"Vortiq", width, height, 16, 16, fullscreen});
    if (failure == OpenFailure::NoDisplayMode)
        std::fprintf(stderr, "vortiq-baseline: no %dx%d display mode\n", width, height);
    if (failure != OpenFailure::None) return 1;
    const double contextMs = monotonicMs() - startMs;
    showWindow();
    int drawableWidth = 0, drawableHeight = 0;
    windowDrawableSize(&drawableWidth, &drawableHeight);
    glViewport(0, 0, drawableWidth, drawableHeight);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);

    std::vector<float> frameMs;
    frameMs.reserve(frames);
    double firstFrameMs = -1.0, last = 0.0, measureStart = 0.0, cpuStart = 0.0;
    while (!quit) {
        WindowMessage message;
        if (peekMessage(&message)) {
            if (message.kind == MessageKind::Quit) quit = true;
            else dispatchMessage(message);
            continue;
        }
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        swapBuffers();
        paceFrame();  // the game's own cap, unless VORTIQ_NO_FRAME_CAP=1
        const double now = monotonicMs() - startMs;
        if (firstFrameMs < 0.0) {
            firstFrameMs = measureStart = last = now;
            cpuStart = processCpuMs();
            continue;
        }
        frameMs.push_back(static_cast<float>(now - last));
        last = now;
        if (static_cast<int>(frameMs.size()) >= frames) quit = true;
    }

    const double cpuMs = processCpuMs() - cpuStart;
    closeWindow();
    platformQuit();

    FILE* out = std::fopen(argv[1], "w");
    if (!out) return 1;
    std::fprintf(out, "context_ms %.3f\nfirst_frame_ms %.3f\nfilled_frame_ms -1\n", contextMs, firstFrameMs);
    std::fprintf(out, "measured_frames %zu\nmeasured_ms %.3f\ncpu_ms %.3f\nframe_ms", frameMs.size(),
                 last - measureStart, cpuMs);
    for (float ms : frameMs) std::fprintf(out, " %.3f", ms);
    std::fprintf(out, "\n");
    std::fclose(out);
    return 0;
}
