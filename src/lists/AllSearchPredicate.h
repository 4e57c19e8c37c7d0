// The "All" scope: a row matches when any of its scopes matches it.
#pragma once

#include <memory>
#include <vector>

#include "lists/SearchScopeModel.h"

class AllSearchPredicate : public SearchScopeModel {
public:
    explicit AllSearchPredicate(std::vector<SearchScopeModelPtr> searchableScopes);
    static std::shared_ptr<AllSearchPredicate> initWithSearchableScopes(std::vector<SearchScopeModelPtr> scopes);

    const std::vector<SearchScopeModelPtr>& searchableScopes() const { return searchableScopes_; }

    // FALSE OR each scope's predicate, in order; FALSE without scopes.
    coredata::PredicatePtr filterPredicateWithCoreDataStack(const StackPtr& stack,
                                                            const std::string& searchText) const override;

    std::string className() const override { return "AllSearchPredicate"; }

private:
    std::vector<SearchScopeModelPtr> searchableScopes_;
};
