// What the map screens read of the plans a parse run loaded: the points of
// interest and the graph nodes that name a room or beacon, and the floor of
// each beacon. The parse run copies them out at its end for the main thread,
// since the collections they come from belong to the parse queue; every
// clear of the maps' memory drops the copy.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "graphics/Geometry.h"

struct MapDisplayPointOfInterest {
    std::optional<std::string> identifier;
    std::optional<std::string> floorIdentifier;
    std::optional<std::string> idRoom;
    std::optional<std::string> title;
};

struct MapDisplayNode {
    std::string roomIdentifier;
    std::optional<std::string> floorIdentifier;
    graphics::Point position;
};

struct MapDisplayData {
    std::vector<MapDisplayPointOfInterest> pointsOfInterest;
    // Only the nodes an edge end named by its room or beacon id.
    std::vector<MapDisplayNode> namedNodes;
    // Beacon id to its floor.
    std::map<std::string, std::optional<std::string>> beaconFloors;

    // The first point of interest of the room; null when none.
    const MapDisplayPointOfInterest* pointOfInterestForRoom(const std::string& roomId) const;
    // The first node named by the id on the floor; null when none.
    const MapDisplayNode* nodeNamed(const std::string& roomIdentifier, const std::optional<std::string>& floor) const;
};
