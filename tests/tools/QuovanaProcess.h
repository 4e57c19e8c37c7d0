// The quovana program run as a process of its own, for what one process
// cannot show: what a fresh process finds in the files, and two processes on
// one home. Its output goes to files that are read once it has ended.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/TemporaryDirectory.h"

extern char** environ;

namespace clitest {

struct ProcessResult {
    int status = -1;
    std::string out;
    std::string err;
};

class QuovanaProcess {
public:
    // Starts `quovana ARGUMENTS...` at once.
    explicit QuovanaProcess(const std::vector<std::string>& arguments) {
        std::vector<std::string> all = {QVA_QUOVANA_PROGRAM};
        all.insert(all.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (auto& argument : all) argv.push_back(argument.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, (output_ / "out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&actions, 2, (output_ / "err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~QuovanaProcess() { wait(); }
    QuovanaProcess(const QuovanaProcess&) = delete;
    QuovanaProcess& operator=(const QuovanaProcess&) = delete;

    // Waits for the end; the exit status (-1 when it did not start or did
    // not exit normally) and what it printed.
    ProcessResult wait() {
        if (pid_ > 0) {
            int raw = 0;
            while (waitpid(pid_, &raw, 0) < 0 && errno == EINTR) {
            }
            result_.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
            result_.out = read("out");
            result_.err = read("err");
            pid_ = -1;
        }
        return result_;
    }

    // Ends it at once, as the system ends a process it kills.
    void kill() {
        if (pid_ > 0) ::kill(pid_, SIGKILL);
    }

private:
    std::string read(const std::string& name) const {
        std::ifstream file(output_ / name);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }

    TemporaryDirectory output_;
    pid_t pid_ = -1;
    ProcessResult result_;
};

// Runs it to its end.
inline ProcessResult runQuovana(const std::vector<std::string>& arguments) {
    return QuovanaProcess(arguments).wait();
}

}  // namespace clitest
