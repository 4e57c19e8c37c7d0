// The home screen's positioning: it waits for the interactive maps, ranges
// the venue's beacons while it is shown and keeps the nearest one as the maps
// service's current beacon, and answers the where-am-I button with the
// indoor map at that beacon or, without one, with a GPS search of at most
// kGpsPositionTimeLimit seconds.
//
// The beacon state (the current beacon, the regions and their states) lives
// in the maps service, which the map screens read and write too; the screen
// keeps only its location manager and the GPS time limit. Everything runs on
// the main thread; the maps notifications are moved there when posted
// elsewhere.
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Utils/Utils.h"
#include "dispatch/Queue.h"
#include "foundation/Log.h"
#include "foundation/NotificationCenter.h"
#include "foundation/Thread.h"
#include "foundation/Timer.h"
#include "location/CLBeacon.h"
#include "location/CLBeaconRegion.h"
#include "location/CLLocation.h"
#include "location/CLLocationManager.h"
#include "location/CLLocationManagerDelegate.h"
#include "location/CLRegion.h"
#include "location/CLTypes.h"
#include "maps/InteractiveMapsDetailsViewController.h"
#include "maps/InteractiveMapsNotifications.h"
#include "maps/InteractiveMapsServices.h"
#include "maps/LocationManagerHelper.h"
#include "maps/OutsideMapsViewController.h"
#include "model/QVAEvent.h"
#include "programme/SpotlightViewController.h"
#include "settings/ApplicationSettingsStore.h"
#include "uikit/UITableView.h"

namespace {

// The manager's delegate on the screen's behalf: the manager holds it
// weakly, the screen strongly, and it holds the screen weakly.
class SpotlightLocationDelegate : public location::CLLocationManagerDelegate {
public:
    explicit SpotlightLocationDelegate(std::weak_ptr<SpotlightViewController> screen) : screen_(std::move(screen)) {}

