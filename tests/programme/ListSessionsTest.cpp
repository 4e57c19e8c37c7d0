// The sessions tab over a small store, as the app reaches it: official
// sessions on 6 May 2024 (09:00 and 10:30), 7 and 8 May, a pending invitation
// to the first of them and a declined one to a session of its own on 9 May.
// The day paging, the rows and their flags, swiping from a detail across
// days, search over every day, the filters and the tab's entry points, and
// My agenda's bar.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "Utils/DateHelper.h"
#include "analytics/AnalyticsUtils.h"
#include "api/ApplicationService.h"
#include "api/SyncCalendarService.h"
#include "app/ChooseCalendarViewController.h"
#include "eventkit/EKEventStore.h"
#include "eventkit/EKSource.h"
#include "app/ShellTestSupport.h"
#include "lists/ScopeBarCheck.h"
#include "coredata/Predicate.h"
#include "foundation/Exception.h"
#include "lists/DateFilterModel.h"
#include "lists/FavContribFilterModel.h"
#include "lists/FilterModel.h"
#include "lists/FiltersTableViewController.h"
#include "lists/IdIndexPair.h"
#include "lists/SwipeParentControllerProtocol.h"
#include "lists/TimeFilterModel.h"
#include "model/QVAAgendaEntries.h"
#include "programme/AgendaListDelegate.h"
#include "programme/ListSessionsBaseViewController.h"
#include "programme/ListSessionsPlainDelegate.h"
#include "programme/ProgrammeDetailsViewController.h"
#include "programme/ProgrammeListDelegate.h"
#include "programme/SessionsListSegmentedNavigationController.h"
#include "programme/SubactivityCell.h"
#include "uikit/ScreenDescription.h"
#include "uikit/UIAlertView.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationBar.h"
#include "uikit/UINavigationController.h"
#include "uikit/UINavigationItem.h"
#include "uikit/UISearchDisplayController.h"
#include "uikit/UISegmentedControl.h"
#include "uikit/UITableView.h"

namespace {

using foundation::Value;
using meetingtest::Row;
using Strings = std::vector<std::string>;

constexpr const char* kToken = "shell-token";

Row sessionRow(const std::string& id, const std::string& title, const std::string& day, const std::string& time) {
    return {{"itemId", Value(id)},
            {"title", Value(title)},
            {"startDatetime", Value(day + "T" + time + ":00+02:00")},
            {"startDateString", Value(day)},
            {"sectionTitle", Value(time.substr(0, 2) + ":00")},
            {"displayTime", Value(time)}};
}

class ListSessionsTest : public shelltest::ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        AnalyticsUtils::initializeAnalytics();
        openCurrent(kToken);
    }

    void storeMeeting() {
        insert(kToken, "QVACoreDataSession",
               {sessionRow("s1", "Climate opening", "2024-05-06", "09:00"),
                sessionRow("s2", "Water panel", "2024-05-06", "10:30"),
                sessionRow("s3", "Energy workshop", "2024-05-07", "11:00"),
                sessionRow("s4", "Climate closing", "2024-05-08", "16:00")});
        auto invited = sessionRow("s1", "Climate opening", "2024-05-06", "09:00");
        invited["agendaItemId"] = Value("inv1");
        invited["status"] = Value("Invited");
        auto declined = sessionRow("p9", "Private dinner", "2024-05-09", "19:00");
        declined["agendaItemId"] = Value("inv2");
        declined["status"] = Value("Declined");
        insert(kToken, "QVACoreDataAgendaInvitation", {invited, declined});
    }
    void grant(const std::string& code) {
        insert(kToken, "QVACoreDataPermission", {{{"code", Value(code)}, {"granted", Value(true)}}});
    }
    static void setClock(const char* serverText) {
        foundation::Clock::useVirtual(
            DateHelper::dateFromServer(Value(serverText), true)->timeIntervalSinceReferenceDate());
    }

    // The sessions tab, shown.
    std::shared_ptr<ListSessionsBaseViewController> openProgramme() {
        launch();
        EXPECT_TRUE(driver().tapTab(1));
        settle();
        return shownSessionsList();
    }
    std::shared_ptr<ListSessionsBaseDelegate> delegateOf(ListSessionsBaseViewController& list) {
        return std::dynamic_pointer_cast<ListSessionsBaseDelegate>(list.listDelegate());
    }
    std::string dayLabel(ListSessionsBaseViewController& list) { return list.dayNameLabel()->text().value_or(""); }
    static Strings sectionTitles(ListSessionsBaseViewController& list) {
        Strings titles;
        auto table = list.tableView();
        for (int64_t s = 0; s < list.numberOfSectionsInTableView(*table); ++s)
            titles.push_back(list.tableViewGetTitleForHeaderInSection(*table, s).value_or("-"));
        return titles;
    }
    static std::shared_ptr<SubactivityCell> cellAt(ListSessionsBaseViewController& list, int64_t section, int64_t row) {
        auto table = list.tableView();
        return std::dynamic_pointer_cast<SubactivityCell>(
            list.tableViewCellForRowAtIndexPath(*table, uikit::NSIndexPath::indexPathForRow(row, section)));
    }
    std::string dump() const {
        auto window = app().keyWindow();
        return window ? uikit::describe(*window) : std::string();
    }
    std::shared_ptr<ProgrammeDetailsViewController> details() {
        return std::dynamic_pointer_cast<ProgrammeDetailsViewController>(driver().frontViewController());
    }
};

