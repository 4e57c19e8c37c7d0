// The form that creates a personal agenda entry or edits one: a subject, a
// body of at most 255 UTF-16 units, one day and a start and an end time of
// day, all within the meeting's dates. Saving sends the entry to the
// service, stores the entry the service returns, mirrors the agenda into the
// chosen device calendar when the user syncs with one, and closes the form
// through its unwind.
//
// The mode is fixed when the view loads: editing when an entry id is set,
// adding otherwise. The service and store completions hold the form weakly:
// an entry saved after the form has gone is still stored and mirrored, and
// only the form's own steps (overlay, alerts, closing) are skipped.
// Main thread only.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/Date.h"
#include "lists/DetailsBaseViewController.h"
#include "uikit/UITableView.h"
#include "uikit/UITextView.h"

class QVAPersonalEntry;

namespace uikit {
class SceneOutlets;
class UIBarButtonItem;
class UILabel;
class UIStoryboard;
class UIStoryboardSegue;
class UITextField;
}  // namespace uikit

class AddPersonalEntryViewController : public DetailsBaseViewController,
                                       public uikit::UITableViewDataSource,
                                       public uikit::UITableViewDelegate,
                                       public uikit::UITextViewDelegate {
public:
    static constexpr const char* kStoryboardIdentifier = "AddPersonalEntryViewController";
    // The form in a navigation controller of its own, for the pad's popover:
    // its bar holds "Cancel" and "Add entry", and the dates push onto it.
    static constexpr const char* kNavigationStoryboardIdentifier = "addPersonalEntryNavigationController";
    // The openers' segues, and the form's way back to them.
    static constexpr const char* kAddSegue = "addPersonalEntrySegID";
    static constexpr const char* kEditSegue = "editPersonalEntrySegID";
    static constexpr const char* kUnwindSegue = "unwindPersonalEntrySegID";
    static constexpr const char* kUnwindAction = "unwindPersonalEntry:";
    static constexpr const char* kAddButtonImageName = "add_personal_entry.png";
    static constexpr const char* kEditButtonTitle = "Edit";
    static constexpr const char* kAddTitle = "Add entry";
    static constexpr const char* kSaveTitle = "Save";
    static constexpr int kBodyLimit = 255;
    static constexpr const char* kCounterFormat = "%lu from %d";
    static constexpr const char* kPlaceholderText = "Description";

    static constexpr const char* kNoDatesAlertTitle = "Cannot add a personal entry at the moment. Please try later";
    static constexpr const char* kGoneMessage = "The personal entry is not available.";
    static constexpr const char* kErrorTitle = "Error";
    static constexpr const char* kSubjectMandatoryMessage = "Subject field is mandatory.";
    static constexpr const char* kAddFailedTitle = "Unable to add personal entry.";
    static constexpr const char* kEditFailedTitle = "Unable to edit personal entry.";
    static constexpr const char* kAddEvent = "Add personal entry";
    static constexpr const char* kUpdateEvent = "Update personal entry";

    static Text storyboardIdentifier() { return std::string(kStoryboardIdentifier); }
    // The form's scene: its views, the dates row's prototype, the push to
    // the date-change screen and the unwind to the opener.
    static void addScene(uikit::UIStoryboard& storyboard);
    // Gives an opening screen its bar button: "Edit" for the entry whose id
    // `entryId` answers at the tap, or, without `entryId`, the add image;
    // the tap pushes a new form on the screen's navigation controller under
    // the matching segue, or on the pad shows it in a popover at the button
    // (the screen may decline the segue, and prepares for it first). The
    // screen also gets the form's unwind action, which runs `onUnwind`.
    static std::shared_ptr<uikit::UIBarButtonItem> installOpeningButton(
        uikit::UIViewController& screen, std::function<std::optional<std::string>()> entryId,
        std::function<void()> onUnwind);

    // The step after every change of the agenda: with calendar sync on, the
    // agenda mirrored into the chosen device calendar (no completion).
    static void mirrorAgendaIfSynced(const Text& token, const Text& eventId);

    AddPersonalEntryViewController();
    ~AddPersonalEntryViewController() override;

    // --- Outlets (the view keeps them) ---
    std::shared_ptr<uikit::UITextField> subjectTextField() const { return subjectTextField_.lock(); }
    std::shared_ptr<uikit::UITextView> descriptionTextView() const { return descriptionTextView_.lock(); }
    std::shared_ptr<uikit::UILabel> descriptionPlaceholderLabel() const { return descriptionPlaceholderLabel_.lock(); }
    std::shared_ptr<uikit::UITableView> datesTableView() const { return datesTableView_.lock(); }
    std::shared_ptr<uikit::UILabel> charsCounterLabel() const { return charsCounterLabel_.lock(); }
    std::shared_ptr<uikit::UIBarButtonItem> saveButton() const { return saveButton_.lock(); }

    // --- The entry's times ---
    const std::optional<foundation::Date>& selectedDate() const { return selectedDate_; }
    void setSelectedDate(std::optional<foundation::Date> date) { selectedDate_ = date; }
    const std::optional<foundation::Date>& startTime() const { return startTime_; }
    void setStartTime(std::optional<foundation::Date> time) { startTime_ = time; }
    const std::optional<foundation::Date>& endTime() const { return endTime_; }
    void setEndTime(std::optional<foundation::Date> time) { endTime_ = time; }
    // The first and last allowed day; empty when the store has no sessions.
    const std::vector<foundation::Date>& datesRange() const { return datesRange_; }
    void setDatesRange(std::vector<foundation::Date> range) { datesRange_ = std::move(range); }

    // Whether an entry id was set when the view loaded.
    bool isEditingEntry() const { return editing_; }
    // Whether a save was sent and has not failed: the form takes no other.
    bool isSaving() const { return saving_; }
    // Saves of any form between their request and the stored row (or the
    // failure), for whoever waits for the app to settle.
    static int savesInProgress();

    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;
    void viewDidLayoutSubviews() override;
    void configureDatesRange();
    // The defaults of a new entry, or the alert that sends the user back.
    void initializeData();
    void updateUIContentForObject(const std::shared_ptr<coredata::ManagedObject>& object) override;

    // The save button's action.
    void onAddEntryExecuted(const foundation::ObjectPtr& sender);
    void updateEntryWithStartDate(foundation::Date startDate, foundation::Date endDate);
    void onCancelAddEntryExecuted(const foundation::ObjectPtr& sender);
    void closePersonalEntry();
    // The service's date-time text of the date in the meeting's zone.
    std::string personalEntryStringDateFromDate(foundation::Date date) const;

    void prepareForSegue(uikit::UIStoryboardSegue& segue, const foundation::ObjectPtr& sender) override;
    void unwindOnDoneChangeDate(uikit::UIStoryboardSegue& segue);
    void unwindOnCancelChangeDate(uikit::UIStoryboardSegue& segue);

    // --- The dates table ---
    int64_t tableViewNumberOfRowsInSection(uikit::UITableView& tableView, int64_t section) override;
    uikit::UITableViewCellPtr tableViewCellForRowAtIndexPath(uikit::UITableView& tableView,
                                                             const uikit::NSIndexPath& indexPath) override;
    std::optional<double> tableViewHeightForRowAtIndexPath(uikit::UITableView& tableView,
                                                           const uikit::NSIndexPath& indexPath) override;
    void tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) override;

    // --- The body ---
    bool textViewShouldChangeTextInRange(uikit::UITextView& view, uikit::NSRange range,
                                         const std::string& replacement) override;
    void textViewDidChange(uikit::UITextView& view) override;
    void textViewDidBeginEditing(uikit::UITextView& view) override;
    void textViewDidEndEditing(uikit::UITextView& view) override;

    std::string className() const override { return "AddPersonalEntryViewController"; }

