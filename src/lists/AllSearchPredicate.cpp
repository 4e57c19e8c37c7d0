#include "lists/AllSearchPredicate.h"

AllSearchPredicate::AllSearchPredicate(std::vector<SearchScopeModelPtr> searchableScopes)
    : SearchScopeModel(std::nullopt, "All"), searchableScopes_(std::move(searchableScopes)) {}

std::shared_ptr<AllSearchPredicate> AllSearchPredicate::initWithSearchableScopes(
    std::vector<SearchScopeModelPtr> scopes) {
    return std::make_shared<AllSearchPredicate>(std::move(scopes));
}

coredata::PredicatePtr AllSearchPredicate::filterPredicateWithCoreDataStack(const StackPtr& stack,
                                                                            const std::string& searchText) const {
    auto result = coredata::Predicate::falsePredicate();
    for (const auto& scope : searchableScopes_) {
        if (!scope) continue;
        result = coredata::Predicate::orPredicate({result, scope->filterPredicateWithCoreDataStack(stack, searchText)});
    }
    return result;
}
