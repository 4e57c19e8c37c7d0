// What the floor-plan extensions read and hand to the sink, and what they
// leave alone: the generic attribute step, layers, and everything while no
// sink collects. How the maps service stores it is tested with the service.
#include <gtest/gtest.h>

#include <vector>

#include "svg/SVGTestSupport.h"
#include "svg/elements/SVGRectElement.h"
#include "svg/floorplan/SVGBeaconElement.h"
#include "svg/floorplan/SVGEdgeElement.h"
#include "svg/floorplan/SVGFloorPlanSink.h"
#include "svg/floorplan/SVGRoomBeaconProximityElement.h"
#include "svg/floorplan/SVGStairsElement.h"

namespace svg {
namespace {

using svg::testing::make;

// Numbers nodes in the order asked, one per call.
class RecordingSink : public SVGFloorPlanSink {
public:
    bool collecting = true;
    std::vector<SVGFloorPlanBeacon> beacons;
    std::vector<std::pair<graphics::Point, std::optional<std::string>>> nodes;
    std::vector<std::pair<int32_t, int32_t>> edges;
    std::vector<SVGFloorPlanRoomBeaconProximity> pairs;
    std::vector<SVGFloorPlanPointOfInterest> pointsOfInterest;

    bool shouldConstructIntersectionPointsAndGraph() const override { return collecting; }
    void addBeacon(const SVGFloorPlanBeacon& beacon) override { beacons.push_back(beacon); }
    SVGFloorPlanNode nodeAtPosition(graphics::Point position, const std::optional<std::string>& room) override {
        nodes.emplace_back(position, room);
        auto index = int32_t(nodes.size() - 1);
        return {index, "n" + std::to_string(index), position};
    }
    void addEdge(const SVGFloorPlanNode& from, const SVGFloorPlanNode& to) override {
        edges.emplace_back(from.indexInGraph, to.indexInGraph);
    }
    void addRoomBeaconProximity(const SVGFloorPlanRoomBeaconProximity& pair) override { pairs.push_back(pair); }
    void addPointOfInterest(const SVGFloorPlanPointOfInterest& point) override { pointsOfInterest.push_back(point); }
};

TEST(FloorPlanTest, ExtensionElementsHandTheirAttributesToTheSink) {
    RecordingSink sink;
    SVGFloorPlanSink::registerSink(&sink);

    auto beacon = make<SVGBeaconElement>("beacon", {{"id", "B1"}, {"major", "007"}, {"style", "fill:red"},
                                                    {"isSelectable", "true"}, {"transform", "scale(2)"}});
    make<SVGBeaconElement>("beacon", {{"major", "1"}, {"minor", "2"}});
    make<SVGBeaconElement>("beacon", {{"id", ""}});
    ASSERT_EQ(sink.beacons.size(), 1u);
    EXPECT_TRUE(sink.beacons[0].beaconIdentifier == "B1" && sink.beacons[0].major == "007" && !sink.beacons[0].minor);
    // No generic step: no id, style, transform or point of interest.
    EXPECT_FALSE(beacon->identifier() || beacon->style() || beacon->isSelectable());
    EXPECT_TRUE(beacon->transform().isIdentity());
    EXPECT_FALSE(beacon->newLayer());

    auto edge = make<SVGEdgeElement>("edge", {{"x1", "10.5px"}, {"y1", "abc"}, {"idStart", "R1"}, {"idEnd", ""}});
    using EdgeEnd = std::pair<graphics::Point, std::optional<std::string>>;
    EXPECT_EQ(sink.nodes, (std::vector<EdgeEnd>{{{10.5, 0}, "R1"}, {{0, 0}, std::nullopt}}));
    EXPECT_EQ(sink.edges, (std::vector<std::pair<int32_t, int32_t>>{{0, 1}}));
    EXPECT_EQ(edge->identifier(), "n0_n1");
    EXPECT_FALSE(edge->newLayer());

    make<SVGRoomBeaconProximityElement>("roomBeaconProximity", {{"idBeacon", "B1"}});
    ASSERT_EQ(sink.pairs.size(), 1u);
    EXPECT_TRUE(sink.pairs[0].idBeacon == "B1" && !sink.pairs[0].idRoom);
    auto stairs = make<SVGStairsElement>("stairs", {{"id", "S"}, {"isSelectable", "true"}});
    EXPECT_FALSE(stairs->identifier() || stairs->newLayer());
    EXPECT_TRUE(sink.pointsOfInterest.empty());
    SVGFloorPlanSink::registerSink(nullptr);
}

TEST(FloorPlanTest, PointsOfInterestComeFromAnyElementWhileCollecting) {
    RecordingSink sink;
    SVGFloorPlanSink::registerSink(&sink);
    auto room = make<SVGRectElement>("rect", {{"id", "R1"}, {"isSelectable", "False"}, {"categoryName", "Meeting"},
                                              {"title", "Tea &#38; more"}, {"isInDestinationList", "false"}});
    make<SVGRectElement>("rect", {{"isSelectable", "false"}, {"isInDestinationList", "yes"}});
    auto unselectable = make<SVGRectElement>("rect", {{"isSelectable", ""}, {"type", "lift"}});
    ASSERT_EQ(sink.pointsOfInterest.size(), 2u);
    const auto& first = sink.pointsOfInterest[0];
    EXPECT_TRUE(first.identifier == "R1" && first.categoryName == "Meeting" && first.title == "Tea & more");
    EXPECT_EQ(room->getAttribute("title"), "Tea &#38; more");
    EXPECT_TRUE(first.isSelectable && !first.isInDestinationList);
    EXPECT_TRUE(!sink.pointsOfInterest[1].isSelectable && sink.pointsOfInterest[1].isInDestinationList);
    EXPECT_FALSE(unselectable->isSelectable());
    EXPECT_EQ(unselectable->pointOfInterestType(), "lift");

    // Without collection nothing is handed over, but the element keeps its
    // texts for the layer keys.
    sink.collecting = false;
    auto quiet = make<SVGRectElement>("rect", {{"isSelectable", "true"}, {"type", "stairs"}, {"idRoom", "L7"}});
    make<SVGBeaconElement>("beacon", {{"id", "B2"}});
    make<SVGEdgeElement>("edge", {{"x1", "1"}});
    make<SVGRoomBeaconProximityElement>("roomBeaconProximity", {{"idBeacon", "B1"}, {"idRoom", "R1"}});
    EXPECT_EQ(sink.pointsOfInterest.size(), 2u);
    EXPECT_TRUE(sink.beacons.empty() && sink.nodes.empty() && sink.pairs.empty());
    EXPECT_EQ(quiet->isSelectable(), "true");
    EXPECT_EQ(quiet->idRoom(), "L7");
    SVGFloorPlanSink::registerSink(nullptr);
}

}  // namespace
}  // namespace svg
