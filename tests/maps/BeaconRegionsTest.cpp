// The maps' beacon helpers for positioning: map beacons found by their
// numbers, the beacon regions made once per major, the closest ranged
// beacon, the building's GPS range and the watch of every region on a
// location manager.
#include <gtest/gtest.h>

#include "Utils/MeetingStoreTestSupport.h"
#include "foundation/RunLoop.h"
#include "location/CLBeacon.h"
#include "location/CLBeaconRegion.h"
#include "location/CLLocation.h"
#include "location/CLLocationManager.h"
#include "maps/BeaconObject.h"
#include "maps/InteractiveMapsServices.h"
#include "maps/LocationManagerHelper.h"
#include "model/QVACoreDataVenue.h"
#include "svg/SVGTestSupport.h"
#include "svg/floorplan/SVGBeaconElement.h"

namespace {

using location::CLBeacon;
using location::CLProximity;

void beacon(const std::string& id, const std::string& major, const std::string& minor) {
    svg::testing::make<svg::SVGBeaconElement>("beacon", {{"id", id}, {"major", major}, {"minor", minor}});
}

// Waits for the maps' memory to be emptied, whatever it held.
void clearMaps() {
    bool cleared = false;
    InteractiveMapsServices::instance().clearInMemoryResources([&] { cleared = true; });
    foundation::RunLoop::main().runUntil([&] { return cleared; }, 30);
}

class BeaconRegionsTest : public meetingtest::MeetingStoreTest {
protected:
    InteractiveMapsServices& maps = InteractiveMapsServices::instance();

    void SetUp() override {
        MeetingStoreTest::SetUp();
        clearMaps();
        // B1 and B2 on the first floor, B3 on the second, as one run.
        maps.parseFloorPlans({{"1", "f1.svg"}, {"2", "f2.svg"}}, [](const auto& floor) {
            if (floor.floorIdentifier == "1") {
                beacon("B1", "100", "1");
                beacon("B2", "100", "2");
            } else {
                beacon("B3", "200", "1");
            }
        });
    }
    void TearDown() override {
        clearMaps();
        MeetingStoreTest::TearDown();
    }

    std::vector<std::string> regionIdentifiers() {
        std::vector<std::string> identifiers;
        for (const auto& region : maps.monitoredBeaconRegions()) identifiers.push_back(*region->identifier());
        return identifiers;
    }
};

TEST_F(BeaconRegionsTest, MapBeaconsAreFoundByTheirNumbersAsWritten) {
    auto found = maps.getBeaconObjectForMajorString("100", "2");
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->beaconIdentifier(), "B2");
    EXPECT_EQ(maps.getBeaconObjectForMajorString("100", "3"), nullptr);
    EXPECT_EQ(maps.getBeaconObjectForMajorString("0100", "2"), nullptr);

    EXPECT_TRUE(maps.isBeaconWithIdentifier("B2", 100));
    EXPECT_FALSE(maps.isBeaconWithIdentifier("B2", 200));
    EXPECT_TRUE(maps.isBeaconWithIdentifier("B3", 200));
    EXPECT_FALSE(maps.isBeaconWithIdentifier("B9", 100));
}

TEST_F(BeaconRegionsTest, RegionsAreMadeOncePerMajorAndEmptiedWithTheMemory) {
    maps.initMonitoredRegionsIfNotInited();
    EXPECT_EQ(regionIdentifiers(), (std::vector<std::string>{"kestrow center 100", "kestrow center 200"}));
    EXPECT_EQ(maps.dictionaryToKeepReferceOfMonitoredRegions(),
              (std::map<std::string, int>{{"kestrow center 100", 0}, {"kestrow center 200", 0}}));
    for (const auto& region : maps.monitoredBeaconRegions())
        EXPECT_EQ(region->proximityUUID(), LocationManagerHelper::kBeaconRegionProximityUUID);
    EXPECT_EQ(maps.monitoredBeaconRegions()[1]->major(), 200);

    // A later call keeps the regions and what the callbacks stored.
    const auto first = maps.monitoredBeaconRegions().front();
    maps.dictionaryToKeepReferceOfMonitoredRegions()["kestrow center 100"] = 1;
    maps.initMonitoredRegionsIfNotInited();
    EXPECT_EQ(maps.monitoredBeaconRegions().size(), 2u);
    EXPECT_EQ(maps.monitoredBeaconRegions().front(), first);
    EXPECT_TRUE(LocationManagerHelper::isUserInsideRegionWithIdentifier("kestrow center 100"));
    EXPECT_FALSE(LocationManagerHelper::isUserInsideRegionWithIdentifier("kestrow center 200"));
    EXPECT_FALSE(LocationManagerHelper::isUserInsideRegionWithIdentifier("kestrow center 300"));

    // The meeting change's clear empties the regions and the current beacon.
    maps.setCurrentBeaconIdentifierGlobal("B2");
    maps.clearInMemoryResourcesOnMeetingChange();
    EXPECT_TRUE(maps.monitoredBeaconRegions().empty());
    EXPECT_TRUE(maps.dictionaryToKeepReferceOfMonitoredRegions().empty());
    EXPECT_EQ(maps.currentBeaconIdentifierGlobal(), "");
}

