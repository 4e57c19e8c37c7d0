// Status from flags, monitoring and the notification. Each start opens a new
// monitoring run (a generation); readings carry the run they belong to, so
// those of a stopped or replaced run are dropped.
#include "http/QNNetworkReachabilityManager.h"

#include <netinet/in.h>

#include "dispatch/Queue.h"
#include "foundation/NotificationCenter.h"
#include "http/QNNetworking.h"

using network::ReachabilityFlags;
namespace Flag = network::ReachabilityFlag;

QNNetworkReachabilityStatus QNNetworkReachabilityStatusForFlags(ReachabilityFlags flags) {
    bool reachable = flags & Flag::Reachable;
    bool needsConnection = flags & Flag::ConnectionRequired;
    bool connectsAutomatically = (flags & Flag::ConnectionOnDemand) || (flags & Flag::ConnectionOnTraffic);
    bool connectsWithoutUser = connectsAutomatically && !(flags & Flag::InterventionRequired);
    if (!reachable || (needsConnection && !connectsWithoutUser)) return QNNetworkReachabilityStatus::NotReachable;
    return (flags & Flag::IsWWAN) ? QNNetworkReachabilityStatus::ReachableViaWWAN
                                  : QNNetworkReachabilityStatus::ReachableViaWiFi;
}

const char* QNStringFromNetworkReachabilityStatus(QNNetworkReachabilityStatus status) {
    switch (status) {
        case QNNetworkReachabilityStatus::NotReachable: return QNNetworkingMessage::kNotReachable;
        case QNNetworkReachabilityStatus::ReachableViaWWAN: return QNNetworkingMessage::kReachableViaWWAN;
        case QNNetworkReachabilityStatus::ReachableViaWiFi: return QNNetworkingMessage::kReachableViaWiFi;
        default: return QNNetworkingMessage::kReachabilityUnknown;
    }
}

namespace {

void postChange(QNNetworkReachabilityStatus status) {
    foundation::Value::Dictionary userInfo{
        {kQNNetworkingReachabilityNotificationStatusItem, foundation::Value(static_cast<int64_t>(status))}};
    foundation::NotificationCenter::defaultCenter().postNotificationName(kQNNetworkingReachabilityDidChangeNotification,
                                                                         {}, foundation::Value(std::move(userInfo)));
}

}  // namespace

QNNetworkReachabilityManager& QNNetworkReachabilityManager::sharedManager() {
    // Never destroyed, so it outlives whoever still holds it at exit.
    static std::shared_ptr<QNNetworkReachabilityManager>* shared = [] {
        sockaddr_in zero{};
        zero.sin_family = AF_INET;
        return new std::shared_ptr<QNNetworkReachabilityManager>(
            managerForAddress(*reinterpret_cast<const sockaddr*>(&zero)));
    }();
    return **shared;
}

std::shared_ptr<QNNetworkReachabilityManager> QNNetworkReachabilityManager::managerForDomain(
    const std::string& domain) {
    return managerWithReachability(network::Reachability::createWithName(domain), Association::Name);
}

std::shared_ptr<QNNetworkReachabilityManager> QNNetworkReachabilityManager::managerForAddress(const sockaddr& address) {
    return managerWithReachability(network::Reachability::createWithAddress(address), Association::Address);
}

std::shared_ptr<QNNetworkReachabilityManager> QNNetworkReachabilityManager::managerWithReachability(
    network::ReachabilityPtr reachability, Association association) {
    return std::shared_ptr<QNNetworkReachabilityManager>(
        new QNNetworkReachabilityManager(std::move(reachability), association));
}

QNNetworkReachabilityManager::~QNNetworkReachabilityManager() {
    stopMonitoring();
}

bool QNNetworkReachabilityManager::isReachable() const {
    auto status = networkReachabilityStatus();
    return status == QNNetworkReachabilityStatus::ReachableViaWWAN ||
           status == QNNetworkReachabilityStatus::ReachableViaWiFi;
}

void QNNetworkReachabilityManager::startMonitoring() {
    stopMonitoring();
    if (!reachability_) return;
    uint64_t generation = ++generation_;
    std::weak_ptr<QNNetworkReachabilityManager> weak = weak_from_this();
    reachability_->setCallback([weak, generation](ReachabilityFlags flags) {
        auto status = QNNetworkReachabilityStatusForFlags(flags);
        auto manager = weak.lock();
        if (manager && manager->statusDidChange(status, generation))
            dispatch::Queue::main()->async([status] { postChange(status); });
    });
    reachability_->scheduleWithMainRunLoop();
    if (association_ == Association::Name) return;
    network::ReachabilityPtr target = reachability_;
    dispatch::Queue::global()->async([weak, target, generation] {
        // A target whose flags cannot be read counts as not reachable.
        ReachabilityFlags flags = 0;
        if (!target->getFlags(&flags)) flags = 0;
        auto status = QNNetworkReachabilityStatusForFlags(flags);
        dispatch::Queue::main()->async([weak, status, generation] {
            auto manager = weak.lock();
            if (manager && manager->statusDidChange(status, generation)) postChange(status);
        });
    });
}

void QNNetworkReachabilityManager::stopMonitoring() {
    if (!reachability_) return;
    ++generation_;
    reachability_->unscheduleFromMainRunLoop();
}

bool QNNetworkReachabilityManager::statusDidChange(QNNetworkReachabilityStatus status, uint64_t generation) {
    if (generation_.load() != generation) return false;
    status_ = status;
    StatusBlock block;
    {
        std::lock_guard lock(mutex_);
        block = block_;
    }
    if (block) block(status);
    return true;
}

void QNNetworkReachabilityManager::setReachabilityStatusChangeBlock(StatusBlock block) {
    std::lock_guard lock(mutex_);
    block_ = std::move(block);
}

std::string QNNetworkReachabilityManager::localizedNetworkReachabilityStatusString() const {
    return QNLocalizedString(QNStringFromNetworkReachabilityStatus(networkReachabilityStatus()));
}
