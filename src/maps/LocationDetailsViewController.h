// The details of a room or a venue: its name (a room's with its venue's) as
// the title over two navigation rows, "Sessions" (every session held there,
// day by day) and "Show on map" (the indoor map when the place is in the
// primary venue and that venue has floor levels, else the outdoor map with
// the venue selected). Opened by the session's location segue, the venue and
// room kinds of the global search and the outdoor map. On the pad its
// navigate operation, and its rows, open in a new split-view detail pane.
// Scene "LocationDetailsViewController" (addScene). Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "lists/DetailsNavigationDataModel.h"
#include "lists/DetailsPushNavigationProtocol.h"
#include "lists/DetailsWithListBaseViewController.h"

class QVAVenue;

namespace uikit {
class UIStoryboard;
}

class LocationDetailsViewController : public DetailsWithListBaseViewController, public DetailsPushNavigationProtocol {
public:
    static constexpr const char* kStoryboardIdentifier = "LocationDetailsViewController";
    static constexpr const char* kSessionsRowTitle = "Sessions";
    static constexpr const char* kShowOnMapRowTitle = "Show on map";
    static constexpr const char* kSessionsRowIcon = "agenda_icon.png";
    static constexpr const char* kShowOnMapRowIcon = "maps_icon.png";
    // Our rows' height: the navigation rows of a details table.
    static constexpr double kRowHeight = 40;
    static Text storyboardIdentifier() { return std::string(kStoryboardIdentifier); }
    static void addScene(uikit::UIStoryboard& storyboard);

    // The details of the room or venue (entity name and item id): type 0
    // pushes them on the source's navigation controller, type 1 makes them
    // the pad's split-view detail; any other type only returns them.
    static std::shared_ptr<LocationDetailsViewController> navigateFromController(
        const std::shared_ptr<uikit::UIViewController>& source, int navType, const std::string& entityName,
        const std::optional<std::string>& itemId);

    const std::vector<DetailsNavigationDataModelPtr>& rows() const { return rows_; }

    void loadView() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void scrollViewDidScroll(uikit::UIScrollView& scrollView) override;
    std::vector<std::string> entitiesArrayToObserveForFilteringUIUpdates() override;
    void updateUIContentForObject(const std::shared_ptr<coredata::ManagedObject>& object) override;
    void pushNavigationWithDetailsDataModel(const std::shared_ptr<DetailsNavigationDataModel>& model) override;

    int64_t numberOfSectionsInTableView(uikit::UITableView& tableView) override;
    int64_t tableViewNumberOfRowsInSection(uikit::UITableView& tableView, int64_t section) override;
    uikit::UITableViewCellPtr tableViewCellForRowAtIndexPath(uikit::UITableView& tableView,
                                                             const uikit::NSIndexPath& indexPath) override;
    std::optional<double> tableViewHeightForRowAtIndexPath(uikit::UITableView& tableView,
                                                           const uikit::NSIndexPath& indexPath) override;
    std::optional<double> tableViewHeightForHeaderInSection(uikit::UITableView& tableView, int64_t section) override;
    void tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) override;

    std::vector<std::pair<std::string, std::string>> screenDescriptionItems() const override;
    std::string className() const override { return "LocationDetailsViewController"; }

private:
    // What the rows open, worked out from the shown place.
    struct Place {
        std::string name;
        std::string title;
        std::vector<std::string> roomIds;
        // The room shown, none for a venue.
        std::optional<std::string> roomId;
        std::shared_ptr<QVAVenue> venue;
    };
    std::optional<Place> placeForObject(const coredata::ManagedObject& object) const;
    void buildRows(const Place& place);
    // The bar as plain screens have it: no picture header scrolls under it.
    void styleOpaqueBar();
    std::shared_ptr<uikit::UIViewController> self();

    std::optional<Place> place_;
    std::vector<DetailsNavigationDataModelPtr> rows_;
    // Also held here: the base holds its table weakly.
    std::shared_ptr<uikit::UITableView> table_;
};
