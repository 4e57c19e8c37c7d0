// What the home screen's positioning asks of the maps service about the
// location services: which ranged beacon is the closest, whether a GPS fix
// lies at the building, whether the user is inside a beacon region, and
// starting or stopping the watch of every beacon region on a manager.
// Main thread only.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace location {
class CLBeacon;
class CLLocation;
class CLLocationManager;
}  // namespace location

namespace LocationManagerHelper {

// One proximity UUID of ours, sent by every beacon of our venues.
inline constexpr const char* kBeaconRegionProximityUUID = "5F0C3B8E-7A21-4D6B-9E43-8C1A2D7F6B05";
// A beacon region's identifier, with its major.
inline constexpr const char* kBeaconRegionIdentifierFormat = "kestrow center %d";
// How far from the primary venue's coordinate a GPS fix still counts
// as at the building, in metres of great-circle distance.
inline constexpr double kBuildingRangeMetres = 150.0;

// The region identifier for a major.
std::string beaconRegionIdentifierForMajor(int major);

// The ranged beacon of known proximity with the smallest non-negative
// accuracy; null when there is none.
std::shared_ptr<location::CLBeacon> getClosestBeaconInDetectedBeaconRegion(
    const std::vector<std::shared_ptr<location::CLBeacon>>& beacons);

// Within kBuildingRangeMetres of the current meeting's primary venue; never
// without a primary venue.
bool isGpsLocationInsideBuildingRange(const location::CLLocation& location);

// The stored state of the region is 1.
bool isUserInsideRegionWithIdentifier(const std::string& regionIdentifier);

// For each beacon region of the maps service: monitor it, range its beacons
// and ask its state; or stop monitoring and ranging it. Nothing without a
// manager.
void startMonitoringAndRangingBeaconsForAllRegionsWithLocationManager(
    const std::shared_ptr<location::CLLocationManager>& manager);
void stopMonitoringAndRangingBeaconsForAllRegionsWithLocationManager(
    const std::shared_ptr<location::CLLocationManager>& manager);

}  // namespace LocationManagerHelper
