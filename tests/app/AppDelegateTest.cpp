// The application's start-up and lifecycle through its own delegate: the
// fresh launch onto the login screen, the forced logout after a major update
// (by dotted version numbers) with everything it clears, the stored
// account's launch on each idiom and with a store that will not open, the
// network-status notification, and the activation and lifecycle steps.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "ShellTestSupport.h"
#include "Utils/Utils.h"
#include "analytics/AnalyticsUtils.h"
#include "api/ApplicationService.h"
#include "api/MessagesManager.h"
#include "api/SyncCalendarService.h"
#include "app/LoginViewController.h"
#include "eventkit/EKEventStore.h"
#include "foundation/Log.h"
#include "foundation/NotificationCenter.h"
#include "foundation/UserDefaults.h"
#include "http/QNHTTPRequestSerializer.h"
#include "http/QNNetworkActivityIndicatorManager.h"
#include "maps/InteractiveMapsServices.h"
#include "service/MeetingGenerator.h"
#include "service/MeetingService.h"
#include "store/CoreDataStack.h"
#include "uikit/UIAlertView.h"

namespace {

using foundation::Value;
using shelltest::PadShellTest;
using shelltest::ShellTest;

constexpr const char* kLaunchToken = "launch-token";

size_t countEvents(const std::string& name) {
    size_t count = 0;
    for (const auto& event : AnalyticsUtils::queuedEvents()) count += event.name == name;
    return count;
}

std::vector<std::shared_ptr<uikit::UIAlertView>> launchAlerts() {
    return uikit::UIApplication::sharedApplication().visibleAlerts();
}

// Waits for everything queued on the maps' parse queue so far.
void drainParseQueue() { InteractiveMapsServices::parseQueue()->sync([] {}); }

class LaunchTest : public ShellTest {
protected:
    void TearDown() override {
        for (const auto& alert : launchAlerts()) alert->dismissWithClickedButtonIndex(0, false);
        ShellTest::TearDown();
    }
    std::string rootClass() const { return root() ? root()->className() : ""; }
    // The queue outlives a launch: events are counted from the test's start.
    size_t newEvents(const std::string& name) const { return countEvents(name) - eventsBefore_.at(name); }

private:
    std::map<std::string, size_t> eventsBefore_{{AppDelegate::kStartAppEvent, countEvents(AppDelegate::kStartAppEvent)},
                                                {AppDelegate::kStopAppEvent, countEvents(AppDelegate::kStopAppEvent)}};
};

TEST(ForcedLogoutDecision, ComparesTheDottedNumbersOfTheStoredVersion) {
    EXPECT_FALSE(AppDelegate::isForcedLogoutDue(std::nullopt, std::nullopt));
    EXPECT_FALSE(AppDelegate::isForcedLogoutDue(std::string(""), std::string("")));
    // Only an older build's plain key: it ran last.
    EXPECT_TRUE(AppDelegate::isForcedLogoutDue(std::string("3.2"), std::nullopt));
    EXPECT_FALSE(AppDelegate::isForcedLogoutDue(std::string("3.2"), std::string("3.4")));
    EXPECT_TRUE(AppDelegate::isForcedLogoutDue(std::nullopt, std::string("3.3")));
    EXPECT_TRUE(AppDelegate::isForcedLogoutDue(std::nullopt, std::string("2.9.9")));
    for (const char* newer : {"3.4", "3.4.0", "3.4.1", "3.5", "3.10", "3.39", "4"})
        EXPECT_FALSE(AppDelegate::isForcedLogoutDue(std::nullopt, std::string(newer))) << newer;
}

TEST_F(LaunchTest, AFreshLaunchShowsTheLoginScreenAndStoresTheVersion) {
    const size_t queuedBefore = AnalyticsUtils::queuedEvents().size();
    foundation::ScopedLogCapture log;
    launchSignedOut();
    EXPECT_EQ(rootClass(), "LoginViewController");
    EXPECT_TRUE(launchAlerts().empty());
    EXPECT_EQ(newEvents(AppDelegate::kStartAppEvent), 1u);
    // Straight to the login screen: no home screen was built on the way
    // (it would track its view and read a store that is not there).
    EXPECT_EQ(AnalyticsUtils::queuedEvents().size(), queuedBefore + 1);
    for (const auto& line : log.lines()) EXPECT_EQ(line.find("No core data stack"), std::string::npos) << line;
    EXPECT_EQ(settings.storedAppVersion(), ApplicationService::applicationVersion());
    EXPECT_TRUE(AnalyticsUtils::superProperties().empty());
    EXPECT_EQ(AppDelegate::sharedAppDelegate()->eventsSplitVC(), nullptr);
    // The status bar's indicator is driven and the window tinted.
    EXPECT_EQ(app().keyWindow()->tintColor(), graphics::Color::rgb(64 / 255.0, 158 / 255.0, 210 / 255.0));
    EXPECT_EQ(app().supportedInterfaceOrientationsForWindow(app().keyWindow().get()), 26u);
}

class ForcedLogoutTest : public LaunchTest {
protected:
    std::shared_ptr<SyncCalendarService> calendarService = ApplicationService::syncCalendarService();
    eventkit::EKCalendarPtr calendar;

