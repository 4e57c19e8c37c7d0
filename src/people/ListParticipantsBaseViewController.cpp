#include "people/ListParticipantsBaseViewController.h"

#include <algorithm>
#include <utility>

#include "Utils/Utils.h"
#include "api/QVAApiManager.h"
#include "app/AppDelegate.h"
#include "app/AppStoryboards.h"
#include "app/CustomSegmentedNavigationController.h"
#include "app/EventsSplitViewController.h"
#include "app/SegBarButtonItem.h"
#include "coredata/FetchRequest.h"
#include "foundation/Format.h"
#include "foundation/Log.h"
#include "foundation/MainThreadChecker.h"
#include "foundation/RunLoop.h"
#include "lists/DetailsNavigationController.h"
#include "lists/DetailsScreenSupport.h"
#include "lists/FavoriteButton.h"
#include "lists/FilterScreenScenes.h"
#include "lists/FiltersTableViewController.h"
#include "lists/IdIndexPair.h"
#include "lists/RowRing.h"
#include "model/QVACoreDataParticipant.h"
#include "model/QVAFollowedParticipant.h"
#include "people/ParticipantCell.h"
#include "people/ParticipantDetailsViewController.h"
#include "people/ParticipantRowActions.h"
#include "people/ParticipantsListDelegate.h"
#include "settings/ApplicationSettingsStore.h"
#include "store/CoreDataStack.h"
#include "store/FetchRequestUtils.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UINavigationController.h"
#include "uikit/UINavigationItem.h"
#include "uikit/UINib.h"
#include "uikit/UISearchBar.h"
#include "uikit/UISearchDisplayController.h"
#include "uikit/UISegmentedControl.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UIStoryboardSegue.h"

namespace {

constexpr double kParticipantsListWidth = 320;
constexpr double kParticipantsListHeight = 480;

coredata::IndexPath participantsListStorePath(const uikit::NSIndexPath& indexPath) {
    return {static_cast<size_t>(indexPath.section), static_cast<size_t>(indexPath.row)};
}

}  // namespace

void ListParticipantsBaseViewController::addScene(uikit::UIStoryboard& storyboard) {
    const bool pad = storyboard.name() == AppStoryboards::kPadStoryboardName;
    const std::string scene = kStoryboardIdentifier;
    storyboard.addScene(scene, [](uikit::UIStoryboard&) { return std::make_shared<ListParticipantsBaseViewController>(); });
    if (pad) {
        storyboard.addSegue(scene, uikit::UIStoryboardSegueDefinition::custom(
                                       kDetailsSegue, ParticipantDetailsViewController::kStoryboardIdentifier,
                                       [](const uikit::UIViewControllerPtr&, const uikit::UIViewControllerPtr& details) {
                                           DetailsNavigationController::showInSplitViewDetail(details);
                                       }));
    } else {
        uikit::UIStoryboardSegueDefinition push;
        push.identifier = kDetailsSegue;
        push.kind = uikit::UIStoryboardSegueKind::Push;
        push.destination = ParticipantDetailsViewController::kStoryboardIdentifier;
        storyboard.addSegue(scene, push);
    }
    FilterScreenScenes::addListFiltersSegue(storyboard, scene, kFiltersSegue, pad);
}

ListParticipantsBaseViewController::ListParticipantsBaseViewController() {
    addUnwindAction(FilterScreenScenes::kListApplyFiltersAction, [this](uikit::UIStoryboardSegue& segue) {
        if (auto screen = std::dynamic_pointer_cast<FiltersTableViewController>(segue.sourceViewController()))
            filterCollectionBy(screen->filtersArray());
        if (popoverForFilters_ && popoverForFilters_->isPopoverVisible()) popoverForFilters_->dismissPopoverAnimated(false);
    });
    addUnwindAction(kFiltersCancelAction, [this](uikit::UIStoryboardSegue&) {
        if (popoverForFilters_ && popoverForFilters_->isPopoverVisible()) popoverForFilters_->dismissPopoverAnimated(false);
    });
}

