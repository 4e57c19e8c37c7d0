// The personal-entry form over a store of a meeting held 16 to 18 June 2026
// at +02:00, opened from the sessions tab's bar on the phone and sending to
// the local meeting service: its defaults by the time it is opened, the
// body's limit and placeholder, the refusals that send nothing, adding and
// editing through the service, the store and the device calendar, and an
// edited entry that has gone.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "analytics/AnalyticsUtils.h"
#include "api/ApplicationService.h"
#include "api/SyncCalendarService.h"
#include "app/BaseViewController.h"
#include "app/ShellTestSupport.h"
#include "Utils/DateHelper.h"
#include "Utils/Utils.h"
#include "eventkit/EKEventStore.h"
#include "foundation/Clock.h"
#include "model/QVACoreDataPersonalEntry.h"
#include "network/Reachability.h"
#include "programme/AddPersonalEntryViewController.h"
#include "programme/AgendaListDelegate.h"
#include "programme/ChangePersonalEntryDateViewController.h"
#include "programme/ListSessionsBaseViewController.h"
#include "programme/PersonalEntryDatesTableViewCell.h"
#include "programme/SessionsListSegmentedNavigationController.h"
#include "service/MeetingGenerator.h"
#include "service/MeetingService.h"
#include "uikit/UIAlertView.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationController.h"
#include "uikit/UINavigationItem.h"
#include "uikit/UIPopoverController.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UITextField.h"

namespace {

using foundation::Value;
using Form = AddPersonalEntryViewController;

constexpr double kEntryWait = 30;

class PersonalEntryFormTest : public shelltest::ShellTest {
protected:
    std::unique_ptr<testservice::MeetingService> service;
    size_t eventsBefore = 0;

    void SetUp() override {
        ShellTest::SetUp();
        AnalyticsUtils::initializeAnalytics();
        eventsBefore = AnalyticsUtils::queuedEvents().size();
        for (const char* name : {AppStoryboards::kPhoneStoryboardName, AppStoryboards::kPadStoryboardName}) {
            auto storyboard = uikit::UIStoryboard::storyboardWithName(name);
            if (!storyboard->hasScene(Form::kStoryboardIdentifier)) Form::addScene(*storyboard);
            if (!storyboard->hasScene(ChangePersonalEntryDateViewController::kStoryboardIdentifier))
                ChangePersonalEntryDateViewController::addScene(*storyboard);
        }
        service = std::make_unique<testservice::MeetingService>(
            testservice::generateMeeting({.seed = 3, .sessions = 24, .participants = 60, .days = 2}));
        ASSERT_TRUE(service->start());
        QVAApiManager::setServiceRoot(service->rootURL());
        // As the signed-in user's loading left it: the add call sends the header it finds.
        QVAApiManager::sharedApiManager().setAuthorizationHeaderWithCode(service->demoToken());
        openCurrent(token(), service->eventId());
        // The add-entry button is My agenda's, with this permission.
        insert(token(), "QVACoreDataPermission",
               {{{"code", Value("my_agenda:personal_entries")}, {"granted", Value(true)}}}, service->eventId());
    }
    void TearDown() override {
        for (const auto& alert : app().visibleAlerts()) alert->dismissWithClickedButtonIndex(0, false);
        settle();
        eventkit::EKEventStore::setAuthorizationStatus(eventkit::EKEntityType::Event,
                                                       eventkit::EKAuthorizationStatus::NotDetermined);
        ShellTest::TearDown();
        service->stop();
    }

    std::string token() const { return service->demoToken(); }
    std::string entriesPath() const { return "/api/v1/events/" + service->eventId() + "/my_agenda/personal_entries"; }

    void storeSessions() {
        insert(token(), "QVACoreDataSession",
               {{{"itemId", Value("s1")},
                 {"startDatetime", Value("2026-06-16T09:00:00+02:00")},
                 {"endDatetime", Value("2026-06-16T10:00:00+02:00")}},
                {{"itemId", Value("s2")},
                 {"startDatetime", Value("2026-06-18T15:00:00+02:00")},
                 {"endDatetime", Value("2026-06-18T16:00:00+02:00")}}},
               service->eventId());
    }
    static void setClock(const char* serverText) {
        foundation::Clock::useVirtual(
            DateHelper::dateFromServer(Value(serverText), true)->timeIntervalSinceReferenceDate());
    }

