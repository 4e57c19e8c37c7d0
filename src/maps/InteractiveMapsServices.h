// The maps service: the process-wide keeper of what the floor plans of the
// current event declare — beacons, the walkable graph with its distance
// matrix, beacon-to-room pairs and points of interest — filled while the
// floor files are parsed.
//
// A parse run empties everything, then parses the floors one at a time with
// the floor's id current and the collection switch on, and lowers the switch
// when it ends, so parsing a plan outside a run (for display) stores nothing.
// Node ids and graph rows count across all floors of a run.
//
// The collections are used without locks by the thread that parses; runs are
// serialised.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "dispatch/Queue.h"
#include "foundation/ArrayIndex.h"
#include "maps/NeighbourDistances.h"
#include "foundation/Error.h"
#include "maps/BeaconObject.h"
#include "maps/EdgeObject.h"
#include "maps/IntersectionPoint.h"
#include "maps/MapDisplayData.h"
#include "maps/PointOfInterestObject.h"
#include "maps/RoomBeaconProximityObject.h"
#include "svg/floorplan/SVGFloorPlanSink.h"

class QVAImapsLinksModel;
namespace location {
class CLBeaconRegion;
}

class InteractiveMapsServices : public svg::SVGFloorPlanSink {
public:
    // One floor of a parse run: the floor's id and its plan's file name.
    struct FloorPlanFile {
        std::string floorIdentifier;
        std::string fileName;
    };
    // Parses one floor file; the floor is current and collection is on.
    using FloorPlanLoadStep = std::function<void(const FloorPlanFile&)>;

    // Made on first use; registers itself as the SVG library's floor-plan
    // sink and installs the map-files hook.
    static InteractiveMapsServices& instance();
    // Installs this service as the API client's map files
    // (api/MapFilesHook) without making it yet; the shell does at start-up.
    static void installMapFilesHook();

    InteractiveMapsServices(const InteractiveMapsServices&) = delete;
    InteractiveMapsServices& operator=(const InteractiveMapsServices&) = delete;
    ~InteractiveMapsServices() override;

    // Beacon id to beacon.
    std::map<std::string, std::shared_ptr<BeaconObject>>& allBeaconsOnMap() { return allBeaconsOnMap_; }
    // The graph nodes; a node's position here is its row in the distance matrix.
    std::vector<std::shared_ptr<IntersectionPoint>>& intersectionPointsArray() { return intersectionPointsArray_; }
    std::vector<std::shared_ptr<EdgeObject>>& edgesArray() { return edgesArray_; }
    std::vector<std::shared_ptr<PointOfInterestObject>>& pointsOfInterestArray() { return pointsOfInterestArray_; }
    std::vector<std::shared_ptr<RoomBeaconProximityObject>>& roomBeaconProximityArray() {
        return roomBeaconProximityArray_;
    }

    // The floor whose file is being parsed; everything stored is stamped
    // with it.
    const std::optional<std::string>& currentFloorIdentifier() const { return currentFloorIdentifier_; }
    void setCurrentFloorIdentifier(std::optional<std::string> floor) { currentFloorIdentifier_ = std::move(floor); }
    // The collection switch; off until a parse run turns it on.
    bool shouldConstructIntersectionPointsAndGraph() const override { return shouldConstruct_.load(); }
    void setShouldConstructIntersectionPointsAndGraph(bool value) { shouldConstruct_.store(value); }

    // Stores the distance both ways. Every stored node has its row, however
    // many there are, kept sparsely (a node's neighbours only); an index that
    // names no node is ignored.
    void setDistance(double distance, int32_t fromPointIndex, int32_t toPointIndex);
    // 0 where nothing was stored or an index names no node.
    double distanceFromPointIndex(int32_t fromPointIndex, int32_t toPointIndex) const;
    // "1" first after a run starts, then "2", ...
    std::string generateNextIdForPoint();
    // Euclidean, in drawing units.
    double distanceFromPoint(graphics::Point from, graphics::Point toPoint) const;

    // Without identifier: the first node on the same floor at exactly the same
    // position; with it: the first node with the same point id. -1 when none.
    int32_t indexInIntersectionPointsArrayForPoint(const IntersectionPoint& point, bool hasIdentifier) const;
    // The first with the same id and floor; -1 when none or the id is missing.
    int32_t indexInPointsOfInterestArrayForObject(const PointOfInterestObject& object) const;
    // The first with the same beacon and room, on any floor; -1 when none or
    // either id is missing.
    int32_t indexInRoomBeaconProximityArrayForObject(const RoomBeaconProximityObject& object) const;

