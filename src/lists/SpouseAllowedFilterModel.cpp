#include "lists/SpouseAllowedFilterModel.h"

foundation::Value::Array SpouseAllowedFilterModel::getPossibleValuesWithCoreDataStack(const StackPtr& stack) {
    (void)stack;
    return {foundation::Value(defaultValue()), foundation::Value(kYesValue), foundation::Value(kNoValue)};
}

coredata::PredicatePtr SpouseAllowedFilterModel::filterPredicateWithCoreDataStack(const StackPtr& stack) {
    (void)stack;
    if (isUnset()) return coredata::Predicate::truePredicate();
    return coredata::Predicate::withFormat("spouseAllowed == %@", selectedValue().stringValue() == kYesValue);
}

std::shared_ptr<FilterModel> SpouseAllowedFilterModel::makeInstance() const { return std::make_shared<SpouseAllowedFilterModel>(); }
