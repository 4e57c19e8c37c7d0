#include "maps/LocationDetailsViewController.h"

#include "Utils/QVARegistrableCell.h"
#include "Utils/Utils.h"
#include "coredata/ManagedObject.h"
#include "lists/DetailsBarLook.h"
#include "lists/DetailNavigationCell.h"
#include "lists/DetailsSwipeScene.h"
#include "maps/InteractiveMapsDetailsViewController.h"
#include "maps/LocationSessionsListDelegate.h"
#include "maps/MapScreenNavigation.h"
#include "maps/OutsideMapsViewController.h"
#include "model/QVACoreDataRoom.h"
#include "model/QVACoreDataVenue.h"
#include "model/QVARoom.h"
#include "model/QVAVenue.h"
#include "programme/ListSessionsBaseViewController.h"
#include "store/CoreDataStack.h"
#include "store/FetchRequestUtils.h"
#include "uikit/UIFont.h"
#include "uikit/UIImage.h"
#include "uikit/UINavigationBar.h"
#include "uikit/UINavigationController.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UITableView.h"

namespace {

std::optional<std::string> locationDetailsText(const coredata::ManagedObject& object, const char* key) {
    const foundation::Value value = object.valueForKey(key);
    if (const auto* text = value.string()) return *text;
    return std::nullopt;
}

}  // namespace

void LocationDetailsViewController::addScene(uikit::UIStoryboard& storyboard) {
    DetailsSwipeScene::addScene(storyboard, kStoryboardIdentifier,
                                [] { return std::make_shared<LocationDetailsViewController>(); });
}

std::shared_ptr<LocationDetailsViewController> LocationDetailsViewController::navigateFromController(
    const std::shared_ptr<uikit::UIViewController>& source, int navType, const std::string& entityName,
    const std::optional<std::string>& itemId) {
    auto screen = instantiateViewController<LocationDetailsViewController>();
    if (!screen) return nullptr;
    screen->setEntityName(entityName);
    screen->setSelectionPropertyId(itemId);
    MapScreenNavigation::present(source, navType, screen);
    return screen;
}

std::shared_ptr<uikit::UIViewController> LocationDetailsViewController::self() {
    return std::dynamic_pointer_cast<uikit::UIViewController>(shared_from_this());
}

void LocationDetailsViewController::loadView() {
    // From the storyboard: the scene's view with its swipe recognisers.
    DetailsWithListBaseViewController::loadView();
    auto root = isViewLoaded() ? view() : std::make_shared<uikit::UIView>(graphics::Rect(0, 0, 320, 480));
    root->setBackgroundColor(graphics::Color::white());
    table_ = std::make_shared<uikit::UITableView>(root->bounds());
    table_->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth | uikit::UIViewAutoresizingFlexibleHeight);
    table_->setOutletName(std::string("tableView"));
    Utils::registerCellNibs({QVARegistrableCell::of<DetailNavigationCell>()}, *table_);
    root->addSubview(table_);
    setView(root);
    setTableView(table_);
}

void LocationDetailsViewController::viewDidLoad() {
    auto me = std::dynamic_pointer_cast<LocationDetailsViewController>(shared_from_this());
    table_->setDataSource(me);
    table_->setDelegate(me);
    DetailsWithListBaseViewController::viewDidLoad();
    styleOpaqueBar();
}

void LocationDetailsViewController::viewWillAppear(bool animated) {
    DetailsWithListBaseViewController::viewWillAppear(animated);
    styleOpaqueBar();
}

void LocationDetailsViewController::scrollViewDidScroll(uikit::UIScrollView& scrollView) {
    DetailsWithListBaseViewController::scrollViewDidScroll(scrollView);
    styleOpaqueBar();
}

void LocationDetailsViewController::styleOpaqueBar() {
    auto navigation = navigationController();
    if (!navigation) return;
    // No header shows through the bar: it is the app's own bar, with its
    // back button and title, over the rows rather than under them.
    auto bar = navigation->navigationBar();
    DetailsBarLook::showKept(bar);
    bar->setTranslucent(false);
    if (place_) navigationItem()->setTitle(place_->title);
}

std::vector<std::string> LocationDetailsViewController::entitiesArrayToObserveForFilteringUIUpdates() {
    return {QVACoreDataRoom::kEntityName, QVACoreDataVenue::kEntityName};
}

std::optional<LocationDetailsViewController::Place> LocationDetailsViewController::placeForObject(
    const coredata::ManagedObject& object) const {
    auto stack = coreDataStack();
    if (!stack) return std::nullopt;
    const auto& context = stack->managedObjectContextMainQueue();
    const auto itemId = locationDetailsText(object, "itemId");
    if (!itemId) return std::nullopt;
    Place place;
    place.name = locationDetailsText(object, "name").value_or("");
    std::optional<std::string> venueId = itemId;
    if (entityName() == QVACoreDataRoom::kEntityName) {
        place.roomId = itemId;
        place.roomIds = {*itemId};
        venueId = locationDetailsText(object, "venueId");
        place.title = Utils::currentLocationForObject(foundation::Value::dictionary({{"roomId", *itemId}}), context)
                          .value_or(place.name);
    } else {
        place.title = place.name;
        for (const auto& room : FetchRequestUtils::getRoomsModelArrayInContext(context))
            if (room && room->itemId() && room->venueId() == itemId) place.roomIds.push_back(*room->itemId());
    }
    for (const auto& venue : FetchRequestUtils::getVenuesModelArrayInContext(context))
        if (venue && venueId && venue->itemId() == venueId) place.venue = venue;
    return place;
}

