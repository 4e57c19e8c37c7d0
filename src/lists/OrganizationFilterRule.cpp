#include "lists/OrganizationFilterRule.h"

namespace OrganizationFilterRule {

coredata::PredicatePtr businessPredicate() {
    return coredata::Predicate::withFormat("organizationType = %@", kBusinessType);
}

coredata::PredicatePtr possibleValuesPredicate() {
    return coredata::Predicate::withFormat("SELF != nil AND SELF!='' AND organizationType = %@", kBusinessType);
}

coredata::PredicatePtr participantsPredicate(const std::vector<std::string>& organizationIds) {
    if (organizationIds.empty()) return coredata::Predicate::falsePredicate();
    return coredata::Predicate::withFormat("organizationId IN %@", organizationIds);
}

}  // namespace OrganizationFilterRule
