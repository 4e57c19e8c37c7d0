#include "lists/GroupFilterModel.h"

#include "foundation/Format.h"
#include "lists/CommunityValues.h"
#include "lists/FilterFetching.h"
#include "model/QVACoreDataParticipant.h"
#include "store/CoreDataStack.h"
#include "store/FetchRequestUtils.h"

EntityClassPtr GroupFilterModel::requestClass() const { return EntityClass::of<QVACoreDataParticipant>(); }

foundation::Value::Array GroupFilterModel::getPossibleValuesWithCoreDataStack(const StackPtr& stack) {
    (void)stack;
    auto current = FilterFetching::currentStack();
    if (!current) return CommunityValues::offered(defaultValue(), {});
    return CommunityValues::offered(defaultValue(),
                                    FetchRequestUtils::getGroupQuovanaCommunitiesFromSourcePropertyName(
                                        propertyName(), current->managedObjectContextMainQueue()));
}

coredata::PredicatePtr GroupFilterModel::filterPredicateWithCoreDataStack(const StackPtr& stack) {
    (void)stack;
    if (isUnset()) return coredata::Predicate::truePredicate();
    const std::string entry = foundation::Format("%@%@%@", "|2|", selectedText(), "|3|");
    return coredata::Predicate::withFormat("%K contains[cd] %@", propertyName(), entry);
}

std::shared_ptr<FilterModel> GroupFilterModel::makeInstance() const { return std::make_shared<GroupFilterModel>(); }
