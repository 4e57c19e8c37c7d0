#include "maps/InteractiveMapsDetailsViewController.h"

#include <algorithm>

#include "Utils/Utils.h"
#include "dispatch/Queue.h"
#include "foundation/Format.h"
#include "foundation/NotificationCenter.h"
#include "graphics/MutablePath.h"
#include "graphics/ShapeLayer.h"
#include "maps/InteractiveMapsNotifications.h"
#include "maps/InteractiveMapsServices.h"
#include "maps/MapDisplayData.h"
#include "maps/MapFileKind.h"
#include "maps/MapScreenNavigation.h"
#include "model/QVAFloorLevel.h"
#include "model/QVAImapsLinksModel.h"
#include "model/QVAVenue.h"
#include "settings/ApplicationSettingsStore.h"
#include "store/CoreDataStack.h"
#include "store/FetchRequestUtils.h"
#include "svg/floorplan/SVGMapFolder.h"
#include "svg/image/SVGXImage.h"
#include "svg/views/SVGXFastImageView.h"
#include "uikit/UISegmentedControl.h"
#include "uikit/UIStoryboard.h"

namespace {

// The selector's height and the margin around it and the plan.
constexpr double kIndoorMapSelectorHeight = 29;
constexpr double kIndoorMapMargin = 8;

std::string indoorMapNumber(double value) { return foundation::Format("%g", value); }

}  // namespace

graphics::Color InteractiveMapsDetailsViewController::highlightColor() { return graphics::Color::rgb(1, 0.42, 0.1); }

graphics::Color InteractiveMapsDetailsViewController::positionMarkColor() {
    return graphics::Color::rgb(0.85, 0.1, 0.1);
}

void InteractiveMapsDetailsViewController::addScene(uikit::UIStoryboard& storyboard) {
    storyboard.addScene(kStoryboardIdentifier,
                        [](uikit::UIStoryboard&) { return std::make_shared<InteractiveMapsDetailsViewController>(); });
}

std::shared_ptr<InteractiveMapsDetailsViewController> InteractiveMapsDetailsViewController::navigateFromController(
    const std::shared_ptr<uikit::UIViewController>& source, int navType, const std::optional<std::string>& locationId,
    bool shouldWaitUntilPositionIsGot, bool hasPositionGotWhenComesFromSpotlight) {
    auto screen = instantiateViewController<InteractiveMapsDetailsViewController>();
    if (!screen) return nullptr;
    screen->setLocationId(locationId);
    screen->setShouldWaitUntilPositionIsGot(shouldWaitUntilPositionIsGot);
    screen->setHasPositionGotWhenComesFromSpotlight(hasPositionGotWhenComesFromSpotlight);
    MapScreenNavigation::present(source, navType, screen);
    return screen;
}

InteractiveMapsDetailsViewController::~InteractiveMapsDetailsViewController() {
    foundation::NotificationCenter::defaultCenter().removeObserver(this);
}

void InteractiveMapsDetailsViewController::viewDidLoad() {
    BaseViewController::viewDidLoad();
    Utils::changeEdgesForController(*this, uikit::UIRectEdgeNone);
    view()->setBackgroundColor(graphics::Color::white());

    floorSelector_ = std::make_shared<uikit::UISegmentedControl>();
    floorSelector_->setOutletName(std::string("floorSelector"));
    floorSelector_->setHidden(true);
    std::weak_ptr<InteractiveMapsDetailsViewController> weak =
        std::dynamic_pointer_cast<InteractiveMapsDetailsViewController>(shared_from_this());
    floorSelector_->addTarget(
        [weak](uikit::UIControl& control) {
            auto screen = weak.lock();
            auto& selector = static_cast<uikit::UISegmentedControl&>(control);
            if (screen && selector.selectedSegmentIndex() >= 0)
                screen->selectFloorAtIndex(static_cast<size_t>(selector.selectedSegmentIndex()));
        },
        uikit::UIControlEventValueChanged);
    view()->addSubview(floorSelector_);

    planContainer_ = std::make_shared<uikit::UIView>();
    planContainer_->setOutletName(std::string("planContainer"));
    planView_ = svg::SVGXFastImageView::initWithFrame({});
    planContainer_->addSubview(planView_);
    overlayLayer_ = std::make_shared<graphics::Layer>();
    overlayLayer_->setAnchorPoint({0, 0});
    planContainer_->layer()->addSublayer(overlayLayer_);
    view()->addSubview(planContainer_);
    observeMapsNotifications();
}

void InteractiveMapsDetailsViewController::viewWillAppear(bool animated) {
    BaseViewController::viewWillAppear(animated);
    showMapsWhenReady();
}

void InteractiveMapsDetailsViewController::viewDidLayoutSubviews() {
    BaseViewController::viewDidLayoutSubviews();
    layoutPlan();
}