    void locationManagerDidRangeBeaconsInRegion(location::CLLocationManager& manager,
                                                const std::vector<location::CLBeaconPtr>& beacons,
                                                const location::CLBeaconRegionPtr& region) override {
        if (auto screen = screen_.lock()) screen->locationManagerDidRangeBeaconsInRegion(manager, beacons, region);
    }
    void locationManagerRangingBeaconsDidFailForRegionWithError(location::CLLocationManager& manager,
                                                                const location::CLBeaconRegionPtr& region,
                                                                const foundation::ErrorPtr& error) override {
        if (auto screen = screen_.lock())
            screen->locationManagerRangingBeaconsDidFailForRegionWithError(manager, region, error);
    }
    void locationManagerDidEnterRegion(location::CLLocationManager& manager,
                                       const location::CLRegionPtr& region) override {
        if (auto screen = screen_.lock()) screen->locationManagerDidEnterRegion(manager, region);
    }
    void locationManagerDidExitRegion(location::CLLocationManager& manager,
                                      const location::CLRegionPtr& region) override {
        if (auto screen = screen_.lock()) screen->locationManagerDidExitRegion(manager, region);
    }
    void locationManagerDidDetermineStateForRegion(location::CLLocationManager& manager, location::CLRegionState state,
                                                   const location::CLRegionPtr& region) override {
        if (auto screen = screen_.lock()) screen->locationManagerDidDetermineStateForRegion(manager, state, region);
    }
    void locationManagerDidUpdateToLocationFromLocation(location::CLLocationManager& manager,
                                                        const location::CLLocationPtr& newLocation,
                                                        const location::CLLocationPtr& oldLocation) override {
        if (auto screen = screen_.lock())
            screen->locationManagerDidUpdateToLocationFromLocation(manager, newLocation, oldLocation);
    }
    void locationManagerDidFailWithError(location::CLLocationManager& manager,
                                         const foundation::ErrorPtr& error) override {
        if (auto screen = screen_.lock()) screen->locationManagerDidFailWithError(manager, error);
    }

private:
    std::weak_ptr<SpotlightViewController> screen_;
};

std::optional<std::string> currentEventItemId() {
    auto event = ApplicationSettingsStore::sharedApplicationSettingsStore().currentEvent();
    return event ? event->itemId() : std::nullopt;
}

// A map beacon's major as the region name takes it; none when the plan's
// text is not a whole number.
std::optional<int> majorNumber(const BeaconObject& beacon) {
    if (!beacon.major()) return std::nullopt;
    try {
        size_t used = 0;
        const int value = std::stoi(*beacon.major(), &used);
        if (used != beacon.major()->size()) return std::nullopt;
        return value;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// Runs `action` with the screen on a later turn of the main queue, unless
// the screen went meanwhile.
template <class Action>
void onMainQueueLater(const std::weak_ptr<SpotlightViewController>& weak, Action action) {
    dispatch::Queue::main()->async([weak, action = std::move(action)] {
        if (auto screen = weak.lock()) action(*screen);
    });
}

}  // namespace

// ---- Maps readiness --------------------------------------------------------------

void SpotlightViewController::setUpNavigationBarForMaps() {
    auto& maps = InteractiveMapsServices::instance();
    if (!maps.hasInteractiveMapsForAuthCode(authenticationCode(), currentEventItemId())) {
        configureNavigationBar(false);
    } else if (maps.canAccessInteractiveMaps()) {
        configureNavigationBar(true);
        makeNecessaryInitsNeededForInteractiveMaps();
    } else {
        addInteractiveMapsLoadingNotifications();
        configureNavigationBar(false);
    }
}

void SpotlightViewController::addInteractiveMapsLoadingNotifications() {
    // One registration per name however often the bar is rebuilt, so that a
    // notification is handled once.
    removeInteractiveMapsLoadingNotifications();
    auto& center = foundation::NotificationCenter::defaultCenter();
    center.addObserver(
        this, [this](const foundation::Notification& note) { notificationReceivedMapsDownloadedAndLoadedInMemory(note); },
        InteractiveMapsNotifications::kInteractiveMapsLoadedNotification);
    center.addObserver(
        this, [this](const foundation::Notification& note) { notificationReceivedMapsFailedToDownload(note); },
        InteractiveMapsNotifications::kInteractiveMapsFailedNotification);
}

void SpotlightViewController::removeInteractiveMapsLoadingNotifications() {
    auto& center = foundation::NotificationCenter::defaultCenter();
    center.removeObserver(this, InteractiveMapsNotifications::kInteractiveMapsLoadedNotification);
    center.removeObserver(this, InteractiveMapsNotifications::kInteractiveMapsFailedNotification);
}

namespace {

// Hands the notification to `handler` on the main queue; the screen is held
// weakly meanwhile (the posting thread never takes a strong reference).
template <class Handler>
void handOverToMainThread(std::weak_ptr<foundation::Object> weak, const foundation::Notification& notification,
                          Handler handler) {
    dispatch::Queue::main()->async([weak = std::move(weak), notification, handler] {
        auto screen = std::dynamic_pointer_cast<SpotlightViewController>(weak.lock());
        if (screen) ((*screen).*handler)(notification);
    });
}

}  // namespace

void SpotlightViewController::notificationReceivedMapsDownloadedAndLoadedInMemory(
    const foundation::Notification& notification) {
    if (notification.name != InteractiveMapsNotifications::kInteractiveMapsLoadedNotification) return;
    if (!foundation::isMainThread()) {
        handOverToMainThread(weak_from_this(), notification,
                             &SpotlightViewController::notificationReceivedMapsDownloadedAndLoadedInMemory);
        return;
    }
    removeInteractiveMapsLoadingNotifications();
    configureNavigationBar(true);
    makeNecessaryInitsNeededForInteractiveMaps();
}

void SpotlightViewController::notificationReceivedMapsFailedToDownload(const foundation::Notification& notification) {
    if (notification.name != InteractiveMapsNotifications::kInteractiveMapsFailedNotification) return;
    if (!foundation::isMainThread()) {
        handOverToMainThread(weak_from_this(), notification,
                             &SpotlightViewController::notificationReceivedMapsFailedToDownload);
        return;
    }
    // The button stays absent until the bar is rebuilt.
    removeInteractiveMapsLoadingNotifications();
}

// ---- Manager and regions -----------------------------------------------------------

bool SpotlightViewController::currentEventHasInteractiveMaps() const {
    return InteractiveMapsServices::instance().hasInteractiveMapsForAuthCode(authenticationCode(),
                                                                             currentEventItemId());
}

bool SpotlightViewController::isIndoorPositioningOn() const {
    return InteractiveMapsServices::instance().isIndoorPositioningEnabledForAuthCode(authenticationCode(),
                                                                                    currentEventItemId());
}

std::weak_ptr<location::CLLocationManagerDelegate> SpotlightViewController::positioningDelegate() {
    if (!locationDelegate_) locationDelegate_ = std::make_shared<SpotlightLocationDelegate>(self());
    return locationDelegate_;
}

void SpotlightViewController::makeNecessaryInitsNeededForInteractiveMaps() {
    if (!currentEventHasInteractiveMaps()) return;
    onMainQueueLater(self(), [](SpotlightViewController& screen) {
        if (!screen.isIndoorPositioningOn()) return;
        screen.initBeaconsRegion();
        LocationManagerHelper::startMonitoringAndRangingBeaconsForAllRegionsWithLocationManager(screen.locationManager_);
        // The near-me pins of a beacon found before show at once.
        if (!InteractiveMapsServices::instance().currentBeaconIdentifierGlobal().empty())
            screen.reloadTableWhenBeaconIdentifierChanged();
    });
}

void SpotlightViewController::initLocationManagerIfNotInited() {
    if (!locationManager_) {
        locationManager_ = location::CLLocationManager::create();
        locationManager_->setDelegate(positioningDelegate());
    }
    if (Utils::isIOS8OrMore()) locationManager_->requestAlwaysAuthorization();
}

void SpotlightViewController::initBeaconsRegion() {
    if (!locationManager_) locationManager_ = location::CLLocationManager::create();
    locationManager_->setDelegate(positioningDelegate());
    if (isIndoorPositioningOn() && location::CLLocationManager::isRangingAvailable())
        InteractiveMapsServices::instance().initMonitoredRegionsIfNotInited();
    else
        foundation::Log("%@", kNoIBeaconSupportLog);
}

void SpotlightViewController::reloadTableWhenBeaconIdentifierChanged() {
    onMainQueueLater(self(), [](SpotlightViewController& screen) {
        if (screen.homeTableView()) screen.homeTableView()->reloadData();
    });
}

// ---- Appearing and disappearing -----------------------------------------------------

void SpotlightViewController::viewDidAppear(bool animated) {
    BaseViewController::viewDidAppear(animated);
    if (currentEventHasInteractiveMaps()) {
        initLocationManagerIfNotInited();
        initBeaconsRegion();
    }
    if (locationManager_) locationManager_->setDelegate(positioningDelegate());
    LocationManagerHelper::startMonitoringAndRangingBeaconsForAllRegionsWithLocationManager(locationManager_);
    if (location::CLLocationManager::locationServicesEnabled()) foundation::Log("%@", kLocationEnabledLog);
}

void SpotlightViewController::viewWillDisappear(bool animated) {
    BaseViewController::viewWillDisappear(animated);
    LocationManagerHelper::stopMonitoringAndRangingBeaconsForAllRegionsWithLocationManager(locationManager_);
    if (locationManager_) {
        locationManager_->stopUpdatingLocation();
        locationManager_->setDelegate({});
    }
}

void SpotlightViewController::positioningTearDown() {
    stopGpsTimer();
}

std::vector<std::pair<std::string, std::string>> SpotlightViewController::screenDescriptionItems() const {
    if (!locationManager_) return {};
    auto items = locationManager_->screenDescriptionItems();
    // The position the near-me pins follow, shared with the map screens.
    const std::string beacon = InteractiveMapsServices::instance().currentBeaconIdentifierGlobal();
    items.emplace_back("current beacon", beacon.empty() ? "-" : beacon);
    return items;
}

// ---- Regions and ranging -------------------------------------------------------------

void SpotlightViewController::locationManagerDidEnterRegion(location::CLLocationManager& /*manager*/,
                                                            const location::CLRegionPtr& region) {
    if (!region || !region->identifier()) return;
    InteractiveMapsServices::instance().dictionaryToKeepReferceOfMonitoredRegions()[*region->identifier()] = 1;
}

void SpotlightViewController::locationManagerDidExitRegion(location::CLLocationManager& /*manager*/,
                                                           const location::CLRegionPtr& region) {
    if (!region || !region->identifier()) return;
    InteractiveMapsServices::instance().dictionaryToKeepReferceOfMonitoredRegions()[*region->identifier()] = 0;
}

void SpotlightViewController::locationManagerDidDetermineStateForRegion(location::CLLocationManager& /*manager*/,
                                                                        location::CLRegionState state,
                                                                        const location::CLRegionPtr& region) {
    if (!region || !region->identifier()) return;
    auto& states = InteractiveMapsServices::instance().dictionaryToKeepReferceOfMonitoredRegions();
    if (state == location::CLRegionState::Inside) states[*region->identifier()] = 1;
    else if (state == location::CLRegionState::Outside) states[*region->identifier()] = 0;
}

void SpotlightViewController::locationManagerDidRangeBeaconsInRegion(
    location::CLLocationManager& /*manager*/, const std::vector<location::CLBeaconPtr>& beacons,
    const location::CLBeaconRegionPtr& region) {
    if (!region) return;
    auto& maps = InteractiveMapsServices::instance();
    const std::string current = maps.currentBeaconIdentifierGlobal();

    // While the user is still inside the current beacon's region, another
    // region's results do not move the position.
    auto found = maps.allBeaconsOnMap().find(current);
    if (found != maps.allBeaconsOnMap().end() && found->second) {
        const std::optional<int> currentMajor = majorNumber(*found->second);
        if (currentMajor && currentMajor != region->major()) {
            const auto& states = maps.dictionaryToKeepReferceOfMonitoredRegions();
            auto state = states.find(
                LocationManagerHelper::beaconRegionIdentifierForMajor(*currentMajor));
            if (state != states.end() && state->second == 1) return;
        }
    }

    if (LocationManagerHelper::isUserInsideRegionWithIdentifier(region->identifier().value_or(""))) {
        if (beacons.empty()) {
            maps.setCurrentBeaconIdentifierGlobal("");
            return;
        }
        auto closest = LocationManagerHelper::getClosestBeaconInDetectedBeaconRegion(beacons);
        if (!closest) {
            maps.setCurrentBeaconIdentifierGlobal("");
            return;
        }
        auto beacon = maps.getBeaconObjectForMajorString(std::to_string(closest->major()),
                                                         std::to_string(closest->minor()));
        // A beacon that is not on the map changes nothing.
        if (!beacon || !beacon->beaconIdentifier() || *beacon->beaconIdentifier() == current) return;
        maps.setCurrentBeaconIdentifierGlobal(*beacon->beaconIdentifier());
        reloadTableWhenBeaconIdentifierChanged();
    } else if (region->major() && maps.isBeaconWithIdentifier(current, *region->major())) {
        maps.setCurrentBeaconIdentifierGlobal("");
    }
}

void SpotlightViewController::locationManagerRangingBeaconsDidFailForRegionWithError(
    location::CLLocationManager& /*manager*/, const location::CLBeaconRegionPtr& /*region*/,
    const foundation::ErrorPtr& /*error*/) {
    InteractiveMapsServices::instance().setCurrentBeaconIdentifierGlobal("");
}

// ---- Where am I ------------------------------------------------------------------------

void SpotlightViewController::stopGpsTimer() {
    if (timerToWaitMaxSecondsForGpsPosition_) timerToWaitMaxSecondsForGpsPosition_->invalidate();
    timerToWaitMaxSecondsForGpsPosition_.reset();
}

void SpotlightViewController::whereAmIButtonPressed(const foundation::ObjectPtr& /*sender*/) {
    stopGpsTimer();
    if (isIndoorPositioningOn() && location::CLLocationManager::isRangingAvailable() &&
        !InteractiveMapsServices::instance().currentBeaconIdentifierGlobal().empty()) {
        stopProgress();
        InteractiveMapsDetailsViewController::navigateFromController(self(), kMapNavigationPush, std::nullopt, false,
                                                                     true);
        return;
    }
    initLocationManagerAndStartGPSsearching();
}

void SpotlightViewController::initLocationManagerAndStartGPSsearching() {
    initLocationManagerIfNotInited();
    locationManager_->setDesiredAccuracy(location::kCLLocationAccuracyBest);
    locationManager_->setDelegate(positioningDelegate());
    locationManager_->startUpdatingLocation();
    startProgress();
    std::weak_ptr<SpotlightViewController> weak = self();
    timerToWaitMaxSecondsForGpsPosition_ =
        foundation::Timer::scheduledTimerWithTimeInterval(kGpsPositionTimeLimit, false, [weak](foundation::Timer&) {
            if (auto screen = weak.lock())
                screen->failedToGetGpsPositionFunctionalityOrGpsGotButInsideBuildingCenterRange(nullptr);
        });
}

void SpotlightViewController::locationManagerDidUpdateToLocationFromLocation(
    location::CLLocationManager& manager, const location::CLLocationPtr& newLocation,
    const location::CLLocationPtr& /*oldLocation*/) {
    if (!newLocation) return;
    // A stale or invalid fix leaves the search and its time limit running.
    if (-newLocation->timestamp().timeIntervalSinceNow() > kMaximumGpsFixAge) return;
    if (newLocation->horizontalAccuracy() < 0) return;

    manager.stopUpdatingLocation();
    manager.setDelegate({});
    foundation::Log(kDidUpdateToLocationLog, newLocation->description());
    stopGpsTimer();
    if (!LocationManagerHelper::isGpsLocationInsideBuildingRange(*newLocation)) {
        stopProgress();
        OutsideMapsViewController::navigateFromController(self(), kMapNavigationPush, std::nullopt);
        return;
    }
    // Inside the building GPS cannot place the user.
    failedToGetGpsPositionFunctionalityOrGpsGotButInsideBuildingCenterRange(nullptr);
}

void SpotlightViewController::locationManagerDidFailWithError(location::CLLocationManager& manager,
                                                              const foundation::ErrorPtr& /*error*/) {
    manager.stopUpdatingLocation();
    failedToGetGpsPositionFunctionalityOrGpsGotButInsideBuildingCenterRange(nullptr);
}

void SpotlightViewController::failedToGetGpsPositionFunctionalityOrGpsGotButInsideBuildingCenterRange(
    const foundation::ObjectPtr& /*sender*/) {
    if (locationManager_) {
        locationManager_->stopUpdatingLocation();
        locationManager_->setDelegate({});
    }
    stopGpsTimer();
    stopProgress();
    InteractiveMapsDetailsViewController::navigateFromController(self(), kMapNavigationPush, std::nullopt, false,
                                                                 false);
}
