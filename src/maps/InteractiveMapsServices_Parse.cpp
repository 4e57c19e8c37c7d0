// The maps service's side of a floor-plan parse: the parse run, the parse of
// an event's downloaded floor plans on the parse queue, and the floor-plan
// sink the SVG library's extension elements write to.
#include "maps/InteractiveMapsServices.h"

#include "api/DownloadedBody.h"
#include "foundation/Format.h"
#include "foundation/Log.h"
#include "maps/MapFileKind.h"
#include "svg/floorplan/SVGMapFolder.h"
#include "svg/image/SVGXImage.h"

namespace {

// The files of a download that are floor plans; the others (a level's
// raster background) stay in the folder for the screens.
std::vector<InteractiveMapsServices::FloorPlanFile> floorPlansAmong(
    const std::vector<InteractiveMapsServices::FloorPlanFile>& floors, const std::string& authCode,
    const std::string& eventId) {
    std::vector<InteractiveMapsServices::FloorPlanFile> plans;
    for (const auto& floor : floors) {
        if (MapFileKind::isRasterImage(floor.fileName, [&] {
                return svg::SVGMapFolder::pathOfSavedMapFile(floor.fileName, authCode, eventId);
            })) {
            foundation::Log("The map file %@ of floor %@ is an image, not a floor plan: kept, not parsed",
                            floor.fileName, floor.floorIdentifier);
            continue;
        }
        plans.push_back(floor);
    }
    return plans;
}

}  // namespace

void InteractiveMapsServices::clearCollections() {
    allBeaconsOnMap_.clear();
    intersectionPointsArray_.clear();
    edgesArray_.clear();
    pointsOfInterestArray_.clear();
    roomBeaconProximityArray_.clear();
    distances_.clear();
    nodesByPosition_.clear();
    nodesByIdentifier_.clear();
    pointsOfInterestByName_.clear();
    proximityByNames_.clear();
    pointCounter_ = 0;
}

void InteractiveMapsServices::parseFloorPlans(const std::vector<FloorPlanFile>& floors,
                                              const FloorPlanLoadStep& loadStep) {
    std::lock_guard<std::mutex> lock(parseMutex_);
    // The switch comes down however the run ends, so a later parse for
    // display cannot add a second copy of the graph or stamp a stale floor.
    struct LowerSwitch {
        InteractiveMapsServices& services;
        ~LowerSwitch() { services.shouldConstruct_ = false; }
    } lowerSwitch{*this};

    clearCollections();
    for (const auto& floor : floors) {
        currentFloorIdentifier_ = floor.floorIdentifier;
        shouldConstruct_ = true;
        if (loadStep) loadStep(floor);
    }
    recordRoomsNearBeacons();
}

const dispatch::QueuePtr& InteractiveMapsServices::parseQueue() {
    static const dispatch::QueuePtr queue = dispatch::Queue::createSerial("parse.imaps.queue");
    return queue;
}

// The extensions write the collections without locks, so every parse of the
// floor plans goes through the one serial queue.
void InteractiveMapsServices::parseDownloadedInteractiveMapsForAuthCode(const std::string& authCode,
                                                                        const std::string& eventId,
                                                                        std::vector<FloorPlanFile> floors,
                                                                        ParseCompletion completion) {
    parseMapRun(beginMapRun(authCode, eventId), std::move(floors), std::move(completion));
}

