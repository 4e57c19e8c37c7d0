// The home screen's actions against the local meeting service: the occupancy
// of the shown sessions and its live status, the acknowledgement of a
// notification, the bar's feedback and switch-back buttons, opening details
// from rows and stepping between them.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "analytics/AnalyticsUtils.h"
#include "api/ApplicationService.h"
#include "api/SyncCalendarService.h"
#include "eventkit/EKCalendar.h"
#include "eventkit/EKEvent.h"
#include "eventkit/EKEventStore.h"
#include "app/LoadingViewController.h"
#include "app/ShellTestSupport.h"
#include "foundation/Clock.h"
#include "foundation/Log.h"
#include "lists/GlobalSearchManager.h"
#include "lists/IdIndexPair.h"
#include "lists/SearchEntity.h"
#include "model/QVAEvent.h"
#include "model/QVANotification.h"
#include "model/QVASessionOccupancy.h"
#include "model/QVAUserAccount.h"
#include "people/ParticipantDetailsViewController.h"
#include "programme/ProgrammeDetailsViewController.h"
#include "programme/SpotlightSectionDataModel.h"
#include "programme/SpotlightSessionModel.h"
#include "programme/SpotlightSessionTableViewCell.h"
#include "programme/SpotlightViewController.h"
#include "service/MeetingGenerator.h"
#include "service/MeetingService.h"
#include "uikit/UIAlertView.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UIColor.h"
#include "uikit/UIControl.h"
#include "uikit/UIImage.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationItem.h"
#include "uikit/UISearchBar.h"
#include "uikit/UISearchDisplayController.h"

namespace {

using foundation::Value;
using Home = SpotlightViewController;
using Row = meetingtest::Row;
using Strings = std::vector<std::string>;

constexpr const char* kActionsToken = "home-actions-token";
constexpr double kActionsWait = 30;
// 2015-03-09T23:00:00Z: midnight of the first day, 10 March, in +01:00.
constexpr double kFirstDayMidnight = 447669000.0 - 34200;

Row actionsSession(const std::string& id, const std::string& start, const std::string& end) {
    return {{"itemId", id},
            {"title", "Session " + id},
            {"startDatetime", "2015-03-10T" + start + ":00+01:00"},
            {"endDatetime", "2015-03-10T" + end + ":00+01:00"}};
}

std::string occupancyJson(int percent, int remaining) {
    return "{\"occupancyPercent\":" + std::to_string(percent) + ",\"remainingCapacity\":" + std::to_string(remaining) + "}";
}

class SpotlightActionsTest : public shelltest::ShellTest {
protected:
    std::unique_ptr<testservice::MeetingService> service;

    void SetUp() override {
        ShellTest::SetUp();
        service = std::make_unique<testservice::MeetingService>(
            testservice::generateMeeting({.seed = 1, .sessions = 24, .participants = 60, .days = 2}));
        ASSERT_TRUE(service->start());
        service->addToken(kActionsToken);
        QVAApiManager::setServiceRoot(service->rootURL());
        openCurrent(kActionsToken);
        setEvent("2015-03-10", "http://feedback.example/form");
    }
    void TearDown() override {
        ShellTest::TearDown();
        service->stop();
    }