void LocationDetailsViewController::updateUIContentForObject(const std::shared_ptr<coredata::ManagedObject>& object) {
    place_ = object ? placeForObject(*object) : std::nullopt;
    rows_.clear();
    if (place_) buildRows(*place_);
    setTitle(place_ ? std::optional<std::string>(place_->title) : std::nullopt);
    styleOpaqueBar();
    if (auto table = tableView()) table->reloadData();
}

void LocationDetailsViewController::buildRows(const Place& place) {
    auto sessions = std::make_shared<DetailsNavigationDataModel>();
    sessions->selectionPropertyId = selectionPropertyId();
    sessions->entityName = entityName();
    sessions->cellTitle = kSessionsRowTitle;
    sessions->viewControllerTitle = place.name;
    sessions->storyboardIdentifier = ListSessionsBaseViewController::kStoryboardIdentifier;
    sessions->controllerListDelegateClassType = {
        "LocationSessionsListDelegate", [name = place.name, rooms = place.roomIds] {
            return std::make_shared<LocationSessionsListDelegate>(name, rooms);
        }};
    sessions->isNavigationEnabled = true;
    sessions->iconName = std::string(kSessionsRowIcon);

    auto map = std::make_shared<DetailsNavigationDataModel>();
    map->selectionPropertyId = selectionPropertyId();
    map->entityName = entityName();
    map->cellTitle = kShowOnMapRowTitle;
    map->viewControllerTitle = place.venue ? place.venue->name() : std::nullopt;
    const bool indoor = place.venue && place.venue->primary() && !place.venue->floorLevels().empty();
    map->storyboardIdentifier = indoor ? InteractiveMapsDetailsViewController::kStoryboardIdentifier
                                       : OutsideMapsViewController::kStoryboardIdentifier;
    map->isNavigationEnabled = true;
    map->iconName = std::string(kShowOnMapRowIcon);
    rows_ = {sessions, map};
}

void LocationDetailsViewController::pushNavigationWithDetailsDataModel(
    const std::shared_ptr<DetailsNavigationDataModel>& model) {
    if (!model || !place_) return;
    const int navType = MapScreenNavigation::navTypeForDevice();
    const auto identifier = model->storyboardIdentifier.value_or("");
    if (identifier == ListSessionsBaseViewController::kStoryboardIdentifier) {
        auto list = instantiateViewController<ListSessionsBaseViewController>();
        if (!list) return;
        if (model->controllerListDelegateClassType) list->setListDelegate(model->controllerListDelegateClassType.make());
        list->setIsPullToRefreshEnabled(false);
        MapScreenNavigation::present(self(), navType, list);
    } else if (identifier == InteractiveMapsDetailsViewController::kStoryboardIdentifier) {
        InteractiveMapsDetailsViewController::navigateFromController(self(), navType, place_->roomId, false, false);
    } else if (identifier == OutsideMapsViewController::kStoryboardIdentifier) {
        OutsideMapsViewController::navigateFromController(self(), navType,
                                                          place_->venue ? place_->venue->name() : std::nullopt);
    }
}

int64_t LocationDetailsViewController::numberOfSectionsInTableView(uikit::UITableView&) { return 1; }

int64_t LocationDetailsViewController::tableViewNumberOfRowsInSection(uikit::UITableView&, int64_t) {
    return static_cast<int64_t>(rows_.size());
}

uikit::UITableViewCellPtr LocationDetailsViewController::tableViewCellForRowAtIndexPath(
    uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) {
    auto cell = tableView.dequeueReusableCellWithIdentifier(DetailNavigationCell::cellIdentifier(), indexPath);
    if (auto navigationCell = std::dynamic_pointer_cast<DetailNavigationCell>(cell))
        navigationCell->configureWithDataModel(*rows_.at(static_cast<size_t>(indexPath.row)));
    return cell;
}

std::optional<double> LocationDetailsViewController::tableViewHeightForRowAtIndexPath(uikit::UITableView&,
                                                                                     const uikit::NSIndexPath&) {
    return kRowHeight;
}

std::optional<double> LocationDetailsViewController::tableViewHeightForHeaderInSection(uikit::UITableView&, int64_t) {
    return 0;
}

void LocationDetailsViewController::tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView,
                                                                    const uikit::NSIndexPath& indexPath) {
    tableView.deselectRowAtIndexPath(indexPath, true);
    if (indexPath.row < 0 || static_cast<size_t>(indexPath.row) >= rows_.size()) return;
    const auto& row = rows_[static_cast<size_t>(indexPath.row)];
    if (row->isNavigationEnabled) pushNavigationWithDetailsDataModel(row);
}

std::vector<std::pair<std::string, std::string>> LocationDetailsViewController::screenDescriptionItems() const {
    return {{"location", place_ ? place_->title : std::string("none")}};
}