void InteractiveMapsServices::parseMapRun(const MapRun& run, std::vector<FloorPlanFile> floors,
                                          ParseCompletion completion) {
    ensureMapFolder();
    parseQueue()->async([this, run, floors = std::move(floors), completion = std::move(completion)] {
        auto finish = [&completion](foundation::ErrorPtr error) {
            dispatch::Queue::main()->async([completion, error] {
                if (completion) completion(error);
            });
        };
        auto overtaken = [] {
            return foundation::Error::withDescription(kMapsErrorDomain, 2,
                                                      "The map run was overtaken by a change of meeting");
        };
        // A run overtaken before its parse begins leaves the memory alone.
        if (run.generation != mapRunGeneration_.load()) {
            finish(overtaken());
            return;
        }
        if (!run.authCode || !run.eventId) {
            finish(foundation::Error::withDescription(kMapsErrorDomain, 3,
                                                      "No account or meeting to load maps for"));
            return;
        }
        const std::string& authCode = *run.authCode;
        const std::string& eventId = *run.eventId;
        foundation::ErrorPtr error;
        svg::SVGXImage::clearCachedResources();
        parseFloorPlans(floorPlansAmong(floors, authCode, eventId), [&](const FloorPlanFile& floor) {
            // Judged by the rule the download keeps plans by, so a plan cut
            // short or kept by a weaker rule is fetched again.
            const auto image = svg::SVGXImage::imageNamed(floor.fileName, authCode, eventId);
            if ((image && image->parseErrorsAndWarnings() &&
                 DownloadedBody::isFloorPlan(*image->parseErrorsAndWarnings())) ||
                error)
                return;
            error = foundation::Error::withDescription(
                kMapsErrorDomain, kUnreadablePlanErrorCode,
                foundation::Format("The floor plan %@ of floor %@ could not be loaded", floor.fileName,
                                   floor.floorIdentifier));
        });
        // Overtaken during the parse: the old meeting's plans do not stay.
        if (run.generation != mapRunGeneration_.load()) {
            {
                std::lock_guard<std::mutex> lock(parseMutex_);
                clearCollections();
                recordRoomsNearBeacons();
            }
            svg::SVGXImage::clearCachedResources();
            finish(overtaken());
            return;
        }
        beaconsOnLoadedMaps_ = error ? 0 : allBeaconsOnMap_.size();
        finish(error);
    });
}

void InteractiveMapsServices::addBeacon(const svg::SVGFloorPlanBeacon& beacon) {
    auto object = std::make_shared<BeaconObject>();
    object->setFloorIdentifier(currentFloorIdentifier_);
    object->setBeaconIdentifier(beacon.beaconIdentifier);
    object->setMajor(beacon.major);
    object->setMinor(beacon.minor);
    allBeaconsOnMap_[beacon.beaconIdentifier] = std::move(object);
}

svg::SVGFloorPlanNode InteractiveMapsServices::nodeAtPosition(graphics::Point position,
                                                              const std::optional<std::string>& roomIdentifier) {
    auto point = std::make_shared<IntersectionPoint>();
    point->setThePoint(position);
    point->setFloorIdentifier(currentFloorIdentifier_);
    if (int32_t index = indexInIntersectionPointsArrayForPoint(*point, false); index >= 0) {
        return {index, intersectionPointsArray_[size_t(index)]->pointIdentifier().value_or(""), position};
    }
    auto index = int32_t(intersectionPointsArray_.size());
    std::string identifier = generateNextIdForPoint();
    point->setIndexInGraph(index);
    point->setPointIdentifier(identifier);
    point->setRoomIdentifier(roomIdentifier);
    intersectionPointsArray_.push_back(std::move(point));
    return {index, identifier, position};
}

void InteractiveMapsServices::addEdge(const svg::SVGFloorPlanNode& from, const svg::SVGFloorPlanNode& to) {
    double distance = distanceFromPoint(from.position, to.position);
    setDistance(distance, from.indexInGraph, to.indexInGraph);
    auto edge = std::make_shared<EdgeObject>();
    edge->setIndexFromPoint(from.indexInGraph);
    edge->setIndexToPoint(to.indexInGraph);
    edge->setDistanceBetweenPoints(distance);
    edgesArray_.push_back(std::move(edge));
}

void InteractiveMapsServices::addRoomBeaconProximity(const svg::SVGFloorPlanRoomBeaconProximity& pair) {
    auto object = std::make_shared<RoomBeaconProximityObject>();
    object->setFloorIdentifier(currentFloorIdentifier_);
    object->setIdBeacon(pair.idBeacon);
    object->setIdRoom(pair.idRoom);
    if (indexInRoomBeaconProximityArrayForObject(*object) == -1) roomBeaconProximityArray_.push_back(std::move(object));
}

void InteractiveMapsServices::addPointOfInterest(const svg::SVGFloorPlanPointOfInterest& pointOfInterest) {
    auto object = std::make_shared<PointOfInterestObject>();
    object->setIdentifier(pointOfInterest.identifier);
    object->setFloorIdentifier(currentFloorIdentifier_);
    if (indexInPointsOfInterestArrayForObject(*object) != -1) return;
    object->setType(pointOfInterest.type);
    object->setIdRoom(pointOfInterest.idRoom);
    object->setCategoryName(pointOfInterest.categoryName);
    object->setTitle(pointOfInterest.title);
    object->setIsSelectable(pointOfInterest.isSelectable);
    object->setIsInDestinationList(pointOfInterest.isInDestinationList);
    object->setIsNavigateable(pointOfInterest.isNavigateable);
    pointsOfInterestArray_.push_back(std::move(object));
}
