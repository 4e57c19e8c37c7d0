// The settings screen over a store: the sections and their online rule across
// network changes, the member and meeting rows, the cell look, the feedback
// mail, logout, a failed cache reload (which clears the whole application,
// calendar mirror included) and the device-calendar switch with its two
// choosers.
#include <algorithm>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ShellTestSupport.h"
#include "analytics/AnalyticsUtils.h"
#include "api/ApplicationService.h"
#include "api/SyncCalendarService.h"
#include "app/ChangeAlertTimeViewController.h"
#include "app/ChooseCalendarViewController.h"
#include "app/LoadingViewController.h"
#include "app/LoginDelegatorsViewController.h"
#include "app/LoginViewController.h"
#include "app/PrivacySettingsViewController.h"
#include "app/SelectActivityViewController.h"
#include "app/SettingsViewController.h"
#include "eventkit/EKAlarm.h"
#include "eventkit/EKEvent.h"
#include "eventkit/EKEventStore.h"
#include "eventkit/EKSource.h"
#include "foundation/FileManager.h"
#include "foundation/Log.h"
#include "foundation/RunLoop.h"
#include "messageui/MFMailComposeViewController.h"
#include "model/QVAEvent.h"
#include "model/QVAUserAccount.h"
#include "people/ParticipantDetailsViewController.h"
#include "store/CoreDataStack.h"
#include "uikit/UIAlertView.h"
#include "uikit/UIDevice.h"
#include "uikit/UIFont.h"
#include "uikit/UILabel.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UISwitch.h"
#include "uikit/UITableViewCell.h"
#include "Utils/Utils.h"

namespace {

using foundation::Value;
using eventkit::EKAuthorizationStatus;
using eventkit::EKEntityType;
using Titles = std::vector<std::string>;

constexpr const char* kSettingsToken = "settings-token";

class SettingsScreenTest : public shelltest::ShellTest {
protected:
    std::shared_ptr<SyncCalendarService> calendarService = ApplicationService::syncCalendarService();

    void SetUp() override {
        ShellTest::SetUp();
        AnalyticsUtils::initializeAnalytics();
        for (const char* name : {AppStoryboards::kPhoneStoryboardName, AppStoryboards::kPadStoryboardName}) {
            auto storyboard = uikit::UIStoryboard::storyboardWithName(name);
            if (!storyboard->hasScene(SettingsViewController::kStoryboardIdentifier))
                SettingsViewController::addScene(*storyboard);
            if (!storyboard->hasScene(ChooseCalendarViewController::kStoryboardIdentifier))
                ChooseCalendarViewController::addScene(*storyboard);
            if (!storyboard->hasScene(ChangeAlertTimeViewController::kStoryboardIdentifier))
                ChangeAlertTimeViewController::addScene(*storyboard);
        }
        // The queue is archived in the application's home, which a run of
        // the whole binary in one process shares between tests.
        eventsAtStart_ = AnalyticsUtils::queuedEvents().size();
    }
    void TearDown() override {
        for (const auto& alert : app().visibleAlerts()) alert->dismissWithClickedButtonIndex(1, false);
        auto device = calendarService->eventStore();
        eventkit::EKEventStore::setAuthorizationStatus(EKEntityType::Event, EKAuthorizationStatus::Authorized);
        for (const auto& calendar : device->calendarsForEntityType(EKEntityType::Event)) device->removeCalendar(calendar);
        eventkit::EKEventStore::setAuthorizationStatus(EKEntityType::Event, EKAuthorizationStatus::NotDetermined);
        eventkit::EKEventStore::setAccessRequestAnswer(EKEntityType::Event, true);
        messageui::MFMailComposeViewController::setCanSendMail(true);
        network::Reachability::setSimulatedFlags(0);
        ShellTest::TearDown();
    }

