#include "lists/MultipleEntitiesListBaseViewController.h"

#include <algorithm>
#include <unordered_set>

#include "Utils/ArrayUtility.h"
#include "coredata/FetchRequest.h"
#include "coredata/KeyValueCoding.h"
#include "foundation/Exception.h"
#include "foundation/Format.h"
#include "foundation/Log.h"
#include "foundation/MainThreadChecker.h"
#include "lists/FiltersTableViewController.h"
#include "lists/IdIndexPair.h"
#include "lists/ListBaseViewController.h"
#include "lists/ListFilters.h"
#include "lists/ListSelectionModel.h"
#include "lists/ListsDataSourceProtocol.h"
#include "lists/SearchScopeModel.h"
#include "model/IEntityModel.h"
#include "model/ModelClass.h"
#include "store/CoreDataStack.h"
#include "store/StorageManager.h"
#include "uikit/UISearchDisplayController.h"

namespace {

using RowObjects = LiteListBaseViewController::RowObjects;

foundation::Value asValue(const std::shared_ptr<IEntityModel>& row) {
    return foundation::Value(std::dynamic_pointer_cast<foundation::Object>(row));
}

// The row object at `row`; null past the rows.
std::shared_ptr<IEntityModel> rowAt(const RowObjects& rows, int64_t row) {
    if (row < 0 || row >= static_cast<int64_t>(rows.size())) return nullptr;
    return rows[static_cast<size_t>(row)];
}

}  // namespace

MultipleEntitiesListBaseViewController::MultipleEntitiesListBaseViewController(std::optional<std::string> nibName)
    : LiteListBaseViewController(std::move(nibName)) {}

MultipleEntitiesListBaseViewController::~MultipleEntitiesListBaseViewController() {
    if (const auto& search = searchDisplayController()) {
        search->forgetDelegates();
    }
}

void MultipleEntitiesListBaseViewController::viewDidLoad() {
    LiteListBaseViewController::viewDidLoad();
    ListFilters::configureSearchBar(searchDisplayController().get(),
                                    std::dynamic_pointer_cast<uikit::UISearchBarDelegate>(shared_from_this()),
                                    listDelegate().get());
}

// --- The rows ---

RowObjects MultipleEntitiesListBaseViewController::collectRows(
    const std::function<std::shared_ptr<coredata::FetchRequest>(const ListSelectionModel&)>& requestFor) {
    RowObjects rows;
    auto stack = coreDataStack();
    if (!stack) return rows;
    const auto context = stack->managedObjectContextMainQueue();
    const std::string unicityKey = mutualUnicityKey();
    std::unordered_set<std::string> seen;
    for (const auto& model : listSelectionModelEntities()) {
        if (!model) continue;
        const auto& modelClass = model->modelEntityClass();
        const auto results =
            StorageManager::sharedStorageManager().executeFetchRequestAndWait(requestFor(*model), context);
        for (const auto& result : results) {
            const foundation::Value key = result[unicityKey];
            const bool hasKey = !key.isNothing();
            // Identifiers compare as the text they print, whatever their kind.
            const std::string keyText = hasKey ? key.description() : std::string();
            if (hasKey && seen.count(keyText)) continue;
            if (modelClass && modelClass->initWithCoreDataDictionary) {
                auto object = std::dynamic_pointer_cast<IEntityModel>(modelClass->initWithCoreDataDictionary(result));
                if (object) rows.push_back(std::move(object));
            }
            if (hasKey) seen.insert(keyText);
        }
    }
    return rows;
}

void MultipleEntitiesListBaseViewController::initDataSource() {
    auto rows =
        collectRows([this](const ListSelectionModel& model) { return fetchRequestFromListSelectionModel(model); });
    const auto keyPath = mutualSectionNameKeyPath();
    auto indexed = indexedArrayUsingKeyPath(keyPath, rows);
    if (keyPath) {
        sections_ = std::move(indexed);
        setDataSourceArray({});
    } else {
        sections_.clear();
        setDataSourceArray(indexed.empty() ? RowObjects{} : std::move(indexed.front()));
    }
}

std::shared_ptr<coredata::FetchRequest> MultipleEntitiesListBaseViewController::fetchRequestFromListSelectionModel(
    const ListSelectionModel& model) {
    auto request = std::make_shared<coredata::FetchRequest>(model.coreDataEntityName());
    if (model.shouldFetchParentEntityOnly()) request->setIncludesSubentities(false);
    auto filters = filters_.empty() ? coredata::Predicate::truePredicate() : getCompoundFiltersPredicate();
    request->setSortDescriptors(model.coreDataSortDescriptors());
    if (model.aditionalPredicateForSelection())
        request->setPredicate(coredata::Predicate::andPredicate(
            {mutualFetchPredicate(), model.aditionalPredicateForSelection(), filters}));
    else
        request->setPredicate(coredata::Predicate::andPredicate({mutualFetchPredicate(), filters}));
    request->setResultType(coredata::FetchRequestResultType::Dictionary);
    return request;
}