// --- Days and rows ---

TEST_F(ListSessionsTest, TheProgrammeOpensOnItsFirstDayWithHourSectionsAndTheInvitationOnce) {
    storeMeeting();
    auto list = openProgramme();
    ASSERT_TRUE(list);
    auto delegate = delegateOf(*list);
    EXPECT_EQ(delegate->allDays(), (Strings{"2024-05-06", "2024-05-07", "2024-05-08"}));
    EXPECT_EQ(dayLabel(*list), "Monday 06 May");
    EXPECT_FALSE(list->previousDayButton()->isEnabled());
    EXPECT_TRUE(list->nextDayButton()->isEnabled());
    EXPECT_EQ(sectionTitles(*list), (Strings{"09:00", "10:00"}));
    ASSERT_EQ(list->sectionedDataSourceArray()[0].size(), 1u);
    EXPECT_TRUE(std::dynamic_pointer_cast<QVAAgendaInvitation>(list->sectionedDataSourceArray()[0][0]));
    auto cell = cellAt(*list, 0, 0);
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->subactivityTitle()->text(), "Climate opening");
    EXPECT_EQ(cell->subactivityTime()->text(), "09:00");
    EXPECT_FALSE(cell->invitationLabel()->text().value_or("").size());
    EXPECT_NE(dump().find("toolbar #titleToolbar [left_arrow.png off][Monday 06 May on][right_arrow.png on]"),
              std::string::npos);
}

TEST_F(ListSessionsTest, MyAgendaListsTheDeclinedInvitationWithItsStatusLine) {
    storeMeeting();
    grant("my_agenda:invitations");
    auto list = openProgramme();
    ASSERT_TRUE(driver().segment(1));
    settle();
    auto agenda = shownSessionsList();
    ASSERT_TRUE(agenda && agenda != list);
    EXPECT_EQ(delegateOf(*agenda)->allDays(), (Strings{"2024-05-06", "2024-05-09"}));
    agenda->nextDayButtonPressed();
    auto cell = cellAt(*agenda, 0, 0);
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->subactivityTitle()->text(), "Private dinner");
    EXPECT_EQ(cell->invitationLabel()->text(), QVAAgendaInvitation::buildInvitationStringFromStatus("Declined", false));
}

TEST_F(ListSessionsTest, AnEmptyStoreShowsNoEntriesAndLaterDaysStartOnTheFirstNotToday) {
    setClock("2024-05-07T12:00:00+02:00");
    auto list = openProgramme();
    ASSERT_TRUE(list);
    EXPECT_EQ(dayLabel(*list), "No entries");
    EXPECT_FALSE(list->previousDayButton()->isEnabled());
    EXPECT_FALSE(list->nextDayButton()->isEnabled());
    storeMeeting();
    list->updateUiContentBecauseItsNeeded();
    EXPECT_EQ(dayLabel(*list), "Monday 06 May");

    // A list made fresh on 7 May opens on it.
    auto fresh = std::make_shared<ProgrammeListDelegate>();
    fresh->refreshAdditionalDataSourceForCoreDataStack(list->coreDataStack(), *list);
    EXPECT_EQ(fresh->currentDay(), "2024-05-07");
    EXPECT_EQ(ListSessionsBaseViewController::dayTitleForDayString("2024-05-07"), "Today");
}

