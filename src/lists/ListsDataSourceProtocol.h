// What a list shows, told by its data source rather than by the list class.
// Five operations every data source answers; the rest are optional, and the
// callers fall back when one is absent, so each optional one says whether it
// is implemented: a value-returning one answers nothing by default, and each
// one without a result has an implementsX() that answers false by default
// (override both together). A list may be its own data source.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace coredata {
class FetchedResultsController;
class FetchRequest;
class Predicate;
class SortDescriptor;
}  // namespace coredata

namespace uikit {
class UIBarButtonItem;
class UIImage;
class UITableViewCell;
class UIViewController;
struct NSIndexPath;
}  // namespace uikit

class BaseViewController;
class CoreDataStack;
class FilterModel;
class IEntityModel;
class ListSelectionModel;
class LiteListBaseViewController;
class SearchScopeModel;
class SegBarButtonItem;

class ListsDataSourceProtocol {
public:
    using Text = std::optional<std::string>;
    using SortDescriptors = std::vector<coredata::SortDescriptor>;
    using PredicatePtr = std::shared_ptr<const coredata::Predicate>;

    virtual ~ListsDataSourceProtocol();

    // --- Required ---
    // The entity the fetched-results list fetches, in its main and its search fetch.
    virtual std::string entityName() = 0;
    // The order of the main fetch.
    virtual SortDescriptors sortDescriptors() = 0;
    // The key path that splits the main fetch into sections; none for one section.
    virtual Text sectionNameKeyPath() = 0;
    // The reuse identifier of the list's cells.
    virtual std::string cellIdentifier() = 0;
    // The search scopes: their display names title the scope bar.
    virtual std::vector<std::shared_ptr<SearchScopeModel>> searchScopes() = 0;

    // --- Optional, without a result ---
    // Fills a dequeued cell of a fetched-results list.
    virtual bool implementsFetchedResultControllerConfigureCell() const { return false; }
    virtual void fetchedResultController(coredata::FetchedResultsController& controller, uikit::UITableViewCell& cell,
                                         const uikit::NSIndexPath& indexPath, BaseViewController& inController);
    // Fills a cell from a row object (forSearch: the search table's cell).
    virtual bool implementsModelObjectConfigureCell() const { return false; }
    virtual void modelObject(IEntityModel& object, uikit::UITableViewCell& cell, bool forSearch,
                             BaseViewController& inController);
    // Rebuilds data kept beside the fetch, on every store-driven update.
    virtual bool implementsRefreshAdditionalDataSource() const { return false; }
    virtual void refreshAdditionalDataSourceForCoreDataStack(const std::shared_ptr<CoreDataStack>& stack,
                                                             LiteListBaseViewController& forController);
    // Asks the service for fresh content after a pull.
    virtual bool implementsRefreshContentWhenPulledToRefresh() const { return false; }
    virtual void refreshContentWhenPulledToRefresh();
    // Day-paged lists: rebuilds the days under the current filters.
    virtual bool implementsRefreshAllDaysArray() const { return false; }
    virtual void refreshAllDaysArray(const std::shared_ptr<CoreDataStack>& stack, const PredicatePtr& forCompoundPredicate);
    // Day-paged lists: the day shown (both or neither are implemented).
    virtual bool implementsCurrentDayString() const { return false; }
    virtual Text currentDayString();
    virtual void setCurrentDayString(Text day);
    // Turns the fetch into a dictionary fetch.
    virtual bool implementsConfigureFetchRequestToReturnDictionaryResults() const { return false; }
    virtual void configureFetchRequestToReturnDictionaryResults(coredata::FetchRequest& request);

    // --- Optional, answering nothing when not implemented ---
    virtual std::optional<std::vector<std::shared_ptr<ListSelectionModel>>> listSelectionModelEntities();
    virtual std::optional<SortDescriptors> sortDescriptorsForSearch();
    // Entity names whose saves refresh the list.
    virtual std::optional<std::vector<std::string>> entitiesArrayToObserveForFilteringUIUpdates();
    // Day strings.
    virtual std::optional<std::vector<std::string>> allDaysArray();
    virtual std::optional<PredicatePtr> fetchPredicate();
    virtual std::optional<PredicatePtr> fetchPredicateForSearch();
    virtual std::optional<std::shared_ptr<uikit::UIImage>> segmentedControlImage();
    virtual std::optional<std::vector<std::shared_ptr<FilterModel>>> filtersCollection();
    virtual Text searchHintText();
    virtual std::optional<std::shared_ptr<SegBarButtonItem>> rightBarButtonItem();
    virtual std::optional<std::vector<std::shared_ptr<uikit::UIBarButtonItem>>> rightBarButtonItemsArrayForController(
        uikit::UIViewController& controller);
    virtual Text cellIdentifierForIndexPath(const uikit::NSIndexPath& indexPath);
    virtual Text getObjectIdForIndexPath(const uikit::NSIndexPath& indexPath,
                                         coredata::FetchedResultsController& fromFetchController);
    virtual Text getStarredSectionHeaderTitle();
    virtual Text getAnalyticsEventName();
    virtual Text toolbarTitle();
    // Declared for nib-made cells; no list asks it.
    virtual Text cellNibIdentifier();
};