    void setEvent(const std::string& startDate, const std::string& feedback) {
        settings.setCurrentEvent(QVAEvent::initWithDictionary(Value::dictionary(
            {{"id", "42"}, {"startDate", startDate}, {"endDate", "2015-03-11"}, {"feedbackFormUrl", feedback}})));
    }
    void setOnline(bool online) {
        auto& reachability = QNNetworkReachabilityManager::sharedManager();
        network::Reachability::setSimulatedFlags(online ? network::ReachabilityFlag::Reachable : 0);
        reachability.startMonitoring();
        ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return reachability.isReachable() == online; }, kActionsWait));
    }
    static std::string occupancyPath(const std::string& id) { return "/api/v1/events/42/sessions/" + id + "/occupancy"; }
    void answerOccupancy(const std::string& id, int percent, int remaining) {
        service->injectFault("GET", occupancyPath(id), {.status = 200, .body = occupancyJson(percent, remaining)});
    }
    // Two running sessions, three to come; "run" and "f2" by a starred participant.
    void insertDay() {
        insert(kActionsToken, "QVACoreDataSession",
               {actionsSession("run", "09:00", "10:00"), actionsSession("now", "09:30", "10:30"), actionsSession("f1", "11:00", "11:30"),
                actionsSession("f2", "12:00", "12:30"), actionsSession("f3", "13:00", "13:30")});
        insert(kActionsToken, "QVACoreDataParticipant", {{{"itemId", "p1"}, {"fullName", "Jo"}, {"contributions", "run|speaker;f2|chair"}}});
        insert(kActionsToken, "QVACoreDataFollowedParticipant", {{{"itemId", "p1"}}});
    }
    std::shared_ptr<Home> launchHome() {
        launch();
        auto home = rootOfTab<Home>(0);
        EXPECT_TRUE(home && home->isViewLoaded());
        return home;
    }
    static std::shared_ptr<SpotlightSessionModel> rowOf(Home& home, int64_t section, size_t row) {
        auto model = home.sectionModelForSection(section);
        return model && row < model->modelItems().size()
                   ? std::dynamic_pointer_cast<SpotlightSessionModel>(model->modelItems()[row])
                   : nullptr;
    }
    static Strings rightItemImages(Home& home) {
        Strings names;
        for (const auto& item : home.navigationItem()->rightBarButtonItems())
            names.push_back(item->image() ? item->image()->name().value_or("") : "");
        return names;
    }
};

// ---- Occupancy -----------------------------------------------------------------

TEST_F(SpotlightActionsTest, OccupancyIsAskedOncePerShownSessionAndReachesEveryRowShowingIt) {
    insertDay();
    setOnline(true);
    answerOccupancy("run", 79, 40);
    answerOccupancy("now", 80, 3);
    answerOccupancy("f1", 99, 1);
    answerOccupancy("f2", 100, 0);
    answerOccupancy("f3", 120, 0);
    foundation::ScopedLogCapture log;
    auto home = launchHome();
    ASSERT_TRUE(home);
    ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return log.contains(Home::kOccupancyReadyLog); }, kActionsWait));

    for (const char* id : {"run", "now", "f1", "f2", "f3"}) EXPECT_EQ(service->requestCount("GET", occupancyPath(id)), 1u) << id;
    EXPECT_EQ(home->statusForSessionsDictionary().size(), 5u);
    // "run" is both running now and a starred participant's session.
    auto running = rowOf(*home, Home::kWhatsOnNowSection, 0);
    auto starred = rowOf(*home, Home::kStarredParticipantsSessionsSection, 0);
    ASSERT_TRUE(running && starred);
    EXPECT_EQ(*running->itemId(), "run");
    EXPECT_EQ(*starred->itemId(), "run");
    ASSERT_TRUE(running->sessionOccupancy() && starred->sessionOccupancy());
    EXPECT_EQ(running->sessionOccupancy()->occupancyPercent(), 79);
    EXPECT_EQ(starred->sessionOccupancy()->occupancyPercent(), 79);
}

TEST_F(SpotlightActionsTest, AFailedOccupancyIsLoggedWithoutAlertAndNoSessionsAskNothing) {
    insertDay();
    setOnline(true);
    service->injectFault("GET", occupancyPath("f1"), {.status = 500});
    foundation::ScopedLogCapture log;
    auto home = launchHome();
    ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return log.contains(Home::kOccupancyReadyLog); }, kActionsWait));
    EXPECT_TRUE(log.contains("Unable to get session status to display in spotlight - "));
    EXPECT_TRUE(app().visibleAlerts().empty());
    EXPECT_EQ(home->statusForSessionsDictionary().count("f1"), 0u);
}

TEST_F(SpotlightActionsTest, WithoutShownSessionsNothingIsAskedNorReloaded) {
    setOnline(true);
    foundation::ScopedLogCapture log;
    launchHome();
    settle();
    EXPECT_FALSE(log.contains(Home::kOccupancyReadyLog));
    for (const auto& request : service->requestLog()) EXPECT_EQ(request.path.find("/occupancy"), std::string::npos);
}