    // The user "Ada Demo" (p1) in meeting 42 "Summit", with the permissions
    // given, her own participant row in the booklet, and the extras asked for.
    void prepare(const std::vector<std::string>& permissions, bool withDelegator, bool twoMeetings,
                 const std::string& meetingName = "Summit") {
        openCurrent(kSettingsToken);
        settings.setCurrentAccount(QVAUserAccount::initWithDictionary(Value::dictionary(
            {{"accessToken", kSettingsToken}, {"user", Value::dictionary({{"id", "p1"}, {"fullName", "Ada Demo"}})}})));
        settings.setCurrentEvent(QVAEvent::initWithDictionary(Value::dictionary({{"id", "42"}, {"name", meetingName}})));
        std::vector<meetingtest::Row> rows;
        for (const auto& code : permissions) rows.push_back({{"code", Value(code)}, {"granted", Value(true)}});
        insert(kSettingsToken, "QVACoreDataPermission", rows);
        insert(kSettingsToken, "QVACoreDataParticipant", {{{"itemId", Value("p1")}, {"inBooklet", Value(true)}}});
        if (withDelegator)
            insert(kSettingsToken, "QVACoreDataLoginDelegator",
                   {{{"itemId", Value("d1")}, {"fullName", Value("Dana Demo")}, {"type", Value("spouse")}}});
        std::vector<meetingtest::Row> meetings{{{"itemId", Value("42")}}};
        if (twoMeetings) meetings.push_back({{"itemId", Value("41")}});
        insert(kSettingsToken, "QVACoreDataEvent", meetings);
        insert(kSettingsToken, "QVACoreDataSession",
               {{{"itemId", Value("s1")}, {"startDatetime", Value("2015-03-12T09:30:00+01:00")}}});
        insert(kSettingsToken, "QVACoreDataAgendaSelection",
               {{{"agendaItemId", Value("a1")},
                 {"itemId", Value("s1")},
                 {"title", Value("Opening")},
                 {"startDatetime", Value("2015-03-12T09:30:00+01:00")},
                 {"endDatetime", Value("2015-03-12T10:30:00+01:00")}}});
    }
    static std::vector<std::string> allPermissions() {
        return {"user:privacy_settings", "event:change", "my_agenda:selections"};
    }

    void setOnline(bool online) {
        network::Reachability::setSimulatedFlags(online ? network::ReachabilityFlag::Reachable : 0);
        ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return Utils::isInternetReachable() == online; }, 10));
        settle();
    }

    // Launches with the network as asked, then pushes the settings screen on the More tab.
    std::shared_ptr<SettingsViewController> openSettings(bool online) {
        launch();
        tabBar()->selectTabBarItem(EventsTabBarController::moreTabIndex());
        settle();
        setOnline(online);
        auto screen = BaseViewController::instantiateViewController<SettingsViewController>();
        navigation()->pushViewController(screen, false);
        settle();
        screen->loadViewIfNeeded();  // the pad's tab bar may be out of view
        return screen;
    }
    std::shared_ptr<uikit::UINavigationController> navigation() const {
        return std::dynamic_pointer_cast<uikit::UINavigationController>(
            tabBar()->viewControllers().at(static_cast<size_t>(EventsTabBarController::moreTabIndex())));
    }

    static uikit::UITableViewCellPtr cell(SettingsViewController& screen, int64_t section, int64_t row) {
        return screen.tableViewCellForRowAtIndexPath(*screen.settingsTableView(), {section, row});
    }
    static Titles sectionNames(SettingsViewController& screen) {
        Titles names;
        for (const auto& section : screen.settingsDataSource()) names.push_back(section->sectionName());
        return names;
    }
    static Titles rowTitles(SettingsViewController& screen, size_t section) {
        Titles titles;
        for (const auto& row : screen.settingsDataSource().at(section)->cellsArray())
            titles.push_back(row->cellText().value_or("(none)"));
        return titles;
    }
    // The titles of the rows a tap acts on, over all sections.
    static Titles enabledRows(SettingsViewController& screen) {
        Titles titles;
        for (const auto& section : screen.settingsDataSource())
            for (const auto& row : section->cellsArray())
                if (row->isEnabled()) titles.push_back(row->cellText().value_or("(none)"));
        return titles;
    }
    static std::shared_ptr<uikit::UISwitch> calendarSwitch(SettingsViewController& screen) {
        auto shown = screen.settingsTableView()->cellForRowAtIndexPath({2, 1});
        return shown ? std::dynamic_pointer_cast<uikit::UISwitch>(shown->accessoryView()) : nullptr;
    }
    // The events this test tracked.
    std::vector<AnalyticsEvent> trackedEvents() const {
        auto events = AnalyticsUtils::queuedEvents();
        events.erase(events.begin(), events.begin() + std::ptrdiff_t(std::min(eventsAtStart_, events.size())));
        return events;
    }
    size_t tracked(const std::string& name) const {
        size_t count = 0;
        for (const auto& event : trackedEvents()) count += event.name == name;
        return count;
    }
    std::string lastState(const std::string& name) const {
        std::string state;
        for (const auto& event : trackedEvents())
            if (event.name == name && event.properties.count("State")) state = event.properties.at("State");
        return state;
    }
    size_t eventsAtStart_ = 0;
    std::shared_ptr<uikit::UIAlertView> frontAlert() const {
        auto alerts = app().visibleAlerts();
        return alerts.empty() ? nullptr : alerts.back();
    }
    std::vector<eventkit::EKEventPtr> mirroredEvents(const eventkit::EKCalendarPtr& calendar) const {
        auto device = calendarService->eventStore();
        return device->eventsMatchingPredicate(device->predicateForEventsWithStartDate(
            foundation::Date::distantPast(), foundation::Date::distantFuture(),
            std::vector<eventkit::EKCalendarPtr>{calendar}));
    }
    eventkit::EKCalendarPtr addWorkCalendar() {
        auto device = calendarService->eventStore();
        eventkit::EKEventStore::setAuthorizationStatus(EKEntityType::Event, EKAuthorizationStatus::Authorized);
        auto local = device->addSource("On My Device", eventkit::EKSourceType::Local);
        device->addCalendar(local, "Home", eventkit::EKCalendarType::Local, true);
        return device->addCalendar(device->addSource("Work", eventkit::EKSourceType::Exchange), "Meetings",
                                   eventkit::EKCalendarType::Exchange, true);
    }
};