std::shared_ptr<ParticipantsListDelegate> ListParticipantsBaseViewController::participantsDelegate() const {
    return std::dynamic_pointer_cast<ParticipantsListDelegate>(listDelegate());
}

// --- Life ---

void ListParticipantsBaseViewController::loadView() {
    auto root = std::make_shared<uikit::UIView>(graphics::Rect(0, 0, kParticipantsListWidth, kParticipantsListHeight));
    root->setBackgroundColor(graphics::Color::white());
    auto bar = std::make_shared<uikit::UISearchBar>(graphics::Rect(0, 0, kParticipantsListWidth, uikit::UISearchBar::kBarHeight));
    bar->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth);
    auto table = std::make_shared<uikit::UITableView>(root->bounds());
    table->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth | uikit::UIViewAutoresizingFlexibleHeight);
    table->setTableHeaderView(bar);
    root->addSubview(table);
    setView(root);
    setTableView(table);
    setSearchBar(bar);
    std::weak_ptr<ListParticipantsBaseViewController> weak =
        std::static_pointer_cast<ListParticipantsBaseViewController>(shared_from_this());
    rightBarButton_ = uikit::UIBarButtonItem::withImage(nullptr, uikit::UIBarButtonItemStyle::Plain,
                                                        [weak](uikit::UIBarButtonItem& sender) {
                                                            if (auto screen = weak.lock())
                                                                screen->onRightBarButtonItemPressed(sender);
                                                        });
    navigationItem()->setRightBarButtonItem(rightBarButton_);
    uikit::UISearchDisplayController::create(bar, std::static_pointer_cast<uikit::UIViewController>(shared_from_this()));
}

void ListParticipantsBaseViewController::viewDidLoad() {
    // Opened on its own, not as a segment that hands it its list.
    if (!listDelegate()) setListDelegate(std::make_shared<ParticipantsListDelegate>());
    auto self = std::static_pointer_cast<ListParticipantsBaseViewController>(shared_from_this());
    const auto nib = uikit::UINib::nibWithNibName(ParticipantCell::cellNibName());
    if (auto table = tableView()) {
        table->setDataSource(self);
        table->setDelegate(self);
    }
    if (const auto& search = searchDisplayController()) {
        search->answerWith(self);
    }
    ListBaseViewController::viewDidLoad();
    if (auto table = tableView()) table->registerNib(nib, ParticipantCell::cellIdentifier());
    if (const auto& search = searchDisplayController())
        if (auto results = search->searchResultsTableView()) results->registerNib(nib, ParticipantCell::cellIdentifier());
    if (auto container = std::dynamic_pointer_cast<CustomSegmentedNavigationController>(navigationController()))
        if (!isFilteredInitially_)
            if (const auto& control = container->sc()) navigationItem()->setTitleView(control);
    refreshDelegateIds();
    refreshFetchedResultsControllersAndTables();
    const auto& delegate = listDelegate();
    if (auto button = delegate ? delegate->rightBarButtonItem().value_or(nullptr) : nullptr) {
        rightBarButton_->setImage(button->image());
        navigationItem()->setRightBarButtonItem(rightBarButton_);
    } else {
        navigationItem()->setRightBarButtonItem(nullptr);
    }
    trackAnalyticsEvent();
    if (isFilteredInitially_) updateFiltersHeaderView();
}

void ListParticipantsBaseViewController::refreshDelegateIds() {
    const auto& delegate = listDelegate();
    if (delegate && delegate->implementsRefreshAdditionalDataSource())
        delegate->refreshAdditionalDataSourceForCoreDataStack(coreDataStack(), *this);
}

// --- What the list fetches ---

std::shared_ptr<const coredata::Predicate> ListParticipantsBaseViewController::fetchPredicate() {
    const auto& delegate = listDelegate();
    auto predicate = delegate ? delegate->fetchPredicate() : std::nullopt;
    return predicate ? *predicate : ListBaseViewController::fetchPredicate();
}

