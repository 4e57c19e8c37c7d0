// The parse of an event's downloaded floor plans: real files through the
// image cache on the parse queue, one run filling the maps service's
// collections, and floor plans whose rooms the map screens can find.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "foundation/ApplicationHome.h"
#include "foundation/RunLoop.h"
#include "foundation/Thread.h"
#include "graphics/ShapeLayer.h"
#include "maps/InteractiveMapsServices.h"
#include "svg/floorplan/SVGMapFolder.h"
#include "svg/dom/Element.h"
#include "svg/dom/SVGDocument.h"
#include "svg/image/SVGXImage.h"
#include "svg/layers/SVGHelperUtilities.h"
#include "svg/sources/SVGXSourceString.h"

namespace {

namespace fs = std::filesystem;

const char* kFirstFloor = R"svg(<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="800" height="600" viewBox="0 0 800 600">
  <style>.room{fill:#cccccc;stroke:#333333}</style>
  <g id="wingA" transform="translate(100,50)">
    <rect id="R101" class="room" x="10" y="20" width="80" height="40" isSelectable="true" type="room"
          idRoom="L101" categoryName="Meeting" title="Room 101"/>
    <path id="R102" class="room" d="M100 20 H180 V60 H100 Z" isSelectable="true" type="room"
          title="Tea &#38; Coffee" isInDestinationList="true" isNavigatable="true"/>
    <text x="20" y="45" font-size="10">Room 101</text>
  </g>
  <rect id="WC1" x="400" y="300" width="30" height="30" isSelectable="false" type="restroom"/>
  <beacon id="B1" major="1" minor="11"/>
  <beacon id="B2" major="1" minor="12"/>
  <edge x1="150" y1="90" x2="250" y2="90" idStart="R101"/>
  <edge x1="250" y1="90" x2="250" y2="190" idEnd="WC1"/>
  <roomBeaconProximity idBeacon="B1" idRoom="R101"/>
  <roomBeaconProximity idBeacon="B2" idRoom="R102"/>
</svg>)svg";

const char* kSecondFloor = R"svg(<svg xmlns="http://www.w3.org/2000/svg" width="800" height="600">
  <g id="wingB"><rect id="R201" x="0" y="0" width="50" height="50" isSelectable="true" type="room"/></g>
  <beacon id="B3" major="2" minor="21"/>
  <edge x1="0" y1="0" x2="30" y2="40"/>
  <roomBeaconProximity idBeacon="B3" idRoom="R201"/>
  <roomBeaconProximity idBeacon="B1" idRoom="R101"/>
</svg>)svg";

// The event's map folder under the caches folder; remembers the queue that
// asked for a file.
class EventMapFolder : public svg::SVGMapFolder {
public:
    mutable std::vector<std::string> askingQueues;

    std::optional<std::string> pathOfMapFolderFile(const std::string&) const override { return std::nullopt; }
    std::optional<std::string> pathOfMapFile(const std::string& fileName, const std::string& authToken,
                                             const std::string& eventId) const override {
        auto queue = dispatch::Queue::current();
        askingQueues.push_back(queue ? queue->label() : "");
        return (folder(authToken, eventId) / fileName).string();
    }
    static fs::path folder(const std::string& authToken, const std::string& eventId) {
        fs::path path = fs::path(foundation::ApplicationHome::cachesDirectory()) / "imaps" / authToken / eventId;
        fs::create_directories(path);
        return path;
    }
};

foundation::ErrorPtr parseAndWait(const std::vector<InteractiveMapsServices::FloorPlanFile>& floors) {
    bool done = false, onMainThread = false;
    foundation::ErrorPtr result;
    InteractiveMapsServices::instance().parseDownloadedInteractiveMapsForAuthCode(
        "token", "42", floors, [&](const foundation::ErrorPtr& error) {
            result = error;
            onMainThread = foundation::isMainThread();
            done = true;
        });
    EXPECT_TRUE(foundation::RunLoop::main().runUntil([&] { return done; }, 30));
    EXPECT_TRUE(onMainThread);
    return result;
}

