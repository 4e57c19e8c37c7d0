// The map screens and the location details as the app reaches them: the
// indoor map at a room, at a beacon position and on its default level, its
// waiting for the maps, the outdoor map, a room's and a venue's details with
// their sessions and their way to a map, on the phone and on the pad.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "Utils/Utils.h"
#include "app/ShellTestSupport.h"
#include "coredata/FetchRequest.h"
#include "coredata/Predicate.h"
#include "foundation/Data.h"
#include "foundation/JSONSerialization.h"
#include "foundation/NotificationCenter.h"
#include "lists/DetailsNavigationController.h"
#include "maps/InteractiveMapsDetailsViewController.h"
#include "maps/InteractiveMapsNotifications.h"
#include "maps/InteractiveMapsServices.h"
#include "maps/LocationDetailsViewController.h"
#include "maps/LocationSessionsListDelegate.h"
#include "maps/OutsideMapsViewController.h"
#include "maps/VenuePlaneView.h"
#include "model/QVAVenue.h"
#include "programme/ListSessionsBaseViewController.h"
#include "programme/SpotlightViewController.h"
#include "svg/image/SVGXImage.h"
#include "svg/views/SVGXFastImageView.h"
#include "uikit/ScreenDescription.h"
#include "uikit/UIImage.h"
#include "uikit/UINavigationBar.h"
#include "uikit/UINavigationController.h"
#include "uikit/UILabel.h"
#include "uikit/UIPopoverController.h"
#include "uikit/UISegmentedControl.h"
#include "uikit/UITableView.h"

namespace {

constexpr const char* kMapsToken = "maps-token";
constexpr const char* kMapsEvent = "42";

constexpr const char* kGroundPlan = R"svg(<svg xmlns="http://www.w3.org/2000/svg" width="400" height="300">
  <rect id="R101" x="20" y="20" width="100" height="100" isSelectable="true" type="room" idRoom="LOC-101" title="Room 101"/>
</svg>)svg";
constexpr const char* kFirstPlan = R"svg(<svg xmlns="http://www.w3.org/2000/svg" width="400" height="300">
  <rect id="R102" x="200" y="20" width="100" height="120" isSelectable="true" type="room" idRoom="LOC-102" title="Room 102"/>
  <beacon id="B1" major="1" minor="1"/>
  <edge x1="40" y1="160" x2="250" y2="160" idStart="B1" idEnd="R102"/>
</svg>)svg";

class MapScreensTest : public shelltest::ShellTest {
protected:
    InteractiveMapsServices& maps = InteractiveMapsServices::instance();

    void SetUp() override {
        ShellTest::SetUp();
        openCurrent(kMapsToken, kMapsEvent);
        clearMapsMemory();
        storeMeeting();
    }
    void TearDown() override {
        clearMapsMemory();
        ShellTest::TearDown();
    }

