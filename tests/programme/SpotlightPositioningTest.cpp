// The home screen's positioning: waiting for the maps, the beacon regions
// and their states, ranging with its stickiness, and the where-am-I action
// with its GPS search and time limit, driven through the location injector
// on the virtual clock.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "Utils/Utils.h"
#include "app/ShellTestSupport.h"
#include "foundation/Clock.h"
#include "foundation/Data.h"
#include "foundation/JSONSerialization.h"
#include "foundation/Log.h"
#include "foundation/NotificationCenter.h"
#include "foundation/RunLoop.h"
#include "foundation/Timer.h"
#include "location/CLBeacon.h"
#include "location/CLLocationInjector.h"
#include "location/CLLocationManager.h"
#include "maps/InteractiveMapsDetailsViewController.h"
#include "maps/InteractiveMapsNotifications.h"
#include "maps/InteractiveMapsServices.h"
#include "maps/LocationManagerHelper.h"
#include "maps/OutsideMapsViewController.h"
#include "model/QVAVenue.h"
#include "programme/SpotlightViewController.h"
#include "model/EntityClass.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UIImage.h"
#include "uikit/UINavigationItem.h"
#include "uikit/UITableView.h"

namespace {

using Home = SpotlightViewController;
using location::CLBeacon;
using location::CLLocationInjector;
using location::CLProximity;
using location::CLRegionState;

constexpr const char* kPositioningToken = "positioning-token";
constexpr const char* kRegion0 = "kestrow center 0";
constexpr const char* kRegion1 = "kestrow center 1";
// The primary venue; 0.0027° of latitude is about 300 m, 0.0009° about 100 m.
constexpr double kVenueLatitude = 46.2227;
constexpr double kVenueLongitude = 6.1372;

// Forwards the home table's data to the screen and counts the reloads.
class ReloadCounter : public uikit::UITableViewDataSource {
public:
    explicit ReloadCounter(std::shared_ptr<Home> home) : home_(std::move(home)) {}
    int64_t numberOfSectionsInTableView(uikit::UITableView& tableView) override {
        ++reloads;
        return home_->numberOfSectionsInTableView(tableView);
    }
    int64_t tableViewNumberOfRowsInSection(uikit::UITableView& tableView, int64_t section) override {
        return home_->tableViewNumberOfRowsInSection(tableView, section);
    }
    uikit::UITableViewCellPtr tableViewCellForRowAtIndexPath(uikit::UITableView& tableView,
                                                             const uikit::NSIndexPath& indexPath) override {
        return home_->tableViewCellForRowAtIndexPath(tableView, indexPath);
    }
    int reloads = 0;

private:
    std::shared_ptr<Home> home_;
};

class SpotlightPositioningTest : public shelltest::ShellTest {
protected:
    InteractiveMapsServices& maps = InteractiveMapsServices::instance();

    void SetUp() override {
        ShellTest::SetUp();
        openCurrent(kPositioningToken);
        clearMapsMemory();
        location::CLLocationManager::resetClassSwitches();
    }
    void TearDown() override {
        clearMapsMemory();
        location::CLLocationManager::resetClassSwitches();
        ShellTest::TearDown();
    }