TEST(InteractiveMapsParseTest, DownloadedFloorPlansParseAsOneRun) {
    EventMapFolder folder;
    svg::SVGMapFolder::registerMapFolder(&folder);
    std::ofstream(EventMapFolder::folder("token", "42") / "f1.svg") << kFirstFloor;
    std::ofstream(EventMapFolder::folder("token", "42") / "f2.svg") << kSecondFloor;
    auto& maps = InteractiveMapsServices::instance();

    EXPECT_FALSE(parseAndWait({{"F1", "f1.svg"}, {"F2", "f2.svg"}}));
    EXPECT_EQ(folder.askingQueues, (std::vector<std::string>{"parse.imaps.queue", "parse.imaps.queue"}));

    ASSERT_EQ(maps.allBeaconsOnMap().size(), 3u);
    EXPECT_EQ(maps.allBeaconsOnMap().at("B2")->minor(), "12");
    EXPECT_EQ(maps.allBeaconsOnMap().at("B3")->floorIdentifier(), "F2");
    const auto& nodes = maps.intersectionPointsArray();
    ASSERT_EQ(nodes.size(), 5u);
    EXPECT_EQ(nodes[0]->roomIdentifier(), "R101");
    EXPECT_EQ(nodes[2]->roomIdentifier(), "WC1");
    EXPECT_EQ(nodes[4]->pointIdentifier(), "5");
    EXPECT_EQ(nodes[4]->floorIdentifier(), "F2");
    ASSERT_EQ(maps.edgesArray().size(), 3u);
    EXPECT_EQ(maps.distanceFromPointIndex(1, 2), 100);
    EXPECT_EQ(maps.distanceFromPointIndex(4, 3), 50);
    ASSERT_EQ(maps.roomBeaconProximityArray().size(), 3u);
    EXPECT_EQ(maps.roomBeaconProximityArray()[2]->idRoom(), "R201");
    const auto& points = maps.pointsOfInterestArray();
    ASSERT_EQ(points.size(), 4u);
    EXPECT_TRUE(points[0]->identifier() == "R101" && points[0]->idRoom() == "L101" &&
                points[0]->categoryName() == "Meeting");
    EXPECT_TRUE(points[1]->title() == "Tea & Coffee" && points[1]->isInDestinationList() &&
                points[1]->isNavigateable());
    EXPECT_TRUE(points[2]->type() == "restroom" && !points[2]->isSelectable());
    EXPECT_EQ(points[3]->floorIdentifier(), "F2");

    // The floor plans wait in the cache for the map screens.
    auto first = svg::SVGXImage::imageNamed("f1.svg", "token", "42");
    ASSERT_TRUE(first);
    EXPECT_EQ(svg::SVGXImage::cacheLineNamed("f1.svg")->numberOfInstances(), 1);
    EXPECT_TRUE(first->parseErrorsAndWarnings()->errorsFatal().empty());
    for (const char* room : {"R101", "R102", "WC1"}) {
        auto layer = first->layerWithIdentifier(room);
        ASSERT_TRUE(std::dynamic_pointer_cast<graphics::ShapeLayer>(layer)) << room;
        EXPECT_TRUE(layer->valueForKey(svg::kSVGElementIsSelectableKey).isString());
    }
    EXPECT_EQ(first->layerWithIdentifier("R101")->valueForKey(svg::kSVGElementPointOfInterestTypeKey),
              foundation::Value("room"));
    EXPECT_TRUE(svg::SVGXImage::imageNamed("f2.svg", "token", "42")->layerWithIdentifier("R201"));
    auto red = graphics::Color::rgb(1, 0, 0);
    auto copy = std::dynamic_pointer_cast<graphics::ShapeLayer>(
        first->newCopyPositionedAbsoluteLayerWithIdentifier("R101", red));
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->frame(), graphics::Rect(110, 70, 80, 40));
    EXPECT_EQ(copy->fillColor(), red);
    // The parse emptied the cache first: a later run loads the files again.
    fs::remove(EventMapFolder::folder("token", "42") / "f2.svg");
    auto error = parseAndWait({{"F1", "f1.svg"}, {"F2", "f2.svg"}});
    ASSERT_TRUE(error);
    EXPECT_NE(error->localizedDescription().find("f2.svg"), std::string::npos);
    EXPECT_NE(svg::SVGXImage::imageNamed("f1.svg", "token", "42"), first);
    EXPECT_EQ(maps.allBeaconsOnMap().size(), 2u);
    svg::SVGMapFolder::registerMapFolder(nullptr);
}

