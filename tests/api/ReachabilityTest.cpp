// The reachability wrapper: both status rules on hand-made flags, the local
// Wi-Fi object, and the change notification driven by simulated flags.
#include <gtest/gtest.h>

#include "api/Reachability.h"
#include "foundation/Log.h"
#include "foundation/NotificationCenter.h"
#include "foundation/RunLoop.h"

namespace {

namespace Flag = network::ReachabilityFlag;

struct SimulationReset {
    ~SimulationReset() { network::Reachability::setSimulatedFlags(std::nullopt); }
};

TEST(ReachabilityTest, StatusRules) {
    foundation::ScopedLogCapture log;
    auto internet = Reachability::reachabilityForInternetConnection();
    ASSERT_TRUE(internet);
    EXPECT_FALSE(internet->alwaysReturnLocalWiFiStatus());
    EXPECT_EQ(internet->networkStatusForFlags(0), ReachabilityNotReachable);
    EXPECT_EQ(internet->networkStatusForFlags(Flag::Reachable), ReachabilityViaWiFi);
    EXPECT_EQ(internet->networkStatusForFlags(Flag::Reachable | Flag::ConnectionRequired), ReachabilityNotReachable);
    EXPECT_EQ(internet->networkStatusForFlags(Flag::Reachable | Flag::ConnectionRequired | Flag::ConnectionOnDemand),
              ReachabilityViaWiFi);
    EXPECT_EQ(internet->networkStatusForFlags(Flag::Reachable | Flag::ConnectionRequired | Flag::ConnectionOnTraffic |
                                              Flag::InterventionRequired),
              ReachabilityNotReachable);
    EXPECT_EQ(internet->networkStatusForFlags(Flag::Reachable | Flag::ConnectionRequired | Flag::ConnectionOnTraffic |
                                              Flag::InterventionRequired | Flag::IsWWAN),
              ReachabilityViaWWAN);
    EXPECT_EQ(internet->networkStatusForFlags(Flag::IsWWAN), ReachabilityNotReachable);

    auto local = Reachability::reachabilityForLocalWiFi();
    ASSERT_TRUE(local);
    EXPECT_TRUE(local->alwaysReturnLocalWiFiStatus());
    EXPECT_EQ(local->localWiFiStatusForFlags(Flag::Reachable), ReachabilityNotReachable);
    EXPECT_EQ(local->localWiFiStatusForFlags(Flag::Reachable | Flag::IsDirect), ReachabilityViaWiFi);
    std::string text;
    for (const auto& line : log.lines()) text += line;
    EXPECT_NE(text.find("Reachability Flag Status: WR -cCi--- networkStatusForFlags"), std::string::npos);
    EXPECT_NE(text.find("Reachability Flag Status: -R ------d localWiFiStatusForFlags"), std::string::npos);
}

TEST(ReachabilityTest, NotifierAnnouncesChanges) {
    SimulationReset reset;
    network::Reachability::setSimulatedFlags(Flag::Reachable | Flag::ConnectionRequired);
    auto internet = Reachability::reachabilityForInternetConnection();
    EXPECT_EQ(internet->currentReachabilityStatus(), ReachabilityNotReachable);
    EXPECT_TRUE(internet->connectionRequired());
    auto local = Reachability::reachabilityForLocalWiFi();
    network::Reachability::setSimulatedFlags(Flag::Reachable | Flag::IsDirect);
    EXPECT_EQ(local->currentReachabilityStatus(), ReachabilityViaWiFi);

    std::vector<ReachabilityNetworkStatus> seen;
    auto& center = foundation::NotificationCenter::defaultCenter();
    auto token = center.addObserverForName(kNetworkReachabilityChangedNotification, {}, nullptr,
                                           [&](const foundation::Notification& note) {
                                               auto sender = note.object.objectAs<Reachability>();
                                               ASSERT_EQ(sender, internet);
                                               seen.push_back(sender->currentReachabilityStatus());
                                           });
    ASSERT_TRUE(internet->startNotifier());
    network::Reachability::setSimulatedFlags(0);
    EXPECT_TRUE(foundation::RunLoop::main().runUntil([&] { return !seen.empty(); }, 10.0));
    network::Reachability::setSimulatedFlags(Flag::Reachable | Flag::IsWWAN);
    EXPECT_TRUE(foundation::RunLoop::main().runUntil([&] { return seen.size() >= 2; }, 10.0));
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], ReachabilityNotReachable);
    EXPECT_EQ(seen[1], ReachabilityViaWWAN);

    internet->stopNotifier();
    center.removeObserver(token);
}

}  // namespace
