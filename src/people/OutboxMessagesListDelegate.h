// The list definition of the outbox: every message waiting to be sent, oldest
// first, in one section, each a message row titled with its receivers' names.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "lists/ListsDataSourceProtocol.h"

class OutboxMessagesListDelegate : public ListsDataSourceProtocol {
public:
    static constexpr const char* kCellIdentifier = "globalSearchMessageCellIdentifier";
    static constexpr const char* kAnalyticsEventName = "View outbox";

    std::string entityName() override;
    SortDescriptors sortDescriptors() override;
    Text sectionNameKeyPath() override { return std::nullopt; }
    std::string cellIdentifier() override { return kCellIdentifier; }
    std::vector<std::shared_ptr<SearchScopeModel>> searchScopes() override { return {}; }
    std::optional<PredicatePtr> fetchPredicate() override;
    std::optional<std::vector<std::string>> entitiesArrayToObserveForFilteringUIUpdates() override;
    std::optional<std::vector<std::shared_ptr<FilterModel>>> filtersCollection() override {
        return std::vector<std::shared_ptr<FilterModel>>{};
    }
    Text getAnalyticsEventName() override { return std::string(kAnalyticsEventName); }

    bool implementsFetchedResultControllerConfigureCell() const override { return true; }
    void fetchedResultController(coredata::FetchedResultsController& controller, uikit::UITableViewCell& cell,
                                 const uikit::NSIndexPath& indexPath, BaseViewController& inController) override;
};
