#include "location/CLLocationInjector.h"

#include <functional>
#include <memory>
#include <utility>

#include "dispatch/Queue.h"
#include "location/CLLocationManager.h"
#include "location/CLLocationManagerDelegate.h"

namespace location {

namespace {

using Delegate = CLLocationManagerDelegate;

// Calls `deliver` for each live manager with a delegate that `wants` the
// delivery, on the main queue.
void deliverOnMain(std::function<bool(const CLLocationManager&)> wants,
                   std::function<void(CLLocationManager&, Delegate&)> deliver) {
    dispatch::Queue::main()->async([wants = std::move(wants), deliver = std::move(deliver)] {
        for (const auto& manager : CLLocationManager::liveManagers()) {
            if (!wants(*manager)) continue;
            // Fetched for each manager: an earlier delegate may have changed it.
            if (auto delegate = manager->delegate()) deliver(*manager, *delegate);
        }
    });
}

void toMonitors(const std::string& identifier, std::function<void(CLLocationManager&, Delegate&, const CLRegionPtr&)> deliver) {
    deliverOnMain([identifier](const CLLocationManager& m) { return m.monitoredRegionWithIdentifier(identifier) != nullptr; },
                  [identifier, deliver = std::move(deliver)](CLLocationManager& m, Delegate& d) {
                      if (auto region = m.monitoredRegionWithIdentifier(identifier)) deliver(m, d, region);
                  });
}

void toRangers(const std::string& identifier,
               std::function<void(CLLocationManager&, Delegate&, const CLBeaconRegionPtr&)> deliver) {
    deliverOnMain([identifier](const CLLocationManager& m) { return m.rangedRegionWithIdentifier(identifier) != nullptr; },
                  [identifier, deliver = std::move(deliver)](CLLocationManager& m, Delegate& d) {
                      if (auto region = m.rangedRegionWithIdentifier(identifier)) deliver(m, d, region);
                  });
}

bool updating(const CLLocationManager& manager) { return manager.isUpdatingLocation(); }

template <typename Wants>
size_t count(Wants wants) {
    size_t reached = 0;
    for (const auto& manager : CLLocationManager::liveManagers())
        if (manager->delegate() && wants(*manager)) ++reached;
    return reached;
}

}  // namespace

void CLLocationInjector::rangeBeacons(const std::string& regionIdentifier, std::vector<CLBeaconPtr> beacons) {
    toRangers(regionIdentifier, [beacons = std::move(beacons)](CLLocationManager& m, Delegate& d,
                                                                const CLBeaconRegionPtr& region) {
        d.locationManagerDidRangeBeaconsInRegion(m, beacons, region);
    });
}

void CLLocationInjector::failRanging(const std::string& regionIdentifier, foundation::ErrorPtr error) {
    if (!error) error = foundation::Error::make(kCLErrorDomain, kCLErrorRangingFailure);
    toRangers(regionIdentifier, [error](CLLocationManager& m, Delegate& d, const CLBeaconRegionPtr& region) {
        d.locationManagerRangingBeaconsDidFailForRegionWithError(m, region, error);
    });
}

void CLLocationInjector::enterRegion(const std::string& regionIdentifier) {
    toMonitors(regionIdentifier, [](CLLocationManager& m, Delegate& d, const CLRegionPtr& region) {
        d.locationManagerDidEnterRegion(m, region);
    });
}

void CLLocationInjector::exitRegion(const std::string& regionIdentifier) {
    toMonitors(regionIdentifier, [](CLLocationManager& m, Delegate& d, const CLRegionPtr& region) {
        d.locationManagerDidExitRegion(m, region);
    });
}

void CLLocationInjector::determineState(const std::string& regionIdentifier, CLRegionState state) {
    toMonitors(regionIdentifier, [state](CLLocationManager& m, Delegate& d, const CLRegionPtr& region) {
        d.locationManagerDidDetermineStateForRegion(m, state, region);
    });
}

void CLLocationInjector::updateLocation(CLLocationPtr location) {
    deliverOnMain(&updating, [location = std::move(location)](CLLocationManager& m, Delegate& d) {
        auto previous = std::exchange(m.location_, location);
        d.locationManagerDidUpdateToLocationFromLocation(m, location, previous);
    });
}

void CLLocationInjector::updateLocation(CLLocationCoordinate2D coordinate, double horizontalAccuracy,
                                        double ageSeconds) {
    updateLocation(
        CLLocation::create(coordinate, horizontalAccuracy, foundation::Date::now().dateByAddingTimeInterval(-ageSeconds)));
}

void CLLocationInjector::failLocation(foundation::ErrorPtr error) {
    if (!error) error = foundation::Error::make(kCLErrorDomain, kCLErrorLocationUnknown);
    deliverOnMain(&updating, [error](CLLocationManager& m, Delegate& d) { d.locationManagerDidFailWithError(m, error); });
}

size_t CLLocationInjector::managersRanging(const std::string& regionIdentifier) {
    return count([&](const CLLocationManager& m) { return m.rangedRegionWithIdentifier(regionIdentifier) != nullptr; });
}

size_t CLLocationInjector::managersMonitoring(const std::string& regionIdentifier) {
    return count([&](const CLLocationManager& m) { return m.monitoredRegionWithIdentifier(regionIdentifier) != nullptr; });
}

size_t CLLocationInjector::managersUpdatingLocation() { return count(&updating); }

}  // namespace location
