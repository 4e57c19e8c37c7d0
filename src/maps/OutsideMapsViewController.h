// The outdoor venue map. With no map framework or tiles on this platform the
// map is a plain plane with a named pin per stored venue (VenuePlaneView)
// over a list with one row per venue, its name and coordinates; the venue
// named by the preselected building name is selected in both. Tapping a
// venue's row opens its location details. Opened by the class-wide navigate operation
// (where-am-I, the location details) and by the More tab's maps segue (no
// venue preselected). Scene "OutsideMapsViewController" (addScene), with
// the prototype cell "outsideMapsLocationCellIdentifier". Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/BaseViewController.h"
#include "uikit/UITableView.h"

class QVAVenue;
class VenuePlaneView;

namespace uikit {
class UIStoryboard;
}

class OutsideMapsViewController : public BaseViewController,
                                  public uikit::UITableViewDataSource,
                                  public uikit::UITableViewDelegate {
public:
    static constexpr const char* kStoryboardIdentifier = "OutsideMapsViewController";
    static constexpr const char* kTitle = "Venue map";
    static constexpr const char* kCellIdentifier = "outsideMapsLocationCellIdentifier";
    // How a venue's position reads under its name.
    static constexpr const char* kCoordinatesFormat = "%.4f, %.4f";
    // The part of the screen's height the plane takes above the list.
    static constexpr double kPlaneShare = 0.45;
    static Text storyboardIdentifier() { return std::string(kStoryboardIdentifier); }
    static void addScene(uikit::UIStoryboard& storyboard);

    // Type 0 pushes the map on the source's navigation controller, type 1
    // makes it the pad's split-view detail; any other type only returns it.
    static std::shared_ptr<OutsideMapsViewController> navigateFromController(
        const std::shared_ptr<uikit::UIViewController>& source, int navType,
        const std::optional<std::string>& preselectedBuildingName);

    const std::optional<std::string>& preselectedBuildingName() const { return preselectedBuildingName_; }
    void setPreselectedBuildingName(std::optional<std::string> name) { preselectedBuildingName_ = std::move(name); }
    // The venues listed, in the store's order.
    const std::vector<std::shared_ptr<QVAVenue>>& venues() const { return venues_; }
    const std::shared_ptr<uikit::UITableView>& mapTableView() const { return tableView_; }
    const std::shared_ptr<VenuePlaneView>& planeView() const { return planeView_; }

    Text vcTitle() const override { return std::string(kTitle); }
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;

    int64_t tableViewNumberOfRowsInSection(uikit::UITableView& tableView, int64_t section) override;
    uikit::UITableViewCellPtr tableViewCellForRowAtIndexPath(uikit::UITableView& tableView,
                                                             const uikit::NSIndexPath& indexPath) override;
    std::optional<double> tableViewHeightForRowAtIndexPath(uikit::UITableView& tableView,
                                                           const uikit::NSIndexPath& indexPath) override;
    void tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) override;

    std::vector<std::pair<std::string, std::string>> screenDescriptionItems() const override;
    std::string className() const override { return "OutsideMapsViewController"; }

private:
    void reloadVenues();

    std::optional<std::string> preselectedBuildingName_;
    std::vector<std::shared_ptr<QVAVenue>> venues_;
    std::shared_ptr<VenuePlaneView> planeView_;
    std::shared_ptr<uikit::UITableView> tableView_;
};
