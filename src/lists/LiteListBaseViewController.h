// The root of every list screen: a table over a flat array of row objects
// (model objects), with the three services every list shares.
// - It refreshes itself when a save of the current store's main-queue
//   context touches an entity it observes: one update per matching save, on
//   a later turn of the main run loop. Only a main-queue context that exists
//   when the list loads is observed, and only its own saves: a list loaded
//   with no store open observes nothing, so no save of another store's
//   worker or writer ever reaches it off the main thread.
// - Pull to refresh (when enabled before the view loads), limited to one
//   accepted pull per 10 s per list; the spinner ends 2 s after every pull.
// - The swipe parent of detail screens: which row comes next, wrapping at
//   the ends.
// What a list shows comes from its data source (`listDelegate`) or from a
// subclass's overrides. Main thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/BaseViewController.h"
#include "foundation/Date.h"
#include "lists/RowRing.h"
#include "lists/StoreSaveObserver.h"
#include "lists/SwipeParentControllerProtocol.h"
#include "uikit/UISearchDisplayController.h"
#include "uikit/UITableView.h"

class IEntityModel;
class IdIndexPair;
class ListsDataSourceProtocol;
class PullToRefreshControl;

namespace coredata {
class Predicate;
}

namespace foundation {
class Value;
}

class LiteListBaseViewController : public BaseViewController,
                                   public uikit::UITableViewDataSource,
                                   public uikit::UITableViewDelegate,
                                   public uikit::UISearchDisplayDelegate,
                                   public SwipeParentControllerProtocol {
public:
    using RowObjects = std::vector<std::shared_ptr<IEntityModel>>;

    static constexpr double kSectionHeaderHeight = 23.0;
    // Pulls closer together than this reach the list once.
    static constexpr double kMinimumPullInterval = 10.0;
    // The spinner shows this long after every pull.
    static constexpr double kRefreshSpinnerDuration = 2.0;
    // The first pull on a new list always passes the limit.
    static constexpr double kInitialPullTimeSince1970 = 100;

    static constexpr const char* kOffMainThreadSaveException = StoreSaveObserver::kOffMainThreadSaveException;
    static constexpr const char* kOffMainThreadUpdateException = "Please call this method from main thread only";
    static constexpr const char* kMissingCellIdentifierException = "Please return a valid cell for your tableview";
    static constexpr const char* kPullNotImplementedMessage = "Implement pull to refresh in subclasses, if needed";

    explicit LiteListBaseViewController(std::optional<std::string> nibName = std::nullopt);
    ~LiteListBaseViewController() override;

    // The list's table (the storyboard's outlet), held weakly.
    std::shared_ptr<uikit::UITableView> tableView() const { return tableView_.lock(); }
    void setTableView(const std::shared_ptr<uikit::UITableView>& tableView) { tableView_ = tableView; }
    const RowObjects& dataSourceArray() const { return dataSourceArray_; }
    void setDataSourceArray(RowObjects rows) { dataSourceArray_ = std::move(rows); }
    // Set before the view loads.
    bool isPullToRefreshEnabled() const { return pullToRefreshEnabled_; }
    void setIsPullToRefreshEnabled(bool enabled) { pullToRefreshEnabled_ = enabled; }
    const std::shared_ptr<ListsDataSourceProtocol>& listDelegate() const { return listDelegate_; }
    void setListDelegate(std::shared_ptr<ListsDataSourceProtocol> delegate) { listDelegate_ = std::move(delegate); }
    const foundation::Date& lastPullToRefreshDate() const { return lastPullToRefreshDate_; }
    void setLastPullToRefreshDate(const foundation::Date& date) { lastPullToRefreshDate_ = date; }
    // The refresh control, once the view loaded with pull to refresh on.
    const std::shared_ptr<PullToRefreshControl>& pullToRefreshControl() const { return refreshControl_; }

    void viewDidLoad() override;

    // --- The store's saves ---
    // The did-save notification of the observed main-queue context.
    virtual void contextDidSave(const foundation::Notification& notification);
    // Main thread only: reloadDataSourceAndTable.
    virtual void updateUiContentBecauseItsNeeded();
    // Nothing in the base; subclasses rebuild the rows and reload the table.
    virtual void reloadDataSourceAndTable() {}
    // The entity names whose saves refresh the list; none in the base.
    virtual std::vector<std::string> entitiesArrayToObserveForFilteringUIUpdates() { return {}; }
    // Whether the list observes its store's saves (a main-queue context was there when it loaded).
    bool isObservingSaves() const { return saveObserver_.context() != nullptr; }
    // Whether a did-save notification's objects (inserted, then deleted, then
    // updated) hold one of the entities or of their sub-entities. Shared with
    // the screens that observe saves by entity without being lists.
    static bool savedObjectsMatch(const foundation::Value& userInfo, const std::vector<std::string>& entities);
    // The observed main-queue context (identity only); null when none.
    const foundation::Object* observedContext() const { return saveObserver_.context(); }

    // --- The table ---
    std::optional<double> tableViewHeightForHeaderInSection(uikit::UITableView& tableView, int64_t section) override;
    std::shared_ptr<uikit::UIView> tableViewViewForHeaderInSection(uikit::UITableView& tableView, int64_t section) override;
    std::optional<std::string> tableViewTitleForHeaderInSection(uikit::UITableView& tableView, int64_t section) override;
    int64_t numberOfSectionsInTableView(uikit::UITableView& tableView) override;
    int64_t tableViewNumberOfRowsInSection(uikit::UITableView& tableView, int64_t section) override;
    uikit::UITableViewCellPtr tableViewCellForRowAtIndexPath(uikit::UITableView& tableView,
                                                             const uikit::NSIndexPath& indexPath) override;
    void tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) override;
    // The section titles subclasses give; none in the base.
    virtual std::optional<std::string> tableViewGetTitleForHeaderInSection(uikit::UITableView& tableView, int64_t section);
    // The reuse identifier of the cells: every list gives one; the base raises.
    virtual std::string cellIdentifier();
    // The filters' predicate: the true predicate in the base.
    virtual std::shared_ptr<const coredata::Predicate> getCompoundFiltersPredicate();

    // --- Pull to refresh ---
    // The refresh control's action.
    void dropViewDidBeginRefreshing(PullToRefreshControl& control);
    // A pull that passed the limit; the base only logs.
    virtual void onPullToRefreshExecuted();

    // --- Swipe parent ---
    std::shared_ptr<IdIndexPair> getNextIdIndexPathPairAndMoveSelectionInDirection(
        unsigned direction, const std::optional<std::string>& currentDetailId, const uikit::NSIndexPath& indexPath) override;
    // The rows of a flat list of `count` rows: a step wraps both ways, but a
    // lone row answers itself going next and nothing going previous.
    static RowRing flatRowRing(int64_t count);

    // --- Search ---
    // The search results' table while the search is active, else tableView.
    std::shared_ptr<uikit::UITableView> getCurrentTableView();
    void searchDisplayControllerWillShowSearchResultsTableView(uikit::UISearchDisplayController& controller,
                                                               uikit::UITableView& tableView) override;
    void searchDisplayControllerDidHideSearchResultsTableView(uikit::UISearchDisplayController& controller,
                                                              uikit::UITableView& tableView) override;
    // The keyboard went: the results table's insets back to zero.
    void keyboardWillHide();

    std::string className() const override { return "LiteListBaseViewController"; }

protected:
    struct SearchableTable {
        std::shared_ptr<uikit::UITableView> table;
        std::shared_ptr<uikit::UISearchBar> searchBar;
    };
    // For a list built in code rather than loaded: a white view of `size`
    // filled by a table with a search bar as its header. The table is this
    // list's, and the list answers for it and for the search's results.
    SearchableTable loadSearchableTable(graphics::Size size);

private:
    void observeSavesOfCurrentStore();
    std::shared_ptr<LiteListBaseViewController> self();

    std::weak_ptr<uikit::UITableView> tableView_;
    RowObjects dataSourceArray_;
    bool pullToRefreshEnabled_ = false;
    std::shared_ptr<ListsDataSourceProtocol> listDelegate_;
    foundation::Date lastPullToRefreshDate_;
    std::shared_ptr<PullToRefreshControl> refreshControl_;
    StoreSaveObserver saveObserver_;
    bool observingKeyboard_ = false;
};

using LiteListBaseViewControllerPtr = std::shared_ptr<LiteListBaseViewController>;