void MultipleEntitiesListBaseViewController::sortRows(RowObjects& rows, const SortDescriptors& descriptors) {
    if (descriptors.empty() || rows.size() < 2) return;
    foundation::Value::Array values;
    values.reserve(rows.size());
    for (const auto& row : rows) values.push_back(asValue(row));
    coredata::sortUsingDescriptors(values, descriptors);
    for (size_t i = 0; i < rows.size(); ++i)
        rows[i] = std::dynamic_pointer_cast<IEntityModel>(values[i].objectAs<foundation::Object>());
}

MultipleEntitiesListBaseViewController::Sections MultipleEntitiesListBaseViewController::indexedArrayUsingKeyPath(
    const std::optional<std::string>& keyPath, const RowObjects& rows) {
    const auto order = mutualSortDescriptors();
    if (!keyPath) {
        RowObjects flat = rows;
        sortRows(flat, order);
        return {std::move(flat)};
    }
    // Each row's key read once; a section holds the rows whose key equals its
    // value, as "%K = %@" compares them.
    foundation::Value::Array keys;
    keys.reserve(rows.size());
    foundation::Value::Array keyValues;
    for (const auto& row : rows) {
        keys.push_back(coredata::valueForKeyPath(asValue(row), *keyPath));
        if (!keys.back().isNothing()) keyValues.push_back(keys.back());
    }
    auto distinct = *ArrayUtility::uniqueElements(foundation::Value(std::move(keyValues))).array();
    std::stable_sort(distinct.begin(), distinct.end(), [](const foundation::Value& a, const foundation::Value& b) {
        return coredata::ValueComparison::order(a, b).value_or(0) < 0;
    });
    Sections sections;
    sections.reserve(distinct.size());
    for (const auto& value : distinct) {
        RowObjects section;
        for (size_t i = 0; i < rows.size(); ++i)
            if (!keys[i].isNothing() && coredata::ValueComparison::equal(keys[i], value)) section.push_back(rows[i]);
        sortRows(section, order);
        sections.push_back(std::move(section));
    }
    return sections;
}

coredata::PredicatePtr MultipleEntitiesListBaseViewController::mutualFetchPredicate() {
    return coredata::Predicate::truePredicate();
}

std::shared_ptr<uikit::UIImage> MultipleEntitiesListBaseViewController::segmentedControlImage() {
    if (const auto& delegate = listDelegate()) return delegate->segmentedControlImage().value_or(nullptr);
    return nullptr;
}

// --- Reloads ---

void MultipleEntitiesListBaseViewController::reloadDataSourceAndTable() {
    initDataSource();
    if (auto table = tableView()) table->reloadData();
    const auto& search = searchDisplayController();
    if (search && search->isActive()) {
        const auto& bar = search->searchBar();
        filterContentForSearchText(bar ? bar->text() : std::string(), bar ? bar->selectedScopeButtonIndex() : 0);
        search->searchResultsTableView()->reloadData();
    }
}

void MultipleEntitiesListBaseViewController::updateUiContentBecauseItsNeeded() {
    foundation::requireMainThread("", kOffMainThreadUpdateException);
    if (const auto& delegate = listDelegate(); delegate && delegate->implementsRefreshAdditionalDataSource())
        delegate->refreshAdditionalDataSourceForCoreDataStack(coreDataStack(), *this);
    reloadDataSourceAndTable();
}

std::vector<std::string> MultipleEntitiesListBaseViewController::entitiesArrayToObserveForFilteringUIUpdates() {
    if (const auto& delegate = listDelegate())
        if (auto entities = delegate->entitiesArrayToObserveForFilteringUIUpdates()) return *entities;
    return {};
}

// --- The tables ---

bool MultipleEntitiesListBaseViewController::isSearchResultsTable(const uikit::UITableView& table) {
    const auto& search = searchDisplayController();
    return search && search->isSearchResultsTableViewLoaded() && search->searchResultsTableView().get() == &table;
}

std::optional<double> MultipleEntitiesListBaseViewController::tableViewHeightForHeaderInSection(
    uikit::UITableView& table, int64_t) {
    return isSearchResultsTable(table) ? kSearchHeaderHeight : kSectionHeaderHeight;
}

int64_t MultipleEntitiesListBaseViewController::numberOfSectionsInTableView(uikit::UITableView& table) {
    if (isSearchResultsTable(table) || !mutualSectionNameKeyPath()) return 1;
    return static_cast<int64_t>(sections_.size());
}

