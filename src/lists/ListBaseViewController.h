// The list screen backed by the local store: two fetched-results controllers
// on the main-queue context of the current store, one for the list and one
// for the search display controller's results. Entity, order, sections,
// cells and search scopes come from the list delegate; the active filters
// narrow both fetches and show a tappable "Filter: ..." header over the
// table. Row changes arrive as the controllers' change reports and are
// animated into the table they belong to.
//
// Controllers are made on first read and replaced, never changed: a filter
// change rebuilds both, a search text or scope change rebuilds the search
// controller, leaving the search drops it. A replaced controller is detached
// before it is dropped, so a late report never reaches a table that no
// longer matches it. Main thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "coredata/FetchedResultsController.h"
#include "lists/KeptFetchedResults.h"
#include "lists/LiteListBaseViewController.h"
#include "uikit/UISearchBar.h"

class FilterModel;
class FiltersTableViewController;

class ListBaseViewController : public LiteListBaseViewController,
                               public coredata::FetchedResultsControllerDelegate,
                               public uikit::UISearchBarDelegate {
public:
    using ControllerPtr = std::shared_ptr<coredata::FetchedResultsController>;
    using Filters = std::vector<std::shared_ptr<FilterModel>>;
    using SortDescriptors = std::vector<coredata::SortDescriptor>;

    static constexpr double kFilterHeaderHeight = 23.0;

    static constexpr const char* kEntityNameNotImplemented = "Entity name not implemented -> ";
    static constexpr const char* kSectionNameKeyNotImplemented = "Section name key not implemented -> ";
    static constexpr const char* kFilterCollectionNotImplemented = "GetFilterCollection not implemented -> ";
    static constexpr const char* kOffMainThreadRefreshException = "Please call this from main thread only";
    static constexpr const char* kMissingStoreMessage =
        "Unable to create a new instance for frc: coreDataStack or managedObjectContextMainQueue is nil";
    static constexpr const char* kMissingStoreForSearchMessage =
        "Unable to create a new instance for search frc: coreDataStack or managedObjectContextMainQueue is nil";
    static constexpr const char* kMissingEntityNameMessage = "Unable to create a new instance for frc: entity name is nil";
    static constexpr const char* kHeaderTapNotImplementedMessage = "Please implement in subclasses";
    static constexpr const char* kPullToRefreshNotImplementedMessage = "Implement this in subclasses";
    static constexpr const char* kConfigureCellOvercallMessage =
        "If you see this log, please veryfy which controller called this. Probably this is an overcall to this "
        "function when this is not needed ";

    explicit ListBaseViewController(std::optional<std::string> nibName = std::nullopt);
    ~ListBaseViewController() override;

    // --- What the list fetches (from the list delegate) ---
    // Raises without a delegate.
    virtual std::string entityName();
    // None without a delegate.
    virtual std::optional<SortDescriptors> sortDescriptors();
    // The delegate's search order, else its list order; none without a delegate.
    virtual std::optional<SortDescriptors> sortDescriptorsForSearch();
    // Raises without a delegate.
    virtual std::optional<std::string> sectionNameKeyPath();
    // The true predicate; concrete lists answer their delegate's.
    virtual std::shared_ptr<const coredata::Predicate> fetchPredicate();
    virtual std::shared_ptr<const coredata::Predicate> fetchPredicateForSearch();
    std::shared_ptr<uikit::UIImage> segmentedControlImage() override;
    std::vector<std::string> entitiesArrayToObserveForFilteringUIUpdates() override;
    // YES; a subclass answers NO to build controllers without change reports.
    virtual bool fetchedResultsControllersRespondToDelegate() { return true; }

    // --- The controllers ---
    // Made on first read.
    const ControllerPtr& fetchedResultsController();
    const ControllerPtr& searchFetchedResultsController();
    // The search controller for the search-results table, the list's for any other.
    coredata::FetchedResultsController* fetchedResultsControllerForTableView(const uikit::UITableView& tableView);
    // tableView for the list's controller, the search-results table for any other.
    std::shared_ptr<uikit::UITableView> tableViewForFetchedResultController(const coredata::FetchedResultsController& controller);
    // Null without a store (or without an entity name for the list's controller).
    virtual ControllerPtr newFetchedResultsController();
    virtual ControllerPtr newSearchFetchedResultsControllerWithSearchText(const std::optional<std::string>& searchText,
                                                                          int64_t scopeIndex);
    // Main thread only (raises elsewhere): both controllers rebuilt, tables reloaded.
    virtual void refreshFetchedResultsControllersAndTables();
    // Rebuilds the search controller for that text and scope.
    void filterContentForSearchText(const std::optional<std::string>& searchText, int64_t scopeIndex);

    // --- Lifecycle and the store ---
    void viewDidLoad() override;
    void onPullToRefreshExecuted() override;
    void refreshAdditionalDataSource();
    // Only the delegate's additional data: rows arrive as change reports.
    void updateUiContentBecauseItsNeeded() override;

    // --- Filters ---
    const Filters& filtersArray() const { return filtersArray_; }
    // Stores the filters and rebuilds the header.
    void setFiltersArray(Filters filters);
    // Raises in the base; concrete lists answer their delegate's filters.
    virtual Filters getFilterCollection();
    // The filters the filters screen edits: copies of the active ones, else getFilterCollection.
    Filters filtersForFiltersController();
    // Hands the filters screen filtersForFiltersController().
    void prepareForFiltersController(FiltersTableViewController& controller);
    // The filters screen's answer: stored, then everything rebuilt.
    void filterCollectionBy(Filters filters);
    void updateFiltersHeaderView();
    // Logs in the base; concrete lists open the filters screen.
    virtual void headerFilterButtonPressed(const foundation::ObjectPtr& sender);
    // The selected values of the filters off their default, joined by " & "; none for no filters.
    static std::optional<std::string> buildFilterCaptionTextForFilters(const Filters& filters);
    // The tappable "Filter: <caption>" header, as wide as the table; the list
    // base and the multi-entity list share it.
    static std::shared_ptr<uikit::UIView> makeFilterHeaderView(double width, const std::optional<std::string>& caption,
                                                               std::function<void(const foundation::ObjectPtr&)> onTap);
    std::shared_ptr<const coredata::Predicate> getCompoundFiltersPredicate() override;

    // --- The table ---
    std::optional<std::string> tableViewGetTitleForHeaderInSection(uikit::UITableView& tableView, int64_t section) override;
    int64_t numberOfSectionsInTableView(uikit::UITableView& tableView) override;
    int64_t tableViewNumberOfRowsInSection(uikit::UITableView& tableView, int64_t section) override;
    uikit::UITableViewCellPtr tableViewCellForRowAtIndexPath(uikit::UITableView& tableView,
                                                             const uikit::NSIndexPath& indexPath) override;
    std::optional<double> tableViewHeightForHeaderInSection(uikit::UITableView& tableView, int64_t section) override;
    // Only logs: rows are filled by the list delegate.
    virtual void fetchedResultController(coredata::FetchedResultsController& controller, uikit::UITableViewCell& cell,
                                         const uikit::NSIndexPath& indexPath, BaseViewController& inController);

    // --- Change reports ---
    void controllerWillChangeContent(coredata::FetchedResultsController& controller) override;
    void controller(coredata::FetchedResultsController& controller, const coredata::FetchedResultsSectionInfo& section,
                    size_t sectionIndex, coredata::FetchedResultsChangeType type) override;
    void controller(coredata::FetchedResultsController& controller, const foundation::Value& object,
                    std::optional<coredata::IndexPath> indexPath, coredata::FetchedResultsChangeType type,
                    std::optional<coredata::IndexPath> newIndexPath) override;
    void controllerDidChangeContent(coredata::FetchedResultsController& controller) override;

    // --- Search ---
    std::shared_ptr<uikit::UISearchBar> searchBar() const { return searchBar_; }
    void setSearchBar(std::shared_ptr<uikit::UISearchBar> searchBar) { searchBar_ = std::move(searchBar); }
    void searchBarTextDidBeginEditing(uikit::UISearchBar& searchBar) override;
    bool searchBarShouldChangeTextInRange(uikit::UISearchBar& searchBar, uikit::NSRange range,
                                          const std::string& replacement) override;
    void searchDisplayControllerWillBeginSearch(uikit::UISearchDisplayController& controller) override;
    void searchDisplayControllerWillUnloadSearchResultsTableView(uikit::UISearchDisplayController& controller,
                                                                uikit::UITableView& tableView) override;
    bool searchDisplayControllerShouldReloadTableForSearchString(uikit::UISearchDisplayController& controller,
                                                                const std::optional<std::string>& searchString) override;
    bool searchDisplayControllerShouldReloadTableForSearchScope(uikit::UISearchDisplayController& controller,
                                                               int64_t searchOption) override;

    // --- Swipe parent ---
    std::shared_ptr<IdIndexPair> getNextIdIndexPathPairAndMoveSelectionInDirection(
        unsigned direction, const std::optional<std::string>& currentDetailId, const uikit::NSIndexPath& indexPath) override;

    std::string className() const override { return "ListBaseViewController"; }

private:
    // The screen as the controllers' change delegate.
    std::weak_ptr<coredata::FetchedResultsControllerDelegate> changeDelegate();
    // Request, controller, delegate and fetch, shared by both builders.
    // The slot's previous controller is handed back when it may be kept.
    ControllerPtr makeController(coredata::FetchRequest request, std::optional<std::string> sectionNameKeyPath,
                                 const char* operation, const ControllerPtr& previous, KeptFetchedResults& kept);
    static void detach(ControllerPtr& controller);
    bool isSearchActive() const;

    ControllerPtr fetchedResultsController_;
    ControllerPtr searchFetchedResultsController_;
    KeptFetchedResults keptFetched_, keptSearch_;
    Filters filtersArray_;
    std::shared_ptr<uikit::UISearchBar> searchBar_;
};

using ListBaseViewControllerPtr = std::shared_ptr<ListBaseViewController>;
