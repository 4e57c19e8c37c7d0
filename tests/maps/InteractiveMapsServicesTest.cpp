// The maps service's side of a floor-plan parse: what a run stores from the
// extension elements, the graph's node sharing and numbering, the distance
// matrix, and the collection switch around runs.
#include <gtest/gtest.h>

#include "maps/InteractiveMapsServices.h"
#include "svg/SVGTestSupport.h"
#include "svg/elements/SVGRectElement.h"
#include "svg/floorplan/SVGBeaconElement.h"
#include "svg/floorplan/SVGEdgeElement.h"
#include "svg/floorplan/SVGRoomBeaconProximityElement.h"

namespace {

using svg::testing::make;
using Attributes = std::map<std::string, std::string>;

void edge(const Attributes& attributes) { make<svg::SVGEdgeElement>("edge", attributes); }
void addBeacon(const Attributes& attributes) { make<svg::SVGBeaconElement>("beacon", attributes); }
void pair(const Attributes& attributes) { make<svg::SVGRoomBeaconProximityElement>("roomBeaconProximity", attributes); }
void room(const Attributes& attributes) { make<svg::SVGRectElement>("rect", attributes); }

// Two floors whose files hold beacons, edges, pairs and rooms.
void loadFloor(const InteractiveMapsServices::FloorPlanFile& file) {
    if (file.floorIdentifier == "F1") {
        addBeacon({{"id", "B1"}, {"major", "1"}, {"minor", "2"}});
        addBeacon({{"major", "3"}, {"minor", "4"}});
        edge({{"x1", "0"}, {"y1", "0"}, {"x2", "3"}, {"y2", "4"}, {"idStart", "R1"}, {"idEnd", "B1"}});
        edge({{"x1", "3"}, {"y1", "4"}, {"x2", "3"}, {"y2", "14"}, {"idStart", "other"}});
        edge({{"x1", "7"}, {"y1", "7"}, {"x2", "7"}, {"y2", "7"}});
        edge({{"x1", "3"}, {"y1", "14"}});
        pair({{"idBeacon", "B1"}, {"idRoom", "R1"}});
        pair({{"idBeacon", "B1"}, {"idRoom", "R1"}});
        pair({{"idBeacon", "B1"}});
        pair({{"idBeacon", "B1"}});
        room({{"id", "R1"}, {"isSelectable", "true"}, {"title", "Tea &#38; Coffee"}, {"type", "room"}});
        room({{"id", "R1"}, {"isSelectable", "true"}, {"title", "second"}});
        room({{"isSelectable", "false"}, {"isNavigatable", "False"}});
        room({{"isSelectable", "true"}});
    } else {
        addBeacon({{"id", "B1"}, {"major", "9"}});
        edge({{"x1", "0"}, {"y1", "0"}, {"x2", "3"}, {"y2", "4"}});
        pair({{"idBeacon", "B1"}, {"idRoom", "R1"}});
        room({{"id", "R1"}, {"isSelectable", "true"}});
    }
}

TEST(InteractiveMapsServicesTest, ParseRunFillsTheCollectionsFloorByFloor) {
    auto& maps = InteractiveMapsServices::instance();
    EXPECT_EQ(svg::SVGFloorPlanSink::registeredSink(), &maps);
    // Run twice: a second run starts from empty collections and id "1".
    for (int run = 0; run < 2; ++run) {
        maps.parseFloorPlans({{"F1", "f1.svg"}, {"F2", "f2.svg"}}, loadFloor);
        EXPECT_FALSE(maps.shouldConstructIntersectionPointsAndGraph());

        ASSERT_EQ(maps.allBeaconsOnMap().size(), 1u);
        const auto& b1 = *maps.allBeaconsOnMap().at("B1");
        EXPECT_TRUE(b1.major() == "9" && !b1.minor() && b1.floorIdentifier() == "F2");

        // F1: (0,0) (3,4) (3,14) (7,7); F2: (0,0) (3,4). An edge's missing end is
        // the origin, which F1 already has.
        const auto& nodes = maps.intersectionPointsArray();
        ASSERT_EQ(nodes.size(), 6u);
        for (size_t i = 0; i < nodes.size(); ++i) {
            EXPECT_EQ(nodes[i]->pointIdentifier(), std::to_string(i + 1));
            EXPECT_EQ(nodes[i]->indexInGraph(), int32_t(i));
            EXPECT_EQ(nodes[i]->floorIdentifier(), i < 4 ? "F1" : "F2");
        }
        EXPECT_EQ(nodes[0]->roomIdentifier(), "R1");
        EXPECT_EQ(nodes[1]->roomIdentifier(), "B1");
        EXPECT_FALSE(nodes[2]->roomIdentifier());
        EXPECT_EQ(nodes[4]->thePoint(), (graphics::Point{0, 0}));

        const auto& edges = maps.edgesArray();
        ASSERT_EQ(edges.size(), 5u);
        std::vector<std::pair<int32_t, int32_t>> ends;
        for (const auto& e : edges) ends.emplace_back(e->indexFromPoint(), e->indexToPoint());
        EXPECT_EQ(ends, (std::vector<std::pair<int32_t, int32_t>>{{0, 1}, {1, 2}, {3, 3}, {2, 0}, {4, 5}}));
        EXPECT_EQ(edges[0]->distanceBetweenPoints(), 5);
        EXPECT_EQ(edges[2]->distanceBetweenPoints(), 0);
        for (auto [from, to, distance] : {std::tuple(0, 1, 5.0), std::tuple(1, 2, 10.0), std::tuple(4, 5, 5.0)}) {
            EXPECT_EQ(maps.distanceFromPointIndex(from, to), distance);
            EXPECT_EQ(maps.distanceFromPointIndex(to, from), distance);
        }
        EXPECT_EQ(maps.distanceFromPointIndex(0, 4), 0);

        // The same pair once, across floors; a pair missing an id every time.
        const auto& pairs = maps.roomBeaconProximityArray();
        ASSERT_EQ(pairs.size(), 3u);
        EXPECT_EQ(pairs[0]->floorIdentifier(), "F1");
        EXPECT_FALSE(pairs[2]->idRoom());

        // The first R1 of a floor stands; rooms without id are all kept.
        const auto& points = maps.pointsOfInterestArray();
        ASSERT_EQ(points.size(), 4u);
        EXPECT_EQ(points[0]->title(), "Tea & Coffee");
        EXPECT_EQ(points[0]->type(), "room");
        EXPECT_TRUE(points[0]->isSelectable());
        EXPECT_FALSE(points[1]->identifier());
        EXPECT_FALSE(points[1]->isSelectable());
        EXPECT_TRUE(points[1]->isNavigateable());
        EXPECT_EQ(points[3]->identifier(), "R1");
        EXPECT_EQ(points[3]->floorIdentifier(), "F2");
    }

    // Parsing outside a run (for display) adds nothing.
    loadFloor({"F1", "f1.svg"});
    EXPECT_EQ(maps.edgesArray().size(), 5u);
    EXPECT_EQ(maps.intersectionPointsArray().size(), 6u);
    EXPECT_EQ(maps.pointsOfInterestArray().size(), 4u);
}

TEST(InteractiveMapsServicesTest, DistanceMatrixAndLookUps) {
    auto& maps = InteractiveMapsServices::instance();
    // Far more nodes than the fixed matrix of old held, all of them kept.
    maps.parseFloorPlans({{"F1", "big.svg"}}, [](const auto&) {
        for (int i = 0; i < 400; ++i) {
            edge({{"x1", std::to_string(i)}, {"x2", std::to_string(i)}, {"y2", std::to_string(1 + i % 3)}});
        }
    });
    ASSERT_EQ(maps.intersectionPointsArray().size(), 800u);
    EXPECT_EQ(maps.intersectionPointsArray().back()->pointIdentifier(), "800");
    EXPECT_EQ(maps.distanceFromPointIndex(798, 799), 1);
    EXPECT_EQ(maps.distanceFromPointIndex(799, 798), 1);
    EXPECT_EQ(maps.distanceFromPointIndex(4, 5), 3);
    maps.setDistance(7, 799, 800);
    maps.setDistance(7, -1, 0);
    EXPECT_EQ(maps.distanceFromPointIndex(799, 800), 0);
    EXPECT_EQ(maps.distanceFromPointIndex(0, -1), 0);

    auto extra = std::make_shared<IntersectionPoint>();
    maps.intersectionPointsArray().push_back(extra);
    maps.setDistance(2.5, 800, 0);
    EXPECT_EQ(maps.distanceFromPointIndex(0, 800), 2.5);
    EXPECT_EQ(maps.distanceFromPoint({1, 1}, {4, 5}), 5);

    IntersectionPoint probe;
    probe.setPointIdentifier("3");
    EXPECT_EQ(maps.indexInIntersectionPointsArrayForPoint(probe, true), 2);
    probe.setThePoint({1, 0});
    probe.setFloorIdentifier("F1");
    EXPECT_EQ(maps.indexInIntersectionPointsArrayForPoint(probe, false), 2);
    probe.setFloorIdentifier("F2");
    EXPECT_EQ(maps.indexInIntersectionPointsArrayForPoint(probe, false), -1);
    maps.pointsOfInterestArray().push_back(std::make_shared<PointOfInterestObject>());
    EXPECT_EQ(maps.indexInPointsOfInterestArrayForObject(PointOfInterestObject()), -1);

    // The look-ups follow changes made to the arrays directly.
    auto& nodes = maps.intersectionPointsArray();
    probe.setFloorIdentifier("F1");
    probe.setThePoint({-0.0, 0});
    EXPECT_EQ(maps.indexInIntersectionPointsArrayForPoint(probe, false), 0);
    nodes.erase(nodes.begin());
    EXPECT_EQ(maps.indexInIntersectionPointsArrayForPoint(probe, false), -1);
    probe.setThePoint({1, 0});
    EXPECT_EQ(maps.indexInIntersectionPointsArrayForPoint(probe, false), 1);
    nodes[1]->setThePoint({9, 9});
    EXPECT_EQ(maps.indexInIntersectionPointsArrayForPoint(probe, false), -1);
    probe.setPointIdentifier("4");
    EXPECT_EQ(maps.indexInIntersectionPointsArrayForPoint(probe, true), 2);
    nodes.clear();
    EXPECT_EQ(maps.indexInIntersectionPointsArrayForPoint(probe, true), -1);
    nodes.push_back(extra);
    extra->setPointIdentifier("4");
    EXPECT_EQ(maps.indexInIntersectionPointsArrayForPoint(probe, true), 0);

    RoomBeaconProximityObject pair;
    pair.setIdBeacon("B");
    pair.setIdRoom("R");
    EXPECT_EQ(maps.indexInRoomBeaconProximityArrayForObject(pair), -1);
    auto stored = std::make_shared<RoomBeaconProximityObject>();
    stored->setIdBeacon("B");
    stored->setIdRoom("R");
    stored->setFloorIdentifier("F9");
    maps.roomBeaconProximityArray().push_back(std::make_shared<RoomBeaconProximityObject>());
    maps.roomBeaconProximityArray().push_back(stored);
    EXPECT_EQ(maps.indexInRoomBeaconProximityArrayForObject(pair), 1);
}

}  // namespace
