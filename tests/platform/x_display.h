// Helpers for tests that need an X server of their own or real X input.
#pragma once

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/select.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <string>

// A private Xvfb with one screen of the given size, started with a bounded
// wait for it to come up; stopped when the object goes.
class PrivateXServer {
public:
    PrivateXServer(int width, int height);
    ~PrivateXServer();
    bool running() const { return display_.size() > 1; }
    const std::string& display() const { return display_; }  // ":N"

private:
    int pid_ = -1;
    std::string display_;
};

// Points DISPLAY at another server while it lives; the old value comes back after.
class DisplayOverride {
public:
    explicit DisplayOverride(const std::string& display);
    ~DisplayOverride();

private:
    std::string old_;
    bool hadOld_;
};

// Runs a shell command (xdotool and friends) and returns its exit status.
int runCommand(const std::string& command);
// Its standard output, trimmed.
std::string commandOutput(const std::string& command);

// Asks the window named `title` to close, as a window manager does
// (WM_DELETE_WINDOW), on the display of the DISPLAY variable.
bool requestWindowClose(const std::string& title);

inline PrivateXServer::PrivateXServer(int width, int height) {
    int fds[2];
    if (pipe(fds) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
        close(fds[0]);
        const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
        const std::string fd = std::to_string(fds[1]);
        const int devNull = open("/dev/null", 1);
        if (devNull >= 0) {
            dup2(devNull, 1);
            dup2(devNull, 2);
        }
        // -noreset: a server left by its last client resets, and refuses the
        // clients that come meanwhile.
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp",
               "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    // Xvfb writes its display number once it takes connections; wait ten seconds at most.
    std::string number;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        fd_set set;
        FD_ZERO(&set);
        FD_SET(fds[0], &set);
        timeval wait = {0, 100000};
        if (select(fds[0] + 1, &set, nullptr, nullptr, &wait) <= 0) continue;
        char c;
        if (read(fds[0], &c, 1) != 1) break;
        if (c == '\n') break;
        number += c;
    }
    close(fds[0]);
    if (!number.empty()) display_ = ":" + number;
}

inline PrivateXServer::~PrivateXServer() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    int status;
    waitpid(pid_, &status, 0);
}

inline DisplayOverride::DisplayOverride(const std::string& display) {
    const char* old = std::getenv("DISPLAY");
    hadOld_ = old != nullptr;
    if (old) old_ = old;
    setenv("DISPLAY", display.c_str(), 1);
}

inline DisplayOverride::~DisplayOverride() {
    if (hadOld_)
        setenv("DISPLAY", old_.c_str(), 1);
    else
        unsetenv("DISPLAY");
}

inline int runCommand(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline std::string commandOutput(const std::string& command) {
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        while (fgets(buffer, sizeof buffer, pipe)) out += buffer;
        pclose(pipe);
    }
    while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
    return out;
}

namespace x_display_detail {

// Just enough of Xlib, reached at run time so the tests need no X headers.
struct ClientMessage {
    int type;
    unsigned long serial;
    int sendEvent;
    void* display;
    unsigned long window;
    unsigned long messageType;
    int format;
    long data[5];
};
union Event {
    int type;
    ClientMessage client;
    long pad[24];
};

}  // namespace x_display_detail

inline bool requestWindowClose(const std::string& title) {
    const std::string id = commandOutput("xdotool search --name '^" + title + "$' 2>/dev/null | head -n 1");
    if (id.empty()) return false;
    void* x11 = dlopen("libX11.so.6", RTLD_NOW);
    if (!x11) return false;
    auto openDisplay = reinterpret_cast<void* (*)(const char*)>(dlsym(x11, "XOpenDisplay"));
    auto internAtom = reinterpret_cast<unsigned long (*)(void*, const char*, int)>(dlsym(x11, "XInternAtom"));
    auto sendEvent = reinterpret_cast<int (*)(void*, unsigned long, int, long, x_display_detail::Event*)>(dlsym(x11, "XSendEvent"));
    auto closeDisplay = reinterpret_cast<int (*)(void*)>(dlsym(x11, "XCloseDisplay"));
    auto flush = reinterpret_cast<int (*)(void*)>(dlsym(x11, "XFlush"));
    if (!openDisplay || !internAtom || !sendEvent || !closeDisplay || !flush) return false;
    void* display = openDisplay(nullptr);
    if (!display) return false;
    using x_display_detail::Event;
    Event event;
    std::memset(&event, 0, sizeof event);
    event.client.type = 33;  // ClientMessage
    event.client.window = std::strtoul(id.c_str(), nullptr, 10);
    event.client.messageType = internAtom(display, "WM_PROTOCOLS", 0);
    event.client.format = 32;
    event.client.data[0] = static_cast<long>(internAtom(display, "WM_DELETE_WINDOW", 0));
    event.client.data[1] = 0;  // CurrentTime
    const bool sent = sendEvent(display, event.client.window, 0, 0, &event) != 0;
    flush(display);
    closeDisplay(display);
    return sent;
}