    void clearMapsMemory() {
        bool cleared = false;
        maps.clearInMemoryResources([&] { cleared = true; });
        ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return cleared; }, 30));
        settings.setCurrentEventIsDownloadingOrParsingIMaps(false);
        std::filesystem::remove_all(Utils::cacheImapsDirectory());
    }
    // The primary venue, with one floor whose plan has three beacons in two
    // regions, its file on disk.
    void storePrimaryVenueWithMaps() {
        auto venue = QVAVenue::initWithDictionary(foundation::JSONSerialization::JSONObjectWithData(
            foundation::Data::fromString(R"({"id":"v1","primary":true,"latitude":46.2227,"longitude":6.1372,)"
                                         R"("floorLevels":[{"name":"G","level":0,"interactive_maps":)"
                                         R"([{"href":"http://127.0.0.1:1/g.svg","rel":"g.svg"}]}]})")));
        auto written = await([&](auto done) {
            store.addItemsToCoreData({venue}, EntityClass::named("QVACoreDataVenue"), kPositioningToken, std::string("42"), done);
        });
        ASSERT_EQ(written.error, nullptr);
        const auto path = Utils::cacheImapsUrlStringForFileName("g.svg", kPositioningToken, "42");
        ASSERT_TRUE(path);
        std::filesystem::create_directories(std::filesystem::path(*path).parent_path());
        std::ofstream(*path) << R"svg(<svg xmlns="http://www.w3.org/2000/svg" width="100" height="100">
  <rect id="R1" x="0" y="0" width="50" height="50" isSelectable="true" type="room"/>
  <beacon id="B0a" major="0" minor="1"/>
  <beacon id="B0b" major="0" minor="2"/>
  <beacon id="B1a" major="1" minor="1"/>
</svg>)svg";
    }
    // What the maps' own run leaves: the plan parsed, the flag raised.
    void mapsInMemory() {
        storePrimaryVenueWithMaps();
        EXPECT_FALSE(maps.canAccessInteractiveMaps());
        ASSERT_TRUE(foundation::RunLoop::main().runUntil(
            [&] { return !settings.currentEventIsDownloadingOrParsingIMaps(); }, 30));
        ASSERT_TRUE(settings.currentEventHasIMapsLoadedInMemory());
        ASSERT_EQ(maps.allBeaconsOnMap().size(), 3u);
    }
    // Maps known but not ready at load: a run is said to be going, so the
    // screen starts none and waits.
    void mapsComing() {
        mapsInMemory();
        settings.setCurrentEventHasIMapsLoadedInMemory(false);
        settings.setCurrentEventIsDownloadingOrParsingIMaps(true);
    }
    // The run ends (its notification is the test's to post).
    void mapsArrive() {
        settings.setCurrentEventIsDownloadingOrParsingIMaps(false);
        settings.setCurrentEventHasIMapsLoadedInMemory(true);
    }

    std::shared_ptr<Home> launchHome() {
        launch();
        auto home = rootOfTab<Home>(0);
        EXPECT_TRUE(home && home->isViewLoaded());
        settle();
        return home;
    }
    static bool hasWhereAmIButton(Home& home) {
        for (const auto& item : home.navigationItem()->rightBarButtonItems())
            if (item->image() && item->image()->name() == std::string(Home::kWhereAmIImageName)) return true;
        return false;
    }
    static size_t stateRequests(const Home& home) {
        return home.locationManager() ? home.locationManager()->stateRequests().size() : 0;
    }
    static bool ranges(const Home& home, const std::string& region) {
        return home.locationManager() && home.locationManager()->rangedRegionWithIdentifier(region) != nullptr;
    }
    std::shared_ptr<ReloadCounter> countReloads(const std::shared_ptr<Home>& home) {
        auto counter = std::make_shared<ReloadCounter>(home);
        home->homeTableView()->setDataSource(counter);
        return counter;
    }
    static location::CLBeaconPtr beacon(int major, int minor, double accuracy,
                                        CLProximity proximity = CLProximity::Near) {
        return CLBeacon::create(LocationManagerHelper::kBeaconRegionProximityUUID, major, minor, proximity, accuracy);
    }
    void range(const std::string& region, std::vector<location::CLBeaconPtr> beacons) {
        CLLocationInjector::rangeBeacons(region, std::move(beacons));
        settle();
    }
    void stateOf(const std::string& region, CLRegionState state) {
        CLLocationInjector::determineState(region, state);
        settle();
    }
    // Moves the virtual clock and runs what fell due.
    void advance(double seconds) {
        foundation::Clock::advance(seconds);
        settle();
    }
    void fixAt(double latitude, double longitude, double accuracy = 10, double age = 0) {
        CLLocationInjector::updateLocation({latitude, longitude}, accuracy, age);
        settle();
    }
    // The map screens pushed on the home screen's stack, oldest first.
    template <class Screen>
    std::vector<std::shared_ptr<Screen>> opened() const {
        std::vector<std::shared_ptr<Screen>> screens;
        auto navigation = std::dynamic_pointer_cast<uikit::UINavigationController>(tabBar()->viewControllers().at(0));
        if (!navigation) return screens;
        for (const auto& controller : navigation->viewControllers())
            if (auto screen = std::dynamic_pointer_cast<Screen>(controller)) screens.push_back(screen);
        return screens;
    }
    size_t indoorOpenings() const { return opened<InteractiveMapsDetailsViewController>().size(); }
    size_t outdoorOpenings() const { return opened<OutsideMapsViewController>().size(); }
    std::shared_ptr<InteractiveMapsDetailsViewController> lastIndoor() const {
        return opened<InteractiveMapsDetailsViewController>().back();
    }
};

// ---- Readiness ---------------------------------------------------------------------------

TEST_F(SpotlightPositioningTest, MapsInMemoryAtLoadGiveTheButtonTheRegionsAndRanging) {
    mapsInMemory();
    auto home = launchHome();
    ASSERT_TRUE(home);
    EXPECT_TRUE(hasWhereAmIButton(*home));
    ASSERT_TRUE(home->locationManager());
    EXPECT_EQ(maps.dictionaryToKeepReferceOfMonitoredRegions().size(), 2u);
    EXPECT_TRUE(ranges(*home, kRegion0));
    EXPECT_TRUE(ranges(*home, kRegion1));
    EXPECT_NE(home->locationManager()->monitoredRegionWithIdentifier(kRegion0), nullptr);
    EXPECT_GE(home->locationManager()->alwaysAuthorizationRequests(), 1);
}

TEST_F(SpotlightPositioningTest, TheSuccessNotificationAddsTheButtonAndStartsRangingOnce) {
    mapsComing();
    auto home = launchHome();
    ASSERT_TRUE(home);
    EXPECT_FALSE(hasWhereAmIButton(*home));
    EXPECT_FALSE(ranges(*home, kRegion0));

    // The run ends on a worker thread: nothing happens there, once on the main thread.
    mapsArrive();
    const size_t before = stateRequests(*home);
    std::thread worker([] {
        foundation::NotificationCenter::defaultCenter().postNotificationName(
            InteractiveMapsNotifications::kInteractiveMapsLoadedNotification);
    });
    worker.join();
    EXPECT_FALSE(hasWhereAmIButton(*home));
    settle();
    EXPECT_TRUE(hasWhereAmIButton(*home));
    EXPECT_TRUE(ranges(*home, kRegion0));
    EXPECT_TRUE(ranges(*home, kRegion1));
    EXPECT_EQ(stateRequests(*home), before + 2);

    // Observation stopped: a second post changes nothing.
    foundation::NotificationCenter::defaultCenter().postNotificationName(
        InteractiveMapsNotifications::kInteractiveMapsLoadedNotification);
    settle();
    EXPECT_EQ(stateRequests(*home), before + 2);
}

TEST_F(SpotlightPositioningTest, TheFailureNotificationOnlyStopsObserving) {
    mapsComing();
    auto home = launchHome();
    ASSERT_TRUE(home);
    foundation::NotificationCenter::defaultCenter().postNotificationName(
        InteractiveMapsNotifications::kInteractiveMapsFailedNotification);
    settle();
    EXPECT_FALSE(hasWhereAmIButton(*home));

    mapsArrive();
    foundation::NotificationCenter::defaultCenter().postNotificationName(
        InteractiveMapsNotifications::kInteractiveMapsLoadedNotification);
    settle();
    EXPECT_FALSE(hasWhereAmIButton(*home));
    EXPECT_FALSE(ranges(*home, kRegion0));
}

TEST_F(SpotlightPositioningTest, WithoutRangingNoRegionIsMadeAndTheLogSaysSo) {
    location::CLLocationManager::setRangingAvailable(false);
    mapsInMemory();
    foundation::ScopedLogCapture log;
    auto home = launchHome();
    ASSERT_TRUE(home);
    EXPECT_TRUE(log.contains(Home::kNoIBeaconSupportLog));
    EXPECT_TRUE(maps.dictionaryToKeepReferceOfMonitoredRegions().empty());
    EXPECT_FALSE(ranges(*home, kRegion0));
}

// ---- Regions and ranging -------------------------------------------------------------------

TEST_F(SpotlightPositioningTest, TheClosestBeaconBecomesCurrentAndReloadsOnce) {
    mapsInMemory();
    auto home = launchHome();
    ASSERT_TRUE(home);
    auto counter = countReloads(home);
    stateOf(kRegion0, CLRegionState::Inside);

    range(kRegion0, {beacon(0, 1, 3.0), beacon(0, 2, 0.8), beacon(0, 1, -1)});
    EXPECT_EQ(maps.currentBeaconIdentifierGlobal(), "B0b");
    EXPECT_EQ(counter->reloads, 1);

    range(kRegion0, {beacon(0, 2, 0.5)});
    EXPECT_EQ(counter->reloads, 1);

    // A beacon that is not on the map changes nothing.
    range(kRegion0, {beacon(0, 9, 0.1)});
    EXPECT_EQ(maps.currentBeaconIdentifierGlobal(), "B0b");

    // Nothing heard inside the region: cleared, without a reload.
    range(kRegion0, {});
    EXPECT_EQ(maps.currentBeaconIdentifierGlobal(), "");
    EXPECT_EQ(counter->reloads, 1);
}

TEST_F(SpotlightPositioningTest, AnotherRegionIsIgnoredWhileTheCurrentOneIsStillInside) {
    mapsInMemory();
    auto home = launchHome();
    ASSERT_TRUE(home);
    stateOf(kRegion0, CLRegionState::Inside);
    range(kRegion0, {beacon(0, 1, 1.0)});
    ASSERT_EQ(maps.currentBeaconIdentifierGlobal(), "B0a");

    stateOf(kRegion1, CLRegionState::Inside);
    range(kRegion1, {beacon(1, 1, 0.5)});
    EXPECT_EQ(maps.currentBeaconIdentifierGlobal(), "B0a");

    // Left, and an undetermined state changes nothing.
    CLLocationInjector::exitRegion(kRegion0);
    settle();
    stateOf(kRegion0, CLRegionState::Unknown);
    EXPECT_EQ(maps.dictionaryToKeepReferceOfMonitoredRegions()[kRegion0], 0);
    range(kRegion1, {beacon(1, 1, 0.5)});
    EXPECT_EQ(maps.currentBeaconIdentifierGlobal(), "B1a");
}

TEST_F(SpotlightPositioningTest, OutsideARegionOrOnFailureTheCurrentBeaconIsCleared) {
    mapsInMemory();
    auto home = launchHome();
    ASSERT_TRUE(home);
    stateOf(kRegion0, CLRegionState::Inside);
    range(kRegion0, {beacon(0, 1, 1.0)});
    ASSERT_EQ(maps.currentBeaconIdentifierGlobal(), "B0a");

    // Results of the other region while outside it keep a beacon not of it.
    range(kRegion1, {beacon(1, 1, 0.5)});
    EXPECT_EQ(maps.currentBeaconIdentifierGlobal(), "B0a");

    CLLocationInjector::exitRegion(kRegion0);
    settle();
    range(kRegion0, {beacon(0, 1, 1.0)});
    EXPECT_EQ(maps.currentBeaconIdentifierGlobal(), "");

    stateOf(kRegion0, CLRegionState::Inside);
    range(kRegion0, {beacon(0, 1, 1.0)});
    ASSERT_EQ(maps.currentBeaconIdentifierGlobal(), "B0a");
    CLLocationInjector::failRanging(kRegion0);
    settle();
    EXPECT_EQ(maps.currentBeaconIdentifierGlobal(), "");
}

TEST_F(SpotlightPositioningTest, DisappearingStopsRangingAndAppearingStartsItAgain) {
    mapsInMemory();
    auto home = launchHome();
    ASSERT_TRUE(home);
    auto manager = home->locationManager();
    ASSERT_TRUE(manager);
    ASSERT_TRUE(ranges(*home, kRegion0));

    home->viewWillDisappear(false);
    EXPECT_FALSE(ranges(*home, kRegion0));
    EXPECT_EQ(manager->delegate(), nullptr);
    EXPECT_FALSE(manager->isUpdatingLocation());

    home->viewDidAppear(false);
    EXPECT_TRUE(ranges(*home, kRegion0));
    EXPECT_NE(manager->delegate(), nullptr);
    EXPECT_EQ(home->locationManager(), manager);
}

// ---- Where am I ---------------------------------------------------------------------------

TEST_F(SpotlightPositioningTest, WithACurrentBeaconTheIndoorMapOpensAtOnceWithAPosition) {
    mapsInMemory();
    auto home = launchHome();
    ASSERT_TRUE(home);
    stateOf(kRegion0, CLRegionState::Inside);
    range(kRegion0, {beacon(0, 1, 1.0)});

    ASSERT_TRUE(driver().tapItem(Home::kWhereAmIImageName));
    settle();
    ASSERT_EQ(indoorOpenings(), 1u);
    const auto map = lastIndoor();
    EXPECT_EQ(map->locationId(), std::nullopt);
    EXPECT_FALSE(map->shouldWaitUntilPositionIsGot());
    EXPECT_TRUE(map->hasPositionGotWhenComesFromSpotlight());
    EXPECT_EQ(home->loadingView(), nullptr);
    EXPECT_EQ(home->timerToWaitMaxSecondsForGpsPosition(), nullptr);
}

TEST_F(SpotlightPositioningTest, AFixOpensTheOutdoorMapOutsideTheBuildingElseTheIndoorMap) {
    mapsInMemory();
    auto home = launchHome();
    ASSERT_TRUE(home);
    home->whereAmIButtonPressed(nullptr);
    EXPECT_NE(home->loadingView(), nullptr);
    EXPECT_TRUE(home->locationManager()->isUpdatingLocation());

    fixAt(kVenueLatitude + 0.0027, kVenueLongitude);
    ASSERT_EQ(outdoorOpenings(), 1u);
    const auto outdoor = opened<OutsideMapsViewController>().back();
    EXPECT_EQ(outdoor->preselectedBuildingName(), std::nullopt);
    EXPECT_EQ(outdoor->venues().size(), 1u);  // every stored venue
    EXPECT_EQ(outdoor->mapTableView()->indexPathForSelectedRow(), std::nullopt);
    EXPECT_EQ(indoorOpenings(), 0u);
    EXPECT_FALSE(home->locationManager()->isUpdatingLocation());
    EXPECT_EQ(home->locationManager()->delegate(), nullptr);

    // The time limit was stopped with the search.
    advance(Home::kGpsPositionTimeLimit);
    EXPECT_EQ(indoorOpenings(), 0u);

    // At the building, or a failure: the indoor map without a position.
    home->whereAmIButtonPressed(nullptr);
    fixAt(kVenueLatitude + 0.0009, kVenueLongitude);
    ASSERT_EQ(indoorOpenings(), 1u);
    EXPECT_FALSE(lastIndoor()->hasPositionGotWhenComesFromSpotlight());
    EXPECT_EQ(outdoorOpenings(), 1u);

    home->whereAmIButtonPressed(nullptr);
    CLLocationInjector::failLocation();
    settle();
    EXPECT_EQ(indoorOpenings(), 2u);
    EXPECT_EQ(home->timerToWaitMaxSecondsForGpsPosition(), nullptr);
    advance(Home::kGpsPositionTimeLimit);
    EXPECT_EQ(indoorOpenings(), 2u);
}

TEST_F(SpotlightPositioningTest, NoUsableFixOpensTheIndoorMapAtTheTimeLimitAndASecondPressRestartsIt) {
    mapsInMemory();
    auto home = launchHome();
    ASSERT_TRUE(home);
    home->whereAmIButtonPressed(nullptr);
    // Stale, then invalid: both ignored, the search runs on.
    fixAt(kVenueLatitude + 0.0027, kVenueLongitude, 10, 11);
    fixAt(kVenueLatitude + 0.0027, kVenueLongitude, -1);
    EXPECT_EQ(outdoorOpenings(), 0u);
    EXPECT_TRUE(home->locationManager()->isUpdatingLocation());

    advance(4.9);
    EXPECT_EQ(indoorOpenings(), 0u);
    advance(0.1);
    ASSERT_EQ(indoorOpenings(), 1u);
    EXPECT_FALSE(lastIndoor()->hasPositionGotWhenComesFromSpotlight());
    EXPECT_EQ(home->loadingView(), nullptr);
    EXPECT_FALSE(home->locationManager()->isUpdatingLocation());

    // A second press while searching stops the first time limit.
    home->whereAmIButtonPressed(nullptr);
    advance(3);
    home->whereAmIButtonPressed(nullptr);
    advance(2.5);
    EXPECT_EQ(indoorOpenings(), 1u);
    advance(2.5);
    EXPECT_EQ(indoorOpenings(), 2u);
    advance(10);
    EXPECT_EQ(indoorOpenings(), 2u);
}

}  // namespace
