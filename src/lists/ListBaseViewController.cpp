#include "lists/ListBaseViewController.h"

#include "coredata/Predicate.h"
#include "foundation/Exception.h"
#include "foundation/Log.h"
#include "foundation/MainThreadChecker.h"
#include "foundation/NotificationCenter.h"
#include "lists/CustomSectionHeaderTableView.h"
#include "lists/FilterModel.h"
#include "lists/FiltersTableViewController.h"
#include "lists/IdIndexPair.h"
#include "lists/ListFilters.h"
#include "lists/ListsDataSourceProtocol.h"
#include "lists/RowRing.h"
#include "lists/SearchScopeModel.h"
#include "store/CoreDataStack.h"
#include "uikit/UIButton.h"
#include "uikit/UISearchDisplayController.h"
#include "uikit/UITableViewCell.h"

namespace {

constexpr auto kFade = uikit::UITableViewRowAnimation::Fade;

uikit::NSIndexPath toTablePath(const coredata::IndexPath& path) {
    return uikit::NSIndexPath::indexPathForRow(static_cast<int64_t>(path.row), static_cast<int64_t>(path.section));
}

}  // namespace

ListBaseViewController::ListBaseViewController(std::optional<std::string> nibName)
    : LiteListBaseViewController(std::move(nibName)) {}

ListBaseViewController::~ListBaseViewController() {
    foundation::NotificationCenter::defaultCenter().removeObserver(this);
    detach(fetchedResultsController_);
    detach(searchFetchedResultsController_);
    if (const auto& search = searchDisplayController()) {
        search->forgetDelegates();
    }
}

// --- What the list fetches ---

std::string ListBaseViewController::entityName() {
    if (!listDelegate()) foundation::raise(kEntityNameNotImplemented, foundation::Format("implement entity name for class %@", className()));
    return listDelegate()->entityName();
}

std::optional<ListBaseViewController::SortDescriptors> ListBaseViewController::sortDescriptors() {
    if (!listDelegate()) return std::nullopt;
    return listDelegate()->sortDescriptors();
}

std::optional<ListBaseViewController::SortDescriptors> ListBaseViewController::sortDescriptorsForSearch() {
    if (!listDelegate()) return std::nullopt;
    if (auto search = listDelegate()->sortDescriptorsForSearch()) return search;
    return listDelegate()->sortDescriptors();
}

std::optional<std::string> ListBaseViewController::sectionNameKeyPath() {
    if (!listDelegate())
        foundation::raise(kSectionNameKeyNotImplemented, foundation::Format("implement section name key for class %@", className()));
    return listDelegate()->sectionNameKeyPath();
}

std::shared_ptr<const coredata::Predicate> ListBaseViewController::fetchPredicate() {
    return coredata::Predicate::truePredicate();
}

std::shared_ptr<const coredata::Predicate> ListBaseViewController::fetchPredicateForSearch() {
    return coredata::Predicate::truePredicate();
}

std::shared_ptr<uikit::UIImage> ListBaseViewController::segmentedControlImage() {
    if (!listDelegate()) return nullptr;
    return listDelegate()->segmentedControlImage().value_or(nullptr);
}

std::vector<std::string> ListBaseViewController::entitiesArrayToObserveForFilteringUIUpdates() { return {}; }

// --- The controllers ---

const ListBaseViewController::ControllerPtr& ListBaseViewController::fetchedResultsController() {
    if (!fetchedResultsController_) fetchedResultsController_ = newFetchedResultsController();
    return fetchedResultsController_;
}

const ListBaseViewController::ControllerPtr& ListBaseViewController::searchFetchedResultsController() {
    if (!searchFetchedResultsController_) {
        const auto& search = searchDisplayController();
        std::optional<std::string> text;
        if (search && search->searchBar()) text = search->searchBar()->text();
        searchFetchedResultsController_ = newSearchFetchedResultsControllerWithSearchText(text, 0);
    }
    return searchFetchedResultsController_;
}

bool ListBaseViewController::isSearchActive() const {
    const auto& search = searchDisplayController();
    return search && search->isActive();
}

coredata::FetchedResultsController* ListBaseViewController::fetchedResultsControllerForTableView(
    const uikit::UITableView& tableView) {
    const auto& search = searchDisplayController();
    if (search && search->isSearchResultsTableViewLoaded() && search->searchResultsTableView().get() == &tableView)
        return searchFetchedResultsController().get();
    return fetchedResultsController().get();
}