    std::shared_ptr<SessionsListSegmentedNavigationController> sessions() const {
        return std::dynamic_pointer_cast<SessionsListSegmentedNavigationController>(tabBar()->viewControllers().at(1));
    }
    std::shared_ptr<Form> form() { return std::dynamic_pointer_cast<Form>(driver().frontViewController()); }
    // The form has returned to the agenda list that opened it.
    bool backOnTheAgenda() {
        auto list = std::dynamic_pointer_cast<ListSessionsBaseViewController>(driver().frontViewController());
        return list && std::dynamic_pointer_cast<AgendaListDelegate>(list->listDelegate());
    }

    // The sessions tab's agenda, then its add button.
    std::shared_ptr<Form> openAddForm() {
        if (!root()) launch();
        // The add-entry button is enabled only online.
        network::Reachability::setSimulatedFlags(network::ReachabilityFlag::Reachable);
        EXPECT_TRUE(foundation::RunLoop::main().runUntil([] { return Utils::isInternetReachable(); }, kEntryWait));
        EXPECT_TRUE(driver().tapTab(1));
        settle();
        EXPECT_TRUE(driver().segment(1));
        settle();
        EXPECT_TRUE(driver().tapItem(Form::kAddButtonImageName));
        settle();
        return form();
    }
    // The dates row's three texts.
    std::vector<std::string> datesRow(const Form& screen) const {
        auto cell = std::dynamic_pointer_cast<PersonalEntryDatesTableViewCell>(
            screen.datesTableView()->cellForRowAtIndexPath(uikit::NSIndexPath::indexPathForRow(0, 0)));
        if (!cell) return {};
        return {cell->date()->text().value_or(""), cell->startTime()->text().value_or(""),
                cell->endTime()->text().value_or("")};
    }
    std::shared_ptr<uikit::UIAlertView> alert() const {
        auto alerts = app().visibleAlerts();
        return alerts.empty() ? nullptr : alerts.back();
    }
    size_t writesTo(const std::string& method, const std::string& path) const {
        size_t count = 0;
        for (const auto& write : service->writes())
            if (write.method == method && write.path == path) ++count;
        return count;
    }
    std::vector<std::string> trackedNames() const {
        std::vector<std::string> names;
        const auto events = AnalyticsUtils::queuedEvents();
        for (size_t i = eventsBefore; i < events.size(); ++i)
            if (events[i].name.find("personal entry") != std::string::npos) names.push_back(events[i].name);
        return names;
    }
    bool waitFor(const std::function<bool()>& condition) {
        bool met = foundation::RunLoop::main().runUntil(condition, kEntryWait);
        settle();
        return met;
    }
};

TEST_F(PersonalEntryFormTest, DefaultsFollowTheMeetingClockAndNeverPassTheDaysEnd) {
    storeSessions();
    setClock("2026-06-16T10:15:00+02:00");
    auto added = openAddForm();
    ASSERT_TRUE(added);
    EXPECT_FALSE(added->isEditingEntry());
    EXPECT_EQ(added->saveButton()->title(), "Add entry");
    EXPECT_EQ(datesRow(*added), (std::vector<std::string>{"Tuesday 16 June", "10:15", "11:15"}));
    EXPECT_EQ(added->charsCounterLabel()->text(), "0 from 255");

    ASSERT_TRUE(driver().tapItem("Cancel"));
    settle();
    EXPECT_FALSE(form());
    EXPECT_TRUE(backOnTheAgenda());

    setClock("2026-06-16T23:20:00+02:00");
    auto late = openAddForm();
    ASSERT_TRUE(late);
    EXPECT_EQ(datesRow(*late), (std::vector<std::string>{"Tuesday 16 June", "23:20", "23:59"}));

    // Before the meeting's allowed days, and after them: the first allowed day.
    for (const char* now : {"2026-06-01T12:00:00+02:00", "2026-06-25T12:00:00+02:00"}) {
        ASSERT_TRUE(driver().tapItem("Cancel"));
        setClock(now);
        auto outside = openAddForm();
        ASSERT_TRUE(outside);
        EXPECT_EQ(datesRow(*outside), (std::vector<std::string>{"Sunday 14 June", "07:00", "08:00"})) << now;
    }
}

TEST_F(PersonalEntryFormTest, WithoutSessionsTheFormAlertsAndItsOkGoesBack) {
    setClock("2026-06-16T10:15:00+02:00");
    auto added = openAddForm();
    ASSERT_TRUE(added);
    ASSERT_TRUE(alert());
    EXPECT_EQ(alert()->title(), "Cannot add a personal entry at the moment. Please try later");
    EXPECT_FALSE(alert()->message());
    EXPECT_FALSE(added->selectedDate());
    EXPECT_EQ(datesRow(*added), (std::vector<std::string>{"", "", ""}));
    ASSERT_TRUE(driver().answerAlert("OK"));
    settle();
    EXPECT_FALSE(form());
}

TEST_F(PersonalEntryFormTest, TheBodyKeepsTo255UnitsWithItsCounterAndPlaceholder) {
    storeSessions();
    setClock("2026-06-16T10:15:00+02:00");
    auto added = openAddForm();
    ASSERT_TRUE(added);
    auto body = added->descriptionTextView();
    auto placeholder = added->descriptionPlaceholderLabel();
    EXPECT_FALSE(placeholder->isHidden());

    ASSERT_TRUE(body->typeText(std::string(255, 'a')));
    EXPECT_TRUE(placeholder->isHidden());
    EXPECT_EQ(added->charsCounterLabel()->text(), "255 from 255");
    body->typeText("b");
    EXPECT_EQ(body->text(), std::string(255, 'a'));
    ASSERT_TRUE(body->deleteBackward());
    EXPECT_EQ(added->charsCounterLabel()->text(), "254 from 255");
    // A paste that would pass the limit goes whole or not at all; "é" is one unit, "😀" two.
    body->replaceCharactersInRange({0, 0}, "😀");
    EXPECT_EQ(body->text().size(), 254u);
    EXPECT_TRUE(body->replaceCharactersInRange({0, 0}, "é"));
    EXPECT_EQ(added->charsCounterLabel()->text(), "255 from 255");

    ASSERT_TRUE(body->replaceCharactersInRange({0, 255}, ""));
    EXPECT_FALSE(placeholder->isHidden());
    EXPECT_EQ(added->charsCounterLabel()->text(), "0 from 255");
    body->typeText("x");
    EXPECT_TRUE(placeholder->isHidden());
    body->resignFirstResponder();
    EXPECT_TRUE(placeholder->isHidden());
    body->becomeFirstResponder();
    body->deleteBackward();
    body->resignFirstResponder();
    EXPECT_FALSE(placeholder->isHidden());
}

TEST_F(PersonalEntryFormTest, ABlankSubjectOrAnEndBeforeTheStartSendsNothing) {
    storeSessions();
    setClock("2026-06-16T10:15:00+02:00");
    auto added = openAddForm();
    ASSERT_TRUE(added);
    added->subjectTextField()->setText(std::string(" \n  "));
    ASSERT_TRUE(driver().tapItem("Add entry"));
    ASSERT_TRUE(alert());
    EXPECT_EQ(alert()->title(), "Error");
    EXPECT_EQ(alert()->message(), "Subject field is mandatory.");
    EXPECT_TRUE(trackedNames().empty());
    ASSERT_TRUE(driver().answerAlert("OK"));

    // Times the date screen hands back: the end an hour before the start.
    added->subjectTextField()->setText(std::string("Lunch"));
    added->setStartTime(DateHelper::dateFromServer(Value("2026-06-16T13:00:00+02:00"), true));
    added->setEndTime(DateHelper::dateFromServer(Value("2026-06-16T12:00:00+02:00"), true));
    ASSERT_TRUE(driver().tapItem("Add entry"));
    ASSERT_TRUE(alert());
    EXPECT_EQ(alert()->title(), "Error");
    EXPECT_EQ(alert()->message(), "Start time must be before end time!");
    ASSERT_TRUE(driver().answerAlert("OK"));
    EXPECT_EQ(form(), added);
    EXPECT_FALSE(added->loadingView() && added->loadingView()->superview());

    // The first request the service sees is the one with valid times.
    added->setEndTime(DateHelper::dateFromServer(Value("2026-06-16T13:30:00+02:00"), true));
    ASSERT_TRUE(driver().tapItem("Add entry"));
    ASSERT_TRUE(waitFor([&] { return writesTo("POST", entriesPath()) > 0; }));
    EXPECT_EQ(writesTo("POST", entriesPath()), 1u);
    EXPECT_EQ(service->writes().back().body["endDatetime"], Value("2026-06-16T13:30:00+02:00"));
}

TEST_F(PersonalEntryFormTest, TheDateScreenGetsTheFourValuesAndGivesThreeBack) {
    storeSessions();
    setClock("2026-06-16T10:15:00+02:00");
    auto added = openAddForm();
    ASSERT_TRUE(added);
    ASSERT_TRUE(driver().tapRow(0, 0));
    settle();
    auto dates = std::dynamic_pointer_cast<ChangePersonalEntryDateViewController>(driver().frontViewController());
    ASSERT_TRUE(dates);
    EXPECT_EQ(dates->selectedDate(), added->selectedDate());
    EXPECT_EQ(dates->startTime(), added->startTime());
    EXPECT_EQ(dates->endTime(), added->endTime());
    EXPECT_EQ(dates->datesRange(), added->datesRange());
    ASSERT_EQ(dates->datesRange().size(), 2u);

    dates->setSelectedDate(DateHelper::dateFromServer(Value("2026-06-17T00:00:00+02:00"), true));
    dates->setStartTime(DateHelper::dateFromServer(Value("2026-06-16T14:00:00+02:00"), true));
    dates->setEndTime(DateHelper::dateFromServer(Value("2026-06-16T14:00:00+02:00"), true));
    dates->onDoneExecuted();
    settle();
    ASSERT_EQ(form(), added);
    EXPECT_EQ(datesRow(*added), (std::vector<std::string>{"Wednesday 17 June", "14:00", "14:00"}));

    // Equal times pass, on the selected day whatever the times' own day.
    added->subjectTextField()->setText(std::string("Walk"));
    ASSERT_TRUE(driver().tapItem("Add entry"));
    ASSERT_TRUE(waitFor([&] { return writesTo("POST", entriesPath()) == 1; }));
    auto sent = service->writes().back().body;
    EXPECT_EQ(sent["startDatetime"], Value("2026-06-17T14:00:00+02:00"));
    EXPECT_EQ(sent["endDatetime"], Value("2026-06-17T14:00:00+02:00"));
}

TEST_F(PersonalEntryFormTest, AddingSendsStoresMirrorsAndCloses) {
    storeSessions();
    using namespace eventkit;
    EKEventStore::setAuthorizationStatus(EKEntityType::Event, EKAuthorizationStatus::Authorized);
    auto device = ApplicationService::syncCalendarService()->eventStore();
    auto calendar = device->addCalendar(device->addSource("Work", EKSourceType::Exchange), "Meetings",
                                        EKCalendarType::Exchange, true);
    settings.setCalendarIdentifier(calendar->calendarIdentifier());
    settings.setSyncWithCalendar(true);

    setClock("2026-06-16T10:15:00+02:00");
    auto added = openAddForm();
    ASSERT_TRUE(added);
    ASSERT_TRUE(driver().typeText("subjectTextField", "  Lunch  "));
    ASSERT_TRUE(driver().typeText("descriptionTextView", "Bring the slides"));
    ASSERT_TRUE(driver().tapItem("Add entry"));
    // A second tap while the first is on its way sends nothing more.
    EXPECT_TRUE(added->isSaving());
    EXPECT_EQ(Form::savesInProgress(), 1);
    added->onAddEntryExecuted(nullptr);
    ASSERT_TRUE(waitFor([&] { return !form(); }));
    EXPECT_EQ(Form::savesInProgress(), 0);

    ASSERT_EQ(writesTo("POST", entriesPath()), 1u);
    const auto sent = service->writes().back();
    EXPECT_EQ(sent.token, token());
    EXPECT_EQ(sent.body["subject"], Value("  Lunch  "));
    EXPECT_EQ(sent.body["body"], Value("Bring the slides"));
    EXPECT_EQ(sent.body["startDatetime"], Value("2026-06-16T10:15:00+02:00"));
    EXPECT_EQ(sent.body["endDatetime"], Value("2026-06-16T11:15:00+02:00"));
    auto stored = rows<QVACoreDataPersonalEntry>(token(), service->eventId());
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0]->title(), "  Lunch  ");
    EXPECT_TRUE(backOnTheAgenda());
    EXPECT_EQ(trackedNames(), std::vector<std::string>{"Add personal entry"});
    ASSERT_TRUE(waitFor([&] {
        return !device->eventsMatchingPredicate(device->predicateForEventsWithStartDate(
                            foundation::Date::distantPast(), foundation::Date::distantFuture(),
                            std::vector<EKCalendarPtr>{calendar}))
                    .empty();
    }));
    device->removeCalendar(calendar);
}

