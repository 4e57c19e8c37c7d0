#include "lists/OrganizationCountryFilterModel.h"

#include "lists/OrganizationFilterRule.h"
#include "model/QVACoreDataOrganization.h"

EntityClassPtr OrganizationCountryFilterModel::requestClass() const { return EntityClass::of<QVACoreDataOrganization>(); }

foundation::Value::Array OrganizationCountryFilterModel::getPossibleValuesWithCoreDataStack(const StackPtr& stack) {
    return possibleValuesMatching(stack, OrganizationFilterRule::possibleValuesPredicate());
}

coredata::PredicatePtr OrganizationCountryFilterModel::filterPredicateWithCoreDataStack(const StackPtr& stack) {
    if (isUnset()) return coredata::Predicate::truePredicate();
    return OrganizationFilterRule::participantsPredicate(idsOfRowsMatchingSelection(
        stack, QVACoreDataOrganization::kEntityName, "itemId", OrganizationFilterRule::businessPredicate()));
}

std::shared_ptr<FilterModel> OrganizationCountryFilterModel::makeInstance() const { return std::make_shared<OrganizationCountryFilterModel>(); }
