// The status rules read the platform's flag bits; both log the flags first,
// which is how a connection problem in the field gets diagnosed.
#include "api/Reachability.h"

#include <arpa/inet.h>
#include <netinet/in.h>

#include <cstring>

#include "foundation/Log.h"
#include "foundation/NotificationCenter.h"

namespace Flag = network::ReachabilityFlag;

namespace {

void logFlags(network::ReachabilityFlags flags, const char* rule) {
    auto bit = [flags](network::ReachabilityFlags mask, char letter) { return (flags & mask) ? letter : '-'; };
    foundation::Log("Reachability Flag Status: %c%c %c%c%c%c%c%c%c %s\n", bit(Flag::IsWWAN, 'W'),
                    bit(Flag::Reachable, 'R'), bit(Flag::TransientConnection, 't'),
                    bit(Flag::ConnectionRequired, 'c'), bit(Flag::ConnectionOnTraffic, 'C'),
                    bit(Flag::InterventionRequired, 'i'), bit(Flag::ConnectionOnDemand, 'D'),
                    bit(Flag::IsLocalAddress, 'l'), bit(Flag::IsDirect, 'd'), rule);
}

Reachability::Ptr forIPv4(uint32_t hostOrderAddress) {
    sockaddr_in address;
    std::memset(&address, 0, sizeof address);
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(hostOrderAddress);
    return Reachability::reachabilityWithAddress(reinterpret_cast<const sockaddr&>(address));
}

}  // namespace

Reachability::Reachability(network::ReachabilityPtr target) : reachabilityRef_(std::move(target)) {}

Reachability::~Reachability() {
    stopNotifier();
    if (reachabilityRef_) reachabilityRef_->setCallback(nullptr);
}

Reachability::Ptr Reachability::reachabilityWithHostName(const std::string& hostName) {
    auto target = network::Reachability::createWithName(hostName);
    return target ? std::make_shared<Reachability>(std::move(target)) : nullptr;
}

Reachability::Ptr Reachability::reachabilityWithAddress(const sockaddr& address) {
    auto target = network::Reachability::createWithAddress(address);
    return target ? std::make_shared<Reachability>(std::move(target)) : nullptr;
}

Reachability::Ptr Reachability::reachabilityForInternetConnection() { return forIPv4(0); }

Reachability::Ptr Reachability::reachabilityForLocalWiFi() {
    auto reachability = forIPv4(0xA9FE0000);  // 169.254.0.0
    if (reachability) reachability->alwaysReturnLocalWiFiStatus_ = true;
    return reachability;
}

bool Reachability::startNotifier() {
    if (!reachabilityRef_) return false;
    std::weak_ptr<Reachability> weakSelf = std::static_pointer_cast<Reachability>(shared_from_this());
    reachabilityRef_->setCallback([weakSelf](network::ReachabilityFlags) {
        if (auto self = weakSelf.lock()) {
            foundation::NotificationCenter::defaultCenter().postNotificationName(
                kNetworkReachabilityChangedNotification, foundation::Value(self));
        }
    });
    reachabilityRef_->scheduleWithMainRunLoop();
    return reachabilityRef_->isScheduled();
}

void Reachability::stopNotifier() {
    if (reachabilityRef_ && reachabilityRef_->isScheduled()) reachabilityRef_->unscheduleFromMainRunLoop();
}

ReachabilityNetworkStatus Reachability::currentReachabilityStatus() const {
    network::ReachabilityFlags flags = 0;
    if (!reachabilityRef_ || !reachabilityRef_->getFlags(&flags)) return ReachabilityNotReachable;
    return alwaysReturnLocalWiFiStatus_ ? localWiFiStatusForFlags(flags) : networkStatusForFlags(flags);
}

bool Reachability::connectionRequired() const {
    network::ReachabilityFlags flags = 0;
    return reachabilityRef_ && reachabilityRef_->getFlags(&flags) && (flags & Flag::ConnectionRequired);
}

ReachabilityNetworkStatus Reachability::networkStatusForFlags(network::ReachabilityFlags flags) const {
    logFlags(flags, "networkStatusForFlags");
    if (!(flags & Flag::Reachable)) return ReachabilityNotReachable;
    ReachabilityNetworkStatus status = ReachabilityNotReachable;
    if (!(flags & Flag::ConnectionRequired)) status = ReachabilityViaWiFi;
    if ((flags & (Flag::ConnectionOnDemand | Flag::ConnectionOnTraffic)) && !(flags & Flag::InterventionRequired)) {
        status = ReachabilityViaWiFi;
    }
    if (flags & Flag::IsWWAN) status = ReachabilityViaWWAN;
    return status;
}

ReachabilityNetworkStatus Reachability::localWiFiStatusForFlags(network::ReachabilityFlags flags) const {
    logFlags(flags, "localWiFiStatusForFlags");
    const network::ReachabilityFlags both = Flag::Reachable | Flag::IsDirect;
    return (flags & both) == both ? ReachabilityViaWiFi : ReachabilityNotReachable;
}