TEST_F(PersonalEntryFormTest, ARefusedAddKeepsTheFormWithTheServicesText) {
    storeSessions();
    setClock("2026-06-16T10:15:00+02:00");
    testservice::MeetingService::Fault refusal;
    refusal.body = R"({"error":"The agenda is closed"})";
    service->injectFault("POST", entriesPath(), refusal);
    auto added = openAddForm();
    ASSERT_TRUE(added);
    ASSERT_TRUE(driver().typeText("subjectTextField", "Coffee"));
    ASSERT_TRUE(driver().tapItem("Add entry"));
    ASSERT_TRUE(waitFor([&] { return alert() != nullptr; }));
    EXPECT_EQ(alert()->title(), "Unable to add personal entry.");
    EXPECT_EQ(alert()->message(), "The agenda is closed");
    ASSERT_TRUE(driver().answerAlert("OK"));
    EXPECT_EQ(form(), added);
    EXPECT_EQ(added->subjectTextField()->text(), "Coffee");
    EXPECT_FALSE(added->loadingView() && added->loadingView()->superview());
    EXPECT_TRUE(rows<QVACoreDataPersonalEntry>(token(), service->eventId()).empty());
}

TEST_F(PersonalEntryFormTest, AnEntryAddedAfterItsFormHasGoneIsStillStored) {
    storeSessions();
    setClock("2026-06-16T10:15:00+02:00");
    std::weak_ptr<Form> gone;
    {
        auto added = openAddForm();
        ASSERT_TRUE(added);
        ASSERT_TRUE(driver().typeText("subjectTextField", "Taxi"));
        ASSERT_TRUE(driver().tapItem("Add entry"));
        gone = added;
        sessions()->popViewControllerAnimated(false);
    }
    settle();
    EXPECT_TRUE(gone.expired());
    ASSERT_TRUE(waitFor([&] { return rows<QVACoreDataPersonalEntry>(token(), service->eventId()).size() == 1; }));
    EXPECT_EQ(rows<QVACoreDataPersonalEntry>(token(), service->eventId())[0]->title(), "Taxi");
    EXPECT_FALSE(alert());
    EXPECT_TRUE(backOnTheAgenda());
}