    void clearMapsMemory() {
        bool cleared = false;
        maps.clearInMemoryResources([&] { cleared = true; });
        ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return cleared; }, 30));
        settings.setCurrentEventIsDownloadingOrParsingIMaps(false);
        std::filesystem::remove_all(Utils::cacheImapsDirectory());
    }
    void writeMapFile(const std::string& name, const std::string& contents) {
        const auto path = Utils::cacheImapsUrlStringForFileName(name, kMapsToken, kMapsEvent);
        ASSERT_TRUE(path);
        std::filesystem::create_directories(std::filesystem::path(*path).parent_path());
        std::ofstream(*path) << contents;
    }
    // The primary venue with a default ground floor and a first floor whose
    // PNG background is linked before its plan; a hotel without levels;
    // two rooms in each, and sessions over two days.
    void storeMeeting() {
        auto venues = foundation::JSONSerialization::JSONObjectWithData(foundation::Data::fromString(
            R"([{"id":"v1","name":"Main Hall","primary":true,"latitude":46.2227,"longitude":6.1372,"floorLevels":[)"
            R"({"name":"Ground","level":0,"default":true,"interactive_maps":[{"href":"http://127.0.0.1:1/g.svg","rel":"g.svg"}]},)"
            R"({"name":"First","level":1,"interactive_maps":[{"href":"http://127.0.0.1:1/f1-bg.png","rel":"f1-bg.png"},)"
            R"({"href":"http://127.0.0.1:1/f1.svg","rel":"f1.svg"}]}]},)"
            R"({"id":"v2","name":"Lakeside","primary":false,"latitude":46.2101,"longitude":6.151}])"));
        std::vector<foundation::ObjectPtr> models;
        for (const auto& venue : *venues.array()) models.push_back(QVAVenue::initWithDictionary(venue));
        auto written = await([&](auto done) {
            store.addItemsToCoreData(models, EntityClass::named("QVACoreDataVenue"), kMapsToken, std::string(kMapsEvent),
                                     done);
        });
        ASSERT_EQ(written.error, nullptr);
        using foundation::Value;
        insert(kMapsToken, "QVACoreDataRoom",
               {{{"itemId", Value("LOC-101")}, {"name", Value("Room 101")}, {"venueId", Value("v1")}},
                {{"itemId", Value("LOC-102")}, {"name", Value("Room 102")}, {"venueId", Value("v1")}},
                {{"itemId", Value("H1")}, {"name", Value("Salon")}, {"venueId", Value("v2")}},
                {{"itemId", Value("H2")}, {"name", Value("Terrace")}, {"venueId", Value("v2")}}});
        insert(kMapsToken, "QVACoreDataSession",
               {{{"itemId", Value("s1")}, {"roomId", Value("H1")}, {"startDateString", Value("2015-03-10")}},
                {{"itemId", Value("s2")}, {"roomId", Value("H1")}, {"startDateString", Value("2015-03-11")}},
                {{"itemId", Value("s3")}, {"roomId", Value("H2")}, {"startDateString", Value("2015-03-10")}},
                {{"itemId", Value("s4")}, {"roomId", Value("LOC-102")}, {"startDateString", Value("2015-03-10")}}});
        writeMapFiles();
    }
    void writeMapFiles() {
        writeMapFile("g.svg", kGroundPlan);
        writeMapFile("f1.svg", kFirstPlan);
        writeMapFile("f1-bg.png", "\x89PNG\r\n\x1a\n");
    }
    void mapsInMemory() {
        EXPECT_FALSE(maps.canAccessInteractiveMaps());
        ASSERT_TRUE(foundation::RunLoop::main().runUntil(
            [&] { return !settings.currentEventIsDownloadingOrParsingIMaps(); }, 30));
        ASSERT_TRUE(settings.currentEventHasIMapsLoadedInMemory());
    }
    std::shared_ptr<uikit::UIViewController> home() {
        if (!root()) launch();
        return rootOfTab<SpotlightViewController>(0);
    }
    uikit::UIViewControllerPtr top() {
        auto navigation = std::dynamic_pointer_cast<uikit::UINavigationController>(tabBar()->selectedViewController());
        return navigation ? navigation->topViewController() : nullptr;
    }
    std::shared_ptr<InteractiveMapsDetailsViewController> openIndoorMap(const std::optional<std::string>& room,
                                                                        bool hasPosition = false) {
        auto map = InteractiveMapsDetailsViewController::navigateFromController(home(), 0, room, false, hasPosition);
        settle();
        EXPECT_EQ(top(), map);
        return map;
    }
    std::shared_ptr<LocationDetailsViewController> openDetails(const std::string& entity, const std::string& id) {
        auto details = LocationDetailsViewController::navigateFromController(home(), 0, entity, id);
        settle();
        return details;
    }
    std::vector<std::string> sessionIdsFor(LocationSessionsListDelegate& delegate) {
        auto request = std::make_shared<coredata::FetchRequest>("QVACoreDataSession");
        request->setPredicate(*delegate.fetchPredicate());
        request->setSortDescriptors({coredata::SortDescriptor("itemId", true)});
        std::vector<std::string> ids;
        for (const auto& row : store.executeFetchRequestAndWait(
                 request, store.getCoreDataStackForAuthToken(kMapsToken, kMapsEvent)->managedObjectContextMainQueue()))
            ids.push_back(coredata::valueForKey(row, "itemId").stringValue());
        return ids;
    }
    void pushNavigationRow(LocationDetailsViewController& details, size_t row) {
        details.pushNavigationWithDetailsDataModel(details.rows().at(row));
        settle();
    }
    static std::string rowTitle(LocationDetailsViewController& details, size_t row) {
        return details.rows().at(row)->cellTitle.value_or("");
    }
};

