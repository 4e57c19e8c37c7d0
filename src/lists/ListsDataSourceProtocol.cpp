// The defaults of the optional operations: nothing done, nothing answered.
#include "lists/ListsDataSourceProtocol.h"

#include "coredata/Predicate.h"
#include "coredata/SortDescriptor.h"
#include "uikit/NSIndexPath.h"

ListsDataSourceProtocol::~ListsDataSourceProtocol() = default;

void ListsDataSourceProtocol::fetchedResultController(coredata::FetchedResultsController&, uikit::UITableViewCell&,
                                                      const uikit::NSIndexPath&, BaseViewController&) {}
void ListsDataSourceProtocol::modelObject(IEntityModel&, uikit::UITableViewCell&, bool, BaseViewController&) {}
void ListsDataSourceProtocol::refreshAdditionalDataSourceForCoreDataStack(const std::shared_ptr<CoreDataStack>&,
                                                                          LiteListBaseViewController&) {}
void ListsDataSourceProtocol::refreshContentWhenPulledToRefresh() {}
void ListsDataSourceProtocol::refreshAllDaysArray(const std::shared_ptr<CoreDataStack>&, const PredicatePtr&) {}
ListsDataSourceProtocol::Text ListsDataSourceProtocol::currentDayString() { return std::nullopt; }
void ListsDataSourceProtocol::setCurrentDayString(Text) {}
void ListsDataSourceProtocol::configureFetchRequestToReturnDictionaryResults(coredata::FetchRequest&) {}

std::optional<std::vector<std::shared_ptr<ListSelectionModel>>> ListsDataSourceProtocol::listSelectionModelEntities() {
    return std::nullopt;
}
std::optional<ListsDataSourceProtocol::SortDescriptors> ListsDataSourceProtocol::sortDescriptorsForSearch() {
    return std::nullopt;
}
std::optional<std::vector<std::string>> ListsDataSourceProtocol::entitiesArrayToObserveForFilteringUIUpdates() {
    return std::nullopt;
}
std::optional<std::vector<std::string>> ListsDataSourceProtocol::allDaysArray() { return std::nullopt; }
std::optional<ListsDataSourceProtocol::PredicatePtr> ListsDataSourceProtocol::fetchPredicate() { return std::nullopt; }
std::optional<ListsDataSourceProtocol::PredicatePtr> ListsDataSourceProtocol::fetchPredicateForSearch() {
    return std::nullopt;
}
std::optional<std::shared_ptr<uikit::UIImage>> ListsDataSourceProtocol::segmentedControlImage() { return std::nullopt; }
std::optional<std::vector<std::shared_ptr<FilterModel>>> ListsDataSourceProtocol::filtersCollection() {
    return std::nullopt;
}
ListsDataSourceProtocol::Text ListsDataSourceProtocol::searchHintText() { return std::nullopt; }
std::optional<std::shared_ptr<SegBarButtonItem>> ListsDataSourceProtocol::rightBarButtonItem() { return std::nullopt; }
std::optional<std::vector<std::shared_ptr<uikit::UIBarButtonItem>>>
ListsDataSourceProtocol::rightBarButtonItemsArrayForController(uikit::UIViewController&) {
    return std::nullopt;
}
ListsDataSourceProtocol::Text ListsDataSourceProtocol::cellIdentifierForIndexPath(const uikit::NSIndexPath&) {
    return std::nullopt;
}
ListsDataSourceProtocol::Text ListsDataSourceProtocol::getObjectIdForIndexPath(const uikit::NSIndexPath&,
                                                                               coredata::FetchedResultsController&) {
    return std::nullopt;
}
ListsDataSourceProtocol::Text ListsDataSourceProtocol::getStarredSectionHeaderTitle() { return std::nullopt; }
ListsDataSourceProtocol::Text ListsDataSourceProtocol::getAnalyticsEventName() { return std::nullopt; }
ListsDataSourceProtocol::Text ListsDataSourceProtocol::toolbarTitle() { return std::nullopt; }
ListsDataSourceProtocol::Text ListsDataSourceProtocol::cellNibIdentifier() { return std::nullopt; }
