// The count lives in a shared block that the main-queue updates hold, so an
// update still queued when a manager goes away touches nothing freed.
#include "http/QNNetworkActivityIndicatorManager.h"

#include <algorithm>

#include "dispatch/Queue.h"
#include "foundation/RunLoop.h"
#include "foundation/Timer.h"
#include "foundation/URLSessionTask.h"
#include "http/QNNetworking.h"
#include "http/QNURLConnectionOperation.h"

using namespace foundation;

struct QNNetworkActivityIndicatorManager::Shared {
    mutable std::recursive_mutex lock;
    int64_t activityCount = 0;
    bool enabled = false;  // main thread
    std::function<void(bool)> handler;  // main thread
    std::shared_ptr<Timer> timer;  // main thread
    bool alive = true;  // main thread
};

QNNetworkActivityIndicatorManager::QNNetworkActivityIndicatorManager() : shared_(std::make_shared<Shared>()) {
    auto& center = NotificationCenter::defaultCenter();
    auto start = [this](const Notification& n) { networkRequestDidStart(n); };
    auto finish = [this](const Notification& n) { networkRequestDidFinish(n); };
    center.addObserver(this, start, kQNNetworkingOperationDidStartNotification);
    center.addObserver(this, finish, kQNNetworkingOperationDidFinishNotification);
    center.addObserver(this, start, kQNNetworkingTaskDidResumeNotification);
    center.addObserver(this, finish, kQNNetworkingTaskDidSuspendNotification);
    center.addObserver(this, finish, kQNNetworkingTaskDidCompleteNotification);
}

QNNetworkActivityIndicatorManager::~QNNetworkActivityIndicatorManager() {
    NotificationCenter::defaultCenter().removeObserver(this);
    auto shared = shared_;
    auto stop = [shared] {
        shared->alive = false;
        if (shared->timer) shared->timer->invalidate();
    };
    if (isMainThread()) stop();
    else dispatch::Queue::main()->async(stop);
}

QNNetworkActivityIndicatorManager& QNNetworkActivityIndicatorManager::sharedManager() {
    static QNNetworkActivityIndicatorManager* manager = new QNNetworkActivityIndicatorManager();
    return *manager;
}

bool QNNetworkActivityIndicatorManager::isEnabled() const {
    std::lock_guard guard(shared_->lock);
    return shared_->enabled;
}

void QNNetworkActivityIndicatorManager::setEnabled(bool enabled) {
    std::lock_guard guard(shared_->lock);
    shared_->enabled = enabled;
}

void QNNetworkActivityIndicatorManager::setIndicatorVisibilityHandler(std::function<void(bool)> handler) {
    std::lock_guard guard(shared_->lock);
    shared_->handler = std::move(handler);
}

bool QNNetworkActivityIndicatorManager::isNetworkActivityIndicatorVisible() const {
    return activityCount() > 0;
}

int64_t QNNetworkActivityIndicatorManager::activityCount() const {
    std::lock_guard guard(shared_->lock);
    return shared_->activityCount;
}

void QNNetworkActivityIndicatorManager::setActivityCount(int64_t count) {
    {
        std::lock_guard guard(shared_->lock);
        shared_->activityCount = std::max<int64_t>(count, 0);
    }
    scheduleUpdate();
}

void QNNetworkActivityIndicatorManager::incrementActivityCount() {
    {
        std::lock_guard guard(shared_->lock);
        shared_->activityCount++;
    }
    scheduleUpdate();
}

void QNNetworkActivityIndicatorManager::decrementActivityCount() {
    {
        std::lock_guard guard(shared_->lock);
        shared_->activityCount = std::max<int64_t>(shared_->activityCount - 1, 0);
    }
    scheduleUpdate();
}

const URLRequest* QNNetworkActivityIndicatorManager::requestOf(const Notification& notification) {
    if (auto operation = notification.object.objectAs<QNURLConnectionOperation>()) {
        // The operation may swap its request (pause) while we look.
        thread_local URLRequest request;
        request = operation->request();
        return &request;
    }
    if (auto task = notification.object.objectAs<URLSessionTask>()) return &task->originalRequest();
    return nullptr;
}

void QNNetworkActivityIndicatorManager::networkRequestDidStart(const Notification& notification) {
    const URLRequest* request = requestOf(notification);
    if (request && request->url()) incrementActivityCount();
}

void QNNetworkActivityIndicatorManager::networkRequestDidFinish(const Notification& notification) {
    const URLRequest* request = requestOf(notification);
    if (request && request->url()) decrementActivityCount();
}

void QNNetworkActivityIndicatorManager::scheduleUpdate() {
    auto shared = shared_;
    dispatch::Queue::main()->async([shared] { updateNetworkActivityIndicatorVisibilityDelayed(shared); });
}

void QNNetworkActivityIndicatorManager::updateNetworkActivityIndicatorVisibilityDelayed(
    const std::shared_ptr<Shared>& shared) {
    if (!shared->alive) return;
    {
        std::lock_guard guard(shared->lock);
        if (!shared->enabled) return;
    }
    if (visible(*shared)) {
        updateNetworkActivityIndicatorVisibility(shared);
        return;
    }
    // Going off waits, so that a request starting right after keeps it on.
    if (shared->timer) shared->timer->invalidate();
    shared->timer = Timer::timerWithTimeInterval(kInvisibilityDelay, false,
                                                 [shared](Timer&) { updateNetworkActivityIndicatorVisibility(shared); });
    RunLoop::main().addTimer(shared->timer);
}

void QNNetworkActivityIndicatorManager::finishPendingHide() {
    if (!shared_->alive || !shared_->timer || visible(*shared_)) return;
    shared_->timer->invalidate();
    shared_->timer = nullptr;
    updateNetworkActivityIndicatorVisibility(shared_);
}

bool QNNetworkActivityIndicatorManager::visible(const Shared& shared) {
    std::lock_guard guard(shared.lock);
    return shared.activityCount > 0;
}

void QNNetworkActivityIndicatorManager::updateNetworkActivityIndicatorVisibility(
    const std::shared_ptr<Shared>& shared) {
    if (!shared->alive) return;
    std::function<void(bool)> handler;
    {
        std::lock_guard guard(shared->lock);
        handler = shared->handler;
    }
    if (handler) handler(visible(*shared));
}