// The days and lookups are kept while the list pages through its days; a
// save is what makes them read again.
TEST_F(ListSessionsTest, ASaveAddingADayAndMakingASelectionOfficialShowsOnTheListPagedToItsEnd) {
    storeMeeting();
    auto selected = sessionRow("p7", "Side meeting", "2024-05-08", "18:00");
    selected["agendaItemId"] = Value("sel1");
    insert(kToken, "QVACoreDataAgendaSelection", {selected});
    auto list = openProgramme();
    ASSERT_TRUE(list);
    auto delegate = delegateOf(*list);
    list->nextDayButtonPressed();
    list->previousDayButtonPressed();
    list->nextDayButtonPressed();
    list->nextDayButtonPressed();
    EXPECT_EQ(dayLabel(*list), "Wednesday 08 May");
    EXPECT_FALSE(list->nextDayButton()->isEnabled());
    EXPECT_TRUE(delegate->subactivityIsAPrivateSessionWithId("p7"));
    // The row's mark of a session outside the official programme, shown.
    const std::string privateMark = "sessionImage=image:parallel_session.png personalNotesImage";
    EXPECT_NE(dump().find(privateMark), std::string::npos);

    insert(kToken, "QVACoreDataSession",
           {sessionRow("p7", "Side meeting", "2024-05-08", "18:00"), sessionRow("s5", "Farewell", "2024-05-10", "12:00")});
    settle();
    EXPECT_EQ(delegate->allDays(), (Strings{"2024-05-06", "2024-05-07", "2024-05-08", "2024-05-10"}));
    EXPECT_TRUE(list->nextDayButton()->isEnabled());
    EXPECT_FALSE(delegate->subactivityIsAPrivateSessionWithId("p7"));
    EXPECT_EQ(dump().find(privateMark), std::string::npos);
    list->nextDayButtonPressed();
    EXPECT_EQ(dayLabel(*list), "Friday 10 May");
}

// --- Swiping and the arrows ---

TEST_F(ListSessionsTest, SwipingPastTheLastRowOfTheLastDayOpensTheFirstRowOfTheFirstDay) {
    storeMeeting();
    auto list = openProgramme();
    list->nextDayButtonPressed();
    list->nextDayButtonPressed();
    EXPECT_EQ(delegateOf(*list)->currentDay(), "2024-05-08");
    EXPECT_FALSE(list->nextDayButton()->isEnabled());
    list->nextDayButtonPressed();
    EXPECT_EQ(delegateOf(*list)->currentDay(), "2024-05-08");

    auto pair = list->getNextIdIndexPathPairAndMoveSelectionInDirection(2, std::string("s4"),
                                                                        uikit::NSIndexPath::indexPathForRow(0, 0));
    ASSERT_TRUE(pair);
    EXPECT_EQ(pair->indexPath(), uikit::NSIndexPath::indexPathForRow(0, 0));
    EXPECT_EQ(pair->objectId(), "inv1");
    EXPECT_EQ(pair->entityName(), "QVACoreDataAgendaInvitation");
    EXPECT_EQ(dayLabel(*list), "Monday 06 May");

    // Backwards from the first row of the first day: the last row of the last day.
    auto back = list->getNextIdIndexPathPairAndMoveSelectionInDirection(1, std::string("inv1"),
                                                                        uikit::NSIndexPath::indexPathForRow(0, 0));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->objectId(), "s4");
    EXPECT_EQ(delegateOf(*list)->currentDay(), "2024-05-08");
}