std::shared_ptr<uikit::UITableView> ListBaseViewController::tableViewForFetchedResultController(
    const coredata::FetchedResultsController& controller) {
    if (&controller == fetchedResultsController_.get()) return tableView();
    const auto& search = searchDisplayController();
    return search ? search->searchResultsTableView() : nullptr;
}

std::weak_ptr<coredata::FetchedResultsControllerDelegate> ListBaseViewController::changeDelegate() {
    auto screen = std::dynamic_pointer_cast<ListBaseViewController>(shared_from_this());
    return std::shared_ptr<coredata::FetchedResultsControllerDelegate>(screen);
}

void ListBaseViewController::detach(ControllerPtr& controller) {
    if (controller) controller->setDelegate({});
    controller.reset();
}

ListBaseViewController::ControllerPtr ListBaseViewController::makeController(coredata::FetchRequest request,
                                                                               std::optional<std::string> sectionNameKeyPath,
                                                                               const char* operation,
                                                                               const ControllerPtr& previous,
                                                                               KeptFetchedResults& kept) {
    auto delegate = listDelegate();
    bool dictionaryResults = false;
    if (delegate && delegate->implementsConfigureFetchRequestToReturnDictionaryResults()) {
        delegate->configureFetchRequestToReturnDictionaryResults(request);
        dictionaryResults = true;
    }
    const bool reports = !dictionaryResults && fetchedResultsControllersRespondToDelegate();
    foundation::ErrorPtr error;
    auto controller = kept.controller(
        previous, std::move(request), std::move(sectionNameKeyPath), coreDataStack()->managedObjectContextMainQueue(),
        [&](coredata::FetchedResultsController& made) {
            if (reports) made.setDelegate(changeDelegate());
        },
        error);
    if (error) {
        foundation::Log("%s(%p) %@", operation, static_cast<const void*>(this),
                        foundation::Format("Unresolved error %@\n%@", error->localizedDescription(),
                                           foundation::Value(error->userInfo()).description()));
    }
    return controller;
}

ListBaseViewController::ControllerPtr ListBaseViewController::newFetchedResultsController() {
    auto stack = coreDataStack();
    if (!stack || !stack->managedObjectContextMainQueue()) {
        foundation::Log(kMissingStoreMessage);
        return nullptr;
    }
    std::string entity = entityName();
    if (entity.empty()) {
        foundation::Log(kMissingEntityNameMessage);
        return nullptr;
    }
    auto request = coredata::FetchRequest::fetchRequestWithEntityName(entity);
    auto predicate = fetchPredicate();
    if (!filtersArray_.empty()) predicate = coredata::Predicate::andPredicate({predicate, getCompoundFiltersPredicate()});
    request.setPredicate(predicate);
    if (auto sort = sortDescriptors()) request.setSortDescriptors(*sort);
    return makeController(std::move(request), sectionNameKeyPath(), "-[ListBaseViewController newFetchedResultsController]",
                          fetchedResultsController_, keptFetched_);
}

ListBaseViewController::ControllerPtr ListBaseViewController::newSearchFetchedResultsControllerWithSearchText(
    const std::optional<std::string>& searchText, int64_t scopeIndex) {
    auto stack = coreDataStack();
    if (!stack || !stack->managedObjectContextMainQueue()) {
        foundation::Log(kMissingStoreForSearchMessage);
        return nullptr;
    }
    auto request = coredata::FetchRequest::fetchRequestWithEntityName(entityName());
    coredata::PredicatePtr scopePredicate;
    if (auto delegate = listDelegate()) {
        auto scopes = delegate->searchScopes();
        if (scopeIndex >= 0 && static_cast<size_t>(scopeIndex) < scopes.size() && scopes[static_cast<size_t>(scopeIndex)])
            scopePredicate = scopes[static_cast<size_t>(scopeIndex)]->filterPredicateWithCoreDataStack(stack, searchText.value_or(""));
    }
    std::vector<coredata::PredicatePtr> parts;
    if (scopePredicate) parts.push_back(scopePredicate);
    parts.push_back(fetchPredicateForSearch());
    auto predicate = coredata::Predicate::andPredicate(std::move(parts));
    if (!filtersArray_.empty()) predicate = coredata::Predicate::andPredicate({predicate, getCompoundFiltersPredicate()});
    request.setPredicate(predicate);
    if (auto sort = sortDescriptorsForSearch()) request.setSortDescriptors(*sort);
    return makeController(std::move(request), std::nullopt,
                          "-[ListBaseViewController newSearchFetchedResultsControllerWithSearchText:andScopeIndex:]",
                          searchFetchedResultsController_, keptSearch_);
}

