#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "foundation/Clock.h"
#include "foundation/RunLoop.h"
#include "location/CLBeaconRegion.h"
#include "location/CLLocation.h"
#include "location/CLLocationInjector.h"
#include "location/CLLocationManager.h"
#include "location/CLLocationManagerDelegate.h"

namespace location {
namespace {

// Writes each callback as one line.
class RecordingDelegate : public CLLocationManagerDelegate {
public:
    std::vector<std::string> calls;
    std::vector<CLLocationPtr> previousLocations;
    bool calledOnMainThread = true;

    void note(std::string call) {
        calledOnMainThread = calledOnMainThread && foundation::isMainThread();
        calls.push_back(std::move(call));
    }
    void locationManagerDidRangeBeaconsInRegion(CLLocationManager&, const std::vector<CLBeaconPtr>& beacons,
                                                const CLBeaconRegionPtr& region) override {
        std::string text = "range " + *region->identifier();
        for (const auto& beacon : beacons)
            text += " " + std::to_string(beacon->major()) + ":" + std::to_string(beacon->minor());
        note(text);
    }
    void locationManagerRangingBeaconsDidFailForRegionWithError(CLLocationManager&, const CLBeaconRegionPtr& region,
                                                                const foundation::ErrorPtr& error) override {
        note("range-fail " + *region->identifier() + " " + std::to_string(error->code()));
    }
    void locationManagerDidEnterRegion(CLLocationManager&, const CLRegionPtr& region) override {
        note("enter " + *region->identifier());
    }
    void locationManagerDidExitRegion(CLLocationManager&, const CLRegionPtr& region) override {
        note("exit " + *region->identifier());
    }
    void locationManagerDidDetermineStateForRegion(CLLocationManager&, CLRegionState state,
                                                   const CLRegionPtr& region) override {
        note("state " + *region->identifier() + " " + std::to_string(static_cast<int>(state)));
    }
    void locationManagerDidUpdateToLocationFromLocation(CLLocationManager&, const CLLocationPtr& location,
                                                        const CLLocationPtr& previous) override {
        previousLocations.push_back(previous);
        note("location " + std::to_string(location->horizontalAccuracy()));
    }
    void locationManagerDidFailWithError(CLLocationManager&, const foundation::ErrorPtr& error) override {
        note("location-fail " + std::to_string(error->code()));
    }
};

void drain() { foundation::RunLoop::main().runDueTasks(); }

class CLLocationManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        manager = CLLocationManager::create();
        manager->setDelegate(delegate);
    }
    void TearDown() override { CLLocationManager::resetClassSwitches(); }

    std::shared_ptr<RecordingDelegate> delegate = std::make_shared<RecordingDelegate>();
    std::shared_ptr<CLLocationManager> manager;
    CLBeaconRegionPtr centre = CLBeaconRegion::create("UUID", 1, std::string("kestrow center 1"));
};

TEST_F(CLLocationManagerTest, RecordsRegionsByIdentifierAndEveryStateRequest) {
    manager->startMonitoringForRegion(centre);
    manager->startMonitoringForRegion(CLBeaconRegion::create("UUID", 1, std::string("kestrow center 1")));
    manager->startRangingBeaconsInRegion(centre);
    manager->requestStateForRegion(centre);
    manager->requestStateForRegion(centre);
    EXPECT_EQ(manager->monitoredRegions().size(), 1u);
    EXPECT_EQ(manager->stateRequests(), (std::vector<std::string>{"kestrow center 1", "kestrow center 1"}));

    // A different object with the same identifier stops the same region.
    manager->stopRangingBeaconsInRegion(CLBeaconRegion::create("UUID", 1, std::string("kestrow center 1")));
    EXPECT_TRUE(manager->rangedRegions().empty());
    EXPECT_EQ(manager->monitoredRegions().size(), 1u);

    manager->setDesiredAccuracy(kCLLocationAccuracyBest);
    manager->startUpdatingLocation();
    const auto items = manager->screenDescriptionItems();
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].second, "delegate yes, updating location yes, accuracy best");
    EXPECT_EQ(items[1].second, "\"kestrow center 1\"");
    EXPECT_EQ(items[2].second, "none");
}