TEST_F(MapScreensTest, ARoomOfThePrimaryVenueOpensOnItsFloorHighlighted) {
    mapsInMemory();
    auto map = openIndoorMap(std::string("LOC-102"));
    ASSERT_TRUE(map && map->shownFloorIndex());
    // The background linked beside the first floor's plan is not a floor.
    ASSERT_EQ(map->floors().size(), 2u);
    EXPECT_EQ(map->floors()[1].fileName, "f1.svg");
    EXPECT_EQ(map->floors()[*map->shownFloorIndex()].identifier, "1");
    EXPECT_EQ(map->highlightedRoomIdentifier(), std::optional<std::string>("R102"));
    EXPECT_EQ(map->highlightedRoomFrame(), std::optional<graphics::Rect>(graphics::Rect(200, 20, 100, 120)));
    EXPECT_EQ(map->title(), std::optional<std::string>("Room 102"));
    EXPECT_EQ(map->planView()->image(), svg::SVGXImage::imageNamed("f1.svg", kMapsToken, kMapsEvent));
    EXPECT_EQ(map->floorSelector()->selectedSegmentIndex(), 1);
}

TEST_F(MapScreensTest, ABeaconPositionChoosesItsFloorAndIsMarkedOnIt) {
    mapsInMemory();
    maps.setCurrentBeaconIdentifierGlobal("B1");
    auto map = openIndoorMap(std::nullopt, true);
    ASSERT_TRUE(map && map->shownFloorIndex());
    EXPECT_EQ(map->floors()[*map->shownFloorIndex()].identifier, "1");
    EXPECT_EQ(map->positionMark(), std::optional<graphics::Point>(graphics::Point{40, 160}));
    EXPECT_EQ(map->highlightedRoomIdentifier(), std::nullopt);
    EXPECT_EQ(map->title(), std::optional<std::string>("First"));
}

TEST_F(MapScreensTest, WithoutRoomOrPositionTheDefaultLevelShowsAndTheSelectorChangesFloor) {
    mapsInMemory();
    maps.setCurrentBeaconIdentifierGlobal("B1");
    auto map = openIndoorMap(std::nullopt);
    ASSERT_TRUE(map && map->shownFloorIndex());
    EXPECT_EQ(*map->shownFloorIndex(), 0u);
    EXPECT_EQ(map->positionMark(), std::nullopt);  // the beacon is on the other floor

    ASSERT_TRUE(map->floorSelector()->tapSegmentAtIndex(1));
    settle();
    EXPECT_EQ(map->shownFloorIndex(), std::optional<size_t>(1));
    EXPECT_EQ(map->highlightedRoomIdentifier(), std::nullopt);
    EXPECT_EQ(map->planView()->image(), svg::SVGXImage::imageNamed("f1.svg", kMapsToken, kMapsEvent));
    EXPECT_EQ(map->positionMark(), std::optional<graphics::Point>(graphics::Point{40, 160}));
}

