#include "location/CLLocationManager.h"

#include <algorithm>
#include <atomic>

#include "foundation/Format.h"
#include "foundation/MainThreadChecker.h"
#include "location/CLLocationManagerDelegate.h"

namespace location {

namespace {

constexpr bool kDefaultRangingAvailable = true;
constexpr bool kDefaultLocationServicesEnabled = true;
constexpr CLAuthorizationStatus kDefaultAuthorizationStatus = CLAuthorizationStatus::AuthorizedAlways;

std::atomic<bool>& rangingAvailable() {
    static std::atomic<bool> value{kDefaultRangingAvailable};
    return value;
}

std::atomic<bool>& servicesEnabled() {
    static std::atomic<bool> value{kDefaultLocationServicesEnabled};
    return value;
}

std::atomic<CLAuthorizationStatus>& authorization() {
    static std::atomic<CLAuthorizationStatus> value{kDefaultAuthorizationStatus};
    return value;
}

void requireMain() { foundation::requireMainThread("CLLocationManager is used from the main thread only"); }

// Main thread only, so no lock.
std::vector<std::weak_ptr<CLLocationManager>>& registry() {
    static std::vector<std::weak_ptr<CLLocationManager>> managers;
    return managers;
}

bool sameRegion(const CLRegion& a, const CLRegion& b) {
    if (&a == &b) return true;
    return a.identifier() && b.identifier() && *a.identifier() == *b.identifier();
}

template <typename Region>
void replaceOrAppend(std::vector<std::shared_ptr<Region>>& regions, const std::shared_ptr<Region>& region) {
    auto same = std::find_if(regions.begin(), regions.end(), [&](const auto& r) { return sameRegion(*r, *region); });
    if (same != regions.end())
        *same = region;
    else
        regions.push_back(region);
}

template <typename Region>
void remove(std::vector<std::shared_ptr<Region>>& regions, const CLRegion& region) {
    std::erase_if(regions, [&](const auto& r) { return sameRegion(*r, region); });
}

template <typename Region>
std::shared_ptr<Region> withIdentifier(const std::vector<std::shared_ptr<Region>>& regions,
                                       const std::string& identifier) {
    for (const auto& region : regions)
        if (region->identifier() == identifier) return region;
    return nullptr;
}

std::string identifiers(const std::vector<std::string>& names) {
    std::string text;
    for (const auto& name : names) text += (text.empty() ? "" : ", ") + ("\"" + name + "\"");
    return text.empty() ? "none" : text;
}

template <typename Region>
std::string regionList(const std::vector<std::shared_ptr<Region>>& regions) {
    std::vector<std::string> names;
    for (const auto& region : regions) names.push_back(region->identifier().value_or(""));
    return identifiers(names);
}

}  // namespace

bool CLLocationManager::isRangingAvailable() { return rangingAvailable().load(); }
void CLLocationManager::setRangingAvailable(bool available) { rangingAvailable().store(available); }

bool CLLocationManager::locationServicesEnabled() { return servicesEnabled().load(); }
void CLLocationManager::setLocationServicesEnabled(bool enabled) { servicesEnabled().store(enabled); }

CLAuthorizationStatus CLLocationManager::authorizationStatus() { return authorization().load(); }
void CLLocationManager::setAuthorizationStatus(CLAuthorizationStatus status) { authorization().store(status); }

void CLLocationManager::resetClassSwitches() {
    setRangingAvailable(kDefaultRangingAvailable);
    setLocationServicesEnabled(kDefaultLocationServicesEnabled);
    setAuthorizationStatus(kDefaultAuthorizationStatus);
}

std::shared_ptr<CLLocationManager> CLLocationManager::create() {
    requireMain();
    std::shared_ptr<CLLocationManager> manager(new CLLocationManager());
    auto& managers = registry();
    std::erase_if(managers, [](const auto& weak) { return weak.expired(); });
    managers.push_back(manager);
    return manager;
}

CLLocationManager::~CLLocationManager() = default;

std::vector<std::shared_ptr<CLLocationManager>> CLLocationManager::liveManagers() {
    requireMain();
    std::vector<std::shared_ptr<CLLocationManager>> live;
    for (const auto& weak : registry())
        if (auto manager = weak.lock()) live.push_back(std::move(manager));
    return live;
}

void CLLocationManager::requestAlwaysAuthorization() {
    requireMain();
    ++alwaysAuthorizationRequests_;
}

void CLLocationManager::startUpdatingLocation() {
    requireMain();
    updatingLocation_ = true;
}

void CLLocationManager::stopUpdatingLocation() {
    requireMain();
    updatingLocation_ = false;
}

void CLLocationManager::startMonitoringForRegion(const CLRegionPtr& region) {
    requireMain();
    if (region) replaceOrAppend(monitoredRegions_, region);
}

void CLLocationManager::stopMonitoringForRegion(const CLRegionPtr& region) {
    requireMain();
    if (region) remove(monitoredRegions_, *region);
}

void CLLocationManager::startRangingBeaconsInRegion(const CLBeaconRegionPtr& region) {
    requireMain();
    if (region) replaceOrAppend(rangedRegions_, region);
}

void CLLocationManager::stopRangingBeaconsInRegion(const CLBeaconRegionPtr& region) {
    requireMain();
    if (region) remove(rangedRegions_, *region);
}

void CLLocationManager::requestStateForRegion(const CLRegionPtr& region) {
    requireMain();
    if (region) stateRequests_.push_back(region->identifier().value_or(""));
}

CLRegionPtr CLLocationManager::monitoredRegionWithIdentifier(const std::string& identifier) const {
    return withIdentifier(monitoredRegions_, identifier);
}

CLBeaconRegionPtr CLLocationManager::rangedRegionWithIdentifier(const std::string& identifier) const {
    return withIdentifier(rangedRegions_, identifier);
}

std::vector<std::pair<std::string, std::string>> CLLocationManager::screenDescriptionItems() const {
    const std::string accuracy = desiredAccuracy_ == kCLLocationAccuracyBest
                                     ? std::string("best")
                                     : foundation::Format("%g m", desiredAccuracy_);
    return {
        {"location manager", foundation::Format("delegate %@, updating location %@, accuracy %@",
                                                delegate_.expired() ? "no" : "yes",
                                                updatingLocation_ ? "yes" : "no", accuracy)},
        {"monitored regions", regionList(monitoredRegions_)},
        {"ranged regions", regionList(rangedRegions_)},
        {"state requests", identifiers(stateRequests_)},
    };
}

}  // namespace location
