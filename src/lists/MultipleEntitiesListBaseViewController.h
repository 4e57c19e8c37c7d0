// One list made of rows from several entities at once (the personal agenda,
// the programme with the user's agenda roles, the sessions of a place). Each
// entity, described by a ListSelectionModel, is fetched as dictionaries and
// every row turned into a model object; an identifier delivered twice is kept
// from the entity listed first, all rows share one order and, with a section
// key path, are grouped by that key. The search runs the same way over the
// search scope's predicate into one flat list. Filters, their header and the
// search bar work as in the fetched-results list, through the same code
// (ListBaseViewController's header and caption, ListFilters).
//
// The rows are rebuilt whole on every store-driven update, filter change and
// reload; nothing is updated in place. Without a section key path the rows
// are dataSourceArray (one flat section); with one they are
// sectionedDataSourceArray and dataSourceArray is left empty, so the flat
// swipe step of the base, kept for the swipe protocol, fits only flat lists.
// Main thread only: every fetch runs on the main-queue context and waits.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "coredata/Predicate.h"
#include "coredata/SortDescriptor.h"
#include "lists/LiteListBaseViewController.h"
#include "uikit/UISearchBar.h"

namespace coredata {
class FetchRequest;
}
namespace uikit {
class UIImage;
}

class FilterModel;
class FiltersTableViewController;
class ListSelectionModel;

class MultipleEntitiesListBaseViewController : public LiteListBaseViewController, public uikit::UISearchBarDelegate {
public:
    using Sections = std::vector<RowObjects>;
    using Filters = std::vector<std::shared_ptr<FilterModel>>;
    using SortDescriptors = std::vector<coredata::SortDescriptor>;
    using SelectionModels = std::vector<std::shared_ptr<ListSelectionModel>>;

    static constexpr double kSearchHeaderHeight = 0.0;
    static constexpr const char* kDefaultUnicityKey = "itemId";

    explicit MultipleEntitiesListBaseViewController(std::optional<std::string> nibName = std::nullopt);
    ~MultipleEntitiesListBaseViewController() override;

    void viewDidLoad() override;

    // --- The rows ---
    // The rows of a list with a section key path, one array per section.
    const Sections& sectionedDataSourceArray() const { return sections_; }
    // The rows matching the current search, one flat list; dropped when the
    // results table unloads.
    const RowObjects& searchDataSourceArray() const { return searchRows_; }
    // Rebuilds the rows from every entity; see the class comment.
    virtual void initDataSource();
    // The list fetch of one entity: the mutual predicate, the entity's own
    // and the filters, as dictionaries.
    virtual std::shared_ptr<coredata::FetchRequest> fetchRequestFromListSelectionModel(const ListSelectionModel& model);
    // Without a key path one section: the rows sorted by the mutual order.
    // With one, a section per distinct non-null key value in ascending order,
    // each sorted by the mutual order; rows without the key are left out.
    Sections indexedArrayUsingKeyPath(const std::optional<std::string>& keyPath, const RowObjects& rows);

    // --- Hooks ---
    // The entities, in order of precedence; none here, concrete lists return
    // their delegate's.
    virtual SelectionModels listSelectionModelEntities() { return {}; }
    // The order of the merged rows; none here (entity order, then fetch order).
    virtual SortDescriptors mutualSortDescriptors() { return {}; }
    // The row objects' key that groups them into sections; none here (flat).
    virtual std::optional<std::string> mutualSectionNameKeyPath() { return std::nullopt; }
    // ANDed into every list fetch (not the search); TRUE here.
    virtual coredata::PredicatePtr mutualFetchPredicate();
    // The result-row key whose value must be unique across the list.
    virtual std::string mutualUnicityKey() { return kDefaultUnicityKey; }
    // The delegate's.
    std::shared_ptr<uikit::UIImage> segmentedControlImage() override;
    // The search bar's placeholder when the list is its own source; empty here.
    virtual std::string searchHintText() { return ""; }

    // --- Reloads ---
    // The rows rebuilt and the table reloaded; a search under way runs again.
    void reloadDataSourceAndTable() override;
    // Main thread only: the delegate's additional data, then the reload.
    void updateUiContentBecauseItsNeeded() override;
    // The delegate's; none without one, so no save ever matches.
    std::vector<std::string> entitiesArrayToObserveForFilteringUIUpdates() override;