TEST_F(MapScreensTest, BeforeTheMapsAreInMemoryItWaitsForEitherNotification) {
    mapsInMemory();
    settings.setCurrentEventHasIMapsLoadedInMemory(false);
    settings.setCurrentEventIsDownloadingOrParsingIMaps(true);
    auto map = openIndoorMap(std::string("LOC-102"));
    ASSERT_TRUE(map);
    EXPECT_TRUE(map->isWaitingForMaps());
    EXPECT_NE(map->loadingView(), nullptr);
    EXPECT_EQ(map->shownFloorIndex(), std::nullopt);

    settings.setCurrentEventIsDownloadingOrParsingIMaps(false);
    settings.setCurrentEventHasIMapsLoadedInMemory(true);
    std::thread([] {
        foundation::NotificationCenter::defaultCenter().postNotificationName(
            InteractiveMapsNotifications::kInteractiveMapsLoadedNotification);
    }).join();
    settle();
    EXPECT_FALSE(map->isWaitingForMaps());
    EXPECT_EQ(map->loadingView(), nullptr);
    EXPECT_EQ(map->highlightedRoomIdentifier(), std::optional<std::string>("R102"));

    // A second screen waits again, and a failure leaves it the text.
    settings.setCurrentEventHasIMapsLoadedInMemory(false);
    settings.setCurrentEventIsDownloadingOrParsingIMaps(true);
    auto failed = openIndoorMap(std::nullopt);
    settings.setCurrentEventIsDownloadingOrParsingIMaps(false);
    foundation::NotificationCenter::defaultCenter().postNotificationName(
        InteractiveMapsNotifications::kInteractiveMapsFailedNotification);
    settle();
    EXPECT_EQ(failed->loadingView(), nullptr);
    ASSERT_TRUE(failed->noResultsLabel());
    EXPECT_EQ(failed->noResultsLabel()->text(),
              std::optional<std::string>(InteractiveMapsDetailsViewController::kMapsNotAvailableText));
    EXPECT_EQ(failed->shownFloorIndex(), std::nullopt);
}

TEST_F(MapScreensTest, AfterEachClearAPlanLoadedAgainStoresNothing) {
    const std::vector<std::function<void()>> clears = {
        [&] { maps.clearAllImapsResourcesAndDataOnLogoutOrSwitchUser(); },
        [&] { maps.clearInMemoryResourcesOnMeetingChange(); },
        [&] { maps.clearInMemoryResourcesOnClearCacheAndReloadContent(); }};
    for (size_t i = 0; i < clears.size(); ++i) {
        SCOPED_TRACE(i);
        writeMapFiles();
        mapsInMemory();
        ASSERT_FALSE(maps.pointsOfInterestArray().empty());
        clears[i]();
        // Drains the clear on the parse queue.
        InteractiveMapsServices::parseQueue()->sync([] {});
        writeMapFiles();
        // The screen trusts the flag while the image cache has been purged.
        settings.setCurrentEventHasIMapsLoadedInMemory(true);
        uikit::UIApplication::sharedApplication().simulateMemoryWarning();
        auto map = openIndoorMap(std::string("LOC-102"));
        ASSERT_TRUE(map && map->planView()->image());
        EXPECT_TRUE(maps.allBeaconsOnMap().empty());
        EXPECT_TRUE(maps.intersectionPointsArray().empty());
        EXPECT_TRUE(maps.edgesArray().empty());
        EXPECT_TRUE(maps.pointsOfInterestArray().empty());
        EXPECT_TRUE(maps.roomBeaconProximityArray().empty());
        EXPECT_FALSE(maps.shouldConstructIntersectionPointsAndGraph());
        // What the screen reads of the maps went with the clear.
        EXPECT_EQ(map->highlightedRoomIdentifier(), std::nullopt);
        clearMapsMemory();
    }
}