TEST_F(ListSessionsTest, WithoutACurrentDayTheArrowsRestAndASwipeStepGoesToAnEnd) {
    storeMeeting();
    auto list = openProgramme();
    auto delegate = delegateOf(*list);
    // A day the list no longer has, then none at all.
    delegate->setCurrentDayString(std::string("2024-05-01"));
    list->updateUIHeader();
    EXPECT_FALSE(list->previousDayButton()->isEnabled());
    EXPECT_FALSE(list->nextDayButton()->isEnabled());
    list->nextDayButtonPressed();
    list->previousDayButtonPressed();
    EXPECT_EQ(delegate->currentDay(), "2024-05-01");
    list->changeCurrentDayInDirection(SwipeParentControllerProtocol::kNextRowDirection);
    EXPECT_EQ(delegate->currentDay(), "2024-05-06");

    delegate->setCurrentDayString(std::nullopt);
    list->changeCurrentDayInDirection(1);
    EXPECT_EQ(delegate->currentDay(), "2024-05-08");
    EXPECT_EQ(dayLabel(*list), "Wednesday 08 May");
}

TEST_F(ListSessionsTest, ASwipeInsideADayKeepsTheDay) {
    storeMeeting();
    auto list = openProgramme();
    auto pair = list->getNextIdIndexPathPairAndMoveSelectionInDirection(2, std::string("inv1"),
                                                                        uikit::NSIndexPath::indexPathForRow(0, 0));
    ASSERT_TRUE(pair);
    EXPECT_EQ(pair->indexPath(), uikit::NSIndexPath::indexPathForRow(0, 1));
    EXPECT_EQ(pair->objectId(), "s2");
    EXPECT_EQ(delegateOf(*list)->currentDay(), "2024-05-06");
}

TEST_F(ListSessionsTest, ADetailFromADaysOnlyRowSwipesOnlyWhenThereAreOtherDays) {
    storeMeeting();
    auto list = openProgramme();
    list->nextDayButtonPressed();
    ASSERT_TRUE(driver().tapRow(0, 0));
    settle();
    ASSERT_TRUE(details());
    EXPECT_TRUE(details()->isSwipeEnabled());
    EXPECT_EQ(details()->selectionPropertyId(), "s3");
    EXPECT_EQ(details()->entityName(), "QVACoreDataSession");
    // The details scene swipes through its parent list, onto the next day.
    ASSERT_TRUE(driver().swipe(uikit::ScreenDriver::SwipeDirection::Left));
    settle();
    ASSERT_TRUE(details());
    EXPECT_EQ(details()->selectionPropertyId(), "s4");
    EXPECT_EQ(delegateOf(*list)->currentDay(), "2024-05-08");
}

TEST_F(ListSessionsTest, OneDayWithOneRowOpensItsDetailWithoutSwiping) {
    insert(kToken, "QVACoreDataSession", {sessionRow("s1", "Alone", "2024-05-06", "09:00")});
    openProgramme();
    ASSERT_TRUE(driver().tapRow(0, 0));
    settle();
    ASSERT_TRUE(details());
    EXPECT_FALSE(details()->isSwipeEnabled());
}

TEST_F(ListSessionsTest, ASearchCoversEveryDayAndTheToolbarKeepsItsDay) {
    storeMeeting();
    auto list = openProgramme();
    list->nextDayButtonPressed();
    ASSERT_TRUE(driver().search("Climate"));
    settle();
    const auto& rows = list->searchDataSourceArray();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(dayLabel(*list), "Tuesday 07 May");
    auto results = list->searchDisplayController()->searchResultsTableView();
    auto first = std::dynamic_pointer_cast<SubactivityCell>(
        list->tableViewCellForRowAtIndexPath(*results, uikit::NSIndexPath::indexPathForRow(0, 0)));
    ASSERT_TRUE(first);
    EXPECT_EQ(first->subactivityTime()->text(), "Monday 06 May, 09:00");
    auto second = std::dynamic_pointer_cast<SubactivityCell>(
        list->tableViewCellForRowAtIndexPath(*results, uikit::NSIndexPath::indexPathForRow(1, 0)));
    EXPECT_EQ(second->subactivityTime()->text(), "Wednesday 08 May, 16:00");

    // One result opens its detail without swiping.
    ASSERT_TRUE(driver().search(" closing"));
    settle();
    ASSERT_EQ(list->searchDataSourceArray().size(), 1u);
    ASSERT_TRUE(driver().tapSearchResultRow(0, 0));
    settle();
    ASSERT_TRUE(details());
    EXPECT_FALSE(details()->isSwipeEnabled());
}