std::shared_ptr<const coredata::Predicate> ListParticipantsBaseViewController::fetchPredicateForSearch() {
    return fetchPredicate();
}

ListBaseViewController::Filters ListParticipantsBaseViewController::getFilterCollection() {
    const auto& delegate = listDelegate();
    return delegate ? delegate->filtersCollection().value_or(Filters{}) : Filters{};
}

std::vector<std::string> ListParticipantsBaseViewController::entitiesArrayToObserveForFilteringUIUpdates() {
    const auto& delegate = listDelegate();
    return delegate ? delegate->entitiesArrayToObserveForFilteringUIUpdates().value_or(std::vector<std::string>{})
                    : std::vector<std::string>{};
}

void ListParticipantsBaseViewController::onPullToRefreshExecuted() {
    if (const auto& delegate = listDelegate()) delegate->refreshContentWhenPulledToRefresh();
}

void ListParticipantsBaseViewController::updateUiContentBecauseItsNeeded() {
    foundation::requireMainThread("", kOffMainThreadUpdateException);
    refreshDelegateIds();
    refreshFetchedResultsControllersAndTables();
    auto heightBefore = std::exchange(pendingHeightBeforeFollow_, std::nullopt);
    auto table = tableView();
    if (!heightBefore || !table) return;
    if (const double difference = table->contentSize().height - *heightBefore; difference != 0)
        scrollTableViewWithYOffsetDifference(*table, difference);
}

void ListParticipantsBaseViewController::refreshFetchedResultsControllersAndTables() {
    favoritesFetchedResultsController_ = newFavoritesFetchedResultsController();
    auto stack = coreDataStack();
    auto context = stack ? stack->managedObjectContextMainQueue() : nullptr;
    relationshipsReadGranted_ = context && FetchRequestUtils::hasRelantionshipsReadPermissionGrantedInContext(context);
    ListBaseViewController::refreshFetchedResultsControllersAndTables();
    auto table = getCurrentTableView();
    auto* controller = table ? fetchedResultsControllerForTableView(*table) : nullptr;
    if (!controller || controller->fetchedObjects().empty())
        showNoResultsLabelWithText(kNoResultsText);
    else
        removeNoResultsLabel();
}

ListBaseViewController::ControllerPtr ListParticipantsBaseViewController::newFavoritesFetchedResultsController() {
    auto stack = coreDataStack();
    auto context = stack ? stack->managedObjectContextMainQueue() : nullptr;
    if (!context) {
        foundation::Log(kMissingFavoritesStoreMessage);
        return nullptr;
    }
    auto delegate = participantsDelegate();
    if (!delegate) return nullptr;
    auto request = coredata::FetchRequest::fetchRequestWithEntityName(entityName());
    auto predicate = delegate->favoritesFetchPredicate();
    if (!filtersArray().empty()) predicate = coredata::Predicate::andPredicate({predicate, getCompoundFiltersPredicate()});
    request.setPredicate(predicate);
    if (auto sort = sortDescriptors()) request.setSortDescriptors(*sort);
    foundation::ErrorPtr error;
    auto controller = keptFavorites_.controller(favoritesFetchedResultsController_, std::move(request), std::nullopt,
                                                context, nullptr, error);
    if (error) {
        foundation::Log("%s(%p) %@", "-[ListParticipantsBaseViewController newFavoritesFetchedResultsController]",
                        static_cast<const void*>(this),
                        foundation::Format("Unresolved error %@\n%@", error->localizedDescription(),
                                           foundation::Value(error->userInfo()).description()));
    }
    return controller;
}

bool ListParticipantsBaseViewController::hasFavoritesSectionForTable(const uikit::UITableView& tableView) {
    const auto& search = searchDisplayController();
    if (search && search->isSearchResultsTableViewLoaded() && search->searchResultsTableView().get() == &tableView)
        return false;
    return relationshipsReadGranted_ && favoritesFetchedResultsController_ &&
           !favoritesFetchedResultsController_->fetchedObjects().empty();
}