    // Runs the load step for each floor in order, as described above.
    void parseFloorPlans(const std::vector<FloorPlanFile>& floors, const FloorPlanLoadStep& loadStep);

    // The floor plans of an event already in its map folder, parsed as one
    // run on the serial queue "parse.imaps.queue" after the image cache is
    // emptied; each floor is loaded through the cache, where the map screens
    // find it afterwards. The completion runs on the main queue with null, or
    // with an error naming the first floor whose file gave no floor plan
    // (of the domain and code below).
    static constexpr const char* kMapsErrorDomain = "InteractiveMapsServices";
    static constexpr int64_t kUnreadablePlanErrorCode = 1;
    using ParseCompletion = std::function<void(const foundation::ErrorPtr& error)>;
    void parseDownloadedInteractiveMapsForAuthCode(const std::string& authCode, const std::string& eventId,
                                                   std::vector<FloorPlanFile> floors, ParseCompletion completion);
    static const dispatch::QueuePtr& parseQueue();

    // Drops the maps held in memory: the collections and the SVG library's
    // cached plans are emptied on the parse queue, after any run in
    // progress and never under it, the collection switch stays lowered and
    // the current event's loaded-in-memory flag comes down. Every map run
    // started before is overtaken and the running flag lowered at once; the
    // current beacon and the beacon regions are emptied. The files stay.
    // The completion (may be empty) runs on the main queue once done. Every
    // clear of the maps' memory goes through here.
    void clearInMemoryResources(std::function<void()> completion = {});
    // Logout and user switch: the memory as above, and every meeting's map
    // files under Caches/imaps deleted at once.
    void clearAllImapsResourcesAndDataOnLogoutOrSwitchUser(std::function<void()> completion = {});
    // A change of meeting: the memory only (defined with the meeting switcher).
    void clearInMemoryResourcesOnMeetingChange();

    // The map files of a meeting, read from its store on the main thread:
    // whether any floor level of the meeting's primary venue has a map-file
    // link, and all those links, floor by floor in order. Nothing without a
    // cached store or a primary venue.
    bool hasInteractiveMapsForAuthCode(const std::optional<std::string>& authCode,
                                       const std::optional<std::string>& eventId) const;
    std::vector<std::shared_ptr<QVAImapsLinksModel>> getAllImapsLinksModelArrayForAuthCode(
        const std::optional<std::string>& authCode, const std::optional<std::string>& eventId) const;

    // The plan files to parse after a download: one per map-file link of the
    // primary venue, the floor named by its level number.
    std::vector<FloorPlanFile> floorPlanFilesForAuthCode(const std::optional<std::string>& authCode,
                                                         const std::optional<std::string>& eventId) const;

    // The maps' own download of a meeting's map files through the API
    // client, then the parse of the downloaded plans: a map run (see
    // canAccessInteractiveMaps). Nothing is fetched when the meeting has no
    // maps or while a map download or parse runs (the completion then gets
    // null at once). The last map-update time becomes now when the files
    // arrived, else the "never updated" instant 100 s after 1970. The end of
    // a run still current lowers the downloading flag, raises the loaded
    // flag when every floor loaded and posts one of the two
    // InteractiveMapsNotifications; a run overtaken by a clear of the memory
    // or a change of account or meeting stops at the end of its step and
    // keeps, raises and posts nothing. The completion (on the main queue, may
    // be empty) gets the download's error, else the parse's. Main thread only.
    using DownloadCompletion = std::function<void(const foundation::ErrorPtr& error)>;
    void downloadAndParseInteractiveMapsForAuthCode(const std::optional<std::string>& authCode,
                                                    const std::optional<std::string>& eventId,
                                                    DownloadCompletion completion);
    // The silent re-download of the delta update: only when the meeting has
    // maps, the last map update lies at least 200 s after 1970 and more than
    // 7200 s back, every map file is on disk and no map download or parse
    // runs. The files are replaced on disk, not parsed again. Main thread only.
    void updateInteractiveMapsFilesOnlyForAuthCode(const std::optional<std::string>& authCode,
                                                   const std::optional<std::string>& eventId);