TEST_F(SettingsScreenTest, OnlineSectionsRowsAndCellLook) {
    prepare(allPermissions(), true, true);
    auto screen = openSettings(true);
    ASSERT_TRUE(screen);
    EXPECT_TRUE(screen->hasDataLoaded());
    EXPECT_TRUE(screen->isParticipantCellEnabled());
    EXPECT_EQ(tracked("View settings"), 1u);
    EXPECT_EQ(sectionNames(*screen),
              (Titles{"Account", "", "Event", "Sync", "Version " + ApplicationService::applicationVersion()}));
    EXPECT_EQ(rowTitles(*screen, 0), Titles{"Ada Demo"});
    EXPECT_EQ(rowTitles(*screen, 1), (Titles{"Privacy settings", "Manage members of my party", "Log out"}));
    EXPECT_EQ(rowTitles(*screen, 2), (Titles{"Summit", "Sync my agenda with the device calendar"}));
    EXPECT_EQ(rowTitles(*screen, 3), (Titles{"Update content", "Clear cache and reload content"}));
    EXPECT_EQ(rowTitles(*screen, 4), (Titles{"Check for software updates", "Send feedback"}));
    EXPECT_EQ(enabledRows(*screen).size(), 10u);

    auto table = screen->settingsTableView();
    EXPECT_DOUBLE_EQ(table->rectForRowAtIndexPath({1, 0}).size.height, 44);
    auto account = cell(*screen, 0, 0);
    EXPECT_EQ(account->reuseIdentifier(), "Non_reusable_cell_identifier");
    EXPECT_EQ(account->accessoryType(), uikit::UITableViewCellAccessoryType::DisclosureIndicator);
    EXPECT_EQ(account->textLabel()->font()->pointSize(), 17);
    EXPECT_EQ(cell(*screen, 1, 2)->textLabel()->textAlignment(), uikit::NSTextAlignment::Center);
    auto toggle = calendarSwitch(*screen);
    ASSERT_TRUE(toggle);
    EXPECT_FALSE(toggle->isOn());
    // A new cell per request.
    EXPECT_NE(cell(*screen, 0, 0), account);
}