std::pair<coredata::FetchedResultsController*, uikit::NSIndexPath>
ListParticipantsBaseViewController::controllerAndIndexPathForTableIndexPath(uikit::UITableView& tableView,
                                                                            const uikit::NSIndexPath& indexPath) {
    coredata::FetchedResultsController* controller = nullptr;
    uikit::NSIndexPath path = indexPath;
    if (hasFavoritesSectionForTable(tableView)) {
        if (indexPath.section == 0) {
            controller = favoritesFetchedResultsController_.get();
        } else {
            controller = fetchedResultsControllerForTableView(tableView);
            path = uikit::NSIndexPath::indexPathForRow(indexPath.row, indexPath.section - 1);
        }
    } else {
        controller = fetchedResultsControllerForTableView(tableView);
    }
    if (!controller || !Utils::doesIndexPath(path, *controller)) return {nullptr, path};
    return {controller, path};
}

// --- The table ---

int64_t ListParticipantsBaseViewController::numberOfSectionsInTableView(uikit::UITableView& tableView) {
    return ListBaseViewController::numberOfSectionsInTableView(tableView) + (hasFavoritesSectionForTable(tableView) ? 1 : 0);
}

int64_t ListParticipantsBaseViewController::tableViewNumberOfRowsInSection(uikit::UITableView& tableView, int64_t section) {
    if (!hasFavoritesSectionForTable(tableView))
        return ListBaseViewController::tableViewNumberOfRowsInSection(tableView, section);
    if (section == 0) return static_cast<int64_t>(favoritesFetchedResultsController_->fetchedObjects().size());
    return ListBaseViewController::tableViewNumberOfRowsInSection(tableView, section - 1);
}

std::optional<std::string> ListParticipantsBaseViewController::tableViewGetTitleForHeaderInSection(uikit::UITableView& tableView,
                                                                                                 int64_t section) {
    if (!hasFavoritesSectionForTable(tableView))
        return ListBaseViewController::tableViewGetTitleForHeaderInSection(tableView, section);
    if (section == 0) {
        const auto& delegate = listDelegate();
        return delegate ? delegate->getStarredSectionHeaderTitle() : std::nullopt;
    }
    return ListBaseViewController::tableViewGetTitleForHeaderInSection(tableView, section - 1);
}

std::vector<std::string> ListParticipantsBaseViewController::sectionIndexTitlesForTableView(uikit::UITableView& tableView) {
    std::vector<std::string> titles;
    const auto& search = searchDisplayController();
    if (search && search->isSearchResultsTableViewLoaded() && search->searchResultsTableView().get() == &tableView)
        return titles;
    if (hasFavoritesSectionForTable(tableView)) titles.emplace_back(kStarredSectionIndexTitle);
    if (const auto& controller = fetchedResultsController())
        for (const auto& section : controller->sections()) titles.push_back(section.name);
    return titles;
}

uikit::UITableViewCellPtr ListParticipantsBaseViewController::tableViewCellForRowAtIndexPath(uikit::UITableView& tableView,
                                                                                           const uikit::NSIndexPath& indexPath) {
    const auto& delegate = listDelegate();
    const std::string identifier = delegate ? delegate->cellIdentifier() : ParticipantCell::cellIdentifier();
    auto cell = tableView.dequeueReusableCellWithIdentifier(identifier);
    if (!cell)
        if (auto listTable = this->tableView(); listTable && listTable.get() != &tableView)
            cell = listTable->dequeueReusableCellWithIdentifier(identifier);
    if (!cell) return cell;
    auto [controller, path] = controllerAndIndexPathForTableIndexPath(tableView, indexPath);
    if (controller && delegate && delegate->implementsFetchedResultControllerConfigureCell())
        delegate->fetchedResultController(*controller, *cell, path, *this);
    if (auto* participantCell = dynamic_cast<ParticipantCell*>(cell.get())) {
        std::weak_ptr<ListParticipantsBaseViewController> weak =
            std::static_pointer_cast<ListParticipantsBaseViewController>(shared_from_this());
        ParticipantRowActions::wireStar(*participantCell, [weak](uikit::UIControl& star) {
            if (auto screen = weak.lock()) screen->checkButtonTapped(star);
        });
    }
    return cell;
}

