// The recipient picker: the message address book, either all of it but the
// user ("All") or only those who are also participants of the current
// meeting ("At the event"), searched by full name. The choices live in the
// map the composer hands in; each tap toggles one recipient and hands the
// whole map back to the delegate, which closes the picker. Store saves never
// reload it. Main thread only.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/Value.h"
#include "lists/LiteListBaseViewController.h"

namespace uikit {
class UISearchBar;
class UISegmentedControl;
class UIStoryboard;
}  // namespace uikit

class MessageRecipientsPopoverDelegate {
public:
    virtual ~MessageRecipientsPopoverDelegate() = default;
    virtual void recipientsSelected(const std::map<std::string, std::string>& recipients, int64_t action,
                                    bool shouldDismissPopover) = 0;
};

class MessagesRecipientsViewController : public LiteListBaseViewController {
public:
    using Recipients = std::map<std::string, std::string>;
    using Rows = std::vector<foundation::Value>;

    static constexpr const char* kStoryboardIdentifier = "MessagesRecipientsViewControllerStoryboardId";
    static constexpr const char* kAllSegmentTitle = "All";
    static constexpr const char* kAtTheEventSegmentTitle = "At the event";
    static constexpr const char* kDoneTitle = "Done";
    static constexpr double kPreferredWidth = 400;
    static constexpr double kPreferredHeight = 450;
    static constexpr double kRowHeight = 44;
    static constexpr int64_t kAtTheEventSegment = 1;

    static Text storyboardIdentifier() { return std::string(kStoryboardIdentifier); }
    static void addScene(uikit::UIStoryboard& storyboard);

    MessagesRecipientsViewController();
    ~MessagesRecipientsViewController() override;

    // The choices, shared with whoever opened the picker; none until given
    // or until the picker first appears.
    const std::shared_ptr<Recipients>& selectedRecipients() const { return selectedRecipients_; }
    void setSelectedRecipients(std::shared_ptr<Recipients> recipients) { selectedRecipients_ = std::move(recipients); }
    std::shared_ptr<MessageRecipientsPopoverDelegate> popoverDelegate() const { return popoverDelegate_.lock(); }
    void setPopoverDelegate(const std::shared_ptr<MessageRecipientsPopoverDelegate>& delegate) { popoverDelegate_ = delegate; }
    int64_t action() const { return action_; }
    const std::shared_ptr<uikit::UISegmentedControl>& segmentedControl() const { return segmentedControl_; }
    const std::vector<std::string>& participantsForCurrentEventIds() const { return participantsForCurrentEventIds_; }
    const Rows& rows() const { return rows_; }
    const std::optional<Rows>& searchDataSourceArray() const { return searchDataSourceArray_; }
    const std::shared_ptr<uikit::UISearchBar>& searchBar() const { return searchBar_; }

    void loadView() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;

    void refreshAdditionalDataSource();
    std::shared_ptr<const coredata::Predicate> fetchPredicate() const;
    std::shared_ptr<const coredata::Predicate> fetchPredicateForSearch() const { return fetchPredicate(); }
    void initDataSource();
    void reloadDataSourceAndTable() override;
    void changeSegment();
    void filterContentForSearchText(const std::optional<std::string>& searchText);
    // Hands the choices back; a sender asks the delegate to close the picker.
    void doneSelecting(const foundation::ObjectPtr& sender);

    std::string cellIdentifier() override;

    // --- The table ---
    int64_t numberOfSectionsInTableView(uikit::UITableView& tableView) override { (void)tableView; return 1; }
    int64_t tableViewNumberOfRowsInSection(uikit::UITableView& tableView, int64_t section) override;
    uikit::UITableViewCellPtr tableViewCellForRowAtIndexPath(uikit::UITableView& tableView,
                                                             const uikit::NSIndexPath& indexPath) override;
    std::optional<double> tableViewHeightForRowAtIndexPath(uikit::UITableView& tableView,
                                                           const uikit::NSIndexPath& indexPath) override;
    // None: the picker's one section has no title.
    std::optional<double> tableViewHeightForHeaderInSection(uikit::UITableView& tableView, int64_t section) override;
    std::optional<std::string> tableViewGetTitleForHeaderInSection(uikit::UITableView& tableView, int64_t section) override;
    void tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) override;

    // --- The search display ---
    bool searchDisplayControllerShouldReloadTableForSearchString(uikit::UISearchDisplayController& controller,
                                                                const std::optional<std::string>& searchString) override;
    void searchDisplayControllerDidEndSearch(uikit::UISearchDisplayController& controller) override;
    void searchDisplayControllerWillUnloadSearchResultsTableView(uikit::UISearchDisplayController& controller,
                                                                uikit::UITableView& tableView) override;

    std::string className() const override { return "MessagesRecipientsViewController"; }

private:
    bool isSearchResultsTable(const uikit::UITableView& tableView) const;
    const foundation::Value* rowAt(const uikit::NSIndexPath& indexPath, bool inSearch) const;
    Rows fetchRecipients(const std::shared_ptr<const coredata::Predicate>& predicate) const;

    std::shared_ptr<Recipients> selectedRecipients_;
    std::weak_ptr<MessageRecipientsPopoverDelegate> popoverDelegate_;
    int64_t action_ = 0;
    std::shared_ptr<uikit::UISegmentedControl> segmentedControl_;
    std::vector<std::string> participantsForCurrentEventIds_;
    Rows rows_;
    std::optional<Rows> searchDataSourceArray_;
    std::shared_ptr<uikit::UISearchBar> searchBar_;
    std::shared_ptr<uikit::UITableView> mainTable_;
};
