#include "maps/LocationManagerHelper.h"

#include "foundation/Format.h"
#include "location/CLBeacon.h"
#include "location/CLBeaconRegion.h"
#include "location/CLLocation.h"
#include "location/CLLocationManager.h"
#include "maps/InteractiveMapsServices.h"
#include "model/QVAEvent.h"
#include "model/QVAVenue.h"
#include "settings/ApplicationSettingsStore.h"
#include "store/FetchRequestUtils.h"
#include "store/StorageManager.h"

namespace LocationManagerHelper {

namespace {

// The current meeting's primary venue, from its store.
std::shared_ptr<QVAVenue> currentPrimaryVenue() {
    auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    auto event = settings.currentEvent();
    auto stack = StorageManager::sharedStorageManager().getCoreDataStackForAuthToken(
        settings.currentAuthToken(), event ? event->itemId() : std::nullopt);
    if (!stack) return nullptr;
    for (const auto& venue : FetchRequestUtils::getVenuesModelArrayInContext(stack->managedObjectContextMainQueue()))
        if (venue && venue->primary()) return venue;
    return nullptr;
}

}  // namespace

std::string beaconRegionIdentifierForMajor(int major) { return foundation::Format(kBeaconRegionIdentifierFormat, major); }

std::shared_ptr<location::CLBeacon> getClosestBeaconInDetectedBeaconRegion(
    const std::vector<std::shared_ptr<location::CLBeacon>>& beacons) {
    std::shared_ptr<location::CLBeacon> closest;
    for (const auto& beacon : beacons) {
        if (!beacon || beacon->proximity() == location::CLProximity::Unknown || beacon->accuracy() < 0) continue;
        if (!closest || beacon->accuracy() < closest->accuracy()) closest = beacon;
    }
    return closest;
}

bool isGpsLocationInsideBuildingRange(const location::CLLocation& fix) {
    auto venue = currentPrimaryVenue();
    if (!venue) return false;
    auto building = location::CLLocation::create({venue->latitude(), venue->longitude()}, 0, fix.timestamp());
    return fix.distanceFromLocation(*building) <= kBuildingRangeMetres;
}

bool isUserInsideRegionWithIdentifier(const std::string& regionIdentifier) {
    const auto& states = InteractiveMapsServices::instance().dictionaryToKeepReferceOfMonitoredRegions();
    auto state = states.find(regionIdentifier);
    return state != states.end() && state->second == 1;
}

void startMonitoringAndRangingBeaconsForAllRegionsWithLocationManager(
    const std::shared_ptr<location::CLLocationManager>& manager) {
    if (!manager) return;
    for (const auto& region : InteractiveMapsServices::instance().monitoredBeaconRegions()) {
        manager->startMonitoringForRegion(region);
        manager->startRangingBeaconsInRegion(region);
        manager->requestStateForRegion(region);
    }
}

void stopMonitoringAndRangingBeaconsForAllRegionsWithLocationManager(
    const std::shared_ptr<location::CLLocationManager>& manager) {
    if (!manager) return;
    for (const auto& region : InteractiveMapsServices::instance().monitoredBeaconRegions()) {
        manager->stopMonitoringForRegion(region);
        manager->stopRangingBeaconsInRegion(region);
    }
}

}  // namespace LocationManagerHelper