TEST(InteractiveMapsParseTest, RasterBackgroundsAreKeptButNotParsed) {
    EventMapFolder folder;
    svg::SVGMapFolder::registerMapFolder(&folder);
    const auto dir = EventMapFolder::folder("token", "42");
    std::ofstream(dir / "f1.svg") << kFirstFloor;
    std::ofstream(dir / "hall.PNG", std::ios::binary) << "not even an image";
    // Known by its first bytes only.
    std::ofstream(dir / "level1-background", std::ios::binary) << "\xff\xd8\xff\xe0 JFIF";
    std::ofstream(dir / "level2-background", std::ios::binary) << "\x89PNG\r\n\x1a\n....";

    EXPECT_FALSE(parseAndWait({{"F1", "hall.PNG"}, {"F1", "f1.svg"}, {"F1", "level1-background"},
                               {"F2", "level2-background"}}));
    EXPECT_EQ(InteractiveMapsServices::instance().allBeaconsOnMap().size(), 2u);
    for (const char* name : {"hall.PNG", "level1-background", "level2-background"})
        EXPECT_TRUE(fs::exists(dir / name)) << name;
    svg::SVGMapFolder::registerMapFolder(nullptr);
}

TEST(InteractiveMapsParseTest, EscapedAmpersandsArriveDecodedOnce) {
    // "&amp;" is the file escaping an ampersand once; "&amp;#38;" is a title
    // escaped for the web before it was written as XML.
    const char* plan = R"svg(<svg xmlns="http://www.w3.org/2000/svg" width="100" height="100">
  <rect id="R&amp;D" x="0" y="0" width="10" height="10" isSelectable="true" categoryName="Food &amp; Drink"
        idRoom="L&#38;1" title="Tea &amp; Coffee"/>
  <rect id="R2" x="20" y="0" width="10" height="10" isSelectable="true" title="Bread &amp;#38; Butter"/>
  <rect id="R3" x="40" y="0" width="10" height="10" isSelectable="true" title="&lt;Lab&gt; &amp;amp; more"/>
</svg>)svg";
    auto& maps = InteractiveMapsServices::instance();
    std::shared_ptr<svg::SVGXImage> image;
    maps.parseFloorPlans({{"F1", "plan.svg"}}, [&](const auto&) {
        image = svg::SVGXImage::imageWithSource(svg::SVGXSourceString::sourceFromContentsOfString(plan));
    });
    ASSERT_TRUE(image);
    const auto& points = maps.pointsOfInterestArray();
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[0]->identifier(), "R&D");
    EXPECT_EQ(points[0]->categoryName(), "Food & Drink");
    EXPECT_EQ(points[0]->idRoom(), "L&1");
    EXPECT_EQ(points[0]->title(), "Tea & Coffee");
    EXPECT_EQ(points[1]->title(), "Bread & Butter");
    // Only the ampersand's own escape is undone a second time.
    EXPECT_EQ(points[2]->title(), "<Lab> &amp; more");
    EXPECT_TRUE(image->layerWithIdentifier("R&D"));
    EXPECT_EQ(image->DOMDocument()->getElementById("R2")->getAttribute("title"), "Bread &#38; Butter");
}

}  // namespace