TEST_F(SettingsScreenTest, OfflineRowsAreDisabledUntilTheNextNetworkChange) {
    prepare(allPermissions(), true, true);
    settings.setSyncWithCalendar(true);
    settings.setCalendarAlertTime(3);
    auto screen = openSettings(false);
    EXPECT_EQ(enabledRows(*screen),
              (Titles{"Ada Demo", "Log out", "Sync my agenda with the device calendar", "Calendar alert time"}));
    auto alertTime = cell(*screen, 2, 2);
    EXPECT_EQ(alertTime->detailTextLabel()->text(), "15 minutes before");
    EXPECT_EQ(alertTime->detailTextLabel()->font()->pointSize(), 14);
    auto privacy = cell(*screen, 1, 0);
    EXPECT_FALSE(privacy->textLabel()->isEnabled());
    EXPECT_EQ(privacy->selectionStyle(), uikit::UITableViewCellSelectionStyle::None);
    EXPECT_FALSE(screen->settingsDataSource()[1]->cellsArray()[0]->cellActionSelector());
    // Tapping a disabled row does nothing.
    auto top = navigation()->topViewController();
    EXPECT_TRUE(driver().tapRow(1, 0));
    settle();
    EXPECT_EQ(navigation()->topViewController(), top);

    setOnline(true);
    EXPECT_EQ(enabledRows(*screen).size(), 11u);
    EXPECT_TRUE(cell(*screen, 1, 0)->textLabel()->isEnabled());
}

TEST_F(SettingsScreenTest, MemberModeOneMeetingAndTitleLines) {
    // 23 characters: two lines on the phone.
    prepare({"event:change"}, true, false, "Quovana Summit Meeting!");
    settings.setBaseUserWhenSwitchToDelegate(QVAUserAccount::initWithDictionary(Value::dictionary(
        {{"accessToken", "base-token"}, {"user", Value::dictionary({{"id", "b1"}, {"fullName", "Bea Base"}})}})));
    auto screen = openSettings(true);
    ASSERT_TRUE(settings.isCurrentUserADelegate());
    EXPECT_EQ(rowTitles(*screen, 1), (Titles{"Log back in as Bea Base", "Log out"}));
    EXPECT_FALSE(screen->settingsDataSource()[2]->cellsArray()[0]->isEnabled());  // one stored meeting
    EXPECT_EQ(rowTitles(*screen, 2), Titles{"Quovana Summit Meeting!"});  // no agenda permission, no switch
    EXPECT_EQ(cell(*screen, 2, 0)->textLabel()->numberOfLines(), 2u);
    EXPECT_EQ(cell(*screen, 0, 0)->textLabel()->numberOfLines(), 1u);
}

TEST_F(SettingsScreenTest, MeetingRowOpensTheSwitcherAndLogsTest) {
    prepare(allPermissions(), false, true);
    auto screen = openSettings(true);
    EXPECT_EQ(rowTitles(*screen, 1), (Titles{"Privacy settings", "Log out"}));
    foundation::ScopedLogCapture log;
    EXPECT_TRUE(driver().tapRow(2, 0));
    settle();
    EXPECT_TRUE(log.contains("Test"));
    EXPECT_TRUE(std::dynamic_pointer_cast<SelectActivityViewController>(navigation()->topViewController()));
}

