// One quovana per application home: two processes on the same settings and
// store would each believe their view is the whole truth (one load deleting
// the store the other wrote, outbox rows lost between two writers). The lock
// is an exclusive flock on a file in the home, held for the life of the
// object and dropped by the system if the process dies.
//
// The home is made when it is missing, as on a fresh machine the default
// one under the user's data folder is: it holds the user's token and
// messages, so it and any folder made above it are the owner's alone.
#pragma once

#include <string>

namespace quovana {

class HomeLock {
public:
    // The lock file's name in the home.
    static constexpr const char* kFileName = ".quovana.lock";

    // Makes the home if needed, then tries once, without waiting.
    explicit HomeLock(const std::string& home);
    ~HomeLock();
    HomeLock(const HomeLock&) = delete;
    HomeLock& operator=(const HomeLock&) = delete;

    bool held() const { return fd_ >= 0; }
    // Why the lock is not held: "another quovana is using HOME", or the
    // system's reason the home could not be made or its lock file opened.
    const std::string& problem() const { return problem_; }

private:
    int fd_ = -1;
    std::string problem_;
};

}  // namespace quovana
