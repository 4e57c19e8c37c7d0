// Reachability targets: the system's word on loopback, the simulated source
// that replaces it, and change reports on the main thread while scheduled.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>

#include "foundation/RunLoop.h"
#include "network/Reachability.h"

using namespace network;
namespace Flag = network::ReachabilityFlag;

namespace {

ReachabilityPtr target(const char* text) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    inet_pton(AF_INET, text, &address.sin_addr);
    return Reachability::createWithAddress(*reinterpret_cast<const sockaddr*>(&address));
}

// Every report of one target, and whether one came off the main thread.
struct Reports {
    std::vector<ReachabilityFlags> flags;
    bool offMain = false;
    explicit Reports(Reachability& r) {
        r.setCallback([this](ReachabilityFlags f) {
            offMain = offMain || !foundation::isMainThread();
            flags.push_back(f);
        });
    }
    bool waitForCount(size_t count) {
        return foundation::RunLoop::main().runUntil([&] { return flags.size() >= count; }, 10.0);
    }
};

struct SimulationReset {
    ~SimulationReset() { Reachability::setSimulatedFlags(std::nullopt); }
};

}  // namespace

TEST(Reachability, LoopbackIsLocalAndTheSimulationReplacesTheSystem) {
    SimulationReset reset;
    auto loopback = target("127.0.0.1");
    ReachabilityFlags flags = 0;
    ASSERT_TRUE(loopback && loopback->getFlags(&flags));
    EXPECT_EQ(flags & (Flag::Reachable | Flag::IsLocalAddress | Flag::IsWWAN), Flag::Reachable | Flag::IsLocalAddress);
    sockaddr local{};
    local.sa_family = AF_UNIX;
    EXPECT_FALSE(Reachability::createWithAddress(local));
    EXPECT_FALSE(Reachability::createWithName(""));

    Reachability::setSimulatedFlags(Flag::Reachable | Flag::IsWWAN);
    for (const auto& r : {loopback, Reachability::createWithName("service.quovana.test"), target("0.0.0.0")}) {
        ASSERT_TRUE(r->getFlags(&flags));
        EXPECT_EQ(flags, Flag::Reachable | Flag::IsWWAN);
    }
    Reachability::setSimulatedFlags(std::nullopt);
    ASSERT_TRUE(loopback->getFlags(&flags));
    EXPECT_TRUE(flags & Flag::IsLocalAddress);
}

TEST(Reachability, ScheduledTargetsHearEachChangeOnTheMainThread) {
    SimulationReset reset;
    Reachability::setSimulatedFlags(Flag::Reachable);
    auto internet = target("0.0.0.0"), other = target("0.0.0.0");
    Reports reports(*internet), otherReports(*other);
    internet->scheduleWithMainRunLoop();
    internet->scheduleWithMainRunLoop();

    // The flags at scheduling are where changes count from, a repeated value
    // is no change, and an unscheduled target hears nothing.
    Reachability::setSimulatedFlags(0);
    ASSERT_TRUE(reports.waitForCount(1));
    internet->unscheduleFromMainRunLoop();
    other->scheduleWithMainRunLoop();
    Reachability::setSimulatedFlags(0);
    Reachability::setSimulatedFlags(Flag::Reachable | Flag::IsDirect);
    ASSERT_TRUE(otherReports.waitForCount(1));
    EXPECT_EQ(otherReports.flags, std::vector<ReachabilityFlags>{Flag::Reachable | Flag::IsDirect});
    EXPECT_EQ(reports.flags, std::vector<ReachabilityFlags>{0});
    EXPECT_FALSE(reports.offMain || otherReports.offMain);
    other->unscheduleFromMainRunLoop();
}
