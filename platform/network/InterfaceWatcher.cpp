// The watcher thread waits in poll() on the netlink socket and an eventfd
// that add, remove and refreshAll write to. A burst of netlink messages is
// drained whole before the targets are read, so one change of a link costs
// one reading per target. Without a netlink socket (a sandbox may refuse
// one) targets are still read when scheduled and when the simulation
// changes; only the system's own changes go unnoticed.
#include "network/InterfaceWatcher.h"

#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>

#include <pthread.h>

#include "foundation/AlternateSignalStack.h"
#include "foundation/RunLoop.h"
#include "network/Reachability.h"

namespace network {

namespace {

int openNetlink() {
    int fd = ::socket(AF_NETLINK, SOCK_RAW | SOCK_NONBLOCK | SOCK_CLOEXEC, NETLINK_ROUTE);
    if (fd < 0) return -1;
    sockaddr_nl local{};
    local.nl_family = AF_NETLINK;
    local.nl_groups = RTMGRP_LINK | RTMGRP_IPV4_IFADDR | RTMGRP_IPV6_IFADDR | RTMGRP_IPV4_ROUTE | RTMGRP_IPV6_ROUTE;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// True when at least one message was read.
bool drain(int fd) {
    char buffer[8192];
    bool any = false;
    while (::recv(fd, buffer, sizeof buffer, 0) > 0) any = true;
    return any;
}

}  // namespace

InterfaceWatcher& InterfaceWatcher::shared() {
    // Never destroyed: targets held by other process-wide objects may still
    // leave it during exit.
    static InterfaceWatcher* watcher = new InterfaceWatcher();
    return *watcher;
}

void InterfaceWatcher::wake() {
    if (wakeFd_ < 0) return;
    uint64_t one = 1;
    ssize_t written = ::write(wakeFd_, &one, sizeof one);
    (void)written;  // a full counter still wakes the thread
}

void InterfaceWatcher::add(const std::shared_ptr<Reachability>& target, uint64_t generation, bool readNow) {
    std::lock_guard lock(mutex_);
    std::erase_if(entries_, [&](const Entry& e) { return e.key == target.get(); });
    entries_.push_back({target, target.get(), generation, readNow});
    stopping_ = false;
    if (running_) {
        wake();
        return;
    }
    wakeFd_ = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    running_ = true;
    thread_ = std::thread([this] { run(); });
}

void InterfaceWatcher::remove(const Reachability* target) {
    std::lock_guard lock(mutex_);
    std::erase_if(entries_, [&](const Entry& e) { return e.key == target; });
    if (entries_.empty() && running_) {
        stopping_ = true;
        wake();
    }
}

void InterfaceWatcher::refreshAll() {
    std::lock_guard lock(mutex_);
    for (auto& e : entries_) e.dirty = true;
    if (running_) wake();
}

bool InterfaceWatcher::readDirtyTargets() {
    struct Work {
        std::shared_ptr<Reachability> target;
        uint64_t generation;
    };
    std::vector<Work> work;
    {
        std::lock_guard lock(mutex_);
        for (auto& e : entries_) {
            if (!e.dirty) continue;
            e.dirty = false;
            if (auto target = e.target.lock()) work.push_back({std::move(target), e.generation});
        }
    }
    for (auto& w : work) {
        ReachabilityFlags flags = 0;
        if (!w.target->getFlags(&flags)) flags = 0;
        std::weak_ptr<Reachability> weak = w.target;
        foundation::RunLoop::main().post([weak, flags, generation = w.generation] {
            if (auto target = weak.lock()) target->deliver(flags, generation);
        });
    }
    return !work.empty();
}

void InterfaceWatcher::run() {
    pthread_setname_np(pthread_self(), "qva-reachability");
    foundation::AlternateSignalStack::installForCurrentThread();
    int netlink = openNetlink();
    int wakeFd;
    {
        std::lock_guard lock(mutex_);
        wakeFd = wakeFd_;
    }
    for (;;) {
        {
            std::lock_guard lock(mutex_);
            if (stopping_) {
                // Nobody waits for this thread: the last target may even be
                // let go on it.
                running_ = false;
                wakeFd_ = -1;
                thread_.detach();
                break;
            }
        }
        if (readDirtyTargets()) continue;
        pollfd fds[2] = {{wakeFd, POLLIN, 0}, {netlink, POLLIN, 0}};
        int count = netlink >= 0 ? 2 : 1;
        // Without a wake-up descriptor, look at the stop flag now and then.
        if (::poll(fds, count, wakeFd >= 0 ? -1 : 500) < 0) continue;
        if (wakeFd >= 0 && (fds[0].revents & POLLIN)) {
            uint64_t value;
            ssize_t n = ::read(wakeFd, &value, sizeof value);
            (void)n;
        }
        if (count == 2 && (fds[1].revents & POLLIN) && drain(netlink)) {
            std::lock_guard lock(mutex_);
            for (auto& e : entries_) e.dirty = true;
        }
    }
    if (netlink >= 0) ::close(netlink);
    if (wakeFd >= 0) ::close(wakeFd);
}

}  // namespace network
