// Whether a network target can be reached, read from the operating system's
// interfaces: a target address (the zero address standing for the Internet
// in general) or a host name, which is resolved first. A scheduled target
// hears of every change of its flags through its callback, on the main run
// loop; the changes are noticed through the kernel's interface and address
// events. Linux has no cellular links to tell apart, so IsWWAN is never set
// from the system.
// For tests, simulated flags replace what the system says for every target
// at once, and changing them is announced like a real change.
// Invariants: a callback runs only on the main thread, only while its target
// is scheduled, and only with flags that differ from those last reported
// (or, for an address target, from those read when it was scheduled, on the
// scheduling thread); a host-name target reports once its name has been
// resolved after scheduling.
#pragma once

#include <sys/socket.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace network {

// The platform's flag values.
using ReachabilityFlags = uint32_t;
namespace ReachabilityFlag {
inline constexpr ReachabilityFlags TransientConnection = 1u << 0;
inline constexpr ReachabilityFlags Reachable = 1u << 1;
inline constexpr ReachabilityFlags ConnectionRequired = 1u << 2;
inline constexpr ReachabilityFlags ConnectionOnTraffic = 1u << 3;
inline constexpr ReachabilityFlags InterventionRequired = 1u << 4;
inline constexpr ReachabilityFlags ConnectionOnDemand = 1u << 5;
inline constexpr ReachabilityFlags IsLocalAddress = 1u << 16;
inline constexpr ReachabilityFlags IsDirect = 1u << 17;
inline constexpr ReachabilityFlags IsWWAN = 1u << 18;
}  // namespace ReachabilityFlag

class Reachability;
using ReachabilityPtr = std::shared_ptr<Reachability>;

class Reachability : public std::enable_shared_from_this<Reachability> {
public:
    using Callback = std::function<void(ReachabilityFlags flags)>;

    // Null for an address that is neither IPv4 nor IPv6.
    static ReachabilityPtr createWithAddress(const sockaddr& address);
    // Null for an empty name.
    static ReachabilityPtr createWithName(std::string name);
    ~Reachability();

    bool isNameTarget() const { return !name_.empty(); }

    // The flags as of now; false when they cannot be read. For a name this
    // resolves it, so it may block: not for the main thread.
    bool getFlags(ReachabilityFlags* flags) const;

    // Replaces the callback (none: changes go unreported).
    void setCallback(Callback callback);
    // Starts reporting changes (doing nothing when already scheduled).
    void scheduleWithMainRunLoop();
    // Stops reporting; a report already on its way is dropped.
    void unscheduleFromMainRunLoop();
    bool isScheduled() const;

    // Replaces the system's answer for every target (nothing: the system
    // again), and tells every scheduled target whose flags change.
    static void setSimulatedFlags(std::optional<ReachabilityFlags> flags);

private:
    friend class InterfaceWatcher;

    Reachability() = default;
    // On the main thread: a reading made for this target while it was
    // scheduled under `generation`.
    void deliver(ReachabilityFlags flags, uint64_t generation);

    std::vector<uint8_t> address_;  // a sockaddr_in or sockaddr_in6
    std::string name_;

    mutable std::mutex mutex_;
    Callback callback_;
    bool scheduled_ = false;
    uint64_t generation_ = 0;
    std::optional<ReachabilityFlags> lastReported_;
};

}  // namespace network
