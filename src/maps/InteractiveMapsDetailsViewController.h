// The indoor map: one floor plan of the primary venue at a time, with a
// selector of the venue's floors, the room asked for drawn over the plan in
// the highlight colour and the user's position marked where the current
// beacon is on the shown floor.
//
// What it reads of the loaded maps is the copy the last parse run left for
// the main thread (MapDisplayData); the plan itself is the image the run
// loaded through the SVG image cache, parsed again outside a run when the
// cache was emptied meanwhile. While the maps are not in memory it waits
// under the progress overlay for the maps service's notification, or says
// the maps are not available.
//
// Scene "InteractiveMapsDetailsViewController" (addScene). Main thread only.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/BaseViewController.h"
#include "graphics/Color.h"
#include "graphics/Geometry.h"
#include "graphics/Layer.h"

struct MapDisplayData;
struct MapDisplayPointOfInterest;

namespace svg {
class SVGXFastImageView;
class SVGXImage;
}  // namespace svg

namespace uikit {
class UISegmentedControl;
class UIStoryboard;
}  // namespace uikit

class InteractiveMapsDetailsViewController : public BaseViewController {
public:
    static constexpr const char* kStoryboardIdentifier = "InteractiveMapsDetailsViewController";
    static constexpr const char* kTitle = "Indoor map";
    // Said when the meeting has no maps or they failed to load.
    static constexpr const char* kMapsNotAvailableText = "Interactive maps are not available.";
    // The radius of the position mark, in plan units, large enough to
    // be seen on a plan scaled down to the phone's width.
    static constexpr double kPositionMarkRadius = 8;
    // One colour that stands out against the plans' blues and greys.
    static graphics::Color highlightColor();
    static graphics::Color positionMarkColor();
    static Text storyboardIdentifier() { return std::string(kStoryboardIdentifier); }
    static void addScene(uikit::UIStoryboard& storyboard);

    // One floor of the selector: a level of the primary venue with its SVG
    // plan (its raster background, if any, is not a floor of its own).
    struct Floor {
        std::string identifier;  // the level number, as the parse runs name floors
        std::string name;
        std::string fileName;
        bool isDefault = false;
    };

    // Type 0 pushes the map on the source's navigation controller, type 1
    // makes it the pad's split-view detail; any other type only returns it.
    // The location is a room id; waiting for a position is not built, so the
    // flag is kept only.
    static std::shared_ptr<InteractiveMapsDetailsViewController> navigateFromController(
        const std::shared_ptr<uikit::UIViewController>& source, int navType,
        const std::optional<std::string>& locationId, bool shouldWaitUntilPositionIsGot,
        bool hasPositionGotWhenComesFromSpotlight);

    const std::optional<std::string>& locationId() const { return locationId_; }
    void setLocationId(std::optional<std::string> locationId) { locationId_ = std::move(locationId); }
    bool shouldWaitUntilPositionIsGot() const { return shouldWaitUntilPositionIsGot_; }
    void setShouldWaitUntilPositionIsGot(bool wait) { shouldWaitUntilPositionIsGot_ = wait; }
    bool hasPositionGotWhenComesFromSpotlight() const { return hasPositionGot_; }
    void setHasPositionGotWhenComesFromSpotlight(bool got) { hasPositionGot_ = got; }

    // --- What is shown ---
    const std::vector<Floor>& floors() const { return floors_; }
    std::optional<size_t> shownFloorIndex() const { return shownFloor_; }
    bool isWaitingForMaps() const { return waitingForMaps_; }
    const std::optional<std::string>& highlightedRoomIdentifier() const { return highlightedRoom_; }
    std::optional<graphics::Rect> highlightedRoomFrame() const;
    const graphics::LayerPtr& highlightLayer() const { return highlightLayer_; }
    std::optional<graphics::Point> positionMark() const { return positionMark_; }
    const std::shared_ptr<svg::SVGXFastImageView>& planView() const { return planView_; }
    const std::shared_ptr<uikit::UISegmentedControl>& floorSelector() const { return floorSelector_; }
    // The selector's action: that floor, with no room.
    void selectFloorAtIndex(size_t index);

    ~InteractiveMapsDetailsViewController() override;
    Text vcTitle() const override { return std::string(kTitle); }
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidLayoutSubviews() override;
    std::vector<std::pair<std::string, std::string>> screenDescriptionItems() const override;
    std::string className() const override { return "InteractiveMapsDetailsViewController"; }

private:
    // On appearing until the plan shows: the plan, the overlay, or the text.
    void showMapsWhenReady();
    void mapsDidLoad();
    void mapsDidFail();
    void showUnavailable();
    void observeMapsNotifications();
    std::vector<Floor> floorsOfPrimaryVenue() const;
    size_t initialFloorIndex(const MapDisplayData& display) const;
    void showFloor(size_t index, const MapDisplayPointOfInterest* room);
    // The plan scaled to fit under the selector, the overlay with it.
    void layoutPlan();

    std::optional<std::string> locationId_;
    bool shouldWaitUntilPositionIsGot_ = false;
    bool hasPositionGot_ = false;

    bool waitingForMaps_ = false;
    bool planShown_ = false;
    bool unavailable_ = false;
    std::vector<Floor> floors_;
    std::optional<size_t> shownFloor_;
    std::shared_ptr<svg::SVGXImage> image_;
    std::optional<std::string> highlightedRoom_;
    graphics::LayerPtr highlightLayer_;
    std::optional<graphics::Point> positionMark_;

    std::shared_ptr<uikit::UISegmentedControl> floorSelector_;
    std::shared_ptr<uikit::UIView> planContainer_;
    std::shared_ptr<svg::SVGXFastImageView> planView_;
    // In plan units, scaled with the plan: the room copy and the mark.
    graphics::LayerPtr overlayLayer_;
};
