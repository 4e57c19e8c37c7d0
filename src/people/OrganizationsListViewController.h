// The organisations segment: the list of OrganizationsListDelegate with a
// search bar, pull to refresh, a section index and rows of 44 points. A tap
// opens the organisation's details (pushed on the phone, in the split view's
// detail pane on the pad), which swipe between organisations unless the
// list holds only one. Main thread only.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "lists/ListBaseViewController.h"

namespace uikit {
class UIStoryboard;
}

class OrganizationsListViewController : public ListBaseViewController {
public:
    static constexpr const char* kStoryboardIdentifier = "ListOrganizationsBaseIdentifier";
    static constexpr const char* kDetailsSegue = "organizationDisplayInDetail";

    OrganizationsListViewController();

    static Text storyboardIdentifier() { return std::string(kStoryboardIdentifier); }
    // The scene, with its segue to the details (a custom one on the pad).
    static void addScene(uikit::UIStoryboard& storyboard);

    void loadView() override;
    void viewDidLoad() override;

    std::shared_ptr<const coredata::Predicate> fetchPredicate() override;
    Filters getFilterCollection() override;
    std::vector<std::string> entitiesArrayToObserveForFilteringUIUpdates() override;
    void onPullToRefreshExecuted() override;
    // Raises off the main thread; the controllers and tables rebuilt.
    void updateUiContentBecauseItsNeeded() override;

    std::optional<double> tableViewHeightForRowAtIndexPath(uikit::UITableView& tableView,
                                                           const uikit::NSIndexPath& indexPath) override;
    std::vector<std::string> sectionIndexTitlesForTableView(uikit::UITableView& tableView) override;
    void tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) override;
    void prepareForSegue(uikit::UIStoryboardSegue& segue, const foundation::ObjectPtr& sender) override;

    std::string className() const override { return "OrganizationsListViewController"; }
};