private:
    static constexpr double kMargin = 10;

    static std::shared_ptr<uikit::UIView> buildView(uikit::UIViewController& owner, uikit::SceneOutlets& outlets);
    std::weak_ptr<AddPersonalEntryViewController> weakSelf();
    // The counter and the placeholder after the body changed.
    void bodyChanged();
    // Read-only fields and dates row, once the edited entry has gone.
    void makeReadOnly();
    // The store's entry in, then the mirror; the form's own steps when it lives.
    // Replaces the row of `replacedId` when given, else adds one.
    static void storeEntry(const std::shared_ptr<QVAPersonalEntry>& entry, const Text& replacedId,
                           std::weak_ptr<AddPersonalEntryViewController> form, const Text& token, const Text& eventId);

    std::weak_ptr<uikit::UITextField> subjectTextField_;
    std::weak_ptr<uikit::UITextView> descriptionTextView_;
    std::weak_ptr<uikit::UILabel> descriptionPlaceholderLabel_;
    std::weak_ptr<uikit::UITableView> datesTableView_;
    std::weak_ptr<uikit::UILabel> charsCounterLabel_;
    std::weak_ptr<uikit::UIBarButtonItem> saveButton_;
    std::optional<foundation::Date> selectedDate_;
    std::optional<foundation::Date> startTime_;
    std::optional<foundation::Date> endTime_;
    std::vector<foundation::Date> datesRange_;
    bool editing_ = false;
    bool saving_ = false;
};
