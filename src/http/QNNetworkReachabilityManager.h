// Watches whether a network target can be reached and over what kind of
// link, keeps the latest status, calls one status block on every change and
// posts "com.quovana.networking.reachability.change" (status under
// "QNNetworkingReachabilityNotificationStatusItem"). The shared manager
// watches the zero IPv4 address, which stands for the Internet in general;
// the application starts it at launch, session managers only hold it.
// Invariants: the status is -1 from creation until the first reading; the
// status, the block and the notification change and run on the main thread
// only (the status may be read from any thread); the block runs before the
// notification is posted; a reading that arrives after the manager was
// freed, or after monitoring stopped or restarted, changes nothing.
#pragma once

#include <sys/socket.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "network/Reachability.h"

enum class QNNetworkReachabilityStatus : int64_t {
    Unknown = -1,
    NotReachable = 0,
    ReachableViaWWAN = 1,
    ReachableViaWiFi = 2,
};

// The status the platform's flags mean.
QNNetworkReachabilityStatus QNNetworkReachabilityStatusForFlags(network::ReachabilityFlags flags);
// The English text of a status ("Unknown" for any value outside 0..2), the
// key of its entry in the "QNNetworking" string table.
const char* QNStringFromNetworkReachabilityStatus(QNNetworkReachabilityStatus status);

class QNNetworkReachabilityManager : public std::enable_shared_from_this<QNNetworkReachabilityManager> {
public:
    using StatusBlock = std::function<void(QNNetworkReachabilityStatus status)>;

    // How the watched target was made (the platform's numbers).
    enum class Association : unsigned { Address = 1, Name = 3 };

    static QNNetworkReachabilityManager& sharedManager();
    static std::shared_ptr<QNNetworkReachabilityManager> managerForDomain(const std::string& domain);
    static std::shared_ptr<QNNetworkReachabilityManager> managerForAddress(const sockaddr& address);
    // Takes the target over; a manager without one never changes its status.
    static std::shared_ptr<QNNetworkReachabilityManager> managerWithReachability(network::ReachabilityPtr reachability,
                                                                                 Association association);
    ~QNNetworkReachabilityManager();

    QNNetworkReachabilityStatus networkReachabilityStatus() const { return status_.load(); }
    bool isReachable() const;
    bool isReachableViaWWAN() const {
        return networkReachabilityStatus() == QNNetworkReachabilityStatus::ReachableViaWWAN;
    }
    bool isReachableViaWiFi() const {
        return networkReachabilityStatus() == QNNetworkReachabilityStatus::ReachableViaWiFi;
    }
    Association networkReachabilityAssociation() const { return association_; }

    // Stops any earlier monitoring, then reports every change. An address
    // target is also read once at once (off the main thread), and that
    // reading reported; a host-name target first reports when its name has
    // been resolved.
    void startMonitoring();
    // The status and the block stay as they are.
    void stopMonitoring();
    // Replaces any earlier block (none: no block).
    void setReachabilityStatusChangeBlock(StatusBlock block);

    // The current status's text from the "QNNetworking" table.
    std::string localizedNetworkReachabilityStatusString() const;

private:
    QNNetworkReachabilityManager(network::ReachabilityPtr reachability, Association association)
        : reachability_(std::move(reachability)), association_(association) {}
    // On the main thread: a reading for the monitoring run `generation`;
    // false when that run is over.
    bool statusDidChange(QNNetworkReachabilityStatus status, uint64_t generation);

    const network::ReachabilityPtr reachability_;
    const Association association_;
    std::atomic<QNNetworkReachabilityStatus> status_{QNNetworkReachabilityStatus::Unknown};
    std::atomic<uint64_t> generation_{0};
    mutable std::mutex mutex_;
    StatusBlock block_;
};
