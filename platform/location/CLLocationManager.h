// The device's position services: beacon ranging, region monitoring and GPS
// fixes.
//
// The class-wide switches say what the device offers (ranging hardware,
// location services) and what the user allowed; nothing measures them here,
// so tests and the app mode set them. They may be read and set from any
// thread; a test that changes them puts them back with resetClassSwitches().
//
// A manager is made, used and released on the main thread. With no device
// here it measures nothing: it keeps what the app asked of it (the regions
// it monitors and ranges, each state request, whether it updates locations,
// the accuracy and the permission requests) where tests and the screen dump
// read them, and CLLocationInjector plays the device's answers to the live
// managers, on the main thread, through their delegates.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "foundation/Object.h"
#include "location/CLAuthorizationStatus.h"
#include "location/CLBeaconRegion.h"
#include "location/CLLocation.h"
#include "location/CLRegion.h"

namespace location {

class CLLocationManagerDelegate;
class CLLocationInjector;

class CLLocationManager : public foundation::Object {
public:
    // Whether the device can range beacons. On by default.
    static bool isRangingAvailable();
    static void setRangingAvailable(bool available);
    // Whether the user left location services on. On by default.
    static bool locationServicesEnabled();
    static void setLocationServicesEnabled(bool enabled);
    // What the user allowed this app. Always by default.
    static CLAuthorizationStatus authorizationStatus();
    static void setAuthorizationStatus(CLAuthorizationStatus status);
    // The three switches back at their defaults.
    static void resetClassSwitches();

    // A new manager, known to the injector while it lives. Main thread only.
    static std::shared_ptr<CLLocationManager> create();
    ~CLLocationManager() override;
    CLLocationManager(const CLLocationManager&) = delete;
    CLLocationManager& operator=(const CLLocationManager&) = delete;

    // Held weakly; an empty pointer clears it.
    std::shared_ptr<CLLocationManagerDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<CLLocationManagerDelegate> delegate) { delegate_ = std::move(delegate); }

    // Nobody is asked here: the requests are counted, and the answer is
    // the class-wide authorizationStatus.
    void requestAlwaysAuthorization();
    int alwaysAuthorizationRequests() const { return alwaysAuthorizationRequests_; }

    // In metres; kCLLocationAccuracyBest asks for the best. 100 by default.
    double desiredAccuracy() const { return desiredAccuracy_; }
    void setDesiredAccuracy(double accuracy) { desiredAccuracy_ = accuracy; }

    void startUpdatingLocation();
    void stopUpdatingLocation();
    bool isUpdatingLocation() const { return updatingLocation_; }
    // The last fix delivered to this manager; null before the first.
    const CLLocationPtr& location() const { return location_; }

    // A region counts by its identifier: starting one already watched
    // replaces it, stopping one not watched does nothing.
    void startMonitoringForRegion(const CLRegionPtr& region);
    void stopMonitoringForRegion(const CLRegionPtr& region);
    void startRangingBeaconsInRegion(const CLBeaconRegionPtr& region);
    void stopRangingBeaconsInRegion(const CLBeaconRegionPtr& region);
    // Recorded only: the device's answer is the injector's determineState.
    void requestStateForRegion(const CLRegionPtr& region);

    // In the order they were started.
    const std::vector<CLRegionPtr>& monitoredRegions() const { return monitoredRegions_; }
    const std::vector<CLBeaconRegionPtr>& rangedRegions() const { return rangedRegions_; }
    // The identifiers of every state request, in order ("" for a region
    // without one).
    const std::vector<std::string>& stateRequests() const { return stateRequests_; }
    CLRegionPtr monitoredRegionWithIdentifier(const std::string& identifier) const;
    CLBeaconRegionPtr rangedRegionWithIdentifier(const std::string& identifier) const;

    // The recordings as (name, text) pairs, for the dump of the screen that
    // holds the manager.
    std::vector<std::pair<std::string, std::string>> screenDescriptionItems() const;

    // Every manager alive now, oldest first. Main thread only.
    static std::vector<std::shared_ptr<CLLocationManager>> liveManagers();

    std::string className() const override { return "CLLocationManager"; }

private:
    friend class CLLocationInjector;
    CLLocationManager() = default;

    std::weak_ptr<CLLocationManagerDelegate> delegate_;
    int alwaysAuthorizationRequests_ = 0;
    double desiredAccuracy_ = 100;
    bool updatingLocation_ = false;
    CLLocationPtr location_;
    std::vector<CLRegionPtr> monitoredRegions_;
    std::vector<CLBeaconRegionPtr> rangedRegions_;
    std::vector<std::string> stateRequests_;
};

}  // namespace location
