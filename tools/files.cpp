#include "files_local.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool writeFileSafely(const std::string& path, const std::string& bytes) {
    const std::string temporary = path + ".part";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) {
        std::fprintf(stderr, "vortiq-data: cannot write %s: %s\n", temporary.c_str(), std::strerror(errno));
        return false;
    }
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    const bool written = done == bytes.size() && ::fsync(fd) == 0;
    const int savedErrno = errno;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed) {
        std::fprintf(stderr, "vortiq-data: cannot write %s: %s\n", temporary.c_str(),
                     std::strerror(written ? errno : savedErrno));
        ::unlink(temporary.c_str());
        return false;
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        std::fprintf(stderr, "vortiq-data: cannot replace %s: %s\n", path.c_str(), std::strerror(errno));
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

bool writeFileIfMissing(const std::string& path, const std::string& bytes, bool& created) {
    created = false;
    struct stat existing;
    if (::lstat(path.c_str(), &existing) == 0) return true;
    const std::string temporary = path + ".new";
    if (!writeFileSafely(temporary, bytes)) return false;
    // link() refuses to replace an existing file, so a file that appeared
    // meanwhile is kept as it is.
    if (::link(temporary.c_str(), path.c_str()) == 0) {
        created = true;
    } else if (errno != EEXIST) {
        std::fprintf(stderr, "vortiq-data: cannot create %s: %s\n", path.c_str(), std::strerror(errno));
        ::unlink(temporary.c_str());
        return false;
    }
    ::unlink(temporary.c_str());
    return true;
}