    void TearDown() override {
        if (calendar) calendarService->eventStore()->removeCalendar(calendar);
        eventkit::EKEventStore::setAuthorizationStatus(eventkit::EKEntityType::Event,
                                                       eventkit::EKAuthorizationStatus::NotDetermined);
        LaunchTest::TearDown();
    }

    // An account with its store, a map file, maps in memory, a bearer token
    // and the agenda mirrored into the device calendar.
    void storeAnAccountWithEverything() {
        openCurrent(kLaunchToken);
        settings.setCurrentEvent(QVAEvent::initWithDictionary(Value::dictionary({{"id", "42"}, {"name", "Summit"}})));
        // The sessions give the meeting's date range, which a sync needs.
        insert(kLaunchToken, "QVACoreDataSession",
               {{{"itemId", Value("s-a1")}, {"startDatetime", Value("2015-01-21T09:30:00+01:00")}}});
        insert(kLaunchToken, "QVACoreDataAgendaSelection",
               {{{"agendaItemId", Value("a1")},
                 {"itemId", Value("s-a1")},
                 {"title", Value("Opening")},
                 {"startDatetime", Value("2015-01-21T09:30:00+01:00")},
                 {"endDatetime", Value("2015-01-21T10:45:00+01:00")}}});
        using namespace eventkit;
        EKEventStore::setAuthorizationStatus(EKEntityType::Event, EKAuthorizationStatus::Authorized);
        auto device = calendarService->eventStore();
        calendar = device->addCalendar(device->addSource("Work", EKSourceType::Exchange), "Meetings",
                                       EKCalendarType::Exchange, true);
        bool synced = false;
        calendarService->syncMyAgendaWithDeviceCalendar(calendar, std::string(kLaunchToken), std::string("42"),
                                                        [&](foundation::ErrorPtr error, Value) {
                                                            EXPECT_EQ(error, nullptr);
                                                            synced = true;
                                                        });
        ASSERT_TRUE(synced);
        settings.setSyncWithCalendar(true);
        settings.setCalendarIdentifier(calendar->calendarIdentifier());
        ASSERT_EQ(mirroredEvents(), 1u);

        mapFile = Utils::cacheImapsUrlStringForFileName("floor1.svg", kLaunchToken, "42").value();
        std::ofstream(mapFile) << "<svg/>";
        auto& maps = InteractiveMapsServices::instance();
        drainParseQueue();
        maps.intersectionPointsArray().push_back(std::make_shared<IntersectionPoint>());
        maps.setShouldConstructIntersectionPointsAndGraph(true);
        QVAApiManager::sharedApiManager().setAuthorizationHeaderWithCode(std::string(kLaunchToken));
    }

    size_t mirroredEvents() const {
        auto store = eventkit::EKEventStore::create();
        return store
            ->eventsMatchingPredicate(store->predicateForEventsWithStartDate(
                foundation::Date::distantPast(), foundation::Date::distantFuture(),
                std::vector<eventkit::EKCalendarPtr>{calendar}))
            .size();
    }

