// The screen of the Programme and My agenda tabs and of every other list of
// sessions driven by a session list delegate: one meeting day at a time,
// under a grey toolbar of previous-day and next-day arrows around the day's
// name, in hour sections. Search covers every day; filters rebuild the day
// list and may move the day. A detail opened from a row swipes through the
// day's rows and on past its ends into the neighbouring days (wrapping at
// the ends of the meeting, unlike the arrows). The agenda's bar adds
// personal entries and switches the mirroring into a device calendar.
//
// Everything that differs between the lists comes from the delegate, which
// also holds the days and the shown day; the rows belong to the multi-entity
// list base. Set the delegate, pull-to-refresh and, for a list opened
// filtered, isFilteredInitially and the filters before the view loads.
// Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/ChooseCalendarControllerDelegate.h"
#include "app/SegBarButtonItemProtocol.h"
#include "lists/MultipleEntitiesListBaseViewController.h"
#include "uikit/UIActionSheet.h"
#include "uikit/UIPopoverController.h"

namespace uikit {
class UIBarButtonItem;
class UIButton;
class UILabel;
class UIStoryboard;
class UIToolbar;
}  // namespace uikit

class SubactivityCell;

class ListSessionsBaseViewController : public MultipleEntitiesListBaseViewController,
                                       public SegBarButtonItemProtocol,
                                       public ChooseCalendarControllerDelegate,
                                       public uikit::UIActionSheetDelegate,
                                       public uikit::UIPopoverControllerDelegate {
public:
    static constexpr const char* kStoryboardIdentifier = "ListSessionsBaseIdentifier";
    static Text storyboardIdentifier() { return std::string(kStoryboardIdentifier); }

    static constexpr const char* kDetailsSegue = "sessionsListToSessionDetailsSegID";
    static constexpr const char* kLocationDetailsSegue = "locationSessionsToSessionDetailsSegID";
    static constexpr const char* kFiltersSegue = "sessionsFiltersSegID";
    static constexpr const char* kAddEntrySegue = "addPersonalEntrySegID";
    static constexpr const char* kCalendarSegue = "syncWithCalendarSegueId";
    static constexpr const char* kChooseCalendarSegue = "agendaToChooseCalendarSegID";
    static constexpr const char* kFiltersCancelAction = "unwindOnFiltersCancelButtonPressed:";
    static constexpr const char* kPersonalEntryChoice = "Personal entry";
    // Toolbar.
    static constexpr const char* kPreviousImage = "left_arrow.png";
    static constexpr const char* kPreviousSelectedImage = "left_arrow_selected.png";
    static constexpr const char* kPreviousDisabledImage = "left_arrow_disabled.png";
    static constexpr const char* kNextImage = "right_arrow.png";
    static constexpr const char* kNextSelectedImage = "right_arrow_selected.png";
    static constexpr const char* kNextDisabledImage = "right_arrow_disabled.png";
    static constexpr double kArrowExtraWidth = 36;
    static constexpr double kArrowExtraHeight = 30;
    static constexpr double kToolbarGrey = 215;
    // Calendar sync.
    static constexpr const char* kDisableSyncQuestion =
        "Do you want to disable synchronization between your event agenda and your device calendar?";
    static constexpr const char* kEnableSyncQuestion = "Do you want to sync your event agenda with your device calendar?";
    static constexpr const char* kUnsyncFailedTitle = "Unable to remove entries from calendar";
    static constexpr const char* kSynchronizingMessage = "Synchronizing with calendar";
    static constexpr const char* kSyncFailedFormat = "Unable to sync \"%@\" calendar in your %@ account";
    static constexpr const char* kSyncedFormat = "Your agenda has been synced with \"%@\" calendar in your %@ account";
    static constexpr const char* kSyncEventName = "Sync agenda with device calendar";

    // The scene, its segues and its prototype cell, in a device storyboard.
    static void addScene(uikit::UIStoryboard& storyboard);

    ListSessionsBaseViewController();
    ~ListSessionsBaseViewController() override;

    bool isFilteredInitially() const { return isFilteredInitially_; }
    void setIsFilteredInitially(bool filtered) { isFilteredInitially_ = filtered; }
    bool hideToolbarNavigation() const { return hideToolbarNavigation_; }

    // The outlets.
    std::shared_ptr<uikit::UIToolbar> titleToolbar() const { return titleToolbar_.lock(); }
    std::shared_ptr<uikit::UILabel> dayNameLabel() const { return dayNameLabel_.lock(); }
    std::shared_ptr<uikit::UIBarButtonItem> previousDayButton() const { return previousDayButton_.lock(); }
    std::shared_ptr<uikit::UIBarButtonItem> nextDayButton() const { return nextDayButton_.lock(); }
    std::shared_ptr<uikit::UILabel> titleLabel() const { return titleLabel_.lock(); }
    // The scene's right bar button (its action is onRightBarButtonItemPressed).
    const std::shared_ptr<uikit::UIBarButtonItem>& rightBarButton() const { return rightBarButton_; }

    // Where the list popovers live on the pad (null elsewhere or when none was opened).
    const std::shared_ptr<uikit::UIPopoverController>& filtersPopover() const { return filtersPopover_; }
    const std::shared_ptr<uikit::UIPopoverController>& addEntryPopover() const { return addEntryPopover_; }

    // The shared prototype cell every session list measures rows with.
    static std::shared_ptr<uikit::UITableViewCell> sharedSizingCell(uikit::UITableView& table,
                                                                   const std::string& identifier);

    // --- Life ---
    void viewDidLoad() override;
    // A popover anchored on the bar goes with the screen (the add-entry
    // form's popover refuses taps outside it).
    void viewWillDisappear(bool animated) override;
    // The day toolbar and the table follow the search bar's height, which
    // grows by the scope bar while a search is under way.
    void viewDidLayoutSubviews() override;
    void dismissPopovers();
    void makeUIAdjustments();

    // --- The day ---
    void updateUIHeader();
    void enableorDisableNextPreviousDayButtons();
    void previousDayButtonPressed();
    void nextDayButtonPressed();
    // Swiping's day change, wrapping at both ends (1 back, 2 forward).
    void changeCurrentDayInDirection(unsigned direction);
    // The day label's text for a day string.
    static std::string dayTitleForDayString(const std::string& day);

    // --- Framework hooks, from the delegate ---
    SelectionModels listSelectionModelEntities() override;
    SortDescriptors mutualSortDescriptors() override;
    std::optional<std::string> mutualSectionNameKeyPath() override;
    coredata::PredicatePtr mutualFetchPredicate() override;
    coredata::PredicatePtr fetchPredicate();
    Filters getFilterCollection() override;
    std::string searchHintText() override;
    void onPullToRefreshExecuted() override;
    void updateUiContentBecauseItsNeeded() override;
    void filterCollectionBy(Filters filters) override;
    void headerFilterButtonPressed(const foundation::ObjectPtr& sender) override;
    void trackAnalyticsEvent() override;
    void onNetworkStatusChanged(bool online) override;

    // --- Table ---
    std::string cellIdentifier() override;
    uikit::UITableViewCellPtr tableViewCellForRowAtIndexPath(uikit::UITableView& tableView,
                                                             const uikit::NSIndexPath& indexPath) override;
    std::optional<double> tableViewHeightForRowAtIndexPath(uikit::UITableView& tableView,
                                                           const uikit::NSIndexPath& indexPath) override;
    void tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) override;
    // Sections by day carry the day's title, as the toolbar names a day.
    std::optional<std::string> tableViewGetTitleForHeaderInSection(uikit::UITableView& tableView,
                                                                   int64_t section) override;

    // --- Details ---
    void prepareForSegue(uikit::UIStoryboardSegue& segue, const foundation::ObjectPtr& sender) override;
    // Whether a detail opened on this row may swipe (see the class comment).
    bool isSwipeEnabledForSelection();
    using MultipleEntitiesListBaseViewController::getNextIdIndexPathPairAndMoveSelectionInDirection;
    std::shared_ptr<IdIndexPair> getNextIdIndexPathPairAndMoveSelectionInDirection(
        unsigned direction, const std::optional<std::string>& currentDetailId,
        const uikit::NSIndexPath& indexPath) override;

    // --- Bar buttons ---
    void configureRightBarButton();
    void onBarButtonItemPressed(SegBarButtonItem& item) override;
    void onRightBarButtonItemPressed(uikit::UIBarButtonItem& sender);
    void showOptionToChooseMeetingOrPersonalEntry(const foundation::ObjectPtr& sender);
    void actionSheetDidDismissWithButtonIndex(uikit::UIActionSheet& actionSheet, int64_t buttonIndex) override;
    bool popoverControllerShouldDismissPopover(uikit::UIPopoverController& popover) override;

    // --- Calendar sync ---
    void showSyncWithCalendarOptions(const std::shared_ptr<uikit::UIBarButtonItem>& sender);
    void onSelectCalendarToSync(ChooseCalendarViewController& chooser) override;

    std::string className() const override { return "ListSessionsBaseViewController"; }

