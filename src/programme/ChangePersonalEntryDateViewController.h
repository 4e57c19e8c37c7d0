// The date-change screen of the personal-entry form, standing in until the
// programme's pickers exist. It is given the entry's day, its start and end
// times and the allowed days, keeps them for a test (the setters) or the app
// mode (three text fields, "yyyy-MM-dd" and "HH:mm" in the meeting's zone,
// read when "Done" is tapped) to change, and gives them back through its
// unwinds: "Done" refuses a start after the end (equal times pass) and
// otherwise unwinds to the form's "unwindOnDoneChangeDate:"; "Cancel"
// unwinds to "unwindOnCancelChangeDate:". The dump shows the three values
// and the calls recorded. Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/BaseViewController.h"
#include "app/StubScreen.h"
#include "foundation/Date.h"

namespace uikit {
class UIBarButtonItem;
class UIStoryboard;
class UITextField;
}  // namespace uikit

class ChangePersonalEntryDateViewController : public BaseViewController, public StubScreen {
public:
    static constexpr const char* kStoryboardIdentifier = "ChangePersonalEntryDateViewController";
    // The form's segue that opens this screen.
    static constexpr const char* kChangeDatesSegue = "changePersonalEntryDatesSegID";
    static constexpr const char* kDoneSegue = "unwindOnDoneChangeDatesSegID";
    static constexpr const char* kCancelSegue = "unwindOnCancelChangeDatesSegID";
    // The form's unwind actions.
    static constexpr const char* kDoneUnwindAction = "unwindOnDoneChangeDate:";
    static constexpr const char* kCancelUnwindAction = "unwindOnCancelChangeDate:";
    static constexpr const char* kErrorTitle = "Error";
    static constexpr const char* kStartAfterEndMessage = "Start time must be before end time!";
    // The fields' outlet names.
    static constexpr const char* kSelectedDateField = "selectedDateField";
    static constexpr const char* kStartTimeField = "startTimeField";
    static constexpr const char* kEndTimeField = "endTimeField";

    static Text storyboardIdentifier() { return std::string(kStoryboardIdentifier); }
    // The scene with its "Done" and "Cancel" bar buttons and their unwinds.
    static void addScene(uikit::UIStoryboard& storyboard);

    const std::optional<foundation::Date>& selectedDate() const { return selectedDate_; }
    void setSelectedDate(std::optional<foundation::Date> date);
    const std::optional<foundation::Date>& startTime() const { return startTime_; }
    void setStartTime(std::optional<foundation::Date> time);
    const std::optional<foundation::Date>& endTime() const { return endTime_; }
    void setEndTime(std::optional<foundation::Date> time);
    const std::vector<foundation::Date>& datesRange() const { return datesRange_; }
    void setDatesRange(std::vector<foundation::Date> range);

    // Whether the start's time of day (hours and minutes in the meeting's
    // zone, as the form uses them) lies after the end's.
    static bool startIsAfterEnd(foundation::Date start, foundation::Date end);

    // "Done": the alert when the start lies after the end, else the unwind.
    void onDoneExecuted();
    void onCancelExecuted();
    bool shouldPerformSegueWithIdentifier(const std::string& identifier, const foundation::ObjectPtr& sender) override;

    std::shared_ptr<uikit::UIBarButtonItem> doneButton() const { return doneButton_.lock(); }
    std::shared_ptr<uikit::UIBarButtonItem> cancelButton() const { return cancelButton_.lock(); }
    // Takes the fields' texts that parse as the new values.
    void applyFieldTexts();

    std::vector<std::pair<std::string, std::string>> screenDescriptionItems() const override;
    std::string className() const override { return "ChangePersonalEntryDateViewController"; }

private:
    void showValuesInFields();

    std::optional<foundation::Date> selectedDate_;
    std::optional<foundation::Date> startTime_;
    std::optional<foundation::Date> endTime_;
    std::vector<foundation::Date> datesRange_;
    std::weak_ptr<uikit::UIBarButtonItem> doneButton_;
    std::weak_ptr<uikit::UIBarButtonItem> cancelButton_;
    std::weak_ptr<uikit::UITextField> selectedDateField_;
    std::weak_ptr<uikit::UITextField> startTimeField_;
    std::weak_ptr<uikit::UITextField> endTimeField_;
};
