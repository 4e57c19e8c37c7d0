// Handlers run outside the lock, so one may read the progress it belongs to.
#include "http/QNURLSessionManagerProgress.h"

int64_t QNURLSessionManagerProgress::totalUnitCount() const {
    std::lock_guard lock(mutex_);
    return total_;
}

void QNURLSessionManagerProgress::setTotalUnitCount(int64_t count) {
    std::lock_guard lock(mutex_);
    total_ = count;
}

int64_t QNURLSessionManagerProgress::completedUnitCount() const {
    std::lock_guard lock(mutex_);
    return completed_;
}

void QNURLSessionManagerProgress::setCompletedUnitCount(int64_t count) {
    std::lock_guard lock(mutex_);
    completed_ = count;
}

double QNURLSessionManagerProgress::fractionCompleted() const {
    std::lock_guard lock(mutex_);
    return total_ > 0 ? static_cast<double>(completed_) / static_cast<double>(total_) : 0.0;
}

bool QNURLSessionManagerProgress::isPaused() const {
    std::lock_guard lock(mutex_);
    return paused_;
}

bool QNURLSessionManagerProgress::isCancelled() const {
    std::lock_guard lock(mutex_);
    return cancelled_;
}

void QNURLSessionManagerProgress::setPausingHandler(std::function<void()> handler) {
    std::lock_guard lock(mutex_);
    pausing_ = std::move(handler);
}

void QNURLSessionManagerProgress::setCancellationHandler(std::function<void()> handler) {
    std::lock_guard lock(mutex_);
    cancellation_ = std::move(handler);
}

void QNURLSessionManagerProgress::pause() {
    std::function<void()> handler;
    {
        std::lock_guard lock(mutex_);
        if (paused_ || cancelled_) return;
        paused_ = true;
        handler = pausing_;
    }
    if (handler) handler();
}

void QNURLSessionManagerProgress::cancel() {
    std::function<void()> handler;
    {
        std::lock_guard lock(mutex_);
        if (cancelled_) return;
        cancelled_ = true;
        handler = cancellation_;
    }
    if (handler) handler();
}