    // Whether the current meeting's maps can be used now: YES while they
    // are loaded in memory. Otherwise NO, after starting a map run for the
    // current account and meeting when it has maps and none runs: a parse
    // when every map file is on disk, else a download and parse. A kept plan
    // that does not parse (a page an earlier version kept in its place, a
    // plan cut short) counts as missing: the parse is followed by a
    // download and parse, until one such refetch was answered and still
    // gives no plan, once per memory generation (until the next launch, or
    // a clear of the maps' memory); a refetch that got no answer leaves it
    // to the next check. After that such a run ends with the parse's
    // failure.
    // The run's end posts one of the two InteractiveMapsNotifications. Main
    // thread.
    bool canAccessInteractiveMaps();
    // Whether beacon positioning applies to the meeting: it has maps and at
    // least one beacon is on the maps loaded in memory. Main thread.
    bool isIndoorPositioningEnabledForAuthCode(const std::optional<std::string>& authCode,
                                               const std::optional<std::string>& eventId) const;
    // The map id of the beacon taken as the user's position; "" when none.
    // Emptied by every clear of the memory.
    std::string currentBeaconIdentifierGlobal() const;
    void setCurrentBeaconIdentifierGlobal(std::string beaconIdentifier);
    // Whether the room lies near the beacon: a proximity pair of that beacon
    // names the room by its id, or by a point of interest whose room is it.
    bool isSessionWithLocationId(const std::optional<std::string>& roomId,
                                 const std::optional<std::string>& beaconIdentifier) const;
    // What the map screens show of the plans the last run loaded (see
    // MapDisplayData); empty after any clear of the memory. Any thread.
    std::shared_ptr<const MapDisplayData> mapDisplayData() const;

    // The beacon regions the home screen monitors, one per major of the
    // beacons on the map, and their states (region identifier -> 1 inside,
    // 0 outside). Main thread; emptied by every clear of the memory.
    std::map<std::string, int>& dictionaryToKeepReferceOfMonitoredRegions() { return monitoredRegionStates_; }
    std::vector<std::shared_ptr<location::CLBeaconRegion>>& monitoredBeaconRegions() { return monitoredBeaconRegions_; }
    void initMonitoredRegionsIfNotInited();
    // The beacon on the map whose major and minor read exactly so; null when
    // none.
    std::shared_ptr<BeaconObject> getBeaconObjectForMajorString(const std::string& major,
                                                                const std::string& minor) const;
    bool isBeaconWithIdentifier(const std::string& beaconIdentifier, int major) const;

    // The current meeting's maps dropped before its cache is cleared and
    // its content loaded again.
    void clearInMemoryResourcesOnClearCacheAndReloadContent();

    // The floor-plan sink.
    void addBeacon(const svg::SVGFloorPlanBeacon& beacon) override;
    svg::SVGFloorPlanNode nodeAtPosition(graphics::Point position,
                                         const std::optional<std::string>& roomIdentifier) override;
    void addEdge(const svg::SVGFloorPlanNode& from, const svg::SVGFloorPlanNode& to) override;
    void addRoomBeaconProximity(const svg::SVGFloorPlanRoomBeaconProximity& pair) override;
    void addPointOfInterest(const svg::SVGFloorPlanPointOfInterest& pointOfInterest) override;

private:
    InteractiveMapsServices();
    // The service's own map folder, registered when none is.
    static void ensureMapFolder();

    // A map run belongs to the account and meeting it was started for and
    // to the memory it was started over: any clear of the memory, or a
    // change of the current account or meeting, leaves it overtaken, and an
    // overtaken run stops at the end of its current step without keeping,
    // raising or posting anything.
    struct MapRun {
        std::optional<std::string> authCode;
        std::optional<std::string> eventId;
        uint64_t generation = 0;
        // The current account and meeting when the run began.
        std::optional<std::string> currentAuthCode;
        std::optional<std::string> currentEventId;
    };
    MapRun beginMapRun(const std::optional<std::string>& authCode, const std::optional<std::string>& eventId) const;
    // Main thread: the run's memory is untouched and the current account and
    // meeting are those it began under.
    bool isCurrentMapRun(const MapRun& run) const;
    // The parse step of a run on the parse queue; the completion on the main
    // queue gets whether the run is still current with the parse's error.
    void parseMapRun(const MapRun& run, std::vector<FloorPlanFile> floors, ParseCompletion completion);
    // The end of a current run on the main thread: the flags and the one
    // notification.
    void finishMapRun(const MapRun& run, const foundation::ErrorPtr& error);
    // Main thread: whether a run of the same account, meeting and memory
    // generation as `run` already fetched the plans again because a kept
    // one did not parse.
    bool fetchedUnreadablePlansAgain(const MapRun& run) const;
    // Whether a parse run ended because a kept plan gives no floor plan.
    static bool isUnreadablePlan(const foundation::ErrorPtr& error);
    // Leaves every run started so far stale and lowers the running flag,
    // which stands for the current meeting's run only.
    void invalidateMapRuns();
    // The beacon state kept for the home screen, emptied with the memory.
    void clearPositioningState();
    // Parse queue, at the end of every parse: the beacons on the map and the
    // rooms near each, kept apart from the collections for readers on the
    // main thread.
    void recordRoomsNearBeacons();
    std::map<std::string, std::shared_ptr<BeaconObject>> beaconsForPositioning() const;
    bool allMapFilesOnDiskForAuthCode(const std::optional<std::string>& authCode,
                                      const std::optional<std::string>& eventId) const;