TEST_F(SettingsScreenTest, FeedbackMailWithTheMeetingAndDevice) {
    prepare(allPermissions(), false, true);
    auto screen = openSettings(true);
    messageui::MFMailComposeViewController::setCanSendMail(false);
    screen->sendFeedback(Value());
    settle();
    EXPECT_EQ(screen->presentedViewController(), nullptr);

    messageui::MFMailComposeViewController::setCanSendMail(true);
    EXPECT_TRUE(driver().tapRow(4, 1));
    settle();
    auto composer = std::dynamic_pointer_cast<messageui::MFMailComposeViewController>(screen->presentedViewController());
    ASSERT_TRUE(composer);
    EXPECT_EQ(composer->subject(), "iOS Quovana Events app feedback");
    auto& device = uikit::UIDevice::currentDevice();
    EXPECT_EQ(composer->messageBody(),
              "\n\n--\nEvent: Summit\nOS version: " + device.systemVersion() + "\nDevice model: " + device.model());
    EXPECT_FALSE(composer->isHTML());
    EXPECT_EQ(composer->toRecipients().size(), 1u);
    composer->finishWithResult(messageui::MFMailComposeResult::Sent);
    settle();
    ASSERT_TRUE(composer->sentMessagePath());
    EXPECT_TRUE(foundation::FileManager::defaultManager().fileExistsAtPath(*composer->sentMessagePath()));
    EXPECT_EQ(screen->presentedViewController(), nullptr);
}

TEST_F(SettingsScreenTest, LogoutAsksThenClearsEverythingAndLeavesTheLoginRoot) {
    prepare(allPermissions(), false, true);
    auto screen = openSettings(true);
    screen->onLogoutExecuted(Value());
    settle();
    ASSERT_TRUE(frontAlert());
    EXPECT_EQ(frontAlert()->title(), "Are you sure you want to log out ?");
    EXPECT_TRUE(driver().answerAlert("Cancel"));
    settle();
    EXPECT_TRUE(settings.currentAccount());

    // The agenda mirrored into a calendar first.
    auto calendar = addWorkCalendar();
    bool synced = false;
    calendarService->syncMyAgendaWithDeviceCalendar(calendar, std::string(kSettingsToken), std::string("42"),
                                                    [&](foundation::ErrorPtr error, Value) { synced = !error; });
    ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return synced; }, 10));
    settings.setSyncWithCalendar(true);
    settings.setCalendarIdentifier(calendar->calendarIdentifier());
    ASSERT_EQ(mirroredEvents(calendar).size(), 1u);

    EXPECT_TRUE(driver().tapRow(1, 1));
    settle();
    ASSERT_TRUE(frontAlert());
    EXPECT_EQ(frontAlert()->title(),
              "Are you sure you want to log out (your agenda calendar entries will also be deleted)?");
    EXPECT_TRUE(driver().answerAlert("OK"));
    settle();
    EXPECT_TRUE(std::dynamic_pointer_cast<LoginViewController>(root()));
    EXPECT_FALSE(settings.currentAccount());
    EXPECT_FALSE(settings.syncWithCalendar());
    EXPECT_TRUE(mirroredEvents(calendar).empty());
    EXPECT_FALSE(foundation::FileManager::defaultManager().fileExistsAtPath(
        CoreDataStack::databaseUrlForAuthToken(std::string(kSettingsToken), std::string("42"))));
    EXPECT_EQ(tracked("Log out"), 1u);
    EXPECT_TRUE(AnalyticsUtils::superProperties().empty());
}

TEST_F(SettingsScreenTest, AFailedCacheReloadClearsTheWholeApplicationOnOK) {
    prepare(allPermissions(), false, true);
    auto calendar = addWorkCalendar();
    bool synced = false;
    calendarService->syncMyAgendaWithDeviceCalendar(calendar, std::string(kSettingsToken), std::string("42"),
                                                    [&](foundation::ErrorPtr error, Value) { synced = !error; });
    ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return synced; }, 10));
    settings.setSyncWithCalendar(true);
    settings.setCalendarIdentifier(calendar->calendarIdentifier());
    ASSERT_EQ(mirroredEvents(calendar).size(), 1u);
    auto screen = openSettings(true);
    // A store companion file gone: the store cannot be moved aside.
    await([&](auto done) { store.waitForPendingFileSaves(done); });
    const auto paths = CoreDataStack::databaseUrlsStringsToBeMovedForAuthToken(std::string(kSettingsToken), std::string("42"));
    ASSERT_GE(paths.size(), 3u);
    foundation::FileManager::defaultManager().removeItemAtPath(paths[2]);

    foundation::ScopedLogCapture log;
    EXPECT_TRUE(driver().tapRow(3, 1));
    settle();
    EXPECT_TRUE(log.contains("Will clear cache"));
    EXPECT_TRUE(log.contains("Unable to clear cache and reload content"));
    EXPECT_EQ(tracked("Clear cache and reload content"), 1u);
    ASSERT_TRUE(frontAlert());
    EXPECT_EQ(frontAlert()->title(), "An error occurred while trying to reload content. Please log in again.");
    EXPECT_TRUE(driver().answerAlert("OK"));
    settle();
    EXPECT_TRUE(std::dynamic_pointer_cast<LoginViewController>(root()));
    EXPECT_FALSE(settings.currentAccount());
    EXPECT_FALSE(settings.syncWithCalendar());
    EXPECT_FALSE(settings.calendarIdentifier());
    EXPECT_TRUE(mirroredEvents(calendar).empty());
}

