// The organisations segment's list: the meeting's business organisations,
// by section letter and then by common name (numbers inside names compared
// by value), searched by common name, with name and country rows.
// Main thread only.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "lists/ListsDataSourceProtocol.h"

class OrganizationsListDelegate : public ListsDataSourceProtocol {
public:
    static constexpr const char* kListedType = "Business";

    OrganizationsListDelegate();

    std::string entityName() override;
    SortDescriptors sortDescriptors() override;
    Text sectionNameKeyPath() override { return std::string("sectionTitle"); }
    std::string cellIdentifier() override;
    std::vector<std::shared_ptr<SearchScopeModel>> searchScopes() override { return searchScopesArray_; }
    std::optional<PredicatePtr> fetchPredicate() override;
    std::optional<std::vector<std::string>> entitiesArrayToObserveForFilteringUIUpdates() override;
    std::optional<std::vector<std::shared_ptr<FilterModel>>> filtersCollection() override;
    std::optional<std::shared_ptr<uikit::UIImage>> segmentedControlImage() override;
    Text searchHintText() override { return std::string("Search in organizations"); }
    Text getAnalyticsEventName() override { return std::string("View organizations"); }

    bool implementsRefreshContentWhenPulledToRefresh() const override { return true; }
    void refreshContentWhenPulledToRefresh() override;

    bool implementsFetchedResultControllerConfigureCell() const override { return true; }
    void fetchedResultController(coredata::FetchedResultsController& controller, uikit::UITableViewCell& cell,
                                 const uikit::NSIndexPath& indexPath, BaseViewController& inController) override;
    Text getObjectIdForIndexPath(const uikit::NSIndexPath& indexPath,
                                 coredata::FetchedResultsController& fromFetchController) override;

    virtual std::string className() const { return "OrganizationsListDelegate"; }

private:
    std::vector<std::shared_ptr<SearchScopeModel>> searchScopesArray_;
};