TEST_F(SpotlightActionsTest, PersonalEntriesHaveNoOccupancyId) {
    auto official = SpotlightSessionModel::initWithId(std::string("s1"));
    auto personal = SpotlightSessionModel::initWithId(std::string("pe1"));
    personal->setSessionType(SpotlightSessionModel::kPersonalEntry);
    auto agenda = SpotlightSessionModel::initWithId(std::string("s2"));
    agenda->setSessionType(SpotlightSessionModel::kOtherAgendaItem);
    EXPECT_EQ(Home::getSessionIds({official, personal, agenda}), (Strings{"s1", "s2"}));
}

TEST_F(SpotlightActionsTest, LiveStatusFollowsTheOccupancyPercent) {
    auto cell = std::dynamic_pointer_cast<SpotlightSessionTableViewCell>(SpotlightSessionTableViewCell::makePrototype());
    ASSERT_TRUE(cell && cell->liveStatusMessageLabel() && cell->liveStatusHintLabel());
    auto model = SpotlightSessionModel::initWithId(std::string("s1"));
    auto show = [&](int percent, int remaining) {
        model->setSessionOccupancy(QVASessionOccupancy::initWithDictionary(
            Value::dictionary({{"occupancyPercent", percent}, {"remainingCapacity", remaining}})));
        Home::configureLiveStatusTextForCell(*cell, *model);
        return cell->liveStatusMessageLabel()->text().value_or("");
    };
    auto colour = [&] { return graphics::Color(cell->liveStatusMessageLabel()->textColor()); };

    EXPECT_EQ(show(79, 40), "Open");
    EXPECT_EQ(colour(), graphics::Color(uikit::UIColor::colorWithRed(0, 1, 0, 1)));
    EXPECT_FALSE(cell->liveStatusMessageLabel()->isHidden());
    EXPECT_EQ(show(80, 3), "3 seats remaining");
    EXPECT_EQ(colour(), graphics::Color(uikit::UIColor::colorWithRed(1, 165.0 / 255.0, 0, 1)));
    EXPECT_EQ(show(99, 1), "1 seat remaining");
    EXPECT_EQ(show(100, 0), "Full");
    EXPECT_EQ(colour(), graphics::Color(uikit::UIColor::redColor()));
    // Out of range: both hidden, the last text left.
    EXPECT_EQ(show(120, 0), "Full");
    EXPECT_TRUE(cell->liveStatusMessageLabel()->isHidden());
    EXPECT_TRUE(cell->liveStatusHintLabel()->isHidden());
    EXPECT_EQ(show(-1, 0), "Full");
    EXPECT_TRUE(cell->liveStatusHintLabel()->isHidden());
}

// ---- Acknowledgement -----------------------------------------------------------

TEST_F(SpotlightActionsTest, AcknowledgingSendsTheDeleteAndAFailureAlertsAndKeepsTheRow) {
    insert(kActionsToken, "QVACoreDataNotification",
           {{{"itemId", "n1"}, {"message", "Room change"}, {"acknowledged", false}, {"creation_date", "2015-03-10T08:00:00+01:00"}}});
    setOnline(true);
    const std::string path = "/api/v1/events/42/my_profile/notifications/n1";
    service->injectFault("DELETE", path, {.status = 500});
    auto home = launchHome();
    auto model = home->sectionModelForSection(Home::kNotificationsSection);
    ASSERT_TRUE(model && model->modelItems().size() == 1);
    auto notification = std::dynamic_pointer_cast<QVANotification>(model->modelItems()[0]);
    auto sender = std::make_shared<uikit::UIControl>();
    home->acknowledgementBlockForNotification(notification)(*sender);
    ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return !app().visibleAlerts().empty(); }, kActionsWait));
    EXPECT_EQ(service->requestCount("DELETE", path), 1u);
    auto alert = app().visibleAlerts().front();
    EXPECT_EQ(alert->message(), std::string(Home::kAcknowledgeErrorMessage));
    EXPECT_FALSE(alert->title() && !alert->title()->empty());
    EXPECT_TRUE(driver().answerAlert("OK"));
    EXPECT_EQ(home->sectionModelForSection(Home::kNotificationsSection)->modelItems().size(), 1u);

    service->injectFault("DELETE", path, {.status = 204, .body = ""});
    home->acknowledgementBlockForNotification(notification)(*sender);
    ASSERT_TRUE(foundation::RunLoop::main().runUntil(
        [&] { return home->sectionModelForSection(Home::kNotificationsSection)->modelItems().empty(); }, kActionsWait));
    EXPECT_TRUE(app().visibleAlerts().empty());
}