    // --- The tables ---
    std::optional<double> tableViewHeightForHeaderInSection(uikit::UITableView& tableView, int64_t section) override;
    int64_t numberOfSectionsInTableView(uikit::UITableView& tableView) override;
    int64_t tableViewNumberOfRowsInSection(uikit::UITableView& tableView, int64_t section) override;
    // The first row's key value; none for the results table, a flat list or an empty section.
    std::optional<std::string> tableViewGetTitleForHeaderInSection(uikit::UITableView& tableView,
                                                                   int64_t section) override;
    // The row object shown at the index path of that table; null past the rows.
    std::shared_ptr<IEntityModel> selectedObjectForTableView(uikit::UITableView& tableView,
                                                             const uikit::NSIndexPath& indexPath);
    void onPullToRefreshExecuted() override;

    // --- Search ---
    bool searchBarShouldChangeTextInRange(uikit::UISearchBar& searchBar, uikit::NSRange range,
                                          const std::string& replacement) override;
    void searchDisplayControllerWillUnloadSearchResultsTableView(uikit::UISearchDisplayController& controller,
                                                                 uikit::UITableView& tableView) override;
    bool searchDisplayControllerShouldReloadTableForSearchString(
        uikit::UISearchDisplayController& controller, const std::optional<std::string>& searchString) override;
    bool searchDisplayControllerShouldReloadTableForSearchScope(uikit::UISearchDisplayController& controller,
                                                                int64_t searchOption) override;
    void searchDisplayControllerWillBeginSearch(uikit::UISearchDisplayController& controller) override;
    // Runs the search into searchDataSourceArray.
    virtual void filterContentForSearchText(const std::string& searchText, int64_t scopeIndex);

    // --- Filters (shared with the fetched-results list) ---
    const Filters& filtersArray() const { return filters_; }
    // Stores the filters and rebuilds the filter header.
    void setFiltersArray(Filters filters);
    // Concrete lists return their delegate's collection; raises here.
    virtual Filters getFilterCollection();
    // The filters the filters screen edits: copies of the active ones, else getFilterCollection.
    Filters filtersForFiltersController();
    // Hands the filters screen filtersForFiltersController().
    void prepareForFiltersController(FiltersTableViewController& controller);
    // The filters chosen on the filters screen: stored, then the reload.
    virtual void filterCollectionBy(Filters filters);
    void updateFiltersHeaderView();
    // The filter header's tap; concrete lists open the filters screen.
    virtual void headerFilterButtonPressed(const foundation::ObjectPtr& sender);
    std::optional<std::string> buildFilterCaptionTextForFilters(const Filters& filters);
    std::shared_ptr<const coredata::Predicate> getCompoundFiltersPredicate() override;

    // --- Swipe steps ---
    // The flat step of the list base over `rows`, selecting in `tableView`;
    // the pair names the row's entity.
    std::shared_ptr<IdIndexPair> getNextIdIndexPathPairAndMoveSelectionInDirection(
        unsigned direction, const std::optional<std::string>& currentDetailId, const uikit::NSIndexPath& indexPath,
        const RowObjects& forPlainArray, uikit::UITableView* forTableView);
    // The step across sections, wrapping both ways; null when the row at the
    // index path is no longer the current detail. Selects in the table in use.
    std::shared_ptr<IdIndexPair> getNextIdIndexPathPairAndMoveSelectionInDirection(
        unsigned direction, const std::optional<std::string>& currentDetailId, const uikit::NSIndexPath& indexPath,
        const Sections& fromDataSourceArray);
    using LiteListBaseViewController::getNextIdIndexPathPairAndMoveSelectionInDirection;
    // The rows of the sections in table order.
    static RowRing sectionedRowRing(const Sections& sections, RowRing::Rules rules = RowRing::Rules());

    std::string className() const override { return "MultipleEntitiesListBaseViewController"; }

private:
    // The rows of one run over the entities, with one seen set.
    RowObjects collectRows(
        const std::function<std::shared_ptr<coredata::FetchRequest>(const ListSelectionModel&)>& requestFor);
    bool isSearchResultsTable(const uikit::UITableView& tableView);
    void sortRows(RowObjects& rows, const SortDescriptors& descriptors);

    Sections sections_;
    RowObjects searchRows_;
    Filters filters_;
};

using MultipleEntitiesListBaseViewControllerPtr = std::shared_ptr<MultipleEntitiesListBaseViewController>;
