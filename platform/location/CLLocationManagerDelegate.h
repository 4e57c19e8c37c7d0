// What a location manager tells its delegate, on the main thread. Every
// callback is optional: the defaults do nothing.
#pragma once

#include <vector>

#include "foundation/Error.h"
#include "location/CLBeacon.h"
#include "location/CLBeaconRegion.h"
#include "location/CLLocation.h"
#include "location/CLRegion.h"
#include "location/CLTypes.h"

namespace location {

class CLLocationManager;

class CLLocationManagerDelegate {
public:
    virtual ~CLLocationManagerDelegate() = default;

    // The beacons heard in a ranged region (possibly none).
    virtual void locationManagerDidRangeBeaconsInRegion(CLLocationManager& manager,
                                                        const std::vector<CLBeaconPtr>& beacons,
                                                        const CLBeaconRegionPtr& region) {
        (void)manager, (void)beacons, (void)region;
    }
    virtual void locationManagerRangingBeaconsDidFailForRegionWithError(CLLocationManager& manager,
                                                                        const CLBeaconRegionPtr& region,
                                                                        const foundation::ErrorPtr& error) {
        (void)manager, (void)region, (void)error;
    }
    virtual void locationManagerDidEnterRegion(CLLocationManager& manager, const CLRegionPtr& region) {
        (void)manager, (void)region;
    }
    virtual void locationManagerDidExitRegion(CLLocationManager& manager, const CLRegionPtr& region) {
        (void)manager, (void)region;
    }
    // The answer to a state request, and every change of a monitored region.
    virtual void locationManagerDidDetermineStateForRegion(CLLocationManager& manager, CLRegionState state,
                                                           const CLRegionPtr& region) {
        (void)manager, (void)state, (void)region;
    }
    // A new fix; the previous one this manager delivered, or null.
    virtual void locationManagerDidUpdateToLocationFromLocation(CLLocationManager& manager,
                                                                const CLLocationPtr& newLocation,
                                                                const CLLocationPtr& oldLocation) {
        (void)manager, (void)newLocation, (void)oldLocation;
    }
    virtual void locationManagerDidFailWithError(CLLocationManager& manager, const foundation::ErrorPtr& error) {
        (void)manager, (void)error;
    }
};

}  // namespace location