void ListBaseViewController::refreshFetchedResultsControllersAndTables() {
    if (!foundation::isMainThread()) foundation::raise(kOffMainThreadRefreshException, "");
    // A controller that may be kept comes back as its own successor.
    fetchedResultsController_ = newFetchedResultsController();
    if (isSearchActive()) {
        const auto& search = searchDisplayController();
        const auto& bar = search->searchBar();
        searchFetchedResultsController_ = newSearchFetchedResultsControllerWithSearchText(
            bar ? std::optional<std::string>(bar->text()) : std::nullopt, bar ? bar->selectedScopeButtonIndex() : 0);
        search->searchResultsTableView()->reloadData();
    }
    if (auto table = tableView()) table->reloadData();
}

void ListBaseViewController::filterContentForSearchText(const std::optional<std::string>& searchText, int64_t scopeIndex) {
    detach(searchFetchedResultsController_);
    searchFetchedResultsController_ = newSearchFetchedResultsControllerWithSearchText(searchText, scopeIndex);
}

// --- Lifecycle and the store ---

void ListBaseViewController::viewDidLoad() {
    LiteListBaseViewController::viewDidLoad();
    ListFilters::configureSearchBar(searchDisplayController().get(),
                                    std::dynamic_pointer_cast<ListBaseViewController>(shared_from_this()),
                                    listDelegate().get());
}

void ListBaseViewController::onPullToRefreshExecuted() { foundation::Log(kPullToRefreshNotImplementedMessage); }

void ListBaseViewController::refreshAdditionalDataSource() { refreshFetchedResultsControllersAndTables(); }

void ListBaseViewController::updateUiContentBecauseItsNeeded() {
    foundation::requireMainThread("", kOffMainThreadUpdateException);
    auto delegate = listDelegate();
    if (delegate && delegate->implementsRefreshAdditionalDataSource())
        delegate->refreshAdditionalDataSourceForCoreDataStack(coreDataStack(), *this);
}

// --- Filters ---

void ListBaseViewController::setFiltersArray(Filters filters) {
    filtersArray_ = std::move(filters);
    updateFiltersHeaderView();
}

ListBaseViewController::Filters ListBaseViewController::getFilterCollection() {
    foundation::raise(kFilterCollectionNotImplemented, foundation::Format("implement method for class %@", className()));
}

ListBaseViewController::Filters ListBaseViewController::filtersForFiltersController() {
    return ListFilters::filtersForFiltersController(filtersArray_, [this] { return getFilterCollection(); });
}

void ListBaseViewController::prepareForFiltersController(FiltersTableViewController& controller) {
    controller.setFiltersArray(filtersForFiltersController());
}

void ListBaseViewController::filterCollectionBy(Filters filters) {
    setFiltersArray(std::move(filters));
    refreshFetchedResultsControllersAndTables();
}

std::optional<std::string> ListBaseViewController::buildFilterCaptionTextForFilters(const Filters& filters) {
    if (filters.empty()) return std::nullopt;
    static const auto changed = coredata::Predicate::withFormat("SELF.selectedValue != SELF.defaultValue");
    std::string caption;
    bool first = true;
    for (const auto& filter : filters) {
        if (!filter || !changed->evaluateWithObject(foundation::Value(filter))) continue;
        if (!first) caption += " & ";
        caption += filter->selectedValue().description();
        first = false;
    }
    return caption;
}

std::shared_ptr<uikit::UIView> ListBaseViewController::makeFilterHeaderView(
    double width, const std::optional<std::string>& caption, std::function<void(const foundation::ObjectPtr&)> onTap) {
    const graphics::Rect frame(0, 0, width, kFilterHeaderHeight);
    auto header = CustomSectionHeaderTableView::initWithFrame(frame);
    header->setTitle(foundation::Format("Filter: %@", caption.value_or("")));
    auto button = uikit::UIButton::buttonWithType(uikit::UIButtonType::Custom);
    button->setFrame(frame);
    button->setBackgroundColor(graphics::Color::clear());
    button->addTarget([onTap](uikit::UIControl& sender) { onTap(sender.shared_from_this()); },
                      uikit::UIControlEventTouchUpInside);
    header->addSubview(button);
    return header;
}