// The scope bar grows the search bar while a search is under way: the day
// toolbar and the list move down under it, so each scope takes a tap where it
// is drawn.
void expectTheWholeScopeBarAboveTheResults(uikit::ScreenDriver& driver, ListSessionsBaseViewController& list) {
    ASSERT_TRUE(driver.search("Climate"));
    driver.settle();
    const auto& search = list.searchDisplayController();
    EXPECT_EQ(scopebarcheck::scopesMissedByATap(driver, *search->searchBar()), std::vector<int64_t>{});
    EXPECT_EQ(list.searchDataSourceArray().size(), 2u);
}

TEST_F(ListSessionsTest, ASearchShowsItsWholeScopeBarAboveTheResults) {
    storeMeeting();
    auto list = openProgramme();
    ASSERT_TRUE(list);
    expectTheWholeScopeBarAboveTheResults(driver(), *list);
}

class PadListSessionsTest : public ListSessionsTest {
protected:
    uikit::DeviceProfile deviceProfile() const override { return uikit::DeviceProfile::iPad(); }
};

TEST_F(PadListSessionsTest, InThePortraitMenuASearchShowsItsWholeScopeBarAboveTheResults) {
    storeMeeting();
    launch();
    tabBar()->displayLeftPopoverMenu();
    tabBar()->selectTabBarItem(EventsTabBarController::sessionsTabIndex());
    settle();
    auto list = shownSessionsList();
    ASSERT_TRUE(list);
    expectTheWholeScopeBarAboveTheResults(driver(), *list);
}

// --- Filters ---

TEST_F(ListSessionsTest, TheProgrammesFiltersFollowTheNotesAndRelationshipsPermissions) {
    ProgrammeListDelegate delegate;
    Strings names;
    for (const auto& filter : delegate.filtersCollection().value_or(ProgrammeListDelegate::Filters{}))
        names.push_back(filter->className());
    EXPECT_EQ(names, (Strings{"DateFilterModel", "TimeFilterModel", "SessionTypeFilterModel", "LocationFilterModel",
                              "PressAllowedFilterModel", "SpouseAllowedFilterModel", "WithMealFilterModel"}));
    for (const auto& filter : delegate.filtersWithStarredParticipants())
        EXPECT_EQ(filter->selectedValue().stringValue(), filter->defaultValue()) << filter->className();
    grant("event:notes");
    grant("relationships:read");
    auto all = delegate.filtersWithStarredParticipants();
    ASSERT_EQ(all.size(), 9u);
    EXPECT_EQ(all[7]->className(), "SessionNotesFilterModel");
    EXPECT_EQ(all[8]->className(), "FavContribFilterModel");
    EXPECT_EQ(all[8]->selectedValue().stringValue(), FavContribFilterModel::kWithStarredValue);
}

TEST_F(ListSessionsTest, ADateFilterMovesTheListToItsDay) {
    storeMeeting();
    auto list = openProgramme();
    auto filters = ProgrammeListDelegate().filtersCollection().value_or(ProgrammeListDelegate::Filters{});
    ASSERT_FALSE(filters.empty());
    filters[0]->setSelectedValue(Value("Tuesday 07 May"));
    list->filterCollectionBy(filters);
    EXPECT_EQ(delegateOf(*list)->allDays(), Strings{"2024-05-07"});
    EXPECT_EQ(dayLabel(*list), "Tuesday 07 May");
}

TEST_F(ListSessionsTest, TheFiltersScreenStartsBelowItsBar) {
    storeMeeting();
    auto list = openProgramme();
    list->performSegueWithIdentifier(ListSessionsBaseViewController::kFiltersSegue, nullptr);
    settle();
    auto navigation = std::dynamic_pointer_cast<uikit::UINavigationController>(list->presentedViewController());
    ASSERT_TRUE(navigation);
    auto filters = std::dynamic_pointer_cast<FiltersTableViewController>(navigation->topViewController());
    ASSERT_TRUE(filters);
    const auto bar = navigation->navigationBar()->frame();
    const auto table = filters->tableView()->convertRectToView(filters->tableView()->bounds(), navigation->view().get());
    // The "Date" header and "Clear filters" are not under the bar.
    EXPECT_GE(table.origin.y, bar.origin.y + bar.size.height);
    EXPECT_NE(dump().find("Clear filters"), std::string::npos);
}

