// The note and star marks of participant rows: which participants carry a
// non-empty personal note and which ones the user follows. Both are read
// from the store once per reload (refreshAdditionalDataSourceForCoreDataStack)
// into hash sets, so a row asks without a fetch of its own. The
// recommendations page uses this alone; the participant list delegates
// build on it. Main thread only.
#pragma once

#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "coredata/SortDescriptor.h"
#include "lists/ListsDataSourceProtocol.h"

class ParticipantsListBaseDelegate : public ListsDataSourceProtocol {
public:
    using Strings = std::vector<std::string>;

    std::string entityName() override;
    // Not a fetched list: no order, sections or scopes of its own.
    SortDescriptors sortDescriptors() override { return {}; }
    Text sectionNameKeyPath() override { return std::nullopt; }
    std::string cellIdentifier() override;
    std::vector<std::shared_ptr<SearchScopeModel>> searchScopes() override { return {}; }

    bool implementsRefreshAdditionalDataSource() const override { return true; }
    // Both id lists again from the stack's main-queue context; empty without one.
    void refreshAdditionalDataSourceForCoreDataStack(const std::shared_ptr<CoreDataStack>& stack,
                                                     LiteListBaseViewController& forController) override;

    bool participantHasPersonalNotes(const std::optional<std::string>& participantId) const;
    bool participantIsFavorited(const std::optional<std::string>& participantId) const;

    // The ids as last loaded, in the store's order.
    const Strings& personalNoteIdsArray() const { return personalNoteIdsArray_; }
    const Strings& favoritedparticipantIdsArray() const { return favoritedparticipantIdsArray_; }

    virtual std::string className() const { return "ParticipantsListBaseDelegate"; }

private:
    Strings personalNoteIdsArray_;
    Strings favoritedparticipantIdsArray_;
    std::unordered_set<std::string> personalNoteIds_;
    std::unordered_set<std::string> favoritedIds_;
};