int64_t MultipleEntitiesListBaseViewController::tableViewNumberOfRowsInSection(uikit::UITableView& table,
                                                                               int64_t section) {
    if (isSearchResultsTable(table)) return static_cast<int64_t>(searchRows_.size());
    if (!mutualSectionNameKeyPath()) return static_cast<int64_t>(dataSourceArray().size());
    if (section < 0 || section >= static_cast<int64_t>(sections_.size())) return 0;
    return static_cast<int64_t>(sections_[static_cast<size_t>(section)].size());
}

std::optional<std::string> MultipleEntitiesListBaseViewController::tableViewGetTitleForHeaderInSection(
    uikit::UITableView& table, int64_t section) {
    const auto keyPath = mutualSectionNameKeyPath();
    if (isSearchResultsTable(table) || !keyPath) return std::nullopt;
    if (section < 0 || section >= static_cast<int64_t>(sections_.size())) return std::nullopt;
    const auto& rows = sections_[static_cast<size_t>(section)];
    if (rows.empty()) return std::nullopt;
    const auto value = coredata::valueForKeyPath(asValue(rows.front()), *keyPath);
    if (value.isNothing()) return std::nullopt;
    return value.stringValue();
}

std::shared_ptr<IEntityModel> MultipleEntitiesListBaseViewController::selectedObjectForTableView(
    uikit::UITableView& table, const uikit::NSIndexPath& indexPath) {
    if (isSearchResultsTable(table)) return rowAt(searchRows_, indexPath.row);
    if (!mutualSectionNameKeyPath()) return rowAt(dataSourceArray(), indexPath.row);
    if (indexPath.section < 0 || indexPath.section >= static_cast<int64_t>(sections_.size())) return nullptr;
    return rowAt(sections_[static_cast<size_t>(indexPath.section)], indexPath.row);
}

void MultipleEntitiesListBaseViewController::onPullToRefreshExecuted() {
    foundation::Log(ListBaseViewController::kPullToRefreshNotImplementedMessage);
}

// --- Search ---

bool MultipleEntitiesListBaseViewController::searchBarShouldChangeTextInRange(uikit::UISearchBar& searchBar,
                                                                              uikit::NSRange range,
                                                                              const std::string& replacement) {
    return ListFilters::allowsSearchTextChange(searchBar, range, replacement);
}

void MultipleEntitiesListBaseViewController::searchDisplayControllerWillUnloadSearchResultsTableView(
    uikit::UISearchDisplayController&, uikit::UITableView&) {
    searchRows_.clear();
}

bool MultipleEntitiesListBaseViewController::searchDisplayControllerShouldReloadTableForSearchString(
    uikit::UISearchDisplayController& controller, const std::optional<std::string>& searchString) {
    const auto& bar = controller.searchBar();
    filterContentForSearchText(searchString.value_or(""), bar ? bar->selectedScopeButtonIndex() : 0);
    return true;
}

bool MultipleEntitiesListBaseViewController::searchDisplayControllerShouldReloadTableForSearchScope(
    uikit::UISearchDisplayController& controller, int64_t searchOption) {
    const auto& bar = controller.searchBar();
    filterContentForSearchText(bar ? bar->text() : std::string(), searchOption);
    return true;
}

void MultipleEntitiesListBaseViewController::searchDisplayControllerWillBeginSearch(
    uikit::UISearchDisplayController& controller) {
    if (const auto& bar = controller.searchBar()) ListFilters::selectLastScope(*bar, listDelegate().get());
}

void MultipleEntitiesListBaseViewController::filterContentForSearchText(const std::string& searchText,
                                                                        int64_t scopeIndex) {
    searchRows_.clear();
    const auto& delegate = listDelegate();
    if (!delegate) return;
    const auto scopes = delegate->searchScopes();
    if (scopeIndex < 0 || scopeIndex >= static_cast<int64_t>(scopes.size()) || !scopes[static_cast<size_t>(scopeIndex)])
        return;
    auto predicate =
        scopes[static_cast<size_t>(scopeIndex)]->filterPredicateWithCoreDataStack(coreDataStack(), searchText);
    if (!filters_.empty()) predicate = coredata::Predicate::andPredicate({predicate, getCompoundFiltersPredicate()});
    auto rows = collectRows([&predicate](const ListSelectionModel& model) {
        auto request = std::make_shared<coredata::FetchRequest>(model.coreDataEntityName());
        if (model.shouldFetchParentEntityOnly()) request->setIncludesSubentities(false);
        request->setSortDescriptors(model.sortDescriptorsForSearch());
        request->setPredicate(
            model.aditionalPredicateForSelection()
                ? coredata::Predicate::andPredicate({predicate, model.aditionalPredicateForSelection()})
                : predicate);
        request->setResultType(coredata::FetchRequestResultType::Dictionary);
        return request;
    });
    sortRows(rows, mutualSortDescriptors());
    searchRows_ = std::move(rows);
}

