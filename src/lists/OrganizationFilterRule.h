// What the two organisation filters share: they offer the values of business
// organisations only and keep the participants of the matching ones.
#pragma once

#include <string>
#include <vector>

#include "coredata/Predicate.h"

namespace OrganizationFilterRule {

inline constexpr const char* kBusinessType = "Business";

// "organizationType = Business".
coredata::PredicatePtr businessPredicate();
// Non-empty values of business organisations.
coredata::PredicatePtr possibleValuesPredicate();
// "organizationId IN" the ids; FALSE for none.
coredata::PredicatePtr participantsPredicate(const std::vector<std::string>& organizationIds);

}  // namespace OrganizationFilterRule
