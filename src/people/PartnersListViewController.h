// The partners list: the meeting's partner organisations in one section per
// kind of engagement, the three strategic kinds first, by common name within
// a section. It is built by hand from plain fetches, so it carries its own
// search (by common name, across the kinds) and its own wrap-around stepping
// for the partner details it opens. A store save touching partners rebuilds
// it. Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/Value.h"
#include "lists/LiteListBaseViewController.h"

namespace uikit {
class UISearchBar;
class UIStoryboard;
}  // namespace uikit

class PartnersListViewController : public LiteListBaseViewController {
public:
    using Rows = std::vector<foundation::Value>;

    static constexpr const char* kStoryboardIdentifier = "PartnersListViewController";
    static constexpr const char* kTitle = "Partners";
    static constexpr const char* kSearchPlaceholder = "Search in partners";
    static constexpr const char* kAnalyticsEvent = "View partners";
    static constexpr const char* kCellIdentifier = "partnerCellIdentifier";
    static constexpr const char* kDetailsSegue = "partnerDisplayInDetail";
    static constexpr double kRowHeight = 44;
    static constexpr double kFontSize = 17;

    static Text storyboardIdentifier() { return std::string(kStoryboardIdentifier); }
    // The list, the partner details and the segue between them, in the
    // phone's or the pad's form (on the pad the details take the split
    // view's detail inside a navigation controller).
    static void addScene(uikit::UIStoryboard& storyboard);

    PartnersListViewController();
    ~PartnersListViewController() override;

    // The kinds of engagement in section order, and the rows of each.
    const std::vector<std::string>& sectionTitlesOrderedArray() const { return sectionTitles_; }
    const std::vector<Rows>& partnerSections() const { return sections_; }
    // The search's results (partners as dictionaries), none outside a search.
    const std::optional<Rows>& searchDataSourceArray() const { return searchResults_; }
    const std::optional<std::string>& selectedPartnerId() const { return selectedPartnerId_; }
    const uikit::NSIndexPath& selectedRowIndexPath() const { return selectedRowIndexPath_; }
    const std::shared_ptr<uikit::UISearchBar>& searchBar() const { return searchBar_; }

    // The strategic kinds first, in this order, then the others by text.
    static const std::vector<std::string>& topCategories();
    static bool engagementTypeOrderedBefore(const std::string& a, const std::string& b);

    Text vcTitle() const override { return std::string(kTitle); }
    void loadView() override;
    void viewDidLoad() override;

    void initDataSource();
    void reloadDataSourceAndTable() override;
    void filterContentForSearchText(const std::optional<std::string>& searchText);
    std::vector<std::string> entitiesArrayToObserveForFilteringUIUpdates() override;
    void onPullToRefreshExecuted() override;
    std::string cellIdentifier() override { return kCellIdentifier; }

    // --- Rows, as the search state and the table decide ---
    std::optional<std::string> getObjectIdForIndexPath(const uikit::NSIndexPath& indexPath);
    int64_t getNumberOfSections();
    int64_t getNumberOfRowsForSection(int64_t section);

    // --- The table ---
    int64_t numberOfSectionsInTableView(uikit::UITableView& tableView) override;
    int64_t tableViewNumberOfRowsInSection(uikit::UITableView& tableView, int64_t section) override;
    uikit::UITableViewCellPtr tableViewCellForRowAtIndexPath(uikit::UITableView& tableView,
                                                             const uikit::NSIndexPath& indexPath) override;
    std::optional<std::string> tableViewGetTitleForHeaderInSection(uikit::UITableView& tableView, int64_t section) override;
    std::optional<double> tableViewHeightForHeaderInSection(uikit::UITableView& tableView, int64_t section) override;
    std::shared_ptr<uikit::UIView> tableViewViewForHeaderInSection(uikit::UITableView& tableView, int64_t section) override;
    std::optional<double> tableViewHeightForRowAtIndexPath(uikit::UITableView& tableView,
                                                           const uikit::NSIndexPath& indexPath) override;
    void tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) override;
    void prepareForSegue(uikit::UIStoryboardSegue& segue, const foundation::ObjectPtr& sender) override;

    // --- Stepping from the details ---
    std::shared_ptr<IdIndexPair> getNextIdIndexPathPairAndMoveSelectionInDirection(
        unsigned direction, const std::optional<std::string>& currentDetailId, const uikit::NSIndexPath& indexPath) override;

    // --- The search display ---
    bool searchDisplayControllerShouldReloadTableForSearchString(uikit::UISearchDisplayController& controller,
                                                                const std::optional<std::string>& searchString) override;
    void searchDisplayControllerDidEndSearch(uikit::UISearchDisplayController& controller) override;
    void searchDisplayControllerWillUnloadSearchResultsTableView(uikit::UISearchDisplayController& controller,
                                                                uikit::UITableView& tableView) override;

    std::string className() const override { return "PartnersListViewController"; }

private:
    bool isSearching() const;
    bool isSearchResultsTable(const uikit::UITableView& tableView) const;
    const foundation::Value* rowAt(const uikit::NSIndexPath& indexPath, bool inSearch) const;
    Rows fetchPartners(const std::shared_ptr<const coredata::Predicate>& predicate, bool asDictionaries) const;

    std::vector<std::string> sectionTitles_;
    std::vector<Rows> sections_;
    std::optional<Rows> searchResults_;
    std::optional<std::string> selectedPartnerId_;
    uikit::NSIndexPath selectedRowIndexPath_;
    std::shared_ptr<uikit::UISearchBar> searchBar_;
    std::shared_ptr<uikit::UITableView> mainTable_;
};
