#include "lists/OrganizationSearchScopeModel.h"

#include "lists/OrganizationFilterRule.h"

std::shared_ptr<OrganizationSearchScopeModel> OrganizationSearchScopeModel::initWithPropertyName(Text propertyName,
                                                                                                 Text displayName) {
    return std::make_shared<OrganizationSearchScopeModel>(std::move(propertyName), std::move(displayName));
}

coredata::PredicatePtr OrganizationSearchScopeModel::filterPredicateWithCoreDataStack(
    const StackPtr& stack, const std::string& searchText) const {
    return coredata::Predicate::andPredicate({SearchScopeModel::filterPredicateWithCoreDataStack(stack, searchText),
                                              OrganizationFilterRule::businessPredicate()});
}