void ListBaseViewController::updateFiltersHeaderView() {
    auto table = tableView();
    if (!table) return;
    if (filtersArray_.empty()) {
        table->setTableHeaderView(nullptr);
        return;
    }
    std::weak_ptr<ListBaseViewController> weak = std::dynamic_pointer_cast<ListBaseViewController>(shared_from_this());
    table->setTableHeaderView(makeFilterHeaderView(table->bounds().size.width, buildFilterCaptionTextForFilters(filtersArray_),
                                                   [weak](const foundation::ObjectPtr& sender) {
                                                       if (auto list = weak.lock()) list->headerFilterButtonPressed(sender);
                                                   }));
}

void ListBaseViewController::headerFilterButtonPressed(const foundation::ObjectPtr&) {
    foundation::Log(kHeaderTapNotImplementedMessage);
}

std::shared_ptr<const coredata::Predicate> ListBaseViewController::getCompoundFiltersPredicate() {
    return ListFilters::compoundFiltersPredicate(filtersArray_, coreDataStack());
}

// --- The table ---

std::optional<std::string> ListBaseViewController::tableViewGetTitleForHeaderInSection(uikit::UITableView& table,
                                                                                       int64_t section) {
    auto* controller = fetchedResultsControllerForTableView(table);
    if (!controller || section < 0 || static_cast<size_t>(section) >= controller->sections().size()) return std::nullopt;
    return controller->sections()[static_cast<size_t>(section)].name;
}

int64_t ListBaseViewController::numberOfSectionsInTableView(uikit::UITableView& table) {
    auto* controller = fetchedResultsControllerForTableView(table);
    return controller ? static_cast<int64_t>(controller->sections().size()) : 0;
}

int64_t ListBaseViewController::tableViewNumberOfRowsInSection(uikit::UITableView& table, int64_t section) {
    auto* controller = fetchedResultsControllerForTableView(table);
    if (!controller || section < 0 || static_cast<size_t>(section) >= controller->sections().size()) return 0;
    return static_cast<int64_t>(controller->sections()[static_cast<size_t>(section)].numberOfObjects());
}

uikit::UITableViewCellPtr ListBaseViewController::tableViewCellForRowAtIndexPath(uikit::UITableView& table,
                                                                                 const uikit::NSIndexPath& indexPath) {
    auto delegate = listDelegate();
    std::string identifier;
    if (delegate) {
        if (auto forPath = delegate->cellIdentifierForIndexPath(indexPath))
            identifier = *forPath;
        else
            identifier = delegate->cellIdentifier();
    }
    auto cell = table.dequeueReusableCellWithIdentifier(identifier);
    if (!cell)
        if (auto listTable = tableView()) cell = listTable->dequeueReusableCellWithIdentifier(identifier);
    auto* controller = fetchedResultsControllerForTableView(table);
    if (cell && controller && delegate && delegate->implementsFetchedResultControllerConfigureCell())
        delegate->fetchedResultController(*controller, *cell, indexPath, *this);
    return cell;
}

std::optional<double> ListBaseViewController::tableViewHeightForHeaderInSection(uikit::UITableView& table, int64_t section) {
    (void)section;
    if (numberOfSectionsInTableView(table) >= 2) return kSectionHeaderHeight;
    auto title = tableViewGetTitleForHeaderInSection(table, 0);
    return title && !title->empty() ? kSectionHeaderHeight : 0.0;
}

void ListBaseViewController::fetchedResultController(coredata::FetchedResultsController&, uikit::UITableViewCell&,
                                                     const uikit::NSIndexPath&, BaseViewController&) {
    foundation::Log(kConfigureCellOvercallMessage);
}

// --- Change reports ---

void ListBaseViewController::controllerWillChangeContent(coredata::FetchedResultsController& controller) {
    if (auto table = tableViewForFetchedResultController(controller)) table->beginUpdates();
}

void ListBaseViewController::controller(coredata::FetchedResultsController& controller,
                                        const coredata::FetchedResultsSectionInfo&, size_t sectionIndex,
                                        coredata::FetchedResultsChangeType type) {
    auto table = tableViewForFetchedResultController(controller);
    if (!table) return;
    const auto index = static_cast<int64_t>(sectionIndex);
    if (type == coredata::FetchedResultsChangeType::Insert)
        table->insertSections({index}, kFade);
    else if (type == coredata::FetchedResultsChangeType::Delete)
        table->deleteSections({index}, kFade);
}