std::optional<double> ListParticipantsBaseViewController::tableViewHeightForRowAtIndexPath(uikit::UITableView&,
                                                                                         const uikit::NSIndexPath&) {
    return ParticipantCell::kRowHeight;
}

void ListParticipantsBaseViewController::tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView,
                                                                          const uikit::NSIndexPath& indexPath) {
    tableView.deselectRowAtIndexPath(indexPath, true);
    const auto& search = searchDisplayController();
    if (search && search->isActive() && &tableView == search->searchResultsTableView().get())
        if (auto bar = searchBar()) bar->resignFirstResponder();
    performSegueWithIdentifier(kDetailsSegue, tableView.cellForRowAtIndexPath(indexPath));
}

// --- The star ---

void ListParticipantsBaseViewController::checkButtonTapped(uikit::UIControl& star) {
    if (!ParticipantRowActions::checkReachableOrAlert()) return;
    auto table = getCurrentTableView();
    if (!table) return;
    auto indexPath = ParticipantRowActions::indexPathOfStar(star, *table);
    if (!indexPath) return;
    auto [controller, path] = controllerAndIndexPathForTableIndexPath(*table, *indexPath);
    if (!controller) return;
    auto participant = controller->objectAtIndexPath(participantsListStorePath(path)).objectAs<QVACoreDataParticipant>();
    if (!participant) return;
    auto* button = dynamic_cast<FavoriteButton*>(&star);
    const bool follow = !(button && button->isFavorite());
    const double heightBefore = table->contentSize().height;
    pendingHeightBeforeFollow_.reset();
    auto person = QVAFollowedParticipant::initWithId(participant->itemId(), participant->firstName(),
                                                     participant->lastName(), participant->fullName());
    const auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    std::weak_ptr<ListParticipantsBaseViewController> weak =
        std::static_pointer_cast<ListParticipantsBaseViewController>(shared_from_this());
    std::weak_ptr<uikit::UITableView> weakTable = table;
    QVAApiManager::sharedApiManager().setFavoriteStatus(
        follow, person, settings.currentAuthToken(), settings.currentEventId(),
        [weak, weakTable, heightBefore](const foundation::ErrorPtr& error, const foundation::Value&) {
            if (error) {
                foundation::Log(ParticipantRowActions::kFavoriteFailureLog);
                return;
            }
            auto compensate = [weak, weakTable, heightBefore] {
                auto screen = weak.lock();
                auto shown = weakTable.lock();
                if (!screen || !shown) return 0.0;
                const double difference = shown->contentSize().height - heightBefore;
                if (difference != 0) screen->scrollTableViewWithYOffsetDifference(*shown, difference);
                return difference;
            };
            // The save's reload may come after this answer: then the table
            // has its new height on the next turn of the main queue. When the
            // stored change reaches the main context later still, the next
            // store-save reload makes up for it.
            if (compensate() != 0) return;
            foundation::RunLoop::main().post([weak, heightBefore, compensate] {
                if (compensate() != 0) return;
                if (auto screen = weak.lock()) screen->pendingHeightBeforeFollow_ = heightBefore;
            });
        });
}

void ListParticipantsBaseViewController::scrollTableViewWithYOffsetDifference(uikit::UITableView& tableView,
                                                                              double difference) {
    tableView.setContentOffset({0, std::max(0.0, tableView.contentOffset().y + difference)});
}

// --- Details and filters ---

