// The maps service's core: the singleton, the sparse distance table, the
// point counter and the hashed look-ups over its collections.
#include "maps/InteractiveMapsServices.h"

#include <cmath>

#include "api/MapFilesHook.h"
#include "maps/InteractiveMapsFolder.h"

InteractiveMapsServices& InteractiveMapsServices::instance() {
    static InteractiveMapsServices services;
    return services;
}

InteractiveMapsServices::InteractiveMapsServices() {
    svg::SVGFloorPlanSink::registerSink(this);
    ensureMapFolder();
    installMapFilesHook();
}

void InteractiveMapsServices::installMapFilesHook() {
    MapFilesHook::install({
        .links = [](const MapFilesHook::Text& authCode,
                    const MapFilesHook::Text& eventId) {
            return instance().getAllImapsLinksModelArrayForAuthCode(authCode, eventId);
        },
        .renewFiles = [](const MapFilesHook::Text& authCode,
                         const MapFilesHook::Text& eventId) {
            instance().updateInteractiveMapsFilesOnlyForAuthCode(authCode, eventId);
        },
    });
}

void InteractiveMapsServices::ensureMapFolder() {
    // The plans this service downloads are read from its own folder, unless
    // something else was registered first.
    static const InteractiveMapsFolder folder;
    if (!svg::SVGMapFolder::registeredMapFolder()) svg::SVGMapFolder::registerMapFolder(&folder);
}

InteractiveMapsServices::~InteractiveMapsServices() {
    if (svg::SVGFloorPlanSink::registeredSink() == this) svg::SVGFloorPlanSink::registerSink(nullptr);
}

void InteractiveMapsServices::setDistance(double distance, int32_t fromPointIndex, int32_t toPointIndex) {
    // Nodes may have been appended to the array directly; their rows are made
    // here, so a stored node never misses its row.
    size_t nodes = intersectionPointsArray_.size();
    if (fromPointIndex < 0 || toPointIndex < 0 || size_t(fromPointIndex) >= nodes || size_t(toPointIndex) >= nodes) {
        return;
    }
    if (distances_.size() < nodes) distances_.resize(nodes);
    distances_[size_t(fromPointIndex)].set(toPointIndex, distance);
    distances_[size_t(toPointIndex)].set(fromPointIndex, distance);
}

double InteractiveMapsServices::distanceFromPointIndex(int32_t fromPointIndex, int32_t toPointIndex) const {
    if (fromPointIndex < 0 || toPointIndex < 0 || size_t(fromPointIndex) >= distances_.size()) return 0;
    return distances_[size_t(fromPointIndex)].find(toPointIndex).value_or(0);
}

std::string InteractiveMapsServices::generateNextIdForPoint() { return std::to_string(++pointCounter_); }

double InteractiveMapsServices::distanceFromPoint(graphics::Point from, graphics::Point toPoint) const {
    double dx = toPoint.x - from.x, dy = toPoint.y - from.y;
    return std::sqrt(dx * dx + dy * dy);
}

namespace {

size_t combine(size_t seed, size_t value) { return seed ^ (value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2)); }

// Equal coordinates must hash alike, and -0 equals 0.
size_t hashCoordinate(double value) { return std::hash<double>()(value == 0 ? 0.0 : value); }

}  // namespace

size_t InteractiveMapsServices::PositionKeyHash::operator()(const PositionKey& key) const {
    return combine(combine(std::hash<std::optional<std::string>>()(key.floor), hashCoordinate(key.x)),
                   hashCoordinate(key.y));
}

size_t InteractiveMapsServices::NamePairHash::operator()(const NamePair& key) const {
    return combine(std::hash<std::string>()(key.first), std::hash<std::optional<std::string>>()(key.second));
}

std::optional<InteractiveMapsServices::PositionKey> InteractiveMapsServices::positionKey(
    const IntersectionPoint& point) {
    return PositionKey{point.floorIdentifier(), point.thePoint().x, point.thePoint().y};
}

std::optional<std::string> InteractiveMapsServices::pointIdentifierKey(const IntersectionPoint& point) {
    return point.pointIdentifier();
}

std::optional<InteractiveMapsServices::NamePair> InteractiveMapsServices::pointOfInterestKey(
    const PointOfInterestObject& object) {
    if (!object.identifier()) return std::nullopt;
    return NamePair{*object.identifier(), object.floorIdentifier()};
}

std::optional<InteractiveMapsServices::NamePair> InteractiveMapsServices::proximityKey(
    const RoomBeaconProximityObject& object) {
    if (!object.idBeacon() || !object.idRoom()) return std::nullopt;
    return NamePair{*object.idBeacon(), object.idRoom()};
}

int32_t InteractiveMapsServices::indexInIntersectionPointsArrayForPoint(const IntersectionPoint& point,
                                                                        bool hasIdentifier) const {
    if (hasIdentifier) {
        if (!point.pointIdentifier()) return -1;
        return nodesByIdentifier_.find(intersectionPointsArray_, *point.pointIdentifier());
    }
    return nodesByPosition_.find(intersectionPointsArray_, *positionKey(point));
}

int32_t InteractiveMapsServices::indexInPointsOfInterestArrayForObject(const PointOfInterestObject& object) const {
    auto key = pointOfInterestKey(object);
    return key ? pointsOfInterestByName_.find(pointsOfInterestArray_, *key) : -1;
}

int32_t InteractiveMapsServices::indexInRoomBeaconProximityArrayForObject(
    const RoomBeaconProximityObject& object) const {
    auto key = proximityKey(object);
    return key ? proximityByNames_.find(roomBeaconProximityArray_, *key) : -1;
}