TEST_F(CLLocationManagerTest, RegionEventsReachOnlyManagersThatWatchTheRegion) {
    auto other = std::make_shared<RecordingDelegate>();
    auto bystander = CLLocationManager::create();
    bystander->setDelegate(other);
    bystander->startMonitoringForRegion(CLBeaconRegion::create("UUID", 2, std::string("kestrow center 2")));
    manager->startMonitoringForRegion(centre);
    manager->startRangingBeaconsInRegion(centre);

    CLLocationInjector::enterRegion("kestrow center 1");
    CLLocationInjector::determineState("kestrow center 1", CLRegionState::Outside);
    CLLocationInjector::rangeBeacons("kestrow center 1", {CLBeacon::create("UUID", 1, 4, CLProximity::Near, 0.8)});
    CLLocationInjector::rangeBeacons("kestrow center 1", {});
    CLLocationInjector::failRanging("kestrow center 1");
    CLLocationInjector::exitRegion("kestrow center 1");
    // Nothing is delivered before the main loop runs.
    EXPECT_TRUE(delegate->calls.empty());
    drain();

    EXPECT_EQ(delegate->calls, (std::vector<std::string>{"enter kestrow center 1", "state kestrow center 1 2",
                                                          "range kestrow center 1 1:4", "range kestrow center 1",
                                                          "range-fail kestrow center 1 17", "exit kestrow center 1"}));
    EXPECT_TRUE(other->calls.empty());
    EXPECT_EQ(CLLocationInjector::managersMonitoring("kestrow center 2"), 1u);
    EXPECT_EQ(CLLocationInjector::managersRanging("kestrow center 2"), 0u);
}

TEST_F(CLLocationManagerTest, AManagerWithoutDelegateOrReleasedHearsNothing) {
    manager->startRangingBeaconsInRegion(centre);
    manager->setDelegate({});
    EXPECT_EQ(CLLocationInjector::managersRanging("kestrow center 1"), 0u);
    CLLocationInjector::rangeBeacons("kestrow center 1", {});
    drain();
    EXPECT_TRUE(delegate->calls.empty());

    // The delegate is held weakly.
    manager->setDelegate(delegate);
    std::weak_ptr<RecordingDelegate> weak = delegate;
    delegate.reset();
    EXPECT_TRUE(weak.expired());
    EXPECT_EQ(manager->delegate(), nullptr);

    // A released manager leaves the live list.
    const size_t live = CLLocationManager::liveManagers().size();
    manager.reset();
    EXPECT_EQ(CLLocationManager::liveManagers().size(), live - 1);
}

TEST_F(CLLocationManagerTest, FixesReachManagersUpdatingLocationWithTheirAgeAndPreviousFix) {
    foundation::Clock::useVirtual(800000000);
    CLLocationInjector::updateLocation({46.2, 6.1}, 10);
    drain();
    EXPECT_TRUE(delegate->calls.empty());  // not updating yet

    manager->startUpdatingLocation();
    CLLocationInjector::updateLocation({46.2, 6.1}, 10, 11);
    CLLocationInjector::updateLocation({46.3, 6.2}, 20);
    CLLocationInjector::failLocation();
    drain();
    ASSERT_EQ(delegate->calls.size(), 3u);
    EXPECT_EQ(delegate->calls[2], "location-fail 0");
    EXPECT_EQ(delegate->previousLocations[0], nullptr);
    ASSERT_NE(delegate->previousLocations[1], nullptr);
    EXPECT_DOUBLE_EQ(delegate->previousLocations[1]->timestamp().timeIntervalSinceReferenceDate(), 800000000 - 11);
    EXPECT_DOUBLE_EQ(manager->location()->horizontalAccuracy(), 20);

    manager->stopUpdatingLocation();
    CLLocationInjector::failLocation();
    drain();
    EXPECT_EQ(delegate->calls.size(), 3u);
    foundation::Clock::useReal();
}

TEST_F(CLLocationManagerTest, DeliveriesFromAWorkerThreadArriveOnTheMainThread) {
    manager->startMonitoringForRegion(centre);
    std::thread worker([] { CLLocationInjector::enterRegion("kestrow center 1"); });
    worker.join();
    foundation::RunLoop::main().runUntil([&] { return !delegate->calls.empty(); }, 10);
    EXPECT_EQ(delegate->calls, std::vector<std::string>{"enter kestrow center 1"});
    EXPECT_TRUE(delegate->calledOnMainThread);
}

TEST(CLLocationTest, GreatCircleDistance) {
    auto geneva = CLLocation::create({46.2044, 6.1432}, 5, foundation::Date(0));
    auto nearby = CLLocation::create({46.2044 + 0.0009, 6.1432}, 5, foundation::Date(0));
    // 0.0009 degree of latitude is about 100 m.
    EXPECT_NEAR(geneva->distanceFromLocation(*nearby), 100.1, 0.5);
    auto zurich = CLLocation::create({47.3769, 8.5417}, 5, foundation::Date(0));
    EXPECT_NEAR(geneva->distanceFromLocation(*zurich) / 1000, 224, 2);
    EXPECT_DOUBLE_EQ(zurich->distanceFromLocation(*zurich), 0);
}

}  // namespace
}  // namespace location
