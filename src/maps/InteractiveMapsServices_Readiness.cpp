// Whether the current meeting's maps are ready, the map runs that make them
// ready, and what the home screen asks of the loaded maps for positioning.
//
// A run (download then parse, or a parse alone) carries the account and
// meeting it was started for and the memory generation it started over.
// Every step re-checks both when it ends, so a run overtaken by a change of
// meeting, a logout or a cache clear stops without touching the new
// meeting's memory, flags or observers.
#include "maps/InteractiveMapsServices.h"

#include <algorithm>

#include "Utils/Utils.h"
#include "api/QVAApiManager.h"
#include "dispatch/Queue.h"
#include "foundation/FileManager.h"
#include "foundation/NotificationCenter.h"
#include "foundation/Thread.h"
#include "maps/InteractiveMapsNotifications.h"
#include "model/QVAError.h"
#include "model/QVAEvent.h"
#include "model/QVAImapsLinksModel.h"
#include "model/QVAUserAccount.h"
#include "settings/ApplicationSettingsStore.h"

namespace {

std::optional<std::string> currentAuthCode() {
    auto account = ApplicationSettingsStore::sharedApplicationSettingsStore().currentAccount();
    return account ? account->authenticationCode() : std::nullopt;
}

std::optional<std::string> currentEventId() {
    auto event = ApplicationSettingsStore::sharedApplicationSettingsStore().currentEvent();
    return event ? event->itemId() : std::nullopt;
}

}  // namespace

InteractiveMapsServices::MapRun InteractiveMapsServices::beginMapRun(const std::optional<std::string>& authCode,
                                                                     const std::optional<std::string>& eventId) const {
    return MapRun{authCode, eventId, mapRunGeneration_.load(), currentAuthCode(), currentEventId()};
}

bool InteractiveMapsServices::isCurrentMapRun(const MapRun& run) const {
    return run.generation == mapRunGeneration_.load() && run.currentAuthCode == currentAuthCode() &&
           run.currentEventId == currentEventId();
}

void InteractiveMapsServices::invalidateMapRuns() {
    ++mapRunGeneration_;
    beaconsOnLoadedMaps_ = 0;
    ApplicationSettingsStore::sharedApplicationSettingsStore().setCurrentEventIsDownloadingOrParsingIMaps(false);
}

void InteractiveMapsServices::finishMapRun(const MapRun& run, const foundation::ErrorPtr& error) {
    if (!isCurrentMapRun(run)) return;
    auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    settings.setCurrentEventIsDownloadingOrParsingIMaps(false);
    const bool hasCurrent = run.currentAuthCode && run.currentEventId;
    const bool forCurrent = hasCurrent && run.authCode == run.currentAuthCode && run.eventId == run.currentEventId;
    // Another meeting's plans, loaded while a meeting is current, are not
    // the current meeting's maps: nothing to flag or announce.
    if (hasCurrent && !forCurrent) return;
    // Without a current account or meeting nothing loaded counts as theirs.
    const bool loaded = !error && forCurrent;
    settings.setCurrentEventHasIMapsLoadedInMemory(loaded);
    if (!loaded) beaconsOnLoadedMaps_ = 0;
    foundation::NotificationCenter::defaultCenter().postNotificationName(
        loaded ? InteractiveMapsNotifications::kInteractiveMapsLoadedNotification
               : InteractiveMapsNotifications::kInteractiveMapsFailedNotification);
}

bool InteractiveMapsServices::allMapFilesOnDiskForAuthCode(const std::optional<std::string>& authCode,
                                                           const std::optional<std::string>& eventId) const {
    if (!authCode || !eventId) return false;
    const auto links = getAllImapsLinksModelArrayForAuthCode(authCode, eventId);
    auto& files = foundation::FileManager::defaultManager();
    for (const auto& link : links) {
        if (!link->relString()) return false;
        auto path = Utils::cacheImapsUrlStringForFileName(*link->relString(), *authCode, *eventId);
        if (!path || !files.fileExistsAtPath(*path)) return false;
    }
    return !links.empty();
}

bool InteractiveMapsServices::fetchedUnreadablePlansAgain(const MapRun& run) const {
    const auto& fetched = unreadablePlansFetchedAgain_;
    return fetched && fetched->generation == run.generation && fetched->authCode == run.authCode &&
           fetched->eventId == run.eventId;
}

bool InteractiveMapsServices::isUnreadablePlan(const foundation::ErrorPtr& error) {
    return error && error->domain() == kMapsErrorDomain && error->code() == kUnreadablePlanErrorCode;
}

