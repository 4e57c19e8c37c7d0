// The reachability manager on the simulated source: the flag table, the status
// before the first reading, and the status block before the notification.
#include <gtest/gtest.h>

#include <netinet/in.h>

#include "SessionManagerTestSupport.h"
#include "http/QNNetworkReachabilityManager.h"
#include "http/QNNetworking.h"

using network::Reachability;
using Status = QNNetworkReachabilityStatus;
namespace Flag = network::ReachabilityFlag;

namespace {

std::shared_ptr<QNNetworkReachabilityManager> internetManager() {
    sockaddr_in zero{};
    zero.sin_family = AF_INET;
    return QNNetworkReachabilityManager::managerForAddress(*reinterpret_cast<const sockaddr*>(&zero));
}

// What a manager reported, block calls and notifications in one sequence.
struct Recorder {
    std::vector<std::string> events;
    bool offMain = false;
    explicit Recorder(QNNetworkReachabilityManager& manager) {
        manager.setReachabilityStatusChangeBlock([this](Status s) {
            if (!foundation::isMainThread()) offMain = true;
            events.push_back("block " + std::to_string(static_cast<int>(s)));
        });
        foundation::NotificationCenter::defaultCenter().addObserver(
            this,
            [this](const foundation::Notification& n) {
                if (!foundation::isMainThread()) offMain = true;
                events.push_back("note " + n.userInfo[kQNNetworkingReachabilityNotificationStatusItem].stringValue());
            },
            kQNNetworkingReachabilityDidChangeNotification);
    }
    ~Recorder() { foundation::NotificationCenter::defaultCenter().removeObserver(this); }
    bool waitForCount(size_t count) {
        return waitFor([&] { return events.size() >= count; });
    }
};

struct SimulationReset {
    ~SimulationReset() { Reachability::setSimulatedFlags(std::nullopt); }
};

}  // namespace

TEST(QNNetworkReachabilityManager, FlagsMapToStatuses) {
    const auto R = Flag::Reachable, Required = Flag::ConnectionRequired, Traffic = Flag::ConnectionOnTraffic;
    const std::vector<std::pair<network::ReachabilityFlags, Status>> table = {
        {0, Status::NotReachable},
        {R, Status::ReachableViaWiFi},
        {R | Flag::IsWWAN, Status::ReachableViaWWAN},
        {Flag::IsWWAN | Traffic, Status::NotReachable},
        {R | Required, Status::NotReachable},
        {R | Required | Traffic | Flag::InterventionRequired, Status::NotReachable},
        {R | Required | Traffic, Status::ReachableViaWiFi},
        {R | Required | Flag::ConnectionOnDemand | Flag::IsWWAN, Status::ReachableViaWWAN},
        {R | Flag::InterventionRequired, Status::ReachableViaWiFi},  // matters only when a connection is required
    };
    for (const auto& [flags, status] : table) EXPECT_EQ(QNNetworkReachabilityStatusForFlags(flags), status) << flags;
    EXPECT_STREQ(QNStringFromNetworkReachabilityStatus(static_cast<Status>(7)), "Unknown");
}

TEST(QNNetworkReachabilityManager, StatusIsUnknownUntilTheFirstReadingThenFollowsChanges) {
    SimulationReset reset;
    Reachability::setSimulatedFlags(Flag::Reachable);
    EXPECT_EQ(QNNetworkReachabilityManager::sharedManager().networkReachabilityAssociation(),
              QNNetworkReachabilityManager::Association::Address);
    auto manager = internetManager();
    Recorder recorder(*manager);
    EXPECT_EQ(manager->networkReachabilityStatus(), Status::Unknown);
    EXPECT_FALSE(manager->isReachable() || manager->isReachableViaWiFi() || manager->isReachableViaWWAN());
    EXPECT_EQ(manager->localizedNetworkReachabilityStatusString(), "Unknown");
    manager->startMonitoring();
    manager->startMonitoring();  // one schedule, one callback, a fresh first reading
    EXPECT_EQ(manager->networkReachabilityStatus(), Status::Unknown);
    ASSERT_TRUE(recorder.waitForCount(2));
    EXPECT_TRUE(manager->isReachable() && manager->isReachableViaWiFi());
    EXPECT_EQ(manager->localizedNetworkReachabilityStatusString(), "Reachable via WiFi");

    Reachability::setSimulatedFlags(Flag::Reachable | Flag::IsWWAN);
    ASSERT_TRUE(recorder.waitForCount(4));
    Reachability::setSimulatedFlags(0);
    ASSERT_TRUE(recorder.waitForCount(6));
    EXPECT_EQ(recorder.events,
              (std::vector<std::string>{"block 2", "note 2", "block 1", "note 1", "block 0", "note 0"}));
    EXPECT_FALSE(recorder.offMain);

    // Stopped, the last status stays. A host-name manager stays unknown until
    // its name has been resolved; one without a target, for ever.
    manager->stopMonitoring();
    auto named = QNNetworkReachabilityManager::managerForDomain("service.quovana.test");
    Recorder namedRecorder(*named);
    named->startMonitoring();
    EXPECT_EQ(named->networkReachabilityStatus(), Status::Unknown);
    ASSERT_TRUE(namedRecorder.waitForCount(2));
    Reachability::setSimulatedFlags(Flag::Reachable);
    ASSERT_TRUE(namedRecorder.waitForCount(4));
    EXPECT_EQ(namedRecorder.events, (std::vector<std::string>{"block 0", "note 0", "block 2", "note 2"}));
    EXPECT_EQ(manager->networkReachabilityStatus(), Status::NotReachable);
    auto empty = QNNetworkReachabilityManager::managerWithReachability(
        nullptr, QNNetworkReachabilityManager::Association::Address);
    empty->startMonitoring();
    EXPECT_EQ(empty->networkReachabilityStatus(), Status::Unknown);
}