class PadPersonalEntryFormTest : public PersonalEntryFormTest {
protected:
    uikit::DeviceProfile deviceProfile() const override { return uikit::DeviceProfile::iPad(); }
};

TEST_F(PadPersonalEntryFormTest, WithoutSessionsTheOkGoesHomeWithTheSessionsTab) {
    setClock("2026-06-16T10:15:00+02:00");
    launch();
    network::Reachability::setSimulatedFlags(network::ReachabilityFlag::Reachable);
    ASSERT_TRUE(foundation::RunLoop::main().runUntil([] { return Utils::isInternetReachable(); }, kEntryWait));
    auto container = std::dynamic_pointer_cast<SessionsListSegmentedNavigationController>(
        tabBar()->viewControllers().at(static_cast<size_t>(EventsTabBarController::sessionsTabIndex())));
    ASSERT_TRUE(container);
    tabBar()->setSelectedIndex(EventsTabBarController::sessionsTabIndex());
    (void)container->view();
    settle();
    ASSERT_FALSE(container->viewControllers().empty());
    auto previousDetail = detail();
    container->displayAgendaList();
    settle();
    auto list = std::dynamic_pointer_cast<ListSessionsBaseViewController>(container->topViewController());
    ASSERT_TRUE(list);
    auto button = list->navigationItem()->rightBarButtonItem();
    ASSERT_TRUE(button && button->tap());
    settle();
    // On the pad the form opens in a popover, in a navigation controller of
    // its own for its bar, and a tap outside does not close it.
    ASSERT_TRUE(list->addEntryPopover());
    auto holder =
        std::dynamic_pointer_cast<uikit::UINavigationController>(list->addEntryPopover()->contentViewController());
    ASSERT_TRUE(holder);
    ASSERT_TRUE(std::dynamic_pointer_cast<Form>(holder->topViewController()));
    EXPECT_FALSE(list->popoverControllerShouldDismissPopover(*list->addEntryPopover()));
    ASSERT_TRUE(alert());
    EXPECT_EQ(alert()->title(), "Cannot add a personal entry at the moment. Please try later");
    ASSERT_TRUE(driver().answerAlert("OK"));
    settle();
    EXPECT_NE(detail(), previousDetail);
    EXPECT_FALSE(list->addEntryPopover()->isPopoverVisible());
    EXPECT_EQ(tabBar()->selectedIndex(), EventsTabBarController::sessionsTabIndex());
    tabBar()->setSelectedIndex(EventsTabBarController::participantsTabIndex());
    settle();
}

