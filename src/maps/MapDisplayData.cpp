#include "maps/MapDisplayData.h"

const MapDisplayPointOfInterest* MapDisplayData::pointOfInterestForRoom(const std::string& roomId) const {
    for (const auto& point : pointsOfInterest)
        if (point.idRoom == roomId) return &point;
    return nullptr;
}

const MapDisplayNode* MapDisplayData::nodeNamed(const std::string& roomIdentifier,
                                                const std::optional<std::string>& floor) const {
    for (const auto& node : namedNodes)
        if (node.roomIdentifier == roomIdentifier && node.floorIdentifier == floor) return &node;
    return nullptr;
}
