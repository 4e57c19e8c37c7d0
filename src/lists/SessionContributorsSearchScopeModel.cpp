#include "lists/SessionContributorsSearchScopeModel.h"

#include <set>

#include "lists/FilterFetching.h"
#include "model/QVACoreDataParticipant.h"
#include "Utils/StringUtility.h"

coredata::PredicatePtr SessionContributorsSearchScopeModel::filterPredicateWithCoreDataStack(
    const StackPtr& stack, const std::string& searchText) const {
    auto names = SearchScopeModel::filterPredicateWithCoreDataStack(stack, searchText);
    auto contributors =
        coredata::Predicate::andPredicate({coredata::Predicate::withFormat("contributions != nil"), names});
    auto rows = FilterFetching::fetchDictionaries(stack, {.entityName = QVACoreDataParticipant::kEntityName,
                                                          .predicate = contributors,
                                                          .properties = {"contributions"},
                                                          .distinct = true});
    std::set<std::string> sessionIds;
    for (const auto& text : FilterFetching::texts(rows, "contributions"))
        if (!StringUtility::isNilOrEmpty(std::string_view(text)))
            FilterFetching::addSessionIdsOfContributions(text, sessionIds);
    if (sessionIds.empty()) return coredata::Predicate::falsePredicate();
    return coredata::Predicate::withFormat("itemId IN %@", sessionIds);
}