// --- Filters ---

void MultipleEntitiesListBaseViewController::setFiltersArray(Filters filters) {
    filters_ = std::move(filters);
    updateFiltersHeaderView();
}

MultipleEntitiesListBaseViewController::Filters MultipleEntitiesListBaseViewController::getFilterCollection() {
    foundation::raise(ListBaseViewController::kFilterCollectionNotImplemented,
                      foundation::Format("implement method for class %@", className()));
}

MultipleEntitiesListBaseViewController::Filters MultipleEntitiesListBaseViewController::filtersForFiltersController() {
    return ListFilters::filtersForFiltersController(filters_, [this] { return getFilterCollection(); });
}

void MultipleEntitiesListBaseViewController::prepareForFiltersController(FiltersTableViewController& controller) {
    controller.setFiltersArray(filtersForFiltersController());
}

void MultipleEntitiesListBaseViewController::filterCollectionBy(Filters filters) {
    setFiltersArray(std::move(filters));
    reloadDataSourceAndTable();
}

void MultipleEntitiesListBaseViewController::updateFiltersHeaderView() {
    auto table = tableView();
    if (!table) return;
    if (filters_.empty()) {
        table->setTableHeaderView(nullptr);
        return;
    }
    std::weak_ptr<MultipleEntitiesListBaseViewController> weak =
        std::dynamic_pointer_cast<MultipleEntitiesListBaseViewController>(shared_from_this());
    table->setTableHeaderView(ListBaseViewController::makeFilterHeaderView(
        table->bounds().size.width, buildFilterCaptionTextForFilters(filters_),
        [weak](const foundation::ObjectPtr& sender) {
            if (auto list = weak.lock()) list->headerFilterButtonPressed(sender);
        }));
}

void MultipleEntitiesListBaseViewController::headerFilterButtonPressed(const foundation::ObjectPtr&) {
    foundation::Log(ListBaseViewController::kHeaderTapNotImplementedMessage);
}

std::optional<std::string> MultipleEntitiesListBaseViewController::buildFilterCaptionTextForFilters(
    const Filters& filters) {
    return ListBaseViewController::buildFilterCaptionTextForFilters(filters);
}

std::shared_ptr<const coredata::Predicate> MultipleEntitiesListBaseViewController::getCompoundFiltersPredicate() {
    return ListFilters::compoundFiltersPredicate(filters_, coreDataStack());
}

// --- Swipe steps ---

RowRing MultipleEntitiesListBaseViewController::sectionedRowRing(const Sections& sections, RowRing::Rules rules) {
    return RowRing([&](int64_t section) { return static_cast<int64_t>(sections[static_cast<size_t>(section)].size()); },
                   static_cast<int64_t>(sections.size()), rules);
}

std::shared_ptr<IdIndexPair> MultipleEntitiesListBaseViewController::getNextIdIndexPathPairAndMoveSelectionInDirection(
    unsigned direction, const std::optional<std::string>&, const uikit::NSIndexPath& indexPath,
    const RowObjects& forPlainArray, uikit::UITableView* forTableView) {
    auto step = flatRowRing(static_cast<int64_t>(forPlainArray.size())).step(direction, indexPath);
    if (!step) return nullptr;
    const uikit::NSIndexPath target = *step;
    auto object = rowAt(forPlainArray, target.row);
    if (!object) return nullptr;
    if (forTableView) forTableView->selectRowAtIndexPath(target, false, uikit::UITableViewScrollPosition::Middle);
    return std::make_shared<IdIndexPair>(target, object->selectionPropertyId(), object->coreDataClass());
}

std::shared_ptr<IdIndexPair> MultipleEntitiesListBaseViewController::getNextIdIndexPathPairAndMoveSelectionInDirection(
    unsigned direction, const std::optional<std::string>& currentDetailId, const uikit::NSIndexPath& indexPath,
    const Sections& fromDataSourceArray) {
    const RowRing ring = sectionedRowRing(fromDataSourceArray);
    if (!ring.contains(indexPath)) return nullptr;
    auto rowOf = [&](const uikit::NSIndexPath& at) {
        return fromDataSourceArray[static_cast<size_t>(at.section)][static_cast<size_t>(at.row)];
    };
    auto current = rowOf(indexPath);
    if (!current || current->selectionPropertyId() != currentDetailId) return nullptr;
    auto step = ring.step(direction, indexPath);
    auto object = step ? rowOf(*step) : nullptr;
    if (!object) return nullptr;
    const auto target = *step;
    if (auto table = getCurrentTableView())
        table->selectRowAtIndexPath(target, false, uikit::UITableViewScrollPosition::Middle);
    return std::make_shared<IdIndexPair>(target, object->selectionPropertyId(), object->coreDataClass());
}
