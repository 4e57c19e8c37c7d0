// The maps service's core: the singleton, the distance matrix, the point
// counter and the look-ups over its collections.
#include "maps/InteractiveMapsServices.h"

#include <cmath>

#include "maps/InteractiveMapsFolder.h"

InteractiveMapsServices& InteractiveMapsServices::instance() {
    static InteractiveMapsServices services;
    return services;
}

InteractiveMapsServices::InteractiveMapsServices() {
    svg::SVGFloorPlanSink::registerSink(this);
    // The plans this service downloads are read from its own folder, unless
    // something else was registered first.
    static const InteractiveMapsFolder folder;
    if (!svg::SVGMapFolder::registeredMapFolder()) svg::SVGMapFolder::registerMapFolder(&folder);
}

InteractiveMapsServices::~InteractiveMapsServices() {
    if (svg::SVGFloorPlanSink::registeredSink() == this) svg::SVGFloorPlanSink::registerSink(nullptr);
}

void InteractiveMapsServices::growDistanceMatrix(size_t nodeCount) {
    if (nodeCount <= distances_.size()) return;
    for (auto& row : distances_) row.resize(nodeCount, 0.0);
    distances_.resize(nodeCount, std::vector<double>(nodeCount, 0.0));
}

void InteractiveMapsServices::setDistance(double distance, int32_t fromPointIndex, int32_t toPointIndex) {
    // Nodes may have been appended to the array directly; their rows are made
    // here, so a stored node never misses its row.
    size_t nodes = intersectionPointsArray_.size();
    if (fromPointIndex < 0 || toPointIndex < 0 || size_t(fromPointIndex) >= nodes || size_t(toPointIndex) >= nodes) {
        return;
    }
    growDistanceMatrix(nodes);
    distances_[size_t(fromPointIndex)][size_t(toPointIndex)] = distance;
    distances_[size_t(toPointIndex)][size_t(fromPointIndex)] = distance;
}

double InteractiveMapsServices::distanceFromPointIndex(int32_t fromPointIndex, int32_t toPointIndex) const {
    if (fromPointIndex < 0 || toPointIndex < 0) return 0;
    if (size_t(fromPointIndex) >= distances_.size() || size_t(toPointIndex) >= distances_.size()) return 0;
    return distances_[size_t(fromPointIndex)][size_t(toPointIndex)];
}

std::string InteractiveMapsServices::generateNextIdForPoint() { return std::to_string(++pointCounter_); }

double InteractiveMapsServices::distanceFromPoint(graphics::Point from, graphics::Point toPoint) const {
    double dx = toPoint.x - from.x, dy = toPoint.y - from.y;
    return std::sqrt(dx * dx + dy * dy);
}

int32_t InteractiveMapsServices::indexInIntersectionPointsArrayForPoint(const IntersectionPoint& point,
                                                                        bool hasIdentifier) const {
    if (hasIdentifier && !point.pointIdentifier()) return -1;
    for (size_t i = 0; i < intersectionPointsArray_.size(); ++i) {
        const auto& stored = *intersectionPointsArray_[i];
        bool same = hasIdentifier ? stored.pointIdentifier() == point.pointIdentifier()
                                  : stored.floorIdentifier() == point.floorIdentifier() &&
                                        stored.thePoint() == point.thePoint();
        if (same) return int32_t(i);
    }
    return -1;
}

int32_t InteractiveMapsServices::indexInPointsOfInterestArrayForObject(const PointOfInterestObject& object) const {
    if (!object.identifier()) return -1;
    for (size_t i = 0; i < pointsOfInterestArray_.size(); ++i) {
        const auto& stored = *pointsOfInterestArray_[i];
        if (stored.identifier() == object.identifier() && stored.floorIdentifier() == object.floorIdentifier()) {
            return int32_t(i);
        }
    }
    return -1;
}

int32_t InteractiveMapsServices::indexInRoomBeaconProximityArrayForObject(
    const RoomBeaconProximityObject& object) const {
    if (!object.idBeacon() || !object.idRoom()) return -1;
    for (size_t i = 0; i < roomBeaconProximityArray_.size(); ++i) {
        const auto& stored = *roomBeaconProximityArray_[i];
        if (stored.idBeacon() == object.idBeacon() && stored.idRoom() == object.idRoom()) return int32_t(i);
    }
    return -1;
}
