// The list definition of a thread screen: the stored messages, oldest first,
// in one section, each a thread message row that cannot be selected. The
// screen narrows it to its thread.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "lists/ListsDataSourceProtocol.h"

class MessagesInboxListDelegate : public ListsDataSourceProtocol {
public:
    static constexpr const char* kCellIdentifier = "threadDetailsMessageCellIdentifier";
    static constexpr const char* kAnalyticsEventName = "View message thread";

    std::string entityName() override;
    SortDescriptors sortDescriptors() override;
    Text sectionNameKeyPath() override { return std::nullopt; }
    std::string cellIdentifier() override { return kCellIdentifier; }
    std::vector<std::shared_ptr<SearchScopeModel>> searchScopes() override { return {}; }
    std::optional<std::vector<std::string>> entitiesArrayToObserveForFilteringUIUpdates() override;
    std::optional<std::vector<std::shared_ptr<FilterModel>>> filtersCollection() override {
        return std::vector<std::shared_ptr<FilterModel>>{};
    }
    Text getAnalyticsEventName() override { return std::string(kAnalyticsEventName); }

    bool implementsFetchedResultControllerConfigureCell() const override { return true; }
    void fetchedResultController(coredata::FetchedResultsController& controller, uikit::UITableViewCell& cell,
                                 const uikit::NSIndexPath& indexPath, BaseViewController& inController) override;
};