TEST_F(BeaconRegionsTest, NoRegionIsMadeBeforeTheMapsHoldBeacons) {
    clearMaps();
    maps.initMonitoredRegionsIfNotInited();
    EXPECT_TRUE(maps.monitoredBeaconRegions().empty());
    maps.parseFloorPlans({{"1", "f1.svg"}}, [](const auto&) { beacon("B7", "7", "1"); });
    maps.initMonitoredRegionsIfNotInited();
    EXPECT_EQ(regionIdentifiers(), std::vector<std::string>{"kestrow center 7"});
}

TEST_F(BeaconRegionsTest, StartingAndStoppingWatchEveryRegionOnTheManager) {
    maps.initMonitoredRegionsIfNotInited();
    auto manager = location::CLLocationManager::create();
    LocationManagerHelper::startMonitoringAndRangingBeaconsForAllRegionsWithLocationManager(manager);
    EXPECT_EQ(manager->monitoredRegions().size(), 2u);
    EXPECT_EQ(manager->rangedRegions().size(), 2u);
    EXPECT_EQ(manager->stateRequests(), (std::vector<std::string>{"kestrow center 100", "kestrow center 200"}));

    LocationManagerHelper::stopMonitoringAndRangingBeaconsForAllRegionsWithLocationManager(manager);
    EXPECT_TRUE(manager->monitoredRegions().empty());
    EXPECT_TRUE(manager->rangedRegions().empty());

    // Without a manager nothing happens.
    LocationManagerHelper::startMonitoringAndRangingBeaconsForAllRegionsWithLocationManager(nullptr);
    LocationManagerHelper::stopMonitoringAndRangingBeaconsForAllRegionsWithLocationManager(nullptr);
}

TEST(ClosestBeaconTest, TheSmallestKnownNonNegativeAccuracyWins) {
    auto far = CLBeacon::create("U", 100, 1, CLProximity::Far, 3.0);
    auto near = CLBeacon::create("U", 100, 2, CLProximity::Near, 0.8);
    auto unsure = CLBeacon::create("U", 100, 3, CLProximity::Near, -1);
    auto unknown = CLBeacon::create("U", 100, 4, CLProximity::Unknown, 0.1);
    EXPECT_EQ(LocationManagerHelper::getClosestBeaconInDetectedBeaconRegion({far, near, unsure, unknown}), near);
    EXPECT_EQ(LocationManagerHelper::getClosestBeaconInDetectedBeaconRegion({unsure, unknown}), nullptr);
    EXPECT_EQ(LocationManagerHelper::getClosestBeaconInDetectedBeaconRegion({}), nullptr);
}

class BuildingRangeTest : public meetingtest::MeetingStoreTest {};

TEST_F(BuildingRangeTest, AFixCountsWithin150MetresOfThePrimaryVenue) {
    openCurrent("T1");
    auto at = [](double metresNorth) {
        // A degree of latitude is about 111.2 km on the mean sphere.
        return location::CLLocation::create({46.2 + metresNorth / 111195.0, 6.14}, 10, foundation::Date(0));
    };
    // No primary venue: never inside.
    insert("T1", QVACoreDataVenue::kEntityName,
           {{{"itemId", "v2"}, {"primary", false}, {"latitude", 46.2}, {"longitude", 6.14}}});
    EXPECT_FALSE(LocationManagerHelper::isGpsLocationInsideBuildingRange(*at(0)));

    insert("T1", QVACoreDataVenue::kEntityName,
           {{{"itemId", "v1"}, {"primary", true}, {"latitude", 46.2}, {"longitude", 6.14}}});
    EXPECT_TRUE(LocationManagerHelper::isGpsLocationInsideBuildingRange(*at(100)));
    EXPECT_TRUE(LocationManagerHelper::isGpsLocationInsideBuildingRange(*at(-149)));
    EXPECT_FALSE(LocationManagerHelper::isGpsLocationInsideBuildingRange(*at(300)));
}

}  // namespace
