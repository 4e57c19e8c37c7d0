// The meeting switcher over a store holding two meetings: what it lists, and
// what picking one does before the loading screen takes over (the analytics
// event, the maps' memory, the picked meeting's store kept or dropped by its
// recorded completeness, the loading screen for that meeting).
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "ShellTestSupport.h"
#include "analytics/AnalyticsUtils.h"
#include "app/LoadingViewController.h"
#include "app/SelectActivityViewController.h"
#include "foundation/Data.h"
#include "foundation/Error.h"
#include "foundation/FileManager.h"
#include "foundation/RunLoop.h"
#include "Utils/Utils.h"
#include "maps/BeaconObject.h"
#include "maps/InteractiveMapsServices.h"
#include "model/QVACoreDataFollowedParticipant.h"
#include "model/QVAEvent.h"
#include "model/QVAUserAccount.h"
#include "service/MeetingGenerator.h"
#include "service/MeetingService.h"
#include "store/CoreDataStack.h"
#include "uikit/UILabel.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UITableViewCell.h"
#include "uikit/UIWindow.h"

namespace {

constexpr const char* kSwitchToken = "switch-token";
constexpr const char* kThisYear = "2026";
constexpr const char* kLastYear = "2025";
constexpr const char* kLongName =
    "Quovana Annual Meeting 2025 of the Northern and Southern Chapters, with the Partner Organisations' Day";

class SelectActivityTest : public shelltest::ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        AnalyticsUtils::initializeAnalytics();
        auto storyboard = uikit::UIStoryboard::storyboardWithName(AppStoryboards::kPhoneStoryboardName);
        if (!storyboard->hasScene(SelectActivityViewController::kStoryboardIdentifier))
            SelectActivityViewController::addScene(*storyboard);
        openCurrent(kSwitchToken, kThisYear);
        insert(kSwitchToken, "QVACoreDataEvent",
               {{{"itemId", foundation::Value(kLastYear)},
                 {"eventName", foundation::Value(kLongName)},
                 {"startDate", foundation::Value("2025-06-10")}},
                {{"itemId", foundation::Value(kThisYear)},
                 {"eventName", foundation::Value("Quovana Annual Meeting 2026")},
                 {"startDate", foundation::Value("2026-06-16")}}},
               kThisYear);
        // Last year's store, as a visit to it left it.
        ASSERT_TRUE(open(kSwitchToken, kLastYear));
        insert(kSwitchToken, "QVACoreDataEvent", {{{"itemId", foundation::Value(kLastYear)}}}, kLastYear);

        switcher_ = BaseViewController::instantiateViewController<SelectActivityViewController>();
        ASSERT_TRUE(switcher_);
        window_ = std::make_shared<uikit::UIWindow>();
        window_->setRootViewController(uikit::UINavigationController::withRootViewController(switcher_));
        window_->makeKeyAndVisible();
        settle();
    }
    void TearDown() override {
        switcher_.reset();
        window_.reset();
        InteractiveMapsServices::parseQueue()->sync([] {});
        ShellTest::TearDown();
    }

    bool lastYearStoreExists() const {
        return foundation::FileManager::defaultManager().fileExistsAtPath(
            CoreDataStack::databaseUrlForAuthToken(std::string(kSwitchToken), std::string(kLastYear)));
    }
    size_t changeEvents() const {
        size_t count = 0;
        for (const auto& event : AnalyticsUtils::queuedEvents()) count += event.name == "Change event";
        return count;
    }
    // Picks the row as the table's selection does, without letting the
    // loading screen run.
    void pick(int64_t row) {
        switcher_->tableViewDidSelectRowAtIndexPath(*switcher_->tableView(), uikit::NSIndexPath::indexPathForRow(row, 0));
    }
    std::shared_ptr<LoadingViewController> presentedLoading() const {
        return std::dynamic_pointer_cast<LoadingViewController>(switcher_->presentedViewController());
    }

    std::shared_ptr<SelectActivityViewController> switcher_;
    std::shared_ptr<uikit::UIWindow> window_;
};

TEST_F(SelectActivityTest, ListsTheMeetingsNewestFirstUnderEventsWithTwoLinesForALongName) {
    EXPECT_EQ(switcher_->title(), "Events");
    auto table = switcher_->tableView();
    ASSERT_EQ(table->numberOfSections(), 1);
    ASSERT_EQ(table->numberOfRowsInSection(0), 2);
    auto newest = table->cellForRowAtIndexPath({0, 0});
    auto oldest = table->cellForRowAtIndexPath({0, 1});
    ASSERT_TRUE(newest && oldest);
    EXPECT_EQ(newest->reuseIdentifier(), "selectActivityCellID");
    EXPECT_EQ(newest->textLabel()->text(), "Quovana Annual Meeting 2026");
    EXPECT_EQ(oldest->textLabel()->text(), kLongName);
    EXPECT_EQ(oldest->textLabel()->numberOfLines(), 2u);
    EXPECT_EQ(oldest->accessoryType(), uikit::UITableViewCellAccessoryType::DisclosureIndicator);
    EXPECT_EQ(table->tableHeaderView(), nullptr);  // no filter header, no search
}

