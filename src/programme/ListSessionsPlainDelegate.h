// The sessions a participant contributes to, as one plain fetched-results
// list by start: the official sessions whose ids the participant's
// contributions name. Its rows carry the day and time and only the note
// flag. Main thread only.
#pragma once

#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "lists/ListsDataSourceProtocol.h"

class ListSessionsPlainDelegate : public ListsDataSourceProtocol {
public:
    static std::shared_ptr<ListSessionsPlainDelegate> initWithSelectionPropertyId(const std::string& participantId);

    const std::string& participantId() const { return participantId_; }
    // The session ids the participant's contributions name, read at the last refresh.
    const std::vector<std::string>& sessionIds() const { return sessionIds_; }

    std::string entityName() override;
    SortDescriptors sortDescriptors() override;
    Text sectionNameKeyPath() override { return std::nullopt; }
    std::string cellIdentifier() override;
    std::vector<std::shared_ptr<SearchScopeModel>> searchScopes() override { return {}; }
    std::optional<PredicatePtr> fetchPredicate() override;

    bool implementsRefreshAdditionalDataSource() const override { return true; }
    void refreshAdditionalDataSourceForCoreDataStack(const std::shared_ptr<CoreDataStack>& stack,
                                                     LiteListBaseViewController& forController) override;
    bool implementsFetchedResultControllerConfigureCell() const override { return true; }
    void fetchedResultController(coredata::FetchedResultsController& controller, uikit::UITableViewCell& cell,
                                 const uikit::NSIndexPath& indexPath, BaseViewController& inController) override;

private:
    std::string participantId_;
    std::vector<std::string> sessionIds_;
    std::unordered_set<std::string> noteIds_;
};
