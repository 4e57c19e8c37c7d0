#include "quovana/HomeLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace quovana {

namespace {

// Makes each missing folder of `home` owner-only (0700); the system's reason
// when one cannot be made.
std::string makeHomeFolders(const std::string& home) {
    std::filesystem::path made;
    for (const auto& part : std::filesystem::path(home)) {
        made /= part;
        if (::mkdir(made.c_str(), 0700) == 0 || errno == EEXIST) continue;
        return "cannot make the application home " + home + ": " + made.string() + ": " + std::strerror(errno);
    }
    return {};
}

}  // namespace

HomeLock::HomeLock(const std::string& home) {
    problem_ = makeHomeFolders(home);
    if (!problem_.empty()) return;
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
