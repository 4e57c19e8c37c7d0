// The progress of one session task as the session manager reports it: unit
// counts in bytes (the total may be the unknown size, -1), and pause and
// cancel requests that the manager turns into suspending or cancelling the
// task. The platform layer has no progress object of its own, so the manager
// keeps this small one. Thread-safe: the counts change on the session's
// delegate queue while callers read them anywhere.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

class QNURLSessionManagerProgress {
public:
    explicit QNURLSessionManagerProgress(int64_t totalUnitCount = 0) : total_(totalUnitCount) {}

    int64_t totalUnitCount() const;
    void setTotalUnitCount(int64_t count);
    int64_t completedUnitCount() const;
    void setCompletedUnitCount(int64_t count);
    // completed / total; 0 while the total is not positive.
    double fractionCompleted() const;

    bool isPaused() const;
    bool isCancelled() const;
    // Run on the thread that pauses or cancels, once each: pausing again, or
    // pausing after a cancel, does nothing.
    void setPausingHandler(std::function<void()> handler);
    void setCancellationHandler(std::function<void()> handler);
    void pause();
    void cancel();

private:
    mutable std::mutex mutex_;
    int64_t total_;
    int64_t completed_ = 0;
    bool paused_ = false;
    bool cancelled_ = false;
    std::function<void()> pausing_;
    std::function<void()> cancellation_;
};

using QNURLSessionManagerProgressPtr = std::shared_ptr<QNURLSessionManagerProgress>;