    void expectLoggedOut() {
        ASSERT_EQ(launchAlerts().size(), 1u);
        EXPECT_FALSE(launchAlerts()[0]->title());
        EXPECT_EQ(launchAlerts()[0]->message(), AppDelegate::kForcedLogoutMessage);
        EXPECT_EQ(rootClass(), "LoginViewController");
        EXPECT_EQ(settings.currentAccount(), nullptr);
        // Only the running version is left in the settings.
        auto stored = foundation::UserDefaults::standardUserDefaults().dictionaryRepresentation();
        ASSERT_EQ(stored.size(), 1u);
        EXPECT_EQ(stored.begin()->first, ApplicationSettingsStore::kStoredAppVersionKey);
        EXPECT_EQ(settings.storedAppVersion(), ApplicationService::applicationVersion());
        EXPECT_EQ(newEvents(AppDelegate::kStartAppEvent), 1u);
    }

    std::string mapFile;
};

TEST_F(ForcedLogoutTest, AStoredVersionBeforeTheMajorUpdateClearsEverything) {
    storeAnAccountWithEverything();
    settings.setStoredAppVersion(std::string("3.3"));
    launch();
    expectLoggedOut();

    EXPECT_EQ(mirroredEvents(), 0u);
    EXPECT_FALSE(std::filesystem::exists(Utils::cacheImapsDirectory()));
    EXPECT_FALSE(std::filesystem::exists(CoreDataStack::databaseUrlForAuthToken(std::string(kLaunchToken),
                                                                               std::string("42"))));
    drainParseQueue();
    auto& maps = InteractiveMapsServices::instance();
    EXPECT_TRUE(maps.intersectionPointsArray().empty());
    EXPECT_FALSE(maps.shouldConstructIntersectionPointsAndGraph());
    EXPECT_FALSE(QVAApiManager::sharedApiManager().apiRequestSerializer()->valueForHTTPHeaderField("Authorization"));
}

TEST_F(ForcedLogoutTest, OnlyAnOlderBuildsPlainKeyLogsOutToo) {
    openCurrent(kLaunchToken);
    foundation::UserDefaults::standardUserDefaults().setObject(Value("3.2"),
                                                              ApplicationSettingsStore::kOldStoredAppVersionKey);
    const size_t queuedBefore = AnalyticsUtils::queuedEvents().size();
    launch();
    expectLoggedOut();
    // "Start app" only: the account's home screen was never built.
    EXPECT_EQ(AnalyticsUtils::queuedEvents().size(), queuedBefore + 1);
}

TEST_F(LaunchTest, NewerStoredVersionsKeepTheAccountOnTheStoryboardsTabBar) {
    for (const char* version : {"3.4.1", "3.5", "3.10"}) {
        SCOPED_TRACE(version);
        app().resetForTests();
        openCurrent(kLaunchToken);
        settings.setStoredAppVersion(std::string(version));
        launch();
        EXPECT_TRUE(launchAlerts().empty());
        ASSERT_NE(tabBar(), nullptr);
        EXPECT_EQ(root(), tabBar());
        // No loading screen: the stored content is shown.
        EXPECT_EQ(root()->presentedViewController(), nullptr);
        EXPECT_EQ(settings.storedAppVersion(), ApplicationService::applicationVersion());
        EXPECT_EQ(AnalyticsUtils::superProperties().at("Event id"), "42");
        settings.setStoredAppVersion(std::string(version));
    }
}

TEST_F(LaunchTest, AStoreThatWillNotOpenLeavesAnAlertWithoutButtonsOverTheTabBar) {
    openCurrent(kLaunchToken);
    store.clear();
    // A folder where the database file belongs: the store cannot open.
    std::filesystem::create_directories(CoreDataStack::databaseUrlForAuthToken(std::string(kLaunchToken), std::string("42")));
    launch();
    EXPECT_EQ(root(), tabBar());
    ASSERT_EQ(launchAlerts().size(), 1u);
    EXPECT_EQ(launchAlerts()[0]->title(), "Unable to start the application properly.");
    EXPECT_EQ(launchAlerts()[0]->message(), "Please close the application and try to reopen it.");
    EXPECT_EQ(launchAlerts()[0]->numberOfButtons(), 0);
    settle();
    EXPECT_EQ(launchAlerts().size(), 1u);
}

class PadLaunchTest : public PadShellTest {};

TEST_F(PadLaunchTest, TheStoredAccountsSplitViewBecomesTheDelegatesOne) {
    openCurrent(kLaunchToken);
    settings.setStoredAppVersion(std::string("3.10"));
    launch();
    ASSERT_NE(split(), nullptr);
    EXPECT_EQ(AppDelegate::sharedAppDelegate()->eventsSplitVC(), split());
    EXPECT_EQ(app().supportedInterfaceOrientationsForWindow(app().keyWindow().get()), 30u);
}

TEST_F(LaunchTest, NetworkStatusIsAnnouncedOnlyWhenKnown) {
    std::vector<std::string> objects;
    auto token = foundation::NotificationCenter::defaultCenter().addObserverForName(
        BaseViewController::kNetworkStatusNotification, {}, nullptr,
        [&](const foundation::Notification& note) { objects.push_back(note.object.stringValue()); });
    launch();
    // The launch's monitoring reports the (simulated) absent network.
    ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return !objects.empty(); }, 10));
    EXPECT_EQ(objects.back(), BaseViewController::kNetworkOffline);
    objects.clear();
    network::Reachability::setSimulatedFlags(network::ReachabilityFlag::Reachable);
    ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return !objects.empty(); }, 10));
    EXPECT_EQ(objects, std::vector<std::string>{BaseViewController::kNetworkOnline});

    objects.clear();
    AppDelegate::reachabilityStatusChanged(QNNetworkReachabilityStatus::ReachableViaWWAN);
    AppDelegate::reachabilityStatusChanged(QNNetworkReachabilityStatus::Unknown);
    AppDelegate::reachabilityStatusChanged(QNNetworkReachabilityStatus::NotReachable);
    EXPECT_EQ(objects, (std::vector<std::string>{BaseViewController::kNetworkOnline, BaseViewController::kNetworkOffline}));
    foundation::NotificationCenter::defaultCenter().removeObserver(token);
}

