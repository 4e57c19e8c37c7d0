// The personal entry's date screen and the calendar and alert-time choosers,
// pushed over the launched app's front screen as their openers push them.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Utils/DateHelper.h"
#include "api/ApplicationService.h"
#include "api/SyncCalendarService.h"
#include "app/AppStoryboards.h"
#include "app/ChangeAlertTimeViewController.h"
#include "app/ChooseCalendarControllerDelegate.h"
#include "app/ChooseCalendarViewController.h"
#include "app/SettingsViewController.h"
#include "app/ShellTestSupport.h"
#include "eventkit/EKEventStore.h"
#include "programme/ChangePersonalEntryDateViewController.h"
#include "api/SourceCalendars.h"
#include "uikit/UIAlertView.h"
#include "uikit/UIDatePicker.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationController.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UIStoryboardSegue.h"
#include "uikit/UITableViewCell.h"

namespace {

using foundation::Value;

foundation::Date pickersAt(const char* text) { return *DateHelper::dateFromServer(Value(text), true); }

class ProgrammePickersTest : public shelltest::ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        openCurrent("pickers-token");
        // The meeting's zone is its first session's.
        insert("pickers-token", "QVACoreDataSession",
               {{{"itemId", Value("s1")},
                 {"title", Value("Opening")},
                 {"startDatetime", Value("2026-06-16T09:00:00+02:00")},
                 {"displayTime", Value("09:00 - 10:00")}}});
        launch();
        host = driver().frontViewController();
        ASSERT_TRUE(host && host->navigationController());
    }
    void TearDown() override {
        for (const auto& alert : app().visibleAlerts()) alert->dismissWithClickedButtonIndex(0, false);
        settle();
        host.reset();
        ShellTest::TearDown();
    }

    template <class T>
    std::shared_ptr<T> push(const char* identifier) {
        auto screen = std::dynamic_pointer_cast<T>(
            uikit::UIStoryboard::storyboardWithName(AppStoryboards::kPhoneStoryboardName)
                ->instantiateViewControllerWithIdentifier(identifier));
        if (screen) host->navigationController()->pushViewController(screen, false);
        return screen;
    }

    std::shared_ptr<ChangePersonalEntryDateViewController> pushDates(const char* start, const char* end) {
        // Set before the push, as the form sets them before the segue shows the screen.
        auto screen = std::dynamic_pointer_cast<ChangePersonalEntryDateViewController>(
            uikit::UIStoryboard::storyboardWithName(AppStoryboards::kPhoneStoryboardName)
                ->instantiateViewControllerWithIdentifier(ChangePersonalEntryDateViewController::kStoryboardIdentifier));
        if (!screen) return nullptr;
        screen->setSelectedDate(pickersAt("2026-06-16T00:00:00+02:00"));
        screen->setStartTime(pickersAt(start));
        screen->setEndTime(pickersAt(end));
        screen->setDatesRange({pickersAt("2026-06-15T00:00:00+02:00"), pickersAt("2026-06-16T00:00:00+02:00"),
                               pickersAt("2026-06-18T00:00:00+02:00")});
        host->navigationController()->pushViewController(screen, false);
        settle();
        return screen;
    }

    static std::vector<std::string> details(uikit::UITableView& table) {
        std::vector<std::string> out;
        for (int64_t row = 0; row < 3; ++row) {
            auto cell = table.cellForRowAtIndexPath({0, row});
            out.push_back(cell && cell->detailTextLabel() ? cell->detailTextLabel()->text().value_or("") : "?");
        }
        return out;
    }

    static std::vector<std::string> titles(uikit::UITableView& table, int64_t section) {
        std::vector<std::string> out;
        for (int64_t row = 0; row < table.numberOfRowsInSection(section); ++row) {
            auto cell = table.cellForRowAtIndexPath({section, row});
            out.push_back(cell ? cell->textLabel()->text().value_or("") : "?");
        }
        return out;
    }

    uikit::UIViewControllerPtr host;
};

