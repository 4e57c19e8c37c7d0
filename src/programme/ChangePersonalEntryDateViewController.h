// The date screen of the personal-entry form: three rows (the entry's day,
// its start time and its end time, in the meeting's zone) above a date
// picker that edits the selected row's value. The form sets the four values
// before the screen shows and reads the three back when it unwinds: "Done"
// (refused with an alert while the start lies after the end) to
// "unwindOnDoneChangeDate:", "Cancel" to "unwindOnCancelChangeDate:".
// Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/BaseViewController.h"
#include "foundation/Date.h"
#include "uikit/UITableView.h"

namespace uikit {
class UIBarButtonItem;
class UIDatePicker;
class UIStoryboard;
}  // namespace uikit

class ChangePersonalEntryDateViewController : public BaseViewController,
                                              public uikit::UITableViewDataSource,
                                              public uikit::UITableViewDelegate {
public:
    static constexpr const char* kStoryboardIdentifier = "ChangePersonalEntryDateViewController";
    // The form's segue that opens this screen.
    static constexpr const char* kChangeDatesSegue = "changePersonalEntryDatesSegID";
    static constexpr const char* kDoneSegue = "unwindOnDoneChangeDatesSegID";
    static constexpr const char* kCancelSegue = "unwindOnCancelChangeDatesSegID";
    // The form's unwind actions.
    static constexpr const char* kDoneUnwindAction = "unwindOnDoneChangeDate:";
    static constexpr const char* kCancelUnwindAction = "unwindOnCancelChangeDate:";
    static constexpr const char* kCellIdentifier = "changeDateCellID";
    static constexpr const char* kErrorTitle = "Error";
    static constexpr const char* kStartAfterEndMessage = "Start time must be before end time!";
    // The rows, in order.
    enum Row : int64_t { kDateRow = 0, kStartTimeRow = 1, kEndTimeRow = 2, kRowCount = 3 };

    static Text storyboardIdentifier() { return std::string(kStoryboardIdentifier); }
    // The scene with its table, picker, "Done" and "Cancel" and their unwinds.
    static void addScene(uikit::UIStoryboard& storyboard);

    const std::optional<foundation::Date>& selectedDate() const { return selectedDate_; }
    void setSelectedDate(std::optional<foundation::Date> date);
    const std::optional<foundation::Date>& startTime() const { return startTime_; }
    void setStartTime(std::optional<foundation::Date> time);
    const std::optional<foundation::Date>& endTime() const { return endTime_; }
    void setEndTime(std::optional<foundation::Date> time);
    const std::vector<foundation::Date>& datesRange() const { return datesRange_; }
    void setDatesRange(std::vector<foundation::Date> range) { datesRange_ = std::move(range); }

    const std::shared_ptr<uikit::UITableView>& datesTableView() const { return datesTableView_; }
    const std::shared_ptr<uikit::UIDatePicker>& datePicker() const { return datePicker_; }

    // Whether the start's time of day lies after the end's, in the meeting's
    // zone: the form keeps only the times of day and puts them on the
    // selected day, so that is the order the entry will have.
    static bool startIsAfterEnd(foundation::Date start, foundation::Date end);

    void viewDidLoad() override;
    // The picker's value into the selected row's value.
    void valueChangedInPicker();
    void onDoneExecuted();
    void onCancelExecuted();
    bool shouldPerformSegueWithIdentifier(const std::string& identifier, const foundation::ObjectPtr& sender) override;

    std::shared_ptr<uikit::UIBarButtonItem> doneButton() const { return doneButton_.lock(); }
    std::shared_ptr<uikit::UIBarButtonItem> cancelButton() const { return cancelButton_.lock(); }

    int64_t tableViewNumberOfRowsInSection(uikit::UITableView& tableView, int64_t section) override;
    uikit::UITableViewCellPtr tableViewCellForRowAtIndexPath(uikit::UITableView& tableView,
                                                             const uikit::NSIndexPath& indexPath) override;
    void tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) override;

    std::string className() const override { return "ChangePersonalEntryDateViewController"; }

private:
    std::optional<foundation::Date>& valueOfRow(int64_t row);
    // The picker's mode and value for the row.
    void showRowInPicker(int64_t row);
    void reloadRows();

    std::optional<foundation::Date> selectedDate_;
    std::optional<foundation::Date> startTime_;
    std::optional<foundation::Date> endTime_;
    std::vector<foundation::Date> datesRange_;
    std::shared_ptr<uikit::UITableView> datesTableView_;
    std::shared_ptr<uikit::UIDatePicker> datePicker_;
    std::weak_ptr<uikit::UIBarButtonItem> doneButton_;
    std::weak_ptr<uikit::UIBarButtonItem> cancelButton_;
};
