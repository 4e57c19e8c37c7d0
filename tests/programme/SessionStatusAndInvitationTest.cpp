// The live part of the session detail screen over the local meeting service:
// the status text and the agenda button, adding and removing with the store
// and the calendar mirror, and an invitation's replies through the chooser
// and the delegate picker, with their results and conflicts.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Utils/Utils.h"
#include "analytics/AnalyticsUtils.h"
#include "api/ApplicationService.h"
#include "api/QVAApiManager.h"
#include "api/SyncCalendarService.h"
#include "app/DetailsScreenScenes.h"
#include "app/ShellTestSupport.h"
#include "eventkit/EKEventStore.h"
#include "foundation/RunLoop.h"
#include "lists/DetailsScreenSupport.h"
#include "maps/LocationDetailsViewController.h"
#include "model/QVACoreDataAgendaInvitation.h"
#include "model/QVACoreDataAgendaRole.h"
#include "model/QVACoreDataAgendaSelection.h"
#include "network/Reachability.h"
#include "programme/InvitationDelegatesViewController.h"
#include "programme/InvitationObjectModel.h"
#include "programme/InvitationOptionsViewController.h"
#include "programme/InvitationStatusCell.h"
#include "programme/ProgrammeDetailsViewController.h"
#include "programme/SessionDetailTestSupport.h"
#include "service/MeetingGenerator.h"
#include "service/MeetingService.h"
#include "uikit/NSLayoutConstraint.h"
#include "uikit/UIAlertView.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UIColor.h"
#include "uikit/UIFont.h"
#include "uikit/UIImage.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationItem.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UITableView.h"

namespace {

using foundation::Value;
using meetingtest::Row;
using Screen = ProgrammeDetailsViewController;
using testservice::MeetingKind;

constexpr double kStatusWait = 30;

class SessionStatusTest : public sessiondetailtest::SessionDetailTest {
protected:

    void SetUp() override {
        SessionDetailTest::SetUp();
        AnalyticsUtils::initializeAnalytics();
        addDetailScenes();
        ASSERT_TRUE(startMeetingService());
        launch();
        online(true);
    }
    void TearDown() override {
        for (const auto& alert : app().visibleAlerts()) alert->dismissWithClickedButtonIndex(0, false);
        settle();
        SessionDetailTest::TearDown();
        service->stop();
    }