// ---- Bar buttons ---------------------------------------------------------------

TEST_F(SpotlightActionsTest, FeedbackShowsStrictlyAfterTheFirstDaysMidnightAndFollowsReachability) {
    insertDay();  // the meeting's zone comes from its sessions
    foundation::Clock::useVirtual(kFirstDayMidnight);
    setOnline(true);
    auto home = launchHome();
    EXPECT_EQ(rightItemImages(*home), Strings{});
    foundation::Clock::advance(1);
    home->configureNavigationBar(false);
    ASSERT_EQ(rightItemImages(*home), Strings{Home::kFeedbackImageName});
    EXPECT_TRUE(home->navigationItem()->rightBarButtonItems()[0]->isEnabled());

    setOnline(false);
    settle();
    ASSERT_EQ(rightItemImages(*home), Strings{Home::kFeedbackImageName});
    EXPECT_FALSE(home->navigationItem()->rightBarButtonItems()[0]->isEnabled());

    setEvent("2015-03-10", "");
    home->configureNavigationBar(false);
    EXPECT_EQ(rightItemImages(*home), Strings{});
}

TEST_F(SpotlightActionsTest, SwitchBackAsksThenOpensTheLoadingScreenForTheBaseUser) {
    setEvent("2015-03-10", "");
    auto base = QVAUserAccount::initWithDictionary(
        Value::dictionary({{"accessToken", "base-token"},
                           {"user", Value::dictionary({{"fullName", "Bea Base"}, {"id", "u-base"}})}}));
    settings.setBaseUserWhenSwitchToDelegate(base);
    auto current = settings.currentAccount();
    current->setFullName(std::string("Dee Delegate"));
    settings.setCurrentAccount(current);
    // The delegate's agenda is mirrored into a device calendar.
    using namespace eventkit;
    EKEventStore::setAuthorizationStatus(EKEntityType::Event, EKAuthorizationStatus::Authorized);
    auto device = ApplicationService::syncCalendarService()->eventStore();
    auto calendar = device->addCalendar(device->addSource("Work", EKSourceType::Exchange), "Meetings",
                                        EKCalendarType::Exchange, true);
    auto mirrored = EKEvent::eventWithEventStore(device);
    mirrored->setTitle(std::string("Opening plenary"));
    mirrored->setStartDate(foundation::Date::now());
    mirrored->setEndDate(foundation::Date::now().dateByAddingTimeInterval(3600));
    mirrored->setCalendar(calendar);
    ASSERT_TRUE(device->saveEvent(mirrored, EKSpan::ThisEvent, true));
    const std::string mirroredId = mirrored->eventIdentifier().value_or("");
    settings.setCalendarIdentifier(calendar->calendarIdentifier());
    settings.setCalendarDatabase(Value::Dictionary{{"delegate-token", Value::dictionary({{"s1", mirroredId}})}});
    settings.setSyncWithCalendar(true);
    AnalyticsUtils::initializeAnalytics();
    size_t changesBefore = 0;
    for (const auto& event : AnalyticsUtils::queuedEvents()) changesBefore += event.name == "Change user";
    setOnline(true);
    auto home = launchHome();
    ASSERT_EQ(rightItemImages(*home), Strings{Home::kSwitchUserImageName});
    EXPECT_TRUE(home->navigationItem()->rightBarButtonItems()[0]->isEnabled());

    home->onSwitchBackExecuted(nullptr);
    ASSERT_EQ(app().visibleAlerts().size(), 1u);
    auto alert = app().visibleAlerts().front();
    EXPECT_EQ(alert->title(), std::string("You are currently logged in as Dee Delegate. Do you want to switch back to Bea Base ?"));
    EXPECT_EQ(alert->numberOfButtons(), 2);
    EXPECT_EQ(alert->buttonTitleAtIndex(0), std::string("OK"));
    EXPECT_EQ(alert->buttonTitleAtIndex(1), std::string("Cancel"));
    EXPECT_TRUE(driver().answerAlert("OK"));

    EXPECT_FALSE(settings.isCurrentUserADelegate());
    EXPECT_EQ(settings.baseUserWhenSwitchToDelegate(), nullptr);
    EXPECT_FALSE(settings.settingsShowTutorial());
    auto loading = std::dynamic_pointer_cast<LoadingViewController>(home->presentedViewController());
    ASSERT_TRUE(loading);
    // For the base user, with no meeting asked for.
    ASSERT_TRUE(loading->currentUserAccount());
    EXPECT_EQ(loading->currentUserAccount()->authenticationCode(), "base-token");
    EXPECT_EQ(loading->eventId(), std::nullopt);
    // The delegate's mirrored agenda left the device calendar.
    EXPECT_FALSE(device->eventWithIdentifier(mirroredId));
    // "Change user" names the account switched back to.
    std::vector<AnalyticsEvent> changes;
    for (const auto& event : AnalyticsUtils::queuedEvents())
        if (event.name == "Change user") changes.push_back(event);
    ASSERT_EQ(changes.size(), changesBefore + 1);
    EXPECT_EQ(changes.back().properties["Target participant full name"], "Bea Base");
    EXPECT_EQ(changes.back().properties["Target participant id"], "u-base");
    device->removeCalendar(calendar);
    EKEventStore::setAuthorizationStatus(EKEntityType::Event, EKAuthorizationStatus::NotDetermined);
}