void ListBaseViewController::controller(coredata::FetchedResultsController& controller, const foundation::Value&,
                                        std::optional<coredata::IndexPath> indexPath,
                                        coredata::FetchedResultsChangeType type,
                                        std::optional<coredata::IndexPath> newIndexPath) {
    auto table = tableViewForFetchedResultController(controller);
    if (!table) return;
    switch (type) {
        case coredata::FetchedResultsChangeType::Insert:
            if (newIndexPath) table->insertRowsAtIndexPaths({toTablePath(*newIndexPath)}, kFade);
            break;
        case coredata::FetchedResultsChangeType::Delete:
            if (indexPath) table->deleteRowsAtIndexPaths({toTablePath(*indexPath)}, kFade);
            break;
        case coredata::FetchedResultsChangeType::Move:
            if (indexPath) table->deleteRowsAtIndexPaths({toTablePath(*indexPath)}, kFade);
            if (newIndexPath) table->insertRowsAtIndexPaths({toTablePath(*newIndexPath)}, kFade);
            break;
        case coredata::FetchedResultsChangeType::Update: {
            // The row is redrawn by whoever fills rows, with the controller's
            // new place of the object, as building the row does.
            if (!indexPath) break;
            auto cell = table->cellForRowAtIndexPath(toTablePath(*indexPath));
            auto delegate = listDelegate();
            if (cell && delegate && delegate->implementsFetchedResultControllerConfigureCell())
                delegate->fetchedResultController(controller, *cell, toTablePath(newIndexPath.value_or(*indexPath)), *this);
            break;
        }
    }
}

void ListBaseViewController::controllerDidChangeContent(coredata::FetchedResultsController& controller) {
    if (auto table = tableViewForFetchedResultController(controller)) table->endUpdates();
}

// --- Search ---

void ListBaseViewController::searchBarTextDidBeginEditing(uikit::UISearchBar&) {}

bool ListBaseViewController::searchBarShouldChangeTextInRange(uikit::UISearchBar& searchBar, uikit::NSRange range,
                                                              const std::string& replacement) {
    return ListFilters::allowsSearchTextChange(searchBar, range, replacement);
}

void ListBaseViewController::searchDisplayControllerWillBeginSearch(uikit::UISearchDisplayController& controller) {
    if (controller.searchBar()) ListFilters::selectLastScope(*controller.searchBar(), listDelegate().get());
}

void ListBaseViewController::searchDisplayControllerWillUnloadSearchResultsTableView(uikit::UISearchDisplayController&,
                                                                                    uikit::UITableView&) {
    detach(searchFetchedResultsController_);
}

bool ListBaseViewController::searchDisplayControllerShouldReloadTableForSearchString(
    uikit::UISearchDisplayController& controller, const std::optional<std::string>& searchString) {
    const auto& bar = controller.searchBar();
    filterContentForSearchText(searchString, bar ? bar->selectedScopeButtonIndex() : 0);
    return true;
}

bool ListBaseViewController::searchDisplayControllerShouldReloadTableForSearchScope(uikit::UISearchDisplayController& controller,
                                                                                   int64_t searchOption) {
    const auto& bar = controller.searchBar();
    filterContentForSearchText(bar ? std::optional<std::string>(bar->text()) : std::nullopt, searchOption);
    return true;
}

// --- Swipe parent ---

std::shared_ptr<IdIndexPair> ListBaseViewController::getNextIdIndexPathPairAndMoveSelectionInDirection(
    unsigned direction, const std::optional<std::string>& currentDetailId, const uikit::NSIndexPath& indexPath) {
    auto table = getCurrentTableView();
    auto delegate = listDelegate();
    if (!table || !delegate) return nullptr;
    auto* controller = fetchedResultsControllerForTableView(*table);
    if (!controller) return nullptr;
    const auto& sections = controller->sections();
    const RowRing ring(
        [&](int64_t section) { return static_cast<int64_t>(sections[static_cast<size_t>(section)].numberOfObjects()); },
        static_cast<int64_t>(sections.size()));
    if (!ring.contains(indexPath)) return nullptr;
    if (delegate->getObjectIdForIndexPath(indexPath, *controller) != currentDetailId) return nullptr;
    auto step = ring.step(direction, indexPath);
    if (!step) return nullptr;
    const auto target = *step;
    table->selectRowAtIndexPath(target, false, uikit::UITableViewScrollPosition::Middle);
    return std::make_shared<IdIndexPair>(target, delegate->getObjectIdForIndexPath(target, *controller), std::nullopt);
}
