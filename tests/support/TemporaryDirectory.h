// A fresh directory under the system's temporary folder, removed with all it
// holds when the test ends.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

// Where a test's temporary folders go: the system's temporary folder, or, in
// a process a test started (a death test's child, a re-run of the binary),
// the starting process's home, which that process removes at its end. A
// child often ends with _exit or a signal, and would leave its own behind.
inline std::filesystem::path testTemporaryRoot() {
    const char* root = std::getenv("QVA_TEST_TEMPORARY_ROOT");
    const char* owner = std::getenv("QVA_TEST_TEMPORARY_ROOT_OWNER");
    const bool started = root && *root && owner && std::to_string(::getpid()) != owner;
    return started ? std::filesystem::path(root) : std::filesystem::temp_directory_path();
}

class TemporaryDirectory {
public:
    TemporaryDirectory() {
        std::string pattern = (testTemporaryRoot() / "qva-test-XXXXXX").string();
        if (::mkdtemp(pattern.data())) path_ = pattern;
    }
    ~TemporaryDirectory() {
        std::error_code ec;
        if (!path_.empty()) std::filesystem::remove_all(path_, ec);
    }
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};