TEST_F(MapScreensTest, ARoomElsewhereListsItsSessionsAndOpensTheOutdoorMapOnItsVenue) {
    auto details = openDetails("QVACoreDataRoom", "H1");
    ASSERT_TRUE(details);
    EXPECT_EQ(details->title(), std::optional<std::string>("Salon, Lakeside"));
    ASSERT_EQ(details->rows().size(), 2u);
    EXPECT_EQ(rowTitle(*details, 0), "Sessions");
    EXPECT_EQ(rowTitle(*details, 1), "Show on map");

    ASSERT_TRUE(driver().tapRow(0, 0));
    settle();
    auto list = std::dynamic_pointer_cast<ListSessionsBaseViewController>(top());
    ASSERT_TRUE(list);
    EXPECT_FALSE(list->isPullToRefreshEnabled());
    auto delegate = std::dynamic_pointer_cast<LocationSessionsListDelegate>(list->listDelegate());
    ASSERT_TRUE(delegate);
    EXPECT_EQ(delegate->toolbarTitle(), std::optional<std::string>("Salon"));
    EXPECT_EQ(delegate->sectionNameKeyPath(), std::optional<std::string>("startDateString"));
    EXPECT_EQ(sessionIdsFor(*delegate), (std::vector<std::string>{"s1", "s2"}));
    // Its days are titled as the other session lists title them.
    auto& table = *list->tableView();
    ASSERT_EQ(table.numberOfSections(), 2);
    EXPECT_EQ(list->tableViewGetTitleForHeaderInSection(table, 0), std::optional<std::string>("Today"));
    EXPECT_EQ(list->tableViewGetTitleForHeaderInSection(table, 1), std::optional<std::string>("Wednesday 11 March"));

    driver().back();
    settle();
    ASSERT_TRUE(driver().tapRow(0, 1));
    settle();
    auto outdoor = std::dynamic_pointer_cast<OutsideMapsViewController>(top());
    ASSERT_TRUE(outdoor);
    EXPECT_EQ(outdoor->preselectedBuildingName(), std::optional<std::string>("Lakeside"));
    EXPECT_EQ(outdoor->mapTableView()->indexPathForSelectedRow(), std::optional<uikit::NSIndexPath>({0, 1}));
    const std::string screen = uikit::describe(*app().keyWindow());
    EXPECT_NE(screen.find("locationName=\"Lakeside\" venueName=\"46.2101, 6.1510\""), std::string::npos) << screen;
    // Above the list, the venues as named pins: Main Hall lies north-west of Lakeside.
    auto plane = outdoor->planeView();
    ASSERT_TRUE(plane);
    EXPECT_LT(plane->frame().maxY(), outdoor->mapTableView()->frame().minY() + 0.5);
    ASSERT_EQ(plane->pins().size(), 2u);
    EXPECT_EQ(plane->pins()[0].name, "Main Hall");
    EXPECT_EQ(plane->selectedPin(), std::optional<size_t>(1));
    const auto points = VenuePlaneView::placePins(plane->pins(), plane->bounds());
    EXPECT_LT(points[0].x, points[1].x);
    EXPECT_LT(points[0].y, points[1].y);

    // A venue of the outdoor map opens its details.
    ASSERT_TRUE(driver().tapRow(0, 0));
    settle();
    auto venue = std::dynamic_pointer_cast<LocationDetailsViewController>(top());
    ASSERT_TRUE(venue);
    EXPECT_EQ(venue->title(), std::optional<std::string>("Main Hall"));
}

// With no header to show through it, the bar is the app's own, opaque one
// (its back button and title legible), and each row shows its icon.
TEST_F(MapScreensTest, TheDetailsShowTheAppsBarAndTheirRowsIcons) {
    auto details = openDetails("QVACoreDataRoom", "H1");
    ASSERT_TRUE(details);
    auto bar = details->navigationController()->navigationBar();
    auto background = bar->backgroundImageForBarMetrics(uikit::UIBarMetrics::Default);
    ASSERT_TRUE(background && background->name());
    EXPECT_EQ(*background->name(), "iOS7_navigation_bar_background.png");
    EXPECT_FALSE(bar->isTranslucent());
    EXPECT_NE(bar->titleTextAttributes().foregroundColor, std::optional<graphics::Color>(graphics::Color::white()));
    const std::string screen = uikit::describe(*app().keyWindow());
    EXPECT_NE(screen.find("agenda_icon.png"), std::string::npos) << screen;
    EXPECT_NE(screen.find("maps_icon.png"), std::string::npos) << screen;
}