    std::string apiPath(const std::string& rest) const { return "/api/v1/events/" + service->eventId() + "/" + rest; }
    void online(bool reachable) {
        network::Reachability::setSimulatedFlags(reachable ? network::ReachabilityFlag::Reachable : 0);
        EXPECT_TRUE(foundation::RunLoop::main().runUntil(
            [reachable] { return Utils::isInternetReachable() == reachable; }, kStatusWait));
    }
    bool waitFor(const std::function<bool()>& condition) {
        return foundation::RunLoop::main().runUntil(condition, kStatusWait);
    }
    // A session of the service with plenty of seats, stored locally as the
    // official programme's unless `official` is off.
    void addSession(const std::string& id, bool official = true) {
        service->putItem(MeetingKind::Sessions,
                         Value::dictionary({{"id", id}, {"title", "Talk " + id}, {"capacity", 100000},
                                            {"startDatetime", "2026-06-16T09:00:00+02:00"},
                                            {"endDatetime", "2026-06-16T10:00:00+02:00"}}));
        if (official)
            insert(token(), "QVACoreDataSession",
                   {{{"itemId", Value(id)}, {"title", Value("Talk " + id)},
                     {"startDatetime", Value("2026-06-16T09:00:00+02:00")}}},
                   service->eventId());
    }
    void answerStatus(const std::string& sessionId, const std::string& body) {
        service->injectFault("GET", apiPath("sessions/" + sessionId + "/status"), {.status = 200, .body = body});
    }
    std::shared_ptr<Screen> open(const char* entity, const std::string& id) {
        EXPECT_TRUE(driver().openScene(Screen::kStoryboardIdentifier,
                                       {AppStoryboards::kPhoneStoryboardName, AppStoryboards::kPadStoryboardName},
                                       std::make_pair(std::string(entity), id)) ==
                    uikit::ScreenDriver::OpenResult::Opened);
        settle();
        auto screen = std::dynamic_pointer_cast<Screen>(driver().frontViewController());
        EXPECT_TRUE(screen && waitFor([&] { return screen->sessionStatusAttributedString() != nullptr; }));
        return screen;
    }
    static std::vector<uikit::UIBarButtonItemPtr> tagged(Screen& screen, int64_t tag) {
        std::vector<uikit::UIBarButtonItemPtr> out;
        for (const auto& item : screen.navigationItem()->rightBarButtonItems())
            if (item->tag() == tag) out.push_back(item);
        return out;
    }
    static std::string actionImage(Screen& screen) {
        auto items = tagged(screen, Screen::kAgendaActionButtonTag);
        return items.size() == 1 && items[0]->image() ? items[0]->image()->name().value_or("") : "";
    }
    std::shared_ptr<uikit::UIAlertView> alert() const {
        auto alerts = app().visibleAlerts();
        return alerts.empty() ? nullptr : alerts.back();
    }
    static std::vector<AnalyticsEvent> tracked(const std::string& name) {
        std::vector<AnalyticsEvent> out;
        for (const auto& event : AnalyticsUtils::queuedEvents())
            if (event.name == name) out.push_back(event);
        return out;
    }
    size_t storedSelections() { return rows<QVACoreDataAgendaSelection>(token(), service->eventId()).size(); }
};

TEST_F(SessionStatusTest, BlankTextsFallBackAndOnlyTheFirstActionCounts) {
    addSession("s1");
    answerStatus("s1", R"({"alertLevel":"positive","shortMessage":"","longMessage":"   ",)"
                       R"("actions":["remove_from_agenda","add_to_agenda"]})");
    auto screen = open("QVACoreDataSession", "s1");
    ASSERT_TRUE(screen);
    auto text = screen->sessionStatusAttributedString();
    EXPECT_EQ(text->string(), "Status is not available\nSession status could not be retrieved");
    EXPECT_EQ(text->runs().front().attributes.foregroundColor, uikit::UIColor::blackColor());
    EXPECT_EQ(text->runs().back().attributes.foregroundColor,
              uikit::UIColor::colorWithRed(170.0 / 255, 170.0 / 255, 170.0 / 255, 1));
    EXPECT_EQ(actionImage(*screen), Screen::kRemoveFromAgendaImage);
    EXPECT_TRUE(tagged(*screen, Screen::kStatusIndicatorButtonTag).empty());

    // Offline every right button goes off, and a failed request says why.
    online(false);
    EXPECT_FALSE(tagged(*screen, Screen::kAgendaActionButtonTag)[0]->isEnabled());
    service->injectFault("GET", apiPath("sessions/s1/status"), {.status = 500});
    screen->refreshStatusMessage();
    ASSERT_TRUE(waitFor([&] {
        return screen->sessionStatusAttributedString()->string() ==
               "Status is not available\nSession status cannot be determined without an Internet connection";
    }));
}

TEST_F(SessionStatusTest, AWarningIsOrangeAndAddIsBlue) {
    addSession("s1");
    answerStatus("s1", R"({"alertLevel":"Warning","shortMessage":"Almost full","longMessage":"Hurry",)"
                       R"("actions":["add_to_agenda"]})");
    auto screen = open("QVACoreDataSession", "s1");
    ASSERT_TRUE(screen);
    EXPECT_EQ(screen->sessionStatusAttributedString()->string(), "Almost full\nHurry");
    EXPECT_EQ(screen->sessionStatusAttributedString()->runs().front().attributes.foregroundColor,
              uikit::UIColor::colorWithRed(1, 165.0 / 255, 0, 1));
    EXPECT_EQ(actionImage(*screen), Screen::kAddToAgendaImage);
    EXPECT_EQ(tagged(*screen, Screen::kAgendaActionButtonTag)[0]->tintColor(),
              std::optional<graphics::Color>(uikit::UIColor::colorWithRed(64.0 / 255, 158.0 / 255, 210.0 / 255, 1)));
}

TEST_F(SessionStatusTest, AddingStoresTheSelectionAsksAgainTracksAndMirrorsOnlyWhenSynced) {
    using namespace eventkit;
    EKEventStore::setAuthorizationStatus(EKEntityType::Event, EKAuthorizationStatus::Authorized);
    auto device = ApplicationService::syncCalendarService()->eventStore();
    auto calendar = device->addCalendar(device->addSource("Work", EKSourceType::Exchange), "Meetings",
                                        EKCalendarType::Exchange, true);
    settings.setCalendarIdentifier(calendar->calendarIdentifier());
    auto mirrored = [&](const std::string& title) {
        size_t count = 0;
        for (const auto& event : device->eventsMatchingPredicate(device->predicateForEventsWithStartDate(
                 foundation::Date::distantPast(), foundation::Date::distantFuture(), std::vector<EKCalendarPtr>{calendar})))
            count += event->title() == std::optional<std::string>(title);
        return count;
    };
    addSession("s1");
    addSession("s2");

    settings.setSyncWithCalendar(false);
    open("QVACoreDataSession", "s1");
    ASSERT_TRUE(driver().tapItem(Screen::kAddToAgendaImage));
    ASSERT_TRUE(waitFor([&] { return storedSelections() == 1; }));
    settle();
    EXPECT_EQ(mirrored("Talk s1"), 0u);

    settings.setSyncWithCalendar(true);
    auto screen = open("QVACoreDataSession", "s2");
    const size_t asked = service->requestCount("GET", apiPath("sessions/s2/status"));
    ASSERT_TRUE(driver().tapItem(Screen::kAddToAgendaImage));
    ASSERT_TRUE(waitFor([&] { return storedSelections() == 2 && actionImage(*screen) == Screen::kRemoveFromAgendaImage; }));
    EXPECT_EQ(service->requestCount("GET", apiPath("sessions/s2/status")), asked + 1);
    EXPECT_TRUE(waitFor([&] { return mirrored("Talk s2") == 1; }));
    auto added = tracked("Add session to agenda");
    ASSERT_EQ(added.size(), 2u);
    EXPECT_EQ(added.back().properties.at("Session name"), "Talk s2");
    EXPECT_EQ(added.back().properties.at("Session id"), "s2");
    device->removeCalendar(calendar);
}

TEST_F(SessionStatusTest, ARefusedAddShowsTheServicesMessageOrTheGenericFailure) {
    addSession("s1");
    answerStatus("s1", R"({"alertLevel":"Negative","shortMessage":"Full","actions":["add_to_agenda"]})");
    auto screen = open("QVACoreDataSession", "s1");
    service->injectFault("POST", apiPath("my_agenda/selections"),
                         {.status = 409, .body = R"({"error":"Session is full"})", .times = 1});
    ASSERT_TRUE(driver().tapItem(Screen::kAddToAgendaImage));
    ASSERT_TRUE(waitFor([&] { return alert() != nullptr; }));
    EXPECT_EQ(alert()->title(), std::nullopt);
    EXPECT_EQ(alert()->message(), std::optional<std::string>("Session is full"));
    alert()->dismissWithClickedButtonIndex(0, false);
    screen->refreshStatusMessage();
    ASSERT_TRUE(waitFor([&] { return tagged(*screen, Screen::kAgendaActionButtonTag)[0]->isEnabled(); }));

    service->injectFault("POST", apiPath("my_agenda/selections"), {.status = 409, .body = "{}"});
    ASSERT_TRUE(driver().tapItem(Screen::kAddToAgendaImage));
    ASSERT_TRUE(waitFor([&] { return alert() != nullptr; }));
    EXPECT_EQ(alert()->title(), std::optional<std::string>(Screen::kAddFailedTitle));
    alert()->dismissWithClickedButtonIndex(0, false);
    settle();
    EXPECT_FALSE(tagged(*screen, Screen::kAgendaActionButtonTag)[0]->isEnabled());
    EXPECT_EQ(storedSelections(), 0u);
}

TEST_F(SessionStatusTest, RemovingFromTheAgendasDetailDeletesTheRolesAndGoesBack) {
    addSession("s1");
    service->putItem(MeetingKind::AgendaSelections,
                     Value::dictionary({{"id", "sel-s1"}, {"status", "Selected"},
                                        {"session", Value::dictionary({{"id", "s1"}})}}));
    insert(token(), "QVACoreDataAgendaSelection",
           {{{"itemId", Value("s1")}, {"agendaItemId", Value("sel-s1")}, {"title", Value("Talk s1")}}},
           service->eventId());
    auto screen = open("QVACoreDataAgendaRole", "sel-s1");
    ASSERT_EQ(actionImage(*screen), Screen::kRemoveFromAgendaImage);
    ASSERT_TRUE(driver().tapItem(Screen::kRemoveFromAgendaImage));
    ASSERT_TRUE(waitFor([&] { return rows<QVACoreDataAgendaRole>(token(), service->eventId()).empty(); }));
    settle();
    EXPECT_NE(driver().frontViewController(), screen);
    EXPECT_EQ(tracked("Remove session from agenda").size(), 1u);
    // The removal asks for the status again; its answer can come after the
    // role has gone, when the screen shows no sections any more.
    EXPECT_NO_THROW(screen->processStatusMessage(nullptr, nullptr));
}

TEST_F(SessionStatusTest, RemovingWhileTheProgrammeSessionIsShownKeepsTheScreenAndOffersAddAgain) {
    addSession("s1");
    service->putItem(MeetingKind::AgendaSelections,
                     Value::dictionary({{"id", "sel-s1"}, {"status", "Selected"},
                                        {"session", Value::dictionary({{"id", "s1"}})}}));
    auto screen = open("QVACoreDataSession", "s1");
    ASSERT_TRUE(driver().tapItem(Screen::kRemoveFromAgendaImage));
    ASSERT_TRUE(waitFor([&] { return actionImage(*screen) == Screen::kAddToAgendaImage; }));
    EXPECT_EQ(driver().frontViewController(), screen);
}

// --- Invitations ---

class InvitationTest : public SessionStatusTest {
protected:
    // An invitation to session `id` at the service and in the store.
    void invite(const std::string& id, bool official) {
        addSession(id, official);
        service->putItem(MeetingKind::AgendaInvitations,
                         Value::dictionary({{"id", "inv-" + id}, {"revision", 1}, {"status", "Invited"},
                                            {"withSpouse", false},
                                            {"session", service->items(MeetingKind::Sessions).back()}}));
        insert(token(), "QVACoreDataAgendaInvitation",
               {{{"itemId", Value(id)}, {"agendaItemId", Value("inv-" + id)}, {"title", Value("Talk " + id)},
                 {"status", Value("Invited")}}},
               service->eventId());
    }
    std::shared_ptr<Screen> openInvitation(const std::string& id) {
        auto screen = open("QVACoreDataAgendaRole", "inv-" + id);
        EXPECT_TRUE(screen && waitFor([&] { return screen->invitationObjectModel() != nullptr; }));
        return screen;
    }
    std::shared_ptr<InvitationStatusCell> statusCell(Screen& screen) {
        return std::dynamic_pointer_cast<InvitationStatusCell>(
            screen.tableView()->cellForRowAtIndexPath(uikit::NSIndexPath::indexPathForRow(0, 2)));
    }
    // Chooses the reply in row `row` of the chooser and confirms it.
    void reply(int64_t row) {
        ASSERT_TRUE(driver().tapRow(2, 0));
        settle();
        ASSERT_TRUE(std::dynamic_pointer_cast<InvitationOptionsViewController>(driver().frontViewController()));
        ASSERT_TRUE(driver().tapRow(0, row));
        ASSERT_TRUE(driver().tapItem("Done"));
    }
    std::string storedStatus(const std::string& id) {
        for (const auto& row : rows<QVACoreDataAgendaInvitation>(token(), service->eventId()))
            if (row->itemId() == std::optional<std::string>(id)) return row->status().value_or("");
        return "gone";
    }
};

TEST_F(InvitationTest, RepliesFollowTheServicesOrderAndThePencilShowsThem) {
    invite("s1", true);
    answerStatus("s1", R"({"alertLevel":"Positive","shortMessage":"Open","actions":["decline","accept","x"],)"
                       R"("invitationMessage":"Please reply","invitationAlertLevel":"Warning"})");
    auto screen = openInvitation("s1");
    ASSERT_TRUE(screen);
    EXPECT_EQ(screen->invitationObjectModel()->invitationActions(), (std::vector<std::string>{"Decline", "Accept"}));
    EXPECT_TRUE(tagged(*screen, Screen::kAgendaActionButtonTag).empty());
    auto cell = statusCell(*screen);
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->invitationStatusLabel()->text(), std::optional<std::string>("Please reply"));
    EXPECT_EQ(cell->invitationStatusLabel()->textColor(), uikit::UIColor::orangeColor());
    EXPECT_FALSE(cell->editInvitationImage()->isHidden());
    EXPECT_EQ(cell->editInvitationImageWidthConstraint()->constant(), 22);
}

