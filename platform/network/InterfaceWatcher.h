// The one thread that reads flags for scheduled reachability targets: a
// host name once it is scheduled, and every target again whenever the
// kernel announces a change of links or addresses (a netlink route socket)
// or the simulated flags change. Readings go to the main run loop. The
// thread runs only while something is scheduled (and is left running at
// exit when something still is). Internal to the network library.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace network {

class Reachability;

class InterfaceWatcher {
public:
    static InterfaceWatcher& shared();

    // Reads the target's flags on every change (and soon, with `readNow`),
    // for readings tagged with `generation` (see Reachability::deliver).
    void add(const std::shared_ptr<Reachability>& target, uint64_t generation, bool readNow);
    void remove(const Reachability* target);
    // Reads every target again.
    void refreshAll();

private:
    struct Entry {
        std::weak_ptr<Reachability> target;
        const Reachability* key;
        uint64_t generation;
        bool dirty;
    };

    InterfaceWatcher() = default;
    void wake();  // under mutex_
    void run();
    // Reads the targets marked dirty; false when none was.
    bool readDirtyTargets();

    std::mutex mutex_;
    std::vector<Entry> entries_;
    std::thread thread_;
    bool running_ = false;
    bool stopping_ = false;
    int wakeFd_ = -1;
};

}  // namespace network
