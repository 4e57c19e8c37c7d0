#include "lists/SessionNotesFilterModel.h"

#include "lists/FilterFetching.h"
#include "model/QVACoreDataSessionNote.h"

foundation::Value::Array SessionNotesFilterModel::getPossibleValuesWithCoreDataStack(const StackPtr& stack) {
    (void)stack;
    return {foundation::Value(defaultValue()), foundation::Value(kWithNotesValue)};
}

coredata::PredicatePtr SessionNotesFilterModel::filterPredicateWithCoreDataStack(const StackPtr& stack) {
    if (isUnset()) return coredata::Predicate::truePredicate();
    auto rows = FilterFetching::fetchDictionaries(
        stack, {.entityName = QVACoreDataSessionNote::kEntityName,
                .predicate = coredata::Predicate::withFormat("note != nil AND note!=''"),
                .properties = {"sessionId"}});
    return coredata::Predicate::withFormat("itemId in %@", FilterFetching::texts(rows, "sessionId"));
}

std::shared_ptr<FilterModel> SessionNotesFilterModel::makeInstance() const { return std::make_shared<SessionNotesFilterModel>(); }