// --- The container ---

TEST_F(ListSessionsTest, WithoutAgendaPermissionsTheTabIsTheProgrammeAlone) {
    storeMeeting();
    auto list = openProgramme();
    auto sessions = tabBar()->sessionsSegmentedNavController();
    EXPECT_EQ(sessions->sc(), nullptr);
    EXPECT_EQ(sessions->retainedControllers().size(), 1u);
    sessions->displayAgendaList();
    EXPECT_EQ(shownSessionsList(), list);
}

TEST_F(ListSessionsTest, WithSelectionsTheSecondSegmentIsMyAgendaAndIsTracked) {
    storeMeeting();
    grant("my_agenda:selections");
    openProgramme();
    auto sessions = tabBar()->sessionsSegmentedNavController();
    ASSERT_TRUE(sessions->sc());
    EXPECT_EQ(sessions->sc()->numberOfSegments(), 2u);
    const auto before = AnalyticsUtils::queuedEvents().size();
    ASSERT_TRUE(driver().segment(1));
    settle();
    EXPECT_EQ(shownSessionsDelegate(), "AgendaListDelegate");
    const auto events = AnalyticsUtils::queuedEvents();
    ASSERT_GT(events.size(), before);
    EXPECT_EQ(events[before].name, "View my agenda");
}

TEST_F(ListSessionsTest, TheNotesEntryPointShowsTheProgrammeOnTheFirstDayWithANote) {
    storeMeeting();
    grant("my_agenda:selections");
    grant("event:notes");
    insert(kToken, "QVACoreDataSessionNote", {{{"itemId", Value("n1")}, {"sessionId", Value("s3")}, {"note", Value("x")}}});
    openProgramme();
    ASSERT_TRUE(driver().segment(1));
    settle();
    tabBar()->displayAndFilterSessionsWithNotes();
    settle();
    auto list = shownSessionsList();
    EXPECT_EQ(shownSessionsDelegate(), "ProgrammeListDelegate");
    EXPECT_EQ(dayLabel(*list), "Tuesday 07 May");
    ASSERT_EQ(list->sectionedDataSourceArray().size(), 1u);
    ASSERT_EQ(list->sectionedDataSourceArray()[0].size(), 1u);
    EXPECT_EQ(list->sectionedDataSourceArray()[0][0]->selectionPropertyId(), "s3");
    EXPECT_NE(dump().find("Filter: With notes"), std::string::npos);
}

TEST_F(ListSessionsTest, ATypeEntryPointReplacesTheFiltersTheUserChose) {
    storeMeeting();
    auto list = openProgramme();
    auto chosen = ProgrammeListDelegate().filtersCollection().value_or(ProgrammeListDelegate::Filters{});
    chosen[1]->setSelectedValue(Value("Morning"));
    list->filterCollectionBy(chosen);
    tabBar()->sessionsSegmentedNavController()->filterSessionsByType(std::string("Workshop"));
    EXPECT_EQ(list->buildFilterCaptionTextForFilters(list->filtersArray()), "Workshop");
}

// --- My agenda's bar ---

TEST_F(ListSessionsTest, MyAgendaShowsTheAddButtonOnlyWithItsPermissionAndOnlineEnabled) {
    storeMeeting();
    grant("my_agenda:selections");
    openProgramme();
    ASSERT_TRUE(driver().segment(1));
    settle();
    auto agenda = shownSessionsList();
    auto items = agenda->navigationItem()->rightBarButtonItems();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0]->image()->name(), AgendaListDelegate::kCalendarImage);

    grant("my_agenda:personal_entries");
    agenda->configureRightBarButton();
    items = agenda->navigationItem()->rightBarButtonItems();
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0]->image()->name(), AgendaListDelegate::kAddEntryImage);
    EXPECT_FALSE(items[0]->isEnabled());
    EXPECT_EQ(items[1]->image()->name(), AgendaListDelegate::kCalendarImage);
}

// --- Calendar sync ---