// The service posts from whichever thread ends a run; the screen is the
// main thread's.
void InteractiveMapsDetailsViewController::observeMapsNotifications() {
    std::weak_ptr<InteractiveMapsDetailsViewController> weak =
        std::dynamic_pointer_cast<InteractiveMapsDetailsViewController>(shared_from_this());
    auto& center = foundation::NotificationCenter::defaultCenter();
    center.addObserver(
        this,
        [weak](const foundation::Notification&) {
            dispatch::Queue::main()->async([weak] {
                if (auto screen = weak.lock()) screen->mapsDidLoad();
            });
        },
        InteractiveMapsNotifications::kInteractiveMapsLoadedNotification);
    center.addObserver(
        this,
        [weak](const foundation::Notification&) {
            dispatch::Queue::main()->async([weak] {
                if (auto screen = weak.lock()) screen->mapsDidFail();
            });
        },
        InteractiveMapsNotifications::kInteractiveMapsFailedNotification);
}

void InteractiveMapsDetailsViewController::showMapsWhenReady() {
    if (planShown_ || waitingForMaps_) return;
    auto& maps = InteractiveMapsServices::instance();
    if (maps.canAccessInteractiveMaps()) {
        unavailable_ = false;
        removeNoResultsLabel();
        floors_ = floorsOfPrimaryVenue();
        if (floors_.empty()) return showUnavailable();
        planShown_ = true;
        auto display = maps.mapDisplayData();
        const size_t index = initialFloorIndex(*display);
        const MapDisplayPointOfInterest* room = locationId_ ? display->pointOfInterestForRoom(*locationId_) : nullptr;
        if (room && room->floorIdentifier != floors_[index].identifier) room = nullptr;
        floorSelector_->removeAllSegments();
        for (size_t i = 0; i < floors_.size(); ++i) floorSelector_->insertSegmentWithTitle(floors_[i].name, i, false);
        floorSelector_->setHidden(false);
        showFloor(index, room);
    } else if (ApplicationSettingsStore::sharedApplicationSettingsStore().currentEventIsDownloadingOrParsingIMaps()) {
        waitingForMaps_ = true;
        startProgress();
    } else {
        showUnavailable();
    }
}

void InteractiveMapsDetailsViewController::mapsDidLoad() {
    if (!waitingForMaps_) return;
    waitingForMaps_ = false;
    stopProgress();
    if (isViewLoaded()) showMapsWhenReady();
}

void InteractiveMapsDetailsViewController::mapsDidFail() {
    if (!waitingForMaps_) return;
    waitingForMaps_ = false;
    stopProgress();
    showUnavailable();
}

void InteractiveMapsDetailsViewController::showUnavailable() {
    unavailable_ = true;
    showNoResultsLabelWithText(kMapsNotAvailableText);
}

std::vector<InteractiveMapsDetailsViewController::Floor> InteractiveMapsDetailsViewController::floorsOfPrimaryVenue()
    const {
    std::vector<Floor> floors;
    auto stack = coreDataStack();
    const auto authCode = authenticationCode();
    const auto eventId = ApplicationSettingsStore::sharedApplicationSettingsStore().currentEventId();
    if (!stack || !authCode || !eventId) return floors;
    for (const auto& venue : FetchRequestUtils::getVenuesModelArrayInContext(stack->managedObjectContextMainQueue())) {
        if (!venue || !venue->primary()) continue;
        for (const auto& level : venue->floorLevels()) {
            if (!level) continue;
            for (const auto& link : level->interactiveMaps()) {
                if (!link || !link->relString()) continue;
                const std::string& file = *link->relString();
                if (MapFileKind::isRasterImage(
                        file, [&] { return svg::SVGMapFolder::pathOfSavedMapFile(file, *authCode, *eventId); }))
                    continue;
                floors.push_back({std::to_string(level->levelNumber()), level->name().value_or(""), file,
                                  level->isDefault()});
                break;
            }
        }
        break;
    }
    return floors;
}

// The room's floor, else the floor of the position the home screen
// found, else the venue's default level, else its first.
size_t InteractiveMapsDetailsViewController::initialFloorIndex(const MapDisplayData& display) const {
    auto indexOf = [&](const std::optional<std::string>& identifier) -> std::optional<size_t> {
        for (size_t i = 0; i < floors_.size(); ++i)
            if (identifier == floors_[i].identifier) return i;
        return std::nullopt;
    };
    if (locationId_)
        if (const auto* room = display.pointOfInterestForRoom(*locationId_))
            if (auto index = indexOf(room->floorIdentifier)) return *index;
    if (hasPositionGot_) {
        const std::string beacon = InteractiveMapsServices::instance().currentBeaconIdentifierGlobal();
        auto floor = display.beaconFloors.find(beacon);
        if (!beacon.empty() && floor != display.beaconFloors.end())
            if (auto index = indexOf(floor->second)) return *index;
    }
    for (size_t i = 0; i < floors_.size(); ++i)
        if (floors_[i].isDefault) return i;
    return 0;
}

void InteractiveMapsDetailsViewController::selectFloorAtIndex(size_t index) {
    if (!planShown_ || index >= floors_.size()) return;
    showFloor(index, nullptr);
}