// Activation against the local service: the outbox timer and the delta
// check's question for the current meeting; the lifecycle's events.
TEST_F(LaunchTest, BecomingActiveStartsTheOutboxTimerAndADeltaCheck) {
    testservice::MeetingService service(testservice::generateMeeting({.seed = 1, .sessions = 4, .participants = 6}));
    ASSERT_TRUE(service.start());
    QVAApiManager::setServiceRoot(service.rootURL());
    openCurrent(service.demoToken(), service.eventId());
    settings.setAutomaticallyCheckForContentUpdates(true);
    settings.setStoredAppVersion(std::string("3.4"));
    auto& messages = MessagesManager::sharedMessagesManager();
    messages.setTimerForSchedulingOutboxMessages(nullptr);

    launch();
    EXPECT_NE(messages.timerForSchedulingOutboxMessages(), nullptr);
    const std::string current = "/api/v1/events/current";
    ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return service.requestCount("GET", current) == 1; }, 10));

    app().enterBackground();
    app().enterForeground();
    settle();
    EXPECT_EQ(newEvents(AppDelegate::kStartAppEvent), 2u);
    app().terminate();
    EXPECT_EQ(newEvents(AppDelegate::kStopAppEvent), 1u);
    messages.timerForSchedulingOutboxMessages()->invalidate();
    messages.setTimerForSchedulingOutboxMessages(nullptr);
    // Let the answers arrive before the service goes.
    foundation::RunLoop::main().runUntil(
        [&] { return QNNetworkActivityIndicatorManager::sharedManager().activityCount() == 0; }, 10);
    QVAApiManager::setServiceRoot(std::nullopt);
    service.stop();
}

}  // namespace