// ---- Details and swiping -------------------------------------------------------

TEST_F(SpotlightActionsTest, SwipingStepsWithinTheSectionAndWraps) {
    insertDay();
    auto home = launchHome();
    const int64_t section = Home::kComingUpSection;
    ASSERT_TRUE(rowOf(*home, section, 2));
    auto at = [&](int64_t row) { return uikit::NSIndexPath::indexPathForRow(row, section); };

    auto next = home->getNextIdIndexPathPairAndMoveSelectionInDirection(2, std::string("f3"), at(2));
    ASSERT_TRUE(next);
    EXPECT_EQ(next->indexPath(), at(0));
    EXPECT_EQ(next->objectId(), std::string("f1"));
    EXPECT_EQ(next->entityName(), std::string("QVACoreDataSession"));
    EXPECT_EQ(home->homeTableView()->indexPathForSelectedRow(), at(0));
    auto previous = home->getNextIdIndexPathPairAndMoveSelectionInDirection(1, std::string("f1"), at(0));
    ASSERT_TRUE(previous);
    EXPECT_EQ(previous->objectId(), std::string("f3"));
    // A row that moved, or one that is gone, has no neighbour.
    EXPECT_EQ(home->getNextIdIndexPathPairAndMoveSelectionInDirection(2, std::string("f2"), at(0)), nullptr);
    EXPECT_EQ(home->getNextIdIndexPathPairAndMoveSelectionInDirection(2, std::string("f1"), at(7)), nullptr);
}

TEST_F(SpotlightActionsTest, ARowOpensItsDetailWithSwipingOnlyForSectionsOfTwoRowsOrMore) {
    insertDay();
    auto home = launchHome();
    auto open = [&](int64_t section) -> std::shared_ptr<ProgrammeDetailsViewController> {
        home->homeTableView()->layoutIfNeeded();
        auto path = uikit::NSIndexPath::indexPathForRow(0, section);
        home->homeTableView()->scrollToRowAtIndexPath(path, uikit::UITableViewScrollPosition::Top, false);
        home->tableViewDidSelectRowAtIndexPath(*home->homeTableView(), path);
        settle();
        auto details = std::dynamic_pointer_cast<ProgrammeDetailsViewController>(home->navigationController()->topViewController());
        if (details) {
            home->navigationController()->popViewControllerAnimated(false);
            settle();
        }
        return details;
    };
    auto running = open(Home::kWhatsOnNowSection);
    ASSERT_TRUE(running);
    EXPECT_EQ(running->selectionPropertyId(), std::string("run"));
    EXPECT_EQ(running->entityName(), std::string("QVACoreDataSession"));
    EXPECT_TRUE(running->isSwipeEnabled());
    EXPECT_EQ(running->indexPathInParentController(), uikit::NSIndexPath::indexPathForRow(0, Home::kWhatsOnNowSection));

    // At noon "run" has ended: one starred session row left.
    foundation::Clock::advance(9000);
    home->refreshDataAndTable();
    ASSERT_EQ(home->sectionModelForSection(Home::kStarredParticipantsSessionsSection)->modelItems().size(), 1u);
    auto single = open(Home::kStarredParticipantsSessionsSection);
    ASSERT_TRUE(single);
    EXPECT_EQ(single->selectionPropertyId(), std::string("f2"));
    EXPECT_FALSE(single->isSwipeEnabled());
}