TEST_F(SettingsScreenTest, CalendarSwitchChoosersAndUnsync) {
    prepare(allPermissions(), false, true);
    auto screen = openSettings(true);
    ASSERT_TRUE(calendarSwitch(*screen));

    // Access refused: the switch stays off, the table as it was.
    eventkit::EKEventStore::setAuthorizationStatus(EKEntityType::Event, EKAuthorizationStatus::NotDetermined);
    eventkit::EKEventStore::setAccessRequestAnswer(EKEntityType::Event, false);
    EXPECT_TRUE(driver().setSwitch(2, 1, true));
    settle();
    for (const auto& alert : app().visibleAlerts()) alert->dismissWithClickedButtonIndex(0, false);
    settle();
    EXPECT_FALSE(calendarSwitch(*screen)->isOn());
    EXPECT_EQ(rowTitles(*screen, 2).size(), 2u);
    EXPECT_EQ(navigation()->topViewController(), screen);

    // With access: the chooser gets only the non-local sources.
    auto calendar = addWorkCalendar();
    EXPECT_TRUE(driver().setSwitch(2, 1, true));
    settle();
    EXPECT_FALSE(calendarSwitch(*screen)->isOn());  // back to the stored state until synced
    auto chooser = std::dynamic_pointer_cast<ChooseCalendarViewController>(navigation()->topViewController());
    ASSERT_TRUE(chooser);
    ASSERT_EQ(chooser->calendarSourcesData().size(), 1u);
    EXPECT_EQ(chooser->calendarSourcesData()[0]->source()->title(), "Work");
    EXPECT_EQ(chooser->delegate().get(), static_cast<ChooseCalendarControllerDelegate*>(screen.get()));

    // The chooser pops itself and then calls the screen, which syncs.
    EXPECT_TRUE(driver().tapRow(0, 0));
    EXPECT_EQ(navigation()->topViewController(), screen);
    settle();
    ASSERT_TRUE(frontAlert());
    EXPECT_EQ(frontAlert()->message(), "Your agenda has been synced with \"Meetings\" calendar in your Work account");
    frontAlert()->dismissWithClickedButtonIndex(0, false);
    settle();
    EXPECT_TRUE(settings.syncWithCalendar());
    EXPECT_EQ(settings.calendarIdentifier(), calendar->calendarIdentifier());
    EXPECT_EQ(lastState("Sync agenda with device calendar"), "ON");
    EXPECT_EQ(rowTitles(*screen, 2).back(), "Calendar alert time");

    // The alert time: the seven labels, "1 hour before" stored as 5.
    EXPECT_TRUE(driver().tapRow(2, 2));
    settle();
    auto alertTimes = std::dynamic_pointer_cast<ChangeAlertTimeViewController>(navigation()->topViewController());
    ASSERT_TRUE(alertTimes);
    EXPECT_EQ(alertTimes->alertTimeDataSource(), SettingsViewController::calendarAlertTimeStrings());
    EXPECT_TRUE(driver().tapRow(0, 5));
    settle();
    EXPECT_EQ(navigation()->topViewController(), screen);
    EXPECT_EQ(settings.calendarAlertTime(), 5);
    EXPECT_EQ(cell(*screen, 2, 2)->detailTextLabel()->text(), "1 hour before");
    auto mirrored = mirroredEvents(calendar);
    ASSERT_EQ(mirrored.size(), 1u);
    ASSERT_EQ(mirrored[0]->alarms().size(), 1u);
    EXPECT_EQ(mirrored[0]->alarms()[0]->relativeOffset(), -3600);

    // Off: the mirror removed, "OFF" tracked.
    EXPECT_TRUE(driver().setSwitch(2, 1, false));
    settle();
    EXPECT_FALSE(settings.syncWithCalendar());
    EXPECT_EQ(lastState("Sync agenda with device calendar"), "OFF");
    EXPECT_TRUE(mirroredEvents(calendar).empty());
    EXPECT_EQ(rowTitles(*screen, 2).size(), 2u);
}

