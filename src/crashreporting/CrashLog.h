// The crash log: the last lines the app wrote and a few named values (the
// signed-in user, the open meeting), bounded so that a long session cannot
// grow it. Every change also renders a plain-text copy into a fixed buffer,
// so the crash signal handler can copy it out without allocating or locking.
// Invariants: at most kMaxLines lines of at most kMaxLineLength bytes, at most
// kMaxCustomValues values; the published snapshot is always a whole rendering.
#pragma once

#include <atomic>
#include <cstddef>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <vector>

class CrashLog {
public:
    static constexpr size_t kMaxLines = 64;
    static constexpr size_t kMaxLineLength = 1024;
    static constexpr size_t kMaxCustomValues = 32;
    static constexpr size_t kMaxCustomTextLength = 256;
    static constexpr size_t kSnapshotCapacity = 32 * 1024;

    static CrashLog& shared();

    void append(const std::string& line);
    // Replaces the value of a known key; a new key beyond the bound is dropped.
    void setCustomValue(const std::string& value, const std::string& key);

    std::vector<std::string> lines() const;
    std::map<std::string, std::string> customValues() const;

    // Async-signal-safe: the last published rendering. It stays intact through
    // the next change and is reused by the one after. The newest lines win
    // when everything does not fit.
    const char* snapshot(size_t* length) const;

private:
    CrashLog();
    void publishLocked();

    mutable std::mutex mutex_;
    std::deque<std::string> lines_;
    std::map<std::string, std::string> customValues_;

    // Two buffers: the next rendering goes into the one the handler is not
    // pointed at, then the index flips.
    char buffers_[2][kSnapshotCapacity];
    size_t lengths_[2] = {0, 0};
    std::atomic<int> published_{0};
};