TEST_F(InvitationTest, AMessageOfThreeLinesGetsARowThatHoldsIt) {
    invite("s1", true);
    answerStatus("s1", R"({"actions":["accept"],"invitationMessage":"Please reply before Friday noon so that )"
                       R"(we can confirm your seat, tell the organisers about your spouse and send )"
                       R"(the badge to your hotel in time for the opening."})");
    auto screen = openInvitation("s1");
    ASSERT_TRUE(screen);
    settle();
    screen->tableView()->reloadData();
    auto label = statusCell(*screen)->invitationStatusLabel();
    const double needed = label->sizeThatFits({label->frame().size.width, 1e6}).height;
    ASSERT_GE(needed, 3 * label->font()->lineHeight());
    EXPECT_GE(label->frame().size.height, needed);
    EXPECT_GT(screen->tableView()->rectForRowAtIndexPath(uikit::NSIndexPath::indexPathForRow(0, 2)).size.height,
              InvitationStatusCell::kPendingHeight);
}

TEST_F(InvitationTest, WithoutRepliesTheRowDoesNothingAndOfflineRepliesWarn) {
    invite("s1", true);
    answerStatus("s1", R"({"actions":[],"invitationMessage":"Nothing to do"})");
    auto screen = openInvitation("s1");
    ASSERT_TRUE(screen);
    EXPECT_TRUE(statusCell(*screen)->editInvitationImage()->isHidden());
    EXPECT_EQ(statusCell(*screen)->editInvitationImageWidthConstraint()->constant(), 0);
    for (bool reachable : {true, false}) {
        online(reachable);
        driver().tapRow(2, 0);
        settle();
        EXPECT_EQ(driver().frontViewController(), screen);
        EXPECT_EQ(alert(), nullptr);
    }
    answerStatus("s1", R"({"actions":["accept"],"invitationMessage":"Please reply"})");
    online(true);
    ASSERT_TRUE(waitFor([&] { return !screen->invitationObjectModel()->invitationActions().empty(); }));
    online(false);
    ASSERT_TRUE(driver().tapRow(2, 0));
    ASSERT_TRUE(alert());
    EXPECT_EQ(alert()->title(), std::optional<std::string>("Warning"));
    EXPECT_EQ(alert()->message(), std::optional<std::string>(Screen::kInvitationOfflineMessage));
    EXPECT_EQ(driver().frontViewController(), screen);
}

