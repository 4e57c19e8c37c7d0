// Shared by the session manager tests: waiting on the main loop, a log of the
// library's notifications, and letting a manager go (its session holds it
// until invalidated).
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "dispatch/Queue.h"
#include "foundation/NotificationCenter.h"
#include "foundation/RunLoop.h"
#include "http/QNURLSessionManager.h"

inline bool waitFor(const std::function<bool()>& predicate) {
    return foundation::RunLoop::main().runUntil(predicate, 10.0);
}

// Runs the main queue until everything posted to it so far has run.
inline void drainMainQueue() {
    bool done = false;
    dispatch::Queue::main()->async([&] { done = true; });
    waitFor([&] { return done; });
}

class NotificationLog {
public:
    struct Entry {
        foundation::Notification notification;
        bool onMain;
    };

    explicit NotificationLog(std::vector<std::string> names) {
        auto record = [this](const foundation::Notification& n) {
            std::lock_guard lock(mutex_);
            entries_.push_back({n, foundation::isMainThread()});
        };
        for (const auto& name : names) foundation::NotificationCenter::defaultCenter().addObserver(this, record, name);
    }
    ~NotificationLog() { foundation::NotificationCenter::defaultCenter().removeObserver(this); }

    // The entries of that name about that object.
    std::vector<Entry> about(const std::string& name, const std::shared_ptr<foundation::Object>& object) const {
        std::lock_guard lock(mutex_);
        std::vector<Entry> found;
        for (const auto& e : entries_)
            if (e.notification.name == name && e.notification.object.object() == object) found.push_back(e);
        return found;
    }

private:
    mutable std::mutex mutex_;
    std::vector<Entry> entries_;
};

// Invalidates the manager's session and waits until the manager is gone.
template <class T>
void releaseManager(std::shared_ptr<T>& manager) {
    std::weak_ptr<T> weak = manager;
    manager->invalidateSessionCancelingTasks(true);
    manager.reset();
    EXPECT_TRUE(waitFor([&] { return weak.expired(); }));
}
