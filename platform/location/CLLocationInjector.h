// The device's side of the location services, played by tests and the app
// mode: what the radio hears and the GPS measures, handed to the live
// managers through their delegates as the device would.
//
// Each operation may be called from any thread. Its delivery is one task on
// the main queue, which picks the managers when it runs: those alive with a
// delegate that range the region named (ranged beacons, a ranging failure),
// that monitor it (entered, exited, a determined state), or that update
// locations (a fix, a failure). Each manager's delegate gets the manager's
// own region object. Run the main loop to see the callbacks.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "foundation/Error.h"
#include "location/CLBeacon.h"
#include "location/CLLocation.h"
#include "location/CLTypes.h"

namespace location {

class CLLocationInjector {
public:
    static void rangeBeacons(const std::string& regionIdentifier, std::vector<CLBeaconPtr> beacons);
    // A null error stands for a ranging failure of the location domain.
    static void failRanging(const std::string& regionIdentifier, foundation::ErrorPtr error = nullptr);
    static void enterRegion(const std::string& regionIdentifier);
    static void exitRegion(const std::string& regionIdentifier);
    static void determineState(const std::string& regionIdentifier, CLRegionState state);
    // The previous fix each manager got is handed along with the new one.
    static void updateLocation(CLLocationPtr location);
    // A fix measured `ageSeconds` before now (on the one clock).
    static void updateLocation(CLLocationCoordinate2D coordinate, double horizontalAccuracy, double ageSeconds = 0);
    // A null error stands for "location unknown".
    static void failLocation(foundation::ErrorPtr error = nullptr);

    // How many managers a delivery would reach now. Main thread only.
    static size_t managersRanging(const std::string& regionIdentifier);
    static size_t managersMonitoring(const std::string& regionIdentifier);
    static size_t managersUpdatingLocation();
};

}  // namespace location