class ListSessionsCalendarTest : public ListSessionsTest {
protected:
    void TearDown() override {
        for (const auto& alert : app().visibleAlerts()) alert->dismissWithClickedButtonIndex(0, false);
        auto device = ApplicationService::syncCalendarService()->eventStore();
        eventkit::EKEventStore::setAuthorizationStatus(eventkit::EKEntityType::Event,
                                                       eventkit::EKAuthorizationStatus::Authorized);
        for (const auto& calendar : device->calendarsForEntityType(eventkit::EKEntityType::Event))
            device->removeCalendar(calendar);
        eventkit::EKEventStore::setAuthorizationStatus(eventkit::EKEntityType::Event,
                                                       eventkit::EKAuthorizationStatus::NotDetermined);
        ListSessionsTest::TearDown();
    }
    // My agenda, with a "Meetings" calendar of the "Work" account. Without
    // official sessions the meeting has no dates, and no sync can succeed.
    std::shared_ptr<ListSessionsBaseViewController> openAgenda(bool withSessions) {
        if (withSessions) {
            storeMeeting();
        } else {
            auto declined = sessionRow("p9", "Private dinner", "2024-05-09", "19:00");
            declined["agendaItemId"] = Value("inv2");
            declined["status"] = Value("Declined");
            insert(kToken, "QVACoreDataAgendaInvitation", {declined});
        }
        grant("my_agenda:selections");
        auto device = ApplicationService::syncCalendarService()->eventStore();
        eventkit::EKEventStore::setAuthorizationStatus(eventkit::EKEntityType::Event,
                                                       eventkit::EKAuthorizationStatus::Authorized);
        device->addCalendar(device->addSource("Work", eventkit::EKSourceType::Exchange), "Meetings",
                            eventkit::EKCalendarType::Exchange, true);
        openProgramme();
        EXPECT_TRUE(driver().segment(1));
        settle();
        return shownSessionsList();
    }
    std::shared_ptr<uikit::UIAlertView> frontAlert() const {
        auto alerts = app().visibleAlerts();
        return alerts.empty() ? nullptr : alerts.back();
    }
    std::string lastSyncState() const {
        std::string state;
        for (const auto& event : AnalyticsUtils::queuedEvents())
            if (event.name == "Sync agenda with device calendar" && event.properties.count("State"))
                state = event.properties.at("State");
        return state;
    }
    // Yes to the question, then the calendar in the chooser.
    void syncThroughTheChooser(ListSessionsBaseViewController& agenda) {
        ASSERT_TRUE(driver().tapItem(AgendaListDelegate::kCalendarImage));
        ASSERT_TRUE(frontAlert());
        EXPECT_EQ(frontAlert()->title(), "Do you want to sync your event agenda with your device calendar?");
        ASSERT_TRUE(driver().answerAlert("Yes"));
        settle();
        auto chooser = std::dynamic_pointer_cast<ChooseCalendarViewController>(driver().frontViewController());
        ASSERT_TRUE(chooser);
        EXPECT_EQ(chooser->delegate().get(), static_cast<ChooseCalendarControllerDelegate*>(&agenda));
        ASSERT_TRUE(driver().tapRow(0, 0));
        ASSERT_TRUE(foundation::RunLoop::main().runUntil(
            [&] { return frontAlert() && frontAlert()->message() && frontAlert()->message()->find("calendar in your") != std::string::npos; },
            30));
    }
};

TEST_F(ListSessionsCalendarTest, ChoosingACalendarSyncsTheAgendaAndTintsTheButton) {
    auto agenda = openAgenda(true);
    ASSERT_TRUE(agenda);
    syncThroughTheChooser(*agenda);
    EXPECT_EQ(frontAlert()->message(), "Your agenda has been synced with \"Meetings\" calendar in your Work account");
    ASSERT_TRUE(driver().answerAlert("OK"));
    EXPECT_TRUE(settings.syncWithCalendar());
    EXPECT_EQ(lastSyncState(), "ON");
    auto button = agenda->navigationItem()->rightBarButtonItems().back();
    EXPECT_EQ(button->tintColor(), AgendaListDelegate::syncOnTint());

    // Off again: the mirror goes, "OFF" is tracked and the button whitens.
    ASSERT_TRUE(driver().tapItem(AgendaListDelegate::kCalendarImage));
    EXPECT_EQ(frontAlert()->title(),
              "Do you want to disable synchronization between your event agenda and your device calendar?");
    ASSERT_TRUE(driver().answerAlert("Yes"));
    ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return lastSyncState() == "OFF"; }, 30));
    settle();
    EXPECT_FALSE(settings.syncWithCalendar());
    EXPECT_EQ(agenda->navigationItem()->rightBarButtonItems().back()->tintColor(), graphics::Color::white());
}

