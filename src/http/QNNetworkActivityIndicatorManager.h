// Drives the status bar's network activity indicator from the library's own
// start and finish notifications (operations and session tasks): on while at
// least one request runs, off 0.17 s after the last one ends, so back-to-back
// requests do not make it flicker. The library knows no status bar: the app
// registers the function that shows or hides it.
// Invariants: the count never goes below 0 and changes only under the lock;
// the indicator and the timer are touched on the main thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

#include "foundation/NotificationCenter.h"
#include "foundation/URLRequest.h"

namespace foundation {
class Timer;
}

class QNNetworkActivityIndicatorManager {
public:
    // How long the indicator stays on after the last request ended.
    static constexpr double kInvisibilityDelay = 0.17;

    QNNetworkActivityIndicatorManager();
    ~QNNetworkActivityIndicatorManager();
    QNNetworkActivityIndicatorManager(const QNNetworkActivityIndicatorManager&) = delete;
    QNNetworkActivityIndicatorManager& operator=(const QNNetworkActivityIndicatorManager&) = delete;

    static QNNetworkActivityIndicatorManager& sharedManager();

    bool isEnabled() const;
    void setEnabled(bool enabled);
    // Called on the main thread with the indicator's new state (the app sets
    // the status bar's indicator here).
    void setIndicatorVisibilityHandler(std::function<void(bool visible)> handler);

    bool isNetworkActivityIndicatorVisible() const;
    int64_t activityCount() const;
    void setActivityCount(int64_t count);
    void incrementActivityCount();
    void decrementActivityCount();

    // Main thread: when no request runs, the indicator goes off now rather
    // than after the delay (for a clock that only moves when told to, where
    // the delay would keep it on until the next step).
    void finishPendingHide();

    void networkRequestDidStart(const foundation::Notification& notification);
    void networkRequestDidFinish(const foundation::Notification& notification);

private:
    // The request a notification is about: an operation's or a task's.
    static const foundation::URLRequest* requestOf(const foundation::Notification& notification);
    struct Shared;
    void scheduleUpdate();
    static bool visible(const Shared& shared);
    static void updateNetworkActivityIndicatorVisibilityDelayed(const std::shared_ptr<Shared>& shared);
    static void updateNetworkActivityIndicatorVisibility(const std::shared_ptr<Shared>& shared);

    std::shared_ptr<Shared> shared_;
};