    void clearCollections();
    // The keys the look-ups compare by; absent where they never match.
    struct PositionKey {
        std::optional<std::string> floor;
        double x = 0, y = 0;
        bool operator==(const PositionKey&) const = default;
    };
    struct PositionKeyHash {
        size_t operator()(const PositionKey& key) const;
    };
    using NamePair = std::pair<std::string, std::optional<std::string>>;
    struct NamePairHash {
        size_t operator()(const NamePair& key) const;
    };
    static std::optional<PositionKey> positionKey(const IntersectionPoint& point);
    static std::optional<std::string> pointIdentifierKey(const IntersectionPoint& point);
    static std::optional<NamePair> pointOfInterestKey(const PointOfInterestObject& object);
    static std::optional<NamePair> proximityKey(const RoomBeaconProximityObject& object);

    std::map<std::string, std::shared_ptr<BeaconObject>> allBeaconsOnMap_;
    std::vector<std::shared_ptr<IntersectionPoint>> intersectionPointsArray_;
    std::vector<std::shared_ptr<EdgeObject>> edgesArray_;
    std::vector<std::shared_ptr<PointOfInterestObject>> pointsOfInterestArray_;
    std::vector<std::shared_ptr<RoomBeaconProximityObject>> roomBeaconProximityArray_;
    std::optional<std::string> currentFloorIdentifier_;
    // Read by plans parsed for display on other threads than the runs'.
    std::atomic<bool> shouldConstruct_{false};
    int32_t pointCounter_ = 0;
    // Per node, its neighbours and the distance to each.
    std::vector<NeighbourDistances> distances_;
    foundation::ArrayIndex<IntersectionPoint, PositionKey, PositionKeyHash, &positionKey> nodesByPosition_;
    foundation::ArrayIndex<IntersectionPoint, std::string, std::hash<std::string>, &pointIdentifierKey>
        nodesByIdentifier_;
    foundation::ArrayIndex<PointOfInterestObject, NamePair, NamePairHash, &pointOfInterestKey>
        pointsOfInterestByName_;
    foundation::ArrayIndex<RoomBeaconProximityObject, NamePair, NamePairHash, &proximityKey> proximityByNames_;
    std::mutex parseMutex_;
    std::atomic<uint64_t> mapRunGeneration_{0};
    // The run that last fetched the plans again for a kept plan that did not
    // parse. Main thread only.
    std::optional<MapRun> unreadablePlansFetchedAgain_;
    // The beacons the last current run left on the map, readable from the
    // main thread while the parse queue owns the collections.
    std::atomic<size_t> beaconsOnLoadedMaps_{0};
    mutable std::mutex positioningMutex_;
    std::string currentBeaconIdentifierGlobal_;
    // Beacon id to the ids of the rooms near it (room ids and the ids of
    // the rooms' points of interest).
    std::map<std::string, std::vector<std::string>> roomsNearBeacon_;
    // The beacons the last run left on the map, for the region look-ups the
    // home screen makes on the main thread (a beacon object is never changed
    // once a run has made it).
    std::map<std::string, std::shared_ptr<BeaconObject>> beaconsForPositioning_;
    // The screens' copy, made beside the positioning copy.
    std::shared_ptr<const MapDisplayData> mapDisplayData_ = std::make_shared<MapDisplayData>();
    std::map<std::string, int> monitoredRegionStates_;
    std::vector<std::shared_ptr<location::CLBeaconRegion>> monitoredBeaconRegions_;
};