TEST_F(SettingsScreenTest, RowActionsOpenTheirScreens) {
    prepare(allPermissions(), true, true);
    auto screen = openSettings(true);

    EXPECT_TRUE(driver().tapRow(0, 0));
    settle();
    auto details = std::dynamic_pointer_cast<ParticipantDetailsViewController>(navigation()->topViewController());
    ASSERT_TRUE(details);
    EXPECT_EQ(details->selectionPropertyId(), "p1");
    EXPECT_EQ(details->entityName(), "QVACoreDataParticipant");
    navigation()->popToViewController(screen, false);

    EXPECT_TRUE(driver().tapRow(1, 0));
    settle();
    EXPECT_TRUE(std::dynamic_pointer_cast<PrivacySettingsViewController>(navigation()->topViewController()));
    for (const auto& alert : app().visibleAlerts()) alert->dismissWithClickedButtonIndex(0, false);  // nothing to load from
    navigation()->popToViewController(screen, false);
    settle();

    EXPECT_TRUE(driver().tapRow(1, 1));
    settle();
    EXPECT_TRUE(std::dynamic_pointer_cast<LoginDelegatorsViewController>(navigation()->topViewController()));
    navigation()->popToViewController(screen, false);
    settle();

    EXPECT_TRUE(driver().tapRow(3, 0));
    EXPECT_EQ(tracked("Update content"), 1u);

    // A reset that succeeds: the loading screen in clear-cache mode, over the settings.
    EXPECT_TRUE(driver().tapRow(3, 1));
    settle();
    auto loading = std::dynamic_pointer_cast<LoadingViewController>(screen->presentedViewController());
    ASSERT_TRUE(loading);
    EXPECT_TRUE(loading->shouldClearCacheAndReloadContent());
}

TEST_F(SettingsScreenTest, SwitchBackClearsAndLoadsTheSavedAccount) {
    prepare(allPermissions(), true, true);
    settings.setBaseUserWhenSwitchToDelegate(QVAUserAccount::initWithDictionary(Value::dictionary(
        {{"accessToken", "base-token"}, {"user", Value::dictionary({{"id", "b1"}, {"fullName", "Bea Base"}})}})));
    auto screen = openSettings(true);
    EXPECT_TRUE(driver().tapRow(1, 1));
    settle();
    std::map<std::string, std::string> properties;
    for (const auto& event : trackedEvents())
        if (event.name == "Change user") properties = event.properties;
    EXPECT_EQ(properties["Target participant full name"], "Bea Base");
    EXPECT_EQ(properties["Target participant id"], "b1");
    // The member mode ends: the saved account is loaded with no base user.
    EXPECT_FALSE(settings.isCurrentUserADelegate());
    EXPECT_FALSE(settings.baseUserWhenSwitchToDelegate());
}

class PadSettingsScreenTest : public SettingsScreenTest {
protected:
    uikit::DeviceProfile deviceProfile() const override { return uikit::DeviceProfile::iPad(); }
};

TEST_F(PadSettingsScreenTest, ATwentyThreeCharacterTitleKeepsOneLine) {
    prepare({"event:change"}, false, true, "Quovana Summit Meeting!");
    auto screen = openSettings(true);
    EXPECT_EQ(cell(*screen, 2, 0)->textLabel()->numberOfLines(), 1u);
}

}  // namespace