TEST_F(ProgrammePickersTest, DateScreenRefusesAStartAfterTheEndAndPassesEqualTimes) {
    int done = 0;
    host->addUnwindAction(ChangePersonalEntryDateViewController::kDoneUnwindAction,
                          [&](uikit::UIStoryboardSegue&) { ++done; });
    auto screen = pushDates("2026-06-16T11:01:00+02:00", "2026-06-16T11:00:00+02:00");
    ASSERT_TRUE(screen);
    ASSERT_TRUE(driver().tapItem("Done"));
    settle();
    ASSERT_EQ(app().visibleAlerts().size(), 1u);
    auto alert = app().visibleAlerts()[0];
    EXPECT_EQ(alert->title(), "Error");
    EXPECT_EQ(alert->message(), "Start time must be before end time!");
    EXPECT_EQ(alert->buttonTitleAtIndex(0), "OK");
    ASSERT_TRUE(driver().answerAlert("OK"));
    settle();
    EXPECT_EQ(done, 0);
    EXPECT_EQ(driver().frontViewController(), screen);

    screen->setStartTime(pickersAt("2026-06-16T11:00:00+02:00"));
    ASSERT_TRUE(driver().tapItem("Done"));
    settle();
    EXPECT_EQ(done, 1);
    EXPECT_TRUE(app().visibleAlerts().empty());
    EXPECT_EQ(driver().frontViewController(), host);
}

TEST_F(ProgrammePickersTest, DateScreenPickerFollowsTheSelectedRow) {
    auto screen = pushDates("2026-06-16T10:00:00+02:00", "2026-06-16T11:00:00+02:00");
    ASSERT_TRUE(screen);
    auto table = screen->datesTableView();
    auto picker = screen->datePicker();
    ASSERT_TRUE(table && picker);
    EXPECT_EQ(titles(*table, 0), (std::vector<std::string>{"Date", "Start time", "End time"}));
    EXPECT_EQ(details(*table), (std::vector<std::string>{"Tuesday 16 June", "10:00", "11:00"}));

    // Loaded: the date row, the picker in date mode in the meeting's zone,
    // bounded by the first and last meeting days.
    EXPECT_EQ(table->indexPathForSelectedRow(), (uikit::NSIndexPath{0, 0}));
    EXPECT_EQ(picker->datePickerMode(), uikit::UIDatePickerMode::Date);
    EXPECT_EQ(picker->date(), *screen->selectedDate());
    ASSERT_TRUE(picker->timeZone());
    EXPECT_EQ(picker->timeZone()->name(), DateHelper::currentMeetingTimeZone().name());
    EXPECT_EQ(picker->minimumDate(), pickersAt("2026-06-15T00:00:00+02:00"));
    EXPECT_EQ(picker->maximumDate(), pickersAt("2026-06-18T00:00:00+02:00"));

    // Another day leaves the times as they were.
    ASSERT_TRUE(driver().pickDate(pickersAt("2026-06-17T00:00:00+02:00")));
    EXPECT_EQ(screen->selectedDate(), pickersAt("2026-06-17T00:00:00+02:00"));
    EXPECT_EQ(screen->startTime(), pickersAt("2026-06-16T10:00:00+02:00"));
    EXPECT_EQ(screen->endTime(), pickersAt("2026-06-16T11:00:00+02:00"));
    EXPECT_EQ(details(*table)[0], "Wednesday 17 June");

    // The start row: time mode, its value; a choice lands in the start time
    // only and the row stays selected.
    ASSERT_TRUE(driver().tapRow(0, 1));
    EXPECT_EQ(picker->datePickerMode(), uikit::UIDatePickerMode::Time);
    EXPECT_EQ(picker->date(), *screen->startTime());
    ASSERT_TRUE(driver().pickDate(pickersAt("2026-06-16T10:45:00+02:00")));
    EXPECT_EQ(details(*table), (std::vector<std::string>{"Wednesday 17 June", "10:45", "11:00"}));
    EXPECT_EQ(table->indexPathForSelectedRow(), (uikit::NSIndexPath{0, 1}));
    EXPECT_EQ(screen->selectedDate(), pickersAt("2026-06-17T00:00:00+02:00"));
}

