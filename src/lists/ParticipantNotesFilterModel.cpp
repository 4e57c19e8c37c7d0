#include "lists/ParticipantNotesFilterModel.h"

#include "lists/FilterFetching.h"
#include "model/QVACoreDataParticipantNote.h"

foundation::Value::Array ParticipantNotesFilterModel::getPossibleValuesWithCoreDataStack(const StackPtr& stack) {
    (void)stack;
    return {foundation::Value(defaultValue()), foundation::Value(kWithNotesValue)};
}

coredata::PredicatePtr ParticipantNotesFilterModel::filterPredicateWithCoreDataStack(const StackPtr& stack) {
    if (isUnset()) return coredata::Predicate::truePredicate();
    auto rows = FilterFetching::fetchDictionaries(
        stack, {.entityName = QVACoreDataParticipantNote::kEntityName,
                .predicate = coredata::Predicate::withFormat("note != nil AND note!=''"),
                .properties = {"participantId"}});
    return coredata::Predicate::withFormat("itemId in %@", FilterFetching::texts(rows, "participantId"));
}

std::shared_ptr<FilterModel> ParticipantNotesFilterModel::makeInstance() const { return std::make_shared<ParticipantNotesFilterModel>(); }