private:
    std::shared_ptr<ListSessionsBaseViewController> self();
    // The delegate's day list, when it keeps one.
    std::vector<std::string> days() const;
    int64_t currentDayIndex() const;
    void moveToDay(const std::string& day);
    void refreshAdditionalData();
    void unsyncCalendar(const std::shared_ptr<uikit::UIBarButtonItem>& pressed);
    void openCalendarChooserWhenAuthorised();
    void dispatchBarButton(const std::string& identifier, const std::shared_ptr<uikit::UIBarButtonItem>& sender,
                           bool performOthers);
    std::shared_ptr<IEntityModel> rowObjectForSender(const foundation::ObjectPtr& sender, uikit::NSIndexPath& indexPath);

    bool isFilteredInitially_ = false;
    bool hideToolbarNavigation_ = false;
    std::weak_ptr<uikit::UIToolbar> titleToolbar_;
    std::weak_ptr<uikit::UILabel> dayNameLabel_;
    std::weak_ptr<uikit::UIBarButtonItem> previousDayButton_;
    std::weak_ptr<uikit::UIBarButtonItem> nextDayButton_;
    std::weak_ptr<uikit::UILabel> titleLabel_;
    std::shared_ptr<uikit::UIBarButtonItem> rightBarButton_;
    // The toolbar's item of the title a delegate may give in place of the day.
    std::shared_ptr<uikit::UIBarButtonItem> titleLabelItem_;
    std::shared_ptr<uikit::UIPopoverController> filtersPopover_;
    std::shared_ptr<uikit::UIPopoverController> addEntryPopover_;
    // The view keeps these; the list base holds its table weakly.
    std::shared_ptr<uikit::UITableView> table_;

    friend struct ListSessionsSceneBuilder;
};