TEST_F(InvitationTest, ThePickerWantsADelegateAndSendsTheTrimmedName) {
    invite("s1", true);
    insert(token(), "QVACoreDataMeetingDelegate",
           {{{"itemId", Value("d1")}, {"lastName", Value("Lee")}, {"fullName", Value("  Ann Lee\n")}}},
           service->eventId());
    openInvitation("s1");
    ASSERT_TRUE(driver().tapRow(2, 0));
    ASSERT_TRUE(driver().tapRow(0, 3));
    settle();
    auto picker = std::dynamic_pointer_cast<InvitationDelegatesViewController>(driver().frontViewController());
    ASSERT_TRUE(picker);
    ASSERT_TRUE(driver().tapItem("Done"));
    ASSERT_TRUE(alert());
    EXPECT_EQ(alert()->message(), std::optional<std::string>("Please select the delegate."));
    alert()->dismissWithClickedButtonIndex(0, false);
    settle();
    EXPECT_EQ(driver().frontViewController(), picker);

    ASSERT_TRUE(driver().tapRow(0, 0));
    ASSERT_TRUE(driver().tapItem("Done"));
    ASSERT_TRUE(waitFor([&] { return storedStatus("s1") == "Delegated"; }));
    EXPECT_EQ(service->writes().back().body["delegateTo"], Value("Ann Lee"));
    auto delegated = tracked("Delegate invitation");
    ASSERT_EQ(delegated.size(), 1u);
    EXPECT_EQ(delegated[0].properties.at("Delegate name"), "Ann Lee");
}

