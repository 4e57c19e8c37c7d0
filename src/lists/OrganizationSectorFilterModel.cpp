#include "lists/OrganizationSectorFilterModel.h"

#include "lists/OrganizationFilterRule.h"
#include "model/QVACoreDataOrganization.h"

EntityClassPtr OrganizationSectorFilterModel::requestClass() const { return EntityClass::of<QVACoreDataOrganization>(); }

foundation::Value::Array OrganizationSectorFilterModel::getPossibleValuesWithCoreDataStack(const StackPtr& stack) {
    return possibleValuesMatching(stack, OrganizationFilterRule::possibleValuesPredicate());
}

coredata::PredicatePtr OrganizationSectorFilterModel::filterPredicateWithCoreDataStack(const StackPtr& stack) {
    if (isUnset()) return coredata::Predicate::truePredicate();
    return OrganizationFilterRule::participantsPredicate(idsOfRowsMatchingSelection(
        stack, QVACoreDataOrganization::kEntityName, "itemId", OrganizationFilterRule::businessPredicate()));
}

std::shared_ptr<FilterModel> OrganizationSectorFilterModel::makeInstance() const { return std::make_shared<OrganizationSectorFilterModel>(); }
