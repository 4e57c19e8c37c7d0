#include "maps/OutsideMapsViewController.h"

#include <cmath>

#include "Utils/Utils.h"
#include "foundation/Format.h"
#include "maps/LocationCellTableViewCell.h"
#include "maps/LocationDetailsViewController.h"
#include "maps/MapScreenNavigation.h"
#include "maps/VenuePlaneView.h"
#include "model/QVACoreDataVenue.h"
#include "model/QVAVenue.h"
#include "store/CoreDataStack.h"
#include "store/FetchRequestUtils.h"
#include "uikit/UILabel.h"
#include "uikit/UIStoryboard.h"

void OutsideMapsViewController::addScene(uikit::UIStoryboard& storyboard) {
    storyboard.addScene(kStoryboardIdentifier,
                        [](uikit::UIStoryboard&) { return std::make_shared<OutsideMapsViewController>(); });
    storyboard.addPrototypeCell(kStoryboardIdentifier, kCellIdentifier,
                                [] { return LocationCellTableViewCell::makePrototype(kCellIdentifier); });
}

std::shared_ptr<OutsideMapsViewController> OutsideMapsViewController::navigateFromController(
    const std::shared_ptr<uikit::UIViewController>& source, int navType,
    const std::optional<std::string>& preselectedBuildingName) {
    auto screen = instantiateViewController<OutsideMapsViewController>();
    if (!screen) return nullptr;
    screen->setPreselectedBuildingName(preselectedBuildingName);
    MapScreenNavigation::present(source, navType, screen);
    return screen;
}

void OutsideMapsViewController::viewDidLoad() {
    BaseViewController::viewDidLoad();
    // The rows start under the bar rather than behind it.
    Utils::changeEdgesForController(*this, uikit::UIRectEdgeNone);
    view()->setBackgroundColor(graphics::Color::white());
    // The plane above, the list below; both keep their share as the screen turns.
    const graphics::Rect bounds = view()->bounds();
    const double planeHeight = std::round(bounds.height() * kPlaneShare);
    planeView_ = std::make_shared<VenuePlaneView>(graphics::Rect(0, 0, bounds.width(), planeHeight));
    planeView_->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth | uikit::UIViewAutoresizingFlexibleHeight |
                                    uikit::UIViewAutoresizingFlexibleBottomMargin);
    view()->addSubview(planeView_);
    tableView_ = std::make_shared<uikit::UITableView>(
        graphics::Rect(0, planeHeight, bounds.width(), bounds.height() - planeHeight));
    tableView_->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth | uikit::UIViewAutoresizingFlexibleHeight |
                                    uikit::UIViewAutoresizingFlexibleTopMargin);
    tableView_->registerPrototypeCells(*this);
    auto self = std::dynamic_pointer_cast<OutsideMapsViewController>(shared_from_this());
    tableView_->setDataSource(self);
    tableView_->setDelegate(self);
    view()->addSubview(tableView_);
    reloadVenues();
}

void OutsideMapsViewController::viewWillAppear(bool animated) {
    BaseViewController::viewWillAppear(animated);
    reloadVenues();
}

void OutsideMapsViewController::reloadVenues() {
    auto stack = coreDataStack();
    venues_.clear();
    if (stack)
        for (auto& venue : FetchRequestUtils::getVenuesModelArrayInContext(stack->managedObjectContextMainQueue()))
            if (venue) venues_.push_back(std::move(venue));
    if (!tableView_) return;
    tableView_->reloadData();
    std::optional<uikit::NSIndexPath> preselected;
    for (size_t row = 0; row < venues_.size() && preselectedBuildingName_; ++row) {
        if (venues_[row]->name() == preselectedBuildingName_) {
            preselected = uikit::NSIndexPath{0, static_cast<int64_t>(row)};
            break;
        }
    }
    tableView_->selectRowAtIndexPath(preselected, false, uikit::UITableViewScrollPosition::None);
    std::vector<VenuePlaneView::Pin> pins;
    pins.reserve(venues_.size());
    for (const auto& venue : venues_) pins.push_back({venue->name().value_or(""), venue->latitude(), venue->longitude()});
    planeView_->setPins(std::move(pins),
                        preselected ? std::optional<size_t>(static_cast<size_t>(preselected->row)) : std::nullopt);
}

int64_t OutsideMapsViewController::tableViewNumberOfRowsInSection(uikit::UITableView&, int64_t) {
    return static_cast<int64_t>(venues_.size());
}

uikit::UITableViewCellPtr OutsideMapsViewController::tableViewCellForRowAtIndexPath(uikit::UITableView& tableView,
                                                                                    const uikit::NSIndexPath& indexPath) {
    auto cell = std::dynamic_pointer_cast<LocationCellTableViewCell>(
        tableView.dequeueReusableCellWithIdentifier(kCellIdentifier, indexPath));
    if (!cell) return nullptr;
    const auto& venue = venues_.at(static_cast<size_t>(indexPath.row));
    if (cell->locationName()) cell->locationName()->setText(venue->name());
    if (cell->venueName())
        cell->venueName()->setText(foundation::Format(kCoordinatesFormat, venue->latitude(), venue->longitude()));
    return cell;
}

std::optional<double> OutsideMapsViewController::tableViewHeightForRowAtIndexPath(uikit::UITableView&,
                                                                                  const uikit::NSIndexPath&) {
    return LocationCellTableViewCell::kRowHeight;
}

void OutsideMapsViewController::tableViewDidSelectRowAtIndexPath(uikit::UITableView&,
                                                                 const uikit::NSIndexPath& indexPath) {
    if (indexPath.row < 0 || static_cast<size_t>(indexPath.row) >= venues_.size()) return;
    LocationDetailsViewController::navigateFromController(std::dynamic_pointer_cast<uikit::UIViewController>(shared_from_this()),
                                                          MapScreenNavigation::navTypeForDevice(),
                                                          QVACoreDataVenue::kEntityName,
                                                          venues_[static_cast<size_t>(indexPath.row)]->itemId());
}

std::vector<std::pair<std::string, std::string>> OutsideMapsViewController::screenDescriptionItems() const {
    std::string selected = "none";
    if (tableView_)
        if (auto row = tableView_->indexPathForSelectedRow();
            row && row->row >= 0 && static_cast<size_t>(row->row) < venues_.size())
            selected = venues_[static_cast<size_t>(row->row)]->name().value_or("");
    return {{"venues", std::to_string(venues_.size())}, {"selectedVenue", selected}};
}