// ---- The search hand-over ------------------------------------------------------

TEST_F(SpotlightActionsTest, TheScreenServesTheSearchResultsAndStepsThroughThem) {
    insert(kActionsToken, "QVACoreDataParticipant",
           {{{"itemId", "pa"}, {"fullName", "Jo Adams"}, {"lastName", "Adams"}},
            {{"itemId", "pb"}, {"fullName", "Jo Brown"}, {"lastName", "Brown"}},
            {{"itemId", "pc"}, {"fullName", "Jo Clark"}, {"lastName", "Clark"}}});
    auto home = launchHome();
    const int64_t participants = 1;
    ASSERT_TRUE(home->searchBar()->typeText("Jo"));
    settle();
    auto search = home->searchDisplayController();
    ASSERT_TRUE(search && search->isActive());
    auto& results = *search->searchResultsTableView();
    ASSERT_EQ(results.numberOfSections(), 7);
    ASSERT_EQ(results.numberOfRowsInSection(participants), 3);
    EXPECT_EQ(home->searchResultsHeightForHeaderInSection(results, participants), 23.0);
    EXPECT_EQ(home->searchResultsHeightForHeaderInSection(results, 3), 0.0);
    EXPECT_EQ(home->searchResultsTitleForHeaderInSection(results, participants),
              home->globalSearchManager()->searchEntitiesArray()[participants]->title());

    // A tap opens the detail through the entity, the keyboard gone.
    const auto first = uikit::NSIndexPath::indexPathForRow(0, participants);
    home->tableViewDidSelectRowAtIndexPath(results, first);
    settle();
    EXPECT_FALSE(home->searchBar()->isEditing());
    auto details = std::dynamic_pointer_cast<ParticipantDetailsViewController>(home->navigationController()->topViewController());
    ASSERT_TRUE(details);
    EXPECT_EQ(details->selectionPropertyId(), std::string("pa"));

    // Stepping follows the entity's controller, wraps, and names the object's entity.
    auto previous = home->getNextIdIndexPathPairAndMoveSelectionInDirection(1, std::string("pa"), first);
    ASSERT_TRUE(previous);
    EXPECT_EQ(previous->indexPath(), uikit::NSIndexPath::indexPathForRow(2, participants));
    EXPECT_EQ(previous->objectId(), std::string("pc"));
    EXPECT_EQ(previous->entityName(), std::string("QVACoreDataParticipant"));
    EXPECT_EQ(results.indexPathForSelectedRow(), previous->indexPath());
    EXPECT_EQ(home->getNextIdIndexPathPairAndMoveSelectionInDirection(2, std::string("pb"), first), nullptr);
    home->navigationController()->popViewControllerAnimated(false);
    settle();

    // Ending the search resets the results table's offset and insets.
    results.setContentInset({10, 0, 200, 0});
    results.setScrollIndicatorInsets({10, 0, 200, 0});
    results.setContentOffset(graphics::Point(0, 40));
    home->searchDisplayControllerDidEndSearch(*search);
    EXPECT_EQ(results.contentOffset(), graphics::Point(0, 0));
    EXPECT_EQ(results.contentInset(), uikit::UIEdgeInsetsZero);
    EXPECT_EQ(results.scrollIndicatorInsets(), uikit::UIEdgeInsetsZero);
    ASSERT_TRUE(home->searchBar()->tapCancelButton());
    settle();
    EXPECT_FALSE(search->isActive());

    // The next search gets a new results table, served the same way.
    ASSERT_TRUE(home->searchBar()->becomeFirstResponder());
    ASSERT_TRUE(home->searchBar()->typeText("Jo"));
    settle();
    auto& again = *search->searchResultsTableView();
    ASSERT_EQ(again.numberOfRowsInSection(participants), 3);
    again.layoutIfNeeded();
    EXPECT_FALSE(again.visibleCells().empty());
}

}  // namespace
