// A scope over organisations that keeps business organisations only.
#pragma once

#include "lists/SearchScopeModel.h"

class OrganizationSearchScopeModel : public SearchScopeModel {
public:
    using SearchScopeModel::SearchScopeModel;
    static std::shared_ptr<OrganizationSearchScopeModel> initWithPropertyName(Text propertyName, Text displayName);

    // The base predicate AND "organizationType = Business".
    coredata::PredicatePtr filterPredicateWithCoreDataStack(const StackPtr& stack,
                                                            const std::string& searchText) const override;

    std::string className() const override { return "OrganizationSearchScopeModel"; }
};
