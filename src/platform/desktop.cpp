// Opening a document with the desktop's default program.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <string>

#include "platform/platform.h"

namespace {

DocumentOpener opener = nullptr;

// How long the game waits to hear whether the desktop's program took the
// document, in milliseconds. xdg-open refuses a document it has no program
// for at once; where it runs the program itself, it is still running then,
// and the document counts as opened.
constexpr int OpenerVerdictMs = 1500;

void toDevNull() {
    const int devNull = open("/dev/null", O_RDWR);
    if (devNull < 0) return;
    dup2(devNull, 0);
    dup2(devNull, 1);
    dup2(devNull, 2);
}

// The opener runs in a process of its own session, orphaned at once so that
// it outlives the game and leaves no zombie; its parent there waits for it
// and writes one byte down `verdict`: 1 when xdg-open ended well, 0 when it
// failed or could not run.
void startOpener(const std::string& full, int verdict) {
    setsid();
    if (fork() != 0) _exit(0);
    const pid_t opener = fork();
    if (opener == 0) {
        toDevNull();
        execlp("xdg-open", "xdg-open", full.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    char ended = 0;
    if (opener > 0) {
        while (waitpid(opener, &status, 0) < 0 && errno == EINTR) {
        }
        ended = WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 1 : 0;
    }
    signal(SIGPIPE, SIG_IGN);
    while (write(verdict, &ended, 1) < 0 && errno == EINTR) {
    }
    _exit(0);
}

bool openWithXdg(const char* path) {
    std::string full = path;
    if (!full.empty() && full[0] != '/') {
        char cwd[PATH_MAX];
        if (getcwd(cwd, sizeof cwd)) full = std::string(cwd) + "/" + path;
    }
    if (access(full.c_str(), R_OK) != 0) return false;
    int verdict[2];
    if (pipe2(verdict, O_CLOEXEC) != 0) return false;
    const pid_t child = fork();
    if (child < 0) {
        close(verdict[0]);
        close(verdict[1]);
        return false;
    }
    if (child == 0) {
        close(verdict[0]);
        startOpener(full, verdict[1]);
    }
    close(verdict[1]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    pollfd wait = {verdict[0], POLLIN, 0};
    int ready;
    while ((ready = poll(&wait, 1, OpenerVerdictMs)) < 0 && errno == EINTR) {
    }
    char ended = 1;  // still running: the program it started shows the page
    if (ready > 0 && read(verdict[0], &ended, 1) != 1) ended = 0;
    close(verdict[0]);
    return ended == 1;
}

}  // namespace

void setDocumentOpener(DocumentOpener replacement) { opener = replacement; }

bool openDocument(const char* path) { return opener ? opener(path) : openWithXdg(path); }
