// Named, broadcast messages inside the process: a poster names the
// notification and its sender; every observer registered for that name (or
// for all names) and that sender (or any sender) is called.
// Invariants: post returns after every matching observer has run (an
// observer given an operation queue runs there, the poster waiting for it,
// unless the poster already runs on that queue); observers run in
// registration order; an observer removed before a post reaches it is not
// called by that post; a sender matches by identity when it is an object,
// by equal value otherwise.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "foundation/Value.h"

namespace foundation {

class OperationQueue;

struct Notification {
    std::string name;
    // The sender: an object, a string such as "qvaNetworkOnline", or absent.
    Value object;
    // A dictionary, or absent.
    Value userInfo;
};

class NotificationCenter {
public:
    using Handler = std::function<void(const Notification&)>;
    // What addObserverForName hands back: the registration's identity, to
    // pass to removeObserver.
    using ObserverToken = std::shared_ptr<const void>;

    static NotificationCenter& defaultCenter();

    // Registers `handler` under `observer`, the identity removeObserver takes
    // (normally the observing object's `this`). An empty name means every
    // name; an absent object means every sender. The handler runs on the
    // posting thread.
    void addObserver(const void* observer, Handler handler, const std::string& name, const Value& object = {});
    // The same without an observer identity: the handler runs on `queue`
    // (the posting thread when null). Remove it with the token.
    ObserverToken addObserverForName(const std::string& name, const Value& object,
                                     std::shared_ptr<OperationQueue> queue, Handler handler);

    // Every registration of the observer (or of the token's).
    void removeObserver(const void* observer);
    void removeObserver(const ObserverToken& token) { removeObserver(token.get()); }
    // The observer's registrations for `name` (every name when empty) and
    // `object` (registrations for any sender as well as for this one when absent).
    void removeObserver(const void* observer, const std::string& name, const Value& object = {});

    // Whether a post of `name` would reach anyone: a poster whose user info
    // is costly builds it only then.
    bool hasObserversForName(const std::string& name) const;

    void postNotification(const Notification& notification);
    void postNotificationName(const std::string& name, const Value& object = {}, const Value& userInfo = {});

    NotificationCenter();
    ~NotificationCenter();
    NotificationCenter(const NotificationCenter&) = delete;
    NotificationCenter& operator=(const NotificationCenter&) = delete;

private:
    struct Registration;
    mutable std::mutex mutex_;
    std::vector<std::shared_ptr<Registration>> registrations_;
};

}  // namespace foundation
