// Where the floor-plan extensions hand what they read: beacons, the walkable
// graph, beacon-to-room pairs and points of interest. The maps service
// implements it and registers itself; the library knows nothing else of the
// service. Everything handed over is stamped by the sink with the floor whose
// file is being parsed.
//
// The sink is called on the parsing thread, one file at a time, without locks.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "graphics/Geometry.h"

namespace svg {

struct SVGFloorPlanBeacon {
    std::string beaconIdentifier;
    std::optional<std::string> major;
    std::optional<std::string> minor;
};

// A node of the walkable graph: its row in the distance matrix and its id.
struct SVGFloorPlanNode {
    int32_t indexInGraph = -1;
    std::string pointIdentifier;
    graphics::Point position;
};

struct SVGFloorPlanRoomBeaconProximity {
    std::optional<std::string> idBeacon;
    std::optional<std::string> idRoom;
};

struct SVGFloorPlanPointOfInterest {
    std::optional<std::string> identifier;
    std::optional<std::string> type;
    std::optional<std::string> idRoom;
    std::optional<std::string> categoryName;
    std::optional<std::string> title;
    bool isSelectable = false;
    bool isInDestinationList = false;
    bool isNavigateable = false;
};

class SVGFloorPlanSink {
public:
    virtual ~SVGFloorPlanSink() = default;

    // The collection switch: while it is off, the extensions hand nothing over.
    virtual bool shouldConstructIntersectionPointsAndGraph() const = 0;

    // Replaces any beacon stored under the same id, whatever its floor.
    virtual void addBeacon(const SVGFloorPlanBeacon& beacon) = 0;
    // The node at exactly this position on the current floor, made (with the
    // room id, when given) if there is none yet; an existing node keeps the
    // room id it was made with.
    virtual SVGFloorPlanNode nodeAtPosition(graphics::Point position,
                                            const std::optional<std::string>& roomIdentifier) = 0;
    // An undirected edge between two nodes, weighted by their distance.
    virtual void addEdge(const SVGFloorPlanNode& from, const SVGFloorPlanNode& to) = 0;
    // Stored once per beacon and room, across floors; a pair missing either
    // id is stored every time.
    virtual void addRoomBeaconProximity(const SVGFloorPlanRoomBeaconProximity& pair) = 0;
    // The first point of interest with an id on a floor stands; one without
    // an id is always stored.
    virtual void addPointOfInterest(const SVGFloorPlanPointOfInterest& pointOfInterest) = 0;

    // The registered sink must outlive its registration; null unregisters.
    static void registerSink(SVGFloorPlanSink* sink);
    // Null while none is registered, which collects nothing.
    static SVGFloorPlanSink* registeredSink();
    // The registered sink while it collects, else null; null on a thread
    // inside a CollectingNothing scope.
    static SVGFloorPlanSink* collectingSink();

    // While one lives, parses on its thread hand nothing over: a file parsed
    // only to see whether it is a floor plan (a download being judged) adds
    // nothing to a parse run that may be collecting on another thread.
    class CollectingNothing {
    public:
        CollectingNothing();
        ~CollectingNothing();
        CollectingNothing(const CollectingNothing&) = delete;
        CollectingNothing& operator=(const CollectingNothing&) = delete;
    };
};

}  // namespace svg
