#include "lists/SessionTypeFilterModel.h"

#include "model/QVACoreDataBaseSession.h"
#include "model/QVACoreDataSession.h"

EntityClassPtr SessionTypeFilterModel::requestClass() const { return EntityClass::of<QVACoreDataSession>(); }

coredata::PredicatePtr SessionTypeFilterModel::filterPredicateWithCoreDataStack(const StackPtr& stack) {
    if (isUnset()) return coredata::Predicate::truePredicate();
    // Agenda rows carry the type of their session too: gather over both.
    auto ids = idsOfRowsMatchingSelection(stack, QVACoreDataBaseSession::kEntityName, "itemId", nullptr);
    return coredata::Predicate::withFormat("itemId IN %@", ids);
}

std::shared_ptr<FilterModel> SessionTypeFilterModel::makeInstance() const {
    return std::make_shared<SessionTypeFilterModel>();
}