bool InteractiveMapsServices::canAccessInteractiveMaps() {
    auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    if (settings.currentEventHasIMapsLoadedInMemory()) return true;
    const auto authCode = currentAuthCode();
    const auto eventId = currentEventId();
    if (!hasInteractiveMapsForAuthCode(authCode, eventId) || settings.currentEventIsDownloadingOrParsingIMaps())
        return false;
    if (!allMapFilesOnDiskForAuthCode(authCode, eventId)) {
        downloadAndParseInteractiveMapsForAuthCode(authCode, eventId, {});
        return false;
    }
    settings.setCurrentEventIsDownloadingOrParsingIMaps(true);
    const MapRun run = beginMapRun(authCode, eventId);
    parseMapRun(run, floorPlanFilesForAuthCode(authCode, eventId), [this, run](const foundation::ErrorPtr& error) {
        // A plan kept on disk that gives no floor plan is fetched again, as
        // a missing one is, until a refetch was answered and still gives
        // none, once for the meeting's maps in memory (until the next
        // launch, or a clear of the maps' memory: a change of meeting, a
        // logout, a cache clear). A refused download keeps the earlier
        // copy, so the next check would find the same plan: the screens
        // check on every bar rebuild and network change, and each refetch
        // asks for every plan of the meeting. A refetch that got no answer
        // (the service down, no network) leaves it to the next check. Once
        // spent, such a run ends with the parse's failure.
        if (isUnreadablePlan(error) && isCurrentMapRun(run) && !fetchedUnreadablePlansAgain(run)) {
            ApplicationSettingsStore::sharedApplicationSettingsStore().setCurrentEventIsDownloadingOrParsingIMaps(false);
            downloadAndParseInteractiveMapsForAuthCode(
                run.authCode, run.eventId, [this, run](const foundation::ErrorPtr& refetchError) {
                    const bool answered = refetchError && refetchError->domain() == kQVAErrorDomain &&
                                          refetchError->code() == QVAApiManager::kRefusedBodyErrorCode;
                    if (answered || isUnreadablePlan(refetchError)) unreadablePlansFetchedAgain_ = run;
                });
            return;
        }
        finishMapRun(run, error);
    });
    return false;
}

// Positioning needs something to position by, so it is on exactly when the
// loaded plans of a meeting with maps place at least one beacon.
bool InteractiveMapsServices::isIndoorPositioningEnabledForAuthCode(const std::optional<std::string>& authCode,
                                                                    const std::optional<std::string>& eventId) const {
    if (!ApplicationSettingsStore::sharedApplicationSettingsStore().currentEventHasIMapsLoadedInMemory()) return false;
    return beaconsOnLoadedMaps_.load() > 0 && hasInteractiveMapsForAuthCode(authCode, eventId);
}

std::string InteractiveMapsServices::currentBeaconIdentifierGlobal() const {
    std::lock_guard<std::mutex> lock(positioningMutex_);
    return currentBeaconIdentifierGlobal_;
}

void InteractiveMapsServices::setCurrentBeaconIdentifierGlobal(std::string beaconIdentifier) {
    std::lock_guard<std::mutex> lock(positioningMutex_);
    currentBeaconIdentifierGlobal_ = std::move(beaconIdentifier);
}

bool InteractiveMapsServices::isSessionWithLocationId(const std::optional<std::string>& roomId,
                                                      const std::optional<std::string>& beaconIdentifier) const {
    if (!roomId || !beaconIdentifier) return false;
    std::lock_guard<std::mutex> lock(positioningMutex_);
    auto rooms = roomsNearBeacon_.find(*beaconIdentifier);
    return rooms != roomsNearBeacon_.end() &&
           std::find(rooms->second.begin(), rooms->second.end(), *roomId) != rooms->second.end();
}

void InteractiveMapsServices::recordRoomsNearBeacons() {
    // A pair names its room by the room's own id or by the id of the room's
    // point of interest (the plans pair beacon "B12" with "R12", whose room
    // is "12"), so both are kept.
    std::multimap<std::string, std::string> roomOfPointOfInterest;
    for (const auto& point : pointsOfInterestArray_)
        if (point->identifier() && point->idRoom()) roomOfPointOfInterest.emplace(*point->identifier(), *point->idRoom());
    std::map<std::string, std::vector<std::string>> near;
    for (const auto& pair : roomBeaconProximityArray_) {
        if (!pair->idBeacon() || !pair->idRoom()) continue;
        auto& rooms = near[*pair->idBeacon()];
        rooms.push_back(*pair->idRoom());
        auto [first, last] = roomOfPointOfInterest.equal_range(*pair->idRoom());
        for (auto it = first; it != last; ++it) rooms.push_back(it->second);
    }
    auto display = std::make_shared<MapDisplayData>();
    for (const auto& point : pointsOfInterestArray_)
        display->pointsOfInterest.push_back(
            {point->identifier(), point->floorIdentifier(), point->idRoom(), point->title()});
    for (const auto& node : intersectionPointsArray_)
        if (node->roomIdentifier())
            display->namedNodes.push_back({*node->roomIdentifier(), node->floorIdentifier(), node->thePoint()});
    for (const auto& [identifier, beacon] : allBeaconsOnMap_) display->beaconFloors[identifier] = beacon->floorIdentifier();
    std::lock_guard<std::mutex> lock(positioningMutex_);
    roomsNearBeacon_ = std::move(near);
    beaconsForPositioning_ = allBeaconsOnMap_;
    mapDisplayData_ = std::move(display);
}

std::shared_ptr<const MapDisplayData> InteractiveMapsServices::mapDisplayData() const {
    std::lock_guard<std::mutex> lock(positioningMutex_);
    return mapDisplayData_;
}

std::map<std::string, std::shared_ptr<BeaconObject>> InteractiveMapsServices::beaconsForPositioning() const {
    std::lock_guard<std::mutex> lock(positioningMutex_);
    return beaconsForPositioning_;
}

void InteractiveMapsServices::clearPositioningState() {
    {
        std::lock_guard<std::mutex> lock(positioningMutex_);
        currentBeaconIdentifierGlobal_.clear();
        roomsNearBeacon_.clear();
        beaconsForPositioning_.clear();
        mapDisplayData_ = std::make_shared<MapDisplayData>();
    }
    // The regions belong to the home screen's thread.
    auto clearRegions = [this] {
        monitoredRegionStates_.clear();
        monitoredBeaconRegions_.clear();
    };
    if (foundation::isMainThread())
        clearRegions();
    else
        dispatch::Queue::main()->async(clearRegions);
}
