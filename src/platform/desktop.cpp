// Opening a document with the desktop's default program.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <string>

#include "platform/platform.h"

namespace {

DocumentOpener opener = nullptr;

bool openWithXdg(const char* path) {
    std::string full = path;
    if (!full.empty() && full[0] != '/') {
        char cwd[PATH_MAX];
        if (getcwd(cwd, sizeof cwd)) full = std::string(cwd) + "/" + path;
    }
    const pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        // Detach twice, so the program opened outlives the game and leaves no zombie.
        setsid();
        if (fork() != 0) _exit(0);
        const int devNull = open("/dev/null", O_RDWR);
        if (devNull >= 0) {
            dup2(devNull, 0);
            dup2(devNull, 1);
            dup2(devNull, 2);
        }
        execlp("xdg-open", "xdg-open", full.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0)
        if (errno != EINTR) return true;  // already reaped elsewhere; it was started
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

void setDocumentOpener(DocumentOpener replacement) { opener = replacement; }

bool openDocument(const char* path) { return opener ? opener(path) : openWithXdg(path); }
