// Background tasks: the extra time an application asks for to finish work
// when it leaves the foreground. There is no system here to grant or take
// that time; the tasks are kept where tests (and the app mode) can read
// them, and expireBackgroundTasks() is the system saying the time is up.
// Thread-safe: work on any thread may begin and end a task; expiry
// handlers run on the main thread, outside the lock, so they may end their
// task (or begin another).
#include <algorithm>
#include <map>
#include <mutex>

#include "foundation/MainThreadChecker.h"
#include "uikit/UIApplication.h"

namespace uikit {

namespace {

struct BackgroundTasks {
    std::mutex mutex;
    UIBackgroundTaskIdentifier next = 1;
    // Live tasks by identifier, so in the order they began.
    std::map<UIBackgroundTaskIdentifier, std::function<void()>> live;
};

BackgroundTasks& backgroundTaskState() {
    static BackgroundTasks* tasks = new BackgroundTasks();
    return *tasks;
}

}  // namespace

UIBackgroundTaskIdentifier UIApplication::beginBackgroundTaskWithExpirationHandler(std::function<void()> handler) {
    BackgroundTasks& tasks = backgroundTaskState();
    std::lock_guard lock(tasks.mutex);
    UIBackgroundTaskIdentifier identifier = tasks.next++;
    tasks.live.emplace(identifier, std::move(handler));
    return identifier;
}

void UIApplication::endBackgroundTask(UIBackgroundTaskIdentifier identifier) {
    std::function<void()> released;
    BackgroundTasks& tasks = backgroundTaskState();
    std::lock_guard lock(tasks.mutex);
    auto it = tasks.live.find(identifier);
    if (it == tasks.live.end()) return;
    released = std::move(it->second);  // freed after the lock, with what it holds
    tasks.live.erase(it);
}

std::vector<UIBackgroundTaskIdentifier> UIApplication::backgroundTasks() const {
    BackgroundTasks& tasks = backgroundTaskState();
    std::lock_guard lock(tasks.mutex);
    std::vector<UIBackgroundTaskIdentifier> identifiers;
    for (const auto& [identifier, handler] : tasks.live) identifiers.push_back(identifier);
    return identifiers;
}

void UIApplication::expireBackgroundTasks() {
    foundation::requireMainThread("background time expires on the main thread");
    std::vector<UIBackgroundTaskIdentifier> expiring = backgroundTasks();
    BackgroundTasks& tasks = backgroundTaskState();
    for (UIBackgroundTaskIdentifier identifier : expiring) {
        std::function<void()> handler;
        {
            std::lock_guard lock(tasks.mutex);
            auto it = tasks.live.find(identifier);
            if (it == tasks.live.end()) continue;  // an earlier handler ended it
            handler = it->second;
        }
        if (handler) handler();
    }
    // What the handlers did not end, the system ends.
    for (UIBackgroundTaskIdentifier identifier : expiring) endBackgroundTask(identifier);
}

}  // namespace uikit

namespace uikit {

void UIApplication::endAllBackgroundTasks() {
    std::map<UIBackgroundTaskIdentifier, std::function<void()>> released;
    BackgroundTasks& tasks = backgroundTaskState();
    std::lock_guard lock(tasks.mutex);
    released.swap(tasks.live);
}

}  // namespace uikit