TEST_F(SelectActivityTest, PickingAnIncompleteMeetingDropsItsStoreReportsTheChangeAndPresentsItsLoadingScreen) {
    auto& maps = InteractiveMapsServices::instance();
    InteractiveMapsServices::parseQueue()->sync([&] { maps.allBeaconsOnMap()["B1"] = std::make_shared<BeaconObject>(); });
    settings.setCurrentEventHasIMapsLoadedInMemory(true);
    auto& files = foundation::FileManager::defaultManager();
    const std::string mapFile = Utils::cacheImapsDirectory() + "/floor.svg";
    ASSERT_TRUE(files.createDirectoryAtPath(Utils::cacheImapsDirectory(), true));
    ASSERT_TRUE(files.writeData(foundation::Data::fromString("<svg/>"), mapFile, true));
    settings.setPersistentStoresValidity(foundation::Value::Dictionary{
        {std::string(kSwitchToken) + "_" + kLastYear, foundation::Value(false)}});
    ASSERT_TRUE(lastYearStoreExists());
    const size_t before = changeEvents();

    pick(1);

    EXPECT_FALSE(lastYearStoreExists());
    EXPECT_FALSE(settings.currentEventHasIMapsLoadedInMemory());  // at once, not after the queue
    ASSERT_EQ(changeEvents(), before + 1);
    const auto events = AnalyticsUtils::queuedEvents();
    for (auto it = events.rbegin(); it != events.rend(); ++it)
        if (it->name == "Change event") {
            EXPECT_EQ(it->properties.at("New event name"), kLongName);
            EXPECT_EQ(it->properties.at("New event id"), kLastYear);
            break;
        }
    auto loading = presentedLoading();
    ASSERT_TRUE(loading);
    EXPECT_EQ(loading->eventId(), kLastYear);
    EXPECT_TRUE(switcher_->lastTransitionAnimated());

    InteractiveMapsServices::parseQueue()->sync([] {});
    EXPECT_TRUE(maps.allBeaconsOnMap().empty());
    EXPECT_FALSE(maps.shouldConstructIntersectionPointsAndGraph());
    EXPECT_TRUE(files.fileExistsAtPath(mapFile));
    files.removeItemAtPath(Utils::cacheImapsDirectory());
}

TEST_F(SelectActivityTest, AMeetingRecordedCompleteKeepsItsStoreAndTheCurrentOneSwitchesToo) {
    settings.setPersistentStoresValidity(foundation::Value::Dictionary{
        {std::string(kSwitchToken) + "_" + kLastYear, foundation::Value(true)}});
    pick(1);
    EXPECT_TRUE(lastYearStoreExists());
    ASSERT_TRUE(presentedLoading());
    EXPECT_EQ(presentedLoading()->eventId(), kLastYear);
}

TEST_F(SelectActivityTest, PickingTheCurrentMeetingRunsTheSameSwitch) {
    const size_t before = changeEvents();
    pick(0);
    EXPECT_EQ(changeEvents(), before + 1);
    ASSERT_TRUE(presentedLoading());
    EXPECT_EQ(presentedLoading()->eventId(), kThisYear);
}

TEST_F(SelectActivityTest, TheOldMeetingsRunningRequestsEndCancelledBeforeTheLoadingScreenAndWriteNothing) {
    testservice::MeetingService service(testservice::generateMeeting({.seed = 3, .sessions = 4, .participants = 6}));
    ASSERT_TRUE(service.start());
    service.addToken(kSwitchToken);
    QVAApiManager::setServiceRoot(service.rootURL());
    const std::string followingPath = "/api/v1/user/relationships/following";
    service.injectFault("GET", followingPath, {.stall = true});

    bool ended = false;
    foundation::ErrorPtr error;
    QVAApiManager::sharedApiManager().refreshFollowingForEventId(
        std::string(kThisYear), std::string(kSwitchToken), [&](const foundation::ErrorPtr& e, const foundation::Value&) {
            ended = true;
            error = e;
        });
    auto& loop = foundation::RunLoop::main();
    ASSERT_TRUE(loop.runUntil([&] { return service.requestCount("GET", followingPath) == 1; }, 30.0));

    pick(1);
    ASSERT_TRUE(presentedLoading());
    ASSERT_TRUE(loop.runUntil([&] { return ended; }, 30.0));
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->code(), foundation::URLError::Cancelled);
    EXPECT_TRUE(rows<QVACoreDataFollowedParticipant>(kSwitchToken, kThisYear).empty());

    service.stop();
}

}  // namespace
