// Targets, the simulated source and the hand-over of readings on the main
// thread. An address target's flags at scheduling are where its changes
// count from; a name target's first reading is the news that it resolved.
// Each scheduling gets a new generation, so a reading made for an earlier
// one (before an unschedule or a re-schedule) is recognised and dropped.
#include "network/Reachability.h"

#include <netinet/in.h>

#include <cstring>

#include "network/InterfaceWatcher.h"
#include "network/SystemReachability.h"

namespace network {

namespace {

struct Simulation {
    std::mutex mutex;
    std::optional<ReachabilityFlags> flags;
};

Simulation& simulation() {
    static Simulation s;
    return s;
}

std::optional<ReachabilityFlags> simulatedFlags() {
    std::lock_guard lock(simulation().mutex);
    return simulation().flags;
}

}  // namespace

ReachabilityPtr Reachability::createWithAddress(const sockaddr& address) {
    size_t length;
    if (address.sa_family == AF_INET)
        length = sizeof(sockaddr_in);
    else if (address.sa_family == AF_INET6)
        length = sizeof(sockaddr_in6);
    else
        return nullptr;
    ReachabilityPtr r(new Reachability());
    r->address_.resize(length);
    std::memcpy(r->address_.data(), &address, length);
    return r;
}

ReachabilityPtr Reachability::createWithName(std::string name) {
    if (name.empty()) return nullptr;
    ReachabilityPtr r(new Reachability());
    r->name_ = std::move(name);
    return r;
}

Reachability::~Reachability() {
    InterfaceWatcher::shared().remove(this);
}

bool Reachability::getFlags(ReachabilityFlags* flags) const {
    if (!flags) return false;
    std::optional<ReachabilityFlags> read = simulatedFlags();
    if (!read) {
        read = isNameTarget()
                   ? SystemReachability::flagsForName(name_)
                   : SystemReachability::flagsForAddress(*reinterpret_cast<const sockaddr*>(address_.data()));
    }
    if (!read) return false;
    *flags = *read;
    return true;
}

void Reachability::setCallback(Callback callback) {
    std::lock_guard lock(mutex_);
    callback_ = std::move(callback);
}

void Reachability::scheduleWithMainRunLoop() {
    uint64_t generation;
    {
        std::lock_guard lock(mutex_);
        if (scheduled_) return;
        scheduled_ = true;
        generation = ++generation_;
        lastReported_.reset();
    }
    // Watched first and read second, so that a change in between is not
    // lost; resolving a name may take long, so the watcher does that.
    InterfaceWatcher::shared().add(shared_from_this(), generation, isNameTarget());
    if (isNameTarget()) return;
    ReachabilityFlags flags = 0;
    if (!getFlags(&flags)) return;
    std::lock_guard lock(mutex_);
    if (scheduled_ && generation == generation_ && !lastReported_) lastReported_ = flags;
}

void Reachability::unscheduleFromMainRunLoop() {
    {
        std::lock_guard lock(mutex_);
        if (!scheduled_) return;
        scheduled_ = false;
        ++generation_;
    }
    InterfaceWatcher::shared().remove(this);
}

bool Reachability::isScheduled() const {
    std::lock_guard lock(mutex_);
    return scheduled_;
}

void Reachability::deliver(ReachabilityFlags flags, uint64_t generation) {
    Callback callback;
    {
        std::lock_guard lock(mutex_);
        if (!scheduled_ || generation != generation_) return;
        if (lastReported_ == flags) return;
        lastReported_ = flags;
        callback = callback_;
    }
    if (callback) callback(flags);
}

void Reachability::setSimulatedFlags(std::optional<ReachabilityFlags> flags) {
    {
        std::lock_guard lock(simulation().mutex);
        simulation().flags = flags;
    }
    InterfaceWatcher::shared().refreshAll();
}

}  // namespace network
