#include "quovana/HomeLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace quovana {

HomeLock::HomeLock(const std::string& home) {
    const std::string path = home + "/" + kFileName;
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        problem_ = "cannot open the lock file " + path + ": " + std::strerror(errno);
        return;
    }
    int result;
    do {
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        problem_ = errno == EWOULDBLOCK ? "another quovana is using " + home
                                        : "cannot lock " + path + ": " + std::strerror(errno);
        ::close(fd);
        return;
    }
    fd_ = fd;
}

HomeLock::~HomeLock() {
    if (fd_ >= 0) ::close(fd_);
}

}  // namespace quovana