// Editing from a screen that shows one entry, as the entry's details screen does.
class PersonalEntryEditTest : public PersonalEntryFormTest {
protected:
    std::vector<std::string> unwinds;

    std::shared_ptr<Form> openEditForm(const std::string& id) {
        auto opener = std::make_shared<BaseViewController>();
        auto navigation = uikit::UINavigationController::withRootViewController(opener);
        Form::installOpeningButton(*opener, [id] { return std::optional<std::string>(id); },
                                   [this] { unwinds.push_back("unwindPersonalEntry:"); });
        app().keyWindow()->setRootViewController(navigation);
        settle();
        EXPECT_TRUE(driver().tapItem("Edit"));
        settle();
        return form();
    }
};

TEST_F(PersonalEntryEditTest, EditingPutsReplacesTheRowAndTracksBothEvents) {
    storeSessions();
    setClock("2026-06-16T10:15:00+02:00");
    launch();
    service->putItem(testservice::MeetingKind::PersonalEntries,
                     Value::dictionary({{"id", "pe-7"},
                                        {"revision", 1},
                                        {"status", "Personal"},
                                        {"subject", "Breakfast"},
                                        {"body", "With the board"},
                                        {"startDatetime", "2026-06-17T08:00:00+02:00"},
                                        {"endDatetime", "2026-06-17T08:45:00+02:00"}}));
    insert(token(), "QVACoreDataPersonalEntry",
           {{{"itemId", Value("pe-7")},
             {"agendaItemId", Value("pe-7")},
             {"title", Value("Breakfast")},
             {"sessionDescription", Value("With the board")},
             {"startDatetime", Value("2026-06-17T08:00:00+02:00")},
             {"endDatetime", Value("2026-06-17T08:45:00+02:00")}}},
           service->eventId());

    auto edited = openEditForm("pe-7");
    ASSERT_TRUE(edited);
    EXPECT_TRUE(edited->isEditingEntry());
    EXPECT_EQ(edited->saveButton()->title(), "Save");
    EXPECT_EQ(edited->subjectTextField()->text(), "Breakfast");
    EXPECT_EQ(edited->descriptionTextView()->text(), "With the board");
    EXPECT_TRUE(edited->descriptionPlaceholderLabel()->isHidden());
    EXPECT_EQ(edited->charsCounterLabel()->text(), "14 from 255");
    EXPECT_EQ(datesRow(*edited), (std::vector<std::string>{"Wednesday 17 June", "08:00", "08:45"}));

    // Cleared as a person clears it, the subject is refused before anything is sent.
    ASSERT_TRUE(driver().clearField("subjectTextField"));
    ASSERT_TRUE(driver().tapItem("Save"));
    ASSERT_TRUE(alert());
    EXPECT_EQ(alert()->message(), "Subject field is mandatory.");
    ASSERT_TRUE(driver().answerAlert("OK"));
    ASSERT_TRUE(driver().typeText("subjectTextField", "Breakfast early"));
    ASSERT_TRUE(driver().tapItem("Save"));
    ASSERT_TRUE(waitFor([&] { return !form(); }));
    ASSERT_EQ(writesTo("PUT", entriesPath() + "/pe-7"), 1u);
    EXPECT_EQ(service->writes().back().body["subject"], Value("Breakfast early"));
    auto stored = rows<QVACoreDataPersonalEntry>(token(), service->eventId());
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0]->title(), "Breakfast early");
    EXPECT_EQ(trackedNames(), (std::vector<std::string>{"Add personal entry", "Update personal entry"}));
    EXPECT_EQ(unwinds, std::vector<std::string>{"unwindPersonalEntry:"});
}

TEST_F(PersonalEntryEditTest, AnEntryGoneFromTheStoreGivesAReadOnlyFormThatCloses) {
    storeSessions();
    launch();
    auto edited = openEditForm("pe-gone");
    ASSERT_TRUE(edited);
    EXPECT_FALSE(edited->subjectTextField()->isEnabled());
    EXPECT_FALSE(edited->descriptionTextView()->isEditable());
    EXPECT_FALSE(edited->datesTableView()->isUserInteractionEnabled());
    ASSERT_TRUE(alert());
    EXPECT_FALSE(alert()->title());
    EXPECT_EQ(alert()->message(), "The personal entry is not available.");
    ASSERT_TRUE(driver().answerAlert("OK"));
    settle();
    EXPECT_FALSE(form());
    EXPECT_EQ(unwinds, std::vector<std::string>{"unwindPersonalEntry:"});
}

}  // namespace