TEST_F(MapScreensTest, AVenueListsTheSessionsOfAllItsRoomsAndAPrimaryOneShowsTheIndoorMap) {
    mapsInMemory();
    auto hotel = openDetails("QVACoreDataVenue", "v2");
    ASSERT_TRUE(hotel);
    pushNavigationRow(*hotel, 0);
    auto delegate = std::dynamic_pointer_cast<LocationSessionsListDelegate>(
        std::dynamic_pointer_cast<ListSessionsBaseViewController>(top())->listDelegate());
    ASSERT_TRUE(delegate);
    EXPECT_EQ(sessionIdsFor(*delegate), (std::vector<std::string>{"s1", "s2", "s3"}));

    auto room = openDetails("QVACoreDataRoom", "LOC-102");
    ASSERT_TRUE(room);
    EXPECT_EQ(room->title(), std::optional<std::string>("Room 102, Main Hall"));
    pushNavigationRow(*room, 1);
    auto map = std::dynamic_pointer_cast<InteractiveMapsDetailsViewController>(top());
    ASSERT_TRUE(map);
    EXPECT_EQ(map->locationId(), std::optional<std::string>("LOC-102"));
    EXPECT_EQ(map->highlightedRoomIdentifier(), std::optional<std::string>("R102"));
}

TEST_F(MapScreensTest, ASearchForRoomsListsThemAndOpensTheirDetails) {
    home();
    ASSERT_TRUE(driver().search("Roo"));
    settle();
    ASSERT_TRUE(driver().tapSearchResultRow(6, 0));
    settle();
    auto details = std::dynamic_pointer_cast<LocationDetailsViewController>(top());
    ASSERT_TRUE(details);
    EXPECT_EQ(details->selectionPropertyId(), std::optional<std::string>("LOC-101"));
    EXPECT_EQ(details->title(), std::optional<std::string>("Room 101, Main Hall"));
}

TEST_F(MapScreensTest, ALeftSwipeOnTheDetailsOpensTheNextFoundLocationOnTheSameScene) {
    home();
    ASSERT_TRUE(driver().search("Roo"));
    settle();
    ASSERT_TRUE(driver().tapSearchResultRow(6, 0));
    settle();
    auto first = std::dynamic_pointer_cast<LocationDetailsViewController>(top());
    ASSERT_TRUE(first);
    ASSERT_TRUE(driver().swipe(uikit::ScreenDriver::SwipeDirection::Left));
    settle();
    auto next = std::dynamic_pointer_cast<LocationDetailsViewController>(top());
    ASSERT_TRUE(next);
    EXPECT_NE(next, first);
    EXPECT_EQ(next->selectionPropertyId(), std::optional<std::string>("LOC-102"));
    EXPECT_EQ(next->storyboardSceneIdentifier(), LocationDetailsViewController::kStoryboardIdentifier);
}

class PadMapScreensTest : public MapScreensTest {
protected:
    uikit::DeviceProfile deviceProfile() const override { return uikit::DeviceProfile::iPad(); }

    // The split view's detail pane: a new details navigation controller
    // around the screen, the split view's delegate, the menu hidden.
    template <class Screen>
    std::shared_ptr<Screen> detailPane() {
        auto navigation = std::dynamic_pointer_cast<DetailsNavigationController>(detail());
        if (!navigation || navigation->viewControllers().size() != 1) return nullptr;
        EXPECT_EQ(split()->delegate(), std::static_pointer_cast<uikit::UISplitViewControllerDelegate>(navigation));
        auto popover = split()->leftPopoverMenuController();
        EXPECT_TRUE(!popover || !popover->isPopoverVisible());
        return std::dynamic_pointer_cast<Screen>(navigation->viewControllers().front());
    }
};

TEST_F(PadMapScreensTest, TheDetailsAndWhatTheirRowsOpenBecomeTheSplitViewsDetail) {
    launch();
    LocationDetailsViewController::navigateFromController(nullptr, 1, "QVACoreDataRoom", std::string("H1"));
    settle();
    auto details = detailPane<LocationDetailsViewController>();
    ASSERT_TRUE(details);

    details->pushNavigationWithDetailsDataModel(details->rows().at(0));
    settle();
    EXPECT_TRUE(detailPane<ListSessionsBaseViewController>());

    details->pushNavigationWithDetailsDataModel(details->rows().at(1));
    settle();
    auto outdoor = detailPane<OutsideMapsViewController>();
    ASSERT_TRUE(outdoor);
    EXPECT_EQ(outdoor->preselectedBuildingName(), std::optional<std::string>("Lakeside"));
}

}  // namespace