void InteractiveMapsDetailsViewController::showFloor(size_t index, const MapDisplayPointOfInterest* room) {
    const Floor& floor = floors_.at(index);
    shownFloor_ = index;
    floorSelector_->setSelectedSegmentIndex(static_cast<int64_t>(index));
    highlightedRoom_.reset();
    highlightLayer_.reset();
    positionMark_.reset();
    overlayLayer_->setSublayers({});

    const auto authCode = authenticationCode().value_or("");
    const auto eventId = ApplicationSettingsStore::sharedApplicationSettingsStore().currentEventId().value_or("");
    image_ = svg::SVGXImage::imageNamed(floor.fileName, authCode, eventId);
    planView_->setImage(image_);
    if (!image_) {
        showUnavailable();
        return;
    }
    unavailable_ = false;
    removeNoResultsLabel();

    if (room && room->identifier) {
        highlightLayer_ = image_->newCopyPositionedAbsoluteLayerWithIdentifier(*room->identifier, highlightColor());
        if (highlightLayer_) {
            highlightedRoom_ = room->identifier;
            overlayLayer_->addSublayer(highlightLayer_);
        }
    }
    setTitle(room && room->title ? *room->title : floor.name);

    auto& maps = InteractiveMapsServices::instance();
    const std::string beacon = maps.currentBeaconIdentifierGlobal();
    auto display = maps.mapDisplayData();
    auto beaconFloor = display->beaconFloors.find(beacon);
    if (!beacon.empty() && beaconFloor != display->beaconFloors.end() && beaconFloor->second == floor.identifier) {
        if (const auto* node = display->nodeNamed(beacon, floor.identifier)) {
            positionMark_ = node->position;
            auto mark = std::make_shared<graphics::ShapeLayer>();
            auto path = std::make_shared<graphics::MutablePath>();
            path->addEllipseInRect({node->position.x - kPositionMarkRadius, node->position.y - kPositionMarkRadius,
                                    2 * kPositionMarkRadius, 2 * kPositionMarkRadius});
            mark->setPath(path);
            mark->setFillColor(positionMarkColor());
            mark->setStrokeColor(graphics::Color::white());
            mark->setLineWidth(2);
            overlayLayer_->addSublayer(mark);
        }
    }
    layoutPlan();
}

void InteractiveMapsDetailsViewController::layoutPlan() {
    if (!isViewLoaded() || !planContainer_) return;
    const graphics::Rect bounds = view()->bounds();
    floorSelector_->setFrame(
        {kIndoorMapMargin, kIndoorMapMargin, bounds.size.width - 2 * kIndoorMapMargin, kIndoorMapSelectorHeight});
    const double top = 2 * kIndoorMapMargin + kIndoorMapSelectorHeight;
    const double width = bounds.size.width - 2 * kIndoorMapMargin;
    const double height = bounds.size.height - top - kIndoorMapMargin;
    if (!image_ || !image_->hasSize() || image_->size().width <= 0 || image_->size().height <= 0 || width <= 0 ||
        height <= 0) {
        planContainer_->setFrame({kIndoorMapMargin, top, std::max(width, 0.0), 0});
        return;
    }
    const graphics::Size size = image_->size();
    const double scale = std::min(width / size.width, height / size.height);
    planContainer_->setFrame({kIndoorMapMargin, top, size.width * scale, size.height * scale});
    planView_->setFrame(planContainer_->bounds());
    overlayLayer_->setBounds({0, 0, size.width, size.height});
    overlayLayer_->setPosition({0, 0});
    overlayLayer_->setAffineTransform(graphics::AffineTransform::makeScale(scale, scale));
}

std::optional<graphics::Rect> InteractiveMapsDetailsViewController::highlightedRoomFrame() const {
    if (!highlightLayer_) return std::nullopt;
    return highlightLayer_->frame();
}

std::vector<std::pair<std::string, std::string>> InteractiveMapsDetailsViewController::screenDescriptionItems() const {
    std::vector<std::pair<std::string, std::string>> items;
    if (waitingForMaps_) items.emplace_back("maps", "loading");
    if (unavailable_) items.emplace_back("maps", "not available");
    if (!shownFloor_) return items;
    items.emplace_back("floor", floors_[*shownFloor_].name);
    items.emplace_back("room", highlightedRoom_.value_or("none"));
    if (auto frame = highlightedRoomFrame())
        items.emplace_back("roomFrame", "(" + indoorMapNumber(frame->origin.x) + ", " + indoorMapNumber(frame->origin.y) +
                                            ", " + indoorMapNumber(frame->size.width) + ", " +
                                            indoorMapNumber(frame->size.height) + ")");
    items.emplace_back("position", positionMark_ ? "(" + indoorMapNumber(positionMark_->x) + ", " +
                                                       indoorMapNumber(positionMark_->y) + ")"
                                                 : std::string("none"));
    return items;
}
