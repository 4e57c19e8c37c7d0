// Whether one network target (a host, an address, the Internet in general or
// the local link) can be reached now and how, over the platform's
// reachability target. Once its notifier runs, every change of the target's
// flags is announced as kNetworkReachabilityChangedNotification with this
// object as sender; observers ask it for the status. The application's own
// online checks go through the HTTP library's reachability manager instead.
// Main thread only while the notifier runs.
#pragma once

#include <sys/socket.h>

#include <memory>
#include <string>

#include "foundation/Object.h"
#include "network/Reachability.h"

enum ReachabilityNetworkStatus : int {
    ReachabilityNotReachable = 0,
    ReachabilityViaWiFi = 1,
    ReachabilityViaWWAN = 2,
};

inline constexpr const char* kNetworkReachabilityChangedNotification = "kNetworkReachabilityChangedNotification";

class Reachability : public foundation::Object {
public:
    using Ptr = std::shared_ptr<Reachability>;

    // Null when the target cannot be made.
    static Ptr reachabilityWithHostName(const std::string& hostName);
    static Ptr reachabilityWithAddress(const sockaddr& address);
    // The zero IPv4 address: the Internet in general.
    static Ptr reachabilityForInternetConnection();
    // The IPv4 link-local network, judged by the local Wi-Fi rule.
    static Ptr reachabilityForLocalWiFi();

    explicit Reachability(network::ReachabilityPtr target);
    ~Reachability() override;

    // Reports arrive on the main run loop, the only one the platform schedules
    // targets on.
    bool startNotifier();
    void stopNotifier();

    ReachabilityNetworkStatus currentReachabilityStatus() const;
    bool connectionRequired() const;
    ReachabilityNetworkStatus networkStatusForFlags(network::ReachabilityFlags flags) const;
    ReachabilityNetworkStatus localWiFiStatusForFlags(network::ReachabilityFlags flags) const;

    bool alwaysReturnLocalWiFiStatus() const { return alwaysReturnLocalWiFiStatus_; }

    std::string className() const override { return "Reachability"; }

private:
    network::ReachabilityPtr reachabilityRef_;
    bool alwaysReturnLocalWiFiStatus_ = false;
};
