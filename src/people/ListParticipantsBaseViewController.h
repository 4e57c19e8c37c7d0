// The participants and contributors segments: the list of a participant list
// delegate, with a starred section of the followed participants on top
// (where "relationships:read" is granted, never in the search results), a
// star on every row that follows or unfollows on the service, the filters
// screen from the bar, and next/previous stepping for the details across
// the starred section and the list.
//
// The controllers get no change reports: every stored change arrives as a
// store save and rebuilds the starred, list and search controllers. The
// table builds cells only for the rows in view, so the star and the
// stepping map table index paths through the controllers, never through
// cells. Set the delegate, pull-to-refresh and, for a list opened filtered,
// isFilteredInitially before the view loads. Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "lists/ListBaseViewController.h"
#include "uikit/UIPopoverController.h"

namespace uikit {
class UIBarButtonItem;
class UIControl;
class UIStoryboard;
}  // namespace uikit

class ParticipantsListDelegate;

class ListParticipantsBaseViewController : public ListBaseViewController {
public:
    static constexpr const char* kStoryboardIdentifier = "ListParticipantsBaseIdentifier";
    static Text storyboardIdentifier() { return std::string(kStoryboardIdentifier); }
    static constexpr const char* kDetailsSegue = "ParticipantDetailsSegueId";
    static constexpr const char* kFiltersSegue = "personsFiltersSegID";
    static constexpr const char* kFiltersCancelAction = "unwindOnFiltersCancelButtonPressed:";
    static constexpr const char* kNoResultsText = "No Results";
    static constexpr const char* kStarredSectionIndexTitle = "*";
    static constexpr const char* kMissingFavoritesStoreMessage =
        "Unable to create a new instance for favorites frc: coreDataStack or managedObjectContextMainQueue is nil";

    // The scene, its details and filters segues, in a device storyboard.
    static void addScene(uikit::UIStoryboard& storyboard);

    ListParticipantsBaseViewController();

    bool isFilteredInitially() const { return isFilteredInitially_; }
    void setIsFilteredInitially(bool filtered) { isFilteredInitially_ = filtered; }
    const ControllerPtr& favoritesFetchedResultsController() const { return favoritesFetchedResultsController_; }
    const std::shared_ptr<uikit::UIPopoverController>& popoverForFilters() const { return popoverForFilters_; }
    // The scene's right bar button (its action is onRightBarButtonItemPressed).
    const std::shared_ptr<uikit::UIBarButtonItem>& rightBarButton() const { return rightBarButton_; }

    void loadView() override;
    void viewDidLoad() override;

    // --- What the list fetches (from the delegate) ---
    std::shared_ptr<const coredata::Predicate> fetchPredicate() override;
    // The list's own predicate: search stays inside the list's population.
    std::shared_ptr<const coredata::Predicate> fetchPredicateForSearch() override;
    Filters getFilterCollection() override;
    std::vector<std::string> entitiesArrayToObserveForFilteringUIUpdates() override;
    bool fetchedResultsControllersRespondToDelegate() override { return false; }
    void onPullToRefreshExecuted() override;
    // Raises off the main thread; the delegate's ids again, then the refresh.
    void updateUiContentBecauseItsNeeded() override;
    // The starred controller rebuilt too, and "No Results" over an empty table.
    void refreshFetchedResultsControllersAndTables() override;
    // Null without a store; a failed fetch is logged and the controller returned.
    ControllerPtr newFavoritesFetchedResultsController();
    bool hasFavoritesSectionForTable(const uikit::UITableView& tableView);
    // The controller that holds a table row and the row's path in it; a null
    // controller for a path the table does not hold.
    std::pair<coredata::FetchedResultsController*, uikit::NSIndexPath> controllerAndIndexPathForTableIndexPath(
        uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath);

    // --- The table ---
    int64_t numberOfSectionsInTableView(uikit::UITableView& tableView) override;
    int64_t tableViewNumberOfRowsInSection(uikit::UITableView& tableView, int64_t section) override;
    std::optional<std::string> tableViewGetTitleForHeaderInSection(uikit::UITableView& tableView, int64_t section) override;
    std::vector<std::string> sectionIndexTitlesForTableView(uikit::UITableView& tableView) override;
    uikit::UITableViewCellPtr tableViewCellForRowAtIndexPath(uikit::UITableView& tableView,
                                                             const uikit::NSIndexPath& indexPath) override;
    std::optional<double> tableViewHeightForRowAtIndexPath(uikit::UITableView& tableView,
                                                           const uikit::NSIndexPath& indexPath) override;
    void tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) override;

    // --- The star ---
    // Follows or unfollows the row's participant; the star itself redraws
    // from the store's save. The rows under the finger stay in place.
    void checkButtonTapped(uikit::UIControl& star);
    // Clamped at 0, the horizontal offset 0.
    void scrollTableViewWithYOffsetDifference(uikit::UITableView& tableView, double difference);

    // --- Details and filters ---
    void prepareForSegue(uikit::UIStoryboardSegue& segue, const foundation::ObjectPtr& sender) override;
    std::shared_ptr<IdIndexPair> getNextIdIndexPathPairAndMoveSelectionInDirection(
        unsigned direction, const std::optional<std::string>& currentDetailId,
        const uikit::NSIndexPath& indexPath) override;
    void onRightBarButtonItemPressed(uikit::UIBarButtonItem& sender);
    void headerFilterButtonPressed(const foundation::ObjectPtr& sender) override;

    std::string className() const override { return "ListParticipantsBaseViewController"; }

private:
    std::shared_ptr<ParticipantsListDelegate> participantsDelegate() const;
    void refreshDelegateIds();
    std::optional<std::string> rightBarSegueIdentifier();

    bool isFilteredInitially_ = false;
    ControllerPtr favoritesFetchedResultsController_;
    KeptFetchedResults keptFavorites_;
    // Looked up once per refresh: the table asks for its sections and rows
    // many times per reload, and stepping must not read the store.
    bool relationshipsReadGranted_ = false;
    std::shared_ptr<uikit::UIPopoverController> popoverForFilters_;
    std::shared_ptr<uikit::UIBarButtonItem> rightBarButton_;
    // The table's height before a follow whose stored change had not been
    // reloaded by the answer's second look; the next store-save reload scrolls.
    std::optional<double> pendingHeightBeforeFollow_;
};
