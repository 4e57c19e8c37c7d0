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
#include "maps/PointOfInterestObject.h"
#include "maps/RoomBeaconProximityObject.h"
#include "svg/floorplan/SVGFloorPlanSink.h"

class QVAImapsLinksModel;

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
    // sink.
    static InteractiveMapsServices& instance();

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
    // with an error naming the first floor whose file gave no floor plan.
    using ParseCompletion = std::function<void(const foundation::ErrorPtr& error)>;
    void parseDownloadedInteractiveMapsForAuthCode(const std::string& authCode, const std::string& eventId,
                                                   std::vector<FloorPlanFile> floors, ParseCompletion completion);
    static const dispatch::QueuePtr& parseQueue();

    // Drops the maps held in memory: the collections and the SVG library's
    // cached plans are emptied on the parse queue, after any run in
    // progress and never under it, the collection switch stays lowered and
    // the current event's loaded-in-memory flag comes down. The files stay.
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
    // client, then the parse of the downloaded plans. Nothing is fetched
    // when the meeting has no maps or while a map download or parse runs
    // (the completion then gets null at once). The last map-update time
    // becomes now when the files arrived, else the "never updated" instant
    // 100 s after 1970; the downloading flag is lowered when the download
    // failed or the plans were parsed. The completion (on the main queue, may
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

    // The floor-plan sink.
    void addBeacon(const svg::SVGFloorPlanBeacon& beacon) override;
    svg::SVGFloorPlanNode nodeAtPosition(graphics::Point position,
                                         const std::optional<std::string>& roomIdentifier) override;
    void addEdge(const svg::SVGFloorPlanNode& from, const svg::SVGFloorPlanNode& to) override;
    void addRoomBeaconProximity(const svg::SVGFloorPlanRoomBeaconProximity& pair) override;
    void addPointOfInterest(const svg::SVGFloorPlanPointOfInterest& pointOfInterest) override;

private:
    InteractiveMapsServices();

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
};
