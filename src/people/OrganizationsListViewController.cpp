#include "people/OrganizationsListViewController.h"

#include "app/AppStoryboards.h"
#include "app/CustomSegmentedNavigationController.h"
#include "foundation/MainThreadChecker.h"
#include "lists/DetailsNavigationController.h"
#include "lists/SwipeParentControllerProtocol.h"
#include "model/QVACoreDataOrganization.h"
#include "people/OrganizationCell.h"
#include "people/OrganizationDetailsViewController.h"
#include "people/OrganizationsListDelegate.h"
#include "uikit/UINavigationController.h"
#include "uikit/UINavigationItem.h"
#include "uikit/UINib.h"
#include "uikit/UISearchBar.h"
#include "uikit/UISearchDisplayController.h"
#include "uikit/UISegmentedControl.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UIStoryboardSegue.h"

OrganizationsListViewController::OrganizationsListViewController() {
    setListDelegate(std::make_shared<OrganizationsListDelegate>());
    setIsPullToRefreshEnabled(true);
}

void OrganizationsListViewController::addScene(uikit::UIStoryboard& storyboard) {
    storyboard.addScene(kStoryboardIdentifier,
                        [](uikit::UIStoryboard&) { return std::make_shared<OrganizationsListViewController>(); });
    if (storyboard.name() == AppStoryboards::kPadStoryboardName) {
        storyboard.addSegue(kStoryboardIdentifier,
                            uikit::UIStoryboardSegueDefinition::custom(
                                kDetailsSegue, OrganizationDetailsViewController::kStoryboardIdentifier,
                                [](const uikit::UIViewControllerPtr&, const uikit::UIViewControllerPtr& details) {
                                    DetailsNavigationController::showInSplitViewDetail(details);
                                }));
        return;
    }
    uikit::UIStoryboardSegueDefinition push;
    push.identifier = kDetailsSegue;
    push.kind = uikit::UIStoryboardSegueKind::Push;
    push.destination = OrganizationDetailsViewController::kStoryboardIdentifier;
    storyboard.addSegue(kStoryboardIdentifier, push);
}

void OrganizationsListViewController::loadView() {
    auto root = std::make_shared<uikit::UIView>(graphics::Rect(0, 0, 320, 480));
    root->setBackgroundColor(graphics::Color::white());
    auto bar = std::make_shared<uikit::UISearchBar>(graphics::Rect(0, 0, 320, uikit::UISearchBar::kBarHeight));
    bar->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth);
    auto table = std::make_shared<uikit::UITableView>(root->bounds());
    table->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth | uikit::UIViewAutoresizingFlexibleHeight);
    table->setTableHeaderView(bar);
    root->addSubview(table);
    setView(root);
    setTableView(table);
    setSearchBar(bar);
    uikit::UISearchDisplayController::create(bar, std::static_pointer_cast<uikit::UIViewController>(shared_from_this()));
}

void OrganizationsListViewController::viewDidLoad() {
    auto self = std::dynamic_pointer_cast<OrganizationsListViewController>(shared_from_this());
    if (auto table = tableView()) {
        table->setDataSource(self);
        table->setDelegate(self);
        table->registerNib(uikit::UINib::nibWithNibName(OrganizationCell::cellNibName()), OrganizationCell::cellIdentifier());
    }
    if (const auto& search = searchDisplayController()) {
        search->answerWith(self);
        if (auto results = search->searchResultsTableView())
            results->registerNib(uikit::UINib::nibWithNibName(OrganizationCell::cellNibName()),
                                 OrganizationCell::cellIdentifier());
    }
    ListBaseViewController::viewDidLoad();
    if (auto container = std::dynamic_pointer_cast<CustomSegmentedNavigationController>(navigationController()))
        if (const auto& control = container->sc()) navigationItem()->setTitleView(control);
    refreshFetchedResultsControllersAndTables();
}

std::shared_ptr<const coredata::Predicate> OrganizationsListViewController::fetchPredicate() {
    auto delegate = listDelegate();
    auto predicate = delegate ? delegate->fetchPredicate() : std::nullopt;
    return predicate ? *predicate : ListBaseViewController::fetchPredicate();
}

ListBaseViewController::Filters OrganizationsListViewController::getFilterCollection() {
    auto delegate = listDelegate();
    return delegate ? delegate->filtersCollection().value_or(Filters{}) : Filters{};
}

std::vector<std::string> OrganizationsListViewController::entitiesArrayToObserveForFilteringUIUpdates() {
    auto delegate = listDelegate();
    return delegate ? delegate->entitiesArrayToObserveForFilteringUIUpdates().value_or(std::vector<std::string>{})
                    : std::vector<std::string>{};
}

void OrganizationsListViewController::onPullToRefreshExecuted() {
    if (auto delegate = listDelegate()) delegate->refreshContentWhenPulledToRefresh();
}

void OrganizationsListViewController::updateUiContentBecauseItsNeeded() {
    foundation::requireMainThread("", kOffMainThreadUpdateException);
    refreshFetchedResultsControllersAndTables();
}

std::optional<double> OrganizationsListViewController::tableViewHeightForRowAtIndexPath(uikit::UITableView&,
                                                                                        const uikit::NSIndexPath&) {
    return OrganizationCell::kRowHeight;
}

std::vector<std::string> OrganizationsListViewController::sectionIndexTitlesForTableView(uikit::UITableView& tableView) {
    std::vector<std::string> titles;
    if (auto* controller = fetchedResultsControllerForTableView(tableView))
        for (const auto& section : controller->sections()) titles.push_back(section.name);
    return titles;
}

void OrganizationsListViewController::tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView,
                                                                       const uikit::NSIndexPath& indexPath) {
    tableView.deselectRowAtIndexPath(indexPath, true);
    const auto& search = searchDisplayController();
    if (search && search->isActive() && &tableView == search->searchResultsTableView().get())
        if (auto bar = searchBar()) bar->resignFirstResponder();
    performSegueWithIdentifier(kDetailsSegue, tableView.cellForRowAtIndexPath(indexPath));
}

void OrganizationsListViewController::prepareForSegue(uikit::UIStoryboardSegue& segue, const foundation::ObjectPtr& sender) {
    ListBaseViewController::prepareForSegue(segue, sender);
    if (segue.identifier() != kDetailsSegue) return;
    auto cell = std::dynamic_pointer_cast<uikit::UITableViewCell>(sender);
    const auto& search = searchDisplayController();
    auto table = search && search->isActive() ? search->searchResultsTableView() : tableView();
    if (!cell || !table) return;
    auto indexPath = table->indexPathForCell(*cell);
    auto* controller = fetchedResultsControllerForTableView(*table);
    auto delegate = listDelegate();
    if (!indexPath || !controller || !delegate) return;
    auto destination = segue.destinationViewController();
    if (auto navigation = std::dynamic_pointer_cast<uikit::UINavigationController>(destination))
        destination = navigation->viewControllers().empty() ? nullptr : navigation->viewControllers().front();
    auto details = std::dynamic_pointer_cast<DetailsScreenSupport>(destination);
    if (!details) return;
    details->setInputs({delegate->getObjectIdForIndexPath(*indexPath, *controller),
                        std::string(QVACoreDataOrganization::kEntityName),
                        std::dynamic_pointer_cast<SwipeParentControllerProtocol>(shared_from_this()), *indexPath,
                        controller->fetchedObjects().size() != 1});
}
