// Sessions whose contributors' names match: the participants with
// contributions whose full name matches the text name the sessions.
#pragma once

#include "lists/SearchScopeModel.h"

class SessionContributorsSearchScopeModel : public SearchScopeModel {
public:
    SessionContributorsSearchScopeModel() = default;

    Text propertyName() const override { return "fullName"; }
    Text displayName() const override { return "Contributors"; }

    // "itemId IN" the sessions of the matching participants; FALSE when
    // none matches, so the list shows no rows rather than all.
    coredata::PredicatePtr filterPredicateWithCoreDataStack(const StackPtr& stack,
                                                            const std::string& searchText) const override;

    std::string className() const override { return "SessionContributorsSearchScopeModel"; }
};
