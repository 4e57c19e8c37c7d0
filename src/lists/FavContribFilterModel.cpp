#include "lists/FavContribFilterModel.h"

#include <set>

#include "lists/FilterFetching.h"
#include "model/QVACoreDataFollowedParticipant.h"
#include "model/QVACoreDataParticipant.h"
#include "Utils/StringUtility.h"

foundation::Value::Array FavContribFilterModel::getPossibleValuesWithCoreDataStack(const StackPtr& stack) {
    (void)stack;
    return {foundation::Value(defaultValue()), foundation::Value(kWithStarredValue)};
}

coredata::PredicatePtr FavContribFilterModel::filterPredicateWithCoreDataStack(const StackPtr& stack) {
    if (isUnset()) return coredata::Predicate::truePredicate();
    auto followed = FilterFetching::texts(
        FilterFetching::fetchDictionaries(stack, {.entityName = QVACoreDataFollowedParticipant::kEntityName,
                                                  .properties = {"itemId"},
                                                  .distinct = true}),
        "itemId");
    auto contributions = FilterFetching::fetchDictionaries(
        stack, {.entityName = QVACoreDataParticipant::kEntityName,
                .predicate = coredata::Predicate::withFormat("itemId in %@", followed),
                .properties = {"contributions"},
                .distinct = true});
    std::set<std::string> sessionIds;
    for (const auto& text : FilterFetching::texts(contributions, "contributions"))
        if (!StringUtility::isNilOrEmpty(std::string_view(text))) FilterFetching::addSessionIdsOfContributions(text, sessionIds);
    return coredata::Predicate::withFormat("itemId in %@", sessionIds);
}

std::shared_ptr<FilterModel> FavContribFilterModel::makeInstance() const {
    return std::make_shared<FavContribFilterModel>();
}
