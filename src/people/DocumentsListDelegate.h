// What the two document lists share: stored documents of the viewable
// extensions, in their stored order, in one section of plain title rows.
// Each kind of document is a subclass naming its entity; this base names
// none and raises when asked. Main thread only.
#pragma once

#include <string>
#include <vector>

#include "lists/ListsDataSourceProtocol.h"

class DocumentsListDelegate : public ListsDataSourceProtocol {
public:
    static constexpr const char* kCellIdentifier = "documentInfoCellIdentifier";
    static constexpr const char* kSubclassReason = "Please implement in subclass";

    // The extensions a list shows, compared as stored (lower case).
    static const std::vector<std::string>& viewableExtensions();

    std::string entityName() override;
    SortDescriptors sortDescriptors() override;
    Text sectionNameKeyPath() override { return std::nullopt; }
    std::string cellIdentifier() override { return kCellIdentifier; }
    std::vector<std::shared_ptr<SearchScopeModel>> searchScopes() override { return {}; }
    std::optional<PredicatePtr> fetchPredicate() override;
    std::optional<std::vector<std::string>> entitiesArrayToObserveForFilteringUIUpdates() override;
    std::optional<std::vector<std::shared_ptr<FilterModel>>> filtersCollection() override;

    bool implementsFetchedResultControllerConfigureCell() const override { return true; }
    // The row's text is the document's title.
    void fetchedResultController(coredata::FetchedResultsController& controller, uikit::UITableViewCell& cell,
                                 const uikit::NSIndexPath& indexPath, BaseViewController& inController) override;

    virtual std::string className() const { return "DocumentsListDelegate"; }
};
