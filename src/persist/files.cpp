// Reading and replacing the player's files without ever leaving half of one.

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "persist/persist_local.h"

namespace {

// The folder part of a path, "." for a bare file name.
std::string folderOf(const char* path) {
    const char* slash = std::strrchr(path, '/');
    if (!slash) return ".";
    if (slash == path) return "/";
    return std::string(path, slash - path);
}

// Writes `size` bytes at `offset`; returns how many were written before the
// first failure (all of them when none failed).
size_t writeAt(int fd, const uint8_t* data, size_t size, off_t offset) {
    size_t done = 0;
    while (done < size) {
        ssize_t written = pwrite(fd, data + done, size - done, offset + static_cast<off_t>(done));
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) break;
        done += static_cast<size_t>(written);
    }
    return done;
}

bool writeAll(int fd, const uint8_t* data, size_t size) { return writeAt(fd, data, size, 0) == size; }

// The mode a new file gets from fopen: 0666 less the process's umask.
mode_t newFileMode() {
    mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

void syncFolder(const std::string& folder) {
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    fsync(fd);  // best effort: some file systems refuse it on folders
    close(fd);
}

// A write past a file-size limit raises SIGXFSZ, which would end the game;
// while a file is written the signal is ignored so that the write just fails.
struct IgnoreFileSizeSignal {
    struct sigaction previous;
    IgnoreFileSizeSignal() {
        struct sigaction ignore = {};
        ignore.sa_handler = SIG_IGN;
        sigemptyset(&ignore.sa_mask);
        sigaction(SIGXFSZ, &ignore, &previous);
    }
    ~IgnoreFileSizeSignal() { sigaction(SIGXFSZ, &previous, nullptr); }
};

// Every save that fails says so, once, with the reason.
bool notSaved(const char* path, int error) {
    std::fprintf(stderr, "Vortiq: %s was not saved: %s\n", path, std::strerror(error));
    return false;
}

// Over the old bytes of a file the player may write, in a folder that takes
// no new file, so no second file can hold the new bytes until they are whole.
// Instead the old bytes are kept in memory until the new ones are written,
// cut to size and flushed; when any of that fails (the disk filled, a size
// limit), the old bytes go back over what was written and the file gets its
// old length again. Only bytes this write changed are written back: they
// already had their place on the disk, so a full disk still takes them.
// (A game killed in the middle of this write is the one case it cannot undo.)
// Returns 0, or the error that stopped the write.
int writeInPlace(const char* path, const void* data, size_t size) {
    int fd = open(path, O_RDWR);
    if (fd < 0) return errno;
    struct stat st;
    std::string old;
    if (fstat(fd, &st) == 0) old.resize(static_cast<size_t>(st.st_size));
    const long got = readFileStart(path, &old[0], old.size());
    if (got != static_cast<long>(old.size())) {
        close(fd);
        return EIO;  // the old bytes could not be kept: the file is left as it is
    }

    errno = 0;
    size_t touched = writeAt(fd, static_cast<const uint8_t*>(data), size, 0);
    bool ok = touched == size;
    int error = ok ? 0 : (errno ? errno : ENOSPC);
    if (ok) {
        touched = std::max(size, old.size());  // a shorter file loses its tail
        ok = ftruncate(fd, static_cast<off_t>(size)) == 0 && fsync(fd) == 0;
        error = ok ? 0 : errno;
    }
    if (!ok) {
        writeAt(fd, reinterpret_cast<const uint8_t*>(old.data()), std::min(touched, old.size()), 0);
        if (ftruncate(fd, static_cast<off_t>(old.size())) != 0 || fsync(fd) != 0)
            std::fprintf(stderr, "Vortiq: %s could not be put back as it was: %s\n", path, std::strerror(errno));
    }
    if (close(fd) != 0 && ok) error = errno;
    return error;
}

// mkstemp's six places: letters and digits.
bool isScratchName(const char* name, const char* file) {
    const size_t length = std::strlen(file);
    if (std::strncmp(name, file, length) != 0 || name[length] != '.') return false;
    const char* tail = name + length + 1;
    if (std::strlen(tail) != 6) return false;
    for (int i = 0; i < 6; ++i)
        if (!std::isalnum(static_cast<unsigned char>(tail[i]))) return false;
    return true;
}

// Set while a replay is watched: nothing of the player's is written.
bool filesHeld = false;

}  // namespace

void holdPlayerFiles(bool held) { filesHeld = held; }