void ListParticipantsBaseViewController::prepareForSegue(uikit::UIStoryboardSegue& segue, const foundation::ObjectPtr& sender) {
    ListBaseViewController::prepareForSegue(segue, sender);
    if (segue.identifier() == kFiltersSegue) {
        auto popover = FilterScreenScenes::prepareListFiltersSegue(
            segue, [this](FiltersTableViewController& filters) { prepareForFiltersController(filters); });
        if (popover) popoverForFilters_ = std::move(popover);
        return;
    }
    if (segue.identifier() != kDetailsSegue) return;
    auto cell = std::dynamic_pointer_cast<uikit::UITableViewCell>(sender);
    const auto& search = searchDisplayController();
    const bool searching = search && search->isActive();
    auto table = searching ? search->searchResultsTableView() : tableView();
    if (!cell || !table) return;
    auto indexPath = table->indexPathForCell(*cell);
    if (!indexPath) return;
    auto [controller, path] = controllerAndIndexPathForTableIndexPath(*table, *indexPath);
    const auto& delegate = listDelegate();
    if (!controller || !delegate) return;
    const auto& counted = searching ? searchFetchedResultsController() : fetchedResultsController();
    const size_t rowCount = counted ? counted->fetchedObjects().size() : 0;
    auto destination = segue.destinationViewController();
    if (auto navigation = std::dynamic_pointer_cast<uikit::UINavigationController>(destination)) {
        destination = navigation->viewControllers().empty() ? nullptr : navigation->viewControllers().front();
    }
    if (Utils::isIPad())
        if (auto app = AppDelegate::sharedAppDelegate())
            if (const auto& split = app->eventsSplitVC()) split->hideLeftPopoverMenu();
    auto* details = dynamic_cast<DetailsScreenSupport*>(destination.get());
    if (!details) return;
    details->setInputs({delegate->getObjectIdForIndexPath(path, *controller),
                        std::string(QVACoreDataParticipant::kEntityName),
                        std::dynamic_pointer_cast<SwipeParentControllerProtocol>(shared_from_this()), *indexPath,
                        rowCount != 1});
}

std::shared_ptr<IdIndexPair> ListParticipantsBaseViewController::getNextIdIndexPathPairAndMoveSelectionInDirection(
    unsigned direction, const std::optional<std::string>& currentDetailId, const uikit::NSIndexPath& indexPath) {
    auto table = getCurrentTableView();
    const auto& delegate = listDelegate();
    if (!table || !delegate) return nullptr;
    auto [controller, path] = controllerAndIndexPathForTableIndexPath(*table, indexPath);
    if (!controller || delegate->getObjectIdForIndexPath(path, *controller) != currentDetailId) return nullptr;

    // The starred section and the list's sections are one ring, in table
    // order; a section with no rows is crossed.
    RowRing::Rules rules;
    rules.skipEmptySections = true;
    const RowRing ring([&](int64_t section) { return tableViewNumberOfRowsInSection(*table, section); },
                       numberOfSectionsInTableView(*table), rules);
    auto step = ring.step(direction, indexPath);
    if (!step) return nullptr;
    const auto target = *step;
    auto [targetController, targetPath] = controllerAndIndexPathForTableIndexPath(*table, target);
    if (!targetController) return nullptr;
    table->selectRowAtIndexPath(target, false, uikit::UITableViewScrollPosition::Middle);
    return std::make_shared<IdIndexPair>(target, delegate->getObjectIdForIndexPath(targetPath, *targetController),
                                         std::string(QVACoreDataParticipant::kEntityName));
}

std::optional<std::string> ListParticipantsBaseViewController::rightBarSegueIdentifier() {
    const auto& delegate = listDelegate();
    auto button = delegate ? delegate->rightBarButtonItem().value_or(nullptr) : nullptr;
    if (!button || button->segueIdentifier().empty()) return std::nullopt;
    return button->segueIdentifier();
}

void ListParticipantsBaseViewController::onRightBarButtonItemPressed(uikit::UIBarButtonItem& sender) {
    if (auto identifier = rightBarSegueIdentifier()) performSegueWithIdentifier(*identifier, sender.shared_from_this());
}

void ListParticipantsBaseViewController::headerFilterButtonPressed(const foundation::ObjectPtr& sender) {
    if (auto identifier = rightBarSegueIdentifier(); identifier && *identifier == kFiltersSegue)
        performSegueWithIdentifier(*identifier, sender);
}
