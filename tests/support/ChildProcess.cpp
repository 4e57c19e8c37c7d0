#include "support/ChildProcess.h"

#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace testsupport {

std::vector<std::string> currentEnvironment() {
    std::vector<std::string> entries;
    for (char** entry = environ; *entry; ++entry) entries.emplace_back(*entry);
    return entries;
}

int runThisBinary(const std::vector<std::string>& environment) {
    std::vector<std::string> entries = environment;
    std::vector<char*> envp;
    for (auto& entry : entries) envp.push_back(entry.data());
    envp.push_back(nullptr);
    char self[] = "/proc/self/exe";
    char* argv[] = {self, nullptr};
    pid_t pid;
    if (posix_spawn(&pid, self, nullptr, nullptr, argv, envp.data()) != 0) return -1;
    int status = -1;
    waitpid(pid, &status, 0);
    return status;
}

}  // namespace testsupport
