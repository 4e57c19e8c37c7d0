#include "foundation/NotificationCenter.h"

#include <algorithm>
#include <atomic>

#include "foundation/OperationQueue.h"

namespace foundation {

struct NotificationCenter::Registration {
    const void* observer;
    ObserverToken token;  // keeps the token's address unique while registered
    std::string name;
    Value object;
    std::shared_ptr<OperationQueue> queue;
    Handler handler;
    std::atomic<bool> active{true};
};

namespace {

bool sameSender(const Value& a, const Value& b) {
    if (a.isObject() || b.isObject()) return a.isObject() && b.isObject() && a.object() == b.object();
    return a == b;
}

}  // namespace

NotificationCenter::NotificationCenter() = default;
NotificationCenter::~NotificationCenter() = default;

NotificationCenter& NotificationCenter::defaultCenter() {
    // Never destroyed: observers may post while the process exits.
    static NotificationCenter* center = new NotificationCenter();
    return *center;
}

void NotificationCenter::addObserver(const void* observer, Handler handler, const std::string& name,
                                     const Value& object) {
    auto r = std::make_shared<Registration>();
    r->observer = observer;
    r->name = name;
    r->object = object;
    r->handler = std::move(handler);
    std::lock_guard lock(mutex_);
    registrations_.push_back(std::move(r));
}

NotificationCenter::ObserverToken NotificationCenter::addObserverForName(const std::string& name, const Value& object,
                                                                         std::shared_ptr<OperationQueue> queue,
                                                                         Handler handler) {
    auto token = std::make_shared<const char>('\0');
    auto r = std::make_shared<Registration>();
    r->observer = token.get();
    r->token = token;
    r->name = name;
    r->object = object;
    r->queue = std::move(queue);
    r->handler = std::move(handler);
    std::lock_guard lock(mutex_);
    registrations_.push_back(std::move(r));
    return token;
}

void NotificationCenter::removeObserver(const void* observer) {
    removeObserver(observer, std::string(), Value());
}

void NotificationCenter::removeObserver(const void* observer, const std::string& name, const Value& object) {
    std::vector<std::shared_ptr<Registration>> removed;
    std::lock_guard lock(mutex_);
    std::erase_if(registrations_, [&](const std::shared_ptr<Registration>& r) {
        bool match = r->observer == observer && (name.empty() || r->name == name) &&
                     (object.isAbsent() || sameSender(r->object, object));
        if (match) {
            r->active = false;
            removed.push_back(r);  // handlers are let go outside the lock
        }
        return match;
    });
}

void NotificationCenter::postNotificationName(const std::string& name, const Value& object, const Value& userInfo) {
    postNotification(Notification{name, object, userInfo});
}

bool NotificationCenter::hasObserversForName(const std::string& name) const {
    std::lock_guard lock(mutex_);
    return std::any_of(registrations_.begin(), registrations_.end(),
                       [&](const std::shared_ptr<Registration>& r) { return r->name.empty() || r->name == name; });
}

void NotificationCenter::postNotification(const Notification& notification) {
    std::vector<std::shared_ptr<Registration>> matching;
    {
        std::lock_guard lock(mutex_);
        for (auto& r : registrations_) {
            if (!r->name.empty() && r->name != notification.name) continue;
            if (!r->object.isAbsent() && !sameSender(r->object, notification.object)) continue;
            matching.push_back(r);
        }
    }
    for (auto& r : matching) {
        if (!r->active) continue;
        if (!r->queue || r->queue == OperationQueue::currentQueue()) {
            r->handler(notification);
            continue;
        }
        auto op = BlockOperation::blockOperationWithBlock([r, notification] {
            if (r->active) r->handler(notification);
        });
        r->queue->addOperation(op);
        op->waitUntilFinished();
    }
}

}  // namespace foundation