// The chooser offers the device's calendars as they are now, not as an
// earlier look at them found them.
TEST_F(ListSessionsCalendarTest, TheChooserLeavesOutACalendarRemovedSinceTheLastLook) {
    auto agenda = openAgenda(true);
    ASSERT_TRUE(agenda);
    auto device = ApplicationService::syncCalendarService()->eventStore();
    auto gone = device->addCalendar(device->addSource("Old", eventkit::EKSourceType::Exchange), "Gone",
                                    eventkit::EKCalendarType::Exchange, true);
    ApplicationService::syncCalendarService()->getSupportedSourcesCalendars();
    device->removeCalendar(gone);
    ASSERT_TRUE(driver().tapItem(AgendaListDelegate::kCalendarImage));
    ASSERT_TRUE(driver().answerAlert("Yes"));
    settle();
    auto chooser = std::dynamic_pointer_cast<ChooseCalendarViewController>(driver().frontViewController());
    ASSERT_TRUE(chooser);
    for (const auto& group : chooser->calendarSourcesData())
        for (const auto& calendar : group->supportedCalendars()) EXPECT_NE(calendar, gone);
}

TEST_F(ListSessionsCalendarTest, AFailedSyncLeavesSyncOffAndTheButtonWhite) {
    auto agenda = openAgenda(false);
    ASSERT_TRUE(agenda);
    syncThroughTheChooser(*agenda);
    EXPECT_EQ(frontAlert()->message(), "Unable to sync \"Meetings\" calendar in your Work account");
    EXPECT_FALSE(settings.syncWithCalendar());
    EXPECT_EQ(agenda->navigationItem()->rightBarButtonItems().back()->tintColor(), graphics::Color::white());
}

// --- The contributions' plain list ---

TEST_F(ListSessionsTest, ThePlainListHoldsTheSessionsOfAParticipantsContributions) {
    storeMeeting();
    insert(kToken, "QVACoreDataParticipant",
           {{{"itemId", Value("p1")}, {"contributions", Value("s3|Speaker|Panel;s1|Chair")}}});
    auto list = openProgramme();
    auto plain = ListSessionsPlainDelegate::initWithSelectionPropertyId("p1");
    plain->refreshAdditionalDataSourceForCoreDataStack(list->coreDataStack(), *list);
    EXPECT_EQ(plain->sessionIds(), (Strings{"s1", "s3"}));
    auto predicate = *plain->fetchPredicate();
    EXPECT_TRUE(predicate->evaluateWithObject(Value::dictionary({{"itemId", Value("s3")}})));
    EXPECT_FALSE(predicate->evaluateWithObject(Value::dictionary({{"itemId", Value("s2")}})));
    EXPECT_EQ(plain->entityName(), "QVACoreDataSession");
}

// --- Threads ---

TEST_F(ListSessionsTest, TheRefreshAndTheStoreReloadRaiseOffTheMainThread) {
    storeMeeting();
    auto list = openProgramme();
    auto delegate = delegateOf(*list);
    std::string refreshReason, reloadReason;
    std::thread worker([&] {
        try {
            delegate->refreshAdditionalDataSourceForCoreDataStack(nullptr, *list);
        } catch (const foundation::Exception& exception) {
            refreshReason = exception.reason();
        }
        try {
            list->updateUiContentBecauseItsNeeded();
        } catch (const foundation::Exception& exception) {
            reloadReason = exception.reason();
        }
    });
    worker.join();
    EXPECT_EQ(refreshReason, "Please call this from main thread only");
    EXPECT_EQ(reloadReason, "Please call this method from main thread only");
    EXPECT_EQ(delegate->allDays().size(), 3u);
}

}  // namespace