bool replaceFile(const char* path, const void* data, size_t size) {
    if (filesHeld) return false;
    mode_t mode = newFileMode();
    struct stat old;
    const bool exists = stat(path, &old) == 0;
    if (exists) {
        if (!S_ISREG(old.st_mode)) return notSaved(path, EISDIR);     // a folder or device in the way
        if (access(path, W_OK) != 0) return notSaved(path, errno);    // the player made it read-only
        mode = old.st_mode & 07777;
    }

    std::string temporary = std::string(path) + ".XXXXXX";
    IgnoreFileSizeSignal guard;
    int fd = mkstemp(&temporary[0]);
    if (fd < 0) {
        // The folder takes no new file; the player's own file is written where it is.
        int error = errno;
        if (exists && (error = writeInPlace(path, data, size)) == 0) return true;
        return notSaved(path, error);
    }

    bool ok = fchmod(fd, mode) == 0;
    ok = ok && writeAll(fd, static_cast<const uint8_t*>(data), size);
    ok = ok && fsync(fd) == 0;
    ok = (close(fd) == 0) && ok;
    ok = ok && rename(temporary.c_str(), path) == 0;
    if (!ok) {
        const int error = errno;
        unlink(temporary.c_str());
        return notSaved(path, error);
    }
    syncFolder(folderOf(path));
    return true;
}

void removeStaleScratchFiles() {
    if (DIR* folder = opendir("base")) {
        const char* const files[] = {HighScorePath, SavedGamePath, SettingsPath};
        while (const dirent* entry = readdir(folder)) {
            for (const char* path : files) {
                if (!isScratchName(entry->d_name, path + std::strlen("base/"))) continue;
                unlink((std::string("base/") + entry->d_name).c_str());
            }
        }
        closedir(folder);
    }
    // And of the replays: replays/<name>.vqr.XXXXXX.
    if (DIR* folder = opendir("replays")) {
        while (const dirent* entry = readdir(folder)) {
            const char* name = entry->d_name;
            const char* kept = std::strstr(name, ".vqr.");
            if (!kept) continue;
            const std::string file(name, kept + 4 - name);
            if (isScratchName(name, file.c_str())) unlink((std::string("replays/") + name).c_str());
        }
        closedir(folder);
    }
}

bool makeFolderFor(const char* path) {
    if (filesHeld) return false;
    const std::string folder = folderOf(path);
    struct stat st;
    if (stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return true;
    if (mkdir(folder.c_str(), 0777) == 0) return true;
    const int error = errno == EEXIST ? ENOTDIR : errno;  // a file in the way
    std::fprintf(stderr, "Vortiq: %s was not saved: the folder %s cannot be made: %s\n", path, folder.c_str(),
                 std::strerror(error));
    return false;
}

bool readWholeFile(const char* path, size_t limit, std::vector<uint8_t>* bytes, int* error) {
    bytes->clear();
    int fd = open(path, O_RDONLY);
    if (fd < 0) {
        *error = errno;
        return false;
    }
    // A file that says it is too long is not read at all.
    struct stat st;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && static_cast<uint64_t>(st.st_size) > limit) {
        close(fd);
        *error = EFBIG;
        return false;
    }
    constexpr size_t Chunk = 64 * 1024;
    size_t total = 0;
    for (;;) {
        if (total > limit) {
            close(fd);
            *error = EFBIG;
            return false;
        }
        bytes->resize(total + Chunk);
        ssize_t got = read(fd, bytes->data() + total, Chunk);
        if (got < 0) {
            if (errno == EINTR) continue;
            *error = errno;  // a folder, or the disk failed
            close(fd);
            return false;
        }
        if (got == 0) break;
        total += static_cast<size_t>(got);
    }
    close(fd);
    bytes->resize(total);
    return true;
}

long readFileStart(const char* path, void* buffer, size_t capacity) {
    int fd = open(path, O_RDONLY);
    if (fd < 0) return -1;
    uint8_t* bytes = static_cast<uint8_t*>(buffer);
    size_t total = 0;
    while (total < capacity) {
        ssize_t got = read(fd, bytes + total, capacity - total);
        if (got < 0) {
            if (errno == EINTR) continue;
            close(fd);
            return -1;  // a folder, or the disk failed
        }
        if (got == 0) break;
        total += static_cast<size_t>(got);
    }
    close(fd);
    return static_cast<long>(total);
}

void putInt32(uint8_t* bytes, int32_t value) {
    uint32_t bits = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<uint8_t>(bits >> (8 * i));
}

int32_t getInt32(const uint8_t* bytes) {
    uint32_t bits = 0;
    for (int i = 0; i < 4; ++i) bits |= static_cast<uint32_t>(bytes[i]) << (8 * i);
    return static_cast<int32_t>(bits);
}