TEST_F(InvitationTest, DecliningAnOfficialInvitationDeletesItAndShowsTheHomeScreen) {
    invite("s1", true);
    openInvitation("s1");
    reply(2);
    ASSERT_TRUE(waitFor([&] { return storedStatus("s1") == "gone"; }));
    settle();
    EXPECT_EQ(tabBar()->selectedIndex(), 0u);
    EXPECT_EQ(tracked("Decline invitation").size(), 1u);
}

TEST_F(InvitationTest, DecliningAnInvitationOutsideTheProgrammeStoresItAndStays) {
    invite("s1", false);
    auto screen = openInvitation("s1");
    reply(2);
    ASSERT_TRUE(waitFor([&] { return storedStatus("s1") == "Declined"; }));
    settle();
    EXPECT_EQ(driver().frontViewController(), screen);
}

TEST_F(InvitationTest, ConflictsNameTheServicesMessageOrTheConflictingSession) {
    invite("s1", true);
    addSession("s2", true);
    auto screen = openInvitation("s1");
    const std::string path = apiPath("my_agenda/invitations/inv-s1");
    auto conflictWith = [&](const std::string& body) {
        service->injectFault("PATCH", path, {.status = 409, .body = body, .times = 1});
        reply(0);
        EXPECT_TRUE(waitFor([&] { return alert() != nullptr; }));
    };
    conflictWith(R"({"message":"Already busy"})");
    EXPECT_EQ(alert()->title(), std::optional<std::string>("Conflict"));
    EXPECT_EQ(alert()->message(), std::optional<std::string>("Already busy"));
    alert()->dismissWithClickedButtonIndex(0, false);

    conflictWith(R"({"message":"m","conflicting_ressource":{"id":"inv-s2","session":{"id":"s2","title":"Talk s2"}}})");
    EXPECT_EQ(alert()->message(), std::optional<std::string>("Invitation conflicts with \"Talk s2\""));
    EXPECT_EQ(alert()->numberOfButtons(), 1);
    alert()->dismissWithClickedButtonIndex(0, false);

    insert(token(), "QVACoreDataAgendaInvitation",
           {{{"itemId", Value("s9")}, {"agendaItemId", Value("inv-s9")}, {"title", Value("Side event")}}},
           service->eventId());
    conflictWith(R"({"message":"m","conflicting_ressource":{"id":"inv-s9","session":{"id":"s9","title":"Side event"}}})");
    EXPECT_EQ(alert()->message(), std::optional<std::string>("Invitation conflicts with \"Side event\""));
    ASSERT_EQ(alert()->numberOfButtons(), 2);
    EXPECT_EQ(alert()->buttonTitleAtIndex(1), std::optional<std::string>("Go to session"));
    EXPECT_EQ(screen->conflictingInvitationId(), std::optional<std::string>("inv-s9"));
    ASSERT_TRUE(driver().answerAlert("Go to session"));
    settle();
    auto opened = std::dynamic_pointer_cast<Screen>(driver().frontViewController());
    ASSERT_TRUE(opened && opened != screen);
    EXPECT_EQ(opened->selectionPropertyId(), std::optional<std::string>("inv-s9"));
    EXPECT_EQ(storedStatus("s1"), "Invited");
}

TEST_F(InvitationTest, AFailedAcceptNamesTheReplyAndStoresNothing) {
    invite("s1", true);
    openInvitation("s1");
    service->injectFault("PATCH", apiPath("my_agenda/invitations/inv-s1"), {.status = 500});
    reply(0);
    ASSERT_TRUE(waitFor([&] { return alert() != nullptr; }));
    EXPECT_EQ(alert()->title(), std::optional<std::string>("Unable to execute invitation action: \"Accept\"."));
    alert()->dismissWithClickedButtonIndex(0, false);
    settle();
    EXPECT_EQ(storedStatus("s1"), "Invited");
    EXPECT_TRUE(tracked("Accept invitation").empty());

    // "Done" with no row selected sends nothing, not the reply that failed.
    const std::string path = apiPath("my_agenda/invitations/inv-s1");
    const size_t sent = service->requestCount("PATCH", path);
    ASSERT_EQ(sent, 1u);
    ASSERT_TRUE(driver().tapRow(2, 0));
    ASSERT_TRUE(driver().tapItem("Done"));
    settle();
    EXPECT_EQ(service->requestCount("PATCH", path), sent);
}

}  // namespace
