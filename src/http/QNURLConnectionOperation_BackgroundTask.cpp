// An operation that goes on as a background task of the application: it
// holds one task from the first request until it is destroyed; when the
// system takes the time back, the caller's handler runs, the operation is
// cancelled and the task ends.
#include "http/QNURLConnectionOperation.h"
#include "uikit/UIApplication.h"

uint64_t QNURLConnectionOperation::backgroundTaskIdentifier() const {
    std::lock_guard guard(lock_);
    return backgroundTaskIdentifier_;
}

void QNURLConnectionOperation::setShouldExecuteAsBackgroundTaskWithExpirationHandler(std::function<void()> handler) {
    std::lock_guard guard(lock_);
    if (backgroundTaskIdentifier_ != uikit::UIBackgroundTaskInvalid) return;
    std::weak_ptr<QNURLConnectionOperation> weak = self();
    backgroundTaskIdentifier_ = uikit::UIApplication::sharedApplication().beginBackgroundTaskWithExpirationHandler(
        [weak, handler = std::move(handler)] {
            if (handler) handler();
            auto operation = weak.lock();
            if (!operation) return;
            operation->cancel();
            uint64_t identifier;
            {
                std::lock_guard guard(operation->lock_);
                identifier = operation->backgroundTaskIdentifier_;
                operation->backgroundTaskIdentifier_ = uikit::UIBackgroundTaskInvalid;
            }
            uikit::UIApplication::sharedApplication().endBackgroundTask(identifier);
        });
}

void QNURLConnectionOperation::endBackgroundTaskOnDestruction() {
    if (backgroundTaskIdentifier_ == uikit::UIBackgroundTaskInvalid) return;
    uikit::UIApplication::sharedApplication().endBackgroundTask(backgroundTaskIdentifier_);
    backgroundTaskIdentifier_ = uikit::UIBackgroundTaskInvalid;
}