TEST_F(ProgrammePickersTest, AlertTimeChooserListsTheSettingsLabelsAndHandsBackTheNumber) {
    std::optional<int32_t> chosen;
    host->addUnwindAction(ChangeAlertTimeViewController::kUnwindAction, [&](uikit::UIStoryboardSegue& segue) {
        if (auto chooser = std::dynamic_pointer_cast<ChangeAlertTimeViewController>(segue.sourceViewController()))
            chosen = chooser->selectedCalendarAlertTime();
    });
    auto chooser = push<ChangeAlertTimeViewController>(ChangeAlertTimeViewController::kStoryboardIdentifier);
    ASSERT_TRUE(chooser);
    chooser->setAlertTimeDataSource(SettingsViewController::calendarAlertTimeStrings());
    settle();
    EXPECT_EQ(chooser->title(), "Calendar alert time");
    EXPECT_EQ(titles(*chooser->tableView(), 0),
              (std::vector<std::string>{"None", "At time of event", "5 minutes before", "15 minutes before",
                                        "30 minutes before", "1 hour before", "2 hours before"}));
    ASSERT_TRUE(driver().tapRow(0, 6));
    settle();
    EXPECT_EQ(chosen, 6);
    EXPECT_EQ(driver().frontViewController(), host);
}

// Remembers what the chooser's navigation showed when it was told.
class PickersCalendarDelegate : public ChooseCalendarControllerDelegate {
public:
    void onSelectCalendarToSync(ChooseCalendarViewController& chooser) override {
        ++calls;
        chooserWasOnTop = navigation && navigation->topViewController().get() == &chooser;
        chosen = chooser.selectedCalendar();
    }
    std::shared_ptr<uikit::UINavigationController> navigation;
    int calls = 0;
    bool chooserWasOnTop = true;
    eventkit::EKCalendarPtr chosen;
};

TEST_F(ProgrammePickersTest, CalendarChooserListsSourcesPopsAndThenTellsTheDelegate) {
    auto store = ApplicationService::syncCalendarService()->eventStore();
    auto device = store->addSource("On My Device", eventkit::EKSourceType::Local);
    auto meetings = store->addCalendar(device, "Meetings", eventkit::EKCalendarType::Local, true);
    auto home = store->addCalendar(device, "Home", eventkit::EKCalendarType::Local, true);
    auto readOnly = store->addSource("Holidays", eventkit::EKSourceType::Subscribed);

    auto chooser = push<ChooseCalendarViewController>(ChooseCalendarViewController::kStoryboardIdentifier);
    ASSERT_TRUE(chooser);
    auto delegate = std::make_shared<PickersCalendarDelegate>();
    chooser->setDelegate(delegate);
    delegate->navigation = host->navigationController();
    chooser->setCalendarSourcesData(
        {SourceCalendars::initWithSource(device, {meetings, home}), SourceCalendars::initWithSource(readOnly, {})});
    settle();
    EXPECT_EQ(chooser->title(), "Choose calendar");
    auto table = chooser->tableView();
    ASSERT_EQ(table->numberOfSections(), 2);
    EXPECT_EQ(table->titleForHeaderInSection(0), "On My Device");
    EXPECT_EQ(table->titleForHeaderInSection(1), "Holidays");
    EXPECT_EQ(table->numberOfRowsInSection(1), 0);
    EXPECT_EQ(titles(*table, 0), (std::vector<std::string>{"Meetings", "Home"}));
    auto cell = table->cellForRowAtIndexPath({0, 1});
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->textLabel()->font()->pointSize(), 17);
    EXPECT_EQ(table->rectForRowAtIndexPath({0, 1}).size.height, 44);

    ASSERT_TRUE(driver().tapRow(0, 1));
    EXPECT_EQ(delegate->calls, 1);
    EXPECT_FALSE(delegate->chooserWasOnTop);
    EXPECT_EQ(delegate->chosen, home);
    EXPECT_EQ(host->navigationController()->topViewController(), host);
}

}  // namespace
